// CSkinWnd: a child window whose client area shows the skin. Derived
// windows paint over it by overriding DrawSkinView(pDC, cx, cy), which the
// window calls off screen on every paint.
#pragma once

#include "SkinWndObject.h"

class CSkinWnd : public CWnd, public CSkinWndObject
{
    DECLARE_DYNAMIC(CSkinWnd)
public:
    CSkinWnd();
    virtual ~CSkinWnd();

    using CSkinWndObject::DrawSkinView;
    void DrawSkinView(CDC* pDC, int cx, int cy) override;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()
};
