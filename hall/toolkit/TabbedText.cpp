#include "TabbedText.h"
#include "TextUnit.h"

namespace
{
const int kTabSteps = 4;

// Walks the text from start; draws when bDraw. Answers the final cursor,
// or false when the DC's text metrics cannot be read.
bool WalkText(HDC dc, POINT start, int right, int lineHeight, LPCSTR text, bool bDraw, POINT* pEnd)
{
    TEXTMETRICA tm;
    if (text == NULL || !::GetTextMetricsA(dc, &tm))
        return false;
    const int nAverage = tm.tmAveCharWidth, nMaximum = tm.tmMaxCharWidth;
    POINT cursor = start;
    for (const char* p = text; *p != 0; ++p) {
        switch (*p) {
        case '\t': AdvanceTextCursor(start, &cursor, right, lineHeight, nAverage, kTabSteps); break;
        case '\r':
            cursor.y += lineHeight;
            cursor.x = start.x;
            if (p[1] == '\n')
                ++p;
            break;
        case '\n':
            cursor.y += lineHeight;
            cursor.x = start.x;
            break;
        default:
            if (IsDoubleBytePair(p)) {
                if (bDraw)
                    ::TextOutA(dc, cursor.x, cursor.y, p, 2);
                AdvanceTextCursor(start, &cursor, right, lineHeight, nMaximum, 1);
                ++p;
            } else {
                if (bDraw)
                    ::TextOutA(dc, cursor.x, cursor.y, p, 1);
                AdvanceTextCursor(start, &cursor, right, lineHeight, nAverage, 1);
            }
            break;
        }
    }
    *pEnd = cursor;
    return true;
}
} // namespace

bool IsDoubleBytePair(const char* p)
{
    return p != NULL && p[0] != 0 && TextCharSize(p, p[1] != 0 ? 2 : 1, 0) == 2;
}

void AdvanceTextCursor(POINT start, POINT* cursor, int right, int lineHeight, int step, int count)
{
    if (cursor == NULL || right < step)
        return;
    if (cursor->x < start.x)
        cursor->x = start.x;
    if (cursor->y < start.y)
        cursor->y = start.y;
    for (int i = 0; i < count; ++i) {
        cursor->x += step;
        if (cursor->x > right) {
            cursor->x = start.x;
            cursor->y += lineHeight;
        }
    }
}

int MeasureTabbedText(HDC dc, int maxWidth, int lineHeight, LPCSTR text)
{
    POINT start = {0, 0}, end;
    if (!WalkText(dc, start, maxWidth, lineHeight, text, false, &end))
        return 0;
    return end.y + lineHeight;
}

int DrawTabbedTextLines(HDC dc, int x, int y, int right, int lineHeight, LPCSTR text)
{
    POINT start = {x, y}, end;
    if (!WalkText(dc, start, right, lineHeight, text, true, &end) || lineHeight == 0)
        return 0;
    return (end.y - y) / lineHeight;
}
