#include "CreateTableDlg.h"

#include <SkinMessageBox.h>
#include <TextUnit.h>

#include <stdlib.h>

#include "BitmapRegion.h"
#include "GlobalUnits.h"
#include "TableView.h"
#include "resource.h"

namespace
{
const COLORREF kLabelColour = RGB(0, 112, 125);

// Each check box and the input it enables.
const struct
{
    UINT nCheck;
    UINT nInput;
} kCheckInputs[] = {{IDC_CREATE_PASS_CHECK, IDC_CREATE_PASS},         {IDC_CREATE_ROUNDS_CHECK, IDC_CREATE_ROUNDS},
                    {IDC_CREATE_MULTIPLE_CHECK, IDC_CREATE_MULTIPLE}, {IDC_CREATE_SCORE_CHECK, IDC_CREATE_SCORE},
                    {IDC_CREATE_FLEE_CHECK, IDC_CREATE_FLEE},         {IDC_CREATE_IP_CHECK, IDC_CREATE_IP}};
}

IMPLEMENT_DYNAMIC(CCreateTableDlg, CDialog)

BEGIN_MESSAGE_MAP(CCreateTableDlg, CDialog)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_CREATE_PASS_CHECK, IDC_CREATE_IP_CHECK, OnCheckClicked)
    ON_BN_CLICKED(IDC_CREATE_CLOSE, OnCloseClicked)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CCreateTableDlg::CCreateTableDlg(CTableOption* pTableOption, DWORD dwRuleFlags, CWnd* pParent)
    : CDialog(IDD_CREATE_TABLE, pParent), m_pTableOption(pTableOption), m_dwRuleFlags(dwRuleFlags)
{
    m_brBack.CreateSolidBrush(RGB(115, 181, 211));
}

CCreateTableDlg::~CCreateTableDlg() {}

CString CCreateTableDlg::GetHintText() const
{
    if (m_dwRuleFlags & CREATE_TABLE_NO_ROUNDS)
        return "本房间不允许设置房间局数！";
    if (m_dwRuleFlags & CREATE_TABLE_NO_MULTIPLE)
        return "本房间不允许设置倍数！";
    return "暂无提示信息！";
}

BOOL CCreateTableDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    const struct
    {
        UINT nID;
        const char* texts[4];
        int nCount;
        int nSelect;
    } lists[] = {{IDC_CREATE_NAME, {"幸苦好几年，输回解放前", "哥玩的不是牌，是寂寞", "出来玩，总是要还的"}, 3, 0},
                 {IDC_CREATE_ROUNDS, {"5", "10", "15", "20"}, 4, 0},
                 {IDC_CREATE_MULTIPLE, {"5", "10", "15", "20"}, 4, 0},
                 {IDC_CREATE_IP, {"3", "4"}, 2, 1}};
    for (const auto& list : lists) {
        for (int i = 0; i < list.nCount; ++i)
            SendDlgItemMessage(list.nID, CB_ADDSTRING, 0, (LPARAM)list.texts[i]);
        SendDlgItemMessage(list.nID, CB_SETCURSEL, list.nSelect, 0);
    }
    SendDlgItemMessage(IDC_CREATE_PASS, EM_LIMITTEXT, sizeof(m_pTableOption->m_szPassword) - 1, 0);
    SendDlgItemMessage(IDC_CREATE_NAME, CB_LIMITTEXT, sizeof(m_pTableOption->m_szText) - 1, 0);

    if (m_dwRuleFlags & CREATE_TABLE_NO_ROUNDS)
        GetDlgItem(IDC_CREATE_ROUNDS_CHECK)->EnableWindow(FALSE);
    if (m_dwRuleFlags & CREATE_TABLE_NO_MULTIPLE)
        GetDlgItem(IDC_CREATE_MULTIPLE_CHECK)->EnableWindow(FALSE);
    EnableInputs();

    const CString folder = CString(g_GlobalUnits.GetResourceDirectory()) + "gameroom\\CreateTable\\";
    m_Info.Load(folder + "info.bmp");
    m_btClose.SubclassDlgItem(IDC_CREATE_CLOSE, this);
    m_btClose.LoadRgnImage(CString(g_GlobalUnits.GetResourceDirectory()) + "common\\button\\tbclose.bmp",
                           RGB(255, 0, 255));
    if (m_Background.Load(folder + "CreateRoomBack.bmp")) {
        ApplyPictureRgn(&m_Background, m_hWnd);
        CRect rcClient;
        GetClientRect(&rcClient);
        CWnd* pClose = GetDlgItem(IDC_CREATE_CLOSE);
        CRect rcClose;
        pClose->GetWindowRect(&rcClose);
        pClose->SetWindowPos(NULL, rcClient.right - rcClose.Width() - 4, 4, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CenterWindow();
    return TRUE;
}

void CCreateTableDlg::EnableInputs()
{
    for (const auto& pair : kCheckInputs)
        GetDlgItem(pair.nInput)->EnableWindow(IsChecked(pair.nCheck));
}

void CCreateTableDlg::OnCheckClicked(UINT nID)
{
    for (const auto& pair : kCheckInputs)
        if (pair.nCheck == nID)
            GetDlgItem(pair.nInput)->EnableWindow(IsChecked(pair.nCheck));
}

void CCreateTableDlg::OnCloseClicked()
{
    OnCancel();
}

DWORD CCreateTableDlg::ReadNumber(UINT nID) const
{
    CString strText;
    GetDlgItemText(nID, strText);
    return strtoul(strText, NULL, 10);
}

void CCreateTableDlg::Refuse(UINT nFocusID, LPCSTR pszText)
{
    GotoDlgCtrl(GetDlgItem(nFocusID));
    SkinMessageBox(m_hWnd, pszText, "提示消息", MB_ICONINFORMATION);
}

void CCreateTableDlg::OnOK()
{
    if (m_pTableOption == NULL) {
        EndDialog(IDOK);
        return;
    }
    CString strName, strPassword;
    GetDlgItemText(IDC_CREATE_NAME, strName);
    if (strName.IsEmpty()) {
        Refuse(IDC_CREATE_NAME, "请输入创建桌子名称！");
        return;
    }
    const bool bPassword = IsChecked(IDC_CREATE_PASS_CHECK);
    GetDlgItemText(IDC_CREATE_PASS, strPassword);
    if (bPassword && strPassword.IsEmpty()) {
        Refuse(IDC_CREATE_PASS, "请填写桌子密码！");
        return;
    }

    tagTableOptionRecord& record = m_pTableOption->Record();
    record.m_cbPassword = bPassword ? 1 : 0;
    if (bPassword)
        TextCopyField(record.m_szPassword, strPassword);
    TextCopyField(record.m_szText, strName);
    if (IsChecked(IDC_CREATE_ROUNDS_CHECK))
        record.m_wValue1 = (WORD)ReadNumber(IDC_CREATE_ROUNDS);
    if (IsChecked(IDC_CREATE_MULTIPLE_CHECK))
        record.m_cbValue1 = (BYTE)ReadNumber(IDC_CREATE_MULTIPLE);
    record.m_cbValue2 = IsChecked(IDC_CREATE_SCORE_CHECK) ? 1 : 0;
    if (record.m_cbValue2)
        record.m_dwValue = ReadNumber(IDC_CREATE_SCORE);
    record.m_cbValue3 = IsChecked(IDC_CREATE_FLEE_CHECK) ? 1 : 0;
    if (record.m_cbValue3) {
        // More than the field holds keeps the largest rather than wrapping.
        const DWORD dwRate = ReadNumber(IDC_CREATE_FLEE);
        record.m_wValue2 = dwRate > 0xFFFF ? WORD(0xFFFF) : (WORD)dwRate;
    }
    record.m_cbIPLimit = IsChecked(IDC_CREATE_IP_CHECK) ? 1 : 0;
    if (record.m_cbIPLimit)
        record.m_cbIPLength = (BYTE)ReadNumber(IDC_CREATE_IP);
    EndDialog(IDOK);
}

void CCreateTableDlg::OnPaint()
{
    CPaintDC dc(this);
    if (m_Background.IsValid())
        m_Background.Draw(dc.GetSafeHdc(), 0, 0);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (m_Info.IsValid())
        m_Info.Draw(dc.GetSafeHdc(), 12, rcClient.bottom - 64);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kLabelColour);
    CFont* pOldFont = dc.SelectObject(GetFont());
    dc.TextOut(16, 34, "房间名称");
    CRect rcHint(36, rcClient.bottom - 62, rcClient.right - 12, rcClient.bottom - 44);
    dc.DrawText(GetHintText(), &rcHint, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    dc.SelectObject(pOldFont);
}

HBRUSH CCreateTableDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_STATIC && pWnd != NULL && (WORD)pWnd->GetDlgCtrlID() == (WORD)IDC_STATIC) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(kLabelColour);
        return (HBRUSH)m_brBack.GetSafeHandle();
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CCreateTableDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    CDialog::OnLButtonDown(nFlags, point);
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}
