// Amounts of gold eggs and beans as the player types them and as the money
// panels show them. One rule set for every amount: ASCII digits and commas
// only (a full-width digit or any other character makes the text no amount,
// never 0), at most what a request carries (32 bits).
#pragma once

#include <afxwin.h>

enum
{
    AMOUNT_VALID = 0,
    AMOUNT_NOT_A_NUMBER = 1,
    AMOUNT_OUT_OF_RANGE = 2 // above 0xFFFFFFFF, however many digits
};

// Reads a typed text: commas dropped, an empty text reads as 0.
int ReadAmountText(LPCSTR pszText, LONGLONG& llAmount);
// "%I64d" with a comma between groups of three digits; 0 shows as "".
CString FormatAmountText(LONGLONG llAmount);

// The amount in a dialog's field: its value, 0 when empty, or -1 when the
// text is no amount and -2 when it is out of range (the panels' messages).
const LONGLONG AMOUNT_TEXT_INVALID = -1;
const LONGLONG AMOUNT_TEXT_TOO_LARGE = -2;
LONGLONG GetAmount(CWnd* pDialog, UINT nID);

// What a panel does after a change of an amount field: a text other than the
// last one it set is read and written back in its display form (caret at
// the end); a text that is no amount is left as typed. Answers the field's
// state (AMOUNT_*).
int ReformatAmountField(CEdit& field, CString& strLastSet);
