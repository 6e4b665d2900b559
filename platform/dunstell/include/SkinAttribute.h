// CSkinAttribute: the look every skinned control shares: the default font
// and the colours, read from the skin description by LoadSkinAttribute.
// Until then (and for whatever the skin leaves out) built-in values hold.
//
// Settings file, section [SkinAttribute]: FontName, FontHeight (pixels),
// and the colours Background, Text, Caption, Border, Link, LinkHover,
// Highlight, HighlightText, GrayText.
#pragma once

#include <afxwin.h>
#include <IUnknownEx.h>

class CSkinAttribute
{
public:
    static CFont m_DefaultFont;
    static COLORREF m_crBackground; // dialogs and windows without a background picture
    static COLORREF m_crText;
    static COLORREF m_crCaption; // the caption of captionless skinned dialogs
    static COLORREF m_crBorder;  // frames of edits, combo boxes and lists
    static COLORREF m_crLink;
    static COLORREF m_crLinkHover;
    static COLORREF m_crHighlight; // selected menu items and tabs
    static COLORREF m_crHighlightText;
    static COLORREF m_crGrayText;
    static CString m_strSkinDirectory; // the skin folder, with a backslash; empty before loading

    static CFont* GetDefaultFont();
    // A brush of m_crBackground, remade when the colour changes.
    static CBrush* GetBackgroundBrush();
    // Reads the settings through the skin description's ISkinRecord;
    // FALSE (built-in values kept) when the object has none.
    static BOOL LoadSkinAttribute(IUnknownEx* pSkinRecord);
    // The built-in values.
    static void ResetDefaults();
};
