#include "PrefectSelfInfo.h"

#include <SkinMessageBox.h>

#include <string.h>

#include "GlobalUnits.h"
#include "IRegionManager.h"
#include "TextUnit.h"

namespace
{

const char kProvince[] = "河南省";
const char kSubmitTitle[] = "提交资料";

// A field of a record from outside, read within its width and cut on a
// whole character.
CString CutFieldText(const char* pField, size_t nWidth)
{
    char szText[256];
    size_t nLength = strnlen(pField, nWidth);
    TextCopyField(szText, sizeof(szText) < nWidth + 1 ? sizeof(szText) : nWidth + 1, pField, nLength);
    return szText;
}

bool IsIdCardNumber(const CString& strText)
{
    int nLength = strText.GetLength();
    if (nLength != 15 && nLength != 18)
        return false;
    for (int i = 0; i + 1 < nLength; i++) {
        if (strText[i] < '0' || strText[i] > '9')
            return false;
    }
    return true;
}

} // namespace

BEGIN_MESSAGE_MAP(CPrefectSelfInfo, CRgnDialog)
    ON_WM_CTLCOLOR()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPrefectSelfInfo::CPrefectSelfInfo(bool bPrefill, CWnd* pParent)
    : CRgnDialog(IDD, pParent), m_bPrefill(bPrefill), m_bKind(true), m_nCities(0), m_nSelectedCity(-1),
      m_dwSavedCity(0), m_pRegions(NULL)
{
    memset(m_dwCityIds, 0, sizeof(m_dwCityIds));
    m_TitleFont.CreateFont(14, 0, 0, 0, 700, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
}

CPrefectSelfInfo::~CPrefectSelfInfo() {}

void CPrefectSelfInfo::SetUserInfo(bool bKind, const tagAccountNotice& info)
{
    if (!m_bPrefill)
        return;
    m_bKind = bKind;
    m_dwSavedCity = info.dwValue;
    m_strRealName = CutFieldText(info.szText1, sizeof(info.szText1));
    m_strTelephone = CutFieldText(info.szText2, sizeof(info.szText2));
    m_strIdCard = CutFieldText(info.szText3, sizeof(info.szText3));
    m_strText4 = CutFieldText(info.szText4, sizeof(info.szText4));
}

DWORD CPrefectSelfInfo::GetSelectedEntry() const
{
    if (m_nSelectedCity < 1 || m_nSelectedCity > m_nCities)
        return 0;
    return m_dwCityIds[m_nSelectedCity - 1];
}

BOOL CPrefectSelfInfo::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    m_Background.SetLoadInfo(CString(g_GlobalUnits.GetResourceDirectory()) +
                             "gameroom\\PrefectSelfInfo\\PrefectInfo.png");
    m_Background.LoadImage();
    SetWindowText("报名参赛");

    static const UINT kEdits[] = {IDC_REAL_NAME, IDC_TELEPHONE, IDC_ID_CARD, IDC_TELEPHONE_AGAIN};
    for (int i = 0; i < 4; i++)
        m_Edits[i].SubclassDlgItem(kEdits[i], this);
    // The record's fields are this wide.
    m_Edits[0].LimitText(63);
    m_Edits[1].LimitText(31);
    m_Edits[2].LimitText(31);
    m_Edits[3].LimitText(31);
    m_Province.SubclassDlgItem(IDC_PROVINCE, this);
    m_City.SubclassDlgItem(IDC_CITY, this);
    m_CityAgain.SubclassDlgItem(IDC_CITY_AGAIN, this);
    m_btOK.SubclassDlgItem(IDOK, this);
    m_btCancel.SubclassDlgItem(IDCANCEL, this);

    m_Province.ResetContent();
    m_Province.SetCurSel(m_Province.AddString("河南"));

    IRegionManager* pRegions = m_pRegions != NULL ? m_pRegions : g_GlobalUnits.GetRegionManager();
    IProvince* pProvince = NULL;
    if (pRegions != NULL) {
        WORD wCount = pRegions->GetProvinceCount();
        for (UINT i = 0; i < wCount; i++) {
            IProvince* pItem = pRegions->GetProvince(i);
            if (pItem != NULL && pItem->GetName() != NULL && strcmp(pItem->GetName(), kProvince) == 0) {
                pProvince = pItem;
                break;
            }
        }
    }
    m_City.ResetContent();
    m_CityAgain.ResetContent();
    m_City.InsertString(0, "选择城市");
    m_CityAgain.InsertString(0, "确认城市");
    m_nCities = 0;
    memset(m_dwCityIds, 0, sizeof(m_dwCityIds));
    // The table holds the first cities only.
    for (UINT i = 0; pProvince != NULL && i < MAX_CITIES; i++) {
        ICity* pCity = pProvince->GetChild(i);
        if (pCity == NULL)
            break;
        char szName[64];
        TextCopyField(szName, pCity->GetName());
        m_City.InsertString(i + 1, szName);
        m_CityAgain.InsertString(i + 1, szName);
        m_dwCityIds[i] = pCity->GetId();
        m_nCities = i + 1;
    }
    m_City.SetCurSel(0);
    if (!m_bPrefill) {
        m_CityAgain.SetCurSel(0);
    } else {
        SetDlgItemText(IDC_REAL_NAME, m_strRealName);
        SetDlgItemText(IDC_TELEPHONE, m_strTelephone);
        SetDlgItemText(IDC_ID_CARD, m_strIdCard);
        for (int i = 0; i < m_nCities; i++) {
            if (m_dwCityIds[i] == m_dwSavedCity) {
                m_City.SetCurSel(i + 1);
                break;
            }
        }
    }
    return TRUE;
}

void CPrefectSelfInfo::CheckFailed(LPCSTR pszText, UINT nFocusID)
{
    ShowWindow(SW_SHOW);
    BringWindowToTop();
    SkinMessageBox(NULL, pszText, kSubmitTitle, MB_ICONQUESTION);
    if (nFocusID != 0) {
        if (CWnd* pFocus = GetDlgItem(nFocusID))
            pFocus->SetFocus();
    }
}

void CPrefectSelfInfo::OnOK()
{
    CString strName, strPhone, strIdCard, strPhoneAgain;
    GetDlgItemText(IDC_REAL_NAME, strName);
    strName.Trim();
    if (strName.IsEmpty())
        return CheckFailed("请正确输入姓名！", IDC_REAL_NAME);
    GetDlgItemText(IDC_TELEPHONE, strPhone);
    if (strPhone.IsEmpty())
        return CheckFailed("请输入正确的电话！", IDC_TELEPHONE);
    GetDlgItemText(IDC_ID_CARD, strIdCard);
    if (!IsIdCardNumber(strIdCard))
        return CheckFailed("请输入正确的身份证号码！", IDC_ID_CARD);
    int nCity = m_City.GetCurSel();
    if (nCity <= 0)
        return CheckFailed("请选择正确的城市！", IDC_CITY);
    if (m_CityAgain.GetCurSel() != nCity)
        return CheckFailed("两次选择的城市不同！", IDC_CITY_AGAIN);
    m_nSelectedCity = nCity;
    GetDlgItemText(IDC_TELEPHONE_AGAIN, strPhoneAgain);
    if (strPhoneAgain != strPhone)
        return CheckFailed("两次输入的电话号码不同！", 0);
    m_strRealName = strName;
    m_strTelephone = strPhone;
    m_strIdCard = strIdCard;
    if (AfxMessageBox("填写资料准确，确认提交", MB_YESNO) == IDNO)
        return;
    EndDialog(IDOK);
}

HBRUSH CPrefectSelfInfo::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hBrush = CRgnDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    int nID = pWnd != NULL ? pWnd->GetDlgCtrlID() : 0;
    if (nID >= 1079 && nID <= 1085)
        pDC->SetTextColor(RGB(255, 0, 0));
    return hBrush;
}

void CPrefectSelfInfo::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    dc.FillSolidRect(&rcClient, RGB(239, 246, 253));
    if (!m_Background.IsNull())
        m_Background.BitBlt(dc.GetSafeHdc(), (rcClient.Width() - m_Background.GetWidth()) / 2, 30);
    CWnd* pFrame = GetDlgItem(IDC_CONFIRM_FRAME);
    if (pFrame == NULL)
        return;
    CRect rcFrame;
    pFrame->GetWindowRect(&rcFrame);
    ScreenToClient(&rcFrame);
    CFont* pOldFont = dc.SelectObject(&m_TitleFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 0, 0));
    dc.TextOut(rcFrame.left, rcFrame.top - 25, "参赛信息确认");
    dc.SelectObject(pOldFont);
    CPen pen(PS_SOLID, 1, RGB(1, 65, 77));
    CPen* pOldPen = dc.SelectObject(&pen);
    HGDIOBJ hOldBrush = dc.SelectObject(::GetStockObject(NULL_BRUSH));
    dc.Rectangle(&rcFrame);
    dc.SelectObject(pOldPen);
    ::SelectObject(dc.GetSafeHdc(), hOldBrush);
    CRect rcInside = rcFrame;
    rcInside.DeflateRect(1, 1);
    dc.FillSolidRect(&rcInside, RGB(239, 246, 253));
}
