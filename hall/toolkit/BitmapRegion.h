// Window shapes cut from pictures: the pixels whose colour lies within
// [key, key + tolerance] (per component) are left out of the window.
#pragma once

#include <afxwin.h>

class CPicture;
class CSkinImage;

// The region of the bitmap's other pixels, as a temporary region object of
// the class library (the handle is the caller's); NULL when the bitmap is
// null or nothing can be made.
CRgn* CreateRegionFromBitmap(HBITMAP hBitmap, COLORREF crKey, COLORREF crTolerance);

// Resize the window to the picture (keeping its place) and cut it to the
// picture's non-magenta pixels (tolerance 0x101010); the window owns the
// region. false, with the window unchanged, for a null or empty picture.
bool ApplySkinImageRgn(CSkinImage* pPicture, HWND hWnd);
bool ApplyPictureRgn(CPicture* pPicture, HWND hWnd);
