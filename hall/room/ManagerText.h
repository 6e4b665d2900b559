// What the administrator's message composers share: reading their text and
// previewing it in a box.
#pragma once

#include <afxwin.h>

// The control's text, cut to at most nMaxBytes without halving a character.
CString ReadManagerText(CWnd* pDialog, UINT nID, int nMaxBytes);
// Shows the text (up to 1023 bytes) in a box with the title, or the empty
// text when there is none; the focus goes back to the control.
void PreviewManagerText(CWnd* pDialog, UINT nID, LPCSTR pszTitle, LPCSTR pszEmptyText);
