// The modal responder: one place through which every modal loop of the
// program passes (CDialog::DoModal, AfxMessageBox and CWinApp::DoMessageBox,
// CWnd::MessageBox, the common dialogs, and boxes of other libraries that
// call AfxModalRespond), so a test can answer boxes, drive and end dialogs,
// and record what was shown.
//
// Message boxes, common dialogs and pop-up menus (CMenu::TrackPopupMenu)
// are offered before anything is shown: an answer replaces the box or menu. A dialog is offered once, inside its modal loop
// after OnInitDialog, with the live window in pWnd: the responder may set
// control texts, click buttons or call EndDialog itself; a returned answer
// ends the dialog with that result when it is still running.
#pragma once

#include <afxwin.h>
#include <functional>
#include <vector>

enum AfxModalKind
{
    afxModalMessageBox = 1,
    afxModalDialog = 2,
    afxModalCommonDialog = 3,
    afxModalPopupMenu = 4
};

// One item of an offered pop-up menu, as a user would see it.
struct AFX_MENU_ITEM
{
    UINT nID = 0;    // command id; 0 for separators and sub-menus
    CString strText; // the caption with its "\t" accelerator part
    UINT nState = 0; // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR,
                     // MF_POPUP, MF_OWNERDRAW, MF_DEFAULT
    ULONG_PTR dwItemData = 0;
    std::vector<AFX_MENU_ITEM> subItems; // the items of a sub-menu

    BOOL IsEnabledCommand() const
    {
        return nID != 0 && !(nState & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_POPUP));
    }
};

struct AFX_MODAL_REQUEST
{
    AfxModalKind nKind = afxModalMessageBox;
    CString strCaption; // box caption, or the dialog's window text
    CString strText;    // box text
    UINT nType = 0;     // MB_* style of a box
    UINT nIDHelp = 0;
    UINT nIDTemplate = 0;       // dialog template id (0 when named or in memory)
    CString strTemplateName;    // dialog template name, when not an id
    CString strClassName;       // run-time class of the dialog object, or of a
                                // box not shown by the system (skinned boxes)
    CWnd* pWnd = nullptr;       // the live dialog (afxModalDialog)
    CObject* pObject = nullptr; // the dialog object (dialogs and common dialogs)
    HWND hWndOwner = nullptr;

    // afxModalPopupMenu: nType holds the TPM_* flags, ptMenu the position
    // asked for; the answer is the command picked, 0 for none. A pick that
    // is not an enabled command of the menu counts as none.
    CMenu* pMenu = nullptr;
    CPoint ptMenu;
    std::vector<AFX_MENU_ITEM> menuItems;

    // The first item (sub-menus searched too) whose caption, without its
    // accelerator part, is lpszText; null when there is none.
    const AFX_MENU_ITEM* FindMenuItem(LPCTSTR lpszText) const { return FindMenuItem_(menuItems, lpszText); }

private:
    static const AFX_MENU_ITEM* FindMenuItem_(const std::vector<AFX_MENU_ITEM>& items, LPCTSTR lpszText)
    {
        for (const AFX_MENU_ITEM& item : items) {
            CString strCaption = item.strText;
            int nTab = strCaption.Find('\t');
            if (nTab >= 0)
                strCaption = strCaption.Left(nTab);
            if (!(item.nState & MF_SEPARATOR) && strCaption == lpszText)
                return &item;
            if (const AFX_MENU_ITEM* pFound = FindMenuItem_(item.subItems, lpszText))
                return pFound;
        }
        return nullptr;
    }
};

// Return TRUE and set nResult to answer; FALSE lets the box or dialog wait
// for a real user.
typedef std::function<BOOL(AFX_MODAL_REQUEST& request, INT_PTR& nResult)> AFX_MODAL_RESPONDER;

// Installs the process-wide responder (an empty one removes it) and returns
// the previous one.
AFX_MODAL_RESPONDER AFXAPI AfxSetModalResponder(AFX_MODAL_RESPONDER responder);
BOOL AFXAPI AfxHasModalResponder();
// Offers a request to the responder: TRUE with nResult when it answered.
BOOL AFXAPI AfxModalRespond(AFX_MODAL_REQUEST& request, INT_PTR& nResult);

// ------------------------------------------------------------------ clock and mouse

// The values behind AfxGetTickCount, AfxGetCurrentTime and AfxGetCursorPos
// (afxwin.h). A test fixes the clock, moves it forward and puts the mouse
// where it wants; while set, every window of the process reads these.
// The clock: dwTickCount and tNow at once; advancing moves both.
void AFXAPI AfxSetTestClock(DWORD dwTickCount, const CTime& timeNow);
void AFXAPI AfxAdvanceTestClock(DWORD dwMilliseconds);
void AFXAPI AfxClearTestClock();
void AFXAPI AfxSetTestCursorPos(POINT ptScreen);
void AFXAPI AfxClearTestCursorPos();

// ------------------------------------------------------------------ the browser

// Makes the browser object every CHtmlView and CDHtmlDialog holds
// (afxhtml.h): a test installs a scripted one (tests/support/browser). An
// empty factory brings the system's control back; the previous is returned.
typedef std::function<HRESULT(IUnknown** ppUnknown)> AFX_WEBBROWSER_FACTORY;
AFX_WEBBROWSER_FACTORY AFXAPI AfxSetWebBrowserFactory(AFX_WEBBROWSER_FACTORY factory);
