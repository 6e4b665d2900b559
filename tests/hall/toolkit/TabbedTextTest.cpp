// Multi-line text: line breaks, tab stops, wrapping, double-byte characters
// (GBK trail bytes from 0x40 included) and the guards of the two routines.
// What is drawn is read back from a recorded metafile: where each piece of
// text went, never its pixels.
#include <TabbedText.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const int kLine = 16;

// A memory DC with the system's GUI font; the expectations follow its metrics.
class TextDC
{
public:
    TextDC()
    {
        m_hDC = CreateCompatibleDC(NULL);
        m_hOld = SelectObject(m_hDC, GetStockObject(DEFAULT_GUI_FONT));
        GetTextMetricsA(m_hDC, &m_tm);
    }
    ~TextDC()
    {
        SelectObject(m_hDC, m_hOld);
        DeleteDC(m_hDC);
    }
    HDC Dc() const { return m_hDC; }
    int Average() const { return m_tm.tmAveCharWidth; }
    int Maximum() const { return m_tm.tmMaxCharWidth; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
    TEXTMETRICA m_tm;
};

// One text output of a recorded drawing.
struct Output
{
    int x, y;
    int nChars; // characters as recorded (a double-byte character is one)
};

int CALLBACK CollectOutputs(HDC, HANDLETABLE*, const ENHMETARECORD* pRecord, int, LPARAM lParam)
{
    auto* pOutputs = reinterpret_cast<std::vector<Output>*>(lParam);
    if (pRecord->iType == EMR_EXTTEXTOUTW || pRecord->iType == EMR_EXTTEXTOUTA) {
        const EMREXTTEXTOUTW* pText = reinterpret_cast<const EMREXTTEXTOUTW*>(pRecord);
        pOutputs->push_back(
            {(int)pText->emrtext.ptlReference.x, (int)pText->emrtext.ptlReference.y, (int)pText->emrtext.nChars});
    }
    return 1;
}

// Draws into a metafile and answers the outputs and the routine's result.
std::vector<Output> Draw(const char* text, int x, int y, int right, int lineHeight, int* pResult, TEXTMETRICA* pMetrics)
{
    HDC hMeta = CreateEnhMetaFileA(NULL, NULL, NULL, NULL);
    SelectObject(hMeta, GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsA(hMeta, pMetrics);
    *pResult = DrawTabbedTextLines(hMeta, x, y, right, lineHeight, text);
    HENHMETAFILE hEmf = CloseEnhMetaFile(hMeta);
    std::vector<Output> outputs;
    EnumEnhMetaFile(NULL, hEmf, CollectOutputs, &outputs, NULL);
    DeleteEnhMetaFile(hEmf);
    return outputs;
}

TEST(TabbedText, MeasuringCountsLinesAndBreaks)
{
    TextDC dc;
    const int avg = dc.Average();
    struct
    {
        const char* text;
        int maxWidth;
        int height;
    } cases[] = {
        {"ab", 1000, kLine},
        {"a\r\nb", 1000, 2 * kLine}, // CR LF is one break
        {"a\rb", 1000, 2 * kLine},
        {"a\n\nb", 1000, 3 * kLine},
        {"a\n\r\nb", 1000, 3 * kLine},
        {"", 1000, kLine},
        {"abc", 3 * avg, kLine},      // the third character ends on the edge
        {"abcd", 3 * avg, 2 * kLine}, // the fourth passes it: a wrap after it
        {"abcd\n", 3 * avg, 3 * kLine},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << '"' << " in " << c.maxWidth);
        EXPECT_EQ(MeasureTabbedText(dc.Dc(), c.maxWidth, kLine, c.text), c.height);
    }
}

TEST(TabbedText, TheCursorAdvancesAndWraps)
{
    struct
    {
        const char* name;
        POINT start, cursor;
        int right, step, count;
        POINT expected;
    } cases[] = {
        {"a tab of four steps", {0, 0}, {0, 0}, 100, 7, 4, {28, 0}},
        {"a tab that passes the edge", {0, 0}, {84, 0}, 100, 7, 4, {7, 16}},
        {"raised to the start first", {10, 20}, {0, 0}, 100, 5, 1, {15, 20}},
        {"an edge narrower than a step", {10, 20}, {0, 0}, 5, 7, 3, {0, 0}},
        {"landing on the edge stays", {0, 0}, {93, 0}, 100, 7, 1, {100, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        POINT cursor = c.cursor;
        AdvanceTextCursor(c.start, &cursor, c.right, kLine, c.step, c.count);
        EXPECT_EQ(cursor.x, c.expected.x);
        EXPECT_EQ(cursor.y, c.expected.y);
    }
    AdvanceTextCursor(POINT{0, 0}, NULL, 100, kLine, 7, 1); // no cursor: nothing
}

TEST(TabbedText, DoubleBytePairsFollowTheLeadByte)
{
    struct
    {
        const char* text;
        bool pair;
    } cases[] = {
        {"你", true},         {"\x81\x40", true}, // a GBK trail byte below 0x80
        {"\xFE\x7E", true},   {"ab", false},
        {"a\xC4\xE3", false}, {"\xC4", false}, // a lead byte at the end: the terminator is no trail byte
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsDoubleBytePair(c.text), c.pair);
    }
    EXPECT_FALSE(IsDoubleBytePair(NULL));
}

TEST(TabbedText, DrawingPutsEachCharacterAtTheCursor)
{
    // a, a GBK character with a trail byte of 0x40, b: three outputs, the
    // double-byte one whole and as wide as the widest character.
    int nResult = -1;
    TEXTMETRICA tm;
    std::vector<Output> outputs = Draw("a\x81\x40"
                                       "b",
                                       10, 20, 1000, kLine, &nResult, &tm);
    EXPECT_EQ(nResult, 0);
    ASSERT_EQ(outputs.size(), 3u);
    EXPECT_EQ(outputs[0].x, 10);
    EXPECT_EQ(outputs[1].x, 10 + tm.tmAveCharWidth);
    EXPECT_EQ(outputs[1].nChars, 1);
    EXPECT_EQ(outputs[2].x, 10 + tm.tmAveCharWidth + tm.tmMaxCharWidth);
    for (const Output& o : outputs)
        EXPECT_EQ(o.y, 20);

    // Breaks and wraps move down; the answer counts the line advances.
    outputs = Draw("ab\r\ncd", 10, 20, 10 + tm.tmAveCharWidth, kLine, &nResult, &tm);
    ASSERT_EQ(outputs.size(), 4u);
    EXPECT_EQ(nResult, 3); // b passes the edge, CR LF, d passes it again
    EXPECT_EQ(outputs[1].x, 10 + tm.tmAveCharWidth);
    EXPECT_EQ(outputs[1].y, 20);
    EXPECT_EQ(outputs[2].x, 10);
    EXPECT_EQ(outputs[2].y, 20 + 2 * kLine);
    EXPECT_EQ(outputs[3].y, 20 + 2 * kLine);

    // An edge narrower than one step: every character of a line at one point.
    outputs = Draw("abc\nd", 10, 20, 1, kLine, &nResult, &tm);
    ASSERT_EQ(outputs.size(), 4u);
    EXPECT_EQ(outputs[2].x, 10);
    EXPECT_EQ(outputs[2].y, 20);
    EXPECT_EQ(outputs[3].y, 20 + kLine);
    EXPECT_EQ(nResult, 1);
}

TEST(TabbedText, GuardsAgainstNoMetricsNoTextAndAZeroLineHeight)
{
    EXPECT_EQ(MeasureTabbedText(NULL, 100, kLine, "abc"), 0);
    EXPECT_EQ(DrawTabbedTextLines(NULL, 0, 0, 100, kLine, "abc"), 0);
    TextDC dc;
    EXPECT_EQ(MeasureTabbedText(dc.Dc(), 100, kLine, NULL), 0);
    EXPECT_EQ(DrawTabbedTextLines(dc.Dc(), 0, 0, 100, kLine, NULL), 0);
    int nResult = -1;
    TEXTMETRICA tm;
    std::vector<Output> outputs = Draw("a\nb", 0, 0, 100, 0, &nResult, &tm);
    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(outputs.size(), 2u);
}
} // namespace
