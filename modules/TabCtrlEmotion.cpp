#include "TabCtrlEmotion.h"

#include <XTVBufferDC.h>

BEGIN_MESSAGE_MAP(CTabCtrlEmotion, CTabCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTabCtrlEmotion::CTabCtrlEmotion() {}

CTabCtrlEmotion::~CTabCtrlEmotion() {}

void CTabCtrlEmotion::LoadPictures(const char* tabStrip, const char* background)
{
    m_Selected.Destroy();
    m_Other.Destroy();
    m_Background.Destroy();
    CPicture strip;
    if (tabStrip != NULL && strip.Load(tabStrip) && strip.GetWidth() >= 2) {
        long half = long(strip.GetWidth() / 2);
        strip.Crop(CRect(0, 0, half, long(strip.GetHeight())), &m_Selected);
        strip.Crop(CRect(half, 0, half * 2, long(strip.GetHeight())), &m_Other);
    }
    if (background != NULL)
        m_Background.Load(background);
}

BOOL CTabCtrlEmotion::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTabCtrlEmotion::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CXTVBufferDC dc(&paint, client);
    if (m_Background.IsValid())
        m_Background.Draw(dc.GetSafeHdc(), 0, 0, client.Width(), client.Height());

    // "宋体" may be missing; the system then picks a font of the same charset.
    CFont font;
    font.CreateFont(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "宋体");
    CFont* oldFont = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(41, 55, 58));
    int selected = GetCurSel();
    for (int i = 0; i < GetItemCount(); ++i) {
        CRect item;
        if (!GetItemRect(i, &item))
            continue;
        const CPicture& tab = i == selected ? m_Selected : m_Other;
        if (tab.IsValid())
            tab.Draw(dc.GetSafeHdc(), item.left, item.top, item.Width(), item.Height());
        char text[64] = "";
        TCITEM info = {};
        info.mask = TCIF_TEXT;
        info.pszText = text;
        info.cchTextMax = sizeof(text);
        if (GetItem(i, &info))
            dc.DrawText(text, -1, &item, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc.SelectObject(oldFont);
}
