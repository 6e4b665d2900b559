// Fixture of the room data centre tests: the scripted room server on
// loopback, a game room entry pointing at it, a real room data centre with
// the socket module, a game folder whose program is the stand-in game
// client, a window that plays or hears the game client, and a window that
// records every room notification with a copy of its record.
#pragma once

#include <winsock2.h>

#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

#include "GameClientRecorder.h"
#include "GameTreeManager.h"
#include "MessagePump.h"
#include "RoomDataCenter.h"
#include "RoomServer.h"

#include <gtest/gtest.h>

struct tagRoomHeard
{
    DWORD dwSerialNum;
    WORD wMainCmdID;
    WORD wSubCmdID;
    LPARAM lParam;
    std::vector<BYTE> Record; // a copy of what lParam pointed to
    DWORD dwUserID;           // (3,1): the item's user id
    bool bPosted;

    template <class T> T As() const
    {
        T value;
        memset(&value, 0, sizeof(value));
        memcpy(&value, Record.data(), Record.size() < sizeof(T) ? Record.size() : sizeof(T));
        return value;
    }
};

class CRoomRecorder
{
public:
    CRoomRecorder();
    ~CRoomRecorder();
    HWND GetHwnd() const { return m_hWnd; }

    std::vector<tagRoomHeard> Heard;
    // Called as each notification is heard, while the sender waits.
    std::function<void(const tagRoomHeard&)> OnHeard;
    std::vector<tagRoomHeard> Of(const tagRoomNotifyKey& key) const;
    size_t Count(const tagRoomNotifyKey& key) const { return Of(key).size(); }
    std::string Keys() const;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd;
};

class RoomTest : public testing::Test
{
public:
    // The stand-in's game, and a game whose program is missing.
    static constexpr DWORD kGameID = 77;
    static constexpr DWORD kMissingGameID = 78;
    // The stand-in's path as the launch builds it.
    static CString GameProgram();

protected:
    static constexpr DWORD kOwnUserID = 1001;

    void SetUp() override;
    void TearDown() override;

    // The room's addresses, its port and its kind.
    void UseRoom(LPCSTR pszAddresses, WORD wPort, BYTE cbKind = 0);
    // Starts the server on 127.0.0.1, connects and waits for (2,2).
    void Connect();
    // Connect, log on as kOwnUserID and wait for (2,3); the recorder then
    // plays the client's window.
    void LogOn();
    // Sends a server message and waits until everything it caused happened
    // (a marker the data centre answers follows it).
    void SendAndSettle(WORD wMainCmdID, WORD wSubCmdID, const CWireBytes& body, DWORD dwSerialNum = 0);
    // Waits until the server has received n frames in all.
    std::vector<tagServerFrame> WaitFrames(size_t n);
    // The room information with these rule bits.
    void SetRoomRule(DWORD dwRule);
    void EnterUser(DWORD dwUserID, const std::string& nick, WORD wRank);
    CUserItem* User(DWORD dwUserID) { return m_pDataCenter->GetUserManager()->SearchUserItem(dwUserID); }
    // The recorder's window as the game client's window, as a client's own
    // window would be after its hello.
    void AttachClient();
    // Launches so far: the (6,2) 1 posts.
    size_t Launches();
    // The (6,2) values posted so far.
    std::vector<LPARAM> ClientPosts();
    // The mode of the stand-in clients launched from now on.
    static void SetClientMode(const char* pszMode);

    CRoomServer m_Server;
    CWnd m_MainWnd;
    CGameRoom m_Room{7};
    CRoomDataCenter* m_pDataCenter = nullptr;
    CGameClientRecorder m_Client;
    CRoomRecorder m_Recorder;
};
