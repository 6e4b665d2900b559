#include <windows.h>

#include "SplitString.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
std::vector<CString> Pieces(const CStringArray& parts)
{
    std::vector<CString> out;
    for (INT_PTR i = 0; i < parts.GetSize(); ++i)
        out.push_back(parts[i]);
    return out;
}
} // namespace

TEST(SplitString, CutsAtTheSeparatorButNotInsideDoubleByteCharacters)
{
    ASSERT_EQ(936u, GetACP());
    // "皘" is B0 7C and "癨" is B0 5C in GBK: their second bytes are '|' and '\'.
    struct Case
    {
        const char* text;
        char separator;
        std::vector<CString> expected;
    } cases[] = {
        {"1,游戏,20,http://a", ',', {"1", "游戏", "20", "http://a"}},
        {"a,,b,", ',', {"a", "", "b", ""}},
        {"", ',', {}},
        {"no separator", ',', {"no separator"}},
        {"皘|x|皘皘", '|', {"皘", "x", "皘皘"}},
        {"C:\\癨\\d", '\\', {"C:", "癨", "d"}},
        {"2024-01-31 12:30:05", ' ', {"2024-01-31", "12:30:05"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CStringArray parts;
        parts.Add("left over");
        EXPECT_EQ(int(c.expected.size()), SplitString(c.text, c.separator, parts));
        EXPECT_EQ(c.expected, Pieces(parts));
    }
    CStringArray parts;
    EXPECT_EQ(0, SplitString(NULL, ',', parts));
}
