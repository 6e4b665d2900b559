#include "ItemShop.h"

#include "BuyDlg.h"
#include "ClientDataCenter.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallProtocol.h"
#include "HallWindows.h"
#include "TextUnit.h"
#include "resource.h"

namespace
{
const UINT WM_FETCH_FAILED = WM_USER + 101;
const UINT WM_FETCH_DONE = WM_USER + 102;
const UINT IDC_CHARGE = 1001;
const UINT IDC_ITEM_PAGE = 1001;
const UINT IDC_MY_ITEMS = 1002;
const int kShopWidth = 566;
const int kShopHeight = 397;
const int kMyItemSlots = 8;
} // namespace

CItemShop* GetItemShop()
{
    static CItemShop s_Shop;
    return &s_Shop;
}

BEGIN_MESSAGE_MAP(CItemShop, CRgnDialog)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_HALL_NOTIFY, OnHallNotify)
    ON_MESSAGE(WM_FETCH_DONE, OnFetchDone)
    ON_MESSAGE(WM_FETCH_FAILED, OnFetchFailed)
    ON_COMMAND(IDC_CHARGE, OnCharge)
END_MESSAGE_MAP()

CItemShop::CItemShop() : CRgnDialog(IDD_ITEM_SHOP, NULL), m_Catalogue(this), m_pDataCenter(NULL)
{
    memset(m_szMsgBoxSkin, 0, sizeof(m_szMsgBoxSkin));
}

CItemShop::~CItemShop()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        DestroyWindow();
}

CString CItemShop::GetSkinFolder()
{
    return CString(g_GlobalUnits.GetResourceDirectory()) + "ItemShop//";
}

bool CItemShop::CreateShop()
{
    if (GetSafeHwnd() != NULL)
        return true;
    return Create(IDD_ITEM_SHOP, NULL) != FALSE;
}

void CItemShop::ShowShop()
{
    if (!CreateShop())
        return;
    CenterWindow();
    ShowWindow(SW_SHOW);
}

int CItemShop::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CRgnDialog::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_btCharge.Create("", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(432, 218, 433, 219), this, IDC_CHARGE);
    m_Catalogue.GetManager().RemoveAll();
    m_ItemFrame.RemoveAllTiles();
    m_MyItemBar.RemoveAllItems();
    m_rcUserInfo.SetRectEmpty();
    LoadSkin();
    m_Catalogue.Reload();
    return 0;
}

void CItemShop::LoadSkin()
{
    CString folder = GetSkinFolder();
    static const char* const kFrame[] = {"itemshoptl.bmp", "itemshoptm.bmp", "itemshoptr.bmp",
                                         "itemshopl.bmp",  "itemshopr.bmp",  "itemshopbl.bmp",
                                         "itemshopbm.bmp", "itemshopbr.bmp", "itemshopbk.bmp"};
    for (int i = 0; i < SKIN_BACK + 1; i++)
        GetSkinImage(i)->SetLoadInfo(folder + kFrame[i]);
    m_MyInfo.Load(folder + "myinfo.png");
    m_ItemBack.Load(folder + "ItemBack.png");
    m_Background.Load(folder + "background.png");
    m_Next.Load(folder + "btNext.png");
    m_Prev.Load(folder + "btPrev.png");
    m_Buy.Load(folder + "buy.png");
    m_MyItemBack.Load(folder + "MyItemBack.png");
    m_NextM.Load(folder + "btNextM.png");
    m_PrevM.Load(folder + "btPrevM.png");
    m_ItemFrame.GetCard().LoadPictures(folder);
    if (m_btCharge.LoadRgnImage(folder + "btcharge.bmp", RGB(255, 0, 255))) {
        CRect rc;
        m_btCharge.GetWindowRect(&rc);
        m_btCharge.MoveWindow(432, 218, rc.Width(), rc.Height());
    }
    // In the order of the skinned boxes' picture slots.
    static const char* const kBox[SKINMB_SKIN_COUNT] = {
        "itemshoptl.bmp", "itemshoptm.bmp", "itemshoptr.bmp", "itemshopl.bmp", "itemshopr.bmp", "itemshopbl.bmp",
        "itemshopbm.bmp", "itemshopbr.bmp", "itemshopbk.bmp", "rgnbutton.bmp", "Close.bmp"};
    for (int i = 0; i < SKINMB_SKIN_COUNT; i++)
        TextCopyPath(m_szMsgBoxSkin[i], folder + kBox[i]);
}

BOOL CItemShop::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    InitSkinObject();
    MoveWindow(0, 0, kShopWidth, kShopHeight);
    if (m_pDataCenter != NULL) {
        m_pDataCenter->AddNotifyWindow(HN_USER_VALUE, m_hWnd);
        m_pDataCenter->AddNotifyWindow(HN_BUY_RESULT, m_hWnd);
    }
    return TRUE;
}

void CItemShop::OnCancel()
{
    // The close button hides the shop; it lives until the frame ends it.
    ShowWindow(SW_HIDE);
}

void CItemShop::CreateViews()
{
    if (GetSafeHwnd() == NULL)
        return;
    CItemShopManager* pManager = &m_Catalogue.GetManager();
    CImageCfgArray* pImages = const_cast<CImageCfgArray*>(&m_Catalogue.GetImages());
    m_ItemFrame.InitItemFrame(pManager, &m_Background, &m_ItemBack, &m_Next, &m_Prev, &m_Buy, pImages);
    if (m_ItemFrame.GetSafeHwnd() == NULL)
        m_ItemFrame.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(), this, IDC_ITEM_PAGE);
    m_MyItemBar.SetSlotCount(kMyItemSlots);
    m_MyItemBar.InitItemBar(pManager, &m_NextM, &m_PrevM, &m_MyItemBack, NULL, NULL, NULL, NULL, pImages, true);
    if (m_MyItemBar.GetSafeHwnd() == NULL)
        m_MyItemBar.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(), this, IDC_MY_ITEMS);
    CRect rc;
    GetClientRect(&rc);
    OnSize(0, rc.Width(), rc.Height());
}

void CItemShop::OnSize(UINT nType, int cx, int cy)
{
    CRgnDialog::OnSize(nType, cx, cy);
    if (m_ItemFrame.GetSafeHwnd() != NULL)
        m_ItemFrame.MoveWindow(9, 29, 388, 355);
    if (m_MyItemBar.GetSafeHwnd() != NULL)
        m_MyItemBar.MoveWindow(401, 278, 154, 109);
}

void CItemShop::DrawSkinCaption(CDC* pDC)
{
    if (!m_MyInfo.IsValid())
        return;
    const int x = 401, y = 29;
    m_MyInfo.Draw(pDC->GetSafeHdc(), x, y);
    const tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    if (IGameAvatarRes* pAvatars = g_GlobalUnits.m_GameAvatarResHelper.GetInterface()) {
        if (pAvatars->HasAvatar(pUser->dwUserID))
            pAvatars->DrawAvatar(pUser->dwUserID, pDC, x + 30, y + 29, 91, 138);
        else
            pAvatars->DrawDefaultAvatar((BYTE)pUser->wFaceID, pDC, x + 30, y + 29, 91, 138);
    }
    CFont font;
    font.CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    CFont* pOld = pDC->SelectObject(&font);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF crOld = pDC->SetTextColor(RGB(255, 246, 0));
    CString text;
    text.Format("金蛋：%ld", (long)pUser->dwGoldEggs);
    CRect rc(438, 200, 544, 213);
    pDC->DrawText(text, &rc, DT_NOPREFIX);
    if (m_rcUserInfo.IsRectEmpty())
        m_rcUserInfo = rc;
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOld);
}

void CItemShop::InvalidateUserInfo()
{
    if (GetSafeHwnd() != NULL)
        InvalidateRect(&m_rcUserInfo);
}

void CItemShop::ClearMyItems()
{
    m_MyItemBar.RemoveAllItems();
}

void CItemShop::UnregisterNotify()
{
    if (m_pDataCenter == NULL || GetSafeHwnd() == NULL)
        return;
    m_pDataCenter->RemoveNotifyWindow(HN_USER_VALUE, m_hWnd);
    m_pDataCenter->RemoveNotifyWindow(HN_BUY_RESULT, m_hWnd);
}

void CItemShop::GetMessageBoxSkin(HALLMSGBOXPARAMS& params) const
{
    memcpy(params.szSkin, m_szMsgBoxSkin, sizeof(params.szSkin));
    TextCopyPath(params.szIconFile, GetSkinFolder() + "ico.ico");
}

CItemCfg* CItemShop::GetShopItemAt(int nIndex)
{
    return m_Catalogue.GetManager().GetItemAt(nIndex, SHOP_PAGE_CATEGORY);
}

CItemCfg* CItemShop::FindItemCfg(int nItemID)
{
    if (nItemID < 0 || nItemID > 0xFFFF)
        return NULL;
    return m_Catalogue.GetManager().FindItemCfg((WORD)nItemID);
}

const tagImageCfg* CItemShop::FindImageCfg(DWORD dwImageId) const
{
    return m_Catalogue.FindImageCfg(dwImageId);
}

void CItemShop::SetOwnItems(const COwnItemList* pOwnItems)
{
    m_Catalogue.GetManager().SetOwnItems(pOwnItems);
}

void CItemShop::ShowBuyDialog(int nItemID)
{
    CItemCfg* pItem = FindItemCfg(nItemID);
    if (pItem == NULL)
        return;
    const tagImageCfg* pImage = FindImageCfg(pItem->GetImageId());
    CBuyDlg dlg;
    dlg.SetItem(pImage != NULL ? &pImage->Picture : NULL, pItem, false);
    dlg.SetUseMode(0);
    dlg.DoModal();
}

bool CItemShop::FetchFile(LPCSTR pszUrl, LPCSTR pszLocalPath, int nKind)
{
    return g_GlobalUnits.GetFileUpdate()->DownloadFile(pszUrl, pszLocalPath, this);
}

LRESULT CItemShop::OnFetchDone(WPARAM wParam, LPARAM lParam)
{
    m_Catalogue.OnFetchEnded(true);
    return 0;
}

LRESULT CItemShop::OnFetchFailed(WPARAM wParam, LPARAM lParam)
{
    m_Catalogue.OnFetchEnded(false);
    return 0;
}

void CItemShop::OnCharge()
{
    OpenUrlInBrowser(g_GlobalOption.GetPrepaidPageUrl(), SW_SHOWNORMAL);
}

void CItemShop::OnMouseMove(UINT nFlags, CPoint point)
{
    SetFocus();
    CRgnDialog::OnMouseMove(nFlags, point);
}

BOOL CItemShop::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_SPACE)
        return TRUE;
    return CRgnDialog::PreTranslateMessage(pMsg);
}

CString CItemShop::BuyResultText(BYTE cbCode)
{
    CString text;
    switch (cbCode) {
    case 0: text = "恭喜您，购买成功！"; break;
    case 1: text = "抱歉，您所购买的道具无法找到！"; break;
    case 2:
        text.Format("抱歉，您的余额不足，无法购买，请充值后购买！<a href=\"%s\">>>立即充值</a>",
                    (LPCSTR)g_GlobalOption.GetPrepaidPageUrl());
        break;
    case 3: text = "抱歉，您的金蛋被锁，无法购买，请退出房间后购买！"; break;
    case 4: text = "抱歉，此道具不容许购买！"; break;
    default: break;
    }
    return text;
}

void CItemShop::ShowBuyResult(BYTE cbCode)
{
    MsgBoxParams params;
    params.useCaptions = 1;
    TextCopyField(params.captions[MSGBOX_OK], "确  定");
    if (cbCode <= 4)
        TextCopyPath(params.iconFile, GetSkinFolder() + "ico.ico");
    CString text = BuyResultText(cbCode);
    if (text.Find("<a ") >= 0)
        params.hasLinks = 1;
    MsgBoxSkin skin;
    for (int i = 0; i < MSGBOX_SKIN_COUNT; i++)
        TextCopyPath(skin.paths[i], m_szMsgBoxSkin[i]);
    HallMsgBox(NULL, text, "", 0, &params, &skin);
}

LRESULT CItemShop::OnHallNotify(WPARAM wParam, LPARAM lParam)
{
    const tagNotifyHead* pHead = (const tagNotifyHead*)wParam;
    if (pHead == NULL || pHead->wMainCmdID != HN_USER_VALUE.wMainCmdID)
        return 0;
    if (pHead->wSubCmdID == HN_USER_VALUE.wSubCmdID) {
        m_MyItemBar.RefreshItems();
        if (IRoomTabWnd* pRoomTabs = CHallWindows::GetRoomTabs())
            pRoomTabs->RefreshRoomItemBars();
    } else if (pHead->wSubCmdID == HN_BUY_RESULT.wSubCmdID) {
        ShowBuyResult((BYTE)(lParam & 0xFF));
    }
    return 0;
}
