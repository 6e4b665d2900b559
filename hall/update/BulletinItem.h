// One line of the hall bulletin, as the options store keeps it.
#pragma once

#include <afxwin.h>

struct tagBulletinItem
{
    COLORREF crColor;
    CHAR szText[512]; // terminated, cut at a character boundary
};
static_assert(sizeof(tagBulletinItem) == 516, "bulletin line layout");
