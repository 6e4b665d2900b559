// Driving a dialog of the room from a test: its items' texts and states,
// button clicks as the dialog's own buttons send them, and the boxes the
// modal script recorded.
#pragma once

#include <afxwin.h>

#include <string>
#include <vector>

#include "AfxModalScript.h"

inline CString ItemText(CWnd* pDialog, UINT nID)
{
    CString strText;
    pDialog->GetDlgItemText(nID, strText);
    return strText;
}

inline bool Enabled(CWnd* pDialog, UINT nID)
{
    return pDialog->GetDlgItem(nID)->IsWindowEnabled() != FALSE;
}

inline void Click(CWnd* pDialog, UINT nID)
{
    pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)pDialog->GetDlgItem(nID)->GetSafeHwnd());
}

// The texts of the message boxes shown, in order.
inline std::vector<std::string> Boxes(const CModalScript& script)
{
    std::vector<std::string> texts;
    for (const CModalScript::Shown& shown : script.Recorded())
        if (shown.nKind == afxModalMessageBox)
            texts.push_back((LPCSTR)shown.strText);
    return texts;
}
