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

} // namespace
