#include "ChatBar.h"

#include <stdlib.h>
#include <string.h>

#include "GameRoom.h"
#include "GlobalUnits.h"
#include "IMessageProxy.h"
#include "RoomViewItem.h"
#include "TextUnit.h"

namespace
{

const char kGuestRefused[] = "温馨提示：对不起，您是游客，无法发言，请登录！";
const char kMemberOnly[] = "温馨提示：对不起，普通用户无法在该房间中发言，只有会员才可以在房间中发言！";
const char kTooFast[] = "温馨提示：对不起，您说话太快了，坐下来，泡杯茶休息会儿吧！";
const char kMuted[] = "对不起，您被限制发言，如有疑问，请与管理员联系！";
const char kTooLong[] = "温馨提示：对不起，您输入的发言过长，请减小输入！";
const char kTooManyEmotions[] = "温馨提示：对不起，您输入的表情过多，请减小输入！";

const int kMaxListedRooms = 256;

} // namespace

const char* const CChatBar::s_QuickPhrases[11] = {
    "快点吧我等的花儿也谢了",
    "大家好，很高兴见到各位！",
    "怎么又断线了，网络太差了...",
    "不要走，决战到天亮。",
    "和你合作真是太愉快了...",
    "我们交个朋友，能告诉我你的联系方式吗？",
    "你是MM,还是GG?",
    "快点，花儿都凋谢了！",
    "痛快，痛快，来十斤牛肉，八碗好酒！",
    "不要吵了，有什么好吵的...",
    "再见了，我会想念大家的！BYE",
};

COLORREF CChatBar::s_crChatColour = 0;

BEGIN_MESSAGE_MAP(CChatBar, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_BN_CLICKED(IDC_CHAT_SEND, OnSendButton)
    ON_CONTROL(CBN_EDITCHANGE, IDC_CHAT_INPUT, OnInputChange)
END_MESSAGE_MAP()

CChatBar::CChatBar() : m_pOwner(NULL) {}

CChatBar::~CChatBar() {}

BOOL CChatBar::CreateBar(CWnd* pParent, const CRect& rect, UINT nID)
{
    return Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, pParent, nID);
}

int CChatBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_Font.CreateFont(12, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH, "宋体");
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP;
    m_TargetList.Create(dwStyle | CBS_DROPDOWNLIST, CRect(8, 2, 96, 202), this, IDC_CHAT_TARGET);
    m_ChatInput.Create(dwStyle | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(104, 2, 200, 202), this, IDC_CHAT_INPUT);
    m_TargetList.SetFont(&m_Font);
    m_ChatInput.SetFont(&m_Font);
    m_TargetList.SetItemData(m_TargetList.AddString("所有人"), 0);
    m_TargetList.SetCurSel(0);
    m_ChatInput.LimitText(CHAT_TEXT_LIMIT);
    for (const char* pszPhrase : s_QuickPhrases)
        m_ChatInput.AddString(pszPhrase);
    CString strArrow;
    strArrow.Format("%sCommon\\button\\arrow.bmp", g_GlobalUnits.GetResourceDirectory());
    m_TargetList.LoadArrow(strArrow);
    m_ChatInput.LoadArrow(strArrow);
    m_btSend.Create(NULL, WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 2, 40, 22), this, IDC_CHAT_SEND);
    CString strSend;
    strSend.Format("%sGameRoom\\Chat\\send_chat.bmp", g_GlobalUnits.GetResourceDirectory());
    m_btSend.LoadRgnImage(strSend, RGB(255, 0, 255));
    CRect rect;
    GetClientRect(&rect);
    LayoutControls(rect.Width());
    return 0;
}

void CChatBar::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    LayoutControls(cx);
}

void CChatBar::LayoutControls(int cx)
{
    if (m_TargetList.GetSafeHwnd() == NULL || m_btSend.GetSafeHwnd() == NULL)
        return;
    CRect rcTarget;
    m_TargetList.GetWindowRect(&rcTarget);
    CRect rcSend;
    m_btSend.GetWindowRect(&rcSend);
    m_TargetList.SetWindowPos(NULL, 8, 2, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    const int nInputLeft = 8 + rcTarget.Width() + 8;
    const int nInputRight = cx - rcSend.Width() - 2 - 8;
    m_ChatInput.SetWindowPos(NULL, nInputLeft, 2, nInputRight > nInputLeft ? nInputRight - nInputLeft : 0, 20,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    m_btSend.SetWindowPos(NULL, cx - rcSend.Width() - 2, 2, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

BOOL CChatBar::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        SendChatText();
        return TRUE;
    }
    return CSkinWnd::PreTranslateMessage(pMsg);
}

void CChatBar::OnSendButton()
{
    SendChatText();
}

CWnd* CChatBar::GetInputEdit() const
{
    if (m_ChatInput.GetSafeHwnd() == NULL)
        return NULL;
    return CWnd::FromHandle(::FindWindowExA(m_ChatInput.GetSafeHwnd(), NULL, "Edit", NULL));
}

CString CChatBar::GetInputText() const
{
    char szText[1024] = "";
    if (m_ChatInput.GetSafeHwnd() != NULL)
        ::GetWindowTextA(m_ChatInput.GetSafeHwnd(), szText, sizeof(szText));
    return CString(szText);
}

void CChatBar::SetInputText(LPCSTR pszText)
{
    if (m_ChatInput.GetSafeHwnd() != NULL)
        ::SetWindowTextA(m_ChatInput.GetSafeHwnd(), pszText != NULL ? pszText : "");
}

void CChatBar::FocusInput()
{
    if (m_ChatInput.GetSafeHwnd() != NULL)
        m_ChatInput.SetFocus();
}

CString CChatBar::LimitText(LPCSTR pszText, int nLimit)
{
    if (pszText == NULL || nLimit <= 0)
        return CString();
    const size_t nLength = strlen(pszText);
    size_t nKeep = TextCutLength(pszText, nLength, size_t(nLimit));
    // A lead byte without its trail at the end is half a character.
    if (nKeep > 0 && nKeep == nLength) {
        size_t nPos = 0;
        while (nPos < nKeep) {
            const size_t nSize = TextCharSize(pszText, nKeep, nPos);
            if (nPos + nSize == nKeep && nSize == 1 && TextIsLeadByte((unsigned char)pszText[nPos]))
                nKeep = nPos;
            nPos += nSize;
        }
    }
    return CString(pszText, int(nKeep));
}

// Typing or pasting past the limit, or a limit that fell inside a
// character, leaves the input on a whole character.
void CChatBar::OnInputChange()
{
    const CString strText = GetInputText();
    const CString strKept = LimitText(strText, CHAT_TEXT_LIMIT);
    if (strKept.GetLength() == strText.GetLength())
        return;
    SetInputText(strKept);
    if (CWnd* pEdit = GetInputEdit())
        pEdit->SendMessage(EM_SETSEL, strKept.GetLength(), strKept.GetLength());
}

void CChatBar::AppendChatText(LPCSTR pszText)
{
    if (pszText == NULL || m_ChatInput.GetSafeHwnd() == NULL)
        return;
    CString strText = GetInputText();
    strText += pszText;
    SetInputText(strText);
    const int nEnd = GetInputText().GetLength();
    m_ChatInput.SetEditSel(nEnd, nEnd);
    FocusInput();
}

bool CChatBar::IsChatRoomListed(DWORD dwRoomID)
{
    CString strPath;
    strPath.Format("%sConfig\\dynamic\\DynaItemCfg.ini", g_GlobalUnits.GetWorkDirectory());
    char szList[4096] = "";
    GetPrivateProfileStringA("canchatroom", "roomid", "", szList, sizeof(szList), strPath);
    // Ids past the 256th are ignored.
    int nCount = 0;
    for (char* pszItem = strtok(szList, ","); pszItem != NULL && nCount < kMaxListedRooms;
         pszItem = strtok(NULL, ","), ++nCount) {
        char* pszEnd = NULL;
        const unsigned long ulID = strtoul(pszItem, &pszEnd, 10);
        if (pszEnd != pszItem && ulID == dwRoomID)
            return true;
    }
    return false;
}

void CChatBar::WriteRefusal(IMessageProxy* pProxy, LPCSTR pszText, COLORREF crColour)
{
    if (pProxy != NULL)
        pProxy->InsertPlainText(pszText, crColour, TRUE);
}

bool CChatBar::SendChatText()
{
    if (m_pOwner == NULL || !m_pOwner->IsChatInputEnabled())
        return false;
    CRoomViewItem* pView = m_pOwner->GetRoomView();
    if (pView == NULL)
        return false;
    IMessageProxy* pProxy = pView->GetMessageProxy();
    const LONG lLevel = g_GlobalUnits.GetGlobalUserData()->lLevel;
    if (lLevel == GUEST_USER_LEVEL) {
        WriteRefusal(pProxy, kGuestRefused, CHAT_NOTICE_COLOUR);
        return false;
    }
    CGameRoom* pRoom = pView->GetGameRoom();
    if (lLevel == 0 && (pRoom == NULL || !IsChatRoomListed(pRoom->GetId()))) {
        WriteRefusal(pProxy, kMemberOnly, CHAT_NOTICE_COLOUR);
        return false;
    }
    const CString strText = GetInputText();
    if (strText.IsEmpty()) {
        FocusInput();
        return false;
    }
    const DWORD dwNow = AfxGetTickCount();
    if (dwNow - m_pOwner->GetLastSendTime() < CHAT_SEND_INTERVAL) {
        WriteRefusal(pProxy, kTooFast, CHAT_NOTICE_COLOUR);
        return false;
    }
    // The interval starts even when a later check refuses the line.
    m_pOwner->SetLastSendTime(dwNow);
    if (pView->GetRoomDataCenter() == NULL || !pView->CanSpeak()) {
        WriteRefusal(pProxy, kMuted, CHAT_MUTED_COLOUR);
        return false;
    }
    if (strText.GetLength() > CHAT_TEXT_LIMIT) {
        WriteRefusal(pProxy, kTooLong, CHAT_NOTICE_COLOUR);
        return false;
    }
    int nSlashes = 0;
    for (int i = 0; i < strText.GetLength(); ++i) {
        if (strText[i] == '/')
            ++nSlashes;
    }
    if (nSlashes > CHAT_EMOTION_LIMIT) {
        WriteRefusal(pProxy, kTooManyEmotions, CHAT_NOTICE_COLOUR);
        return false;
    }
    SetInputText("");
    if (s_crChatColour == 0)
        s_crChatColour = CHAT_DEFAULT_COLOUR;
    const int nSel = m_TargetList.GetCurSel();
    const DWORD dwTarget = nSel >= 0 ? DWORD(m_TargetList.GetItemData(nSel)) : 0;
    const bool bSent = pView->SendRoomChat(dwTarget, strText, s_crChatColour);
    FocusInput();
    return bSent;
}
