#include "SkinDraw.h"

void DrawSkinFrame(CDC* pDC, const CRect& rcTarget, CSkinImage& image)
{
    if (pDC == NULL || !image.LoadImage())
        return;
    const int cw = image.GetWidth() / 3;
    const int ch = image.GetHeight() / 3;
    if (cw <= 0 || ch <= 0)
        return;
    HDC hDC = pDC->GetSafeHdc();
    const int l = rcTarget.left, t = rcTarget.top, r = rcTarget.right, b = rcTarget.bottom;
    const int nMidWidth = r - l - 2 * cw;
    const int nMidHeight = b - t - 2 * ch;
    // Edges and centre first, so that corners stay whole in a target
    // smaller than two cells.
    if (nMidWidth > 0) {
        image.StretchBlt(hDC, l + cw, t, nMidWidth, ch, cw, 0, cw, ch);
        image.StretchBlt(hDC, l + cw, b - ch, nMidWidth, ch, cw, 2 * ch, cw, ch);
    }
    if (nMidHeight > 0) {
        image.StretchBlt(hDC, l, t + ch, cw, nMidHeight, 0, ch, cw, ch);
        image.StretchBlt(hDC, r - cw, t + ch, cw, nMidHeight, 2 * cw, ch, cw, ch);
    }
    if (nMidWidth > 0 && nMidHeight > 0)
        image.StretchBlt(hDC, l + cw, t + ch, nMidWidth, nMidHeight, cw, ch, cw, ch);
    image.BitBlt(hDC, l, t, cw, ch, 0, 0);
    image.BitBlt(hDC, r - cw, t, cw, ch, 2 * cw, 0);
    image.BitBlt(hDC, l, b - ch, cw, ch, 0, 2 * ch);
    image.BitBlt(hDC, r - cw, b - ch, cw, ch, 2 * cw, 2 * ch);
}

void DrawSkinBar(CDC* pDC, const CRect& rcTarget, CSkinImage& image)
{
    if (pDC == NULL || !image.LoadImage())
        return;
    const int cw = image.GetWidth() / 3;
    const int h = image.GetHeight();
    if (cw <= 0 || h <= 0)
        return;
    HDC hDC = pDC->GetSafeHdc();
    const int nMidWidth = rcTarget.Width() - 2 * cw;
    if (nMidWidth > 0)
        image.StretchBlt(hDC, rcTarget.left + cw, rcTarget.top, nMidWidth, h, cw, 0, cw, h);
    image.BitBlt(hDC, rcTarget.left, rcTarget.top, cw, h, 0, 0);
    image.BitBlt(hDC, rcTarget.right - cw, rcTarget.top, cw, h, 2 * cw, 0);
}
