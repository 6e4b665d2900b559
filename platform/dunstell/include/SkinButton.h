// CSkinButton: a button drawn from a picture of four states side by side
// (normal, hover, pressed, disabled) with its caption over it. Until a
// picture is set (or when it does not load) it is the plain system button.
//
// Once it draws itself, a check box or radio button keeps its check state
// here; the state is read through GetButtonChecked, and a checked button
// shows the pressed state.
#pragma once

#include "SkinImage.h"

class CSkinButton : public CButton
{
    DECLARE_DYNAMIC(CSkinButton)
public:
    CSkinButton();
    virtual ~CSkinButton();

    // bExpandImage stretches a state over the button; otherwise the button
    // takes one state's size. FALSE (and the plain button) when it does not load.
    BOOL SetButtonImage(LPCTSTR pszFileName, bool bExpandImage = false);
    BOOL SetButtonImage(UINT nIDResource, HINSTANCE hInstance, bool bExpandImage = false);
    CSkinImage* GetButtonImage() { return &m_ImageButton; }

    void SetTextColor(COLORREF crText, BOOL bRedraw = TRUE);
    COLORREF GetTextColor() const { return m_crText; }

    virtual BOOL GetButtonChecked();

    using CWnd::CreateEx;
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = NULL) override;

protected:
    // 0 normal, 1 hover, 2 pressed or checked, 3 disabled.
    int GetDrawState(UINT nItemState);
    // Paints the parent's background under the button (for pictures with
    // transparent parts).
    void DrawParentBackground(CDC* pDC);
    // Switches to drawing itself and takes the picture's size.
    virtual void ApplyButtonImage();
    BOOL IsSkinned() const { return m_bSkinned; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    virtual void DrawButtonFace(CDC* pDC, const CRect& rcItem, int nState);
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg BOOL OnClicked();
    DECLARE_MESSAGE_MAP()

    CSkinImage m_ImageButton;
    bool m_bExpandImage;
    BOOL m_bHover;
    BOOL m_bSkinned;  // drawing itself
    BOOL m_bCreating; // inside CreateEx: set-up waits for WM_CREATE
    UINT m_nOrgType;  // the button type before it became owner-drawn
    int m_nCheck;
    COLORREF m_crText;
};
