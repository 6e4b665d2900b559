#include "ShopItemFrame.h"

#include <WidgetDC.h>

#include "BuyDlg.h"
#include "ShopPageButtons.h"

namespace
{
const int kTilesPerPage = 6;
const UINT_PTR kCardTimer = 1;
const int kCardWidth = 152;
} // namespace

UINT CShopItemFrame::s_nCardDelay = 300;

BEGIN_MESSAGE_MAP(CShopItemFrame, CWidgetFoundationWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CShopItemFrame::CShopItemFrame()
    : m_pManager(NULL), m_nItemCount(0), m_pBar(NULL), m_nPageCount(0), m_nCurrentPage(0), m_pImages(NULL),
      m_nHoverIndex(-1), m_pNext(NULL), m_pPrev(NULL), m_pTileBack(NULL), m_pBuy(NULL), m_pBackground(NULL),
      m_btNext(1001, this), m_btPrev(1002, this), m_nCardTextHeight(0)
{}

CShopItemFrame::~CShopItemFrame()
{
    RemoveAllTiles();
    m_WidgetManager.RemoveAllWidgets(false, false);
}

bool CShopItemFrame::InitItemFrame(CItemShopManager* pManager, CPicture* pBackground, CPicture* pTileBack,
                                   CPicture* pNext, CPicture* pPrev, CPicture* pBuy, CImageCfgArray* pImages)
{
    m_pManager = pManager;
    m_pBackground = pBackground;
    m_pTileBack = pTileBack;
    m_pNext = pNext;
    m_pPrev = pPrev;
    m_pBuy = pBuy;
    m_pImages = pImages;
    AttachPageButtons(m_WidgetManager, m_btNext, m_btPrev, pNext, pPrev);

    RemoveAllTiles();
    m_nCurrentPage = 0;
    m_pBar = pManager != NULL ? pManager->GetCategoryList(SHOP_PAGE_CATEGORY) : NULL;
    if (m_pBar == NULL || pTileBack == NULL || !pTileBack->IsValid()) {
        m_nItemCount = 0;
        m_nPageCount = 0;
        return false;
    }
    m_nItemCount = (int)m_pBar->Items.GetSize();
    m_nPageCount = (m_nItemCount + kTilesPerPage - 1) / kTilesPerPage;
    m_btNext.SetDisabled(m_nPageCount <= 1);
    for (int i = 0; i < m_nItemCount; i++) {
        CItemCfg* pItem = m_pBar->Items[i];
        if (pItem == NULL)
            break;
        CItemShopView* pTile = new CItemShopView(this);
        pTile->InitItemView(i, pItem, pTileBack, false);
        pTile->GetBuyButton().SetImageBack(pBuy);
        m_Tiles.Add(pTile);
        m_WidgetManager.AddWidget(pTile);
        pTile->SetVisible(i < kTilesPerPage);
    }
    if (m_hWnd != NULL) {
        CRect rc;
        GetClientRect(&rc);
        OnSize(0, rc.Width(), rc.Height());
        Invalidate();
    }
    return true;
}

void CShopItemFrame::RemoveAllTiles()
{
    CloseCard();
    m_nHoverIndex = -1;
    for (INT_PTR i = 0; i < m_Tiles.GetSize(); i++) {
        m_WidgetManager.RemoveWidget(m_Tiles[i]);
        delete m_Tiles[i];
    }
    m_Tiles.RemoveAll();
}

const tagImageCfg* CShopItemFrame::FindImage(DWORD dwImageId) const
{
    if (m_pImages == NULL)
        return NULL;
    for (INT_PTR i = 0; i < m_pImages->GetSize(); i++) {
        if (m_pImages->GetAt(i).dwImageId == dwImageId)
            return &m_pImages->GetAt(i);
    }
    return NULL;
}

void CShopItemFrame::OpenBuyDialog(CItemCfg* pItem, const tagImageCfg* pImage)
{
    CloseCard();
    CBuyDlg dlg;
    dlg.SetItem(pImage != NULL ? &pImage->Picture : NULL, pItem, false);
    dlg.SetUseMode(0);
    dlg.DoModal();
}

void CShopItemFrame::OnSize(UINT nType, int cx, int cy)
{
    for (INT_PTR i = 0; i < m_Tiles.GetSize(); i++) {
        CItemShopView* pTile = m_Tiles[i];
        int s = (int)(i % kTilesPerPage);
        int x = (pTile->Width() + 10) * (s % 3) + 5;
        int y = (pTile->Height() + 10) * (s / 3) + 5;
        pTile->Move(x, y);
    }
    int nButtonY = cy - m_btPrev.GetHeight() - 10;
    m_btPrev.Move(123, nButtonY);
    m_btNext.Move(123 + m_btPrev.GetWidth() + 9, cy - m_btNext.GetHeight() - 10);
}

void CShopItemFrame::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rc;
    GetClientRect(&rc);
    CDC dcMem;
    dcMem.CreateCompatibleDC(&dcPaint);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dcPaint, rc.Width() > 0 ? rc.Width() : 1, rc.Height() > 0 ? rc.Height() : 1);
    CBitmap* pOld = dcMem.SelectObject(&bitmap);
    dcMem.FillSolidRect(&rc, RGB(255, 255, 255));
    if (m_pBackground != NULL && m_pBackground->IsValid())
        m_pBackground->Draw(dcMem.GetSafeHdc(), 0, 0);
    CWidgetDC dc(&dcMem, rc);
    m_WidgetManager.DrawWidgetsTo(&dc);
    dcPaint.BitBlt(0, 0, rc.Width(), rc.Height(), &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
}

void CShopItemFrame::ShowPageTiles(int nPage, bool bShow)
{
    for (int i = nPage * kTilesPerPage; i < (nPage + 1) * kTilesPerPage && i < m_Tiles.GetSize(); i++)
        m_Tiles[i]->SetVisible(bShow);
}

void CShopItemFrame::ButtonClick(int nID)
{
    if (nID == 1001 && m_nCurrentPage + 1 < m_nPageCount) {
        ShowPageTiles(m_nCurrentPage, false);
        m_nCurrentPage++;
        ShowPageTiles(m_nCurrentPage, true);
        m_btNext.SetDisabled(m_nPageCount - m_nCurrentPage == 1);
        m_btPrev.SetDisabled(false);
    } else if (nID == 1002 && m_nCurrentPage > 0) {
        m_nCurrentPage--;
        ShowPageTiles(m_nCurrentPage, true);
        ShowPageTiles(m_nCurrentPage + 1, false);
        m_btPrev.SetDisabled(m_nCurrentPage == 0);
        m_btNext.SetDisabled(false);
    } else {
        return;
    }
    CloseCard();
    m_nHoverIndex = -1;
    if (m_hWnd != NULL)
        Invalidate();
}

void CShopItemFrame::OnMouseMove(UINT nFlags, CPoint point)
{
    int nHover = m_nHoverIndex;
    if (nHover >= (int)m_Tiles.GetSize())
        nHover = (int)m_Tiles.GetSize() - 1;
    if (nHover < 0) {
        CloseCard();
        return;
    }
    if (m_Tiles[nHover]->GetPictureRect().PtInRect(point)) {
        if (m_Card.GetSafeHwnd() == NULL) {
            m_ptHover = point;
            SetTimer(kCardTimer, s_nCardDelay, NULL);
        }
    } else {
        KillTimer(kCardTimer);
        CloseCard();
    }
}

void CShopItemFrame::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kCardTimer)
        return;
    KillTimer(kCardTimer);
    if (m_nHoverIndex < 0 || m_nHoverIndex >= (int)m_Tiles.GetSize() || m_Card.GetSafeHwnd() != NULL)
        return;
    OpenCard();
}

CRect CShopItemFrame::PlaceCard(const CRect& rcClient, CPoint point, int nCardHeight)
{
    CRect rc(point.x + 10, point.y + 10, point.x + 10 + kCardWidth, point.y + 10 + nCardHeight);
    CRect rcFit(rcClient.left, rcClient.top, rcClient.right - rc.Width(), rcClient.bottom - rc.Height());
    if (!rcFit.PtInRect(rc.TopLeft())) {
        int dx = rcClient.right - rc.right < 1 ? -167 : 5;
        int dy = rcClient.bottom - rc.bottom < 1 ? -(nCardHeight + 15) : 5;
        rc.OffsetRect(dx, dy);
    }
    return rc;
}

void CShopItemFrame::OpenCard()
{
    CItemCfg* pItem = m_Tiles[m_nHoverIndex]->GetItem();
    if (!m_Card.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 1, 1),
                         this, 0))
        return;
    m_Card.SetDescription(pItem != NULL ? (LPCSTR)pItem->GetDescription() : "");
    {
        CClientDC dc(&m_Card);
        m_nCardTextHeight = m_Card.MeasureTextHeight(&dc);
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rc = PlaceCard(rcClient, m_ptHover, m_nCardTextHeight + 25);
    m_Card.MoveWindow(&rc);
    m_Card.ShowWindow(SW_SHOW);
}

void CShopItemFrame::CloseCard()
{
    if (m_Card.GetSafeHwnd() != NULL)
        m_Card.DestroyWindow();
}
