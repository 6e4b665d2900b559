// Colour texts: the three notations, names in any case, the bad forms that
// give black, and system colours read when asked for.
#include <ColourNames.h>

#include <gtest/gtest.h>

namespace
{
struct Case
{
    const char* text;
    COLORREF expected;
};

TEST(ColourNames, ParsesEachNotation)
{
    const Case cases[] = {
        {"#FF0000", 0x0000FF},
        {"255,0,0", 0x0000FF},
        {"255, 0, 0", 0x0000FF},
        {"red", 0x0000FF},
        {"RED", 0x0000FF},
        {"Red", 0x0000FF},
        {"#00ff80", RGB(0x00, 0xFF, 0x80)},
        {"10,20", RGB(10, 20, 0)}, // no second comma: blue 0
        {"#F00", 0},               // only the seven-character hash form
        {"#FF00000", 0},
        {"Reddish", 0}, // unknown name
        {"", 0},
        {"AliceBlue", RGB(0xF0, 0xF8, 0xFF)},
        {"lawngreen", RGB(0x7C, 0xFC, 0x00)},
        {"LightGoldenRodYellow", RGB(0xFA, 0xFA, 0xD2)},
        {"BlanchedAlmond", RGB(0xFF, 0xFF, 0xCD)}, // the table's own values
        {"Gray", RGB(0x7F, 0x7F, 0x7F)},
        {"YellowGreen", RGB(0x8B, 0xCD, 0x32)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CColourNames(c.text).GetColour(), c.expected) << c.text;
    EXPECT_EQ(CColourNames(nullptr).GetColour(), 0u);
}

TEST(ColourNames, SystemNamesKeepTheirIndex)
{
    const struct
    {
        const char* name;
        int index;
    } cases[] = {{"Window", COLOR_WINDOW}, {"windowtext", COLOR_WINDOWTEXT},
                 {"ControlLight", 20},     {"ScrollBar", COLOR_SCROLLBAR},
                 {"MenuBar", 30},          {"InfoBk", COLOR_INFOBK}};
    for (const auto& c : cases) {
        CColourNames colour(c.name);
        EXPECT_EQ(colour.GetValue(), CColourNames::systemColour | (DWORD)c.index) << c.name;
        EXPECT_EQ(colour.GetColour(), ::GetSysColor(c.index)) << c.name;
    }
}

TEST(ColourNames, WindowFollowsASystemColourChange)
{
    CColourNames window("Window");
    const COLORREF old = ::GetSysColor(COLOR_WINDOW);
    const COLORREF changed = old == RGB(1, 2, 3) ? RGB(4, 5, 6) : RGB(1, 2, 3);
    INT element = COLOR_WINDOW;
    ASSERT_TRUE(::SetSysColors(1, &element, &changed));
    EXPECT_EQ(window.GetColour(), changed);
    ::SetSysColors(1, &element, &old);
    EXPECT_EQ(window.GetColour(), old);
}
} // namespace
