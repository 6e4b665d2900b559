// The system face grid over a face source of the test's: its measures, the
// drawn cells, picking by click, and scrolling by bar and wheel.
#include "FaceTestSupport.h"

#include "FaceCustomDlg.h"
#include "FaceFrameDlg.h"
#include "MemoryCanvas.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace
{

// Face n is a square of a colour of its own.
class CColourFaces : public IUserFaceRes
{
public:
    explicit CColourFaces(WORD wCount) : m_wCount(wCount) {}
    static COLORREF ColourOf(WORD index) { return RGB(10 + index * 15, 200 - index * 10, 90); }

    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID, void** out) override
    {
        *out = NULL;
        return E_NOINTERFACE;
    }
    bool LoadFaces(const char*) override { return true; }
    WORD GetFaceCount() override { return m_wCount; }
    HBITMAP GetFaceBitmap(WORD, int) override { return NULL; }
    void DrawFaceInRect(WORD index, int kind, CDC* pDC, const RECT* rect) override
    {
        Drawn.push_back({index, kind, *rect});
        pDC->FillSolidRect(rect, ColourOf(index));
    }
    void DrawFace(WORD, int, CDC*, int, int, int, int) override {}

    struct Call
    {
        WORD index;
        int kind;
        RECT rect;
    };
    std::vector<Call> Drawn;

private:
    WORD m_wCount;
};

class FaceGridTest : public testing::Test
{
public:
    void Build(WORD wFaces, int cx, int cy)
    {
        m_pFaces.reset(new CColourFaces(wFaces));
        ASSERT_TRUE(m_Grid.Create(IDD_FACE_CUSTOM, &m_Host));
        m_Grid.SetOwnerWnd(&m_Host);
        m_Grid.SetFaceSource(m_pFaces.get());
        m_Grid.MoveWindow(0, 0, cx, cy);
        m_Grid.ShowWindow(SW_SHOW);
        m_Grid.BuildGrid();
    }
    void TearDown() override { m_Grid.DestroyWindow(); }

    CFaceHost m_Host;
    std::unique_ptr<CColourFaces> m_pFaces;
    CFaceFrameDlg m_Grid;
};

TEST_F(FaceGridTest, ThirteenFacesInThreeRowsOfSix)
{
    Build(13, 300, 120);
    EXPECT_EQ(300, m_Grid.GetGridWidth());
    EXPECT_EQ(168, m_Grid.GetGridHeight());
    EXPECT_EQ(14, m_Grid.GetLeftMargin());
    ASSERT_EQ(13u, m_pFaces->Drawn.size());
    // Face 7: column 1, row 1, its 32-pixel square at (14 + 42 + 8, 42 + 11).
    EXPECT_EQ(7, m_pFaces->Drawn[7].index);
    EXPECT_EQ(0, m_pFaces->Drawn[7].kind);
    EXPECT_EQ(CRect(64, 53, 96, 85), CRect(m_pFaces->Drawn[7].rect));

    CMemoryCanvas canvas(300, 120);
    ASSERT_TRUE(canvas.Print(m_Grid.GetSafeHwnd()));
    EXPECT_EQ(CColourFaces::ColourOf(0), canvas.At(14 + 8 + 16, 11 + 16));
    EXPECT_EQ(CColourFaces::ColourOf(7), canvas.At(64 + 16, 53 + 16));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(2, 2)) << "the margin stays white";
}

TEST_F(FaceGridTest, ClickPicksTheFaceUnderIt)
{
    Build(13, 300, 120);
    const struct
    {
        int x, y;
        int nExpected;
    } cases[] = {
        {14, 20, 0},                // the row's left edge
        {56, 20, 0},                // a cell's right edge
        {57, 20, 1},  {20, 90, 12}, // the last face
        {70, 90, -1},               // no face there
        {5, 20, -1},                // in the margin
    };
    for (const auto& c : cases) {
        m_Host.Messages.clear();
        m_Grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
        auto picked = m_Host.Of(WM_FACE_PICKED);
        if (c.nExpected < 0) {
            EXPECT_TRUE(picked.empty()) << c.x << "," << c.y;
        } else {
            ASSERT_EQ(1u, picked.size()) << c.x << "," << c.y;
            EXPECT_EQ(WPARAM(c.nExpected), picked[0].wParam) << c.x << "," << c.y;
        }
    }
}

TEST_F(FaceGridTest, ScrollsWithinTheGrid)
{
    Build(30, 300, 100); // 5 rows: 252 high, 152 to scroll
    ASSERT_EQ(252, m_Grid.GetGridHeight());
    const struct
    {
        UINT message;
        WPARAM wParam;
        int nExpected;
    } steps[] = {
        {WM_VSCROLL, SB_LINEDOWN, 20},
        {WM_VSCROLL, SB_PAGEDOWN, 120},
        {WM_VSCROLL, SB_PAGEDOWN, 152}, // held at the last screenful
        {WM_VSCROLL, SB_LINEUP, 132},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 72}, // half the delta up
        {WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 132},
        {WM_VSCROLL, SB_TOP, 0},
        {WM_VSCROLL, SB_PAGEUP, 0},
        {WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40), 40},
        {WM_VSCROLL, SB_BOTTOM, 152},
    };
    for (const auto& s : steps) {
        m_Grid.SendMessage(s.message, s.wParam, s.message == WM_MOUSEWHEEL ? MAKELPARAM(10, 10) : 0);
        EXPECT_EQ(s.nExpected, m_Grid.GetScrollPosition()) << s.message << " " << s.wParam;
    }
    // A scrolled click picks by the grid's own rows.
    m_Host.Messages.clear();
    m_Grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10)); // grid y 162: row 3
    auto picked = m_Host.Of(WM_FACE_PICKED);
    ASSERT_EQ(1u, picked.size());
    EXPECT_EQ(18u, picked[0].wParam);
}

TEST_F(FaceGridTest, ShortGridDoesNotScroll)
{
    Build(6, 300, 200);
    m_Grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(0, m_Grid.GetScrollPosition());
}

} // namespace
