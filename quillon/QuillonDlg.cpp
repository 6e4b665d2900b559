#include "QuillonDlg.h"

#include "ImageTabPaintManager.h"
#include "ServiceGlobalUnits.h"
#include "SkinMessageBox.h"
#include "TextUnit.h"
#include "ModifyChecks.h"
#include "res/resource.h"

namespace
{

const int kDialogWidth = 450;
const int kDialogHeight = 377;
const int kCorner = 5;
const RECT kTabRect = {158, 36, 428, 318};
const UINT kGroupButtons[CQuillonDlg::kGroups] = {IDC_GROUP_ACCOUNT, IDC_GROUP_BANK, IDC_GROUP_FACE,
                                                  IDC_GROUP_EXCHANGE};

// Captions of the tab items ("--": no page in that cell).
const char* const kCaptions[CQuillonDlg::kGroups][CQuillonDlg::kItems] = {
    {"基本资料", "详细资料", "修改密码", "--"},
    {"金蛋存取", "转  账", "修改密码", "--"},
    {"编辑头像", "系统头像", "--", "--"},
    {"金蛋换金豆", "金豆换金蛋", "--", "--"},
};
const int kItemCounts[CQuillonDlg::kGroups] = {3, 3, 2, 2};
// The strong box: the transfer page has no tab; the password item.
const int kBankGroup = 1;
const int kTransferIndex = 1;
const int kBankPasswordIndex = 2;
// The face group: custom face, system face.
const int kFaceGroup = 2;

// Exchange refusals name their reason with codes of their own.
LONG MapExchangeResult(LONG lResult)
{
    switch (lResult) {
    case 1: return 15;
    case 2: return 11;
    case 3: return 9;
    case 4: return 12;
    case 5: return 14;
    default: return lResult;
    }
}

CString ResultMessage(LPCSTR pszFormat, LONG lResult)
{
    CString strText;
    strText.Format(pszFormat, LPCSTR(GetResultText(lResult)));
    return strText;
}

} // namespace

int ServiceMessageBox(HWND hWndOwner, LPCSTR pszText, UINT nType)
{
    return SkinMessageBox(hWndOwner, pszText, "提示信息", nType);
}

BEGIN_MESSAGE_MAP(CQuillonDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_QUERYDRAGICON()
    ON_WM_NCHITTEST()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_QUILLON_NOTIFY, OnServiceNotify)
    ON_MESSAGE(WM_QUILLON_MODIFY, OnModifyAttr)
    ON_MESSAGE(WM_QUILLON_FACE, OnFaceChanged)
    ON_MESSAGE(WM_QUILLON_FACE_PAGE, OnShowFacePage)
    ON_BN_CLICKED(IDC_GROUP_ACCOUNT, OnGroupAccount)
    ON_BN_CLICKED(IDC_GROUP_BANK, OnGroupBank)
    ON_BN_CLICKED(IDC_GROUP_FACE, OnGroupFace)
    ON_BN_CLICKED(IDC_GROUP_EXCHANGE, OnGroupExchange)
    ON_BN_CLICKED(IDC_CLOSE_BUTTON, OnCloseButton)
    ON_NOTIFY(TCN_SELCHANGE, IDC_TAB_STRIP_FIRST + 1, OnBankTabChange)
END_MESSAGE_MAP()

CQuillonDlg::CQuillonDlg()
    : CDialog(IDD_QUILLON_DIALOG), m_bModified(false), m_bQuitPosted(false), m_pDataCenter(NULL), m_nShownGroup(-1),
      m_hIcon(NULL)
{
    memset(&m_ShareData, 0, sizeof(m_ShareData));
    memset(m_pTabItems, 0, sizeof(m_pTabItems));
    memset(m_pPages, 0, sizeof(m_pPages));
}

CQuillonDlg::~CQuillonDlg()
{
    for (auto& row : m_pTabItems)
        for (CImageTabItem*& pItem : row) {
            delete pItem;
            pItem = NULL;
        }
}

int CQuillonDlg::ShowBox(LPCSTR pszText, UINT nType)
{
    return ServiceMessageBox(GetSafeHwnd(), pszText, nType);
}

void CQuillonDlg::Quit()
{
    m_bQuitPosted = true;
    ::PostQuitMessage(0);
}

void CQuillonDlg::FailStart(LPCSTR pszText)
{
    ShowBox(pszText);
    Quit();
}

// ---- start ----------------------------------------------------------------------

BOOL CQuillonDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hIcon = AfxGetApp() != NULL ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : NULL;
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SetWindowText("用户服务");
    if (m_TipDlg.Create(IDD_TIP, this)) {
        m_TipDlg.CenterWindow(this);
        g_ServiceUnits.SetTipWindow(&m_TipDlg);
    }
    InitService();
    ModifyStyle(0, WS_CLIPCHILDREN);
    SetWindowPos(NULL, 0, 0, kDialogWidth, kDialogHeight, SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow();
    CWnd* pOK = GetDlgItem(IDOK);
    CWnd* pCancel = GetDlgItem(IDCANCEL);
    if (pOK != NULL && pCancel != NULL) {
        pOK->EnableWindow(FALSE);
        CRect rcCancel, rcOK;
        pCancel->GetWindowRect(&rcCancel);
        pOK->GetWindowRect(&rcOK);
        ScreenToClient(&rcCancel);
        int nTop = rcCancel.top;
        pCancel->MoveWindow(430 - rcCancel.Width(), nTop, rcCancel.Width(), rcCancel.Height());
        pOK->MoveWindow(430 - rcCancel.Width() - 10 - rcOK.Width(), nTop, rcOK.Width(), rcOK.Height());
    }
    return TRUE;
}

bool CQuillonDlg::InitService()
{
    if (!ReadShareData()) {
        FailStart("ERROR!Parameter Error");
        return false;
    }
    if (!m_SocketModule.CreateInstance()) {
        FailStart("ERROR!Create Socket Error");
        return false;
    }
    m_pDataCenter = CQuillonDataCenter::Create();
    if (m_pDataCenter == NULL) {
        FailStart("ERROR!Create SocketSink Error");
        return false;
    }
    m_pDataCenter->SetNotifyMessage(WM_QUILLON_NOTIFY);
    g_ServiceUnits.m_pDataCenter = m_pDataCenter;

    IUnknownEx* pSink = NULL;
    if (m_pDataCenter->QueryInterface(IID_IUnknownEx, reinterpret_cast<void**>(&pSink)) == S_OK) {
        m_SocketModule.GetInterface()->SetSocketSink(pSink);
        pSink->Release();
    }
    IUnknownEx* pSocket = NULL;
    if (m_SocketModule.GetInterface()->QueryInterface(IID_IUnknownEx, reinterpret_cast<void**>(&pSocket)) == S_OK) {
        m_pDataCenter->SetSocket(pSocket);
        pSocket->Release();
    }

    HINSTANCE hResource = AfxGetResourceHandle();
    m_ImageBack.SetLoadInfo(IDB_QUILLON_BACK, hResource);
    m_ImageTitle.SetLoadInfo(IDB_QUILLON_TITLE, hResource);
    if (!m_ImageBack.LoadImage() || !m_ImageTitle.LoadImage()) {
        FailStart("ERROE!LoadImageResource Error");
        return false;
    }
    m_btOK.SubclassDlgItem(IDOK, this);
    m_btCancel.SubclassDlgItem(IDCANCEL, this);
    m_btClose.SubclassDlgItem(IDC_CLOSE_BUTTON, this);
    for (int g = 0; g < kGroups; ++g) {
        m_btGroups[g].SubclassDlgItem(kGroupButtons[g], this);
        m_GroupButtons.AddButton(&m_btGroups[g]);
    }

    if (!InitTabCtrl()) {
        FailStart("ERROR!InitTabCtrl False");
        return false;
    }
    RegisterNotifications();
    m_pDataCenter->ConnectServer();
    return true;
}

bool CQuillonDlg::ReadShareData()
{
    char szName[255];
    memset(szName, 0, sizeof(szName));
    LPCSTR pszCmdLine = AfxGetApp() != NULL ? AfxGetApp()->m_lpCmdLine : NULL;
    if (pszCmdLine != NULL)
        TextCopyField(szName, pszCmdLine);
    if (szName[0] == '\0') {
        Quit();
        return false;
    }
    HANDLE hMapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, szName);
    if (hMapping == NULL) {
        Quit();
        return false;
    }
    tagServiceShareData* pBlock =
        static_cast<tagServiceShareData*>(MapViewOfFile(hMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(*pBlock)));
    if (pBlock == NULL) {
        CloseHandle(hMapping);
        Quit();
        return false;
    }
    pBlock->dwServiceWnd = HandleToULong(m_hWnd);
    memcpy(&m_ShareData, pBlock, sizeof(m_ShareData));
    UnmapViewOfFile(pBlock);
    CloseHandle(hMapping);
    // The digest is text: a field without its terminator is cut.
    m_ShareData.szPassword[sizeof(m_ShareData.szPassword) - 1] = 0;
    return true;
}

bool CQuillonDlg::InitTabCtrl()
{
    for (int g = 0; g < kGroups; ++g) {
        CSkinTab& strip = m_TabStrips[g];
        if (!strip.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, kTabRect, this, IDC_TAB_STRIP_FIRST + g))
            return false;
        HINSTANCE hResource = AfxGetResourceHandle();
        strip.SetSkinImage(CSkinTab::TAB_IMAGE_LEFT, IDB_TAB_LEFT, hResource);
        strip.SetSkinImage(CSkinTab::TAB_IMAGE_MID, IDB_TAB_MID, hResource);
        strip.SetSkinImage(CSkinTab::TAB_IMAGE_RIGHT, IDB_TAB_RIGHT, hResource);
        CImageTabPaintManager* pPainter = new CImageTabPaintManager;
        pPainter->m_ImageLeft.SetLoadInfo(IDB_TAB_PAINT_LEFT, hResource);
        pPainter->m_ImageRight.SetLoadInfo(IDB_TAB_PAINT_RIGHT, hResource);
        strip.GetTabManager()->SetPaintManager(pPainter);
        if (g == 0) {
            m_pPages[0][0] = &m_UserBaseInfo;
            m_pPages[0][1] = &m_UserBaseInfoEx;
            m_pPages[0][2] = &m_UserPassword;
            if (!m_UserBaseInfo.Create(IDD_USER_BASE_INFO, &strip) ||
                !m_UserBaseInfoEx.Create(IDD_USER_BASE_INFO_EX, &strip) ||
                !m_UserPassword.Create(IDD_USER_PASSWORD, &strip))
                return false;
        } else if (g == kBankGroup) {
            m_pPages[1][0] = &m_BankAtm;
            m_pPages[1][1] = &m_BankTransfer;
            m_pPages[1][2] = &m_BankPassword;
            if (!m_BankAtm.Create(IDD_BANK_ATM, &strip) || !m_BankTransfer.Create(IDD_BANK_TRANSFER, &strip) ||
                !m_BankPassword.Create(IDD_BANK_PASSWORD, &strip))
                return false;
        } else if (g == 3) {
            m_pPages[3][0] = &m_GoldToHP;
            m_pPages[3][1] = &m_HPToGold;
            if (!m_GoldToHP.Create(IDD_GOLD_TO_HP, &strip) || !m_HPToGold.Create(IDD_HP_TO_GOLD, &strip))
                return false;
        }
        if (g == kFaceGroup) {
            m_pPages[kFaceGroup][0] = &m_CustomFace;
            m_pPages[kFaceGroup][1] = &m_SystemFace;
            if (!m_CustomFace.Create(IDD_FACE_PAGE, &strip) || !m_SystemFace.Create(IDD_FACE_PAGE, &strip))
                return false;
        }
        for (int i = 0; i < kItemCounts[g]; ++i) {
            if (g == kBankGroup && i == kTransferIndex)
                continue;
            CImageTabItem* pItem = new CImageTabItem(g == 3 ? IDB_TAB_ITEM_EXCHANGE : IDB_TAB_ITEM, kCaptions[g][i]);
            m_pTabItems[g][i] = pItem;
            CTabDlg* pPage = m_pPages[g][i];
            strip.InsertItem(strip.GetTabManager()->GetItemCount(), kCaptions[g][i],
                             pPage != NULL ? pPage->GetSafeHwnd() : NULL, -1, pItem);
            if (pPage == NULL)
                pItem->SetEnabled(FALSE);
        }
    }
    OpenPage(int(m_ShareData.dwPageGroup), int(m_ShareData.dwPageIndex));
    return true;
}

void CQuillonDlg::RegisterNotifications()
{
    static const struct
    {
        WORD wMain, wFirst, wLast;
    } kRanges[] = {{100, 101, 103}, {200, 201, 204}, {300, 301, 308}, {400, 401, 403}, {500, 501, 502}};
    for (const auto& range : kRanges)
        for (WORD wSub = range.wFirst; wSub <= range.wLast; ++wSub)
            m_pDataCenter->AddNotifyWindow(range.wMain, wSub, m_hWnd);
}

// ---- pages ----------------------------------------------------------------------

void CQuillonDlg::ShowGroup(int nGroup)
{
    for (int g = 0; g < kGroups; ++g)
        if (m_TabStrips[g].GetSafeHwnd() != NULL)
            m_TabStrips[g].ShowWindow(g == nGroup ? SW_SHOW : SW_HIDE);
    m_GroupButtons.SelectButton(nGroup >= 0 && nGroup < kGroups ? &m_btGroups[nGroup] : NULL);
    m_nShownGroup = nGroup;
}

void CQuillonDlg::OpenPage(int nGroup, int nIndex)
{
    if (nGroup < 0 || nGroup >= kGroups)
        return;
    if (nGroup == kBankGroup && g_ServiceUnits.m_bBankPasswordNotSet) {
        g_ServiceUnits.ShowTip("您的保险箱密码未设置,请输入保险箱密码", 1000);
        m_BankPassword.SetInitMode(true);
        ShowGroup(kBankGroup);
        if (CSkinTabItem* pItem = m_pTabItems[kBankGroup][kBankPasswordIndex])
            pItem->Select();
        return;
    }
    ShowGroup(nGroup);
    if (nIndex >= 0 && nIndex < kItems && m_pTabItems[nGroup][nIndex] != NULL)
        m_pTabItems[nGroup][nIndex]->Select();
}

void CQuillonDlg::OnBankTabChange(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (!g_ServiceUnits.m_bBankPasswordNotSet)
        return;
    CSkinTabItem* pSelected = m_TabStrips[kBankGroup].GetTabManager()->GetSelectedItem();
    if (pSelected != m_pTabItems[kBankGroup][kBankPasswordIndex])
        OpenPage(kBankGroup, 1);
    else
        m_BankPassword.SetInitMode(true);
}

LRESULT CQuillonDlg::OnShowFacePage(WPARAM, LPARAM)
{
    OpenPage(2, 0);
    return 0;
}

bool CQuillonDlg::IsAccountPageVisible()
{
    return m_UserBaseInfo.GetSafeHwnd() != NULL &&
           (m_UserBaseInfo.IsWindowVisible() || m_UserBaseInfoEx.IsWindowVisible());
}

void CQuillonDlg::RefreshPages(std::initializer_list<CTabDlg*> pages)
{
    for (CTabDlg* pPage : pages)
        if (pPage != NULL)
            pPage->RefreshFromData();
}

// ---- OK ---------------------------------------------------------------------------

void CQuillonDlg::OnOK()
{
    CWnd* pOK = GetDlgItem(IDOK);
    if (pOK == NULL || !pOK->IsWindowEnabled()) {
        ShowBox("请等待初始化结束");
        return;
    }
    if (IsAccountPageVisible() && m_bModified && m_PendingChanges.GetSize() > 0) {
        CModifyAttrArray changes;
        for (INT_PTR i = 0; i < m_PendingChanges.GetSize(); ++i) {
            tagModifyAttr attr = m_PendingChanges[i];
            CString strMessage;
            switch (CheckModifyAttr(attr, *g_ServiceUnits.GetUserData(), strMessage)) {
            case MODIFY_ERROR: ShowBox(strMessage); return;
            case MODIFY_KEEP: changes.Add(attr); break;
            case MODIFY_DROP: break;
            }
        }
        if (changes.GetSize() > 0 && m_pDataCenter != NULL) {
            m_pDataCenter->SendModifyUserInfo(changes);
            pOK->EnableWindow(FALSE);
            g_ServiceUnits.ShowTip("等待修改资料回复", -1);
        }
        m_PendingChanges.RemoveAll();
        m_bModified = false;
    }
    if (g_ServiceUnits.m_bBankPasswordNotSet && m_nShownGroup == kBankGroup &&
        !(m_BankPassword.IsWindowVisible() && m_BankPassword.IsInitMode())) {
        OpenPage(kBankGroup, kBankPasswordIndex);
        return;
    }
    SubmitRegisteredPages();
}

void CQuillonDlg::SubmitRegisteredPages()
{
    CArray<CTabDlg*, CTabDlg*> kept;
    for (INT_PTR i = 0; i < m_RegisteredPages.GetSize(); ++i) {
        CTabDlg* pPage = m_RegisteredPages[i];
        if (!pPage->IsWindowVisible() || !pPage->Submit(m_pDataCenter))
            kept.Add(pPage);
    }
    m_RegisteredPages.Copy(kept);
}

void CQuillonDlg::RegisterPage(CTabDlg* pPage)
{
    for (INT_PTR i = 0; i < m_RegisteredPages.GetSize(); ++i)
        if (m_RegisteredPages[i] == pPage)
            return;
    m_RegisteredPages.Add(pPage);
}

void CQuillonDlg::SubmitAgain(CTabDlg* pPage)
{
    if (pPage->Submit(m_pDataCenter))
        return;
    RegisterPage(pPage);
}

LRESULT CQuillonDlg::OnModifyAttr(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0) {
        RegisterPage(reinterpret_cast<CTabDlg*>(wParam));
        return 0;
    }
    const tagModifyAttr* pAttr = reinterpret_cast<const tagModifyAttr*>(wParam);
    m_bModified = true;
    for (INT_PTR i = 0; i < m_PendingChanges.GetSize(); ++i) {
        if (m_PendingChanges[i].wAttrID == pAttr->wAttrID) {
            memcpy(m_PendingChanges[i].szValue, pAttr->szValue, sizeof(pAttr->szValue));
            return 0;
        }
    }
    m_PendingChanges.Add(*pAttr);
    return 0;
}

void CQuillonDlg::OnCancel()
{
    CDialog::OnCancel();
}

// ---- the server's answers -----------------------------------------------------------

void CQuillonDlg::EndInitialisation()
{
    ClearPendingChanges();
    g_ServiceUnits.ShowTip("初始化完毕", 200);
    if (CWnd* pOK = GetDlgItem(IDOK))
        pOK->EnableWindow(TRUE);
}

void CQuillonDlg::OnModifyResult(const tagServiceModifyResult& result)
{
    if (result.lResult != 0) {
        g_ServiceUnits.ShowTip(ResultMessage("修改资料失败:%s", result.lResult), 1000);
    } else {
        tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
        for (INT_PTR i = 0; i < result.Attrs.GetSize(); ++i) {
            const tagModifyAttr& attr = result.Attrs[i];
            SetUserAttribute(*pUser, attr.wAttrID, attr.szValue);
            m_UserBaseInfo.ShowAttribute(attr.wAttrID);
            m_UserBaseInfoEx.ShowAttribute(attr.wAttrID);
        }
        g_ServiceUnits.ShowTip("修改资料成功", 1000);
    }
    if (CWnd* pOK = GetDlgItem(IDOK))
        pOK->EnableWindow(TRUE);
}

LRESULT CQuillonDlg::OnServiceNotify(WPARAM wParam, LPARAM lParam)
{
    const tagNotifyHead* pHead = reinterpret_cast<const tagNotifyHead*>(wParam);
    if (pHead == NULL)
        return 0;
    const LONG* pResult = reinterpret_cast<const LONG*>(lParam);
    switch ((DWORD(pHead->wMainCmdID) << 16) | pHead->wSubCmdID) {
    case (100 << 16) | 101: {
        const tagServiceConnectNotice* pNotice = reinterpret_cast<const tagServiceConnectNotice*>(lParam);
        if (pNotice->lCode != 0) {
            ShowBox("连接服务器失败,服务退出");
            Quit();
            break;
        }
        g_ServiceUnits.ShowTip("连接服务器成功,正在登录", -1);
        m_pDataCenter->SendLogon(m_ShareData.dwUserID, m_ShareData.szPassword);
        break;
    }
    case (100 << 16) | 102:
        if (*pResult != 0) {
            ShowBox(ResultMessage("登录失败:%s", *pResult));
            Quit();
            break;
        }
        m_pDataCenter->RequestUserInfo();
        m_pDataCenter->RequestBankInfo();
        m_pDataCenter->RequestPlayedGameList();
        m_pDataCenter->SendCheckBankPassword();
        g_ServiceUnits.ShowTip("登录成功,正在初始化信息", -1);
        break;
    case (100 << 16) | 103:
        ShowBox("连接关闭");
        Quit();
        break;
    case (200 << 16) | 201: {
        const tagServiceUserInfo* pInfo = reinterpret_cast<const tagServiceUserInfo*>(lParam);
        tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
        g_ServiceUnits.m_bUserDataReceived = true;
        pUser->dwUserID = pInfo->dwUserID;
        for (INT_PTR i = 0; i < pInfo->Attrs.GetSize(); ++i)
            SetUserAttribute(*pUser, pInfo->Attrs[i].wAttrID, pInfo->Attrs[i].szValue);
        RefreshPages({&m_UserBaseInfo, &m_UserBaseInfoEx, &m_BankAtm, &m_BankTransfer});
        RefreshPages({&m_CustomFace, &m_SystemFace});
        Invalidate(FALSE);
        break;
    }
    case (200 << 16) | 202: OnModifyResult(*reinterpret_cast<const tagServiceModifyResult*>(lParam)); break;
    case (200 << 16) | 203:
        if (*pResult != 0)
            g_ServiceUnits.ShowTip(ResultMessage("修改密码失败:%s", *pResult), 2000);
        else
            ShowBox("修改密码成功,请重新登陆大厅");
        break;
    case (200 << 16) | 204: {
        const tagServiceNickName* pNick = reinterpret_cast<const tagServiceNickName*>(lParam);
        if (pNick->lResult != 0)
            g_ServiceUnits.ShowTip("该用户ID不存在，请查证后重新输入", 500);
        m_BankTransfer.OnNickName(pNick->lResult, pNick->dwUserID, pNick->szNickName);
        break;
    }
    case (300 << 16) | 301: {
        const tagServiceBankInfo* pInfo = reinterpret_cast<const tagServiceBankInfo*>(lParam);
        if (pInfo->lResult != 0)
            g_ServiceUnits.ShowTip(ResultMessage("保险箱信息获取失败:%s", pInfo->lResult), 1000);
        else {
            g_ServiceUnits.m_dwBankBalance = pInfo->dwBalance;
            RefreshPages({&m_BankAtm, &m_BankTransfer, &m_GoldToHP, &m_HPToGold});
        }
        break;
    }
    case (300 << 16) | 302:
        if (*pResult != 0) {
            g_ServiceUnits.ShowTip(ResultMessage("金蛋操作失败:%s", *pResult), 2000);
            RegisterPage(&m_BankAtm);
            break;
        }
        if (g_ServiceUnits.m_llPendingDeposit > 0) {
            g_ServiceUnits.GetUserData()->dwEggCount -= DWORD(g_ServiceUnits.m_llPendingDeposit);
            g_ServiceUnits.m_dwBankBalance += DWORD(g_ServiceUnits.m_llPendingDeposit);
        }
        g_ServiceUnits.ShowTip("金蛋存款成功", 1000);
        RefreshPages({&m_BankAtm, &m_BankTransfer});
        m_RegisteredPages.RemoveAll();
        break;
    case (300 << 16) | 303:
        if (*pResult != 0) {
            ShowBox(ResultMessage("金蛋操作失败:%s", *pResult));
            SubmitAgain(&m_BankAtm);
            break;
        }
        if (g_ServiceUnits.m_llPendingDeposit < 0) {
            DWORD dwAmount = DWORD(-g_ServiceUnits.m_llPendingDeposit);
            g_ServiceUnits.m_dwBankBalance -= dwAmount;
            g_ServiceUnits.GetUserData()->dwEggCount += dwAmount;
        }
        g_ServiceUnits.ShowTip("金蛋取款成功", 1000);
        RefreshPages({&m_BankAtm, &m_BankTransfer});
        m_RegisteredPages.RemoveAll();
        break;
    case (300 << 16) | 304:
        if (*pResult != 0)
            g_ServiceUnits.ShowTip(ResultMessage("保险箱密码修改失败:%s", *pResult), 2000);
        else
            g_ServiceUnits.ShowTip("保险箱密码修改成功", 1000);
        break;
    case (300 << 16) | 305: {
        LONG lResult = LONG(lParam);
        if (lResult != 0) {
            ShowBox(ResultMessage("转账失败:%s", lResult));
            SubmitAgain(&m_BankTransfer);
            break;
        }
        g_ServiceUnits.GetUserData()->dwEggCount -= DWORD(g_ServiceUnits.m_llPendingTransfer);
        RefreshPages({&m_BankAtm, &m_BankTransfer});
        g_ServiceUnits.ShowTip("转账成功", 1000);
        break;
    }
    case (300 << 16) | 306: {
        const tagServiceExchange* pExchange = reinterpret_cast<const tagServiceExchange*>(lParam);
        if (pExchange->lResult != 0) {
            g_ServiceUnits.ShowTip(ResultMessage("兑换失败:%s", MapExchangeResult(pExchange->lResult)), 2000);
            break;
        }
        tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
        if (pExchange->lKind == 2) {
            pUser->dwBeanCount += DWORD(g_ServiceUnits.m_llPendingBeans);
            pUser->dwEggCount -= DWORD(g_ServiceUnits.m_llPendingEggs);
        } else if (pExchange->lKind == 3) {
            pUser->dwBeanCount -= DWORD(g_ServiceUnits.m_llPendingBeans);
            pUser->dwEggCount += DWORD(g_ServiceUnits.m_llPendingEggs);
        }
        RefreshPages({&m_BankAtm, &m_BankTransfer, &m_GoldToHP, &m_HPToGold});
        g_ServiceUnits.ShowTip("兑换成功", 1000);
        break;
    }
    case (300 << 16) | 307: {
        const tagServiceBankPasswordState* pState = reinterpret_cast<const tagServiceBankPasswordState*>(lParam);
        if (pState->lResult != 0) {
            ShowBox("初始化保险箱密码检测失败");
            EndInitialisation();
            break;
        }
        g_ServiceUnits.m_bBankPasswordNotSet = !pState->bInitialised;
        if (g_ServiceUnits.m_bBankPasswordNotSet && m_nShownGroup == kBankGroup) {
            if (SkinMessageBox(m_hWnd, "您的保险箱密码未设置,是否现在设置保险箱密码", "提示", MB_YESNO) == IDYES) {
                ClearPendingChanges();
                m_BankPassword.SetInitMode(true);
                OpenPage(kBankGroup, kBankPasswordIndex);
                g_ServiceUnits.HideTip();
                if (CWnd* pOK = GetDlgItem(IDOK))
                    pOK->EnableWindow(TRUE);
                break;
            }
        }
        EndInitialisation();
        break;
    }
    case (300 << 16) | 308: {
        LONG lResult = LONG(lParam);
        if (lResult != 0) {
            CString strText = ResultMessage("保险箱密码设置失败,程序退出:%s", lResult);
            g_ServiceUnits.ShowTip(strText, 2000);
            ShowBox(strText);
            Quit();
            break;
        }
        g_ServiceUnits.ShowTip("保险箱密码设置成功", 1000);
        g_ServiceUnits.m_bBankPasswordNotSet = false;
        m_BankPassword.SetInitMode(false);
        break;
    }
    default: break;
    }
    return 0;
}

// ---- faces ----------------------------------------------------------------------------

LRESULT CQuillonDlg::OnFaceChanged(WPARAM wParam, LPARAM lParam)
{
    DWORD dwUserID = g_ServiceUnits.GetUserData()->dwUserID;
    ICustomFaceRes* pFaces = g_ServiceUnits.m_CustomFaceModule.GetInterface();
    if (wParam == 1000) {
        if (pFaces != NULL)
            pFaces->LoadFace(dwUserID);
        HWND hHall = HWND(ULongToHandle(m_ShareData.dwHallWnd));
        if (hHall != NULL && ::IsWindow(hHall)) {
            COPYDATASTRUCT data = {SERVICE_NOTICE_DATA, 0, NULL};
            ::SendMessage(hHall, WM_COPYDATA, WPARAM(m_hWnd), LPARAM(&data));
        }
    } else if (wParam == 1001) {
        if (pFaces != NULL)
            pFaces->DeleteFace(dwUserID);
        m_UserBaseInfo.SetFaceIndex(WORD(lParam));
    }
    return 0;
}

// ---- painting and shape -----------------------------------------------------------------

void CQuillonDlg::OnPaint()
{
    CPaintDC dc(this);
    if (IsIconic()) {
        CRect rcClient;
        GetClientRect(&rcClient);
        dc.DrawIcon((rcClient.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2,
                    (rcClient.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2, m_hIcon);
        return;
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height());
    CBitmap* pOldBitmap = memory.SelectObject(&bitmap);
    if (!m_ImageBack.IsNull())
        m_ImageBack.StretchBlt(memory.GetSafeHdc(), rcClient);
    else
        memory.FillSolidRect(&rcClient, RGB(220, 236, 240));
    if (!m_ImageTitle.IsNull())
        m_ImageTitle.BitBlt(memory.GetSafeHdc(), 15, 35);
    const tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
    IGameAvatarRes* pAvatars = g_ServiceUnits.m_AvatarModule.GetInterface();
    if (pUser->dwUserID != 0 && pAvatars != NULL) {
        const CRect rcAvatar(34, 64, 125, 202);
        if (pAvatars->HasAvatar(pUser->dwUserID))
            pAvatars->DrawAvatar(pUser->dwUserID, &memory, rcAvatar.left, rcAvatar.top, rcAvatar.Width(),
                                 rcAvatar.Height());
        else
            pAvatars->DrawDefaultAvatar(pUser->cbGender, &memory, rcAvatar.left, rcAvatar.top, rcAvatar.Width(),
                                        rcAvatar.Height());
    }
    CFont* pOldFont = memory.SelectObject(GetFont());
    memory.SetBkMode(TRANSPARENT);
    memory.TextOut(15, 5, "用户服务");
    memory.SelectObject(pOldFont);
    dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(pOldBitmap);
}

BOOL CQuillonDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

HCURSOR CQuillonDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

LRESULT CQuillonDlg::OnNcHitTest(CPoint)
{
    return HTCAPTION;
}

void CQuillonDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRgn region;
    region.CreateRoundRectRgn(0, 0, rcWindow.Width() + 1, rcWindow.Height() + 1, kCorner, kCorner);
    SetWindowRgn(HRGN(region.Detach()), TRUE);
    if (m_btClose.GetSafeHwnd() != NULL) {
        CRect rcClose;
        m_btClose.GetWindowRect(&rcClose);
        m_btClose.SetWindowPos(NULL, cx - rcClose.Width() - 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

void CQuillonDlg::OnDestroy()
{
    if (g_ServiceUnits.GetTipWindow() == &m_TipDlg)
        g_ServiceUnits.SetTipWindow(NULL);
    if (m_TipDlg.GetSafeHwnd() != NULL)
        m_TipDlg.DestroyWindow();
    if (m_pDataCenter != NULL) {
        if (m_SocketModule.HasInterface()) {
            m_SocketModule.GetInterface()->CloseSocket(false);
            m_SocketModule.GetInterface()->SetSocketSink(NULL);
        }
        m_pDataCenter->SetSocket(NULL);
        if (g_ServiceUnits.m_pDataCenter == m_pDataCenter)
            g_ServiceUnits.m_pDataCenter = NULL;
        m_pDataCenter->Release();
        m_pDataCenter = NULL;
    }
    m_SocketModule.CloseInstance();
    CDialog::OnDestroy();
}
