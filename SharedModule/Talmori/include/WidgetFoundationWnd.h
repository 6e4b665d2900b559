// Class-library window hosting one widget tree: every message goes to the
// event helper first, and the tree is painted through an off-screen buffer.
#pragma once

#include <afxwin.h>

#include "EventBuildHelper.h"
#include "WidgetManager.h"

#define WIDGET_FOUNDATION_CLASS "WidgetFoundation"

class TALMORI_API CWidgetFoundationWnd : public CWnd
{
    DECLARE_DYNAMIC(CWidgetFoundationWnd)

public:
    CWidgetFoundationWnd();
    virtual ~CWidgetFoundationWnd();

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

protected:
    CWidgetManager m_WidgetManager;
    CEventBuildHelper m_EventBuildHelper;
};
