#include "ShortMessage.h"

#include <string.h>

#include "ChatBar.h"
#include "GlobalUnits.h"
#include "RoomKeyState.h"
#include "RoomViewItem.h"
#include "TextUnit.h"
#include "UserItem.h"
#include "UserManager.h"
#include "resource.h"

namespace
{

const char kIllegal[] = "不能发送非法字符，发送失败！";
const char kPartnerLeft[] = "[%s]目标玩家已经离开，信息发送失败！";
const char kSendFailed[] = "未知异常错误，消息发送失败！";

// Rich text a control would take as markup, and control characters other
// than line breaks (bytes 0x00-0x1D and 0xFF), are never sent.
bool IsLegalWhisper(const char* pszText)
{
    if (strstr(pszText, "{\\rtf") != NULL)
        return false;
    for (const char* p = pszText; *p != 0; ++p) {
        const signed char c = static_cast<signed char>(*p);
        if (c == '\r' || c == '\n')
            continue;
        if (c >= -1 && c <= 29)
            return false;
    }
    return true;
}

void DrawFrame(CWnd* pWnd, int nGrow, COLORREF crColour)
{
    CWnd* pParent = pWnd->GetParent();
    if (pParent == NULL)
        return;
    CRect rect;
    pWnd->GetWindowRect(&rect);
    pParent->ScreenToClient(&rect);
    rect.InflateRect(nGrow, nGrow);
    CClientDC dc(pParent);
    dc.Draw3dRect(&rect, crColour, crColour);
}

} // namespace

BEGIN_MESSAGE_MAP(CMsgEdit, CEdit)
    ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CMsgEdit::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && RoomCtrlKeyDown()()) {
        CShortMessage* pDialog = dynamic_cast<CShortMessage*>(GetParent());
        if (pDialog != NULL)
            pDialog->OnSendMessage();
        return TRUE;
    }
    return CEdit::PreTranslateMessage(pMsg);
}

void CMsgEdit::OnPaint()
{
    Default();
    DrawFrame(this, 1, WHISPER_FRAME_COLOUR);
}

BEGIN_MESSAGE_MAP(CMsgRichEdit, CSkinRichEdit)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CMsgRichEdit::OnPaint()
{
    Default();
    DrawFrame(this, 2, WHISPER_FRAME_COLOUR);
}

BEGIN_MESSAGE_MAP(CShortMessage, CRgnDialog)
    ON_BN_CLICKED(IDC_WHISPER_SEND, OnSendMessage)
    ON_BN_CLICKED(IDC_WHISPER_CLOSE, OnCloseButton)
    ON_EN_CHANGE(IDC_WHISPER_INPUT, OnInputChange)
    ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

CShortMessage::CShortMessage(CRoomViewItem* pView)
    : CRgnDialog(IDD_SHORT_MESSAGE, NULL), m_pView(pView), m_dwPartnerID(0)
{
    AfxInitRichEdit2();
}

CShortMessage::~CShortMessage()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CShortMessage::CreateWindowOnly()
{
    return Create(IDD_SHORT_MESSAGE, NULL);
}

BOOL CShortMessage::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    m_Input.SubclassDlgItem(IDC_WHISPER_INPUT, this);
    m_History.SubclassDlgItem(IDC_WHISPER_HISTORY, this);
    m_btSend.SubclassDlgItem(IDC_WHISPER_SEND, this);
    m_btClose.SubclassDlgItem(IDC_WHISPER_CLOSE, this);
    if (m_dwPartnerID != 0)
        UpdateTitle("%s - 会话");
    m_History.SetBackgroundColor(FALSE, WHISPER_BACK_COLOUR);
    m_Input.LimitText(WHISPER_TEXT_LIMIT);
    m_Input.SetFocus();
    return FALSE;
}

void CShortMessage::UpdateTitle(LPCSTR pszFormat)
{
    CString strTitle;
    strTitle.Format(pszFormat, (LPCSTR)m_strPartnerName);
    SetWindowText(strTitle);
}

void CShortMessage::SetChatUser(const CUserItem* pUserItem)
{
    if (pUserItem == NULL)
        return;
    const DWORD dwUserID = pUserItem->GetUserID();
    if (m_dwPartnerID != 0 && m_dwPartnerID != dwUserID && GetSafeHwnd() != NULL) {
        m_History.SetWindowText("");
        m_Input.SetWindowText("");
    }
    char szName[sizeof(pUserItem->GetUserData()->szNickName) + 1];
    TextCopyField(szName, sizeof(szName), pUserItem->GetUserData()->szNickName,
                  strnlen(pUserItem->GetUserData()->szNickName, sizeof(pUserItem->GetUserData()->szNickName)));
    m_strPartnerName = szName;
    m_dwPartnerID = dwUserID;
    if (GetSafeHwnd() != NULL) {
        UpdateTitle(" %s - 会话");
        m_Input.SetFocus();
        Invalidate();
    }
}

CUserItem* CShortMessage::FindPartner() const
{
    if (m_pView == NULL || m_dwPartnerID == 0)
        return NULL;
    CRoomDataCenter* pDataCenter = m_pView->GetRoomDataCenter();
    CUserManager* pUsers = pDataCenter != NULL ? pDataCenter->GetUserManager() : NULL;
    return pUsers != NULL ? pUsers->SearchUserItem(m_dwPartnerID) : NULL;
}

void CShortMessage::OnSendMessage()
{
    if (m_Input.GetSafeHwnd() == NULL)
        return;
    m_Input.SetFocus();
    char szText[1024] = "";
    ::GetWindowTextA(m_Input.GetSafeHwnd(), szText, sizeof(szText));
    if (szText[0] == 0)
        return;
    if (FindPartner() == NULL) {
        CString strNotice;
        strNotice.Format(kPartnerLeft, (LPCSTR)AfxGetCurrentTime().Format("%H:%M:%S"));
        InsertNotice(strNotice);
        return;
    }
    if (!IsLegalWhisper(szText)) {
        InsertNotice(kIllegal);
        return;
    }
    // What the history shows is what the partner gets.
    const CString strText = CChatBar::LimitText(szText, WHISPER_TEXT_LIMIT);
    CRoomDataCenter* pDataCenter = m_pView->GetRoomDataCenter();
    IRoomDataCenter* pSender = pDataCenter;
    if (pSender == NULL || !pSender->SendWhisper(m_dwPartnerID, strText, 0)) {
        InsertNotice(kSendFailed);
        return;
    }
    m_Input.SetWindowText("");
    const tagGlobalUserData* pMe = g_GlobalUnits.GetGlobalUserData();
    char szName[sizeof(pMe->szNickName) + 1];
    TextCopyField(szName, sizeof(szName), pMe->szNickName, strnlen(pMe->szNickName, sizeof(pMe->szNickName)));
    InsertMessage(szName, strText, 0, true);
}

void CShortMessage::AppendText(LPCSTR pszText, COLORREF crColour, LONG lIndent)
{
    m_History.SetSel(-1, -1);
    PARAFORMAT pf = {};
    pf.cbSize = sizeof(pf);
    pf.dwMask = PFM_STARTINDENT;
    pf.dxStartIndent = lIndent;
    m_History.SetParaFormat(pf);
    CHARFORMAT cf = {};
    cf.cbSize = sizeof(cf);
    cf.dwMask = CFM_COLOR;
    cf.crTextColor = crColour;
    m_History.SetSelectionCharFormat(cf);
    m_History.ReplaceSel(pszText);
}

bool CShortMessage::InsertMessage(LPCSTR pszName, LPCSTR pszText, COLORREF crColour, bool bOwn)
{
    if (pszText == NULL || pszText[0] == 0 || m_History.GetSafeHwnd() == NULL)
        return false;
    const CString strTime = AfxGetCurrentTime().Format("%H:%M:%S");
    char szHeader[128];
    _snprintf(szHeader, sizeof(szHeader) - 1, "%s %s\n", pszName != NULL ? pszName : "", (LPCSTR)strTime);
    szHeader[sizeof(szHeader) - 1] = 0;
    AppendText(szHeader, bOwn ? WHISPER_OWN_HEADER : WHISPER_OTHER_HEADER, 0);
    AppendText(pszText, crColour, WHISPER_TEXT_INDENT);
    AppendText("\r\n", crColour, WHISPER_TEXT_INDENT);
    return true;
}

bool CShortMessage::InsertNotice(LPCSTR pszText)
{
    if (pszText == NULL || pszText[0] == 0 || m_History.GetSafeHwnd() == NULL)
        return false;
    AppendText(pszText, WHISPER_NOTICE_COLOUR, 0);
    AppendText("\r\n", 0, 0);
    return true;
}

void CShortMessage::OnInputChange()
{
    CString strText;
    m_Input.GetWindowText(strText);
    const CString strKept = CChatBar::LimitText(strText, WHISPER_TEXT_LIMIT);
    if (strKept.GetLength() == strText.GetLength())
        return;
    m_Input.SetWindowText(strKept);
    m_Input.SetSel(strKept.GetLength(), strKept.GetLength());
}

void CShortMessage::OnOK()
{
    OnSendMessage();
}

void CShortMessage::OnCancel()
{
    DestroyWindow();
}

void CShortMessage::OnCloseButton()
{
    DestroyWindow();
}

void CShortMessage::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    lpMMI->ptMinTrackSize.x = 300;
    lpMMI->ptMinTrackSize.y = 250;
}
