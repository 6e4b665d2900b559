// CBoxDialogTemplate: lays out a message box (text, icon, button row, check
// box) in pixels from the text and caption sizes, keeps the controls as
// CBoxDialogItem records in dialog units, and writes them out as an
// in-memory dialog template. The window itself is CSkinDialogTemplate.
#pragma once

#include <afxwin.h>

#include "HallMsgBox.h"

class CBoxDialogItem
{
public:
    enum Kind
    {
        kindButton = 128,
        kindStatic = 130,
        kindCheckBox = 131
    };

    // rcPixels null: (0, 0, 10, 10) in dialog units.
    CBoxDialogItem(int nKind, UINT nID, const CRect* rcPixels, LPCSTR lpszText, int nBaseX, int nBaseY);
    virtual ~CBoxDialogItem();

    DWORD m_dwStyle;
    DWORD m_dwExStyle;
    short m_x, m_y, m_cx, m_cy;
    WORD m_nID;
    WORD m_nAtom; // 0x0080 button, 0x0082 static
    char* m_pszText;

private:
    CBoxDialogItem(const CBoxDialogItem&) = delete;
    CBoxDialogItem& operator=(const CBoxDialogItem&) = delete;
};

class CBoxDialogTemplate
{
public:
    enum
    {
        maxItems = 20,
        flagCheckAsk = 1,
        flagCheckTell = 2,
        flagCheckShow = 4,
        flagHasCancel = 8,
        flagOkOnly = 16
    };

    CBoxDialogTemplate(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nStyle, const MsgBoxParams* pParams);
    virtual ~CBoxDialogTemplate();

    // The template in a moveable block the caller frees; null when it could
    // not be allocated.
    HGLOBAL CreateTemplate() const;

    int GetItemCount() const { return m_nItems; }
    const CBoxDialogItem* GetItem(int i) const { return m_items[i]; }
    const DLGTEMPLATE& GetDialogHeader() const { return m_dlg; }
    UINT GetDefaultId() const { return m_nDefaultId; }
    int GetDefaultIndex() const { return m_nDefaultIndex; }
    DWORD GetFlags() const { return m_dwFlags; }
    const char* GetMessageText() const { return m_pszText; }
    const char* GetCaption() const { return m_pszCaption; }
    const char* GetCaptionText(int i) const { return m_captions[i]; }
    // Pixel size of the box.
    CSize GetBoxSize() const { return m_rcBox.Size(); }

protected:
    struct Button
    {
        CString strText;
        UINT nID;
        int cx;
    };

    void Layout();
    void AddItem(int nKind, UINT nID, const CRect* rcPixels, LPCSTR lpszText);
    int CaptionWidth(CDC* pDC, LPCSTR lpszText) const;
    BOOL HasLinks() const { return m_bHasLinks; }

    CBoxDialogItem* m_items[maxItems];
    int m_nItems;
    int m_nPushButtons;
    int m_nDefaultIndex;
    UINT m_nDefaultId;
    DWORD m_dwFlags;
    MsgBoxReportCallback m_pfnReport;
    DWORD m_dwReportData;
    int m_nTimeoutSeconds;
    int m_nDisabledSeconds;
    int m_x, m_y;
    int m_nButtonWidth;
    int m_nCountdownWidth;
    int m_nButtonHeight;
    int m_nCheckHeight;
    INT_PTR m_nResult;
    UINT m_nNextStaticId;
    DWORD m_dwHelpId;
    UINT m_nStyle;
    DWORD m_dwOptions;
    CString m_strAnswerKey;
    int m_nAnswerKeyNumber;
    HWND m_hWndOwner;
    HINSTANCE m_hStrings;
    HINSTANCE m_hIcons;
    DWORD m_iconId;
    char m_szIconFile[MAX_PATH];
    CRect m_rcText;
    char* m_pszText;
    char* m_pszCaption;
    char m_szCustomButtons[MAX_PATH];
    char m_szCompanyName[MAX_PATH];
    HICON m_hIcon;
    BOOL m_bOwnIcon;
    CFont m_font;
    COLORREF m_crText;
    COLORREF m_crBack;
    CBrush m_brush;
    BOOL m_bHasLinks;
    CString m_strLinkedText;
    char m_captions[MSGBOX_CAPTION_COUNT][100];
    int m_captionWidths[MSGBOX_CAPTION_COUNT];
    char m_szReportCaption[100];
    DLGTEMPLATE m_dlg;
    CRect m_rcBox;
    int m_nBaseX, m_nBaseY;
};
