// Whether a downloaded package is whole before anything installs it.
#pragma once

#include <afx.h>

// True when the file is a zip archive whose end record is found and whose
// every entry opens, reads to its end and closes with its size and CRC-32
// matching. Any error (a cut file, a changed byte, a page that is no
// archive) answers false.
bool IsWholeZipPackage(LPCTSTR lpszPath);
