// Small skinned controls that change one behaviour of their base: buttons
// that take the keyboard focus when the pointer passes over them, an edit
// that skips erasing, and a plain edit framed on its parent.
#pragma once

#include <RgnButton.h>
#include <SkinButton.h>
#include <SkinEdit.h>

class CSkinButtonEx : public CSkinButton
{
public:
    CSkinButtonEx() {}
    virtual ~CSkinButtonEx() {}

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

class CRgnButtonEx : public CRgnButton
{
public:
    CRgnButtonEx() : m_pFocusKeeper(NULL) {}
    virtual ~CRgnButtonEx() {}

    // While this window is visible it keeps the focus when the pointer
    // passes over the button (the caller's; NULL for none).
    void SetFocusKeeper(CWnd* pWnd) { m_pFocusKeeper = pWnd; }
    CWnd* GetFocusKeeper() const { return m_pFocusKeeper; }

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pFocusKeeper;
};

class CSkinEditEx : public CSkinEdit
{
public:
    CSkinEditEx() {}
    virtual ~CSkinEditEx() {}

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

class CEditWnd : public CEdit
{
public:
    CEditWnd() {}
    virtual ~CEditWnd() {}

protected:
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()
};
