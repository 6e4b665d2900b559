#include "SkinRegion.h"

#include <algorithm>
#include <vector>

namespace
{
inline bool InKey(DWORD p, const BYTE lo[3], const int hi[3])
{
    const BYTE b = BYTE(p), g = BYTE(p >> 8), r = BYTE(p >> 16);
    return r >= lo[0] && r <= hi[0] && g >= lo[1] && g <= hi[1] && b >= lo[2] && b <= hi[2];
}
} // namespace

HRGN SkinRegionFromPixels(const DWORD* pPixels, int nStride, int nWidth, int nHeight, COLORREF crKey,
                          COLORREF crTolerance)
{
    if (pPixels == NULL || nWidth <= 0 || nHeight <= 0)
        return NULL;
    const BYTE lo[3] = {GetRValue(crKey), GetGValue(crKey), GetBValue(crKey)};
    const int hi[3] = {std::min(255, lo[0] + GetRValue(crTolerance)), std::min(255, lo[1] + GetGValue(crTolerance)),
                       std::min(255, lo[2] + GetBValue(crTolerance))};
    std::vector<RECT> rects;
    for (int y = 0; y < nHeight; ++y) {
        const DWORD* row = pPixels + (size_t)y * nStride;
        for (int x = 0; x < nWidth;) {
            while (x < nWidth && InKey(row[x], lo, hi))
                ++x;
            int x0 = x;
            while (x < nWidth && !InKey(row[x], lo, hi))
                ++x;
            if (x > x0)
                rects.push_back(RECT{x0, y, x, y + 1});
        }
    }
    if (rects.empty())
        return NULL;
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATA* pData = reinterpret_cast<RGNDATA*>(data.data());
    pData->rdh.dwSize = sizeof(RGNDATAHEADER);
    pData->rdh.iType = RDH_RECTANGLES;
    pData->rdh.nCount = (DWORD)rects.size();
    pData->rdh.nRgnSize = (DWORD)(rects.size() * sizeof(RECT));
    SetRect(&pData->rdh.rcBound, 0, 0, nWidth, nHeight);
    memcpy(pData->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return ::ExtCreateRegion(NULL, (DWORD)data.size(), pData);
}

HRGN SkinRegionFromImagePart(const DWORD* pPixels, int nImageWidth, int x, int y, int cx, int cy, COLORREF crKey,
                             COLORREF crTolerance)
{
    if (pPixels == NULL || x < 0 || y < 0 || cx <= 0 || cy <= 0 || x + cx > nImageWidth)
        return NULL;
    return SkinRegionFromPixels(pPixels + (size_t)y * nImageWidth + x, nImageWidth, cx, cy, crKey, crTolerance);
}
