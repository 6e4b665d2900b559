// CSkinImage: a picture of the skin, named by file or bitmap resource and
// loaded on first use. Pictures are held as 32-bit top-down bitmaps; those
// with partial transparency (PNG) are drawn blended. A picture that does not
// load stays empty, and an empty picture draws nothing.
#pragma once

#include <afxwin.h>

class CSkinImage
{
public:
    CSkinImage();
    ~CSkinImage();

    // Names the picture; the one held is dropped when the name changes.
    // bLoadNow loads at once instead of on first use.
    void SetLoadInfo(LPCTSTR pszFileName, bool bLoadNow = false);
    void SetLoadInfo(UINT nIDResource, HINSTANCE hInstance, bool bLoadNow = false);
    void RemoveLoadInfo();
    BOOL HasLoadInfo() const;
    // What SetLoadInfo named (an empty name for a resource).
    const CString& GetLoadFileName() const { return m_strFileName; }
    UINT GetLoadResourceID() const { return m_nIDResource; }
    HINSTANCE GetLoadResourceInstance() const { return m_hResource; }

    // Loads what SetLoadInfo named (once); TRUE when a picture is held.
    BOOL LoadImage();
    void DestroyImage();
    // No picture could be loaded.
    BOOL IsNull();

    int GetWidth();
    int GetHeight();
    HBITMAP GetBitmapHandle();
    operator HBITMAP() { return GetBitmapHandle(); }
    // 0x00BBGGRR of a pixel; CLR_INVALID outside the picture or when empty.
    COLORREF GetPixel(int x, int y);

    // Plain copies (blended for pictures with transparency).
    BOOL BitBlt(HDC hDestDC, int xDest, int yDest, DWORD dwRop = SRCCOPY);
    BOOL BitBlt(HDC hDestDC, int xDest, int yDest, int nWidth, int nHeight, int xSrc, int ySrc, DWORD dwRop = SRCCOPY);
    BOOL StretchBlt(HDC hDestDC, const RECT& rectDest, DWORD dwRop = SRCCOPY);
    BOOL StretchBlt(HDC hDestDC, int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop = SRCCOPY);
    // Copies leaving out the pixels of the key colour.
    BOOL AlphaDrawImage(CDC* pDestDC, int xDest, int yDest, int nWidth, int nHeight, int xSrc, int ySrc,
                        COLORREF crTransparent);
    BOOL AlphaDrawImage(CDC* pDestDC, int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc, int ySrc,
                        int nSrcWidth, int nSrcHeight, COLORREF crTransparent);

    // The pixels (blue, green, red, alpha; rows top to bottom), NULL when empty.
    const DWORD* GetBits();
    BOOL HasAlpha() const { return m_bAlpha; }

private:
    CSkinImage(const CSkinImage&);
    CSkinImage& operator=(const CSkinImage&);

    BOOL LoadFromFile();
    BOOL LoadFromResource();
    BOOL Adopt(HBITMAP hBitmap);
    BOOL Blt(HDC hDestDC, int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc, int ySrc, int nSrcWidth,
             int nSrcHeight, DWORD dwRop);

    CString m_strFileName;
    UINT m_nIDResource;
    HINSTANCE m_hResource;
    BOOL m_bTried; // a load was attempted since the name was set
    HBITMAP m_hBitmap;
    DWORD* m_pBits;
    int m_nWidth;
    int m_nHeight;
    BOOL m_bAlpha;
};
