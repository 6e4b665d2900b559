#include "ItemShopView.h"

#include <WidgetDC.h>

#include "ShopItemFrame.h"

CItemShopView::CItemShopView(CShopItemFrame* pFrame)
    : m_btBuy(1003, this), m_dwPrice(0), m_dwValue(0), m_pItem(NULL), m_nIndex(0), m_bOwnedMode(false), m_pBack(NULL),
      m_pImage(NULL), m_pFrame(pFrame)
{}

CItemShopView::~CItemShopView()
{
    RemoveAllWidgets(false, false);
}

bool CItemShopView::InitItemView(int nIndex, CItemCfg* pItem, CPicture* pBack, bool bOwnedMode)
{
    m_nIndex = nIndex;
    m_pItem = pItem;
    m_pBack = pBack;
    m_bOwnedMode = bOwnedMode;
    m_dwPrice = pItem != NULL ? pItem->GetPrice() : 0;
    m_dwValue = pItem != NULL && pItem->GetValue() != 0 ? pItem->GetValue() : m_dwPrice;
    if (pBack != NULL && pBack->IsValid())
        Resize(Left(), Top(), (int)pBack->GetWidth(), (int)pBack->GetHeight());
    if (!HasWidget(&m_btBuy))
        AddWidget(&m_btBuy);
    m_btBuy.Move(23, 119);
    return true;
}

CRect CItemShopView::GetPictureRect() const
{
    return CRect(CPoint(Left() + kPictureX, Top() + kPictureY), CSize(kPictureSize, kPictureSize));
}

const tagImageCfg* CItemShopView::GetImage()
{
    if (m_pImage == NULL && m_pItem != NULL && m_pFrame != NULL)
        m_pImage = m_pFrame->FindImage(m_pItem->GetImageId());
    return m_pImage;
}

void CItemShopView::Draw(CWidgetDC* pDC)
{
    if (m_pItem == NULL || pDC == NULL || pDC->GetDC() == NULL || m_pBack == NULL || !m_pBack->IsValid())
        return;
    CDC* pCDC = pDC->GetDC();
    CPoint origin(0, 0);
    pDC->TranslatePoint(&origin);
    m_pBack->Draw(pCDC->GetSafeHdc(), origin.x, origin.y);
    const tagImageCfg* pImage = GetImage();
    if (pImage != NULL && pImage->Picture.IsValid()) {
        // Centred in the 95 x 65 area whose box starts at the picture spot.
        int cx = (int)pImage->Picture.GetWidth(), cy = (int)pImage->Picture.GetHeight();
        int x = origin.x + kPictureX + (kPictureSize - cx) / 2;
        int y = origin.y + kPictureY + (kPictureSize - cy) / 2;
        pImage->Picture.Draw(pCDC->GetSafeHdc(), x, y);
    }
    CFont font;
    font.CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    CFont* pOld = pCDC->SelectObject(&font);
    int nOldMode = pCDC->SetBkMode(TRANSPARENT);
    COLORREF crOld = pCDC->SetTextColor(RGB(88, 231, 255));
    const UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS | DT_NOPREFIX;
    CString name = m_pItem->GetName();
    CRect rcName(origin.x + 12, origin.y + 79, origin.x + 105, origin.y + 95);
    pCDC->DrawText(name, &rcName, nFormat);
    CString price;
    price.Format("价格：%u", (unsigned)m_dwPrice);
    CRect rcPrice(origin.x + 12, origin.y + 100, origin.x + 105, origin.y + 116);
    pCDC->DrawText(price, &rcPrice, nFormat);
    pCDC->SetTextColor(crOld);
    pCDC->SetBkMode(nOldMode);
    pCDC->SelectObject(pOld);
}

void CItemShopView::MouseEnter()
{
    CWidget::MouseEnter();
    if (m_pFrame != NULL)
        m_pFrame->SetHoverIndex(m_nIndex);
}

void CItemShopView::MouseLeave()
{
    CWidget::MouseLeave();
    if (m_pFrame != NULL)
        m_pFrame->SetHoverIndex(-1);
}

void CItemShopView::ButtonClick(int nID)
{
    if (nID == 1003 && m_pItem != NULL && m_pFrame != NULL)
        m_pFrame->OpenBuyDialog(m_pItem, GetImage());
}
