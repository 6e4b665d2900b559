#include "UserBaseInfoExDlg.h"

#include <stdio.h>

#include "ServiceGlobalUnits.h"
#include "TextUnit.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CUserBaseInfoExDlg, CTabDlg)
    ON_CBN_SELCHANGE(IDC_EX_YEAR, OnYearOrMonthChange)
    ON_CBN_SELCHANGE(IDC_EX_MONTH, OnYearOrMonthChange)
    ON_CBN_SELCHANGE(IDC_EX_DAY, OnDayChange)
    ON_CBN_SELCHANGE(IDC_EX_PROVINCE, OnProvinceChange)
    ON_CBN_SELCHANGE(IDC_EX_CITY, OnCityChange)
    ON_CBN_SELCHANGE(IDC_EX_AREA, OnAreaChange)
    ON_EN_CHANGE(IDC_EX_ADDRESS, OnAddressChange)
END_MESSAGE_MAP()

namespace
{

const int kFirstYear = 1900;
const int kYears = 200;
// The record keeps 63 characters of the address.
const int kAddressLimit = 63;

} // namespace

CUserBaseInfoExDlg::CUserBaseInfoExDlg() : CTabDlg(IDD_USER_BASE_INFO_EX), m_pRegion(NULL) {}

int CUserBaseInfoExDlg::DaysOfMonth(int nYear, int nMonth)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nMonth < 1 || nMonth > 12)
        return 31;
    if (nMonth == 2 && (nYear % 400 == 0 || (nYear % 4 == 0 && nYear % 100 != 0)))
        return 29;
    return kDays[nMonth - 1];
}

CString CUserBaseInfoExDlg::MaskIdentity(LPCSTR pszIdentity)
{
    size_t nLength = strlen(pszIdentity);
    if (nLength <= 6)
        return pszIdentity;
    // Characters, not bytes: a double-byte character is never split.
    size_t nShown = 0;
    for (int i = 0; i < 6; ++i)
        nShown += TextCharSize(pszIdentity, nLength, nShown);
    CString strMasked(pszIdentity, int(nShown));
    for (size_t pos = nShown; pos < nLength; pos += TextCharSize(pszIdentity, nLength, pos))
        strMasked += "*";
    return strMasked;
}

BOOL CUserBaseInfoExDlg::OnInitDialog()
{
    CTabDlg::OnInitDialog();
    if (m_pRegion == NULL) {
        if (m_RegionModule.CreateInstance()) {
            m_pRegion = m_RegionModule.GetInterface();
        } else {
            AfxMessageBox("区域组件创建失败！");
        }
    }
    if (m_pRegion != NULL) {
        char szFolder[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof(szFolder), szFolder);
        CString strFile;
        strFile.Format("%s\\Config\\Original\\Region.ini", szFolder);
        if (!m_pRegion->LoadRegion(strFile))
            g_ServiceUnits.ShowTip("载入省市脚本失败", 2000);
    }
    CString strText;
    for (int i = 0; i < kYears; ++i) {
        strText.Format("%d", kFirstYear + i);
        Combo(IDC_EX_YEAR)->AddString(strText);
    }
    for (int i = 1; i <= 12; ++i) {
        strText.Format("%d", i);
        Combo(IDC_EX_MONTH)->AddString(strText);
    }
    for (int i = 1; i <= 31; ++i) {
        strText.Format("%d", i);
        Combo(IDC_EX_DAY)->AddString(strText);
    }
    FillProvinces();
    SendDlgItemMessage(IDC_EX_ADDRESS, EM_LIMITTEXT, kAddressLimit, 0);
    SendDlgItemMessage(IDC_EX_IDENTITY, EM_LIMITTEXT, 24, 0);
    GetDlgItem(IDC_EX_IDENTITY)->EnableWindow(FALSE);
    return TRUE;
}

void CUserBaseInfoExDlg::FillProvinces()
{
    CComboBox* pCombo = Combo(IDC_EX_PROVINCE);
    pCombo->ResetContent();
    pCombo->SetItemData(pCombo->AddString("请选择省"), 0);
    for (UINT i = 0; m_pRegion != NULL && i < m_pRegion->GetProvinceCount(); ++i) {
        IProvince* pProvince = m_pRegion->GetProvince(i);
        if (pProvince != NULL)
            pCombo->SetItemData(pCombo->AddString(pProvince->GetName()), pProvince->GetId());
    }
    pCombo->SetCurSel(0);
}

void CUserBaseInfoExDlg::FillCities(IProvince* pProvince)
{
    CComboBox* pCombo = Combo(IDC_EX_CITY);
    pCombo->ResetContent();
    pCombo->SetItemData(pCombo->AddString("请选择市"), 0);
    for (UINT i = 0; pProvince != NULL && i < pProvince->GetChildCount(); ++i) {
        ICity* pCity = pProvince->GetChild(i);
        if (pCity != NULL)
            pCombo->SetItemData(pCombo->AddString(pCity->GetName()), pCity->GetId());
    }
    pCombo->SetCurSel(0);
}

void CUserBaseInfoExDlg::FillAreas(ICity* pCity)
{
    CComboBox* pCombo = Combo(IDC_EX_AREA);
    pCombo->ResetContent();
    pCombo->SetItemData(pCombo->AddString("请选择区"), 0);
    for (UINT i = 0; pCity != NULL && i < pCity->GetChildCount(); ++i) {
        IArea* pArea = pCity->GetChild(i);
        if (pArea != NULL)
            pCombo->SetItemData(pCombo->AddString(pArea->GetName()), pArea->GetId());
    }
    pCombo->SetCurSel(0);
}

void CUserBaseInfoExDlg::FillDays()
{
    CComboBox* pDay = Combo(IDC_EX_DAY);
    int nSelected = pDay->GetCurSel();
    int nDays = DaysOfMonth(Combo(IDC_EX_YEAR)->GetCurSel() + kFirstYear, Combo(IDC_EX_MONTH)->GetCurSel() + 1);
    pDay->ResetContent();
    CString strText;
    for (int i = 1; i <= nDays; ++i) {
        strText.Format("%d", i);
        pDay->AddString(strText);
    }
    if (nSelected >= nDays)
        nSelected = nDays - 1;
    pDay->SetCurSel(nSelected);
}

void CUserBaseInfoExDlg::NotifyBirthday()
{
    CString strDate;
    strDate.Format("%d-%d-%d", Combo(IDC_EX_YEAR)->GetCurSel() + kFirstYear, Combo(IDC_EX_MONTH)->GetCurSel() + 1,
                   Combo(IDC_EX_DAY)->GetCurSel() + 1);
    NotifyModified(7, strDate);
}

void CUserBaseInfoExDlg::OnYearOrMonthChange()
{
    FillDays();
    NotifyBirthday();
}

void CUserBaseInfoExDlg::OnDayChange()
{
    NotifyBirthday();
}

void CUserBaseInfoExDlg::OnProvinceChange()
{
    CComboBox* pCombo = Combo(IDC_EX_PROVINCE);
    int nSel = pCombo->GetCurSel();
    IProvince* pProvince =
        m_pRegion != NULL && nSel > 0 ? m_pRegion->FindProvince(DWORD(pCombo->GetItemData(nSel))) : NULL;
    FillCities(pProvince);
    FillAreas(NULL);
}

void CUserBaseInfoExDlg::OnCityChange()
{
    CComboBox* pCombo = Combo(IDC_EX_CITY);
    int nSel = pCombo->GetCurSel();
    ICity* pCity = m_pRegion != NULL && nSel > 0 ? m_pRegion->FindCity(DWORD(pCombo->GetItemData(nSel))) : NULL;
    FillAreas(pCity);
}

void CUserBaseInfoExDlg::OnAreaChange()
{
    CComboBox* pCombo = Combo(IDC_EX_AREA);
    int nSel = pCombo->GetCurSel();
    if (nSel <= 0)
        return;
    CString strID;
    strID.Format("%d", int(pCombo->GetItemData(nSel)));
    NotifyModified(18, strID);
}

void CUserBaseInfoExDlg::OnAddressChange()
{
    CString strText;
    GetDlgItemText(IDC_EX_ADDRESS, strText);
    NotifyModified(10, strText);
}

void CUserBaseInfoExDlg::SetBirthday(LPCSTR pszBirthday)
{
    int nYear = 0, nMonth = 0, nDay = 0;
    if (sscanf(pszBirthday, "%d-%d-%d", &nYear, &nMonth, &nDay) != 3 || nYear < kFirstYear ||
        nYear >= kFirstYear + kYears || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > DaysOfMonth(nYear, nMonth))
        return;
    Combo(IDC_EX_YEAR)->SetCurSel(nYear - kFirstYear);
    Combo(IDC_EX_MONTH)->SetCurSel(nMonth - 1);
    FillDays();
    Combo(IDC_EX_DAY)->SetCurSel(nDay - 1);
}

bool CUserBaseInfoExDlg::SetRegion(DWORD dwAreaID)
{
    if (dwAreaID == 0 || m_pRegion == NULL)
        return false;
    IArea* pArea = m_pRegion->FindArea(dwAreaID);
    ICity* pCity = m_pRegion->FindCity(dwAreaID - dwAreaID % 100);
    IProvince* pProvince = m_pRegion->FindProvince(dwAreaID - dwAreaID % 10000);
    if (pArea == NULL || pCity == NULL || pProvince == NULL)
        return false;
    FillCities(pProvince);
    FillAreas(pCity);
    Combo(IDC_EX_PROVINCE)->SetCurSel(Combo(IDC_EX_PROVINCE)->FindStringExact(-1, pProvince->GetName()));
    Combo(IDC_EX_CITY)->SetCurSel(Combo(IDC_EX_CITY)->FindStringExact(-1, pCity->GetName()));
    Combo(IDC_EX_AREA)->SetCurSel(Combo(IDC_EX_AREA)->FindStringExact(-1, pArea->GetName()));
    return true;
}

void CUserBaseInfoExDlg::ShowAttribute(WORD wAttrID)
{
    if (GetSafeHwnd() == NULL)
        return;
    const tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
    switch (wAttrID) {
    case 7: SetBirthday(pUser->szBirthday); break;
    case 10: SetDlgItemText(IDC_EX_ADDRESS, pUser->szAddress); break;
    case 11: SetDlgItemText(IDC_EX_IDENTITY, MaskIdentity(pUser->szIdentity)); break;
    case 18: SetRegion(pUser->dwAreaID); break;
    default: break;
    }
}

void CUserBaseInfoExDlg::RefreshFromData()
{
    for (WORD wAttrID : {7, 11, 10, 18})
        ShowAttribute(wAttrID);
}
