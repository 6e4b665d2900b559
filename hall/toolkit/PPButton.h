// CPPButton: an owner-drawn push button whose face is one picture of four
// states side by side (normal, hover, pressed, disabled). The button takes
// the size of one state and the shape of the picture's visible pixels, and
// lights up while the pointer is over it.
#pragma once

#include <afxwin.h>
#include <Picture.h>

class CPPButton : public CButton
{
    DECLARE_DYNAMIC(CPPButton)
public:
    CPPButton();
    virtual ~CPPButton();

    // Loads the picture (format from the file) and reshapes the button;
    // FALSE when either fails, the size and shape then unchanged.
    BOOL LoadImage(LPCTSTR lpszFileName);
    // One state's width and the picture height; 0 without a picture.
    int GetImageWidth() const;
    int GetImageHeight() const;

    using CWnd::CreateEx;
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = NULL) override;

protected:
    void SetUp();
    BOOL Reshape();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void PreSubclassWindow() override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    BOOL m_bHover;
    HRGN m_hRegion; // the window's region; the window owns it
    COLORREF m_crTransparent;
    COLORREF m_crText;
    CPicture m_Picture;
    BOOL m_bCreating; // inside CreateEx: set-up waits for WM_CREATE
};
