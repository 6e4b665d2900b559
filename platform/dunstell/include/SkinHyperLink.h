// CSkinHyperLink: a static text shown as a link (underlined, in the link
// colour, another colour under the pointer, the hand cursor). A click opens
// its address in the default browser when it has one; the parent hears the
// click (STN_CLICKED) as well.
#pragma once

#include <afxwin.h>

class CSkinHyperLink : public CStatic
{
    DECLARE_DYNAMIC(CSkinHyperLink)
public:
    CSkinHyperLink();
    virtual ~CSkinHyperLink();

    void SetHyperLinkUrl(LPCTSTR pszUrl) { m_strUrl = pszUrl != NULL ? pszUrl : ""; }
    const CString& GetHyperLinkUrl() const { return m_strUrl; }
    // CLR_INVALID (the default) leaves the parent's background showing.
    void SetBackGroundColor(COLORREF crBack);
    void SetLinkColor(COLORREF crNormal, COLORREF crHover);

    BOOL m_bVisited; // the address was opened

protected:
    void PreSubclassWindow() override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg BOOL OnClicked();
    DECLARE_MESSAGE_MAP()

    CString m_strUrl;
    COLORREF m_crBack;
    COLORREF m_crNormal;
    COLORREF m_crHover;
    BOOL m_bHover;
    CFont m_fontUnderline;
};
