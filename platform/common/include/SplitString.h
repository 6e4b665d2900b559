// SplitString: cuts a multibyte text at every occurrence of a single-byte
// separator. A separator byte that is the second byte of a double-byte
// character does not cut. Empty pieces are kept ("a,,b" gives three pieces);
// an empty text gives none. Answers the number of pieces.
#pragma once

#include <afx.h>
#include <afxcoll.h>

int SplitString(LPCSTR text, char separator, CStringArray& parts);
