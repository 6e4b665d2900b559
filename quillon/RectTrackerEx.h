// The crop frame of the face editor: a rectangle tracker that never grows
// beyond a maximum size.
#pragma once

#include <afxext.h>

class CRectTrackerEx : public CRectTracker
{
public:
    CRectTrackerEx();

    void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) override;
    // Cuts the moved edges so that the size stays within m_sizeMax (when
    // both of its values are set).
    void AdjustRect(int nHandle, LPRECT lpRect) override;
    void OnChangedRect(const CRect& rectOld) override;
    UINT GetHandleMask() const override;
    ~CRectTrackerEx() override;

    CSize m_sizeMax;
    CRect m_rectBound;

protected:
    int GetHandleSize(LPCRECT lpRect = NULL) const override;
};
