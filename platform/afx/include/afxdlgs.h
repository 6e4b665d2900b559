// Common dialogs of the class library. Their DoModal is offered to the modal
// responder first (afxModalCommonDialog, pObject the dialog object): a test
// answers for the user, filling m_ofn / m_cc as the system dialog would.
#pragma once

#include <afxwin.h>
#include <commdlg.h>

class CCommonDialog : public CDialog
{
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }

protected:
    // TRUE with nResult when the responder answered.
    BOOL RespondModal(LPCTSTR lpszCaption, INT_PTR& nResult);
};

class CFileDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter: pairs of text and pattern separated by '|', ending in "||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL, LPCTSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = NULL,
                         CWnd* pParentWnd = NULL, DWORD dwSize = 0, BOOL bVistaStyle = TRUE);

    OPENFILENAME m_ofn;
    BOOL m_bOpenFileDialog;

    virtual INT_PTR DoModal();
    CString GetPathName() const { return m_szFileName; }
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

protected:
    CString m_strFilter;
    CString m_strDefExt;
    char m_szFileTitle[64];
    char m_szFileName[MAX_PATH];
};

class CColorDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = NULL);

    CHOOSECOLOR m_cc;

    virtual INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF clr) { m_cc.rgbResult = clr; }
    static COLORREF* PASCAL GetSavedCustomColors();
};
