#include "RoomViewTestSupport.h"

#include "GlobalUnits.h"
#include "RoomPassFile.h"

namespace
{

CWinApp* TheApp()
{
    static CWinApp* app = new CWinApp("RoomViewTests");
    return app;
}

CGameTreeManager* TheTree()
{
    static CGameTreeManager* pTree = nullptr;
    if (pTree == nullptr) {
        pTree = new CGameTreeManager;
        CGame* pGame = new CGame(RoomViewTest::kGameID);
        pGame->SetName("象棋");
        pGame->SetFolderName(tabletest::kGameFolder);
        pTree->AddGame(pGame);
    }
    return pTree;
}

} // namespace

std::vector<BYTE> ArrivalBurst(DWORD dwFirst, DWORD dwLast)
{
    std::vector<BYTE> burst;
    for (DWORD dwUserID = dwFirst; dwUserID <= dwLast; ++dwUserID) {
        const CWireBytes body = RoomBody::UserEnter(dwUserID, "客", 0);
        const std::vector<BYTE> frame =
            CFrameServer::MakeFrame(0, ROOM_MAIN_ROOM, ROOM_SUB_S_USER_ENTER, body.Data(), body.Size());
        burst.insert(burst.end(), frame.begin(), frame.end());
    }
    return burst;
}

CRoomTabsDouble::CRoomTabsDouble()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "RoomTabsDouble";
    RegisterClassA(&wc);
    m_hWnd = CreateWindowA("RoomTabsDouble", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, this);
}

CRoomTabsDouble::~CRoomTabsDouble()
{
    DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CRoomTabsDouble::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        return TRUE;
    }
    CRoomTabsDouble* self = reinterpret_cast<CRoomTabsDouble*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (self != NULL && (uMsg == WM_ROOM_CLOSE_VIEW || uMsg == WM_ROOM_CONNECTION)) {
        self->posted.push_back({uMsg, wParam});
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

size_t CRoomTabsDouble::Posted(UINT message) const
{
    size_t n = 0;
    for (const auto& post : posted)
        n += post.first == message ? 1 : 0;
    return n;
}

void CSidePanelDouble::InsertUser(CUserItem* pUserItem)
{
    drawingAtInsert.push_back(bListDraws);
    if (!Listed(pUserItem->GetUserID()))
        listed.push_back(pUserItem->GetUserID());
}

void CSidePanelDouble::RemoveUser(CUserItem* pUserItem)
{
    for (size_t i = 0; i < listed.size(); ++i) {
        if (listed[i] == pUserItem->GetUserID()) {
            listed.erase(listed.begin() + i);
            return;
        }
    }
}

bool CSidePanelDouble::Listed(DWORD dwUserID) const
{
    for (DWORD id : listed) {
        if (id == dwUserID)
            return true;
    }
    return false;
}

bool CRoomDialogsDouble::Run(std::deque<Answer>& answers, int& nAsked, CString& strPassword)
{
    ++nAsked;
    if (answers.empty()) {
        ADD_FAILURE() << "a password dialog nobody expected";
        return false;
    }
    Answer answer = answers.front();
    answers.pop_front();
    if (answer.before)
        answer.before();
    strPassword = answer.text.c_str();
    return answer.bOk;
}

void RoomViewTest::SetUp()
{
    TheApp();
    static bool bStrings = g_GlobalUnits.GetResourceManager()->SetResourceFile("VQString.dll");
    ASSERT_TRUE(bStrings);
    ASSERT_TRUE(m_Panel.Create());
    skintest::Pixels icon(8, 8, RGB(0, 128, 0));
    for (const char* name : {"system.bmp", "player.bmp", "speaker.bmp", "activity.bmp"})
        m_Skin.Folder().WriteBmp((std::string("Addin\\Chat\\") + name).c_str(), icon);
    m_Skin.Folder().Write("Emotion\\config.ini", std::string("[emotion]\r\nCount=0\r\n"));
    g_GlobalUnits.SetGameTreeManager(TheTree());
    tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    memset(pUser, 0, sizeof(*pUser));
    pUser->dwUserID = kOwnUserID;
    pUser->lLevel = 1;
    strcpy(pUser->szPassword, "0123456789abcdef0123456789abcdef");
    ASSERT_TRUE(m_Server.Start());
    m_Room.SetServerAddresses("127.0.0.1");
    m_Room.SetPort(m_Server.GetPort());
    m_Room.SetGameId(kGameID);
    m_Room.SetName("一号房");
    m_Server.AnswerLogon(RoomBody::LogonOk(kOwnUserID));
    m_pOldDialogs = CRoomViewItem::InstallDialogs(&m_Dialogs);
    CRoomViewItem::s_strTablePassword.Empty();
}

void RoomViewTest::TearDown()
{
    if (m_pView != nullptr)
        CloseView();
    m_Server.Stop();
    CRoomViewItem::InstallDialogs(m_pOldDialogs);
    EXPECT_EQ(0, m_Script.Unexpected());
}

void RoomViewTest::MakeView()
{
    m_pView = CRoomViewItem::Create(&m_Tabs);
    ASSERT_NE(nullptr, m_pView);
    ASSERT_TRUE(m_pView->CreateRoomWindow(NULL, CRect(0, 0, 800, 600), 0));
    m_pView->GetTableFrame()->SetFlashPainter(&m_Flash);
    ASSERT_TRUE(m_pView->InitRoomView(&m_Room, &m_Panel, NULL));
}

void RoomViewTest::Connect()
{
    ASSERT_TRUE(m_pView->ConnectRoomServer());
    ASSERT_TRUE(PumpUntil([&] {
        return m_pView->GetRoomState() == ROOM_STATE_LOGGED_ON || m_pView->GetRoomState() == ROOM_STATE_FAILED;
    })) << "room state "
        << m_pView->GetRoomState();
}

void RoomViewTest::EnterRoom(DWORD dwRule)
{
    Connect();
    ASSERT_EQ(DWORD(ROOM_STATE_LOGGED_ON), m_pView->GetRoomState());
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, RoomBody::RoomInfo(dwRule));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_INFO_DONE, CWireBytes());
    ASSERT_EQ(DWORD(ROOM_STATE_READY), m_pView->GetRoomState());
}

void RoomViewTest::SendAndSettle(WORD wMainCmdID, WORD wSubCmdID, const CWireBytes& body)
{
    ASSERT_TRUE(m_Server.Send(wMainCmdID, wSubCmdID, body.Vector()));
    ASSERT_TRUE(m_Server.Settle()) << "no answer to the marker";
    PumpMessages();
}

void RoomViewTest::EnterUser(DWORD dwUserID, const std::string& nick, WORD wRank)
{
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_ENTER, RoomBody::UserEnter(dwUserID, nick, wRank));
}

void RoomViewTest::SetStatus(DWORD dwUserID, WORD wTable, WORD wChair, DWORD dwStatus)
{
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS, RoomBody::UserStatus(dwUserID, wTable, wChair, dwStatus));
}

CUserItem* RoomViewTest::User(DWORD dwUserID)
{
    CRoomDataCenter* pDataCenter = m_pView->GetRoomDataCenter();
    return pDataCenter != nullptr ? pDataCenter->GetUserManager()->SearchUserItem(dwUserID) : nullptr;
}

void RoomViewTest::CloseView()
{
    m_pView->CloseRoomView();
    m_pView->Release();
    m_pView = nullptr;
    PumpMessages();
}

std::string RoomViewTest::RoomPassPath() const
{
    return std::string(CRoomPassFile::PathOfUser(g_GlobalUnits.GetWorkDirectory(), kOwnUserID));
}
