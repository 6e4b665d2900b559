// CSkinTabPaintManager: measures and draws the buttons of a skinned tab
// strip. Derived painters change the margins, the button height and the
// drawing of one button; the rest is this base's.
//
// Geometry along a horizontal strip: the header holds the header margins
// and one row of buttons of GetButtonHeight; each button is as long as
// GetButtonLength (its content plus the button margins).
#pragma once

#include <afxwin.h>

class CSkinTabItem;
class CSkinTabManager;

class CSkinTabPaintManager
{
public:
    CSkinTabPaintManager();
    virtual ~CSkinTabPaintManager();

    // Space around each button's content.
    virtual CRect GetButtonMargin();
    // Space around the row of buttons inside the header.
    virtual CRect GetHeaderMargin();
    virtual int GetButtonLength(CDC* pDC, CSkinTabItem* pItem);
    virtual int GetButtonHeight(CSkinTabManager* pManager);
    // The header's thickness: the button height and the header margins across the strip.
    virtual int GetHeaderHeight(CSkinTabManager* pManager);
    // The header background (when the strip has no header pictures).
    virtual void DrawHeaderBack(CDC* pDC, CSkinTabManager* pManager, const CRect& rcHeader);
    // Every button, first to last.
    virtual void DrawTabControl(CDC* pDC, CSkinTabManager* pManager, const CRect& rcControl);
    // Draws one button in rcItem when bDraw; answers the button's length
    // (the measure when bDraw is FALSE).
    virtual int DrawSingleButton(CDC* pDC, CSkinTabItem* pItem, const CRect& rcItem, BOOL bDraw);
    // Makes the fonts again (after the default font changed).
    virtual void RefreshMetrics();

    CFont* GetFont(BOOL bVertical = FALSE);
    CFont* GetBoldFont(BOOL bVertical = FALSE);

    BOOL m_bDrawTextNoPrefix; // captions without & processing
    BOOL m_bBoldSelected;     // the selected caption in the bold font
    COLORREF m_crHeader;
    COLORREF m_crButton;
    COLORREF m_crButtonHot;
    COLORREF m_crButtonSelected;
    COLORREF m_crBorder;
    COLORREF m_crText;
    COLORREF m_crTextSelected;
    COLORREF m_crTextDisabled;

protected:
    // The content's length: image (when the strip has an image list and the
    // item an image) and caption.
    int GetContentLength(CDC* pDC, CSkinTabItem* pItem);

    CFont m_fontNormal;
    CFont m_fontBold;
};
