// Links of the hall's own scheme ("tavrel://command?key=value&..."), which
// the pages shown inside the hall use to drive it.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

// The logon dialog hears a "gamelogon" link as this message: wParam the
// account text, lParam the password text, both valid only during the call.
#define WM_HALL_URL_LOGON (WM_USER + 2123)

// Splits the text into items at chItem and each item into key and value at
// the first chPair (lead-byte aware; empty items vanish; a later key
// replaces an earlier one; an item without chPair is counted but not
// stored). Answers the number of items; 0 for a null or empty text.
int SplitKeyValues(LPCSTR pszText, char chPair, char chItem, CMapStringToString& map);

// Carries out a hall link. False when the text is empty or of another
// scheme (the browser navigates it); true for every link of the scheme,
// whether or not a command ran (the browser drops it). hLogonWnd is the
// logon dialog that hears "gamelogon" (null: nobody does); the item shop
// and room commands go to the installed main frame.
bool HandleHallUrl(LPCSTR pszUrl, HWND hLogonWnd);
