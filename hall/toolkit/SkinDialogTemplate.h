// CSkinDialogTemplate: the message box window. A skinned region dialog run
// from the template CBoxDialogTemplate writes: region push buttons, the text
// in an HTML-subset static when it had links, the countdown of the default
// button (timer 1) and the seconds the buttons stay disabled (timer 2).
#pragma once

#include <RgnButton.h>
#include <RgnDialog.h>

#include "BoxDialogTemplate.h"
#include "HtmlTextStatic.h"

class CSkinDialogTemplate : public CRgnDialog, public CBoxDialogTemplate
{
    DECLARE_DYNAMIC(CSkinDialogTemplate)
public:
    enum
    {
        timerCountdown = 1,
        timerDisabled = 2
    };

    CSkinDialogTemplate(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nStyle, const MsgBoxParams* pParams,
                        const MsgBoxSkin* pSkin);
    virtual ~CSkinDialogTemplate();

    // Runs the box modally; the command result (2 when the template could
    // not be made).
    INT_PTR Display();

    // The help button's call; replaceable so tests record it.
    typedef BOOL (*WinHelpCall)(HWND hWnd, LPCSTR lpszHelpFile, UINT uCommand, ULONG_PTR dwData);
    static WinHelpCall SetWinHelpCall(WinHelpCall call);

    // Period of both timers (one second); tests lengthen it and step the
    // timers with WM_TIMER themselves.
    static UINT SetTimerPeriod(UINT nMilliseconds);

    CHtmlTextStatic* GetHtmlStatic() { return m_nHtmlStatics > 0 ? m_htmlStatics[0] : NULL; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    void EnableCloseCommand(BOOL bEnable);
    void RestoreDefaultCaption();

    CRgnButton* m_buttons[maxItems];
    int m_nButtons;
    CHtmlTextStatic* m_htmlStatics[maxItems];
    int m_nHtmlStatics;
    char m_szDefaultCaption[100];
    BOOL m_bCaptionSaved;
    char m_szButtonImage[MAX_PATH];
};
