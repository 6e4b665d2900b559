// GDI objects and device contexts, checked by the pixels they leave in a
// memory bitmap (colours and geometry, never glyphs).
#include "win_test_util.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <vector>

namespace
{

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kMagenta = RGB(255, 0, 255);

// A 32-bit bitmap in a memory DC, white to start with.
class CCanvas
{
public:
    CCanvas(int cx, int cy)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = NULL;
        m_bitmap.Attach(::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0));
        m_dc.CreateCompatibleDC(NULL);
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, cx, cy, kWhite);
    }
    ~CCanvas() { m_dc.SelectObject(m_pOldBitmap); }
    COLORREF At(int x, int y)
    {
        ::GdiFlush();
        return m_dc.GetPixel(x, y);
    }

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap;
};

class CPaintedWnd : public CWnd
{
public:
    int m_nPaint = 0;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        CRect rc;
        GetClientRect(&rc);
        pDC->FillSolidRect(&rc, kBlue);
        return TRUE;
    }
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        ++m_nPaint;
        dc.SetTextColor(RGB(1, 1, 1));
        dc.FillSolidRect(10, 10, 20, 10, kRed);
        dc.Draw3dRect(40, 5, 10, 10, kGreen, kBlack);
        CPen pen(PS_SOLID, 1, kYellow);
        CPen* pOld = dc.SelectObject(&pen);
        dc.MoveTo(0, 30);
        dc.LineTo(60, 30);
        dc.SelectObject(pOld);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintedWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(AfxGdi, PrintingRunsTheWindowsOwnPainting)
{
    CPaintedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, NULL, NULL));
    PumpMessages();
    int nPaintBefore = wnd.m_nPaint;
    CCanvas canvas(60, 40);
    canvas.m_dc.SetTextColor(RGB(9, 9, 9));
    ASSERT_TRUE(::PrintWindow(wnd.m_hWnd, canvas.m_dc, 0));
    EXPECT_EQ(wnd.m_nPaint, nPaintBefore + 1);

    struct
    {
        int x, y;
        COLORREF clr;
    } expected[] = {
        {0, 0, kBlue},                    // background
        {59, 39, kBlue},  {10, 10, kRed}, // the filled rectangle, right and bottom edges outside
        {29, 19, kRed},   {30, 15, kBlue},  {15, 20, kBlue}, {40, 5, kGreen}, // the 3-D frame: top and left light
        {48, 5, kGreen},  {40, 13, kGreen}, {49, 5, kBlack},                  // right and bottom dark
        {40, 14, kBlack}, {49, 14, kBlack}, {45, 10, kBlue},                  // a frame only
        {5, 30, kYellow},                                                     // the line
        {5, 31, kBlue},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(testing::Message() << e.x << "," << e.y);
        EXPECT_EQ(canvas.At(e.x, e.y), e.clr);
    }
    // What the painting set on the DC was given back.
    EXPECT_EQ(canvas.m_dc.GetTextColor(), RGB(9, 9, 9));
    wnd.DestroyWindow();
}

TEST(AfxGdi, SolidRectsAndFrames)
{
    CCanvas canvas(30, 20);
    CDC& dc = canvas.m_dc;
    dc.FillSolidRect(CRect(1, 1, 4, 3), kRed);
    EXPECT_EQ(dc.GetBkColor(), kRed); // left set, as the class library does
    // A negative width fills to the left of x.
    dc.FillSolidRect(20, 0, -5, 2, kGreen);
    dc.Draw3dRect(CRect(5, 5, 8, 8), kBlue, kMagenta);
    struct
    {
        int x, y;
        COLORREF clr;
    } expected[] = {
        {1, 1, kRed},    {3, 2, kRed},     {4, 1, kWhite},   {1, 3, kWhite},   {15, 0, kGreen},
        {19, 1, kGreen}, {14, 0, kWhite},  {20, 0, kWhite},  {5, 5, kBlue},    {6, 5, kBlue},
        {5, 6, kBlue},   {7, 5, kMagenta}, {5, 7, kMagenta}, {7, 7, kMagenta}, {6, 6, kWhite},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(testing::Message() << e.x << "," << e.y);
        EXPECT_EQ(canvas.At(e.x, e.y), e.clr);
    }
}

TEST(AfxGdi, SelectObjectHandsBackWhatWasSelected)
{
    CCanvas canvas(10, 10);
    CDC& dc = canvas.m_dc;
    CBrush first(kRed);
    CBrush second(kGreen);
    CBrush* pOriginal = dc.SelectObject(&first);
    ASSERT_NE(pOriginal, nullptr);
    EXPECT_TRUE(pOriginal->IsKindOf(RUNTIME_CLASS(CBrush)));
    EXPECT_EQ(pOriginal->m_hObject, ::GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(dc.SelectObject(&second), &first);
    EXPECT_EQ(dc.SelectStockObject(NULL_BRUSH), &second);

    CPen pen(PS_SOLID, 1, kBlue);
    CPen* pOldPen = dc.SelectObject(&pen);
    EXPECT_EQ(pOldPen->m_hObject, ::GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc.GetCurrentPen(), &pen);

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "宋体"));
    CFont* pOldFont = dc.SelectObject(&font);
    EXPECT_TRUE(pOldFont->IsKindOf(RUNTIME_CLASS(CFont)));
    EXPECT_EQ(dc.SelectObject(pOldFont), &font);

    // SaveDC/RestoreDC bring the selection back.
    dc.SelectObject(&first);
    int nSaved = dc.SaveDC();
    dc.SelectObject(&second);
    EXPECT_TRUE(dc.RestoreDC(nSaved));
    EXPECT_EQ(dc.GetCurrentBrush(), &first);

    dc.SelectObject(pOriginal);
    dc.SelectObject(pOldPen);
}

TEST(AfxGdi, ShapesUseThePenAndTheBrush)
{
    CCanvas canvas(40, 30);
    CDC& dc = canvas.m_dc;
    CPen pen(PS_SOLID, 1, kBlue);
    CBrush brush(kYellow);
    CPen* pOldPen = dc.SelectObject(&pen);
    CBrush* pOldBrush = dc.SelectObject(&brush);
    dc.Rectangle(2, 2, 12, 10);
    POINT triangle[] = {{20, 2}, {38, 2}, {20, 20}};
    dc.Polygon(triangle, 3);
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBrush);

    EXPECT_EQ(canvas.At(2, 2), kBlue);
    EXPECT_EQ(canvas.At(11, 9), kBlue);
    EXPECT_EQ(canvas.At(12, 10), kWhite);
    EXPECT_EQ(canvas.At(6, 6), kYellow);
    EXPECT_EQ(canvas.At(23, 5), kYellow);
    EXPECT_EQ(canvas.At(36, 18), kWhite);
}

TEST(AfxGdi, ClippingLimitsDrawing)
{
    CCanvas canvas(20, 20);
    CDC& dc = canvas.m_dc;
    int nSaved = dc.SaveDC();
    dc.IntersectClipRect(5, 5, 15, 15);
    dc.ExcludeClipRect(8, 8, 10, 10);
    CRect rcClip;
    dc.GetClipBox(&rcClip);
    EXPECT_EQ(rcClip, CRect(5, 5, 15, 15));
    dc.FillSolidRect(0, 0, 20, 20, kRed);
    dc.RestoreDC(nSaved);
    EXPECT_EQ(canvas.At(4, 4), kWhite);
    EXPECT_EQ(canvas.At(5, 5), kRed);
    EXPECT_EQ(canvas.At(14, 14), kRed);
    EXPECT_EQ(canvas.At(15, 15), kWhite);
    EXPECT_EQ(canvas.At(9, 9), kWhite);

    CRgn rgn;
    ASSERT_TRUE(rgn.CreateEllipticRgn(0, 0, 20, 20));
    dc.SelectClipRgn(&rgn);
    dc.FillSolidRect(0, 0, 20, 20, kGreen);
    dc.SelectClipRgn(NULL);
    EXPECT_EQ(canvas.At(10, 10), kGreen);
    EXPECT_EQ(canvas.At(0, 0), kWhite);
}

TEST(AfxGdi, RegionsCombineAndRoundTripThroughTheirData)
{
    CRgn a, b, c;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgnIndirect(CRect(5, 5, 15, 15)));
    ASSERT_TRUE(c.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
    CRect rcBox;
    c.GetRgnBox(&rcBox);
    EXPECT_EQ(rcBox, CRect(5, 5, 10, 10));
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(c.PtInRegion(2, 2));
    EXPECT_TRUE(c.PtInRegion(CPoint(14, 14)));
    EXPECT_FALSE(c.PtInRegion(12, 2));

    int nSize = c.GetRegionData(NULL, 0);
    ASSERT_GT(nSize, (int)sizeof(RGNDATAHEADER));
    std::vector<BYTE> data(nSize);
    ASSERT_EQ(c.GetRegionData((LPRGNDATA)data.data(), nSize), nSize);
    CRgn d;
    ASSERT_TRUE(d.CreateFromData(NULL, nSize, (const RGNDATA*)data.data()));
    EXPECT_TRUE(d.EqualRgn(&c));

    CRgn e;
    ASSERT_TRUE(e.CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(e.CopyRgn(&d), ERROR);
    EXPECT_TRUE(e.EqualRgn(&c));
    e.OffsetRgn(100, 0);
    EXPECT_FALSE(e.EqualRgn(&c));
    EXPECT_TRUE(e.PtInRegion(102, 2));
    e.SetRectRgn(CRect(1, 1, 2, 2));
    EXPECT_TRUE(e.PtInRegion(1, 1));
    EXPECT_FALSE(e.PtInRegion(102, 2));

    CRgn round, polygon;
    ASSERT_TRUE(round.CreateRoundRectRgn(0, 0, 20, 20, 10, 10));
    EXPECT_TRUE(round.PtInRegion(10, 10));
    EXPECT_FALSE(round.PtInRegion(0, 0));
    POINT pts[] = {{0, 0}, {20, 0}, {0, 20}};
    ASSERT_TRUE(polygon.CreatePolygonRgn(pts, 3, ALTERNATE));
    EXPECT_TRUE(polygon.PtInRegion(2, 2));
    EXPECT_FALSE(polygon.PtInRegion(18, 18));

    CCanvas canvas(20, 20);
    CBrush brush(kBlue);
    canvas.m_dc.FillRgn(&round, &brush);
    EXPECT_EQ(canvas.At(10, 10), kBlue);
    EXPECT_EQ(canvas.At(0, 0), kWhite);
}

TEST(AfxGdi, BlitsStretchKeyAndBlend)
{
    CCanvas source(2, 2);
    source.m_dc.SetPixel(0, 0, kRed);
    source.m_dc.SetPixel(1, 0, kMagenta);
    source.m_dc.SetPixel(0, 1, kBlack);
    source.m_dc.SetPixel(1, 1, kGreen);

    CCanvas copy(4, 4);
    EXPECT_TRUE(copy.m_dc.BitBlt(1, 1, 2, 2, &source.m_dc, 0, 0, SRCCOPY));
    EXPECT_EQ(copy.At(1, 1), kRed);
    EXPECT_EQ(copy.At(2, 2), kGreen);
    EXPECT_EQ(copy.At(0, 0), kWhite);

    CCanvas stretched(4, 4);
    stretched.m_dc.SetStretchBltMode(COLORONCOLOR);
    EXPECT_TRUE(stretched.m_dc.StretchBlt(0, 0, 4, 4, &source.m_dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(stretched.At(1, 1), kRed);
    EXPECT_EQ(stretched.At(3, 3), kGreen);

    CCanvas keyed(2, 2);
    keyed.m_dc.FillSolidRect(0, 0, 2, 2, kBlue);
    EXPECT_TRUE(keyed.m_dc.TransparentBlt(0, 0, 2, 2, &source.m_dc, 0, 0, 2, 2, kMagenta));
    EXPECT_EQ(keyed.At(0, 0), kRed);
    EXPECT_EQ(keyed.At(1, 0), kBlue); // the key colour shows what was under it

    CCanvas blended(1, 1);
    CCanvas black(1, 1);
    black.m_dc.FillSolidRect(0, 0, 1, 1, kBlack);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 128, 0};
    EXPECT_TRUE(blended.m_dc.AlphaBlend(0, 0, 1, 1, &black.m_dc, 0, 0, 1, 1, blend));
    COLORREF clr = blended.At(0, 0);
    EXPECT_NEAR(GetRValue(clr), 127, 2);
    EXPECT_EQ(GetRValue(clr), GetBValue(clr));
}

TEST(AfxGdi, ObjectsReportWhatTheyWereMadeWith)
{
    CCanvas canvas(4, 4);
    EXPECT_EQ(canvas.m_dc.GetDeviceCaps(BITSPIXEL), 32);
    BITMAP bm = {};
    ASSERT_TRUE(canvas.m_bitmap.GetBitmap(&bm));
    EXPECT_EQ(bm.bmWidth, 4);

    CBitmap compatible;
    ASSERT_TRUE(compatible.CreateCompatibleBitmap(&canvas.m_dc, 7, 3));
    compatible.GetBitmap(&bm);
    EXPECT_EQ(bm.bmWidth, 7);
    EXPECT_EQ(bm.bmHeight, 3);

    const DWORD bits[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    CBitmap raw;
    ASSERT_TRUE(raw.CreateBitmap(2, 2, 1, 32, bits));
    DWORD back[4] = {};
    EXPECT_EQ(raw.GetBitmapBits(sizeof(back), back), sizeof(back));
    EXPECT_EQ(memcmp(back, bits, sizeof(bits)), 0);

    CFont font;
    ASSERT_TRUE(font.CreateFont(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体"));
    LOGFONT lf = {};
    ASSERT_TRUE(font.GetLogFont(&lf));
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_STREQ(lf.lfFaceName, "宋体");
    CFont pointFont;
    ASSERT_TRUE(pointFont.CreatePointFont(120, "Arial", &canvas.m_dc));
    pointFont.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -::MulDiv(canvas.m_dc.GetDeviceCaps(LOGPIXELSY), 12, 72));

    CPen pen(PS_DASH, 1, kRed);
    LOGPEN lp = {};
    ASSERT_TRUE(pen.GetLogPen(&lp));
    EXPECT_EQ(lp.lopnStyle, (UINT)PS_DASH);
    EXPECT_EQ(lp.lopnColor, kRed);
    CBrush hatch(HS_CROSS, kGreen);
    LOGBRUSH lb = {};
    ASSERT_TRUE(hatch.GetLogBrush(&lb));
    EXPECT_EQ(lb.lbStyle, (UINT)BS_HATCHED);

    CPalette* pDefault = CPalette::FromHandle((HPALETTE)::GetStockObject(DEFAULT_PALETTE));
    CPalette* pOld = canvas.m_dc.SelectPalette(pDefault, FALSE);
    canvas.m_dc.RealizePalette();
    EXPECT_NE(pOld, nullptr);
    EXPECT_GT(pDefault->GetEntryCount(), 0);

    // Text calls measure without asserting glyphs.
    CSize size = canvas.m_dc.GetTextExtent(CString(""));
    EXPECT_EQ(size.cx, 0);
    TEXTMETRIC tm = {};
    EXPECT_TRUE(canvas.m_dc.GetTextMetrics(&tm));
    EXPECT_GT(tm.tmHeight, 0);
    CRect rcText(0, 0, 200, 0);
    canvas.m_dc.DrawText(CString("文字"), &rcText, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(rcText.Height(), 0);
}

TEST(AfxGdi, WindowDeviceContexts)
{
    CPaintedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, NULL, NULL));
    {
        CClientDC client(&wnd);
        EXPECT_NE(client.GetSafeHdc(), (HDC)NULL);
        EXPECT_EQ(CDC::FromHandle(client.m_hDC), &client);
        CWindowDC window(&wnd);
        EXPECT_NE(window.GetSafeHdc(), (HDC)NULL);
    }
    CDC* pDC = wnd.GetDC();
    ASSERT_NE(pDC, nullptr);
    EXPECT_EQ(wnd.ReleaseDC(pDC), 1);
    wnd.DestroyWindow();
}

} // namespace
