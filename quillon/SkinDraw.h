// Drawing of skin pictures that every page of the program uses for its
// backgrounds and bars.
#pragma once

#include <afxwin.h>

#include "SkinImage.h"

// The picture cut into 3 by 3 equal cells: corners at their own size, the
// edges stretched between them, the centre over the rest. Nothing is drawn
// when the picture is not loaded.
void DrawSkinFrame(CDC* pDC, const CRect& rcTarget, CSkinImage& image);
// The picture cut into three columns: the ends at their own size, the middle
// stretched between them, all at the picture's height from the target's top.
void DrawSkinBar(CDC* pDC, const CRect& rcTarget, CSkinImage& image);
