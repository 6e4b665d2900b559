// CRgnButton: a skinned button whose window is cut to its picture: the
// pixels of the key colour (within 0x101010) in the normal state are left
// out of the window, and never drawn. Without a picture it draws and
// behaves as a plain push button.
#pragma once

#include "SkinButton.h"

class CRgnButton : public CSkinButton
{
    DECLARE_DYNAMIC(CRgnButton)
public:
    CRgnButton();
    virtual ~CRgnButton();

    BOOL LoadRgnImage(LPCTSTR pszFileName, COLORREF crTrans = RGB(255, 0, 255));
    BOOL LoadRgnImage(HINSTANCE hInstance, UINT nIDResource, COLORREF crTrans = RGB(255, 0, 255));
    COLORREF GetTransColor() const { return m_crTrans; }

protected:
    void ApplyButtonImage() override;
    void DrawButtonFace(CDC* pDC, const CRect& rcItem, int nState) override;

    COLORREF m_crTrans;
};
