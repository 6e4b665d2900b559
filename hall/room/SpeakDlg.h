// The loudspeaker dialog: one highlighted line for the room and all its
// tables, sent through the room view with an owned loudspeaker; without one
// the user is offered the item shop.
#pragma once

#include <afxwin.h>

#include "RgnButton.h"
#include "RgnDialog.h"

class CRoomViewItem;

// The longest loudspeaker line, in bytes: the request carries 99 and a
// terminator.
const int SPEAKER_TEXT_LIMIT = 99;
// wParam the user's new loudspeaker count.
const UINT WM_SPEAKER_COUNT = WM_USER + 1001;

const UINT IDC_SPEAK_EDIT = 1070;
const UINT IDC_SPEAK_COUNT = 1050;
const UINT IDC_SPEAK_REMAIN = 1072;

const COLORREF SPEAK_BACK_COLOUR = RGB(213, 232, 246);
const COLORREF SPEAK_TEXT_COLOUR = RGB(30, 150, 0);
const COLORREF SPEAK_FRAME_COLOUR = RGB(1, 65, 77);

// The loudspeaker's item id among the user's owned items.
const WORD SPEAKER_ITEM_ID = 1;

// Where the loudspeakers come from: the owned items of the item shop.
class ISpeakerShop
{
public:
    virtual ~ISpeakerShop() {}
    virtual WORD GetSpeakerCount() = 0;
    // Creates the item shop on first use, centres and shows it.
    virtual void ShowItemShop() = 0;
};

class CSpeakEdit : public CEdit
{
public:
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CSpeakDlg : public CRgnDialog
{
public:
    explicit CSpeakDlg(CRoomViewItem* pView);
    virtual ~CSpeakDlg();

    WORD GetSpeakerCount() const { return m_wSpeakerCount; }
    LPCSTR GetMessageText() const { return m_szMessage; }
    CSpeakEdit& GetEdit() { return m_Edit; }

    CRoomViewItem* GetRoomView() const { return m_pView; }

    // The shop the dialog reads its count from; answers the previous one.
    // None installed: the hall's item shop.
    static ISpeakerShop* InstallShop(ISpeakerShop* pShop);
    static ISpeakerShop* GetShop();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnEditChange();
    afx_msg LRESULT OnSpeakerCount(WPARAM wParam, LPARAM lParam);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    void ShowRemaining(int nLength);
    void ShowCount();

    CSpeakEdit m_Edit;
    CBrush m_BackBrush;
    CRgnButton m_btSend;
    CRoomViewItem* m_pView;
    WORD m_wSpeakerCount;
    char m_szMessage[1024];

    static ISpeakerShop* s_pShop;
};
