// Reading a whole section of an INI file.
#pragma once

#include <afx.h>

// Appends the "key=value" lines of the section, in file order, to lines; a
// section of any size is read whole. False when the section is missing or
// empty.
bool ReadIniSection(const char* file, const char* section, CStringArray& lines);

// Splits a line at its first "="; false for a line without one.
bool SplitIniLine(const CString& line, CString& key, CString& value);
