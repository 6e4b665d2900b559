#include "PlayInfoPanel.h"

#include <XTVBufferDC.h>

#include "BitmapRegion.h"
#include "CustomFaceManagerWnd.h"
#include "GlobalUnits.h"
#include "IUserFaceRes.h"
#include "RecordCodec.h"
#include "TabbedText.h"
#include "UserItem.h"
#include "resource.h"

namespace
{
const COLORREF kBackColour = RGB(194, 234, 237);
const COLORREF kMagenta = RGB(255, 0, 255);
const UINT kFormatA = DT_WORD_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
const UINT kFormatB = DT_WORD_ELLIPSIS | DT_SINGLELINE | DT_VCENTER;
const int kRedrawMargin = 73;

struct LineSpot
{
    RECT rect;
    UINT format;
};
// Lines 1..10; the signature (11) is wrapped from (9, 284).
const LineSpot kLines[] = {
    {{60, 23, 210, 38}, kFormatA},   {{60, 41, 210, 56}, kFormatA},   {{60, 59, 210, 74}, kFormatA},
    {{60, 77, 210, 92}, kFormatA},   {{14, 119, 201, 134}, kFormatB}, {{14, 137, 201, 152}, kFormatB},
    {{14, 155, 201, 170}, kFormatB}, {{14, 173, 201, 188}, kFormatB}, {{9, 227, 200, 242}, kFormatB},
    {{9, 245, 200, 260}, kFormatB},
};

} // namespace

BEGIN_MESSAGE_MAP(CPlayInfoPanel, CDialog)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_ACTIVATE()
    ON_WM_KILLFOCUS()
    ON_WM_ACTIVATEAPP()
    ON_BN_CLICKED(CPlayInfoPanel::IDC_LOOK_BIG_FACE, OnLookBigFace)
END_MESSAGE_MAP()

CPlayInfoPanel::CPlayInfoPanel()
    : CDialog(IDD_PLAYER_INFO, NULL), m_pUserItem(NULL), m_rcAnchor(0, 0, 0, 0), m_nWindowWidth(0), m_nWindowHeight(0),
      m_pRoomView(NULL)
{}

CPlayInfoPanel::~CPlayInfoPanel() {}

void CPlayInfoPanel::SetRoomViewItem(CWnd* pRoomView)
{
    if (pRoomView != NULL)
        m_pRoomView = pRoomView;
}

CString CPlayInfoPanel::GetStatusText(BYTE cbStatus)
{
    static const char* const kTexts[] = {"没有状态", "空闲状态", "坐下状态", "准备状态", "旁观状态", "游戏状态"};
    return cbStatus < sizeof(kTexts) / sizeof(kTexts[0]) ? CString(kTexts[cbStatus]) : CString();
}

CString CPlayInfoPanel::FormatRate(long nCount, long nTotal)
{
    const long rate = nTotal != 0 ? (nCount * 100) / nTotal : 0;
    CString text;
    text.Format("%5.2f", double(rate));
    return text;
}

void CPlayInfoPanel::CreateLookFaceButton()
{
    if (m_btLookFace.GetSafeHwnd() == NULL)
        m_btLookFace.Create("", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(9, 70, 9, 70), this, IDC_LOOK_BIG_FACE);
}

int CPlayInfoPanel::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDialog::OnCreate(lpCreateStruct) == -1)
        return -1;
    CreateLookFaceButton();
    return 0;
}

BOOL CPlayInfoPanel::OnInitDialog()
{
    CDialog::OnInitDialog();
    CreateLookFaceButton();
    const CString folder = CString(g_GlobalUnits.GetResourceDirectory()) + "GameRoom\\playerinfopanel\\";
    m_Background.Load(folder + "playerinfobackincludeteam.bmp");
    m_btLookFace.LoadImage(folder + "btLookBigHead.png");
    if (m_Background.IsValid()) {
        m_nWindowWidth = int(m_Background.GetWidth());
        m_nWindowHeight = int(m_Background.GetHeight());
    }
    CPicture icons;
    icons.Load(CString(g_GlobalUnits.GetResourceDirectory()) + "ListImage\\USER_GAME_IDENTIFY.bmp");
    HBITMAP hIcons = icons.IsValid() ? icons.MakeBitmap() : NULL;
    if (hIcons == NULL)
        return FALSE;
    const int iconWidth = int(icons.GetWidth()) / TITLE_ICON_COUNT, iconHeight = int(icons.GetHeight());
    if (m_TitleIcons.GetSafeHandle() == NULL && iconWidth > 0 &&
        m_TitleIcons.Create(iconWidth, iconHeight, ILC_COLOR16 | ILC_MASK, 0, TITLE_ICON_COUNT)) {
        CBitmap bitmap;
        bitmap.Attach(hIcons);
        m_TitleIcons.Add(&bitmap, kMagenta);
    } else
        ::DeleteObject(hIcons);
    if (m_Background.IsValid())
        ApplyPictureRgn(&m_Background, m_hWnd);
    return TRUE;
}

void CPlayInfoPanel::ShowPlayerInfo(CUserItem* pUserItem, int nLeft, int nTop, int nRight, int nBottom, int)
{
    if (pUserItem != m_pUserItem && m_hWnd != NULL) {
        CRect rc;
        GetClientRect(&rc);
        rc.bottom -= kRedrawMargin;
        InvalidateRect(&rc, TRUE);
    }
    if (pUserItem == NULL)
        return;
    m_pUserItem = pUserItem;
    m_rcAnchor.SetRect(nLeft, nTop, nRight, nBottom);
    if (m_hWnd == NULL)
        return;
    SetFocus();
    const tagUserData* pUser = pUserItem->GetUserData();
    CCustomFaceManagerWnd* pFaces = g_GlobalUnits.GetCustomFaceManager();
    int width = 0, height = 0;
    const bool bigFace = pFaces != NULL && pFaces->HasCurrentFace(pUser->dwUserID, pUser->szKey13) &&
                         pFaces->GetFaceSize(pUser->dwUserID, width, height) && width >= MIN_BIG_FACE_WIDTH;
    if (m_btLookFace.GetSafeHwnd() != NULL)
        m_btLookFace.EnableWindow(bigFace);
}

void CPlayInfoPanel::OnUserItemDelete(CUserItem* pUserItem)
{
    if (pUserItem == NULL || pUserItem != m_pUserItem)
        return;
    m_pUserItem = NULL;
    if (m_hWnd != NULL)
        ShowWindow(SW_HIDE);
}

CString CPlayInfoPanel::GetLineText(int nLine) const
{
    if (m_pUserItem == NULL)
        return CString();
    const tagUserData* pUser = m_pUserItem->GetUserData();
    const tagUserExtra* pTeam = m_pUserItem->GetExtra();
    const long wins = long(pUser->dwScore[1]), losses = long(pUser->dwScore[2]), draws = long(pUser->dwScore[3]),
               flees = long(pUser->dwScore[4]);
    const long total = wins + losses + draws + flees;
    CString text;
    switch (nLine) {
    case 1: text.Format("昵称：%s", (LPCSTR)FieldText(pUser->szNickName, sizeof(pUser->szNickName))); break;
    case 2: text = "称号："; break;
    case 3: text.Format("当前状态：%s", (LPCSTR)GetStatusText(BYTE(pUser->cbUserStatus & USER_STATUS_MASK))); break;
    case 4: text.Format("ID号：%d", int(pUser->dwUserID)); break;
    case 5: text.Format("积分：%d 总局数：%d", int(LONG(pUser->dwScore[0])), int(total)); break;
    case 6: text.Format("逃跑率：%s%% ", (LPCSTR)FormatRate(flees, total)); break;
    case 7: text.Format("胜率：%s%%", (LPCSTR)FormatRate(wins, total)); break;
    case 8: text.Format("赢：%d 输：%d 和：%d 逃：%d", int(wins), int(losses), int(draws), int(flees)); break;
    case 9:
        text.Format("所在战队：%s",
                    pTeam->dwValue != 0 ? (LPCSTR)FieldText(pTeam->szText1, sizeof(pTeam->szText1)) : "无");
        break;
    case 10:
        text.Format("职位：%s", pTeam->dwValue != 0 ? (LPCSTR)FieldText(pTeam->szText2, sizeof(pTeam->szText2)) : "无");
        break;
    case 11: text.Format("个性签名：%s", (LPCSTR)FieldText(pUser->szKey15, sizeof(pUser->szKey15))); break;
    default: break;
    }
    return text;
}

void CPlayInfoPanel::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    for (CWnd* pChild = GetWindow(GW_CHILD); pChild != NULL; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
        CRect rc;
        pChild->GetWindowRect(&rc);
        ScreenToClient(&rc);
        dcPaint.ExcludeClipRect(&rc);
        pChild->UpdateWindow();
    }
    CXTVBufferDC dc(dcPaint);
    dc.FillSolidRect(&rcClient, kBackColour);
    CFont* pOldFont = dc.SelectObject(g_GlobalUnits.GetFont());
    if (m_Background.IsValid())
        m_Background.Draw(dc.GetSafeHdc(), 0, 0);
    if (m_pUserItem != NULL) {
        const tagUserData* pUser = m_pUserItem->GetUserData();
        CCustomFaceManagerWnd* pFaces = g_GlobalUnits.GetCustomFaceManager();
        if (pFaces != NULL && pFaces->HasCurrentFace(pUser->dwUserID, pUser->szKey13))
            pFaces->DrawFaceInRect(pUser->dwUserID, pUser->szKey13, &dc, 12, 27, 32, 32);
        else if (IUserFaceRes* pFaceRes = g_GlobalUnits.m_UserFaceResHelper.GetInterface())
            pFaceRes->DrawFace(pUser->wFaceID, 0, &dc, 12, 27, 32, 32);

        dc.SetBkMode(TRANSPARENT);
        CFont font;
        font.CreateFont(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0x20, "宋体");
        dc.SelectObject(&font);
        dc.SetTextColor(RGB(0, 0, 0));
        for (int line = 1; line <= 10; ++line) {
            CRect rc(kLines[line - 1].rect);
            dc.DrawText(GetLineText(line), &rc, kLines[line - 1].format);
        }
        // Titles 1..13 have icons; others (and none) draw nothing.
        const DWORD title = pUser->dwKey112;
        if (title >= 1 && title <= TITLE_ICON_COUNT && m_TitleIcons.GetSafeHandle() != NULL)
            m_TitleIcons.Draw(&dc, int(title - 1), CPoint(97, 39), ILD_TRANSPARENT);
        DrawTabbedTextLines(dc.GetSafeHdc(), 9, 284, 191, 16, GetLineText(11));
        dc.SelectObject(g_GlobalUnits.GetFont());
    }
    dc.SelectObject(pOldFont);
}

BOOL CPlayInfoPanel::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

bool CPlayInfoPanel::IsCursorAway()
{
    CPoint point;
    AfxGetCursorPos(&point);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    return !m_rcAnchor.PtInRect(point) && !rcWindow.PtInRect(point);
}

void CPlayInfoPanel::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    if (nState == WA_INACTIVE) {
        CWnd* pParent = GetParent();
        if ((pParent != NULL && pParent->IsIconic()) || IsCursorAway())
            ShowWindow(SW_HIDE);
    }
    CDialog::OnActivate(nState, pWndOther, bMinimized);
}

void CPlayInfoPanel::OnKillFocus(CWnd* pNewWnd)
{
    if (IsCursorAway())
        ShowWindow(SW_HIDE);
    CDialog::OnKillFocus(pNewWnd);
}

void CPlayInfoPanel::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    if (!bActive)
        ShowWindow(SW_HIDE);
    CDialog::OnActivateApp(bActive, dwThreadID);
}

void CPlayInfoPanel::OnLookBigFace()
{
    ShowWindow(SW_HIDE);
    if (m_pRoomView != NULL && m_pRoomView->GetSafeHwnd() != NULL && m_pUserItem != NULL)
        m_pRoomView->SendMessage(WM_PLAYER_COMMAND, LOOK_BIG_FACE, LPARAM(m_pUserItem->GetUserID()));
}

// ---- big-face viewer ---------------------------------------------------------------

BEGIN_MESSAGE_MAP(CLookBigFacePanel, CRgnDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CLookBigFacePanel::CLookBigFacePanel(DWORD dwUserID, CWnd* pParent)
    : CRgnDialog(IDD_PLAYER_INFO, pParent), m_dwUserID(dwUserID)
{}

CLookBigFacePanel::~CLookBigFacePanel() {}

BOOL CLookBigFacePanel::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    SetWindowText("查看大头像");
    MoveWindow(0, 0, 300, 280);
    CenterWindow();
    return TRUE;
}

CRect CLookBigFacePanel::FaceRect(int nClientWidth, int nClientHeight, int nFaceWidth, int nFaceHeight)
{
    int x = (nClientWidth - nFaceWidth) / 2, y = (nClientHeight - nFaceHeight) / 2;
    if (nClientHeight - 26 <= nFaceHeight) {
        y = 25;
        nFaceHeight = nClientHeight - 26;
    }
    return CRect(x, y, x + nFaceWidth, y + nFaceHeight);
}

void CLookBigFacePanel::OnPaint()
{
    CPaintDC dc(this);
    DrawSkinView(&dc);
    CCustomFaceManagerWnd* pFaces = g_GlobalUnits.GetCustomFaceManager();
    int width = 0, height = 0;
    if (pFaces == NULL || !pFaces->GetFaceSize(m_dwUserID, width, height))
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    pFaces->DrawFaceImage(m_dwUserID, &dc, FaceRect(rcClient.Width(), rcClient.Height(), width, height));
}
