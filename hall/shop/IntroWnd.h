// The hover card of the shop's item page: a title and the item's
// description over three pictures (top, stretched middle, bottom).
#pragma once

#include <afxwin.h>

#include "Picture.h"

class CIntroWnd : public CWnd
{
public:
    CIntroWnd();
    ~CIntroWnd() override;

    // Pictures from the shop skin folder.
    void LoadPictures(LPCSTR pszFolder);
    void SetDescription(LPCSTR pszText);
    CString GetDescription() const { return m_szDescription; }
    // Height of the description wrapped in the card's text box.
    int MeasureTextHeight(CDC* pDC) const;

    static const int kTextWidth = 155;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) { return TRUE; }
    DECLARE_MESSAGE_MAP()

private:
    CPicture m_Top;
    CPicture m_Middle;
    CPicture m_Bottom;
    char m_szDescription[1024];
};
