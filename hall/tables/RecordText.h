// Text fields of records the room server sent: read up to the field's end
// when the sender left out the terminator.
#pragma once

#include <afx.h>

#include "TextUnit.h"

template <size_t N> inline CString RecordText(const char (&field)[N])
{
    return CString(field, (int)TextCutLength(field, N, N));
}

inline CString RecordText(const char* field, size_t width)
{
    return CString(field, (int)TextCutLength(field, width, width));
}
