// CSkinTabItem: one tab of a skinned tab strip: caption, the window it
// shows, an image of the strip's image list and a value of the caller's.
// Items the manager makes are its own; items handed to InsertItem stay
// the caller's.
#pragma once

#include <afxwin.h>

class CSkinTabManager;

class CSkinTabItem
{
public:
    CSkinTabItem();
    virtual ~CSkinTabItem();

    const CString& GetCaption() const { return m_strCaption; }
    void SetCaption(LPCTSTR pszCaption);
    HWND GetHandle() const { return m_hWnd; }
    void SetHandle(HWND hWnd);
    int GetImageIndex() const { return m_nImage; }
    void SetImageIndex(int nImage);
    DWORD_PTR GetData() const { return m_dwData; }
    void SetData(DWORD_PTR dwData) { m_dwData = dwData; }
    BOOL IsEnabled() const { return m_bEnabled; }
    void SetEnabled(BOOL bEnabled);

    // Place in the strip, -1 outside one.
    int GetIndex() const;
    // The button in the control's client coordinates (empty before layout).
    CRect GetRect() const { return m_rcItem; }
    // The button's length along the strip, margins included, and the length
    // of its content (image and caption).
    int GetButtonLength() const { return m_nButtonLength; }
    int GetContentLength() const { return m_nContentLength; }
    BOOL IsSelected() const;
    // The pointer is over the button.
    BOOL IsFocused() const;
    void Select();
    CSkinTabManager* GetTabManager() const { return m_pManager; }

private:
    friend class CSkinTabManager;
    friend class CSkinTabPaintManager;

    CSkinTabItem(const CSkinTabItem&);
    CSkinTabItem& operator=(const CSkinTabItem&);

    CSkinTabManager* m_pManager;
    CString m_strCaption;
    HWND m_hWnd;
    int m_nImage;
    DWORD_PTR m_dwData;
    BOOL m_bEnabled;
    BOOL m_bOwnedByManager;
    CRect m_rcItem;
    int m_nButtonLength;
    int m_nContentLength;
};
