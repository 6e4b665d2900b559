// CRadioButton: an owner-drawn radio button: a two-frame picture (enabled,
// disabled) for each check state, the caption beside it and a dotted focus
// frame. The check state lives here; BM_SETCHECK changes it without a
// repaint, SetChecked repaints.
#pragma once

#include <afxwin.h>

class CSkinImage;

class CRadioButton : public CButton
{
public:
    CRadioButton();
    virtual ~CRadioButton();

    // The pictures stay the caller's and must outlive the button.
    void SetImages(CSkinImage* pChecked, CSkinImage* pUnchecked);
    void SetChecked(bool bChecked);
    bool IsFocused() const { return m_bFocused != 0; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    void PreSubclassWindow() override;
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    BYTE m_bChecked;
    BYTE m_bFocused;
    CSkinImage* m_pImageChecked;
    CSkinImage* m_pImageUnchecked;
};
