#include <windows.h>

#include "SplitString.h"

int SplitString(LPCSTR text, char separator, CStringArray& parts)
{
    parts.RemoveAll();
    if (text == NULL || *text == '\0')
        return 0;
    const char* start = text;
    const char* p = text;
    for (;;) {
        if (*p == '\0' || *p == separator) {
            parts.Add(CString(start, int(p - start)));
            if (*p == '\0')
                break;
            start = ++p;
            continue;
        }
        if (IsDBCSLeadByte(BYTE(*p)) && p[1] != '\0')
            p += 2;
        else
            ++p;
    }
    return int(parts.GetSize());
}
