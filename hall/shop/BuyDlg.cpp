#include "BuyDlg.h"

#include <time.h>

#include <SkinMessageBox.h>

#include "ClientDataCenter.h"
#include "HallWindows.h"
#include "ItemShop.h"
#include "resource.h"

std::function<LONGLONG()> CBuyDlg::s_Now = [] { return (LONGLONG)::time(NULL); };

BEGIN_MESSAGE_MAP(CBuyDlg, CRgnDialog)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_COMMAND(1004, OnBuyOrUse)
    ON_COMMAND(1006, OnBuyOrUse)
    ON_COMMAND(1005, OnCancelButton)
END_MESSAGE_MAP()

CBuyDlg::CBuyDlg()
    : CRgnDialog(IDD_BUY_ITEM, NULL), m_cbUseMode(0), m_cbShowOwned(0), m_nOwnCount(0), m_llExpiry(0),
      m_cbCountKnown(1), m_pPicture(NULL), m_pItem(NULL), m_bDone(false)
{}

CBuyDlg::~CBuyDlg() {}

void CBuyDlg::SetItem(const CPicture* pPicture, CItemCfg* pItem, bool bShowOwned)
{
    m_pPicture = pPicture;
    m_pItem = pItem;
    m_cbShowOwned = bShowOwned ? 1 : 0;
}

void CBuyDlg::SetOwnCount(int nCount)
{
    if (!m_cbShowOwned)
        return;
    m_nOwnCount = nCount;
    m_cbCountKnown = 1;
}

void CBuyDlg::SetExpiry(LONGLONG llExpiry)
{
    if (!m_cbShowOwned)
        return;
    m_llExpiry = llExpiry;
    m_cbCountKnown = 0;
}

int CBuyDlg::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CRgnDialog::OnCreate(lpCreateStruct) == -1)
        return -1;
    const DWORD dwStyle = WS_CHILD | BS_PUSHBUTTON;
    m_btBuy.Create("购  买", dwStyle, CRect(), this, 1004);
    m_btCancel.Create("取  消", dwStyle | WS_VISIBLE, CRect(), this, 1005);
    m_btUse.Create("使  用", dwStyle, CRect(), this, 1006);
    (m_cbUseMode ? m_btUse : m_btBuy).ShowWindow(SW_SHOW);

    CString folder = CItemShop::GetSkinFolder();
    static const char* const kFrame[] = {"itemshoptl.bmp", "itemshoptm.bmp", "itemshoptr.bmp", "itemshopl.bmp",
                                         "itemshopr.bmp",  "itemshopbl.bmp", "itemshopbm.bmp", "itemshopbr.bmp",
                                         "itemshopbk.bmp", "Close.bmp"};
    for (int i = 0; i < SKIN_IMAGE_COUNT; i++)
        GetSkinImage(i)->SetLoadInfo(folder + kFrame[i]);
    m_btBuy.SetButtonImage(folder + "confirmation.png");
    m_btCancel.SetButtonImage(folder + "confirmation.png");
    m_btUse.SetButtonImage(folder + "confirmation.png");
    m_ItemBack.Load(folder + "itemback.bmp");
    RGBQUAD magenta = {255, 0, 255, 0};
    m_ItemBack.SetTransColor(magenta);
    return 0;
}

BOOL CBuyDlg::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    CRect rc;
    GetWindowRect(&rc);
    CPoint centre = rc.CenterPoint();
    MoveWindow(centre.x - 274 / 2, centre.y - 254 / 2, 274, 254);
    return TRUE;
}

void CBuyDlg::OnSize(UINT nType, int cx, int cy)
{
    CRgnDialog::OnSize(nType, cx, cy);
    if (m_btBuy.GetSafeHwnd() == NULL)
        return;
    CRect rcButton;
    m_btBuy.GetWindowRect(&rcButton);
    int w = rcButton.Width(), h = rcButton.Height();
    CRect rc(99, cy - 20 - h, 99 + w, cy - 20);
    m_btBuy.MoveWindow(&rc);
    m_btUse.MoveWindow(&rc);
    rc.OffsetRect(w + 30, 0);
    m_btCancel.MoveWindow(&rc);
}

void CBuyDlg::DrawSkinCaption(CDC* pDC)
{
    DrawCard(pDC);
}

CString CBuyDlg::GetOwnedRow() const
{
    CString row;
    if (!m_cbShowOwned)
        return row;
    if (m_cbCountKnown) {
        if (m_nOwnCount == 0)
            row.Format("现有数量：%d(已使用完)", m_nOwnCount);
        else if (m_nOwnCount > 0)
            row.Format("现有数量：%d", m_nOwnCount);
        return row;
    }
    time_t expiry = (time_t)m_llExpiry;
    const struct tm* pLocal = ::localtime(&expiry);
    if (pLocal == NULL)
        return row;
    const struct tm local = *pLocal;
    if (m_llExpiry >= s_Now())
        row.Format("期    限：%d.%d.%d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    else
        row.Format("期    限：%d.%d.%d(已过期)", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return row;
}

void CBuyDlg::DrawCard(CDC* pDC)
{
    const int nBackX = 15, nBackY = 37;
    int nBackW = 0;
    if (m_ItemBack.IsValid()) {
        m_ItemBack.Draw(pDC->GetSafeHdc(), nBackX, nBackY);
        nBackW = (int)m_ItemBack.GetWidth();
        if (m_pPicture != NULL && m_pPicture->IsValid()) {
            int x = nBackX + (nBackW - (int)m_pPicture->GetWidth()) / 2;
            int y = nBackY + ((int)m_ItemBack.GetHeight() - (int)m_pPicture->GetHeight()) / 2;
            m_pPicture->Draw(pDC->GetSafeHdc(), x, y);
        }
    }
    if (m_pItem == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CFont font;
    font.CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    CFont* pOld = pDC->SelectObject(&font);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF crOld = pDC->SetTextColor(RGB(45, 45, 45));
    const int nRow = 17;
    CRect rcRow(nBackX + nBackW + 10, nBackY + 4, rcClient.right - 25, nBackY + 4 + nRow);
    const UINT nFormat = DT_NOPREFIX | DT_END_ELLIPSIS | DT_SINGLELINE;
    CString text;
    text.Format("道具名称：%s", (LPCSTR)m_pItem->GetName());
    pDC->DrawText(text, &rcRow, nFormat);
    rcRow.OffsetRect(0, nRow);
    text.Format("价    格：%u", (unsigned)m_pItem->GetPrice());
    pDC->DrawText(text, &rcRow, nFormat);
    if (m_cbShowOwned) {
        rcRow.OffsetRect(0, nRow);
        pDC->DrawText(GetOwnedRow(), &rcRow, nFormat);
    }
    CRect rcText(rcRow.left, rcRow.bottom + 5, rcRow.right, rcRow.bottom + 5 + 5 * nRow);
    text.Format("道具说明：%s", (LPCSTR)m_pItem->GetDescription());
    pDC->DrawText(text, &rcText, DT_NOPREFIX | DT_END_ELLIPSIS | DT_WORDBREAK);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOld);
}

void CBuyDlg::OnBuyOrUse()
{
    OnOK();
}

void CBuyDlg::OnCancelButton()
{
    OnCancel();
}

void CBuyDlg::OnCancel()
{
    m_bDone = true;
    EndDialog(IDCANCEL);
}

void CBuyDlg::OnOK()
{
    if (m_bDone || m_pItem == NULL)
        return;
    CItemShop* pShop = GetItemShop();
    CClientDataCenter* pDataCenter = pShop->GetDataCenter();
    HALLMSGBOXPARAMS params;
    pShop->GetMessageBoxSkin(params);
    if (pDataCenter == NULL || !pDataCenter->IsConnected()) {
        strcpy(params.szCaptions[SKINMB_CAPTION_OK], "确  定");
        SkinMessageBox(m_hWnd, "大厅连接断开，请重新连接！", "", MB_OK, &params);
        m_bDone = true;
        EndDialog(IDCANCEL);
        return;
    }
    if (!m_cbUseMode) {
        m_bDone = true;
        if (pDataCenter->BuyItem(m_pItem->GetItemId(), 1)) {
            EndDialog(IDOK);
            return;
        }
        // Nothing was sent (a guest account): no answer will come.
        strcpy(params.szCaptions[SKINMB_CAPTION_OK], "确  定");
        SkinMessageBox(m_hWnd, "游客不能购买道具，请注册后再购买！", "", MB_OK, &params);
        EndDialog(IDCANCEL);
        return;
    }
    CItemShopManager* pManager = pShop->GetItemShopManager();
    if (pManager == NULL)
        return;
    if (pManager->GetOwnItemCount(m_pItem->GetItemId()) != 0) {
        m_bDone = true;
        EndDialog(IDOK);
        return;
    }
    strcpy(params.szCaptions[SKINMB_CAPTION_YES], "是");
    strcpy(params.szCaptions[SKINMB_CAPTION_NO], "否");
    if (SkinMessageBox(m_hWnd, "您没有该道具是否到商城购买？", "", MB_YESNO, &params) != IDYES)
        return;
    m_bDone = true;
    EndDialog(IDCANCEL);
    if (IHallFrameWnd* pFrame = CHallWindows::GetFrame())
        pFrame->ShowItemShop(-1);
    else
        pShop->ShowShop();
}
