// Amounts typed by the player: read from the edits' text and shown with a
// comma between groups of three digits.
#pragma once

#include <afx.h>

enum AmountStatus
{
    AMOUNT_OK,
    AMOUNT_EMPTY,     // nothing typed: the amount is 0
    AMOUNT_INVALID,   // something other than digits (and, where allowed, commas)
    AMOUNT_TOO_LARGE, // more than the request can carry
};

// Reads ASCII digits (commas between them skipped when bCommas) into a value
// no larger than ullMax.
AmountStatus ParseAmount(LPCSTR pszText, ULONGLONG ullMax, ULONGLONG& ullValue, bool bCommas = false);
// "12,345"; negative values keep their sign in front.
CString FormatAmount(LONGLONG llValue);
// Only the ASCII digits of a text.
CString KeepDigits(LPCSTR pszText);
