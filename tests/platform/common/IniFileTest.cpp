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

namespace
{
// Lines the profile rules treat in their own ways: blanks, quotes, case,
// repeated names, lines without '=', comments, headers that are padded,
// repeated or unclosed, and a double-byte character whose second byte is ']'.
const char kTricky[] = "top=above every section\r\n"
                       "[Public]\r\n"
                       "ExeName = game.exe \r\n"
                       "Quoted=\"in quotes\"\r\n"
                       "Single='single'\r\n"
                       "Half=\"half\r\n"
                       "Mixed=\"mixed'\r\n"
                       "Pair=\"\"\r\n"
                       "Empty=\r\n"
                       "NoEquals\r\n"
                       "\t Spaced Key \t=\t spaced value \t\r\n"
                       "dup=first\r\n"
                       "DUP=second\r\n"
                       ";comment=not a key\r\n"
                       "Chinese=游戏大厅\r\n"
                       "Equals=a=b\r\n"
                       "Lone\rCarriage=cr\n"
                       "[public]\r\n"
                       "Other=a second section of that name\r\n"
                       "[ Padded ]\r\n"
                       "Inside=padded header\r\n"
                       "[Unclosed\r\n"
                       "After=after the unclosed header\r\n"
                       "[A\xB1]]\r\n"
                       "Trail=one\r\n"
                       "[\xB1]\r\n"
                       "Cut=two\r\n"
                       "[Last]\n"
                       "NoNewLine=end";

struct Lookup
{
    const char* section;
    const char* key;
    const char* defaultValue;
};

const Lookup kLookups[] = {
    {"Public", "ExeName", ""},         {"Public", "Quoted", ""},
    {"Public", "Single", ""},          {"Public", "Half", ""},
    {"Public", "Mixed", ""},           {"Public", "Pair", "d"},
    {"Public", "Empty", "d"},          {"Public", "NoEquals", "d"},
    {"Public", "Spaced Key", ""},      {"Public", " Spaced Key ", ""},
    {"PUBLIC", "exename", ""},         {"Public", "dup", ""},
    {"Public", ";comment", "d"},       {"Public", "Chinese", ""},
    {"Public", "Equals", ""},          {"Public", "Lone\rCarriage", ""},
    {"Public", "Carriage", "d"},       {"public", "Other", "d"},
    {"Padded", "Inside", "d"},         {" Padded ", "Inside", "d"},
    {"Unclosed", "After", "d"},        {"Public", "After", "d"},
    {"A\xB1]", "Trail", "d"},          {"", "top", "d"},
    {"Last", "NoNewLine", ""},         {"Public", "Nothing", "\"quoted default\""},
    {"Public", "Nothing", "spaces  "}, {"Public", "Nothing", " "},
    {"Nowhere", "Nothing", "x"},
};

// The same file through the kept parse (a full path) and through the
// system's profile functions (a relative one, which the parse leaves to
// them), from the folder that holds it.
class IniFileAgainstSystem : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(MAX_PATH, m_szOldFolder);
        SetCurrentDirectoryA(m_Folder.Path().c_str());
    }
    void TearDown() override { SetCurrentDirectoryA(m_szOldFolder); }

    support::TempFolder m_Folder;
    char m_szOldFolder[MAX_PATH];
};

} // namespace

TEST_F(IniFileAgainstSystem, KeysAndSectionsReadAsTheSystemReadsThem)
{
    m_Folder.Write("tricky.ini", std::string(kTricky, sizeof(kTricky) - 1));
    for (const char* name : {"tricky.ini", "absent.ini"}) {
        CIniFile kept(m_Folder.Path(name).c_str());
        CIniFile system((std::string(".\\") + name).c_str());
        for (const Lookup& lookup : kLookups) {
            SCOPED_TRACE(std::string(name) + " [" + lookup.section + "] " + lookup.key + " / " + lookup.defaultValue);
            CString fromKept, fromSystem;
            EXPECT_EQ(system.GetString(lookup.section, lookup.key, fromSystem, lookup.defaultValue),
                      kept.GetString(lookup.section, lookup.key, fromKept, lookup.defaultValue));
            EXPECT_EQ(fromSystem, fromKept);
        }
        for (const char* section : {"Public", "public", "Padded", "Unclosed", "", "Last", "Nowhere"}) {
            SCOPED_TRACE(std::string(name) + " section [" + section + "]");
            CMapStringToString fromKept, fromSystem;
            EXPECT_EQ(system.GetSection(section, fromSystem), kept.GetSection(section, fromKept));
            POSITION pos = fromSystem.GetStartPosition();
            while (pos != NULL) {
                CString key, value, keptValue;
                fromSystem.GetNextAssoc(pos, key, value);
                EXPECT_TRUE(fromKept.Lookup(key, keptValue)) << (LPCSTR)key;
                EXPECT_EQ(value, keptValue) << (LPCSTR)key;
            }
        }
    }
}

// A file read once stays right when it changes: written through any
// CIniFile of the process, or replaced from outside.
TEST_F(IniFileAgainstSystem, AKeptFileFollowsWritesAndOutsideChanges)
{
    const std::string path = m_Folder.Write("kept.ini", "[Urls]\r\nversion=1\r\nHome=http://a/\r\n");
    // Dated an hour back, so its parse is kept between reads.
    auto settle = [&] {
        HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                  OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER ticks;
        ticks.LowPart = now.dwLowDateTime;
        ticks.HighPart = now.dwHighDateTime;
        ticks.QuadPart -= 3600ull * 10000000ull;
        FILETIME old = {ticks.LowPart, ticks.HighPart};
        EXPECT_TRUE(SetFileTime(file, NULL, NULL, &old));
        CloseHandle(file);
    };
    CIniFile reader(path.c_str());
    CIniFile writer(path.c_str());

    settle();
    EXPECT_EQ(1, reader.GetInt("Urls", "version", 0));
    ASSERT_TRUE(writer.WriteInt("Urls", "version", 2));
    EXPECT_EQ(2, reader.GetInt("Urls", "version", 0));
    ASSERT_TRUE(writer.DeleteKey("Urls", "version"));
    EXPECT_EQ(7, reader.GetInt("Urls", "version", 7));

    settle();
    CString home;
    reader.GetString("Urls", "Home", home);
    EXPECT_EQ(CString("http://a/"), home);
    m_Folder.Write("kept.ini", "[Urls]\r\nversion=3\r\nHome=http://b/\r\n");
    reader.GetString("Urls", "Home", home);
    EXPECT_EQ(CString("http://b/"), home);
    EXPECT_EQ(3, reader.GetInt("Urls", "version", 0));

    settle();
    EXPECT_EQ(3, reader.GetInt("Urls", "version", 0));
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    EXPECT_EQ(9, reader.GetInt("Urls", "version", 9));
    CMapStringToString values;
    EXPECT_EQ(0, reader.GetSection("Urls", values));
}
