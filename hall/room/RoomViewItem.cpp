// Construction, counting, set-up and close, the waiting state, painting and
// the accessors of the room view.
#include "RoomViewItem.h"

#include <new>

#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalAttemper.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallWindows.h"

namespace
{

// The proxy's colours before the room information changes them.
const COLORREF kSetUpStyle[6] = {0xF6E1C2, 0x4F3100, 255, 255, 255, 255};
const COLORREF kWaitFill = 0xF9F5F6;

} // namespace

const tagRoomNotifyKey CRoomViewItem::s_NotifyKeys[48] = {
    {2, 1},  {2, 2},  {2, 3},  {2, 5},  {2, 6},  {4, 1},  {4, 2},  {4, 3},  {4, 5},  {4, 4},  {4, 7},  {4, 8},
    {5, 1},  {5, 2},  {3, 1},  {3, 2},  {3, 3},  {3, 4},  {3, 5},  {3, 6},  {3, 7},  {3, 9},  {3, 17}, {3, 8},
    {3, 12}, {3, 15}, {3, 14}, {3, 16}, {3, 11}, {3, 20}, {3, 25}, {3, 21}, {3, 22}, {3, 23}, {3, 24}, {3, 27},
    {3, 18}, {3, 19}, {4, 9},  {4, 10}, {7, 1},  {1, 2},  {6, 2},  {6, 4},  {6, 8},  {6, 3},  {6, 5},  {4, 11},
};

std::function<IRoomMatchView*()> CRoomViewItem::s_MatchViewFactory;
std::function<IRoomMoneyPanels*(CRoomViewItem*)> CRoomViewItem::s_MoneyPanelsFactory;
UINT CRoomViewItem::s_nWaitInterval = 300;
UINT CRoomViewItem::s_nNetCheckInterval = 1000;
CString CRoomViewItem::s_strTablePassword;
bool CRoomViewItem::s_bHallStaysShown = false;
LONG CRoomViewItem::s_lLiveCount = 0;
int CRoomViewItem::s_nWaitPicture = 0;
int CRoomViewItem::s_nWaitWord = 0;
bool CRoomViewItem::s_bConnectionReported = false;
IRoomViewDialogs* CRoomViewItem::s_pDialogs = NULL;

BEGIN_MESSAGE_MAP(CRoomViewItem, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_ROOM_NOTIFY, OnRoomNotifyMessage)
    ON_MESSAGE(WM_ROOM_USER_COMMAND, OnUserCommandMessage)
    ON_MESSAGE(WM_ROOM_CLOSE_ROOM, OnCloseRoomMessage)
    ON_MESSAGE(WM_ROOM_LIST_REDRAW, OnListRedrawMessage)
    ON_COMMAND_RANGE(IDM_USER_WHISPER, IDM_USER_BIG_FACE, OnUserMenuCommand)
END_MESSAGE_MAP()

CRoomViewItem* CRoomViewItem::Create(IRoomControlWnd* pRoomTabs)
{
    CRoomViewItem* pView = new (std::nothrow) CRoomViewItem(pRoomTabs);
    if (pView != NULL)
        pView->AddRef();
    return pView;
}

IRoomViewDialogs* CRoomViewItem::InstallDialogs(IRoomViewDialogs* pDialogs)
{
    IRoomViewDialogs* pOld = s_pDialogs;
    s_pDialogs = pDialogs;
    return pOld;
}

CRoomViewItem::CRoomViewItem(IRoomControlWnd* pRoomTabs)
    : m_lRefCount(0), m_bWaiting(false), m_bKicked(false), m_bListHeld(false), m_lBoxNesting(0), m_pGameRoom(NULL),
      m_dwTablePresentation(TABLE_SHOW_NORMAL), m_nWhisperCount(0), m_wPendingTable(INVALID_TABLE),
      m_wPendingChair(INVALID_CHAIR), m_wRoomType(0), m_dwRoomID(0), m_dwRoomRule(0), m_wQuickJoinPos(0xFFFF),
      m_dwMenuTarget(0), m_dwRoundsToFinish(0), m_nPasswordAttempts(0), m_TableView(this),
      m_TableFrame(*m_TableView.GetTableFrame()), m_pMoneyPanels(NULL), m_pSidePanel(NULL), m_pMatchView(NULL),
      m_pGameOption(NULL), m_pRoomOption(NULL), m_dwRoomState(ROOM_STATE_CREATED), m_pUserManager(NULL),
      m_pDataCenter(NULL), m_pRoomTabs(pRoomTabs), m_bCloseAsked(false)
{
    memset(&m_UserColumns, 0, sizeof(m_UserColumns));
    memset(&m_TeamColumns, 0, sizeof(m_TeamColumns));
    memset(m_WhisperUsers, 0, sizeof(m_WhisperUsers));
    InterlockedIncrement(&s_lLiveCount);
}

CRoomViewItem::~CRoomViewItem()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    DestroyRoomWindows();
    delete m_pMoneyPanels;
    delete m_pMatchView;
    InterlockedDecrement(&s_lLiveCount);
}

ULONG CRoomViewItem::AddRef()
{
    return ULONG(++m_lRefCount);
}

ULONG CRoomViewItem::Release()
{
    LONG lCount = --m_lRefCount;
    if (lCount == 0)
        delete this;
    return ULONG(lCount);
}

HRESULT CRoomViewItem::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IUnknownEx) || IsEqualGUID(iid, IID_IViewItem) || IsEqualGUID(iid, IID_IRoomViewItem))
        *out = static_cast<IRoomViewItem*>(this);
    else if (IsEqualGUID(iid, IID_ITableFrameSink))
        *out = static_cast<ITableFrameSink*>(this);
    else if (IsEqualGUID(iid, IID_IUserManagerSink))
        *out = static_cast<IUserManagerSink*>(this);
    else {
        *out = NULL;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

bool CRoomViewItem::CreateRoomWindow(CWnd* pParent, const CRect& rect, UINT nID)
{
    DWORD dwStyle = pParent != NULL ? WS_CHILD | WS_CLIPCHILDREN : WS_POPUP | WS_CLIPCHILDREN;
    return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "", dwStyle, rect.left, rect.top, rect.Width(), rect.Height(),
                    pParent != NULL ? pParent->GetSafeHwnd() : NULL, HMENU(UINT_PTR(nID))) != FALSE;
}

int CRoomViewItem::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // Made over the whole client: the anchors keep it so at every size.
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!m_TableView.Create(NULL, NULL, WS_CHILD | WS_CLIPCHILDREN, rcClient, this, IDC_ROOM_TABLE_VIEW))
        return -1;
    AddAnchor(m_TableView.GetSafeHwnd(), ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
    if (s_MatchViewFactory)
        m_pMatchView = s_MatchViewFactory();
    if (m_pMatchView != NULL) {
        if (!m_pMatchView->CreateMatchView(this, IDC_ROOM_MATCH_VIEW)) {
            delete m_pMatchView;
            m_pMatchView = NULL;
        } else
            AddAnchor(m_pMatchView->GetMatchHwnd(), ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
    }
    CString strBack;
    strBack.Format("%sMainFrame\\Status\\bg.png", g_GlobalUnits.GetResourceDirectory());
    m_ImageBack.SetLoadInfo(strBack);
    return 0;
}

void CRoomViewItem::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    ApplyLayout();
}

bool CRoomViewItem::InitRoomView(CGameRoom* pGameRoom, IRoomViewControlItem* pSidePanel, CGameTreeNode* pNode)
{
    if (pGameRoom == NULL || pSidePanel == NULL || GetSafeHwnd() == NULL || m_pDataCenter != NULL)
        return false;
    m_pGameRoom = pGameRoom;
    m_pSidePanel = pSidePanel;

    // The chat pane's writer.
    CString strEmotion, strIcons;
    strEmotion.Format("%sEmotion\\", g_GlobalUnits.GetWorkDirectory());
    strIcons.Format("%sAddin\\Chat\\", g_GlobalUnits.GetWorkDirectory());
    if (!m_MessageProxy.CreateInstance())
        return false;
    IMessageProxy* pProxy = m_MessageProxy.GetInterface();
    pProxy->SetRichEdit(pSidePanel->GetChatControl());
    pProxy->SetStyle(kSetUpStyle);
    if (!pProxy->LoadConfig(strEmotion) || !pProxy->LoadTypeIcons(strIcons))
        return false;

    m_pDataCenter = CreateRoomDataCenter();
    if (m_pDataCenter == NULL)
        return false;
    m_pUserManager = m_pDataCenter->GetUserManager();
    m_pDataCenter->SetNotifyMessage(WM_ROOM_NOTIFY);
    CString strRoomName;
    CString strTitle = g_GlobalAttemper.BuildRoomTitle(pNode, "-", strRoomName);
    if (!m_pDataCenter->InitRoomDataCenter(pGameRoom, strTitle))
        return false;
    m_strRoomName = strRoomName.IsEmpty() ? pGameRoom->GetName() : strRoomName;

    SetTimer(IDT_ROOM_NET_CHECK, s_nNetCheckInterval, NULL);
    for (const tagRoomNotifyKey& key : s_NotifyKeys)
        m_pDataCenter->AddNotifyWindow(key.wMainCmdID, key.wSubCmdID, GetSafeHwnd());

    CGame* pGame = GetGame();
    CString strGameName = pGame != NULL ? pGame->GetName() : CString();
    CString strUnused;
    CString strStation = g_GlobalAttemper.BuildRoomTitle(pNode, ">", strUnused);
    if (!strStation.IsEmpty())
        m_strCaption.Format("%s > %s > %s", (LPCSTR)strGameName, (LPCSTR)strStation, (LPCSTR)m_strRoomName);
    else
        m_strCaption.Format("%s > %s", (LPCSTR)strGameName, (LPCSTR)m_strRoomName);
    m_TableView.SetToolBarText(m_strCaption);

    IGameRankManager* pRank = g_GlobalUnits.m_GameRankManagerHelper.GetInterface();
    if (pRank != NULL && pGame != NULL) {
        CString strRankFolder;
        strRankFolder.Format("%s%s", g_GlobalUnits.GetWorkDirectory(), (LPCSTR)pGame->GetFolderName());
        pRank->LoadConfig(strRankFolder);
    }

    m_pRoomOption = g_GlobalOption.GetRoomOption(pGameRoom);
    m_pGameOption = g_GlobalOption.GetGameOption(pGame);
    LoadRoomPassword();
    if (m_pRoomTabs != NULL)
        m_pRoomTabs->QueryHallDataCenter(pGameRoom->GetGameId());
    return true;
}

bool CRoomViewItem::ConnectRoomServer()
{
    if (m_pDataCenter == NULL || m_pGameRoom == NULL)
        return false;
    m_dwRoomState = ROOM_STATE_CONNECTING;
    CString strAddress = m_pGameRoom->GetServerAddress(m_pGameRoom->GetCurrentAddressIndex());
    return m_pDataCenter->ConnectServer(strAddress, m_pGameRoom->GetPort());
}

void CRoomViewItem::CloseRoomView()
{
    if (m_pDataCenter != NULL) {
        m_pDataCenter->SendLeaveRoom(false);
        if (GetSafeHwnd() != NULL) {
            for (const tagRoomNotifyKey& key : s_NotifyKeys)
                m_pDataCenter->RemoveNotifyWindow(key.wMainCmdID, key.wSubCmdID, GetSafeHwnd());
        }
        m_pDataCenter->UninitRoomDataCenter();
    }
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

void CRoomViewItem::OnDestroy()
{
    KillTimer(IDT_ROOM_NET_CHECK);
    KillTimer(IDT_ROOM_WAIT);
    DestroyRoomWindows();
    m_TableFrame.DestroyTableFrame();
    // The panels hold the data centre: they go first.
    delete m_pMoneyPanels;
    m_pMoneyPanels = NULL;
    if (m_pDataCenter != NULL) {
        m_pDataCenter->UninitRoomDataCenter();
        delete m_pDataCenter;
        m_pDataCenter = NULL;
    }
    m_pUserManager = NULL;
    CSkinWnd::OnDestroy();
}

// The find-player dialog and the whisper windows die once, here.
void CRoomViewItem::DestroyRoomWindows()
{
    if (s_pDialogs == NULL)
        return;
    for (int i = 0; i < m_nWhisperCount; ++i)
        s_pDialogs->DestroyWhisperWindow(i);
    m_nWhisperCount = 0;
    memset(m_WhisperUsers, 0, sizeof(m_WhisperUsers));
}

CGame* CRoomViewItem::GetGame()
{
    CGameTreeManager* pTree = g_GlobalUnits.GetGameTreeManager();
    if (pTree == NULL || m_pGameRoom == NULL)
        return NULL;
    return pTree->FindGame(m_pGameRoom->GetGameId());
}

bool CRoomViewItem::IsGameClientStarted()
{
    return m_pDataCenter != NULL && m_pDataCenter->IsGameClientStarted();
}

void CRoomViewItem::LeaveMatch()
{
    CUserItem* pMe = GetMeUserItem();
    if (IsMatchRoom() && pMe != NULL && pMe->GetSecondExtension()->dwValue1 == 1)
        RequestQuitMatch();
}

DWORD CRoomViewItem::GetMatchId()
{
    CUserItem* pMe = GetMeUserItem();
    if (!IsMatchRoom() || pMe == NULL)
        return 0xFFFFFFFF;
    return pMe->GetFirstExtension()->dwValue[0];
}

CUserItem* CRoomViewItem::GetMeUserItem() const
{
    return m_pUserManager != NULL ? m_pUserManager->GetMeUserItem() : NULL;
}

CUserItem* CRoomViewItem::SearchUser(DWORD dwUserID) const
{
    return m_pUserManager != NULL ? m_pUserManager->SearchUserItem(dwUserID) : NULL;
}

bool CRoomViewItem::CanSpeak() const
{
    return m_pDataCenter != NULL && m_pDataCenter->CanSpeak();
}

void CRoomViewItem::BeginWaitStatus()
{
    m_bWaiting = true;
    if (m_TableView.GetSafeHwnd() != NULL)
        m_TableView.ShowWindow(SW_HIDE);
    if (m_pMatchView != NULL)
        ::ShowWindow(m_pMatchView->GetMatchHwnd(), SW_HIDE);
    if (GetSafeHwnd() != NULL)
        SetTimer(IDT_ROOM_WAIT, s_nWaitInterval, NULL);
}

void CRoomViewItem::EndWaitStatus()
{
    m_bWaiting = false;
    ShowChildViews();
    if (GetSafeHwnd() != NULL) {
        KillTimer(IDT_ROOM_WAIT);
        Invalidate();
    }
    if (m_dwRoomState != ROOM_STATE_FAILED && m_pRoomTabs != NULL)
        m_pRoomTabs->ShowSidePanel(this);
}

void CRoomViewItem::ShowChildViews()
{
    bool bMatch = IsMatchRoom() && (m_dwRoomRule & ROOM_RULE_MATCH) == 0 && m_pMatchView != NULL;
    if (m_pMatchView != NULL)
        ::ShowWindow(m_pMatchView->GetMatchHwnd(), bMatch ? SW_SHOW : SW_HIDE);
    if (m_TableView.GetSafeHwnd() != NULL)
        m_TableView.ShowWindow(bMatch ? SW_HIDE : SW_SHOW);
}

void CRoomViewItem::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == IDT_ROOM_NET_CHECK) {
        if (m_pDataCenter != NULL)
            m_pDataCenter->TestNetSpeed();
        return;
    }
    if (nIDEvent == IDT_ROOM_WAIT) {
        CString strStatus, strWord;
        strStatus.Format("%sMainFrame\\Status\\%d.jpg", g_GlobalUnits.GetResourceDirectory(), s_nWaitPicture);
        strWord.Format("%sMainFrame\\Status\\word%d.jpg", g_GlobalUnits.GetResourceDirectory(), s_nWaitWord);
        s_nWaitPicture = (s_nWaitPicture + 1) % 2;
        s_nWaitWord = (s_nWaitWord + 1) % 3;
        m_ImageStatus.SetLoadInfo(strStatus);
        m_ImageWord.SetLoadInfo(strWord);
        Invalidate(FALSE);
        return;
    }
    CSkinWnd::OnTimer(nIDEvent);
}

BOOL CRoomViewItem::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

void CRoomViewItem::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bWaiting)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    dc.FillSolidRect(&rcClient, kWaitFill);
    if (m_ImageBack.LoadImage() && m_ImageBack.GetWidth() > 0 && m_ImageBack.GetHeight() > 0) {
        CDC memDC;
        memDC.CreateCompatibleDC(&dc);
        HGDIOBJ hOld = ::SelectObject(memDC.GetSafeHdc(), m_ImageBack.GetBitmapHandle());
        for (int y = 0; y < rcClient.Height(); y += m_ImageBack.GetHeight())
            for (int x = 0; x < rcClient.Width(); x += m_ImageBack.GetWidth())
                dc.BitBlt(x, y, m_ImageBack.GetWidth(), m_ImageBack.GetHeight(), &memDC, 0, 0, SRCCOPY);
        ::SelectObject(memDC.GetSafeHdc(), hOld);
    }
    int nTop = 0, nStatusHeight = 0;
    if (m_ImageStatus.LoadImage()) {
        nStatusHeight = m_ImageStatus.GetHeight();
        nTop = (rcClient.Height() - nStatusHeight) / 2 + 35;
        CDC memDC;
        memDC.CreateCompatibleDC(&dc);
        HGDIOBJ hOld = ::SelectObject(memDC.GetSafeHdc(), m_ImageStatus.GetBitmapHandle());
        dc.BitBlt((rcClient.Width() - m_ImageStatus.GetWidth()) / 2, nTop, m_ImageStatus.GetWidth(), nStatusHeight,
                  &memDC, 0, 0, SRCCOPY);
        ::SelectObject(memDC.GetSafeHdc(), hOld);
    }
    if (m_ImageWord.LoadImage()) {
        CDC memDC;
        memDC.CreateCompatibleDC(&dc);
        HGDIOBJ hOld = ::SelectObject(memDC.GetSafeHdc(), m_ImageWord.GetBitmapHandle());
        dc.BitBlt((rcClient.Width() - m_ImageWord.GetWidth()) / 2, nTop + nStatusHeight / 2 + 75,
                  m_ImageWord.GetWidth(), m_ImageWord.GetHeight(), &memDC, 0, 0, SRCCOPY);
        ::SelectObject(memDC.GetSafeHdc(), hOld);
    }
}

void CRoomViewItem::CloseRoom()
{
    if (m_pRoomTabs != NULL)
        m_pRoomTabs->CloseRoom(this);
}

LRESULT CRoomViewItem::OnCloseRoomMessage(WPARAM, LPARAM)
{
    CloseRoom();
    return 0;
}

LRESULT CRoomViewItem::OnRoomNotifyMessage(WPARAM wParam, LPARAM lParam)
{
    const tagNotifyHead* pHead = reinterpret_cast<const tagNotifyHead*>(wParam);
    if (pHead == NULL)
        return 0;
    // The view may go while a box of the handler is open.
    AddRef();
    bool bHandled = OnRoomNotify(pHead, lParam);
    Release();
    return bHandled ? 1 : 0;
}

bool CRoomViewItem::SendSpeakerText(LPCSTR pszText)
{
    return m_dwRoomState == ROOM_STATE_READY && m_pDataCenter != NULL && m_pDataCenter->SendSpeakerText(pszText);
}

bool CRoomViewItem::SendRoomChat(DWORD dwFirst, LPCSTR pszText, DWORD dwThird)
{
    return m_pDataCenter != NULL && m_pDataCenter->SendRoomChat(dwFirst, pszText, dwThird);
}

bool CRoomViewItem::ForwardToGameClient(const BYTE record[16])
{
    if (m_pDataCenter == NULL || record == NULL)
        return false;
    DWORD dwA, dwC, dwD;
    WORD wB;
    memcpy(&dwA, record, 4);
    memcpy(&wB, record + 4, 2);
    memcpy(&dwC, record + 8, 4);
    memcpy(&dwD, record + 12, 4);
    return m_pDataCenter->ForwardRecordToGame(dwA, wB, dwC, dwD);
}

int CRoomViewItem::CalcTableLayout(int nWidth)
{
    if (IsMatchRoom() || m_TableFrame.GetSafeHwnd() == NULL)
        return 0;
    return m_TableView.CalcTableLayout(nWidth);
}

bool CRoomViewItem::SendTextToGameClient(DWORD dwUserID, LPCSTR pszText)
{
    return m_pDataCenter != NULL && m_pDataCenter->SendTextToGameClient(dwUserID, pszText);
}

void CRoomViewItem::ShowGameClientWindow(int nHide)
{
    if (m_pDataCenter == NULL || m_pDataCenter->GetGameWnd() == NULL)
        return;
    HWND hTop = ::GetAncestor(m_pDataCenter->GetGameWnd(), GA_ROOT);
    ::ShowWindow(hTop != NULL ? hTop : m_pDataCenter->GetGameWnd(), nHide == 1 ? SW_HIDE : SW_SHOW);
}

// Presentation of the tables, when the user list arrives.
void CRoomViewItem::ChooseTablePresentation()
{
    if (m_TableFrame.GetSafeHwnd() != NULL && m_TableFrame.GetTableMode() != 0)
        return;
    BYTE cbDisplay = 0, cbListFlag = 1;
    bool bChat = true;
    if (IsOwnUserAdmin() || (m_dwRoomRule & (ROOM_RULE_MATCH | ROOM_RULE_ANONYMOUS)) == 0) {
        m_dwTablePresentation = TABLE_SHOW_NORMAL;
    } else if ((m_dwRoomRule & ROOM_RULE_MATCH) != 0) {
        m_dwTablePresentation = TABLE_SHOW_ANTI_CHEAT;
        m_TableView.SetTableMode(TABLE_MODE_ANTI_CHEAT, IsMatchRoom());
        cbDisplay = 1;
        bChat = false;
        cbListFlag = 0;
    } else {
        m_dwTablePresentation = TABLE_SHOW_HIDDEN;
        m_TableView.SetTableMode(TABLE_MODE_SINGLE, false);
        cbDisplay = 1;
        bChat = false;
    }
    if (m_pSidePanel != NULL) {
        m_pSidePanel->SetListDisplayFlag(cbDisplay);
        if (!bChat)
            m_pSidePanel->EnableChatInput(false);
        else
            UpdateChatInput();
    }
    if (m_pRoomTabs != NULL)
        m_pRoomTabs->SetListFlag(cbListFlag);
}

bool CRoomViewItem::IsOwnUserAdmin() const
{
    CUserItem* pMe = GetMeUserItem();
    return pMe != NULL && pMe->GetUserData()->dwRank == ROOM_RANK_ADMIN;
}

bool CRoomViewItem::IsMatchRanking() const
{
    return IsMatchRoom() && !IsOwnUserAdmin() && m_pMatchView != NULL;
}

CString CRoomViewItem::LoadString(UINT nID) const
{
    return g_GlobalUnits.LoadResString(nID);
}
