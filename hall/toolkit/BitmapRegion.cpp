#include "BitmapRegion.h"

#include <ImageHandle.h>
#include <Picture.h>
#include <TopDownDib.h>

#include <algorithm>

namespace
{
const COLORREF kKey = RGB(255, 0, 255);
const COLORREF kTolerance = RGB(0x10, 0x10, 0x10);
const DWORD kGrowRects = 100;
const DWORD kRectsPerPart = 2000;

// Rectangles gathered in global memory, turned into a region every
// kRectsPerPart rectangles and OR-ed into the result.
class CRegionBuilder
{
public:
    CRegionBuilder() : m_hData(NULL), m_nCapacity(0), m_hResult(NULL), m_bFailed(false) { Grow(); }
    ~CRegionBuilder()
    {
        if (m_hData != NULL)
            ::GlobalFree(m_hData);
        if (m_hResult != NULL)
            ::DeleteObject(m_hResult);
    }

    void Add(LONG x0, LONG y, LONG x1)
    {
        if (m_bFailed)
            return;
        RGNDATA* pData = Data();
        if (pData->rdh.nCount >= m_nCapacity) {
            if (!Grow())
                return;
            pData = Data();
        }
        RECT* pRects = reinterpret_cast<RECT*>(pData->Buffer);
        ::SetRect(&pRects[pData->rdh.nCount++], x0, y, x1, y + 1);
        RECT& rcBound = pData->rdh.rcBound;
        rcBound.left = std::min(rcBound.left, x0);
        rcBound.top = std::min(rcBound.top, y);
        rcBound.right = std::max(rcBound.right, x1);
        rcBound.bottom = std::max(rcBound.bottom, y + 1);
        if (pData->rdh.nCount == kRectsPerPart)
            Flush();
    }

    // The finished region (the caller's), NULL when empty or on failure.
    HRGN Finish()
    {
        Flush();
        if (m_bFailed)
            return NULL;
        HRGN hResult = m_hResult;
        m_hResult = NULL;
        return hResult;
    }

private:
    RGNDATA* Data() { return reinterpret_cast<RGNDATA*>(m_hData); }

    static DWORD SizeFor(DWORD nRects) { return sizeof(RGNDATAHEADER) + nRects * sizeof(RECT); }

    bool Grow()
    {
        HGLOBAL hNew = m_hData == NULL ? ::GlobalAlloc(GMEM_FIXED, SizeFor(kGrowRects))
                                       : ::GlobalReAlloc(m_hData, SizeFor(m_nCapacity + kGrowRects), GMEM_MOVEABLE);
        if (hNew == NULL) {
            m_bFailed = true;
            return false;
        }
        bool bFirst = m_hData == NULL;
        m_hData = hNew;
        m_nCapacity += kGrowRects;
        if (bFirst)
            Reset();
        return true;
    }

    void Reset()
    {
        RGNDATA* pData = Data();
        pData->rdh.dwSize = sizeof(RGNDATAHEADER);
        pData->rdh.iType = RDH_RECTANGLES;
        pData->rdh.nCount = 0;
        pData->rdh.nRgnSize = 0;
        ::SetRect(&pData->rdh.rcBound, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0);
    }

    void Flush()
    {
        if (m_bFailed || Data()->rdh.nCount == 0)
            return;
        HRGN hPart = ::ExtCreateRegion(NULL, SizeFor(Data()->rdh.nCount), Data());
        Reset();
        if (hPart == NULL) {
            m_bFailed = true;
            return;
        }
        if (m_hResult == NULL) {
            m_hResult = hPart;
        } else {
            ::CombineRgn(m_hResult, m_hResult, hPart, RGN_OR);
            ::DeleteObject(hPart);
        }
    }

    HGLOBAL m_hData; // GMEM_FIXED: the handle is the address
    DWORD m_nCapacity;
    HRGN m_hResult;
    bool m_bFailed;
};

// Sizes the window to cx by cy without moving it and gives it the region.
bool ShapeWindow(HWND hWnd, CRgn* pRgn, int cx, int cy)
{
    ::SetWindowPos(hWnd, NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HRGN hRgn = pRgn != NULL ? (HRGN)pRgn->GetSafeHandle() : NULL;
    if (::SetWindowRgn(hWnd, hRgn, TRUE) == 0 && hRgn != NULL)
        ::DeleteObject(hRgn);
    return true;
}
} // namespace

CRgn* CreateRegionFromBitmap(HBITMAP hBitmap, COLORREF crKey, COLORREF crTolerance)
{
    BITMAP bm;
    if (hBitmap == NULL || ::GetObject(hBitmap, sizeof(bm), &bm) != sizeof(bm) || bm.bmWidth <= 0 || bm.bmHeight == 0)
        return NULL;
    const int nWidth = bm.bmWidth, nHeight = abs(bm.bmHeight);
    HDC hMemDC = ::CreateCompatibleDC(NULL);
    if (hMemDC == NULL)
        return NULL;

    // A 32-bit copy scanned from the top: row 0 is the picture's top row.
    void* pBits = NULL;
    HBITMAP hCopy = CreateTopDownDib(hMemDC, nWidth, nHeight, &pBits);
    HDC hSrcDC = ::CreateCompatibleDC(hMemDC);
    HRGN hRgn = NULL;
    if (hCopy != NULL && pBits != NULL && hSrcDC != NULL) {
        HGDIOBJ hOldCopy = ::SelectObject(hMemDC, hCopy);
        HGDIOBJ hOldSrc = ::SelectObject(hSrcDC, hBitmap);
        ::BitBlt(hMemDC, 0, 0, nWidth, nHeight, hSrcDC, 0, 0, SRCCOPY);
        ::GdiFlush();
        ::SelectObject(hSrcDC, hOldSrc);
        ::SelectObject(hMemDC, hOldCopy);

        // Each component against its own: the pixel's bytes are blue, green, red.
        const int loR = GetRValue(crKey), loG = GetGValue(crKey), loB = GetBValue(crKey);
        const int hiR = std::min(255, loR + GetRValue(crTolerance));
        const int hiG = std::min(255, loG + GetGValue(crTolerance));
        const int hiB = std::min(255, loB + GetBValue(crTolerance));
        auto isKey = [&](const BYTE* p) {
            return p[2] >= loR && p[2] <= hiR && p[1] >= loG && p[1] <= hiG && p[0] >= loB && p[0] <= hiB;
        };
        const int nRowBytes = ((nWidth * 32 + 31) / 32) * 4;
        CRegionBuilder builder;
        for (int y = 0; y < nHeight; ++y) {
            const BYTE* pRow = static_cast<const BYTE*>(pBits) + (size_t)y * nRowBytes;
            for (int x = 0; x < nWidth; ++x) {
                if (isKey(pRow + x * 4))
                    continue;
                int x0 = x;
                while (x < nWidth && !isKey(pRow + x * 4))
                    ++x;
                builder.Add(x0, y, x);
            }
        }
        hRgn = builder.Finish();
    }
    if (hSrcDC != NULL)
        ::DeleteDC(hSrcDC);
    if (hCopy != NULL)
        ::DeleteObject(hCopy);
    ::DeleteDC(hMemDC);
    return hRgn != NULL ? CRgn::FromHandle(hRgn) : NULL;
}

bool ApplySkinImageRgn(CSkinImage* pPicture, HWND hWnd)
{
    if (pPicture == NULL)
        return false;
    CImageHandle handle(pPicture);
    if (!handle.IsResourceValid())
        return false;
    CRgn* pRgn = CreateRegionFromBitmap(handle.GetBitmapHandle(), kKey, kTolerance);
    return ShapeWindow(hWnd, pRgn, handle->GetWidth(), handle->GetHeight());
}

bool ApplyPictureRgn(CPicture* pPicture, HWND hWnd)
{
    if (pPicture == NULL || !pPicture->IsValid())
        return false;
    HBITMAP hBitmap = pPicture->MakeBitmap(NULL);
    CRgn* pRgn = CreateRegionFromBitmap(hBitmap, kKey, kTolerance);
    if (hBitmap != NULL)
        ::DeleteObject(hBitmap);
    return ShapeWindow(hWnd, pRgn, (int)pPicture->GetWidth(), (int)pPicture->GetHeight());
}
