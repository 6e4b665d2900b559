#include <windows.h>

#include "SplitString.h"
#include "TextUnit.h"

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
        p += TextCharSize(p, p[1] != '\0' ? 2 : 1, 0);
    }
    return int(parts.GetSize());
}
