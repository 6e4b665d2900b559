#include "RichEditWnd.h"

#include <richedit.h>

#include "GlobalUnits.h"
#include "ItemCfg.h"
#include "ItemShop.h"
#include "RoomViewItem.h"
#include "SkinBar.h"

namespace
{
CString GameControlFile(LPCSTR pszName)
{
    CString strFile;
    strFile.Format("%sGameRoom\\GameControl\\%s", g_GlobalUnits.GetResourceDirectory(), pszName);
    return strFile;
}
} // namespace

int (*CRichEditWnd::s_pOpenUrl)(LPCSTR, int) = OpenUrlInBrowser;

BEGIN_MESSAGE_MAP(CRichEditWnd, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_NOTIFY(EN_LINK, IDC_CHAT_DISPLAY, OnLinkNotify)
    ON_NOTIFY(EN_PROTECTED, IDC_CHAT_DISPLAY, OnProtectedNotify)
    ON_MESSAGE(WM_MYITEM_USE, OnItemBarUse)
END_MESSAGE_MAP()

CRichEditWnd::CRichEditWnd() : m_pView(NULL), m_rcDisplay(0, 0, 0, 0), m_hScrollBar(NULL) {}

CRichEditWnd::~CRichEditWnd()
{
    if (m_hScrollBar != NULL)
        ::DeleteObject(m_hScrollBar);
}

bool CRichEditWnd::IsWebAddress(LPCSTR pszUrl)
{
    if (pszUrl == NULL)
        return false;
    return _strnicmp(pszUrl, "http://", 7) == 0 || _strnicmp(pszUrl, "https://", 8) == 0;
}

int CRichEditWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    const int cx = lpCreateStruct->cx, cy = lpCreateStruct->cy;
    m_rcDisplay.SetRect(6, 76, 247, cy - 4);
    AfxInitRichEdit2();
    m_ChatDisplay.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_READONLY | ES_MULTILINE | ES_NOHIDESEL |
                             ES_WANTRETURN | ES_AUTOVSCROLL,
                         CRect(6, 76, 289, cy - 4), this, IDC_CHAT_DISPLAY);
    m_ChatDisplay.SetEventMask(ENM_LINK | ENM_PROTECTED | ENM_MOUSEEVENTS);
    m_ChatDisplay.SetBackgroundColor(FALSE, kDisplayBack);
    m_ChatDisplay.SetFont(g_GlobalUnits.GetFont());
    m_ImageFrameV.SetLoadInfo(GameControlFile("richbackv.bmp"));
    m_ImageFrameH.SetLoadInfo(GameControlFile("richbackh.bmp"));
    m_ItemLeft.Load(GameControlFile("propl.bmp"));
    m_ItemMid.Load(GameControlFile("propm.bmp"));
    m_ItemRight.Load(GameControlFile("propr.bmp"));
    m_ItemCenter.Load(GameControlFile("propcenter.bmp"));
    m_ItemNext.Load(GameControlFile("propnext.png"));
    m_ItemPrev.Load(GameControlFile("propprev.png"));

    CString strScroll;
    strScroll.Format("%sCommon\\scrollbar\\scrollbar.bmp", g_GlobalUnits.GetResourceDirectory());
    m_hScrollBar = (HBITMAP)::LoadImageA(NULL, strScroll, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (m_hScrollBar == NULL)
        return 0;
    SkinBar_Attach(m_ChatDisplay.GetSafeHwnd(), m_hScrollBar);
    // The owned items and their pictures are the hall's one shop's.
    CItemShop* pShop = GetItemShop();
    CImageCfgArray* pImages = const_cast<CImageCfgArray*>(&pShop->GetCatalogue().GetImages());
    m_ItemBar.InitItemBar(pShop->GetItemShopManager(), &m_ItemNext, &m_ItemPrev, NULL, &m_ItemLeft, &m_ItemMid,
                          &m_ItemRight, &m_ItemCenter, pImages, false);
    m_ItemBar.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(4, 3, cx - 5, 70), this, IDC_ITEM_BAR);
    AddAnchor(m_ItemBar.GetSafeHwnd(), ANCHOR_TOPLEFT, ANCHOR_TOPRIGHT);
    AddAnchor(m_ChatDisplay.GetSafeHwnd(), ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
    return 0;
}

void CRichEditWnd::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    ApplyLayout();
    if (m_ChatDisplay.GetSafeHwnd() != NULL) {
        m_ChatDisplay.GetWindowRect(&m_rcDisplay);
        ScreenToClient(&m_rcDisplay);
    }
    if (m_ItemBar.GetSafeHwnd() != NULL)
        m_ItemBar.SetSlotCount(SlotCountForWidth(cx));
}

void CRichEditWnd::DrawSkinView(CDC* pDC, int cx, int cy)
{
    pDC->FillSolidRect(0, 0, cx, cy, kPaneFill);
    CRect rcFrame(m_rcDisplay);
    rcFrame.InflateRect(1, 1);
    HDC hDC = pDC->GetSafeHdc();
    if (m_ImageFrameV.LoadImage()) {
        m_ImageFrameV.StretchBlt(hDC, CRect(rcFrame.left, rcFrame.top, rcFrame.left + 1, rcFrame.bottom));
        m_ImageFrameV.StretchBlt(hDC, CRect(rcFrame.right - 1, rcFrame.top, rcFrame.right, rcFrame.bottom));
    }
    if (m_ImageFrameH.LoadImage()) {
        m_ImageFrameH.StretchBlt(hDC, CRect(rcFrame.left, rcFrame.top, rcFrame.right, rcFrame.top + 1));
        m_ImageFrameH.StretchBlt(hDC, CRect(rcFrame.left, rcFrame.bottom - 1, rcFrame.right, rcFrame.bottom));
    }
}

void CRichEditWnd::OnLinkNotify(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const ENLINK* pLink = reinterpret_cast<const ENLINK*>(pNMHDR);
    if (pLink->msg != WM_LBUTTONUP || m_pView == NULL || m_pView->GetMessageProxy() == NULL)
        return;
    tagMessageItem item;
    memset(&item, 0, sizeof(item));
    if (!m_pView->GetMessageProxy()->FindLinkItem((int)pLink->chrg.cpMin, &item))
        return;
    item.szData[sizeof(item.szData) - 1] = '\0';
    if (IsWebAddress(item.szData) && s_pOpenUrl != NULL)
        s_pOpenUrl(item.szData, SW_SHOWNORMAL);
}

void CRichEditWnd::OnProtectedNotify(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
}

LRESULT CRichEditWnd::OnItemBarUse(WPARAM wParam, LPARAM)
{
    CItemCfg* pItem = reinterpret_cast<CItemCfg*>(wParam);
    if (pItem == NULL)
        return 0;
    if (pItem->IsQuantityItem() && m_pView != NULL)
        m_pView->UseOwnedItem(pItem->GetItemId());
    return 1;
}
