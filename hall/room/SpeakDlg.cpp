#include "SpeakDlg.h"

#include <string.h>

#include "ChatBar.h"
#include "ItemShop.h"
#include "RoomKeyState.h"
#include "RoomViewItem.h"
#include "TextUnit.h"
#include "resource.h"

ISpeakerShop* CSpeakDlg::s_pShop = NULL;

namespace
{
// The hall's one item shop: the frame hands it the user's owned items as
// the hall server reports them.
class CHallSpeakerShop : public ISpeakerShop
{
public:
    WORD GetSpeakerCount() override { return GetItemShop()->GetItemShopManager()->GetOwnItemCount(SPEAKER_ITEM_ID); }
    void ShowItemShop() override { GetItemShop()->ShowShop(); }
};
} // namespace

BEGIN_MESSAGE_MAP(CSpeakEdit, CEdit)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// Ctrl+Enter never reaches the dialog; Enter alone is the send button.
BOOL CSpeakEdit::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && RoomCtrlKeyDown()())
        return TRUE;
    return CEdit::PreTranslateMessage(pMsg);
}

void CSpeakEdit::OnPaint()
{
    CWnd* pParent = GetParent();
    if (pParent != NULL) {
        CRect rect;
        GetWindowRect(&rect);
        pParent->ScreenToClient(&rect);
        rect.InflateRect(1, 1);
        CClientDC dc(pParent);
        dc.Draw3dRect(&rect, SPEAK_FRAME_COLOUR, SPEAK_FRAME_COLOUR);
    }
    Default();
}

BEGIN_MESSAGE_MAP(CSpeakDlg, CRgnDialog)
    ON_EN_CHANGE(IDC_SPEAK_EDIT, OnEditChange)
    ON_MESSAGE(WM_SPEAKER_COUNT, OnSpeakerCount)
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSpeakDlg::CSpeakDlg(CRoomViewItem* pView) : CRgnDialog(IDD_SPEAK, NULL), m_pView(pView), m_wSpeakerCount(0)
{
    m_szMessage[0] = 0;
    m_BackBrush.CreateSolidBrush(SPEAK_BACK_COLOUR);
}

CSpeakDlg::~CSpeakDlg() {}

ISpeakerShop* CSpeakDlg::InstallShop(ISpeakerShop* pShop)
{
    ISpeakerShop* pOld = s_pShop;
    s_pShop = pShop;
    return pOld;
}

ISpeakerShop* CSpeakDlg::GetShop()
{
    static CHallSpeakerShop s_HallShop;
    return s_pShop != NULL ? s_pShop : &s_HallShop;
}

BOOL CSpeakDlg::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    SetWindowText("小喇叭");
    m_Edit.SubclassDlgItem(IDC_SPEAK_EDIT, this);
    m_btSend.SubclassDlgItem(IDOK, this);
    m_Edit.LimitText(SPEAKER_TEXT_LIMIT);
    ShowRemaining(0);
    m_wSpeakerCount = m_pView != NULL ? m_pView->GetSpeakerCount() : GetShop()->GetSpeakerCount();
    ShowCount();
    return TRUE;
}

void CSpeakDlg::ShowRemaining(int nLength)
{
    SetDlgItemInt(IDC_SPEAK_REMAIN, UINT(SPEAKER_TEXT_LIMIT - nLength), FALSE);
}

void CSpeakDlg::ShowCount()
{
    SetDlgItemInt(IDC_SPEAK_COUNT, m_wSpeakerCount, FALSE);
}

// Lengths count bytes: a Chinese character counts two. A paste past the
// limit is cut on a whole character.
void CSpeakDlg::OnEditChange()
{
    if (m_Edit.GetSafeHwnd() == NULL)
        return;
    CString strText;
    m_Edit.GetWindowText(strText);
    const CString strKept = CChatBar::LimitText(strText, SPEAKER_TEXT_LIMIT);
    if (strKept.GetLength() != strText.GetLength()) {
        m_Edit.SetWindowText(strKept);
        m_Edit.SetSel(strKept.GetLength(), strKept.GetLength());
        return;
    }
    ShowRemaining(strText.GetLength());
}

LRESULT CSpeakDlg::OnSpeakerCount(WPARAM wParam, LPARAM lParam)
{
    m_wSpeakerCount = WORD(wParam);
    ShowCount();
    return 0;
}

void CSpeakDlg::OnOK()
{
    char szText[1024] = "";
    ::GetWindowTextA(m_Edit.GetSafeHwnd(), szText, sizeof(szText));
    TextCopyField(m_szMessage, szText);
    const int nLength = int(strlen(m_szMessage));
    if (m_wSpeakerCount == 0) {
        if (AfxMessageBox("您没有小喇叭，是否购买小喇叭？", MB_YESNO | MB_ICONQUESTION) == IDYES) {
            EndDialog(IDCANCEL);
            GetShop()->ShowItemShop();
        }
        return;
    }
    if (nLength == 0) {
        AfxMessageBox("你未输入信息！");
        m_Edit.SetWindowText("");
        ShowRemaining(0);
        m_Edit.SetFocus();
        return;
    }
    if (nLength > SPEAKER_TEXT_LIMIT) {
        AfxMessageBox("你输入的聊天信息过长,请重新输入！");
        m_Edit.SetFocus();
        return;
    }
    // A line the room did not take stays in the edit to be sent again.
    if (m_pView == NULL || !m_pView->SendSpeakerText(m_szMessage))
        return;
    m_Edit.SetWindowText("");
    ShowRemaining(0);
}

HBRUSH CSpeakDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    const int nID = pWnd != NULL ? pWnd->GetDlgCtrlID() : 0;
    if (nCtlColor == CTLCOLOR_STATIC && (nID == int(IDC_SPEAK_COUNT) || nID == int(IDC_SPEAK_REMAIN))) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(SPEAK_TEXT_COLOUR);
        return (HBRUSH)m_BackBrush.GetSafeHandle();
    }
    if (nCtlColor == CTLCOLOR_STATIC || nCtlColor == CTLCOLOR_DLG) {
        pDC->SetBkMode(TRANSPARENT);
        return (HBRUSH)m_BackBrush.GetSafeHandle();
    }
    return CRgnDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

BOOL CSpeakDlg::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, SPEAK_BACK_COLOUR);
    return TRUE;
}
