// The resizable layout: children keep their distances to their anchor
// points, a pass without change moves nobody, and the redraw and clipping
// rules of the common classes and of children that answer for themselves.
#include <AnchorLayout.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace
{
class LayoutOwner : public CWnd, public CAnchorLayout
{
public:
    CWnd* GetOwnerWindow() override { return this; }
    BOOL NeedsRedraw(HWND hWnd, const CRect& rcOld, const CRect& rcNew)
    {
        LayoutInfo info = Info(hWnd);
        return ChildNeedsRedraw(info, rcOld, rcNew);
    }
    BOOL AcceptsClipping(HWND hWnd)
    {
        LayoutInfo info = Info(hWnd);
        return ChildAcceptsClipping(info);
    }

protected:
    LayoutInfo Info(HWND hWnd)
    {
        LayoutInfo info = {};
        char cls[260] = "";
        ::GetClassNameA(hWnd, cls, sizeof(cls));
        info.hWnd = hWnd;
        info.className = cls;
        info.askClip = info.askRedraw = TRUE;
        QueryChildProperties(info);
        return info;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        if (message == WM_SIZE)
            ApplyLayout();
        return lResult;
    }
};

// What the children are told when they move.
std::map<HWND, std::vector<UINT>> g_moves;
std::map<HWND, WNDPROC> g_procs;
BOOL g_redrawAnswer = TRUE;

LRESULT CALLBACK Watch(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGING)
        g_moves[hWnd].push_back(((WINDOWPOS*)lParam)->flags);
    return CallWindowProc(g_procs[hWnd], hWnd, message, wParam, lParam);
}

// A child that answers the layout's questions itself.
LRESULT CALLBACK Answering(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WMU_ANCHORSUPPORT) {
        if (wParam == CAnchorLayout::QUERY_PROPERTIES) {
            BOOL* flags = (BOOL*)lParam;
            flags[0] = FALSE; // askClip
            flags[1] = TRUE;  // askRedraw
            flags[2] = TRUE;
            flags[3] = FALSE;
            return 1;
        }
        if (wParam == CAnchorLayout::QUERY_REDRAW) {
            ((CAnchorLayout::RedrawQuery*)lParam)->redraw = g_redrawAnswer;
            return 1;
        }
        return 0;
    }
    return Watch(hWnd, message, wParam, lParam);
}

class AnchorLayoutTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_moves.clear();
        ASSERT_TRUE(m_owner.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, NULL, NULL));
    }
    void TearDown() override { m_owner.DestroyWindow(); }
    HWND Child(const char* cls, DWORD style, int x, int y, int cx, int cy, WNDPROC proc = Watch)
    {
        HWND h = CreateWindowExA(0, cls, "text", WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, m_owner.m_hWnd, NULL,
                                 GetModuleHandle(NULL), NULL);
        g_procs[h] = (WNDPROC)SetWindowLongPtr(h, GWLP_WNDPROC, (LONG_PTR)proc);
        return h;
    }
    CRect RectOf(HWND h)
    {
        CRect rc;
        ::GetWindowRect(h, &rc);
        m_owner.ScreenToClient(&rc);
        return rc;
    }
    LayoutOwner m_owner;
};

TEST_F(AnchorLayoutTest, ChildrenKeepTheirDistancesToTheirAnchors)
{
    const struct
    {
        const char* name;
        SIZE topLeft, bottomRight;
        CRect start, grown, shrunk;
    } cases[] = {
        {"all four edges", ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT, CRect(10, 20, 190, 130), CRect(10, 20, 290, 230),
         CRect(10, 20, 90, 80)},
        {"top right, size kept", ANCHOR_TOPRIGHT, ANCHOR_NONE, CRect(150, 10, 190, 30), CRect(250, 10, 290, 30),
         CRect(50, 10, 90, 30)},
        {"centre", ANCHOR_MIDDLE, ANCHOR_NONE, CRect(90, 65, 110, 85), CRect(140, 115, 160, 135),
         CRect(40, 40, 60, 60)},
        {"bottom edge, full width", ANCHOR_BOTTOMLEFT, ANCHOR_BOTTOMRIGHT, CRect(0, 130, 200, 150),
         CRect(0, 230, 300, 250), CRect(0, 80, 100, 100)},
    };
    std::vector<HWND> children;
    for (const auto& c : cases) {
        HWND h = Child("Static", SS_LEFT, c.start.left, c.start.top, c.start.Width(), c.start.Height());
        m_owner.AddAnchor(h, c.topLeft, c.bottomRight);
        children.push_back(h);
    }
    m_owner.MoveWindow(0, 0, 300, 250);
    for (size_t i = 0; i < children.size(); ++i)
        EXPECT_EQ(cases[i].grown, RectOf(children[i])) << cases[i].name;
    m_owner.MoveWindow(0, 0, 100, 100);
    for (size_t i = 0; i < children.size(); ++i)
        EXPECT_EQ(cases[i].shrunk, RectOf(children[i])) << cases[i].name;
}

TEST_F(AnchorLayoutTest, UnchangedPassMovesNobody)
{
    HWND fixed = Child("Static", SS_LEFT, 10, 10, 50, 20);
    HWND stretched = Child("Static", SS_LEFT, 10, 40, 180, 20);
    m_owner.AddAnchor(fixed, ANCHOR_TOPLEFT);
    m_owner.AddAnchor(stretched, ANCHOR_TOPLEFT, ANCHOR_TOPRIGHT);
    g_moves.clear();
    m_owner.ApplyLayout();
    EXPECT_TRUE(g_moves.empty());
    m_owner.MoveWindow(0, 0, 220, 150);
    EXPECT_EQ(0u, g_moves[fixed].size());
    ASSERT_EQ(1u, g_moves[stretched].size());
    // A left-aligned text that got wider is redrawn, and it kept its place.
    EXPECT_EQ((UINT)(SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOCOPYBITS | SWP_NOMOVE),
              g_moves[stretched][0] & 0x3FF);
}

TEST_F(AnchorLayoutTest, RedrawRulesOfTheCommonClasses)
{
    const CRect rcOld(0, 0, 100, 20);
    const CRect wider(0, 0, 120, 20), taller(0, 0, 100, 40);
    const struct
    {
        const char* name;
        const char* cls;
        DWORD style;
        CRect rcNew;
        BOOL redraw;
    } cases[] = {
        {"same size", "Static", SS_LEFT, CRect(5, 5, 105, 25), FALSE},
        {"left text wider", "Static", SS_LEFT, wider, TRUE},
        {"left text taller", "Static", SS_LEFT, taller, FALSE},
        {"left text taller, centred image", "Static", SS_LEFT | SS_CENTERIMAGE, taller, TRUE},
        {"no-wrap text wider", "Static", SS_LEFTNOWORDWRAP, wider, FALSE},
        {"no-wrap text wider with ellipsis", "Static", SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS, wider, TRUE},
        {"icon", "Static", SS_ICON, taller, TRUE},
        {"etched frame", "Static", SS_ETCHEDFRAME, taller, TRUE},
        {"black rectangle", "Static", SS_BLACKRECT, wider, FALSE},
        {"button", "Button", BS_PUSHBUTTON, wider, FALSE},
    };
    for (const auto& c : cases) {
        HWND h = Child(c.cls, c.style, 0, 0, 100, 20);
        EXPECT_EQ(c.redraw, m_owner.NeedsRedraw(h, rcOld, c.rcNew)) << c.name;
        DestroyWindow(h);
    }

    // A list box scrolled to its right end is redrawn when it gets wider.
    HWND list = Child("ListBox", WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 100, 60);
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 199, 100, 100, 0};
    SetScrollInfo(list, SB_HORZ, &si, FALSE);
    EXPECT_TRUE(m_owner.NeedsRedraw(list, CRect(0, 0, 100, 60), CRect(0, 0, 110, 60)));
    si.nPos = 0;
    SetScrollInfo(list, SB_HORZ, &si, FALSE);
    EXPECT_FALSE(m_owner.NeedsRedraw(list, CRect(0, 0, 100, 60), CRect(0, 0, 110, 60)));
}

TEST_F(AnchorLayoutTest, ClippingRulesOfTheCommonClasses)
{
    const struct
    {
        const char* cls;
        DWORD style;
        BOOL clip;
    } cases[] = {
        {"Button", BS_PUSHBUTTON, TRUE},
        {"Button", BS_GROUPBOX, FALSE},
        {"Static", SS_LEFT, TRUE},
        {"Static", SS_BLACKRECT, TRUE},
        {"Static", SS_GRAYFRAME, FALSE},
        {"Static", SS_ICON, TRUE},
        {"Static", SS_ICON | SS_CENTERIMAGE, FALSE},
        {"Edit", 0, TRUE},
    };
    for (const auto& c : cases) {
        HWND h = Child(c.cls, c.style, 0, 0, 50, 20);
        EXPECT_EQ(c.clip, m_owner.AcceptsClipping(h)) << c.cls << " " << c.style;
        DestroyWindow(h);
    }
}

TEST_F(AnchorLayoutTest, ChildrenThatAnswerDecideTheirRedraw)
{
    HWND h = Child("Static", SS_LEFT, 10, 10, 100, 20, Answering);
    m_owner.AddAnchor(h, ANCHOR_TOPLEFT, ANCHOR_TOPRIGHT);
    g_redrawAnswer = FALSE;
    m_owner.MoveWindow(0, 0, 250, 150);
    ASSERT_EQ(1u, g_moves[h].size());
    EXPECT_FALSE(g_moves[h][0] & SWP_NOCOPYBITS);
    g_redrawAnswer = TRUE;
    m_owner.MoveWindow(0, 0, 200, 150);
    ASSERT_EQ(2u, g_moves[h].size());
    EXPECT_TRUE(g_moves[h][1] & SWP_NOCOPYBITS);
}
} // namespace
