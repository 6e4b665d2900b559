#include "RoomBankStoragePassDlg.h"

#include <SkinMessageBox.h>

#include "GlobalUnits.h"
#include "PasswordInputDlg.h"
#include "resource.h"

namespace
{
const UINT_PTR kFocusTimer = 1;
const UINT kFocusDelay = 100;
}

IMPLEMENT_DYNAMIC(CRoomBankStoragePassDlg, CDialog)

BEGIN_MESSAGE_MAP(CRoomBankStoragePassDlg, CDialog)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CRoomBankStoragePassDlg::CRoomBankStoragePassDlg(CWnd* pParent) : CDialog(IDD_ROOM_PASSWORD, pParent)
{
    m_brWhite.CreateSolidBrush(RGB(255, 255, 255));
}

CRoomBankStoragePassDlg::~CRoomBankStoragePassDlg() {}

BOOL CRoomBankStoragePassDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText("保险箱密码");
    SetDlgItemText(IDC_PASS_TEXT, "请输入您的保险箱密码！");
    SendDlgItemMessage(IDC_PASS_EDIT, EM_LIMITTEXT, ROOM_PASSWORD_LENGTH, 0);

    const CString folder = g_GlobalUnits.GetResourceDirectory();
    m_btOK.SubclassDlgItem(IDOK, this);
    m_btOK.LoadRgnImage(folder + "Common\\button\\btn.bmp", RGB(255, 0, 255));
    m_btCancel.SubclassDlgItem(IDCANCEL, this);
    m_btCancel.LoadRgnImage(folder + "Common\\button\\btn.bmp", RGB(255, 0, 255));
    if (m_Background.Load(folder + "gameroom\\BankerStorage\\PassDlg.bmp")) {
        // The client area takes the picture's size.
        CRect rcWindow, rcClient;
        GetWindowRect(&rcWindow);
        GetClientRect(&rcClient);
        SetWindowPos(NULL, 0, 0, rcWindow.Width() - rcClient.Width() + (int)m_Background.GetWidth(),
                     rcWindow.Height() - rcClient.Height() + (int)m_Background.GetHeight(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const struct
        {
            UINT nID;
            int x, y, cx, cy;
        } places[] = {{IDC_PASS_TEXT, 76, 53, 164, 27},
                      {IDC_PASS_EDIT, 32, 75, 232, 21},
                      {IDOK, 47, 107, 75, 23},
                      {IDCANCEL, 170, 107, 75, 23}};
        for (const auto& place : places) {
            CWnd* pItem = GetDlgItem(place.nID);
            if (pItem != NULL)
                pItem->SetWindowPos(NULL, place.x, place.y, place.cx, place.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        CenterWindow();
    }
    SetTimer(kFocusTimer, kFocusDelay, NULL);
    return TRUE;
}

void CRoomBankStoragePassDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kFocusTimer) {
        KillTimer(kFocusTimer);
        GotoDlgCtrl(GetDlgItem(IDC_PASS_EDIT));
        return;
    }
    CDialog::OnTimer(nIDEvent);
}

void CRoomBankStoragePassDlg::OnOK()
{
    GetDlgItemText(IDC_PASS_EDIT, m_strPassword);
    if (m_strPassword.IsEmpty()) {
        SkinMessageBox(m_hWnd, "请您输入保险箱密码！", "提示消息", MB_ICONINFORMATION);
        GotoDlgCtrl(GetDlgItem(IDC_PASS_EDIT));
        return;
    }
    CDialog::OnOK();
}

void CRoomBankStoragePassDlg::OnPaint()
{
    CPaintDC dc(this);
    if (m_Background.IsValid())
        m_Background.Draw(dc.GetSafeHdc(), 0, 0);
}

BOOL CRoomBankStoragePassDlg::OnEraseBkgnd(CDC* pDC)
{
    if (m_Background.IsValid())
        return TRUE;
    return CDialog::OnEraseBkgnd(pDC);
}

HBRUSH CRoomBankStoragePassDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetTextColor(RGB(36, 36, 36));
        pDC->SetBkMode(TRANSPARENT);
        return (HBRUSH)m_brWhite.GetSafeHandle();
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CRoomBankStoragePassDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    CDialog::OnLButtonDown(nFlags, point);
    // The body drags the dialog.
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}
