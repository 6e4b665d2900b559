#include <windows.h>

#include "IniFile.h"
#include "PictureTestSupport.h"

#include <gtest/gtest.h>

namespace
{
const char kSample[] = "[Public]\r\n"
                       "ExeName = game.exe \r\n"
                       "Version=3\r\n"
                       "Negative=-42\r\n"
                       "Text=abc\r\n"
                       "Chinese=游戏大厅\r\n"
                       "[WEBGAME]\r\n"
                       "1=1,游戏,20,http://a\r\n"
                       "2=2,b,30,http://b\r\n"
                       "broken line\r\n";
} // namespace

TEST(IniFile, MissingFilesAndKeysGiveTheDefaults)
{
    support::TempFolder folder;
    CIniFile missing(folder.Path("missing.ini").c_str());
    EXPECT_EQ(7, missing.GetInt("Public", "Version", 7));
    CString text;
    EXPECT_EQ(3u, missing.GetString("Public", "ExeName", text, "def"));
    EXPECT_EQ(CString("def"), text);
    char buffer[16];
    EXPECT_EQ(0u, missing.GetString("Public", "ExeName", buffer, "", sizeof(buffer)));
    EXPECT_STREQ("", buffer);
    CMapStringToString map;
    map.SetAt("stale", "value");
    EXPECT_EQ(0, missing.GetSection("WEBGAME", map));
    EXPECT_EQ(0, map.GetCount());

    folder.Write("sample.ini", fixtures::Bytes(kSample, kSample + sizeof(kSample) - 1));
    CIniFile ini(folder.Path("sample.ini").c_str(), 4096);
    EXPECT_EQ(3, ini.GetInt("Public", "Version", 0));
    EXPECT_EQ(-42, ini.GetInt("Public", "Negative", 0));
    EXPECT_EQ(5, ini.GetInt("Public", "Text", 5)); // not a number
    EXPECT_EQ(5, ini.GetInt("Public", "Nothing", 5));
    EXPECT_EQ(5, ini.GetInt("Nowhere", "Version", 5));
    ini.GetString("Public", "ExeName", text);
    EXPECT_EQ(CString("game.exe"), text);
    ini.GetString("Public", "Chinese", text);
    EXPECT_EQ(CString("游戏大厅"), text);
    ini.GetString("Public", "Nothing", text);
    EXPECT_TRUE(text.IsEmpty());
}

TEST(IniFile, BuffersBoundTheTextWithoutSplittingACharacter)
{
    support::TempFolder folder;
    folder.Write("sample.ini", fixtures::Bytes(kSample, kSample + sizeof(kSample) - 1));
    CIniFile ini(folder.Path("sample.ini").c_str());

    char buffer[6];
    // "游戏大厅" is 8 bytes: 5 fit, but the fifth would be half a character.
    EXPECT_EQ(4u, ini.GetString("Public", "Chinese", buffer, "", sizeof(buffer)));
    EXPECT_STREQ("游戏", buffer);
    EXPECT_EQ(3u, ini.GetString("Public", "Text", buffer, "", sizeof(buffer)));
    EXPECT_STREQ("abc", buffer);

    CIniFile small(folder.Path("sample.ini").c_str(), 4);
    CString text;
    EXPECT_EQ(3u, small.GetString("Public", "ExeName", text));
    EXPECT_EQ(CString("gam"), text);
}

TEST(IniFile, ReadsWholeSectionsAndWritesBack)
{
    support::TempFolder folder;
    folder.Write("sample.ini", fixtures::Bytes(kSample, kSample + sizeof(kSample) - 1));
    CIniFile ini;
    ini.SetIniFileName(folder.Path("sample.ini").c_str());
    EXPECT_EQ(CString(folder.Path("sample.ini").c_str()), ini.GetIniFileName());

    CMapStringToString map;
    EXPECT_EQ(2, ini.GetSection("WEBGAME", map));
    CString value;
    ASSERT_TRUE(map.Lookup("1", value));
    EXPECT_EQ(CString("1,游戏,20,http://a"), value);
    ASSERT_TRUE(map.Lookup("2", value));

    EXPECT_TRUE(ini.WriteString("LastGames", "LastGame0", "12"));
    EXPECT_TRUE(ini.WriteInt("LastGames", "GameRoom0", -3));
    EXPECT_EQ(12, ini.GetInt("LastGames", "LastGame0", 0));
    EXPECT_EQ(-3, ini.GetInt("LastGames", "GameRoom0", 0));
    EXPECT_TRUE(ini.DeleteKey("LastGames", "LastGame0"));
    EXPECT_EQ(0, ini.GetInt("LastGames", "LastGame0", 0));
    EXPECT_EQ(3, ini.GetInt("Public", "Version", 0));

    // A section larger than the buffer is read whole.
    CIniFile big(folder.Path("big.ini").c_str(), 64);
    for (int i = 0; i < 50; ++i) {
        CString key;
        key.Format("Key%d", i);
        big.WriteString("Many", key, "some value of a few bytes");
    }
    EXPECT_EQ(50, big.GetSection("Many", map));
}
