// The application's profile (the key of a section is
// HKCU\Software\<registry key>\<application>\<section> once the registry
// key is set) as the options store uses it. A
// process without an application object reads the defaults and writes
// nothing.
#pragma once

#include <afx.h>

int ReadProfileInt(LPCSTR section, LPCSTR key, int defaultValue);
bool ReadProfileBool(LPCSTR section, LPCSTR key, bool defaultValue);
void WriteProfileInt(LPCSTR section, LPCSTR key, int value);
// Booleans are stored as 0 or 1.
void WriteProfileBool(LPCSTR section, LPCSTR key, bool value);
