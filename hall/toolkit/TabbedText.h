// Multi-line text measured and drawn character by character: tab stops of
// four average character widths, CR, LF and CR LF as line breaks, wrapping
// after the character that passes the right edge, double-byte characters
// kept whole.
#pragma once

#include <windows.h>

// The height the text needs within maxWidth; 0 when the DC's text metrics
// cannot be read (or there is no text).
int MeasureTabbedText(HDC dc, int maxWidth, int lineHeight, LPCSTR text);
// Draws from (x, y) wrapping at the absolute x right; answers the number of
// line advances made (0 as well for a zero line height, or when the text
// metrics cannot be read).
int DrawTabbedTextLines(HDC dc, int x, int y, int right, int lineHeight, LPCSTR text);
// p starts a double-byte character of the system code page: a lead byte
// followed by a trail byte (not the terminator).
bool IsDoubleBytePair(const char* p);
// Moves the cursor count steps to the right, to the next line (at start.x)
// after each step that passes right; nothing when right < step.
void AdvanceTextCursor(POINT start, POINT* cursor, int right, int lineHeight, int step, int count);
