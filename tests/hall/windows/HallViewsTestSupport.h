// Fixtures of the hall view tests: a program folder with pictures and game
// programs, the room tab window in a recording form, and a hall data centre
// fed a game tree by the scripted hall server.
#pragma once

#include "DataCenterTestSupport.h" // Winsock before the system headers

#include <functional>
#include <string>
#include <vector>

#include "HallWindows.h"
#include "WireBytes.h"

// What the views asked of the room tab window.
struct RecordingRoomTabs : IRoomTabWnd
{
    struct Entered
    {
        CGameRoom* pRoom;
        DWORD dwNodeType;
        DWORD dwNodeItem;
        std::string strNodeText;
        DWORD dwParentType;
        DWORD dwParentItem;
        std::string strParentText;
    };

    void ShowWebPage(LPCSTR pszUrl, BYTE) override { shown.push_back(pszUrl); }
    void OpenWebPage(LPCSTR pszCaption, LPCSTR pszUrl, BYTE) override
    {
        opened.push_back(std::string(pszCaption) + "|" + pszUrl);
    }
    bool EnterRoom(CGameRoom* pRoom, CGameTreeNode* pNode) override;
    void ShowChannelDialog() override { channelShown++; }
    void CloseChannelDialog() override {}
    void SelectChannelGame(int nIndex) override { channelGames.push_back(nIndex); }

    std::vector<std::string> shown;
    std::vector<std::string> opened;
    std::vector<Entered> entered;
    int channelShown = 0;
    std::vector<int> channelGames;
    // Called inside EnterRoom, while the node is alive.
    std::function<void(CGameTreeNode*)> onEnter;
};

// The game download window as a plain hidden window, counting its makings.
struct RecordingDownLoadWndStub : IDownLoadWnd
{
    ~RecordingDownLoadWndStub() override { CloseDownLoadWindow(); }
    HWND GetDownLoadWindow() override { return m_hWnd; }
    bool CreateDownLoadWindow(CWnd*) override
    {
        ++creates;
        m_hWnd = CreateWindowA("STATIC", "download", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        return m_hWnd != NULL;
    }
    void CloseDownLoadWindow() override
    {
        if (m_hWnd != NULL)
            DestroyWindow(m_hWnd);
        m_hWnd = NULL;
    }
    int creates = 0;
    HWND m_hWnd = NULL;
};

// A 24-bit picture file of the size, filled with the colour (PNG or BMP by
// the extension).
void WritePicture(const CStateFolder& folder, const std::string& relative, int cx, int cy, COLORREF colour);
// A game folder under the program folder with its CONFIG.INI naming the
// program; the program is a copy of the fixture (empty: none).
void WriteGame(const CStateFolder& folder, const std::string& gameFolder, const std::string& exeName,
               const std::string& fixture);
// The folder of the running test program.
std::string TestProgramFolder();

// A link of the server tree as the hall server sends it.
CWireBytes TreeLink(uint32_t node, uint32_t parent, uint8_t type, uint32_t item, const std::string& caption = "",
                    uint32_t flags = 0, int32_t sort = 0);
CWireBytes PagedList(const std::vector<CWireBytes>& items);

// The data centre connected, the game list definitions sent; the tree is
// sent by each test.
class GameTreeTest : public DataCenterTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Games 10 (logo in its program), 11 (not installed), 12 (program
    // without logo), 13 (logo beside its program); station 20; rooms 100 to
    // 103 of game 10 and 11; web link 5.
    void SendDefinitions();
    void SendTree(const std::vector<CWireBytes>& links);
    void SendRoomCounts(const std::vector<std::pair<uint32_t, uint32_t>>& counts);
    CGameTreeManager* Tree() { return m_pDataCenter->GetGameTreeManager(); }

    RecordingRoomTabs m_RoomTabs;
    HWND m_hHost = NULL;
};
