#include "InformationBox.h"

#include "GameRoom.h"
#include "GlobalUnits.h"
#include "IniFile.h"

CInformationBox::CInformationBox(CWnd* pOwner)
    : m_nHideDelay(0), m_nRotatePeriod(0), m_bCloseHover(false), m_nX(0), m_nY(0), m_nWidth(0), m_nHeight(0),
      m_bVisible(false), m_nCurrent(0), m_pOwner(pOwner)
{
    m_rcClose.SetRectEmpty();
}

CInformationBox::~CInformationBox() {}

void CInformationBox::LoadInformationBox(const CGameRoom* pGameRoom)
{
    // A room entered again must not show its notices twice nor keep the
    // timers of the last configuration.
    m_Notices.RemoveAll();
    m_nCurrent = 0;
    m_bVisible = false;
    m_bCloseHover = false;
    if (m_pOwner != NULL && m_pOwner->GetSafeHwnd() != NULL) {
        m_pOwner->KillTimer(IDI_INFORMATION_HIDE);
        m_pOwner->KillTimer(IDI_INFORMATION_ROTATE);
    }

    CString folder;
    folder.Format("%sgameroom\\InformationBox\\", g_GlobalUnits.GetResourceDirectory());
    m_PicLeft.Load(folder + "Msgbox_backgroundl.png");
    m_PicMiddle.Load(folder + "Msgbox_backgroundm.png");
    m_PicRight.Load(folder + "Msgbox_backgroundr.png");
    m_PicIcon.Load(folder + "MsgIco.png");
    m_PicClose.Load(folder + "delete_normal.PNG");
    m_PicCloseHover.Load(folder + "delete_hover.PNG");

    CString file;
    file.Format("%sconfig\\dynamic\\DynaItemCfg.ini", g_GlobalUnits.GetWorkDirectory());
    CIniFile ini(file);
    m_nHideDelay = UINT(ini.GetInt("InformationBox", "DeleteTime", 0));
    m_nRotatePeriod = UINT(ini.GetInt("InformationBox", "ChangeMsgTime", 0));
    LoadNotices(pGameRoom);

    if (m_Notices.GetSize() > 0)
        m_bVisible = true;
    if (m_pOwner != NULL && m_pOwner->GetSafeHwnd() != NULL) {
        if (m_nHideDelay != 0)
            m_pOwner->SetTimer(IDI_INFORMATION_HIDE, m_nHideDelay, NULL);
        if (m_nRotatePeriod != 0)
            m_pOwner->SetTimer(IDI_INFORMATION_ROTATE, m_nRotatePeriod, NULL);
    }
}

void CInformationBox::LoadNotices(const CGameRoom* pGameRoom)
{
    if (pGameRoom == NULL)
        return;
    CString file;
    file.Format("%sconfig\\dynamic\\DynaItemCfg.ini", g_GlobalUnits.GetWorkDirectory());
    CIniFile ini(file);
    CString section;
    section.Format("Game%lu", (unsigned long)pGameRoom->GetGameId());
    CString key, notice;
    for (int n = 1;; ++n) {
        key.Format("room%lumsg%d", (unsigned long)pGameRoom->GetId(), n);
        if (ini.GetString(section, key, notice, "") == 0 || notice.IsEmpty())
            break;
        m_Notices.Add(notice);
    }
}

CString CInformationBox::GetCurrentNotice() const
{
    return m_nCurrent < UINT(m_Notices.GetSize()) ? m_Notices[m_nCurrent] : CString();
}

void CInformationBox::SetBoxRect(int x, int y, int nWidth, int nHeight)
{
    if (!m_bVisible)
        return;
    m_nX = x;
    m_nY = y;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    if (m_PicClose.IsValid()) {
        int cx = int(m_PicClose.GetWidth());
        int cy = int(m_PicClose.GetHeight());
        m_rcClose.left = x + nWidth - cx - 10;
        m_rcClose.top = y + (nHeight - cy) / 2;
        m_rcClose.right = m_rcClose.left + cx;
        m_rcClose.bottom = m_rcClose.top + cy;
    }
}

void CInformationBox::DrawInformationBox(CDC* pDC)
{
    if (!m_bVisible || pDC == NULL)
        return;
    HDC hDC = pDC->GetSafeHdc();
    int x = m_nX;
    int leftWidth = m_PicLeft.IsValid() ? int(m_PicLeft.GetWidth()) : 0;
    int rightWidth = m_PicRight.IsValid() ? int(m_PicRight.GetWidth()) : 0;
    if (m_PicLeft.IsValid())
        m_PicLeft.Draw(hDC, x, m_nY);
    x += leftWidth;
    int middleWidth = m_nWidth - leftWidth - rightWidth;
    if (m_PicMiddle.IsValid() && middleWidth > 0 && m_nHeight > 0)
        m_PicMiddle.Draw(hDC, x, m_nY, middleWidth, m_nHeight);
    if (m_PicRight.IsValid())
        m_PicRight.Draw(hDC, m_nX + m_nWidth - rightWidth, m_nY);
    CPicture& close = m_bCloseHover ? m_PicCloseHover : m_PicClose;
    if (close.IsValid())
        close.Draw(hDC, m_rcClose.left, m_rcClose.top);
    int iconHeight = m_PicIcon.IsValid() ? int(m_PicIcon.GetHeight()) : 0;
    int iconWidth = m_PicIcon.IsValid() ? int(m_PicIcon.GetWidth()) : 0;
    if (m_PicIcon.IsValid())
        m_PicIcon.Draw(hDC, m_nX + 7, m_nY + (m_nHeight - iconHeight) / 2);

    CFont* pFont = g_GlobalUnits.GetFont();
    CFont* pOldFont = pFont->GetSafeHandle() != NULL ? pDC->SelectObject(pFont) : NULL;
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF oldColour = pDC->SetTextColor(RGB(255, 0, 0));
    pDC->TextOut(m_nX + iconWidth + 15, m_nY + (m_nHeight - iconHeight) / 2 + 2, GetCurrentNotice());
    pDC->SetTextColor(oldColour);
    pDC->SetBkMode(oldMode);
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
}

bool CInformationBox::HitTest(int x, int y) const
{
    return m_bVisible && x >= m_nX && x < m_nX + m_nWidth && y >= m_nY && y < m_nY + m_nHeight;
}

void CInformationBox::RepaintBox(const CRect* pPart)
{
    if (m_pOwner == NULL || m_pOwner->GetSafeHwnd() == NULL)
        return;
    CRect rect = GetBoxRect();
    if (pPart != NULL) {
        rect = *pPart;
        rect.OffsetRect(m_nX, m_nY);
    }
    m_pOwner->InvalidateRect(&rect, TRUE);
}

void CInformationBox::OnTimer(UINT_PTR nIDEvent)
{
    if (!m_bVisible)
        return;
    if (nIDEvent == IDI_INFORMATION_HIDE) {
        if (m_pOwner != NULL && m_pOwner->GetSafeHwnd() != NULL)
            m_pOwner->KillTimer(IDI_INFORMATION_HIDE);
        m_bVisible = false;
        RepaintBox();
    } else if (nIDEvent == IDI_INFORMATION_ROTATE) {
        if (++m_nCurrent >= UINT(m_Notices.GetSize()))
            m_nCurrent = 0;
        RepaintBox();
    }
}

void CInformationBox::OnLButtonUp(int x, int y)
{
    if (!m_bVisible || !m_rcClose.PtInRect(CPoint(x, y)))
        return;
    m_bCloseHover = false;
    m_bVisible = false;
    RepaintBox();
}

void CInformationBox::OnMouseMove(int x, int y)
{
    if (!m_bVisible)
        return;
    bool inside = m_rcClose.PtInRect(CPoint(x, y)) != FALSE;
    if (inside == m_bCloseHover)
        return;
    m_bCloseHover = inside;
    RepaintBox();
}
