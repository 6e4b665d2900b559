// The whisper window: private messages between the own user and one player
// of the same room. The partner is held by user id and looked up in the
// room's user map at every send, so a user item the map dropped is never
// touched.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include "RgnButton.h"
#include "RgnDialog.h"
#include "SkinRichEdit.h"

class CRoomViewItem;
class CUserItem;

const UINT IDC_WHISPER_INPUT = 1082;
const UINT IDC_WHISPER_SEND = 1083;
const UINT IDC_WHISPER_CLOSE = 1041;
const UINT IDC_WHISPER_HISTORY = 1085;

// The longest whisper in bytes: the request carries 511 and a terminator.
const int WHISPER_TEXT_LIMIT = 511;

const COLORREF WHISPER_BACK_COLOUR = 0xF5F5F5;
const COLORREF WHISPER_FRAME_COLOUR = 0xEF9F09;
const COLORREF WHISPER_OWN_HEADER = 0x408000;
const COLORREF WHISPER_OTHER_HEADER = 0xFF0000;
const COLORREF WHISPER_NOTICE_COLOUR = 0x0000FF;
// The text of a message is indented under its header, twips.
const LONG WHISPER_TEXT_INDENT = 200;

// The input: Ctrl+Enter sends.
class CMsgEdit : public CEdit
{
public:
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// The history.
class CMsgRichEdit : public CSkinRichEdit
{
protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CShortMessage : public CRgnDialog
{
public:
    explicit CShortMessage(CRoomViewItem* pView);
    virtual ~CShortMessage();

    // A modeless window without a parent.
    BOOL CreateWindowOnly();
    // Binds the window to a player; another player than before empties the
    // history and the input.
    void SetChatUser(const CUserItem* pUserItem);
    DWORD GetPartnerID() const { return m_dwPartnerID; }
    const CString& GetPartnerName() const { return m_strPartnerName; }

    // One message into the history; false for an empty text.
    bool InsertMessage(LPCSTR pszName, LPCSTR pszText, COLORREF crColour, bool bOwn);
    // A red notice line; false for an empty text.
    bool InsertNotice(LPCSTR pszText);
    // The send button: checks, sends and writes the own line.
    void OnSendMessage();

    CMsgEdit& GetInput() { return m_Input; }
    CMsgRichEdit& GetHistory() { return m_History; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnCloseButton();
    afx_msg void OnInputChange();
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    DECLARE_MESSAGE_MAP()

private:
    CShortMessage(const CShortMessage&) = delete;
    CShortMessage& operator=(const CShortMessage&) = delete;

    void UpdateTitle(LPCSTR pszFormat);
    void AppendText(LPCSTR pszText, COLORREF crColour, LONG lIndent);
    CUserItem* FindPartner() const;

    CRoomViewItem* m_pView;
    DWORD m_dwPartnerID;
    CString m_strPartnerName;
    CMsgEdit m_Input;
    CMsgRichEdit m_History;
    CRgnButton m_btSend;
    CRgnButton m_btClose;
};
