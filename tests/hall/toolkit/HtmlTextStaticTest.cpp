// The HTML-subset static: tag and entity handling seen through the link
// rectangles and colours of its drawing, line filling, and where a click on
// a link goes (a window of the program, a recorded web address, nowhere).
#include <HtmlTextStatic.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace skintest;

namespace
{
std::vector<std::string> g_opened;

BOOL RecordOpen(LPCSTR target)
{
    g_opened.push_back(target);
    return TRUE;
}

const UINT kStaticId = 1001;
const UINT kAppMessage = WM_APP + 7;

class HtmlTextStaticTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_opened.clear();
        m_previous = CHtmlTextStatic::SetLinkOpener(&RecordOpen);
        ASSERT_TRUE(m_parent.CreateParent(420, 200));
        Make(300, 120);
    }
    void TearDown() override
    {
        m_static.DestroyWindow();
        m_parent.DestroyWindow();
        CHtmlTextStatic::SetLinkOpener(m_previous);
    }
    void Make(int cx, int cy)
    {
        if (m_static.GetSafeHwnd() != NULL)
            m_static.DestroyWindow();
        ASSERT_TRUE(m_static.Create("", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(10, 10, 10 + cx, 10 + cy), &m_parent,
                                    kStaticId));
        m_static.SetFont(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
    // Draws the text into a canvas and leaves it there for colour checks.
    Canvas& Draw(const char* text)
    {
        m_static.SetWindowText(text);
        CRect rc;
        m_static.GetClientRect(&rc);
        m_canvas.reset(new Canvas(rc.Width(), rc.Height(), RGB(1, 2, 3)));
        m_static.DrawText(m_canvas->DC());
        return *m_canvas;
    }
    CRect Link(const char* text, int i = 0)
    {
        Draw(text);
        EXPECT_GT(m_static.GetLinkCount(), i) << text;
        return m_static.GetLinkCount() > i ? m_static.GetLinkRect(i) : CRect();
    }
    // Pixels of the colour laid over the white background at half strength
    // or more: smoothed glyph strokes may hold no pixel of the pure colour.
    int CountTint(COLORREF colour, int x0, int x1)
    {
        CRect rc;
        m_static.GetClientRect(&rc);
        const int c[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
        int n = 0;
        for (int y = 0; y < rc.Height(); ++y)
            for (int x = x0; x < x1 && x < rc.Width(); ++x) {
                const COLORREF px = m_canvas->At(x, y);
                const int p[3] = {GetRValue(px), GetGValue(px), GetBValue(px)};
                // p = 255 - a * (255 - c) in every channel, the same a.
                double a = -1;
                bool blend = true;
                for (int i = 0; i < 3 && blend; ++i) {
                    if (c[i] == 255) {
                        blend = p[i] >= 250;
                        continue;
                    }
                    const double ai = (255.0 - p[i]) / (255.0 - c[i]);
                    if (a < 0)
                        a = ai;
                    else
                        blend = ai > a - 0.15 && ai < a + 0.15;
                }
                n += blend && a >= 0.5;
            }
        return n;
    }

    int CountColour(COLORREF colour, int x0, int x1)
    {
        CRect rc;
        m_static.GetClientRect(&rc);
        int n = 0;
        for (int y = 0; y < rc.Height(); ++y)
            for (int x = x0; x < x1 && x < rc.Width(); ++x)
                n += m_canvas->At(x, y) == colour;
        return n;
    }

    CHtmlTextStatic::LinkOpener m_previous = NULL;
    RecordingParent m_parent;
    CHtmlTextStatic m_static;
    std::unique_ptr<Canvas> m_canvas;
};

TEST_F(HtmlTextStaticTest, EntitiesStayOnTheirLine)
{
    // &gt; and &micro; have the codes of a line feed and a carriage return.
    const char* texts[] = {"&lt;x&gt; <a href=http://a>L</a>", "&micro;&copy;&euro; <a href=http://a>L</a>",
                           "&amp;&trade;&bull;&nbsp;<a href=http://a>L</a>"};
    for (const char* text : texts) {
        CRect rc = Link(text);
        EXPECT_EQ(rc.top, 0) << text;
        EXPECT_GT(rc.left, 0) << text;
    }
    // Each entity is one character wide, not a swallowed pair of bytes.
    CRect one = Link("&copy;<a href=http://a>L</a>");
    CRect two = Link("&copy;&copy;<a href=http://a>L</a>");
    EXPECT_GT(two.left, one.left);
}

TEST_F(HtmlTextStaticTest, StyleCountsNestAndNeverGoNegative)
{
    // Seen through the underline: a row of link colour across the whole link.
    const struct
    {
        const char* text;
        bool on;
    } cases[] = {
        {"<u><u></u><a href=http://a>WWWW</a>", true}, // opened twice, closed once
        {"<u><u></u></u><a href=http://a>WWWW</a>", false},
        {"</u></u><u><a href=http://a>WWWW</a>", true}, // extra closes do not count below 0
        {"<U><a href=http://a>WWWW</a>", true},         // any case
        {"<a href=http://a>WWWW</a>", false},
    };
    for (const auto& c : cases) {
        CRect rc = Link(c.text);
        bool underlined = false;
        for (int y = rc.top; y < rc.bottom && !underlined; ++y) {
            int n = 0;
            for (int x = rc.left; x < rc.right; ++x)
                n += m_canvas->At(x, y) == RGB(0, 0, 255);
            underlined = n == rc.Width();
        }
        EXPECT_EQ(underlined, c.on) << c.text;
    }
}

TEST_F(HtmlTextStaticTest, BigAndSmallStepTheFontHeight)
{
    const int plain = Link("<a href=http://a>Wg</a>").Height();
    EXPECT_GT(Link("<big><big><a href=http://a>Wg</a>").Height(), Link("<big><a href=http://a>Wg</a>").Height());
    EXPECT_GE(Link("<big><a href=http://a>Wg</a>").Height(), plain);
    EXPECT_EQ(Link("<big></big><a href=http://a>Wg</a>").Height(), plain);
    EXPECT_LT(Link("<small><small><a href=http://a>Wg</a>").Height(), plain);
}

TEST_F(HtmlTextStaticTest, FontColourAndItsEnd)
{
    m_static.SetTextColour(RGB(0, 160, 0));
    m_static.SetBkColour("White");
    Draw("<font color=\"red\">WWWWW</font>WWWWW<a href=http://a>L</a>");
    const CRect link = m_static.GetLinkRect(0);
    const int half = link.left / 2;
    EXPECT_GT(CountTint(RGB(255, 0, 0), 0, half), 0);
    EXPECT_EQ(CountColour(RGB(255, 0, 0), half, link.left), 0);
    EXPECT_GT(CountTint(RGB(0, 160, 0), half, link.left), 0);
    EXPECT_EQ(CountColour(RGB(0, 160, 0), 0, half - 2), 0);
    // Links draw blue; the background is the control's.
    EXPECT_GT(CountTint(RGB(0, 0, 255), link.left, link.right), 0);
    EXPECT_EQ(m_canvas->At(299, 119), RGB(255, 255, 255));
}

TEST_F(HtmlTextStaticTest, LinesFillAndBreak)
{
    Make(120, 120);
    // A word wider than the control stays on the first line, clipped.
    CRect wide = Link("<a href=http://a>WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW</a>");
    EXPECT_EQ(wide.top, 0);
    EXPECT_GT(wide.Width(), 120);
    // Words wrap onto further lines.
    CRect wrapped = Link("one two three four five six seven eight <a href=http://a>end</a>");
    EXPECT_GT(wrapped.top, 0);
    EXPECT_EQ(wrapped.top % wide.Height(), 0);
    // <BR>, a line feed and <HR> break the line.
    const char* breaks[] = {"a<br><a href=http://a>b</a>", "a\r\n<a href=http://a>b</a>",
                            "a<hr><a href=http://a>b</a>"};
    for (const char* text : breaks) {
        CRect rc = Link(text);
        EXPECT_GE(rc.top, wide.Height()) << text;
        EXPECT_EQ(rc.left, 0) << text;
    }
    // A thicker rule pushes the next line further.
    EXPECT_EQ(Link("a<hr size=9><a href=http://a>b</a>").top, Link("a<hr><a href=http://a>b</a>").top + 7);
    // Lines below the control are not drawn, so their links are not kept.
    Make(120, 20);
    Draw("a<br>b<br>c<br><a href=http://a>d</a>");
    EXPECT_EQ(m_static.GetLinkCount(), 0);
}

TEST_F(HtmlTextStaticTest, CentredRunsAndTheKeptDrawing)
{
    CRect left = Link("<a href=http://a>WW</a>");
    CRect centred = Link("<center><a href=http://a>WW</a></center>");
    EXPECT_EQ(left.left, 0);
    EXPECT_NEAR(centred.left, (300 - centred.Width()) / 2, 1);
    EXPECT_EQ(centred.Width(), left.Width());

    // The drawing is kept until the text or a colour changes.
    Draw("<a href=http://a>one</a>");
    m_static.CWnd::SetWindowText("plain");
    Canvas again(300, 120, RGB(1, 2, 3));
    m_static.DrawText(again.Cdc());
    EXPECT_EQ(m_static.GetLinkCount(), 1);
    m_static.SetBkColour(RGB(250, 250, 250));
    m_static.DrawText(again.Cdc());
    EXPECT_EQ(m_static.GetLinkCount(), 0);
    EXPECT_EQ(again.At(299, 119), RGB(250, 250, 250));
}

TEST_F(HtmlTextStaticTest, LinkTargets)
{
    const struct
    {
        const char* tag;
        const char* target;
    } cases[] = {
        {"<A HREF=\"http://x.cn/a?b=1\">", "http://x.cn/a?b=1"},
        {"<a href=http://x.cn/a>", "http://x.cn/a"}, // unquoted keeps every character
        {"<a href='APP:go'>", "APP:go"},
        {"<a href=>", ""},
        {"<a href=\">", "\""},
        {"<a>", ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(CHtmlTextStatic::ParseLinkTarget(c.tag), c.target) << c.tag;
}

TEST_F(HtmlTextStaticTest, ClicksFollowOnlyAppCommandsAndWebAddresses)
{
    m_static.AddAppCommand("Buy", m_parent.m_hWnd, kAppMessage, 42);
    Draw("<a href=\"APP:buy\">buy</a> <a href=\"http://x.cn/p\">web</a> <a href=\"C:\\windows\\notepad.exe\">run</a> "
         "<a href=\"APP:nothing\">none</a> <a href=\"file:///c:/x.exe\">file</a>");
    ASSERT_EQ(m_static.GetLinkCount(), 5);
    EXPECT_TRUE(m_static.FollowLinkAt(m_static.GetLinkRect(0).CenterPoint()));
    ASSERT_EQ(m_parent.Count(kAppMessage, 0), 1);
    EXPECT_EQ(m_parent.messages.back().wParam, 42u);
    EXPECT_TRUE(m_static.FollowLinkAt(m_static.GetLinkRect(1).CenterPoint()));
    EXPECT_FALSE(m_static.FollowLinkAt(m_static.GetLinkRect(2).CenterPoint()));
    EXPECT_FALSE(m_static.FollowLinkAt(m_static.GetLinkRect(3).CenterPoint()));
    EXPECT_FALSE(m_static.FollowLinkAt(m_static.GetLinkRect(4).CenterPoint()));
    EXPECT_FALSE(m_static.FollowLinkAt(CPoint(299, 119)));
    EXPECT_EQ(g_opened, std::vector<std::string>{"http://x.cn/p"});

    // A real click reaches the link through the reflected STN_CLICKED.
    CPoint pt = m_static.GetLinkRect(1).CenterPoint();
    m_static.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    m_static.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_GE(g_opened.size(), 2u);
    EXPECT_EQ(g_opened.back(), "http://x.cn/p");
}

TEST_F(HtmlTextStaticTest, HoveringALinkShowsTheHand)
{
    ASSERT_NE(m_static.GetHandCursor(), (HCURSOR)NULL);
    Draw("text <a href=http://a>link</a>");
    HCURSOR arrow = ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    CPoint over = m_static.GetLinkRect(0).CenterPoint();
    m_static.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
    EXPECT_TRUE(m_static.IsOverLink());
    EXPECT_EQ(::GetCursor(), m_static.GetHandCursor());
    m_static.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(1, 100));
    EXPECT_FALSE(m_static.IsOverLink());
    EXPECT_EQ(::GetCursor(), ::LoadCursor(NULL, IDC_ARROW));
    ::SetCursor(arrow);
}

TEST(HtmlTextStaticLinks, OnlyWebAddressesAreOpened)
{
    const struct
    {
        const char* target;
        bool web;
    } cases[] = {
        {"http://x.cn", true}, {"HTTPS://x.cn/a b", true},  {"C:\\x.exe", false},        {"file:///c:/x.exe", false},
        {"mailto:a@b", false}, {"http://x\" -evil", false}, {"http://x\r\ncalc", false}, {"", false},
        {"ftp://x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CHtmlTextStatic::IsWebTarget(c.target) != FALSE, c.web) << c.target;
    EXPECT_FALSE(CHtmlTextStatic::IsWebTarget(NULL));
}

TEST(HtmlTextStaticLinks, BrowserCommandQuotesTheTarget)
{
    const struct
    {
        const char* command;
        const char* expected;
    } cases[] = {
        {"\"C:\\b\\b.exe\" \"%1\"", "\"C:\\b\\b.exe\" \"http://x/?a&b\""},
        {"C:\\b\\b.exe -url %1", "C:\\b\\b.exe -url \"http://x/?a&b\""},
        {"C:\\b\\b.exe -nohome", "C:\\b\\b.exe -nohome \"http://x/?a&b\""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(CHtmlTextStatic::BuildBrowserCommand(c.command, "http://x/?a&b"), c.expected) << c.command;
}
} // namespace
