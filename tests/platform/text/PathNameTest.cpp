// Names given from outside that become one folder or file name.
#include <gtest/gtest.h>

#include <string>

#include "PathName.h"

namespace
{

TEST(PathName, AcceptsOnePlainName)
{
    const char* const accepted[] = {
        "Game",
        "game.exe",
        "top-1_x.png",
        "\xD6\xD0\xCE\xC4", // "中文"
        ("\xB0\x5C"
         "x"),      // trail byte '\' inside a character
        "\xB0\x7C", // trail byte '|'
        "CONSOLE",
        "COM10",
        "LPT0",
        ".profile",
        "a b",
    };
    for (const char* name : accepted)
        EXPECT_TRUE(IsPlainPathName(name)) << name;
}

TEST(PathName, RefusesWhatLeavesTheFolder)
{
    const char* const refused[] = {
        "",           "..",  ".",   "..\\x",   "../x",     "a\\b", "a/b",      "a..b",   "C:x",     "x:stream",
        "\\\\server", "a.",  "a ",  "a\x01",   "a\x7F",    "a<b",  "a>b",      "a\"b",   "a|b",     "a?b",
        "a*b",        "CON", "con", "NUL.txt", "aux .png", "COM1", "lpt9.dat", "CLOCK$", "CONOUT$",
        "x\xD6", // half a character at the end
    };
    for (const char* name : refused)
        EXPECT_FALSE(IsPlainPathName(name)) << name;
    EXPECT_FALSE(IsPlainPathName(NULL));
    EXPECT_TRUE(IsPlainPathName(std::string(255, 'a').c_str()));
    EXPECT_FALSE(IsPlainPathName(std::string(256, 'a').c_str()));
}

TEST(PathName, RelativePathsStayBelowTheirFolder)
{
    struct
    {
        const char* path;
        bool accepted;
    } cases[] = {
        {"Items\\img\\a_1.png", true},
        {"Items/img/a.png", true},
        {"fileindex.xml", true},
        {"\xB0\x5C\\x.xml", true}, // trail byte '\' inside the first name
        {"", false},
        {"\\Items\\a.xml", false},
        {"/etc/passwd", false},
        {"C:\\Windows\\a.dll", false},
        {"C:a.dll", false},
        {"Items\\..\\..\\a.dll", false},
        {"Items\\\\a.xml", false},
        {"Items\\", false},
        {"Items\\CON", false},
        {"\\\\server\\share\\a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRelativePathName(c.path), c.accepted) << c.path;
    EXPECT_FALSE(IsRelativePathName(NULL));
}

} // namespace
