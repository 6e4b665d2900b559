// Fixture of the room view tests: a room view in a test window with its data
// centre over loopback to the scripted room server, the real table grid and
// message proxy, and recording stand-ins for the windows around it (room
// tab window, side panel, room dialogs). Boxes and menus go through the
// test's modal script.
#pragma once

#include <winsock2.h>

#include <afxwin.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "AfxModalScript.h"
#include "GameTreeManager.h"
#include "MessagePump.h"
#include "RichEditTestSupport.h"
#include "RoomServer.h"
#include "RoomViewItem.h"
#include "TableTestSupport.h"

#include <gtest/gtest.h>

// The room tab window: what the view asked, and the messages posted to it.
class CRoomTabsDouble : public IRoomControlWnd
{
public:
    CRoomTabsDouble();
    ~CRoomTabsDouble() override;

    HWND GetRoomTabHwnd() override { return m_hWnd; }
    void ShowSidePanel(CRoomViewItem*) override { ++nSidePanelShown; }
    void ActivateRoom(CRoomViewItem*) override { ++nActivated; }
    void SetEnteringRoom(bool bEntering) override { enteringCalls.push_back(bEntering); }
    void CloseRoom(CRoomViewItem*) override { ++nCloseAsked; }
    void QueryHallDataCenter(DWORD dwKindID) override { queriedKinds.push_back(dwKindID); }
    void SetListFlag(BYTE cbFlag) override { listFlags.push_back(cbFlag); }

    // WM_USER+10 and WM_USER+11 that reached the window, with their view.
    std::vector<std::pair<UINT, WPARAM>> posted;
    size_t Posted(UINT message) const;

    int nSidePanelShown = 0;
    int nActivated = 0;
    int nCloseAsked = 0;
    std::vector<bool> enteringCalls;
    std::vector<DWORD> queriedKinds;
    std::vector<BYTE> listFlags;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd;
};

// Server status words of a user (the data centre adds one).
const DWORD kServerSit = 1;
const DWORD kServerLookOn = 3;

// The side panel: a real rich edit for the chat lines, the rest recorded.
class CSidePanelDouble : public IRoomViewControlItem
{
public:
    bool Create() { return m_Chat.Create(); }
    std::string ChatText() { return RichText(m_Chat.Rich()); }
    CRichEditCtrl& Rich() { return m_Chat.Rich(); }

    CWnd* GetChatControl() override { return bNoChat ? NULL : &m_Chat.Rich(); }
    void EnableChatInput(bool bEnable) override { chatEnabled.push_back(bEnable); }
    void SetChatInputText(LPCSTR pszText) override { inputText = pszText; }
    DWORD GetChatPartner() override { return dwPartner; }
    void SetChatPartner(DWORD dwUserID) override { dwPartner = dwUserID; }
    void SetListRoom(DWORD dwRoomID, WORD wRoomType) override
    {
        dwListRoom = dwRoomID;
        wListType = wRoomType;
    }
    void SetListDisplayFlag(BYTE cbFlag) override { displayFlags.push_back(cbFlag); }
    void SetListRedraw(bool bRedraw) override
    {
        redraws.push_back(bRedraw);
        bListDraws = bRedraw;
    }
    void SetColumnDescribe(const tagColumnDescribe& describe) override { columns.push_back(describe); }
    void InsertUser(CUserItem* pUserItem) override;
    void UpdateUser(CUserItem* pUserItem) override { updated.push_back(pUserItem->GetUserID()); }
    void RemoveUser(CUserItem* pUserItem) override;
    void SortUsers() override {}
    void SetItemBarFlags(bool bCoin, bool bBean) override { itemBar = {bCoin, bBean}; }
    void ShowTeams(const tagColumnDescribe&, const tagTeamItem*, int nCount) override { teamCounts.push_back(nCount); }

    bool Listed(DWORD dwUserID) const;

    bool bNoChat = false;
    std::vector<bool> chatEnabled;
    std::string inputText;
    DWORD dwPartner = 0;
    DWORD dwListRoom = 0;
    WORD wListType = 0xFFFF;
    std::vector<BYTE> displayFlags;
    std::vector<tagColumnDescribe> columns;
    std::vector<DWORD> listed; // the rows the list holds
    std::vector<bool> redraws; // each SetListRedraw
    bool bListDraws = true;
    std::vector<bool> drawingAtInsert; // whether the list drew as each row came
    std::vector<DWORD> updated;
    std::pair<bool, bool> itemBar{false, false};
    std::vector<int> teamCounts; // the teams of each ShowTeams

private:
    CRichEditHost m_Chat;
};

// The room's dialogs: password answers queued by the test, whisper windows
// as flags.
class CRoomDialogsDouble : public IRoomViewDialogs
{
public:
    struct Whisper
    {
        bool bMade = false;
        bool bVisible = false;
        DWORD dwUserID = 0;
        std::vector<std::string> lines;
    };
    // An answer: the typed text, or nothing for Cancel; a hook runs first.
    struct Answer
    {
        bool bOk;
        std::string text;
        std::function<void()> before;
    };
    std::deque<Answer> roomPasswords;
    std::deque<Answer> tablePasswords;
    int nRoomPassAsked = 0;
    int nTablePassAsked = 0;
    std::vector<DWORD> largeFaces;
    int nFindShown = 0;
    std::vector<std::pair<DWORD, DWORD>> playerInfo; // user, permissions
    Whisper whispers[MAX_WHISPER_WINDOWS];
    int nWhispersDestroyed = 0;

    bool RunRoomPassDlg(CWnd*, CString& strPassword) override
    {
        return Run(roomPasswords, nRoomPassAsked, strPassword);
    }
    bool RunTablePassDlg(CWnd*, CString& strPassword) override
    {
        return Run(tablePasswords, nTablePassAsked, strPassword);
    }
    void ShowLargeFace(CWnd*, const CUserItem* pUserItem) override { largeFaces.push_back(pUserItem->GetUserID()); }
    void ShowFindUser(CWnd*) override { ++nFindShown; }
    void ShowPlayerInfo(CWnd*, const CUserItem* pUserItem, const CRect&, DWORD dwPermissions) override
    {
        playerInfo.push_back({pUserItem->GetUserID(), dwPermissions});
    }
    bool CreateWhisperWindow(CWnd*, int nIndex) override
    {
        whispers[nIndex].bMade = true;
        return true;
    }
    bool IsWhisperWindow(int nIndex) override { return whispers[nIndex].bMade; }
    bool IsWhisperVisible(int nIndex) override { return whispers[nIndex].bVisible; }
    void ShowWhisper(int nIndex, DWORD dwUserID, LPCSTR pszText, COLORREF) override
    {
        whispers[nIndex].bVisible = true;
        whispers[nIndex].dwUserID = dwUserID;
        if (pszText != NULL)
            whispers[nIndex].lines.push_back(pszText);
    }
    void DestroyWhisperWindow(int nIndex) override
    {
        whispers[nIndex] = Whisper();
        ++nWhispersDestroyed;
    }

private:
    static bool Run(std::deque<Answer>& answers, int& nAsked, CString& strPassword);
};

// The grid's seat flashes, without their pauses.
class CFlashDouble : public ITableFlashPainter
{
public:
    void DrawOutline(CDC*, const CRect&) override { ++nOutlines; }
    void Wait(DWORD) override {}
    int nOutlines = 0;
};

// Arrivals of the users first to last in one write: one read of the socket.
std::vector<BYTE> ArrivalBurst(DWORD dwFirst, DWORD dwLast);

class RoomViewTest : public testing::Test
{
public:
    static constexpr DWORD kGameID = 77;
    static constexpr DWORD kRoomID = 7;
    static constexpr DWORD kOwnUserID = 1001;

protected:
    void SetUp() override;
    void TearDown() override;

    // The view made, its window created and set up against the server.
    void MakeView();
    // Connect and log on (the server answers the logon as told first).
    void Connect();
    // Connect, log on, room information with the rule and its end: state 5.
    void EnterRoom(DWORD dwRule = 0);
    // Sends a server message and waits until the view has seen what it
    // caused (the data centre answers a marker after it).
    void SendAndSettle(WORD wMainCmdID, WORD wSubCmdID, const CWireBytes& body);
    void EnterUser(DWORD dwUserID, const std::string& nick, WORD wRank = 0);
    void SetStatus(DWORD dwUserID, WORD wTable, WORD wChair, DWORD dwStatus);
    CUserItem* User(DWORD dwUserID);
    CUserItem* Me() { return m_pView->GetMeUserItem(); }
    std::vector<tagServerFrame> Requests(WORD wMainCmdID, WORD wSubCmdID)
    {
        return m_Server.GetRequests(wMainCmdID, wSubCmdID);
    }
    // Closes the view and gives up the room tab window's reference.
    void CloseView();
    std::string RoomPassPath() const;

    tabletest::SkinFolder m_Skin;
    CModalScript m_Script;
    CRoomServer m_Server;
    CGameRoom m_Room{kRoomID};
    CRoomTabsDouble m_Tabs;
    CSidePanelDouble m_Panel;
    CRoomDialogsDouble m_Dialogs;
    CFlashDouble m_Flash;
    CRoomViewItem* m_pView = nullptr;
    IRoomViewDialogs* m_pOldDialogs = nullptr;
};
