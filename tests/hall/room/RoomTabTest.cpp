// The room tab window in a test hall window: entering a room against the
// scripted room server (every check on the way in), closing it, the tab and
// column layout, and the look of the tab strip and the splitter.
#include <winsock2.h>

#include <afxtest.h>
#include <afxwin.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "AfxModalScript.h"
#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "ClientDataCenter.h"
#include "HallProtocol.h"
#include "IClientDataCenter.h"
#include "MemoryCanvas.h"
#include "MessagePump.h"
#include "PlayInfoPanel.h"
#include "RoomControlWnd.h"
#include "RoomServer.h"
#include "RoomSplitter.h"
#include "RoomTabPaintManager.h"
#include "RoomViewItem.h"
#include "RoomViewItemControl.h"
#include "SkinTestSupport.h"
#include "TableTestSupport.h"
#include "TestWait.h"

#include <gtest/gtest.h>

namespace
{

const DWORD kGameID = 77;
const DWORD kRoomID = 7;
const DWORD kOwnUserID = 1001;

CWinApp* TheApp()
{
    static CWinApp* app = new CWinApp("RoomTabTests");
    return app;
}

std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\'));
}

class RoomTabTest : public testing::Test
{
public:
    void SetUp() override
    {
        TheApp();
        static bool bStrings = g_GlobalUnits.GetResourceManager()->SetResourceFile("VQString.dll");
        ASSERT_TRUE(bStrings);
        skintest::Pixels icon(8, 8, RGB(0, 128, 0));
        for (const char* name : {"system.bmp", "player.bmp", "speaker.bmp", "activity.bmp"})
            m_Skin.Folder().WriteBmp((std::string("Addin\\Chat\\") + name).c_str(), icon);
        m_Skin.Folder().Write("Emotion\\config.ini", std::string("[emotion]\r\nCount=0\r\n"));
        g_GlobalOption.SetConfigDirectory(m_Skin.Folder().Folder());

        m_pTree.reset(new CGameTreeManager);
        CGame* pGame = new CGame(kGameID);
        pGame->SetName("象棋");
        pGame->SetFolderName(tabletest::kGameFolder);
        m_pTree->AddGame(pGame);
        m_pRoom = new CGameRoom(kRoomID);
        m_pRoom->SetGameId(kGameID);
        m_pRoom->SetName("一号房");
        m_pTree->AddGameRoom(m_pRoom);
        g_GlobalUnits.SetGameTreeManager(m_pTree.get());

        tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
        memset(pUser, 0, sizeof(*pUser));
        pUser->dwUserID = kOwnUserID;
        pUser->lLevel = 1;
        strcpy(pUser->szPassword, "0123456789abcdef0123456789abcdef");

        ASSERT_TRUE(m_Server.Start());
        m_pRoom->SetServerAddresses("127.0.0.1");
        m_pRoom->SetPort(m_Server.GetPort());
        m_Server.AnswerLogon(RoomBody::LogonOk(kOwnUserID));

        InstallClient("0x01020304");
        WriteRequiredVersion("0");
        m_Downloads.clear();
        CRoomControlWnd::s_StartDownload = [this](CGame* pGame, const char[10][260]) {
            m_Downloads.push_back(pGame->GetId());
            return true;
        };

        ASSERT_TRUE(m_Host.CreateEx(0, AfxRegisterWndClass(0), "hall", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 1000, 700,
                                    NULL, NULL));
        m_Host.ShowWindow(SW_SHOWNOACTIVATE);
        m_pTabs.reset(new CRoomControlWnd);
        ASSERT_TRUE(m_pTabs->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700),
                                    &m_Host, 1006));
        m_pNode.reset(new CGameTreeNode(2));
        m_pNode->SetItemType(4);
        m_pNode->SetItemData(kRoomID);
    }

    void TearDown() override
    {
        if (m_pTabs != nullptr && m_pTabs->GetSafeHwnd() != NULL) {
            m_pTabs->CloseAllRooms();
            m_pTabs->DestroyWindow();
        }
        m_pTabs.reset();
        m_Host.DestroyWindow();
        PumpMessages();
        m_Server.Stop();
        g_GlobalUnits.SetGameTreeManager(NULL);
        CRoomControlWnd::s_StartDownload = nullptr;
        std::string shown;
        for (const auto& box : m_Script.Recorded())
            shown += "\n  " + std::string((LPCSTR)box.strClassName) + " " + (LPCSTR)box.strText;
        EXPECT_EQ(0, m_Script.Unexpected()) << "shown:" << shown;
    }

    void InstallClient(const char* pszVersion)
    {
        const std::string folder = std::string((LPCSTR)m_Skin.Folder().Folder()) + "\\" + tabletest::kGameFolder;
        CreateDirectoryA(folder.c_str(), NULL);
        CopyFileA((ProgramFolder() + "\\gameclient.exe").c_str(), (folder + "\\gameclient.exe").c_str(), FALSE);
        m_Skin.Folder().Write(m_Skin.GameFile("config.ini").c_str(),
                              std::string("[Public]\r\nExeName=gameclient.exe\r\nVersion=") + pszVersion + "\r\n");
    }
    void WriteRequiredVersion(const char* pszVersion)
    {
        m_Skin.Folder().Write("Dynamic\\Update.ini",
                              std::string("[Game77]\r\nVersion=") + pszVersion + "\r\nurl0=http://127.0.0.1/x\r\n");
    }
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        const auto shown = m_Script.Recorded();
        for (size_t i = m_nSeen; i < shown.size(); ++i)
            texts.push_back((LPCSTR)shown[i].strText);
        return texts;
    }
    CRoomViewItem* Enter() { return m_pTabs->EnterGameRoom(m_pRoom, m_pNode.get()); }
    void WaitLoggedOn(CRoomViewItem* pView)
    {
        ASSERT_TRUE(PumpUntil([&] { return pView->GetRoomState() == ROOM_STATE_LOGGED_ON; }));
    }
    void SendAndSettle(WORD wMain, WORD wSub, const CWireBytes& body)
    {
        ASSERT_TRUE(m_Server.Send(wMain, wSub, body.Vector()));
        ASSERT_TRUE(m_Server.Settle());
        PumpMessages();
    }

    tabletest::SkinFolder m_Skin;
    CModalScript m_Script;
    CRoomServer m_Server;
    std::unique_ptr<CGameTreeManager> m_pTree;
    CGameRoom* m_pRoom = nullptr;
    std::unique_ptr<CGameTreeNode> m_pNode;
    CWnd m_Host;
    std::unique_ptr<CRoomControlWnd> m_pTabs;
    std::vector<DWORD> m_Downloads;
    size_t m_nSeen = 0;
};

// Each refusal on the way in: its box, nothing entered, the download path
// only where Yes was answered.
TEST_F(RoomTabTest, EnteringChecksRefuseWithTheirBox)
{
    struct Case
    {
        const char* name;
        std::function<void(RoomTabTest&)> arrange;
        std::vector<INT_PTR> answers;
        const char* box; // part of the one box shown
        size_t downloads;
    };
    const std::vector<Case> cases = {
        {"not logged on",
         [](RoomTabTest&) { g_GlobalUnits.GetGlobalUserData()->dwUserID = 0; },
         {IDOK},
         "你还没有登陆",
         0},
        {"guest in a game-coin room",
         [](RoomTabTest& t) {
             g_GlobalUnits.GetGlobalUserData()->lLevel = GUEST_USER_LEVEL;
             t.m_pRoom->SetRoomKind(ROOM_TYPE_GAME_COIN);
         },
         {IDOK},
         "游客用户无法进入游戏币房间",
         0},
        {"not installed, No",
         [](RoomTabTest& t) { t.m_Skin.Remove(t.m_Skin.GameFile("gameclient.exe")); },
         {IDNO},
         "[象棋]还没有安装",
         0},
        {"not installed, Yes",
         [](RoomTabTest& t) { t.m_Skin.Remove(t.m_Skin.GameFile("gameclient.exe")); },
         {IDYES},
         "[象棋]还没有安装",
         1},
        {"minor version differs, Yes",
         [](RoomTabTest& t) { t.WriteRequiredVersion("0x01020305"); },
         {IDYES},
         "1.2.3.5 版本，当前版本还可以继续使用",
         1},
        {"major version differs, No",
         [](RoomTabTest& t) { t.WriteRequiredVersion("0x01030000"); },
         {IDNO},
         "1.3.0.0 版本，你的版本不能继续使用",
         0},
        {"newer installed counts too",
         [](RoomTabTest& t) { t.WriteRequiredVersion("0x01010000"); },
         {IDNO},
         "1.1.0.0 版本，你的版本不能继续使用",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.arrange(*this);
        for (INT_PTR answer : c.answers)
            m_Script.Answer(answer);
        EXPECT_EQ(nullptr, Enter());
        auto texts = BoxTexts();
        ASSERT_EQ(1u, texts.size());
        EXPECT_NE(std::string::npos, texts[0].find(c.box)) << texts[0];
        EXPECT_EQ(c.downloads, m_Downloads.size());
        EXPECT_EQ(0, m_pTabs->GetRoomCount());
        EXPECT_EQ(1, m_pTabs->GetTabCtrl().GetItemCount());
        m_nSeen = m_Script.Count();
    }
}

// A version that may still be used enters after No; the same version
// asks nothing.
TEST_F(RoomTabTest, UsableVersionOrNoneRequiredEnters)
{
    WriteRequiredVersion("0x01020305");
    m_Script.Answer(IDNO);
    CRoomViewItem* pView = Enter();
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(1u, BoxTexts().size());
    EXPECT_TRUE(m_pTabs->CloseAllRooms());
    m_nSeen = m_Script.Count();
    WriteRequiredVersion("0x01020304");
    ASSERT_NE(nullptr, Enter());
    EXPECT_TRUE(BoxTexts().empty());
}

// The whole road: tab, waiting state, side panel, users, the close.
TEST_F(RoomTabTest, EnterUsersAndCloseLeaveNothingBehind)
{
    const LONG lViews = CRoomViewItem::GetLiveCount();
    const LONG lPanels = CRoomViewItemControl::GetLiveCount();
    CRoomViewItem* pView = Enter();
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(2, m_pTabs->GetTabCtrl().GetItemCount());
    EXPECT_EQ(1, m_pTabs->GetTabCtrl().GetCurSel());
    EXPECT_TRUE(pView->IsWaiting());
    ASSERT_NE(nullptr, m_pTabs->GetCurrentSidePanel());
    EXPECT_EQ(kRoomID, m_pTabs->GetLastRoomId());
    WaitLoggedOn(pView);
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, RoomBody::RoomInfo(0));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_INFO_DONE, CWireBytes());
    EXPECT_FALSE(pView->IsWaiting());
    EXPECT_TRUE(m_pTabs->IsSidePanelShown());
    EXPECT_TRUE(m_pTabs->GetSplitter().IsWindowVisible());
    CRoomViewItemControl* pPanel = m_pTabs->GetCurrentSidePanel();
    EXPECT_TRUE(pPanel->IsWindowVisible());

    const int nRows = pPanel->GetUserList().GetItemCount();
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_ENTER, RoomBody::UserEnter(2002, "来客", 0));
    EXPECT_EQ(nRows + 1, pPanel->GetUserList().GetItemCount());
    // The chat partner joins the addressee list, and leaves it with the user.
    CComboBox& targets = pPanel->GetChatBar()->GetTargetList();
    const int nTargets = targets.GetCount();
    pPanel->SetChatPartner(2002);
    ASSERT_EQ(nTargets + 1, targets.GetCount());
    EXPECT_EQ(nTargets, targets.GetCurSel());
    EXPECT_EQ(2002u, DWORD(targets.GetItemData(nTargets)));
    pPanel->SetChatPartner(2002);
    EXPECT_EQ(nTargets + 1, targets.GetCount());
    EXPECT_FALSE(pPanel->RemoveChatTarget(4040));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(2002));
    EXPECT_EQ(nRows, pPanel->GetUserList().GetItemCount());
    EXPECT_EQ(nTargets, targets.GetCount());
    EXPECT_EQ(0, targets.GetCurSel());

    // Entering it again selects it and asks nothing.
    m_pTabs->GetTabCtrl().SetCurSel(0);
    EXPECT_EQ(pView, Enter());
    EXPECT_EQ(1, m_pTabs->GetTabCtrl().GetCurSel());

    ASSERT_TRUE(m_pTabs->CloseRoomTab(pView));
    ASSERT_TRUE(PumpUntil([&] { return !m_Server.GetRequests(1002, 12).empty(); })) << "no leave-room request";
    EXPECT_EQ(1, m_pTabs->GetTabCtrl().GetItemCount());
    EXPECT_FALSE(m_pTabs->IsSidePanelShown());
    EXPECT_FALSE(m_pTabs->GetSplitter().IsWindowVisible());
    EXPECT_EQ(lViews, CRoomViewItem::GetLiveCount());
    EXPECT_EQ(lPanels, CRoomViewItemControl::GetLiveCount());
    // A close posted for the view before it went is ignored.
    m_pTabs->SendMessage(WM_ROOM_CLOSE_VIEW, (WPARAM)pView, 0);
    EXPECT_EQ(0, m_pTabs->GetRoomCount());
    EXPECT_TRUE(BoxTexts().empty());
}

// A room held by someone else is not closed; a second room asks first.
TEST_F(RoomTabTest, SecondRoomAsksAndHeldRoomStays)
{
    CRoomViewItem* pView = Enter();
    ASSERT_NE(nullptr, pView);
    CGameRoom* pOther = new CGameRoom(kRoomID + 1);
    pOther->SetGameId(kGameID);
    pOther->SetServerAddresses("127.0.0.1");
    pOther->SetPort(m_Server.GetPort());
    m_pTree->AddGameRoom(pOther);
    m_Script.Answer(IDNO);
    EXPECT_EQ(nullptr, m_pTabs->EnterGameRoom(pOther, m_pNode.get()));
    EXPECT_EQ(1, m_pTabs->GetRoomCount());
    EXPECT_NE(std::string::npos, BoxTexts().at(0).find("进入的游戏房间太多了"));

    pView->AddRef();
    EXPECT_FALSE(m_pTabs->CloseRoomTab(pView));
    EXPECT_EQ(1, m_pTabs->GetRoomCount());
    pView->Release();

    m_Script.Answer(IDYES);
    CRoomViewItem* pSecond = m_pTabs->EnterGameRoom(pOther, m_pNode.get());
    ASSERT_NE(nullptr, pSecond);
    EXPECT_EQ(1, m_pTabs->GetRoomCount());
    EXPECT_EQ(kRoomID + 1, m_pTabs->GetFirstRoomId());
}

// The personal-information answer: 0 connects, other codes report and close.
TEST_F(RoomTabTest, PersonalInfoAnswerConnectsOrCloses)
{
    struct Case
    {
        LPARAM code;
        bool bConnects;
    };
    for (const Case& c : {Case{0, true}, Case{1, false}, Case{9, false}}) {
        SCOPED_TRACE(c.code);
        m_pRoom->SetRoomKind(ROOM_TYPE_PERSONAL_INFO);
        CRoomViewItem* pView = Enter();
        ASSERT_NE(nullptr, pView);
        EXPECT_EQ(DWORD(ROOM_STATE_CREATED), pView->GetRoomState());
        if (!c.bConnects)
            m_Script.Answer(IDOK);
        tagNotifyHead head = {0, 3, 8};
        m_pTabs->SendMessage(WM_HALL_NOTIFY, (WPARAM)&head, c.code);
        if (c.bConnects) {
            EXPECT_EQ(1, m_pTabs->GetPersonalInfoState());
            EXPECT_EQ(DWORD(ROOM_STATE_CONNECTING), pView->GetRoomState());
            EXPECT_TRUE(m_pTabs->CloseAllRooms());
        } else {
            EXPECT_EQ(0, m_pTabs->GetRoomCount());
            ASSERT_FALSE(BoxTexts().empty());
            if (c.code == 9) {
                EXPECT_EQ("未知错误！", BoxTexts().back());
            }
        }
        m_pTabs->ResetPersonalInfoState();
        m_nSeen = m_Script.Count();
    }
}

// Tab and room indexes with the web-page tab before and after the room.
TEST_F(RoomTabTest, TabIndexesAroundTheWebPage)
{
    m_pTabs->OpenWebPage("帮助", "http://127.0.0.1/help", 0);
    EXPECT_EQ(1, m_pTabs->GetWebTabIndex());
    ASSERT_NE(nullptr, Enter());
    EXPECT_EQ(-1, m_pTabs->RoomIndexOfTab(0));
    EXPECT_EQ(-1, m_pTabs->RoomIndexOfTab(1));
    EXPECT_EQ(0, m_pTabs->RoomIndexOfTab(2));
    m_pTabs->OpenWebPage("新闻", "http://127.0.0.1/news", 0);
    EXPECT_EQ(1, m_pTabs->GetWebPageCount());
    EXPECT_EQ(CString("新闻"), m_pTabs->GetTabCtrl().GetItem(1)->GetCaption());
    EXPECT_TRUE(m_pTabs->CloseAllRooms());
    EXPECT_EQ(1, m_pTabs->GetWebTabIndex());
    ASSERT_NE(nullptr, Enter());
    EXPECT_EQ(0, m_pTabs->RoomIndexOfTab(2));
    EXPECT_TRUE(
        m_pTabs->CloseWebPageTab(reinterpret_cast<CWebBrowserWnd*>(m_pTabs->GetTabCtrl().GetItem(1)->GetData())));
    EXPECT_EQ(0, m_pTabs->GetWebTabIndex());
    EXPECT_EQ(0, m_pTabs->RoomIndexOfTab(1));
}

// Layout at two widths with the column expanded and collapsed.
TEST_F(RoomTabTest, LayoutPlacesTabsSplitterAndPanel)
{
    CRoomViewItem* pView = Enter();
    ASSERT_NE(nullptr, pView);
    WaitLoggedOn(pView);
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, RoomBody::RoomInfo(0));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_INFO_DONE, CWireBytes());
    ASSERT_TRUE(m_pTabs->IsSidePanelShown());
    for (int W : {1000, 760}) {
        for (bool bExpanded : {true, false}) {
            SCOPED_TRACE(testing::Message() << W << (bExpanded ? " expanded" : " collapsed"));
            if (m_pTabs->IsPanelExpanded() != bExpanded)
                m_pTabs->OnSplitterButton(&m_pTabs->GetSplitter(), NULL);
            m_pTabs->MoveWindow(0, 0, W, 600);
            const int E = pView->CalcTableLayout(W - (bExpanded ? 250 : 0) - 3 - 18);
            const int P = bExpanded ? 250 : 0;
            CRect rcTabs, rcSplitter, rcPanel;
            m_pTabs->GetTabCtrl().GetWindowRect(&rcTabs);
            m_pTabs->GetSplitter().GetWindowRect(&rcSplitter);
            m_pTabs->GetCurrentSidePanel()->GetWindowRect(&rcPanel);
            m_pTabs->ScreenToClient(&rcTabs);
            m_pTabs->ScreenToClient(&rcSplitter);
            m_pTabs->ScreenToClient(&rcPanel);
            EXPECT_EQ(bExpanded ? W - (E > 0 ? E : 0) - P - 3 : W - (E > 0 ? E : 0), rcTabs.Width());
            EXPECT_EQ(3, rcSplitter.Width());
            EXPECT_EQ(W - (E > 0 ? E : 0) - P - 3 - 3, rcSplitter.left);
            EXPECT_EQ(W - (E > 0 ? E : 0) - P - 4, rcPanel.left);
            EXPECT_EQ(P + (E > 0 ? E : 0) + 8, rcPanel.Width());
        }
    }
}

// The room's server goes: one report, the room closes and is entered again.
TEST_F(RoomTabTest, ServerCloseReportsOnceClosesAndEntersAgain)
{
    CRoomViewItem* pView = Enter();
    ASSERT_NE(nullptr, pView);
    WaitLoggedOn(pView);
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, RoomBody::RoomInfo(0));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_INFO_DONE, CWireBytes());
    m_Script.AnswerBox(IDOK);
    m_Server.Run({CScriptedServer::Close()});
    ASSERT_TRUE(PumpUntil([&] { return m_Server.GetRequests(1002, 2).size() == 2; })) << "not entered again";
    ASSERT_TRUE(PumpUntil([&] {
        return m_pTabs->GetRoomCount() == 1 && m_pTabs->GetRoomView(0)->GetRoomState() == ROOM_STATE_LOGGED_ON;
    }));
    EXPECT_EQ(1u, BoxTexts().size());
    EXPECT_EQ(2, m_pTabs->GetTabCtrl().GetItemCount());
    EXPECT_EQ(1, CRoomViewItem::GetLiveCount());
}

// The hall's answer on the personal information, with the form's answer.
TEST_F(RoomTabTest, PersonalInfoStateRunsTheForm)
{
    struct Case
    {
        BYTE cbState;
        INT_PTR nForm; // 0: no form expected
        bool bOpen;    // the room is still open
        DWORD dwState; // the room's state after
    };
    const Case cases[] = {
        {1, 0, true, ROOM_STATE_CONNECTING}, {2, IDCANCEL, true, ROOM_STATE_CONNECTING},
        {2, IDOK, true, ROOM_STATE_CREATED}, {3, IDCANCEL, false, 0},
        {3, IDOK, true, ROOM_STATE_CREATED}, {0, IDCANCEL, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.cbState) << " form " << c.nForm);
        m_pTabs->ResetPersonalInfoState();
        m_pRoom->SetRoomKind(ROOM_TYPE_PERSONAL_INFO);
        CRoomViewItem* pView = Enter();
        ASSERT_NE(nullptr, pView);
        const size_t nDialogs = m_Script.Count();
        if (c.nForm != 0)
            m_Script.ThenDialog([&c](AFX_MODAL_REQUEST&) { return c.nForm; });
        tagAccountNotice notice = {};
        notice.cbResult = c.cbState;
        notice.dwValue = 12;
        memset(notice.szText1, 'a', sizeof(notice.szText1)); // no terminator
        tagNotifyHead head = {0, 3, 7};
        m_pTabs->SendMessage(WM_HALL_NOTIFY, (WPARAM)&head, (LPARAM)&notice);
        EXPECT_EQ(c.nForm != 0 ? nDialogs + 1 : nDialogs, m_Script.Count());
        EXPECT_EQ(c.cbState, m_pTabs->GetPersonalInfoState());
        ASSERT_EQ(c.bOpen ? 1 : 0, m_pTabs->GetRoomCount());
        if (c.bOpen) {
            EXPECT_EQ(c.dwState, m_pTabs->GetRoomView(0)->GetRoomState());
        }
        if (c.cbState >= 2) {
            EXPECT_EQ(63u, strlen(m_pTabs->GetPersonalInfo().szText1));
            EXPECT_EQ(12u, m_pTabs->GetPersonalInfo().dwValue);
        }
        EXPECT_TRUE(m_pTabs->CloseAllRooms());
        m_nSeen = m_Script.Count();
    }
    // With the state known to be missing, entering runs the form at once;
    // a cancelled form leaves no room behind and answers none.
    m_Script.ThenDialog([](AFX_MODAL_REQUEST&) { return (INT_PTR)IDCANCEL; });
    EXPECT_EQ(nullptr, Enter());
    EXPECT_EQ(0, m_pTabs->GetRoomCount());
}

// The side panel: its fill, the chat pane's slots and which links leave.
TEST_F(RoomTabTest, SidePanelPaintsAndFiltersLinks)
{
    // Without the scroll-bar picture the panel stands without its tabs.
    ASSERT_NE(nullptr, Enter());
    ASSERT_NE(nullptr, m_pTabs->GetCurrentSidePanel());
    EXPECT_NE(nullptr, m_pTabs->GetCurrentSidePanel()->GetSafeHwnd());
    EXPECT_EQ(0, m_pTabs->GetCurrentSidePanel()->GetListTab().GetTabManager()->GetItemCount());
    EXPECT_TRUE(m_pTabs->CloseAllRooms());

    m_Skin.Folder().WriteBmp("Res\\Common\\scrollbar\\scrollbar.bmp", skintest::Pixels(16, 16, RGB(9, 9, 9)));
    ASSERT_NE(nullptr, Enter());
    CRoomViewItemControl* pPanel = m_pTabs->GetCurrentSidePanel();
    ASSERT_NE(nullptr, pPanel);
    pPanel->ShowWindow(SW_SHOW);
    skintest::Snapshot shot(pPanel->GetSafeHwnd());
    EXPECT_EQ(CRoomViewItemControl::kPanelFill, shot.At(0, 235));
    EXPECT_EQ(CRichEditWnd::kPaneFill, shot.At(3, 231));
    EXPECT_NE(nullptr, pPanel->GetChatControl());
    EXPECT_EQ(1, pPanel->GetListTab().GetTabManager()->GetItemCount());
    EXPECT_TRUE(pPanel->AddTeamListTab());
    EXPECT_FALSE(pPanel->AddTeamListTab());
    EXPECT_EQ(2, pPanel->GetListTab().GetTabManager()->GetItemCount());
    pPanel->RemoveTeamListTab();
    EXPECT_EQ(1, pPanel->GetListTab().GetTabManager()->GetItemCount());

    // The chat bars fill the two bottom rows; the room view switches the
    // input and writes into it.
    ASSERT_NE(nullptr, pPanel->GetChatBar()->GetSafeHwnd());
    ASSERT_NE(nullptr, pPanel->GetChatToolBar().GetSafeHwnd());
    CRect rcPanel, rcBar, rcTools;
    pPanel->GetClientRect(&rcPanel);
    pPanel->GetChatBar()->GetWindowRect(&rcBar);
    pPanel->GetChatToolBar().GetWindowRect(&rcTools);
    pPanel->ScreenToClient(&rcBar);
    pPanel->ScreenToClient(&rcTools);
    EXPECT_EQ(CRect(0, rcPanel.bottom - 23, rcPanel.right - 3, rcPanel.bottom), rcBar);
    EXPECT_EQ(CRect(0, rcPanel.bottom - 46, rcPanel.right - 3, rcPanel.bottom - 23), rcTools);
    pPanel->EnableChatInput(false);
    EXPECT_FALSE(pPanel->IsChatInputEnabled());
    EXPECT_FALSE(pPanel->GetChatBar()->GetChatInput().IsWindowEnabled());
    EXPECT_FALSE(pPanel->GetChatBar()->GetSendButton().IsWindowEnabled());
    pPanel->EnableChatInput(true);
    EXPECT_TRUE(pPanel->GetChatBar()->GetChatInput().IsWindowEnabled());
    pPanel->SetChatInputText("你好");
    EXPECT_EQ(CString("你好"), pPanel->GetChatBar()->GetInputText());

    // A click on no row does nothing.
    NMITEMACTIVATE none = {};
    none.iItem = -1;
    LRESULT lResult = 1;
    pPanel->OnUserListRClick(&none.hdr, &lResult);
    pPanel->OnUserListClick(&none.hdr, &lResult);
    EXPECT_TRUE(BoxTexts().empty());

    for (auto slots : {std::make_pair(36, 0), std::make_pair(0, 0), std::make_pair(77, 0), std::make_pair(78, 1),
                       std::make_pair(247, 5)})
        EXPECT_EQ(slots.second, CRichEditWnd::SlotCountForWidth(slots.first)) << slots.first;
    for (auto link :
         {std::make_pair("http://a.example/x", true), std::make_pair("HTTPS://a.example", true),
          std::make_pair("file:///c:/windows/notepad.exe", false), std::make_pair("c:\\windows\\notepad.exe", false),
          std::make_pair("httpx://a", false), std::make_pair("", false)})
        EXPECT_EQ(link.second, CRichEditWnd::IsWebAddress(link.first)) << link.first;
    EXPECT_FALSE(CRichEditWnd::IsWebAddress(NULL));
}

// While the room's game client runs the room stays, with the game message;
// the hall's close of all rooms is refused too.
TEST_F(RoomTabTest, CloseRefusedWhileTheGameClientRuns)
{
    const UINT nOldCheck = CRoomViewItem::s_nNetCheckInterval;
    const DWORD dwOldHello = CRoomDataCenter::s_dwHelloTimeout;
    CRoomViewItem::s_nNetCheckInterval = 20;
    CRoomViewItem* pView = Enter();
    ASSERT_NE(nullptr, pView);
    WaitLoggedOn(pView);
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, RoomBody::RoomInfo(0));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_INFO_DONE, CWireBytes());
    CRoomDataCenter* pDataCenter = pView->GetRoomDataCenter();
    // The launch's status dialog runs until the client says hello; when the
    // client is slower than the dialog's loop, the script is asked first.
    m_Script.ThenDialog([](AFX_MODAL_REQUEST&) { return CModalScript::keepRunning; });
    ASSERT_EQ(1, pDataCenter->LaunchGameClient());
    ASSERT_TRUE(pView->IsGameClientStarted());
    m_Script.AnswerBox(IDOK);
    m_Script.AnswerBox(IDOK);
    EXPECT_FALSE(m_pTabs->CloseRoomTab(pView));
    EXPECT_FALSE(m_pTabs->CloseAllRooms());
    EXPECT_EQ(1, m_pTabs->GetRoomCount());
    ASSERT_EQ(2u, BoxTexts().size());
    EXPECT_NE(std::string::npos, BoxTexts()[0].find("请您先关闭游戏"));
    // A close posted meanwhile is refused the same way.
    m_Script.AnswerBox(IDOK);
    m_pTabs->SendMessage(WM_ROOM_CLOSE_VIEW, (WPARAM)pView, 0);
    EXPECT_EQ(1, m_pTabs->GetRoomCount());

    // The client goes; the room's own check notices.
    CRoomDataCenter::s_dwHelloTimeout = 0;
    TerminateProcess(pDataCenter->GetProcessInformation()->hProcess, 0);
    EXPECT_TRUE(PumpUntil([&] { return !pView->IsGameClientStarted(); }));
    CRoomViewItem::s_nNetCheckInterval = nOldCheck;
    CRoomDataCenter::s_dwHelloTimeout = dwOldHello;
    EXPECT_TRUE(m_pTabs->CloseAllRooms());
    EXPECT_EQ(0, m_pTabs->GetRoomCount());
}

// Tab icons: the game program's icon 128 read as data, cached by game; a
// program without it gives no image.
TEST_F(RoomTabTest, TabIconComesFromTheGameProgram)
{
    CGame* pGame = m_pTree->FindGame(kGameID);
    EXPECT_EQ(-1, m_pTabs->GetGameIcon(pGame)) << "the stand-in client has no icon 128";
    const std::string folder = std::string((LPCSTR)m_Skin.Folder().Folder()) + "\\" + tabletest::kGameFolder;
    ASSERT_TRUE(
        CopyFileA((ProgramFolder() + "\\libroomtab_icon.dll").c_str(), (folder + "\\iconclient.exe").c_str(), FALSE) ||
        CopyFileA((ProgramFolder() + "\\roomtab_icon.dll").c_str(), (folder + "\\iconclient.exe").c_str(), FALSE));
    m_Skin.Folder().Write(m_Skin.GameFile("config.ini").c_str(),
                          std::string("[Public]\r\nExeName=iconclient.exe\r\nVersion=0x01020304\r\n"));
    const int nImages = m_pTabs->GetImageList().GetImageCount();
    EXPECT_EQ(1, nImages) << "the hall's own picture comes first";
    const int nIcon = m_pTabs->GetGameIcon(pGame);
    EXPECT_EQ(nImages, nIcon);
    EXPECT_EQ(nImages + 1, m_pTabs->GetImageList().GetImageCount());
    EXPECT_EQ(nIcon, m_pTabs->GetGameIcon(pGame));
    EXPECT_EQ(nImages + 1, m_pTabs->GetImageList().GetImageCount());
    CRoomViewItem* pView = Enter();
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(nIcon, m_pTabs->GetTabCtrl().GetItem(1)->GetImageIndex());
    EXPECT_EQ(1, m_pTabs->GetImageList().GetImageCount() - nImages);
}

// The room dialogs the window hands its rooms: the password prompt, and
// whisper windows only while a room is shown.
TEST_F(RoomTabTest, RoomDialogsFollowTheShownRoom)
{
    CRoomViewDialogs& dialogs = m_pTabs->GetDialogs();
    EXPECT_FALSE(dialogs.CreateWhisperWindow(NULL, 0));
    m_Script.ThenDialog([](AFX_MODAL_REQUEST&) { return (INT_PTR)IDCANCEL; });
    CString strPassword = "x";
    EXPECT_FALSE(dialogs.RunRoomPassDlg(m_pTabs.get(), strPassword));
    ASSERT_NE(nullptr, Enter());
    EXPECT_TRUE(dialogs.CreateWhisperWindow(NULL, 0));
    EXPECT_TRUE(dialogs.IsWhisperWindow(0));
    EXPECT_FALSE(dialogs.IsWhisperWindow(1));
    EXPECT_FALSE(dialogs.CreateWhisperWindow(NULL, MAX_WHISPER_WINDOWS));
    EXPECT_TRUE(m_pTabs->CloseAllRooms());
    EXPECT_FALSE(dialogs.IsWhisperWindow(0));
}

// One team of the hall's list of a game kind: its name (bit 0) and its
// member count (bit 2).
CWireBytes ListedTeam(uint32_t dwTeamID, const std::string& name, uint32_t dwMembers)
{
    CWireBytes team = CWireBytes().U32(dwTeamID).U16(1).U32((1u << 0) | (1u << 2));
    team.U16(uint32_t(4 + name.size())).Counted(name);
    team.U16(4).U32(dwMembers);
    return team;
}

CWireBytes TeamList(uint32_t dwKindID, const std::vector<CWireBytes>& teams)
{
    CWireBytes body = CWireBytes().U32(dwKindID).U16(uint32_t(teams.size()));
    for (const CWireBytes& team : teams)
        body.U16(team.Size32()).Bytes(team.Vector());
    return body;
}

// The hall's teams of the room's game kind fill the team tab when they
// arrive, anew when they change, and at once when the hall holds them on
// entry; another game's teams change nothing.
TEST_F(RoomTabTest, HallTeamsFillTheRoomsTeamTab)
{
    m_Skin.Folder().WriteBmp("Res\\Common\\scrollbar\\scrollbar.bmp", skintest::Pixels(16, 16, RGB(9, 9, 9)));
    CClientDataCenter hall;
    hall.SetNotifyMessage(WM_HALL_NOTIFY);
    g_GlobalUnits.SetGameTreeManager(m_pTree.get());
    m_pTabs->DestroyWindow();
    m_pTabs.reset(new CRoomControlWnd);
    m_pTabs->SetHallDataCenter(&hall);
    ASSERT_TRUE(
        m_pTabs->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700), &m_Host, 1006));
    auto hear = [&](const CWireBytes& body) {
        std::vector<BYTE> bytes = body.Vector();
        hall.OnSocketRead(0, HALL_MAIN_TEAM, HALL_SUB_S_TEAM_INFO, bytes.data(), WORD(bytes.size()), NULL);
    };
    auto rows = [](CRoomViewItemControl* pPanel) {
        std::vector<std::string> texts;
        CTeamListView& list = pPanel->GetTeamList();
        for (int i = 0; list.GetSafeHwnd() != NULL && i < list.GetItemCount(); ++i)
            texts.push_back(std::string(list.GetItemText(i, 0)) + "/" + (LPCSTR)list.GetItemText(i, 1));
        return texts;
    };
    auto tabs = [](CRoomViewItemControl* pPanel) { return pPanel->GetListTab().GetTabManager()->GetItemCount(); };

    ASSERT_NE(nullptr, Enter());
    CRoomViewItemControl* pPanel = m_pTabs->GetCurrentSidePanel();
    ASSERT_NE(nullptr, pPanel);
    EXPECT_EQ(1, tabs(pPanel)) << "no teams held yet";
    hear(TeamList(kGameID + 1, {ListedTeam(1, "别队", 3)}));
    EXPECT_EQ(1, tabs(pPanel));
    hear(TeamList(kGameID, {ListedTeam(1, "红队", 12), ListedTeam(2, "蓝队", 7)}));
    ASSERT_EQ(2, tabs(pPanel));
    EXPECT_STREQ("战队列表", pPanel->GetListTab().GetTabManager()->GetItem(1)->GetCaption());
    EXPECT_EQ(4, pPanel->GetTeamList().GetHeaderCtrl()->GetItemCount());
    EXPECT_EQ((std::vector<std::string>{"红队/12", "蓝队/7"}), rows(pPanel));
    hear(TeamList(kGameID, {}));
    EXPECT_EQ(2, tabs(pPanel));
    EXPECT_TRUE(rows(pPanel).empty()) << "no team left";
    hear(TeamList(kGameID, {ListedTeam(2, "蓝队", 8)}));
    EXPECT_EQ(2, tabs(pPanel));
    EXPECT_EQ(std::vector<std::string>{"蓝队/8"}, rows(pPanel));

    ASSERT_TRUE(m_pTabs->CloseAllRooms());
    ASSERT_NE(nullptr, Enter());
    pPanel = m_pTabs->GetCurrentSidePanel();
    EXPECT_EQ(std::vector<std::string>{"蓝队/8"}, rows(pPanel)) << "the held teams at entry";
    ASSERT_TRUE(m_pTabs->CloseAllRooms());
    m_pTabs->DestroyWindow();
    EXPECT_TRUE(BoxTexts().empty());
}

// A click on a player's row shows his card; it forgets him when he leaves,
// and goes with the room.
TEST_F(RoomTabTest, PlayerCardFollowsThePlayer)
{
    m_Skin.WriteListPictures();
    CRoomViewItem* pView = Enter();
    ASSERT_NE(nullptr, pView);
    WaitLoggedOn(pView);
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, RoomBody::RoomInfo(0));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_INFO_DONE, CWireBytes());
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_ENTER, RoomBody::UserEnter(2002, "来客", 0));
    CRoomViewItemControl* pPanel = m_pTabs->GetCurrentSidePanel();
    ASSERT_NE(nullptr, pPanel);
    CListCtrl& list = pPanel->GetUserList();
    int nRow = -1;
    for (int i = 0; i < list.GetItemCount() && nRow < 0; ++i) {
        const CUserItem* pUser = reinterpret_cast<const CUserItem*>(list.GetItemData(i));
        if (pUser != nullptr && pUser->GetUserID() == 2002)
            nRow = i;
    }
    ASSERT_GE(nRow, 0);
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = list.GetSafeHwnd();
    click.iItem = nRow;
    LRESULT lResult = 1;
    // The pointer stays on the clicked row.
    CRect rcRow;
    list.GetItemRect(nRow, &rcRow, LVIR_BOUNDS);
    list.ClientToScreen(&rcRow);
    AfxSetTestCursorPos(rcRow.CenterPoint());
    pPanel->OnUserListClick(&click.hdr, &lResult);
    CPlayInfoPanel* pCard = m_pTabs->GetDialogs().GetPlayInfo();
    ASSERT_NE(nullptr, pCard);
    ASSERT_NE(nullptr, pCard->GetUserItem());
    EXPECT_EQ(2002u, pCard->GetUserItem()->GetUserID());
    EXPECT_TRUE(pCard->IsWindowVisible());
    CRect rcView, rcCard;
    pView->GetWindowRect(&rcView);
    pCard->GetWindowRect(&rcCard);
    EXPECT_EQ(CPoint(rcView.right - 207, rcView.top + 23), rcCard.TopLeft());

    // The list losing the focus hides the card unless the pointer is on it.
    struct Case
    {
        const char* name;
        CPoint cursor;
        bool bShown;
    } cases[] = {
        {"pointer on the card", rcCard.CenterPoint(), true},
        {"pointer beside the card", rcCard.TopLeft() - CPoint(1, 1), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AfxSetTestCursorPos(rcRow.CenterPoint());
        pPanel->OnUserListClick(&click.hdr, &lResult);
        ASSERT_TRUE(pCard->IsWindowVisible());
        AfxSetTestCursorPos(c.cursor);
        list.SendMessage(WM_KILLFOCUS, 0, 0);
        EXPECT_EQ(c.bShown, pCard->IsWindowVisible() != FALSE);
    }
    AfxClearTestCursorPos();
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(2002));
    EXPECT_EQ(nullptr, pCard->GetUserItem());
    EXPECT_TRUE(m_pTabs->CloseAllRooms());
    EXPECT_EQ(nullptr, m_pTabs->GetDialogs().GetPlayInfo());
    EXPECT_TRUE(BoxTexts().empty());
}

// Choosing tabs: a room tab shows the column, the plaza hides it; a double
// click closes the web page or the room, never the plaza.
TEST_F(RoomTabTest, TabChoiceAndDoubleClick)
{
    CRoomViewItem* pView = Enter();
    ASSERT_NE(nullptr, pView);
    EXPECT_TRUE(m_pTabs->IsEnteringRoom());
    WaitLoggedOn(pView);
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, RoomBody::RoomInfo(0));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_INFO_DONE, CWireBytes());
    EXPECT_FALSE(m_pTabs->IsEnteringRoom());
    m_pTabs->OpenWebPage("帮助", "http://127.0.0.1/help", 0);
    CSkinTabEx& tabs = m_pTabs->GetTabCtrl();
    ASSERT_EQ(3, tabs.GetItemCount());
    auto choose = [&](int nTab) {
        tabs.SetCurSel(nTab);
        NMHDR hdr = {tabs.GetSafeHwnd(), CRoomControlWnd::IDC_ROOM_TABS, (UINT)TCN_SELCHANGE};
        m_pTabs->SendMessage(WM_NOTIFY, CRoomControlWnd::IDC_ROOM_TABS, (LPARAM)&hdr);
    };
    choose(1);
    EXPECT_TRUE(m_pTabs->IsSidePanelShown());
    choose(0);
    EXPECT_FALSE(m_pTabs->IsSidePanelShown());
    choose(1);
    choose(2);
    EXPECT_FALSE(m_pTabs->IsSidePanelShown());

    tabs.Reposition();
    auto doubleClick = [&](int nTab) {
        CPoint point = tabs.GetItem(nTab)->GetRect().CenterPoint();
        m_pTabs->SendMessage(WM_SKINTAB_MOUSE, WM_LBUTTONDBLCLK, MAKELPARAM(point.x, point.y));
    };
    doubleClick(0);
    EXPECT_EQ(3, tabs.GetItemCount());
    doubleClick(2);
    EXPECT_EQ(2, tabs.GetItemCount());
    EXPECT_EQ(0, m_pTabs->GetWebPageCount());
    tabs.Reposition();
    doubleClick(1);
    EXPECT_EQ(1, tabs.GetItemCount());
    EXPECT_EQ(0, m_pTabs->GetRoomCount());
}

// A room's and the web page's tabs close by their close button; the
// plaza's tab has none, and a click beside the button closes nothing.
TEST_F(RoomTabTest, TabCloseButtonClosesRoomOrWebPage)
{
    ASSERT_NE(nullptr, Enter());
    m_pTabs->OpenWebPage("帮助", "http://127.0.0.1/help", 0);
    CSkinTabEx& tabs = m_pTabs->GetTabCtrl();
    ASSERT_EQ(3, tabs.GetItemCount());
    EXPECT_FALSE(m_pTabs->HasCloseButton(tabs.GetItem(0)));
    EXPECT_TRUE(m_pTabs->HasCloseButton(tabs.GetItem(1)));
    EXPECT_TRUE(m_pTabs->HasCloseButton(tabs.GetItem(2)));

    // The cross is drawn in the caption's colour.
    for (bool bSelected : {true, false}) {
        SCOPED_TRACE(bSelected);
        tabs.SetCurSel(bSelected ? 1 : 0);
        CRoomTabPaintManager painter;
        CMemoryCanvas canvas(100, 20, RGB(1, 2, 3));
        painter.DrawSingleButton(canvas.DC(), tabs.GetItem(1), CRect(0, 0, 100, 20), TRUE);
        const CPoint centre = CRoomTabPaintManager::CloseButtonRect(CRect(0, 0, 100, 20)).CenterPoint();
        EXPECT_EQ(bSelected ? CRoomTabPaintManager::kTextSelected : CRoomTabPaintManager::kTextNormal,
                  canvas.At(centre.x, centre.y));
    }

    auto click = [&](CPoint point) {
        tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        tabs.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    };
    auto closeButton = [&](int nTab) {
        tabs.Reposition();
        return CRoomTabPaintManager::CloseButtonRect(tabs.GetItem(nTab)->GetRect()).CenterPoint();
    };
    click(closeButton(0));
    EXPECT_EQ(3, tabs.GetItemCount());
    click(tabs.GetItem(1)->GetRect().TopLeft() + CPoint(3, 3));
    EXPECT_EQ(3, tabs.GetItemCount());
    click(closeButton(2));
    EXPECT_EQ(2, tabs.GetItemCount());
    EXPECT_EQ(0, m_pTabs->GetWebPageCount());
    click(closeButton(1));
    EXPECT_EQ(1, tabs.GetItemCount());
    EXPECT_EQ(0, m_pTabs->GetRoomCount());
    EXPECT_TRUE(BoxTexts().empty());
}

// Tab buttons: each picture's left half for the selected tab, its right
// half for the others; ends at the button's ends, the middle between.
TEST_F(RoomTabTest, TabButtonsDrawTheHalfOfTheirState)
{
    struct Piece
    {
        const char* name;
        int width;
        COLORREF selected, normal;
    };
    const Piece pieces[3] = {{"tabupl.bmp", 8, RGB(200, 0, 0), RGB(0, 0, 200)},
                             {"tabupm.bmp", 4, RGB(0, 200, 0), RGB(200, 200, 0)},
                             {"tabupr.bmp", 6, RGB(200, 0, 200), RGB(0, 200, 200)}};
    CSkinTabEx& tabs = m_pTabs->GetTabCtrl();
    for (int i = 0; i < 3; ++i) {
        skintest::Pixels pixels(pieces[i].width * 2, 20, pieces[i].selected);
        pixels.Fill(pieces[i].width, 0, pieces[i].width, 20, pieces[i].normal);
        const std::string file = std::string("Res\\GameRoom\\") + pieces[i].name;
        m_Skin.Folder().WriteBmp(file.c_str(), pixels);
        tabs.SetSkinImage(i, (m_Skin.Folder().Folder() + "\\" + file.c_str()));
    }
    m_pTabs->OpenWebPage("帮助", "http://127.0.0.1/help", 0);
    ASSERT_EQ(2, tabs.GetItemCount());
    tabs.SetCurSel(0);
    CRoomTabPaintManager painter;
    for (int nTab : {0, 1}) {
        SCOPED_TRACE(nTab);
        const bool bSelected = nTab == 0;
        CMemoryCanvas canvas(100, 20, RGB(1, 2, 3));
        painter.DrawSingleButton(canvas.DC(), tabs.GetItem(nTab), CRect(0, 0, 100, 20), TRUE);
        for (int i = 0; i < 3; ++i) {
            const int x = i == 0 ? 1 : i == 1 ? 50 : 98;
            EXPECT_EQ(bSelected ? pieces[i].selected : pieces[i].normal, canvas.At(x, 1)) << pieces[i].name;
        }
    }
}

// Button margins follow the side panel column.
TEST_F(RoomTabTest, TabMarginsFollowTheColumn)
{
    m_pTabs->SetTabFlash(3);
    EXPECT_EQ(3, m_pTabs->GetTabCtrl().GetUnreadCount());
    EXPECT_TRUE(m_pTabs->GetTabCtrl().IsBlinking());
    CRoomTabPaintManager painter;
    m_pTabs->ShowSidePanelColumn(false);
    EXPECT_EQ(CRect(1, 1, 1, 2), painter.GetButtonMargin());
    m_pTabs->ShowSidePanelColumn(true);
    EXPECT_EQ(CRect(-13, 0, 0, 0), painter.GetButtonMargin());
    EXPECT_EQ(CRect(10, 8, 0, 0), painter.GetHeaderMargin());
    EXPECT_EQ(31, painter.GetHeaderHeight(NULL));
}

// The splitter: three pieces tiled, or a grey bar when one is missing.
TEST_F(RoomTabTest, SplitterTilesOrGreyBar)
{
    const COLORREF top = RGB(200, 0, 0), mid = RGB(0, 200, 0), bottom = RGB(0, 0, 200);
    m_Skin.Folder().WriteBmp("Res\\Common\\splitter\\vbgr1.bmp", skintest::Pixels(3, 10, top));
    m_Skin.Folder().WriteBmp("Res\\Common\\splitter\\vbgr3.bmp", skintest::Pixels(3, 12, bottom));
    {
        CRoomSplitter splitter;
        CMemoryCanvas canvas(3, 100);
        splitter.DrawSplitter(canvas.DC(), CRect(0, 0, 3, 100));
        EXPECT_EQ(CRoomSplitter::kGreyFill, canvas.At(1, 50));
        EXPECT_EQ(CRoomSplitter::kGreyFrame, canvas.At(0, 0));
    }
    m_Skin.Folder().WriteBmp("Res\\Common\\splitter\\vbgr2.bmp", skintest::Pixels(3, 7, mid));
    CRoomSplitter splitter;
    CMemoryCanvas canvas(3, 100);
    splitter.DrawSplitter(canvas.DC(), CRect(0, 0, 3, 100));
    EXPECT_EQ(top, canvas.At(1, 0));
    EXPECT_EQ(top, canvas.At(1, 9));
    EXPECT_EQ(mid, canvas.At(1, 10));
    EXPECT_EQ(mid, canvas.At(1, 87));
    EXPECT_EQ(bottom, canvas.At(1, 88));
    EXPECT_EQ(bottom, canvas.At(1, 99));
}

} // namespace
