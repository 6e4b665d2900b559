// The registration form's validation code drawn into a small noisy picture
// with a random font, written as a BMP file the form then loads.
#pragma once

#include <afxwin.h>

class CCreateValidateCode
{
public:
    enum
    {
        PICTURE_WIDTH = 93,
        PICTURE_HEIGHT = 25,
        PIXEL_COUNT = PICTURE_WIDTH * PICTURE_HEIGHT,
        FACE_COUNT = 23,
    };
    // Written straight into the pixel buffer (blue E8, green E0, red E9).
    static const DWORD BACKGROUND = 0x00E9E0E8;

    CCreateValidateCode();
    virtual ~CCreateValidateCode();

    // Draws the code with the window's device context and writes the file;
    // false when the file could not be written (the caller must not show a
    // picture left over from before).
    bool MakePicture(CWnd* pWnd, LPCTSTR pszFileName, LPCTSTR pszCode);

    // Writes the bitmap as a BMP file at the display's colour depth
    // (24 bits above 8); false when the file cannot be created or written.
    static bool WriteBitmapFile(HBITMAP hBitmap, LPCTSTR pszFileName);

    const DWORD* GetPixels() const { return m_pPixels; }

private:
    CCreateValidateCode(const CCreateValidateCode&) = delete;
    CCreateValidateCode& operator=(const CCreateValidateCode&) = delete;

    BITMAPINFO m_BitmapInfo;
    DWORD* m_pPixels;
    LOGFONT m_LogFont;
    CFont* m_pFont;
    CString* m_pFaces[FACE_COUNT];
};
