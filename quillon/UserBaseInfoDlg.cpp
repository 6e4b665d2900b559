#include "UserBaseInfoDlg.h"

#include "ServiceGlobalUnits.h"
#include "res/resource.h"

static_assert(IDC_BASE_NICKNAME == 10130 && IDC_BASE_PHONE == 10132 && IDC_BASE_SIGNATURE == 10133 &&
                  IDC_BASE_QQ == 10134,
              "the message map's ids");

BEGIN_MESSAGE_MAP(CUserBaseInfoDlg, CTabDlg)
    ON_EN_CHANGE(IDC_BASE_QQ, OnQQChange)
    ON_EN_CHANGE(IDC_BASE_SIGNATURE, OnSignatureChange)
    ON_EN_CHANGE(IDC_BASE_PHONE, OnPhoneChange)
    ON_EN_CHANGE(IDC_BASE_NICKNAME, OnNickNameChange)
    ON_CBN_SELCHANGE(IDC_BASE_GENDER, OnGenderChange)
    ON_BN_CLICKED(IDC_BASE_FACE_BUTTON, OnFaceButton)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CUserBaseInfoDlg::CUserBaseInfoDlg() : CTabDlg(IDD_USER_BASE_INFO), m_wFaceID(0) {}

BOOL CUserBaseInfoDlg::OnInitDialog()
{
    CTabDlg::OnInitDialog();
    CComboBox* pGender = static_cast<CComboBox*>(GetDlgItem(IDC_BASE_GENDER));
    if (pGender != NULL) {
        pGender->AddString("男");
        pGender->AddString("女");
    }
    struct
    {
        UINT nID;
        int nLimit;
    } const kLimits[] = {{IDC_BASE_NICKNAME, 14},
                         {IDC_BASE_SIGNATURE, 40},
                         {IDC_BASE_EMAIL, 64},
                         {IDC_BASE_QQ, 16},
                         {IDC_BASE_PHONE, 16}};
    for (const auto& limit : kLimits)
        SendDlgItemMessage(limit.nID, EM_LIMITTEXT, limit.nLimit, 0);
    if (CWnd* pNick = GetDlgItem(IDC_BASE_NICKNAME))
        pNick->EnableWindow(FALSE);
    if (CWnd* pEmail = GetDlgItem(IDC_BASE_EMAIL))
        pEmail->EnableWindow(FALSE);

    char szModule[MAX_PATH] = "";
    GetModuleFileNameA(NULL, szModule, sizeof(szModule));
    CString strModule(szModule);
    m_strFaceFolder.Format("%sFace\\", LPCSTR(strModule.Left(strModule.ReverseFind('\\') + 1)));
    m_ImageFaceButton.SetLoadInfo(IDB_FACE_BUTTON, AfxGetResourceHandle());
    return TRUE;
}

void CUserBaseInfoDlg::SetEditText(UINT nID, LPCSTR pszText)
{
    if (CWnd* pEdit = GetDlgItem(nID))
        pEdit->SetWindowText(pszText);
}

void CUserBaseInfoDlg::NotifyEdit(UINT nID, WORD wAttrID)
{
    CString strText;
    GetDlgItemText(nID, strText);
    NotifyModified(wAttrID, strText);
}

void CUserBaseInfoDlg::RefreshFromData()
{
    const tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
    for (WORD wAttrID : {4, 9, 12, 15, 8, 5})
        ShowAttribute(wAttrID);
    m_wFaceID = pUser->wFaceID;
    if (GetSafeHwnd() != NULL)
        Invalidate(FALSE);
}

void CUserBaseInfoDlg::ShowAttribute(WORD wAttrID)
{
    if (GetSafeHwnd() == NULL)
        return;
    const tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
    switch (wAttrID) {
    case 4: SetEditText(IDC_BASE_NICKNAME, pUser->szNickName); break;
    case 9: SetEditText(IDC_BASE_EMAIL, pUser->szEmail); break;
    case 12: SetEditText(IDC_BASE_PHONE, pUser->szPhone); break;
    case 15: SetEditText(IDC_BASE_SIGNATURE, pUser->szSignature); break;
    case 8: SetEditText(IDC_BASE_QQ, pUser->szQQ); break;
    case 5: {
        CComboBox* pGender = static_cast<CComboBox*>(GetDlgItem(IDC_BASE_GENDER));
        if (pGender != NULL)
            pGender->SetCurSel(pUser->cbGender == 2 ? 1 : 0);
        break;
    }
    case 6:
        m_wFaceID = pUser->wFaceID;
        Invalidate(FALSE);
        break;
    default: break;
    }
}

void CUserBaseInfoDlg::OnGenderChange()
{
    CComboBox* pGender = static_cast<CComboBox*>(GetDlgItem(IDC_BASE_GENDER));
    if (pGender != NULL)
        NotifyModified(5, pGender->GetCurSel() == 1 ? "2" : "1");
}

void CUserBaseInfoDlg::OnFaceButton()
{
    CWnd* pMain = GetMainDialog();
    if (pMain != NULL)
        pMain->SendMessage(WM_QUILLON_FACE_PAGE, 0, 0);
}

void CUserBaseInfoDlg::SetFaceIndex(WORD wFaceID)
{
    tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
    if (wFaceID == pUser->wFaceID)
        return;
    pUser->wFaceID = wFaceID;
    m_wFaceID = wFaceID;
    if (GetSafeHwnd() != NULL)
        Invalidate(FALSE);
    CModifyAttrArray attrs;
    tagModifyAttr attr;
    memset(&attr, 0, sizeof(attr));
    attr.wAttrID = 6;
    snprintf(attr.szValue, sizeof(attr.szValue), "%d", int(wFaceID));
    attrs.Add(attr);
    if (g_ServiceUnits.m_pDataCenter != NULL)
        g_ServiceUnits.m_pDataCenter->SendModifyUserInfo(attrs);
}

void CUserBaseInfoDlg::DrawBackground(CDC* pDC)
{
    CTabDlg::DrawBackground(pDC);
    const tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
    CFont* pOldFont = pDC->SelectObject(GetFont());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    CString strText;
    strText.Format("%d", int(pUser->dwUserID));
    pDC->TextOut(80, 12, strText);
    strText.Format("%s", pUser->szAccount);
    pDC->TextOut(80, 32, strText);
    strText.Format("%d", int(pUser->dwBeanCount));
    pDC->TextOut(80, 52, strText);
    if (g_ServiceUnits.m_UserFaceModule.HasInterface()) {
        CRect rcFace(200, 12, 232, 44);
        g_ServiceUnits.m_UserFaceModule.GetInterface()->DrawFaceInRect(m_wFaceID, 0, pDC, &rcFace);
    }
    pDC->SelectObject(pOldFont);
}

HBRUSH CUserBaseInfoDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hBrush = CTabDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor != CTLCOLOR_STATIC)
        return hBrush;
    switch (pWnd->GetDlgCtrlID()) {
    case IDC_BASE_TITLE:
    case IDC_BASE_TITLE2: pDC->SetTextColor(RGB(0, 90, 103)); break;
    case IDC_BASE_ID_LABEL:
    case IDC_BASE_ACCOUNT_LABEL:
    case IDC_BASE_BEANS_LABEL:
    case IDC_BASE_NICK_LABEL:
    case IDC_BASE_GENDER_LABEL:
    case IDC_BASE_QQ_LABEL:
    case IDC_BASE_PHONE_LABEL:
    case IDC_BASE_EMAIL_LABEL:
    case IDC_BASE_SIGN_LABEL: pDC->SetTextColor(RGB(0, 0, 0)); break;
    default: return hBrush;
    }
    pDC->SetBkMode(TRANSPARENT);
    return HBRUSH(GetStockObject(NULL_BRUSH));
}
