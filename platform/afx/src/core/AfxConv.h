// Conversion between the system's code page and UTF-16, for archives written
// by wide-character programs. Implemented by the system side of the core
// (src/win/File.cpp with the ANSI code page, PosixFile.cpp with GBK).
#pragma once

#include "afxstr.h"

// Characters that have no multibyte form become '?'.
CString AfxWideToMultiByte(const WCHAR* pwch, int nLength);
