// Drawing: the widget context, the host's buffered painting and the frame
// painter, read back from what reached the screen.
#include "WidgetTestSupport.h"

#include <Picture.h>

namespace
{
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// A 100 x 100 memory context cleared to black.
class MemoryDC
{
public:
    MemoryDC()
    {
        HDC hScreen = ::GetDC(NULL);
        m_hDC = ::CreateCompatibleDC(hScreen);
        m_hBitmap = ::CreateCompatibleBitmap(hScreen, 100, 100);
        ::ReleaseDC(NULL, hScreen);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        RECT rc = {0, 0, 100, 100};
        ::FillRect(m_hDC, &rc, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        m_dc.Attach(m_hDC);
    }
    ~MemoryDC()
    {
        m_dc.Detach();
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    CDC* DC() { return &m_dc; }
    COLORREF At(int x, int y) { return ::GetPixel(m_hDC, x, y); }

private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    CDC m_dc;
};

// Records the size of the bitmap it is drawn into.
class BitmapProbe : public CWidget
{
public:
    void Draw(CWidgetDC* pDC) override
    {
        BITMAP bm = {};
        HGDIOBJ hBitmap = ::GetCurrentObject(pDC->GetDC()->GetSafeHdc(), OBJ_BITMAP);
        ::GetObject(hBitmap, sizeof(bm), &bm);
        m_size = CSize(bm.bmWidth, bm.bmHeight);
        ++m_nDraws;
    }
    CSize m_size;
    int m_nDraws = 0;
};
} // namespace

TEST(WidgetDC, TranslatesByTheOriginAndClips)
{
    MemoryDC mem;
    CWidgetDC dc(mem.DC(), CRect(10, 10, 60, 60));
    dc.Translate(20, 5);
    dc.Translate(5, 5);
    CPoint pt(1, 2);
    dc.TranslatePoint(&pt);
    EXPECT_EQ(CPoint(26, 12), pt);
    EXPECT_EQ(CRect(25, 10, 35, 20), dc.TranslateRect(0, -10, 10, 20));
    EXPECT_EQ(CRect(50, 50, 60, 60), dc.TranslateRect(25, 40, 100, 100));
    EXPECT_TRUE(dc.TranslateRect(40, 0, 5, 5).IsRectEmpty());

    CWidgetDC copy(dc);
    copy.Translate(10, 0);
    EXPECT_EQ(CRect(35, 10, 45, 20), copy.TranslateRect(0, 0, 10, 10));
    EXPECT_EQ(CRect(25, 10, 35, 20), dc.TranslateRect(0, 0, 10, 10));

    dc.FillSolidRect(0, 0, 10, 10, kRed);
    EXPECT_EQ(kRed, mem.At(25, 10));
    EXPECT_EQ(kRed, mem.At(34, 19));
    EXPECT_EQ(kBlack, mem.At(35, 19));
    EXPECT_EQ(kBlack, mem.At(24, 10));

    // Wholly outside the clip rectangle: nothing.
    RECT rcOutside = {40, 40, 80, 80};
    dc.FillSolidRect(&rcOutside, kGreen);
    for (int y = 0; y < 100; y += 3)
        for (int x = 0; x < 100; x += 3)
            ASSERT_NE(kGreen, mem.At(x, y)) << x << "," << y;

    // Partly outside: cut at the clip.
    dc.FillSolidRect(30, 45, 10, 10, kBlue);
    EXPECT_EQ(kBlue, mem.At(59, 59));
    EXPECT_EQ(kBlack, mem.At(60, 59));
}

namespace
{
class PaintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.Create(240, 200));
        a.Resize(20, 20, 40, 30);
        b.Resize(100, 20, 40, 30);
        box.Resize(50, 100, 100, 80);
        inner.Resize(10, 10, 20, 20);
        box.AddWidget(&inner);
        host.Manager().AddWidget(&a);
        host.Manager().AddWidget(&b);
        host.Manager().AddWidget(&box);
        host.Paint();
    }
    void TearDown() override { host.DestroyWindow(); }

    TestHost host;
    RecordingWidget a{"a", NULL, kRed};
    RecordingWidget b{"b", NULL, kGreen};
    RecordingWidget box{"box", NULL, kBlue};
    RecordingWidget inner{"inner", NULL, kYellow};
};
} // namespace

TEST_F(PaintTest, TheTreeReachesTheWindowThroughTheBuffer)
{
    Snapshot shot(host.Hwnd());
    Snapshot screen(host.Hwnd(), ON_SCREEN);
    for (int y = 0; y < 200; y += 7)
        for (int x = 0; x < 240; x += 7)
            ASSERT_EQ(shot.At(x, y), screen.At(x, y)) << x << "," << y;
    EXPECT_EQ(kRed, shot.At(20, 20));
    EXPECT_EQ(kRed, shot.At(59, 49));
    EXPECT_EQ(kGreen, shot.At(120, 30));
    EXPECT_EQ(kBlue, shot.At(55, 105));
    EXPECT_EQ(kYellow, shot.At(60, 110)); // nested: drawn at the box's place plus its own
    EXPECT_EQ(kYellow, shot.At(79, 129));
    EXPECT_EQ(kBlue, shot.At(80, 130));
    EXPECT_EQ(kBlack, shot.At(5, 5)); // no background is erased or drawn
    EXPECT_EQ(kBlack, shot.At(60, 20));
    EXPECT_FALSE(a.IsDirtyFlag());
    EXPECT_FALSE(box.IsDirtyFlag());
    // The window's own erase does nothing.
    EXPECT_NE(0, host.Send(WM_ERASEBKGND, (WPARAM)::GetDC(NULL)));
}

TEST_F(PaintTest, DirtyWidgetsInvalidateTheirPlaceAndAreRepainted)
{
    ASSERT_TRUE(host.UpdateRect().IsRectEmpty());
    a.m_crFill = kWhite;
    a.MarkDirty();
    EXPECT_EQ(CRect(20, 20, 60, 50), host.UpdateRect());
    host.Paint();
    EXPECT_EQ(kWhite, Snapshot(host.Hwnd(), ON_SCREEN).At(30, 30));

    // A nested widget invalidates where it is drawn.
    inner.m_crFill = kWhite;
    int nBoxDraws = box.m_nDraws;
    inner.MarkDirty();
    EXPECT_TRUE(host.UpdateRect().PtInRect(CPoint(60, 110)));
    EXPECT_TRUE(host.UpdateRect().PtInRect(CPoint(79, 129)));
    host.Paint();
    EXPECT_EQ(kWhite, Snapshot(host.Hwnd(), ON_SCREEN).At(70, 120));
    EXPECT_EQ(nBoxDraws + 1, box.m_nDraws);
}

TEST_F(PaintTest, HidingAndMovingRepaintTheOldPlace)
{
    a.SetVisible(false);
    EXPECT_EQ(CRect(20, 20, 60, 50), host.UpdateRect());
    host.Paint();
    EXPECT_EQ(kBlack, Snapshot(host.Hwnd(), ON_SCREEN).At(30, 30));
    a.SetVisible(true);
    EXPECT_EQ(CRect(20, 20, 60, 50), host.UpdateRect());
    host.Paint();
    EXPECT_EQ(kRed, Snapshot(host.Hwnd(), ON_SCREEN).At(30, 30));

    b.Move(180, 150);
    CRect rcUpdate = host.UpdateRect();
    EXPECT_TRUE(rcUpdate.PtInRect(CPoint(100, 20)));
    EXPECT_TRUE(rcUpdate.PtInRect(CPoint(219, 179)));
    host.Paint();
    Snapshot shot(host.Hwnd(), ON_SCREEN);
    EXPECT_EQ(kBlack, shot.At(120, 30));
    EXPECT_EQ(kGreen, shot.At(200, 170));

    // Restoring the window repaints everything.
    host.Send(WM_SIZE, SIZE_MINIMIZED, 0);
    host.Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 200));
    rcUpdate = host.UpdateRect();
    EXPECT_TRUE(rcUpdate.PtInRect(CPoint(20, 20)));
    EXPECT_TRUE(rcUpdate.PtInRect(CPoint(219, 179)));
}

TEST(WidgetHost, BufferCoversThePaintRectangleAndNeverLessThanOnePixel)
{
    TestHost host;
    ASSERT_TRUE(host.Create(120, 100));
    BitmapProbe probe;
    probe.Resize(0, 0, 10, 10);
    host.Manager().AddWidget(&probe);
    host.Paint();

    RECT rc = {10, 10, 50, 40};
    ::InvalidateRect(host.Hwnd(), &rc, FALSE);
    host.Paint();
    EXPECT_EQ(CSize(50, 40), probe.m_size);

    // Nothing to paint: a 1 x 1 bitmap still.
    int nDraws = probe.m_nDraws;
    host.Send(WM_PAINT);
    EXPECT_EQ(nDraws + 1, probe.m_nDraws);
    EXPECT_EQ(CSize(1, 1), probe.m_size);
    host.DestroyWindow();
}

TEST(WidgetHost, HostsShareOneWindowClass)
{
    TestHost first, second;
    ASSERT_TRUE(first.Create(50, 50));
    ASSERT_TRUE(second.Create(50, 50));
    char szClass[64] = {};
    ::GetClassName(second.Hwnd(), szClass, sizeof(szClass));
    EXPECT_STREQ("WidgetFoundation", szClass);
    EXPECT_EQ((DWORD)(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS), (DWORD)::GetClassLongPtr(first.Hwnd(), GCL_STYLE));
    EXPECT_EQ(0, ::GetClassLongPtr(first.Hwnd(), GCLP_HBRBACKGROUND));
    EXPECT_EQ((LONG_PTR)::LoadCursor(NULL, IDC_ARROW), (LONG_PTR)::GetClassLongPtr(first.Hwnd(), GCLP_HCURSOR));
    EXPECT_TRUE(first.IsKindOf(RUNTIME_CLASS(CWidgetFoundationWnd)));
    first.DestroyWindow();
    second.DestroyWindow();
}

TEST(WidgetHost, WidgetsMayOutliveTheirHost)
{
    EventLog log;
    RecordingWidget panel("panel", &log), child("child", &log);
    panel.Resize(10, 10, 50, 50);
    child.Resize(5, 5, 10, 10);
    panel.AddWidget(&child);
    {
        TestHost host;
        ASSERT_TRUE(host.Create(100, 100));
        host.Manager().AddWidget(&panel);
        host.Manager().SetFocus(&child);
        host.Mouse(WM_LBUTTONDOWN, 17, 17, MK_LBUTTON);
        host.DestroyWindow();
        log.clear();
    }
    EXPECT_TRUE(log.empty()); // tearing down sends no input
    EXPECT_EQ(NULL, panel.Parent());
    EXPECT_EQ(NULL, panel.Manager());
    EXPECT_EQ(NULL, child.Manager());
    panel.SetVisible(false);
    child.Move(1, 1);
    child.SetDisabled(true);
    EXPECT_EQ(&panel, child.Parent());
}

namespace
{
// A tab widget whose frame pictures the test sets.
class FramedTab : public CTabWidget
{
public:
    void SetFrame(CPicture* pPictures[9])
    {
        CPicture** ppFields[9] = {&m_pTopLeft,     &m_pTop,  &m_pTopRight, &m_pBottomLeft, &m_pBottom,
                                  &m_pBottomRight, &m_pLeft, &m_pRight,    &m_pBackground};
        for (int i = 0; i < 9; ++i)
            *ppFields[i] = pPictures[i];
    }
};
} // namespace

TEST(WidgetObject, FramePiecesSitAroundTheRectangle)
{
    const COLORREF kColours[9] = {RGB(200, 0, 0),   RGB(0, 200, 0),   RGB(0, 0, 200),
                                  RGB(200, 200, 0), RGB(0, 200, 200), RGB(100, 0, 100),
                                  RGB(90, 90, 90),  RGB(250, 128, 0), RGB(240, 240, 240)};
    // Corners 10 x 8, top and bottom edges 4 x 6, side edges 5 x 4, background 2 x 2.
    const CSize kSizes[9] = {CSize(10, 8), CSize(4, 6), CSize(10, 8), CSize(10, 8), CSize(4, 6),
                             CSize(10, 8), CSize(5, 4), CSize(5, 4),  CSize(2, 2)};
    CPicture pictures[9];
    CPicture* pPictures[9];
    for (int i = 0; i < 9; ++i) {
        ASSERT_TRUE(MakeBandPicture(pictures[i], kSizes[i].cy, {{kSizes[i].cx, kColours[i]}}));
        pPictures[i] = &pictures[i];
    }

    TestHost host;
    ASSERT_TRUE(host.Create(200, 150));
    FramedTab tab;
    tab.SetFrame(pPictures);
    tab.Resize(30, 20, 100, 60); // (30, 20) - (130, 80)
    host.Manager().AddWidget(&tab);
    host.Paint();
    Snapshot shot(host.Hwnd());

    struct Probe
    {
        int x, y, nPiece;
    };
    const Probe probes[] = {
        {30, 20, 0},  {39, 27, 0},  // top-left
        {80, 20, 1},  {80, 25, 1},  // top edge, stretched across
        {125, 22, 2},               // top-right
        {32, 78, 3},  {32, 72, 3},  // bottom-left, not covered by the left edge
        {80, 79, 4},                // bottom edge
        {129, 79, 5},               // bottom-right
        {32, 50, 6},  {127, 50, 7}, // side edges
        {80, 50, 8},                // background
    };
    for (const Probe& p : probes)
        EXPECT_EQ(kColours[p.nPiece], shot.At(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(kBlack, shot.At(29, 50));
    EXPECT_EQ(kBlack, shot.At(130, 50));
    host.DestroyWindow();
}
