// The modal responder: one place through which every modal loop of the
// program passes (CDialog::DoModal, AfxMessageBox and CWinApp::DoMessageBox,
// CWnd::MessageBox, the common dialogs, and boxes of other libraries that
// call AfxModalRespond), so a test can answer boxes, drive and end dialogs,
// and record what was shown.
//
// Message boxes and common dialogs are offered before anything is shown: an
// answer replaces the box. A dialog is offered once, inside its modal loop
// after OnInitDialog, with the live window in pWnd: the responder may set
// control texts, click buttons or call EndDialog itself; a returned answer
// ends the dialog with that result when it is still running.
#pragma once

#include <afxwin.h>
#include <functional>

enum AfxModalKind
{
    afxModalMessageBox = 1,
    afxModalDialog = 2,
    afxModalCommonDialog = 3
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
