#include "UserInfoView.h"

#include <algorithm>

#include <IniFile.h>
#include <WidgetDC.h>

#include "ClientDataCenter.h"
#include "CustomFaceManagerWnd.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallApp.h"
#include "IUserFaceRes.h"
#include "MatchImages.h"
#include "resource.h"

namespace
{
const COLORREF kInfoMagenta = RGB(255, 0, 255);
const COLORREF kVipText = RGB(255, 249, 145);
const COLORREF kSignatureText = RGB(186, 217, 222);
const COLORREF kToolText = RGB(163, 254, 255);
const UINT kLineFormat = DT_WORD_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
const char kDefaultSignature[] = "这个家伙很懒，什么都没留下~";
const int kSignatureChars = 127;

// The experience of the own user: the first number the hall server sends
// after the gold eggs.
DWORD UserExperience(const tagGlobalUserData* pUser)
{
    return pUser->dwAttribute16;
}

bool IsVip(LONG level)
{
    return level >= 1 && level <= 6;
}

// Draws the part (sx0..sx1) of the picture repeated from x over the width,
// or the whole picture stretched to the target.
void DrawPart(CDC* pDC, const CPicture& picture, int x, int y, int cx, int cy, int sx0, int sx1, bool stretch)
{
    if (!picture.IsValid())
        return;
    if (stretch) {
        picture.Draw(pDC->GetSafeHdc(), x, y, cx, cy, NULL, true);
        return;
    }
    const int step = sx1 - sx0;
    if (step <= 0)
        return;
    for (int left = x; left < x + cx; left += step) {
        const CRect clip(left, y, left + step, y + cy);
        picture.Draw(pDC->GetSafeHdc(), left - sx0, y, -1, -1, &clip, true);
    }
}

void PrepareTransparent(CPicture& picture)
{
    if (!picture.IsValid())
        return;
    picture.SetTransIndex(0);
    picture.SetTransColor(CPicture::RgbToQuad(kInfoMagenta));
}
} // namespace

CUserInfoView::CUserInfoView()
    : m_bUserDataLoaded(false), m_bToolTipOff(true), m_nToolPressed(0), m_bNewMail(false), m_bSignatureHovered(false),
      m_nHoveredTool(-1), m_nLevel(0), m_dwLevelThreshold(0), m_nMailFrame(3), m_rcToolStrip(0, 0, 0, 0),
      m_rcLevel(0, 0, 0, 0), m_rcFaceFrame(0, 0, 0, 0), m_rcSignature(0, 0, 0, 0), m_rcVip(0, 0, 0, 0), m_pOwner(NULL),
      m_bSkinLoaded(false), m_bTipAdded(false)
{}

CUserInfoView::~CUserInfoView() {}

void CUserInfoView::LoadSkin(IUserPanelOwner* pOwner)
{
    m_pOwner = pOwner;
    const CString folder = CString(g_GlobalUnits.GetResourceDirectory()) + "SelfInfo\\";
    m_PanelLeft.Load(folder + "pan1_l.bmp");
    m_PanelMiddle.Load(folder + "pan1_m.bmp");
    m_PanelRight.Load(folder + "pan1_r.bmp");
    m_Tool.Load(folder + "Tool.png");
    m_ButtonBack.Load(folder + "BtBack.png");
    m_FaceFrame.Load(folder + "pic.png");
    m_InfoBack.Load(folder + "InfoBack.bmp");
    m_VipBadge.Load(folder + "isvip.bmp");
    if (m_InfoBack.IsValid()) {
        m_InfoBack.IncreaseBpp(24);
        PrepareTransparent(m_InfoBack);
        m_InfoBack.SetType(PICTURE_TYPE_BMP);
    }
    for (CPicture* picture :
         {&m_PanelLeft, &m_PanelMiddle, &m_PanelRight, &m_Tool, &m_ButtonBack, &m_FaceFrame, &m_VipBadge})
        PrepareTransparent(*picture);
    m_bSkinLoaded = true;
}

void CUserInfoView::PlacePanel(const CRect& rect)
{
    Resize(rect.left, rect.top, rect.Width(), rect.Height());
    if (!m_bSkinLoaded)
        LoadSkin(m_pOwner);
}

void CUserInfoView::ComputeLevel(LPCSTR pszIniPath, DWORD dwExperience, int& nLevel, DWORD& dwThreshold)
{
    CIniFile ini(pszIniPath, 4096);
    int count = ini.GetInt("Level", "count", 0);
    // A wild count must not turn into thousands of file reads.
    if (count > MAX_EXPERIENCE_LEVELS)
        count = MAX_EXPERIENCE_LEVELS;
    DWORD last = 0;
    int i = 0;
    for (; i < count; ++i) {
        CString key;
        key.Format("%s%d", "level", i);
        last = DWORD(ini.GetInt("Level", key, 0));
        if (last != 0 && dwExperience <= last) {
            nLevel = i;
            dwThreshold = last;
            return;
        }
    }
    if (dwThreshold == 0) {
        nLevel = count > 0 ? count : 0;
        dwThreshold = last;
    }
}

void CUserInfoView::UpdateUserInfo()
{
    m_bUserDataLoaded = true;
    const tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    if (pUser->szSignature[0] != '\0')
        m_strSignature = CString(pUser->szSignature, int(strnlen(pUser->szSignature, sizeof(pUser->szSignature))));
    if (m_pOwner != NULL && m_pOwner->GetOwnerWnd() != NULL) {
        if (CWnd* pLabel = m_pOwner->GetOwnerWnd()->GetDlgItem(IDC_OWNER_SIGNATURE))
            pLabel->SetWindowText(m_strSignature);
    }
    ComputeLevel(CString(g_GlobalUnits.GetWorkDirectory()) + "config\\Original\\ExperienceCfg.ini",
                 UserExperience(pUser), m_nLevel, m_dwLevelThreshold);
}

void CUserInfoView::LoadSignature()
{
    const tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    m_strSignature = CString(pUser->szSignature, int(strnlen(pUser->szSignature, sizeof(pUser->szSignature))));
}

void CUserInfoView::GetViewRect(RECT* pRect)
{
    if (pRect != NULL)
        *pRect = GetRect();
}

void CUserInfoView::SetNewMail(bool bNewMail, int nMailFrame)
{
    m_bNewMail = bNewMail;
    m_nMailFrame = nMailFrame;
    Repaint();
}

bool CUserInfoView::CommitSignature(LPCSTR pszText)
{
    const CString text(pszText != NULL ? pszText : "");
    if (text == m_strSignature)
        return false;
    m_strSignature = text;
    MarkAllDirty();
    if (CClientDataCenter* pDataCenter = CHallApp::GetClientDataCenter())
        pDataCenter->SendSignature(text);
    return true;
}

CString CUserInfoView::GetSignatureText() const
{
    CString text;
    text.Format("个性签名：%s", m_strSignature.IsEmpty() ? kDefaultSignature : (LPCSTR)m_strSignature);
    return text;
}

int CUserInfoView::VipFrame(LONG lVipLevel)
{
    if (!IsVip(lVipLevel))
        return 0;
    return lVipLevel <= 3 ? int(lVipLevel) : 1;
}

void CUserInfoView::Repaint()
{
    MarkAllDirty();
}

void CUserInfoView::DrawSignatureLine(CDC* pDC)
{
    const CRect& rc = m_rcSignature;
    if (m_bSignatureHovered && m_ButtonBack.IsValid()) {
        const int half = int(m_ButtonBack.GetWidth() / 2), height = rc.Height();
        DrawPart(pDC, m_ButtonBack, rc.left, rc.top, 2, height, 0, 2, false);
        DrawPart(pDC, m_ButtonBack, rc.left + 2, rc.top, rc.Width() - 4, height, 2, 3, false);
        DrawPart(pDC, m_ButtonBack, rc.right - 2, rc.top, 2, height, half - 2, half, false);
    }
    CString text = GetSignatureText();
    // At most 127 characters, never half a double-byte one.
    if (text.GetLength() > kSignatureChars) {
        int cut = 0;
        while (cut < text.GetLength()) {
            const int step = IsDBCSLeadByte(BYTE(text[cut])) ? 2 : 1;
            if (cut + step > kSignatureChars)
                break;
            cut += step;
        }
        text = text.Left(cut);
    }
    CRect rcText(rc.left + 2, rc.top, rc.right, rc.bottom);
    pDC->DrawText(text, &rcText, DT_WORD_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
}

void CUserInfoView::DrawMessageIcon(CDC* pDC)
{
    if (!m_Tool.IsValid())
        return;
    const int fw = int(m_Tool.GetWidth() / 6), fh = int(m_Tool.GetHeight());
    int frame = 3, x = m_rcToolStrip.left + 1 + fw + 3, y = m_rcToolStrip.top;
    if (m_nToolPressed != 0 && m_nHoveredTool == 2) {
        x = m_rcToolStrip.left + 1 + fw + 4;
        y = m_rcToolStrip.top + 1;
    } else if (m_bNewMail) {
        frame = m_nMailFrame;
        x = m_rcToolStrip.left + 1 + fw + 4;
        y = m_rcToolStrip.top + 1;
    }
    DrawImagePart(pDC, m_Tool, x, y, fw, fh, frame * fw, 0);
}

void CUserInfoView::Draw(CWidgetDC* pWidgetDC)
{
    if (pWidgetDC == NULL || pWidgetDC->GetDC() == NULL)
        return;
    CDC* pDC = pWidgetDC->GetDC();
    const HDC hdc = pDC->GetSafeHdc();
    CPoint origin(0, 0);
    pWidgetDC->TranslatePoint(&origin);
    const int L = origin.x, T = origin.y, W = m_nWidth, H = m_nHeight;

    int x = L;
    if (m_PanelLeft.IsValid()) {
        m_PanelLeft.Draw(hdc, L, T);
        x += int(m_PanelLeft.GetWidth());
    }
    const int middle = W - x - int(m_PanelRight.GetWidth());
    if (m_PanelMiddle.IsValid() && middle > 0)
        m_PanelMiddle.Draw(hdc, x, T, middle, long(m_PanelMiddle.GetHeight()));
    if (m_PanelRight.IsValid())
        m_PanelRight.Draw(hdc, x + std::max(middle, 0), T);

    const CRect rcFace(L + 21, T - 12 + (H - 32) / 3, L + 21 + 32, T - 12 + (H - 32) / 3 + 32);
    CRect rcFrame = rcFace;
    if (m_FaceFrame.IsValid()) {
        const int fw = int(m_FaceFrame.GetWidth()), fh = int(m_FaceFrame.GetHeight());
        const int left = rcFace.left - (fw - 5 - 32) / 2, top = rcFace.top - (fh - 32) / 2 + 2;
        rcFrame.SetRect(left, top, left + fw, top + fh);
        m_FaceFrame.Draw(hdc, left, top, -1, -1, NULL, true);
    }
    m_rcFaceFrame = rcFrame;
    const CRect rcInfo(rcFrame.right + 25, rcFrame.top, rcFrame.right + 25 + int(m_InfoBack.GetWidth()),
                       rcFrame.top + int(m_InfoBack.GetHeight()));
    if (m_InfoBack.IsValid())
        m_InfoBack.Draw(hdc, rcInfo.left, rcInfo.top);
    if (!m_bUserDataLoaded)
        return;

    const tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    CCustomFaceManagerWnd* pFaces = g_GlobalUnits.GetCustomFaceManager();
    if (pFaces != NULL && pFaces->HasCurrentFace(pUser->dwUserID, pUser->szCustomFace))
        pFaces->DrawFaceInRect(pUser->dwUserID, pUser->szCustomFace, pDC, rcFace.left - 2, rcFace.top + 1, 32, 32);
    else if (IUserFaceRes* pFaceRes = g_GlobalUnits.m_UserFaceResHelper.GetInterface())
        pFaceRes->DrawFace(pUser->wFaceID, 0, pDC, rcFace.left - 2, rcFace.top + 2, 32, 32);

    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldColour = pDC->SetTextColor(IsVip(pUser->lLevel) ? kVipText : RGB(255, 255, 255));
    CFont* pOldFont = pDC->SelectObject(g_GlobalUnits.GetFont());
    CFont font;
    font.CreateFont(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, 0x20, "宋体");
    pDC->SelectObject(&font);

    CString text;
    const CString nickName(pUser->szNickName, int(strnlen(pUser->szNickName, sizeof(pUser->szNickName))));
    CRect rcName(rcInfo.left + 8, rcInfo.top + 6, rcInfo.right, rcInfo.top + 18);
    text.Format("昵称：%s", (LPCSTR)nickName);
    pDC->DrawText(text, &rcName, kLineFormat);
    CRect rcId(rcName.left, rcName.bottom + 8, rcName.right, rcName.bottom + 22);
    text.Format("ID：%u", unsigned(pUser->dwSecondID != 0 ? pUser->dwSecondID : pUser->dwUserID));
    pDC->DrawText(text, &rcId, kLineFormat);
    CRect rcGold(rcId.left + 85, rcId.top, rcId.right + 93, rcId.bottom);
    text.Format("金蛋：%u", unsigned(pUser->dwGoldEggs));
    pDC->DrawText(text, &rcGold, kLineFormat);

    if (m_rcSignature.IsRectEmpty()) {
        m_rcSignature.SetRect(rcFrame.left, H - 26, rcInfo.right, H - 10);
        m_rcSignature.InflateRect(2, 2);
    }
    pDC->SetTextColor(kSignatureText);
    DrawSignatureLine(pDC);

    if (m_VipBadge.IsValid()) {
        const int fw = int(m_VipBadge.GetWidth() / 4), fh = int(m_VipBadge.GetHeight());
        if (m_rcVip.IsRectEmpty())
            m_rcVip.SetRect(rcName.right - 41, rcName.top, rcName.right - 41 + fw, rcName.top + fh);
        DrawImagePart(pDC, m_VipBadge, m_rcVip.left, m_rcVip.top, fw, fh, VipFrame(pUser->lLevel) * fw, 0);
    }

    m_rcToolStrip.SetRect(-9, 65, 87, 88);
    pDC->SetTextColor(kToolText);
    DrawMessageIcon(pDC);
    pDC->TextOut(42, 70, "短消息");

    pDC->SelectObject(pOldFont);
    pDC->SetTextColor(oldColour);
    pDC->SetBkMode(oldMode);
    // The hover area of the level tip ends 40 pixels before the nickname's end.
    m_rcLevel.SetRect(rcName.right - 40, rcFrame.top + 4, rcName.right - 40 + 54, rcFrame.top + 4 + 18);
}

void CUserInfoView::ShowTip(LPCSTR pszText)
{
    CToolTipCtrl* pTip = m_pOwner != NULL ? m_pOwner->GetToolTip() : NULL;
    CWnd* pOwnerWnd = m_pOwner != NULL ? m_pOwner->GetOwnerWnd() : NULL;
    if (pTip == NULL || pTip->GetSafeHwnd() == NULL || pOwnerWnd == NULL)
        return;
    // One tool for the panel; only its text changes.
    const CRect rcPanel = GetRect();
    if (!m_bTipAdded)
        m_bTipAdded = pTip->AddTool(pOwnerWnd, pszText, &rcPanel, TOOL_TIP_ID) != FALSE;
    else {
        pTip->SetToolRect(pOwnerWnd, TOOL_TIP_ID, &rcPanel);
        pTip->UpdateTipText(pszText, pOwnerWnd, TOOL_TIP_ID);
    }
    pTip->Activate(TRUE);
}

void CUserInfoView::HideTip()
{
    CToolTipCtrl* pTip = m_pOwner != NULL ? m_pOwner->GetToolTip() : NULL;
    if (pTip != NULL && pTip->GetSafeHwnd() != NULL)
        pTip->Activate(FALSE);
}

void CUserInfoView::MouseMove(int x, int y)
{
    const CPoint point(x + m_nLeft, y + m_nTop);
    if (m_rcLevel.PtInRect(point)) {
        CString text;
        text.Format("用户等级：%d", m_nLevel);
        ShowTip(text);
    } else if (m_rcFaceFrame.PtInRect(point) || m_rcVip.PtInRect(point)) {
        ::SetCursor(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR)));
    } else {
        int tool = -1;
        if (m_rcToolStrip.PtInRect(point))
            tool = (point.x - m_rcToolStrip.left) / TOOL_CELL_WIDTH;
        if (tool >= 3)
            tool = -1;
        m_nHoveredTool = tool;
        m_nToolPressed = 0;
        if (tool >= 0) {
            static const char* const kTips[] = {"Varnok游戏会员中心", "进入游戏商城", "Varnok游戏信息中心"};
            ShowTip(tool == 2 && m_bNewMail ? "您有新邮件，请注意查看" : kTips[tool]);
            m_bToolTipOff = false;
        } else {
            HideTip();
            m_bToolTipOff = true;
        }
        Repaint();
    }
    m_bSignatureHovered = m_rcSignature.PtInRect(point) != FALSE;
    Repaint();
}

void CUserInfoView::LButtonUp(int x, int y)
{
    const CPoint point(x + m_nLeft, y + m_nTop);
    if (m_rcFaceFrame.PtInRect(point)) {
        ::SetCursor(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR)));
        if (CClientDataCenter* pDataCenter = CHallApp::GetClientDataCenter())
            pDataCenter->OpenServicePage(0, 0);
    } else if (m_rcVip.PtInRect(point)) {
        OpenUrlInBrowser(g_GlobalOption.GetVipUrl(), SW_SHOW);
    }
}

// ---- signature edit ----------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSignatureEdit, CEdit)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CSignatureEdit::CSignatureEdit(CUserInfoView* pView) : m_pView(pView) {}

CSignatureEdit::~CSignatureEdit() {}

void CSignatureEdit::OnSetFocus(CWnd* pOldWnd)
{
    ShowWindow(SW_SHOW);
    CEdit::OnSetFocus(pOldWnd);
}

void CSignatureEdit::OnKillFocus(CWnd* pNewWnd)
{
    ShowWindow(SW_HIDE);
    CString text;
    GetWindowText(text);
    if (m_pView != NULL)
        m_pView->CommitSignature(text);
    CEdit::OnKillFocus(pNewWnd);
}
