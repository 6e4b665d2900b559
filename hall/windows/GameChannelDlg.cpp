#include "GameChannelDlg.h"

#include <XTVBufferDC.h>

#include <vector>

#include "BitmapRegion.h"
#include "GameRoom.h"
#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalUnits.h"
#include "HallWindows.h"

BEGIN_MESSAGE_MAP(CGameChannelDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_CBN_SELCHANGE(CGameChannelDlg::IDC_GAME_BOX, OnGameBoxChange)
    ON_MESSAGE(WM_ROOM_CHOSEN, OnRoomChosen)
END_MESSAGE_MAP()

CGameChannelDlg::CGameChannelDlg() : m_nBackWidth(0), m_nBackHeight(0), m_pGameNode(NULL), m_pRoomNode(NULL)
{
    m_nIDHelp = IDD;
}

CGameChannelDlg::~CGameChannelDlg() {}

void CGameChannelDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CGameChannelDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const CString folder = g_GlobalUnits.GetResourceDirectory();
    if (m_Background.Load(folder + "CompetiteEntry\\gamechannel.bmp")) {
        m_nBackWidth = (int)m_Background.GetWidth();
        m_nBackHeight = (int)m_Background.GetHeight();
    } else {
        CRect rc;
        GetClientRect(&rc);
        m_nBackWidth = rc.Width();
        m_nBackHeight = rc.Height();
    }
    m_CreateRoomBack.Load(folder + "gameroom\\CreateTable\\CreateRoomBack.bmp");
    m_btClose.SubclassDlgItem(IDCANCEL, this);
    m_btClose.LoadRgnImage(folder + "common\\button\\tbclose.bmp", RGB(255, 0, 255));
    m_btOK.SubclassDlgItem(IDOK, this);
    m_btOK.LoadRgnImage(folder + "common\\button\\btn.bmp", RGB(255, 0, 255));
    m_GameBox.SubclassDlgItem(IDC_GAME_BOX, this);

    m_RoomList.CreateList(CRect(3, 63, m_nBackWidth - 3, m_nBackHeight - 30), this, IDC_ROOM_LIST);
    if (m_Background.IsValid())
        ApplyPictureRgn(&m_Background, m_hWnd);

    CGameTreeManager* manager = g_GlobalUnits.GetGameTreeManager();
    if (manager != NULL) {
        for (INT_PTR i = 0; i < manager->GetGameCount(); i++) {
            CGame* game = manager->GetGameAt(i);
            m_GameBox.InsertString((int)i, game != NULL ? (LPCSTR)game->GetName() : "");
        }
    }
    m_GameBox.SetCurSel(0);
    SelectGame(0);
    return TRUE;
}

void CGameChannelDlg::SelectGame(int nIndex)
{
    if (m_GameBox.GetSafeHwnd() != NULL && m_GameBox.GetCurSel() != nIndex)
        m_GameBox.SetCurSel(nIndex);
    if (m_RoomList.GetSafeHwnd() == NULL)
        return;
    m_RoomList.ClearRooms();
    CGameTreeManager* manager = g_GlobalUnits.GetGameTreeManager();
    CGame* game = manager != NULL ? manager->GetGameAt(nIndex) : NULL;
    if (game == NULL)
        return;
    std::vector<CGameRoom*> rooms;
    const CGlobalUnits::CRoomMap& map = g_GlobalUnits.GetRoomMap();
    POSITION pos = map.GetStartPosition();
    while (pos != NULL) {
        DWORD id = 0;
        CGameRoom* room = NULL;
        map.GetNextAssoc(pos, id, room);
        if (room != NULL && room->GetGameId() == game->GetId())
            rooms.push_back(room);
    }
    for (auto it = rooms.rbegin(); it != rooms.rend(); ++it)
        m_RoomList.AddRoom(*it);
}

void CGameChannelDlg::OnGameBoxChange()
{
    const int index = m_GameBox.GetCurSel();
    if (index >= 0)
        SelectGame(index);
}

void CGameChannelDlg::OnCancel()
{
    CDialog::OnCancel();
}

void CGameChannelDlg::OnPaint()
{
    CPaintDC dc(this);
    CXTVBufferDC buffer(dc);
    CRect rc;
    GetClientRect(&rc);
    buffer.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    if (m_Background.IsValid())
        m_Background.Draw(buffer.GetSafeHdc(), 0, 0);
}

BOOL CGameChannelDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CGameChannelDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (point.y < CAPTION_HEIGHT) {
        SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
        return;
    }
    CDialog::OnLButtonDown(nFlags, point);
}

bool CGameChannelDlg::IsKnownRoom(CGameRoom* pRoom)
{
    const CGlobalUnits::CRoomMap& map = g_GlobalUnits.GetRoomMap();
    POSITION pos = map.GetStartPosition();
    while (pos != NULL) {
        DWORD id = 0;
        CGameRoom* room = NULL;
        map.GetNextAssoc(pos, id, room);
        if (room == pRoom)
            return true;
    }
    return false;
}

LRESULT CGameChannelDlg::OnRoomChosen(WPARAM wParam, LPARAM)
{
    CGameRoom* room = (CGameRoom*)wParam;
    if (room == NULL || !IsKnownRoom(room))
        return 0;
    OnCancel();
    CGameTreeManager* manager = g_GlobalUnits.GetGameTreeManager();
    CGame* game = manager != NULL ? manager->FindGame(room->GetGameId()) : NULL;
    m_pGameNode = new CGameTreeNode(1);
    m_pGameNode->SetItemType(TREE_ITEM_GAME);
    m_pGameNode->SetItemData(room->GetGameId());
    if (game != NULL)
        m_pGameNode->SetText(game->GetName());
    m_pRoomNode = new CGameTreeNode(2);
    m_pRoomNode->SetItemType(TREE_ITEM_ROOM);
    m_pRoomNode->SetItemData(room->GetId());
    m_pRoomNode->SetText(room->GetName());
    m_pGameNode->InsertChild(m_pRoomNode);
    IRoomTabWnd* roomTabs = CHallWindows::GetRoomTabs();
    if (roomTabs != NULL)
        roomTabs->EnterRoom(room, m_pRoomNode);
    delete m_pGameNode;
    m_pGameNode = NULL;
    m_pRoomNode = NULL;
    return 0;
}
