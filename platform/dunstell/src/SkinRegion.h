// Regions cut from 32-bit pixels (blue, green, red, alpha; rows top down):
// the pixels whose colour lies within [key, key + tolerance] per component
// are left out. NULL when no pixel is kept or the region cannot be made.
#pragma once

#include <windows.h>

HRGN SkinRegionFromPixels(const DWORD* pPixels, int nStride, int nWidth, int nHeight, COLORREF crKey,
                          COLORREF crTolerance);
// The same for the part (x, y, cx, cy) of a skin picture's pixels.
HRGN SkinRegionFromImagePart(const DWORD* pPixels, int nImageWidth, int x, int y, int cx, int cy, COLORREF crKey,
                             COLORREF crTolerance);
