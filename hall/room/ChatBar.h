// The room's chat input bar: the addressee list, the chat input with its
// quick phrases and the send button. SendChatText runs the checks a line
// passes before the room view sends it; every refusal is a line in the
// room's chat display, never a box.
#pragma once

#include <afxwin.h>

#include <functional>

#include "RgnButton.h"
#include "RoomControlCombox.h"
#include "SkinWnd.h"

class CChatBar;
class CRoomViewItem;
struct IMessageProxy;

// Controls of the bar.
const UINT IDC_CHAT_TARGET = 1004;
const UINT IDC_CHAT_INPUT = 1005;
const UINT IDC_CHAT_SEND = 1006;

// The longest chat line, in bytes.
const int CHAT_TEXT_LIMIT = 100;
// The least time between two lines, ms.
const DWORD CHAT_SEND_INTERVAL = 3000;
// The most emotion codes ("/") in one line.
const int CHAT_EMOTION_LIMIT = 5;

// Refusals are written in these colours.
const COLORREF CHAT_NOTICE_COLOUR = 0x1B8F00;
const COLORREF CHAT_MUTED_COLOUR = 0x0000FF;
// The chat colour of a process whose user never chose one.
const COLORREF CHAT_DEFAULT_COLOUR = 0x66635E;

// What the bars need of the side panel that holds them.
class IChatBarOwner
{
public:
    virtual ~IChatBarOwner() {}
    // The panel's window (the bars' parent).
    virtual CWnd* GetPanelWindow() = 0;
    // The chat display (the rich edit of the chat pane); null without one.
    virtual CWnd* GetChatDisplay() = 0;
    // The room the bars serve; null before the panel has one.
    virtual CRoomViewItem* GetRoomView() = 0;
    // The input bar (the tool bar writes picked emotions into it).
    virtual CChatBar* GetChatBar() = 0;
    // While false nothing is sent and picked emotions are ignored.
    virtual bool IsChatInputEnabled() = 0;
    // Tick count of the last line that passed the flood test; 0 at first.
    virtual DWORD GetLastSendTime() = 0;
    virtual void SetLastSendTime(DWORD dwTickCount) = 0;
};

class CChatBar : public CSkinWnd
{
public:
    CChatBar();
    virtual ~CChatBar();

    void SetOwner(IChatBarOwner* pOwner) { m_pOwner = pOwner; }
    IChatBarOwner* GetOwner() const { return m_pOwner; }
    BOOL CreateBar(CWnd* pParent, const CRect& rect, UINT nID);

    // The checks and the send of the typed line; true when it went out.
    bool SendChatText();
    // A picked emotion code at the end of the input, the caret after it.
    void AppendChatText(LPCSTR pszText);
    void FocusInput();

    CRoomControlCombox& GetTargetList() { return m_TargetList; }
    CRoomControlCombox& GetChatInput() { return m_ChatInput; }
    CRgnButton& GetSendButton() { return m_btSend; }
    CString GetInputText() const;
    void SetInputText(LPCSTR pszText);

    // The chat colour shared by every room of the process (0: none chosen).
    static COLORREF GetChatColour() { return s_crChatColour; }
    static void SetChatColour(COLORREF crColour) { s_crChatColour = crColour; }
    // True when the room is in the permission list of the dynamic
    // configuration (read anew at every call; at most 256 ids).
    static bool IsChatRoomListed(DWORD dwRoomID);
    // The text cut to the byte limit on a character boundary, without a
    // dangling lead byte at its end.
    static CString LimitText(LPCSTR pszText, int nLimit);
    // The quick phrases of the input's list.
    static const char* const s_QuickPhrases[11];

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSendButton();
    afx_msg void OnInputChange();
    DECLARE_MESSAGE_MAP()

private:
    CChatBar(const CChatBar&) = delete;
    CChatBar& operator=(const CChatBar&) = delete;

    void WriteRefusal(IMessageProxy* pProxy, LPCSTR pszText, COLORREF crColour);
    CWnd* GetInputEdit() const;
    void LayoutControls(int cx);

    IChatBarOwner* m_pOwner;
    CRoomControlCombox m_TargetList;
    CRoomControlCombox m_ChatInput;
    CRgnButton m_btSend;
    CFont m_Font;

    static COLORREF s_crChatColour;
};
