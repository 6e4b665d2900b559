// CSkinHeaderCtrl: a header control that paints itself: a background over
// the whole control, then each column. Derived headers draw their pictures
// by overriding the two drawing operations.
#pragma once

#include <afxcmn.h>

class CSkinHeaderCtrl : public CHeaderCtrl
{
    DECLARE_DYNAMIC(CSkinHeaderCtrl)
public:
    CSkinHeaderCtrl();
    virtual ~CSkinHeaderCtrl();

protected:
    virtual void DrawHeaderBack(CDC* pDC, const CRect& rcClient);
    // nFormat is the column's HDF_ alignment.
    virtual void DrawHeaderItem(CDC* pDC, int nItem, const CRect& rcItem, LPCTSTR pszText, int nFormat);

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
