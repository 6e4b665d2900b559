#include "SkinImage.h"

#include <Picture.h>
#include <TopDownDib.h>

CSkinImage::CSkinImage()
    : m_nIDResource(0), m_hResource(NULL), m_bTried(FALSE), m_hBitmap(NULL), m_pBits(NULL), m_nWidth(0), m_nHeight(0),
      m_bAlpha(FALSE)
{}

CSkinImage::~CSkinImage()
{
    DestroyImage();
}

void CSkinImage::SetLoadInfo(LPCTSTR pszFileName, bool bLoadNow)
{
    CString strName = pszFileName != NULL ? pszFileName : "";
    // Painting code names the same file on every paint: keep what is held.
    if (m_nIDResource != 0 || strName.CompareNoCase(m_strFileName) != 0) {
        DestroyImage();
        m_strFileName = strName;
        m_nIDResource = 0;
        m_hResource = NULL;
    }
    if (bLoadNow)
        LoadImage();
}

void CSkinImage::SetLoadInfo(UINT nIDResource, HINSTANCE hInstance, bool bLoadNow)
{
    if (nIDResource != m_nIDResource || hInstance != m_hResource || !m_strFileName.IsEmpty()) {
        DestroyImage();
        m_strFileName.Empty();
        m_nIDResource = nIDResource;
        m_hResource = hInstance;
    }
    if (bLoadNow)
        LoadImage();
}

void CSkinImage::RemoveLoadInfo()
{
    DestroyImage();
    m_strFileName.Empty();
    m_nIDResource = 0;
    m_hResource = NULL;
}

BOOL CSkinImage::HasLoadInfo() const
{
    return !m_strFileName.IsEmpty() || m_nIDResource != 0;
}

BOOL CSkinImage::LoadImage()
{
    if (m_hBitmap != NULL)
        return TRUE;
    // A picture that failed stays empty until it is named again.
    if (m_bTried)
        return FALSE;
    m_bTried = TRUE;
    if (!m_strFileName.IsEmpty())
        return LoadFromFile();
    if (m_nIDResource != 0)
        return LoadFromResource();
    return FALSE;
}

void CSkinImage::DestroyImage()
{
    if (m_hBitmap != NULL)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = NULL;
    m_pBits = NULL;
    m_nWidth = m_nHeight = 0;
    m_bAlpha = FALSE;
    m_bTried = FALSE;
}

BOOL CSkinImage::IsNull()
{
    return !LoadImage();
}

BOOL CSkinImage::LoadFromFile()
{
    CPicture picture;
    if (!picture.Load(m_strFileName, PICTURE_TYPE_UNKNOWN))
        return FALSE;
    return Adopt(picture.MakeBitmap(NULL));
}

BOOL CSkinImage::LoadFromResource()
{
    HINSTANCE hInstance = m_hResource != NULL ? m_hResource : AfxGetResourceHandle();
    HBITMAP hLoaded =
        (HBITMAP)::LoadImage(hInstance, MAKEINTRESOURCE(m_nIDResource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (hLoaded == NULL)
        return FALSE;
    BITMAP bm;
    BOOL bOk = FALSE;
    if (::GetObject(hLoaded, sizeof(bm), &bm) == sizeof(bm) && bm.bmWidth > 0 && bm.bmHeight != 0) {
        // Bring it to our own form: 32 bits, top down, opaque.
        BITMAPINFO info;
        InitTopDownDibInfo(info, bm.bmWidth, abs(bm.bmHeight));
        void* pBits = NULL;
        HBITMAP hCopy = CreateTopDownDib(NULL, bm.bmWidth, abs(bm.bmHeight), &pBits);
        HDC hDC = ::CreateCompatibleDC(NULL);
        if (hCopy != NULL && hDC != NULL &&
            ::GetDIBits(hDC, hLoaded, 0, (UINT)abs(bm.bmHeight), pBits, &info, DIB_RGB_COLORS) != 0) {
            DWORD* p = (DWORD*)pBits;
            for (int i = 0, n = bm.bmWidth * abs(bm.bmHeight); i < n; ++i)
                p[i] |= 0xFF000000;
            bOk = Adopt(hCopy);
            hCopy = NULL;
        }
        if (hCopy != NULL)
            ::DeleteObject(hCopy);
        if (hDC != NULL)
            ::DeleteDC(hDC);
    }
    ::DeleteObject(hLoaded);
    return bOk;
}

BOOL CSkinImage::Adopt(HBITMAP hBitmap)
{
    DIBSECTION dib;
    if (hBitmap == NULL || ::GetObject(hBitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBits == NULL ||
        dib.dsBm.bmBitsPixel != 32) {
        if (hBitmap != NULL)
            ::DeleteObject(hBitmap);
        return FALSE;
    }
    m_hBitmap = hBitmap;
    m_pBits = (DWORD*)dib.dsBm.bmBits;
    m_nWidth = dib.dsBm.bmWidth;
    m_nHeight = abs(dib.dsBm.bmHeight);
    // Partly transparent pictures are kept premultiplied for blending.
    const int nCount = m_nWidth * m_nHeight;
    // A picture whose alpha is all zero never had any: it is opaque.
    BOOL bAnyAlpha = FALSE;
    for (int i = 0; i < nCount && !bAnyAlpha; ++i)
        bAnyAlpha = (m_pBits[i] >> 24) != 0;
    if (!bAnyAlpha) {
        for (int i = 0; i < nCount; ++i)
            m_pBits[i] |= 0xFF000000;
    }
    m_bAlpha = FALSE;
    for (int i = 0; i < nCount && !m_bAlpha; ++i)
        m_bAlpha = (m_pBits[i] >> 24) != 0xFF;
    if (!m_bAlpha) {
        // Opaque pictures carry no alpha: key-colour copies compare whole pixels.
        for (int i = 0; i < nCount; ++i)
            m_pBits[i] &= 0x00FFFFFF;
    } else {
        for (int i = 0; i < nCount; ++i) {
            DWORD p = m_pBits[i];
            DWORD a = p >> 24;
            DWORD b = (p & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, r = ((p >> 16) & 0xFF) * a / 255;
            m_pBits[i] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    ::GdiFlush();
    return TRUE;
}

int CSkinImage::GetWidth()
{
    return LoadImage() ? m_nWidth : 0;
}

int CSkinImage::GetHeight()
{
    return LoadImage() ? m_nHeight : 0;
}

HBITMAP CSkinImage::GetBitmapHandle()
{
    return LoadImage() ? m_hBitmap : NULL;
}

const DWORD* CSkinImage::GetBits()
{
    return LoadImage() ? m_pBits : NULL;
}

COLORREF CSkinImage::GetPixel(int x, int y)
{
    if (!LoadImage() || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return CLR_INVALID;
    ::GdiFlush();
    DWORD p = m_pBits[y * m_nWidth + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

BOOL CSkinImage::Blt(HDC hDestDC, int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop)
{
    if (hDestDC == NULL || !LoadImage() || nDestWidth <= 0 || nDestHeight <= 0 || nSrcWidth <= 0 || nSrcHeight <= 0)
        return FALSE;
    HDC hSrcDC = ::CreateCompatibleDC(hDestDC);
    if (hSrcDC == NULL)
        return FALSE;
    HGDIOBJ hOld = ::SelectObject(hSrcDC, m_hBitmap);
    BOOL bOk;
    if (m_bAlpha) {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        bOk = ::AlphaBlend(hDestDC, xDest, yDest, nDestWidth, nDestHeight, hSrcDC, xSrc, ySrc, nSrcWidth, nSrcHeight,
                           blend);
    } else if (nDestWidth == nSrcWidth && nDestHeight == nSrcHeight) {
        bOk = ::BitBlt(hDestDC, xDest, yDest, nDestWidth, nDestHeight, hSrcDC, xSrc, ySrc, dwRop);
    } else {
        int nOldMode = ::SetStretchBltMode(hDestDC, COLORONCOLOR);
        bOk = ::StretchBlt(hDestDC, xDest, yDest, nDestWidth, nDestHeight, hSrcDC, xSrc, ySrc, nSrcWidth, nSrcHeight,
                           dwRop);
        ::SetStretchBltMode(hDestDC, nOldMode);
    }
    ::SelectObject(hSrcDC, hOld);
    ::DeleteDC(hSrcDC);
    return bOk;
}

BOOL CSkinImage::BitBlt(HDC hDestDC, int xDest, int yDest, DWORD dwRop)
{
    return Blt(hDestDC, xDest, yDest, GetWidth(), GetHeight(), 0, 0, GetWidth(), GetHeight(), dwRop);
}

BOOL CSkinImage::BitBlt(HDC hDestDC, int xDest, int yDest, int nWidth, int nHeight, int xSrc, int ySrc, DWORD dwRop)
{
    return Blt(hDestDC, xDest, yDest, nWidth, nHeight, xSrc, ySrc, nWidth, nHeight, dwRop);
}

BOOL CSkinImage::StretchBlt(HDC hDestDC, const RECT& rectDest, DWORD dwRop)
{
    return Blt(hDestDC, rectDest.left, rectDest.top, rectDest.right - rectDest.left, rectDest.bottom - rectDest.top, 0,
               0, GetWidth(), GetHeight(), dwRop);
}

BOOL CSkinImage::StretchBlt(HDC hDestDC, int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc, int ySrc,
                            int nSrcWidth, int nSrcHeight, DWORD dwRop)
{
    return Blt(hDestDC, xDest, yDest, nDestWidth, nDestHeight, xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
}

BOOL CSkinImage::AlphaDrawImage(CDC* pDestDC, int xDest, int yDest, int nWidth, int nHeight, int xSrc, int ySrc,
                                COLORREF crTransparent)
{
    return AlphaDrawImage(pDestDC, xDest, yDest, nWidth, nHeight, xSrc, ySrc, nWidth, nHeight, crTransparent);
}

BOOL CSkinImage::AlphaDrawImage(CDC* pDestDC, int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc, int ySrc,
                                int nSrcWidth, int nSrcHeight, COLORREF crTransparent)
{
    HDC hDestDC = pDestDC->GetSafeHdc();
    if (hDestDC == NULL || !LoadImage())
        return FALSE;
    // Blended pictures carry their own transparency.
    if (m_bAlpha)
        return Blt(hDestDC, xDest, yDest, nDestWidth, nDestHeight, xSrc, ySrc, nSrcWidth, nSrcHeight, SRCCOPY);
    if (nDestWidth <= 0 || nDestHeight <= 0 || nSrcWidth <= 0 || nSrcHeight <= 0)
        return FALSE;
    HDC hSrcDC = ::CreateCompatibleDC(hDestDC);
    if (hSrcDC == NULL)
        return FALSE;
    HGDIOBJ hOld = ::SelectObject(hSrcDC, m_hBitmap);
    BOOL bOk = ::TransparentBlt(hDestDC, xDest, yDest, nDestWidth, nDestHeight, hSrcDC, xSrc, ySrc, nSrcWidth,
                                nSrcHeight, crTransparent & 0xFFFFFF);
    ::SelectObject(hSrcDC, hOld);
    ::DeleteDC(hSrcDC);
    return bOk;
}
