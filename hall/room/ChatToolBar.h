// The room's chat tool bar: font colour, clear, emotions, screenshot of the
// chat display, loudspeaker and complaint.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include <functional>

#include "IEmotionDlg.h"
#include "SkinControlsEx.h"
#include "SkinWnd.h"

class IChatBarOwner;

enum
{
    IDC_TOOL_COLOUR = 1000,
    IDC_TOOL_EMOTION = 1001,
    IDC_TOOL_CLEAR = 1002,
    IDC_TOOL_SCREENSHOT = 1003,
    IDC_TOOL_COMPLAINT = 1015,
    IDC_TOOL_SPEAKER = 1016,
};

class CChatToolBar : public CSkinWnd
{
public:
    CChatToolBar();
    virtual ~CChatToolBar();

    void SetOwner(IChatBarOwner* pOwner) { m_pOwner = pOwner; }
    BOOL CreateBar(CWnd* pParent, const CRect& rect, UINT nID);

    // The buttons' actions.
    void ChooseColour();
    void ClearChat();
    void ShowEmotions();
    bool SaveScreenshot();
    void RunSpeakDialog();
    void OpenComplaint();
    // A pick of the emotion picker (the code of the picked emotion).
    void OnEmotionPicked(const tagEmotion* pEmotion);

    CRgnButtonEx& GetButton(UINT nID);
    IEmotionDlg* GetEmotionDlg() const { return m_EmotionDlg.GetInterface(); }
    CToolTipCtrl& GetToolTip() { return m_ToolTip; }

    // The rows of a 24-bit picture of the chat display at its size; tests
    // give their own, the product copies what the panel shows.
    static std::function<HBITMAP(CWnd* pPanel, const CRect& rect)> s_CaptureChat;
    // A 24-bit device-independent bitmap file of the picture; false when
    // it cannot be read or written.
    static bool WriteBitmapFile(LPCSTR pszPath, HBITMAP hBitmap);
    // Where the picker shows beside the emotion button's screen rectangle.
    static CPoint PickerPosition(CRect rcButton, int nBarWidth, int nPickerWidth, int nPickerHeight);

    // A link of a chat line opens in the browser only as a web address:
    // lines come from other players, and the shell would start anything.
    static bool IsWebLink(LPCSTR pszLink);
    static bool OpenChatLink(LPCSTR pszLink);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnEmotionMessage(WPARAM wParam, LPARAM lParam);
    afx_msg void OnColourButton() { ChooseColour(); }
    afx_msg void OnClearButton() { ClearChat(); }
    afx_msg void OnEmotionButton() { ShowEmotions(); }
    afx_msg void OnScreenshotButton() { SaveScreenshot(); }
    afx_msg void OnSpeakerButton() { RunSpeakDialog(); }
    afx_msg void OnComplaintButton() { OpenComplaint(); }
    DECLARE_MESSAGE_MAP()

private:
    CChatToolBar(const CChatToolBar&) = delete;
    CChatToolBar& operator=(const CChatToolBar&) = delete;

    void LayoutButtons(int cx);

    IChatBarOwner* m_pOwner;
    CToolTipCtrl m_ToolTip;
    CRgnButtonEx m_Buttons[6];
    CEmotionDlgHelper m_EmotionDlg;
};
