// The cause table, the path routines and the name conversions of the zip
// classes.
#include <gtest/gtest.h>

#include <windows.h>
#include <zlib.h>

#include "ZipEntryHeader.h"
#include "ZipError.h"
#include "ZipPathUtil.h"
#include "ZipTestFiles.h"

TEST(ZipError, CausesByCode)
{
    const struct
    {
        int code;
        int cause;
    } cases[] = {
        {Z_STREAM_END, 2}, {Z_NEED_DICT, 3}, {Z_ERRNO, 4},     {Z_STREAM_ERROR, 5},
        {Z_DATA_ERROR, 6}, {Z_MEM_ERROR, 7}, {Z_BUF_ERROR, 8}, {Z_VERSION_ERROR, 9},
        {-101, 10},        {-102, 11},       {-103, 12},       {-104, 13},
        {-105, 14},        {-106, 15},       {-107, 16},       {-108, 17},
        {-109, 18},        {-110, 1},        {7, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.cause, CZipError::CauseFromCode(c.code)) << c.code;
        EXPECT_EQ(c.cause, ZipCause([&] { CZipError::Throw(c.code, "a.zip"); })) << c.code;
    }
}

TEST(ZipError, ZlibResultsOtherThanSuccessRaise)
{
    EXPECT_EQ(0, ZipCause([] { CZipError::CheckZlib(Z_OK); }));
    // A raw stream never asks for a dictionary: one that does is bad data,
    // and letting it pass would spin the read loop.
    EXPECT_EQ(CZipError::needDict, ZipCause([] { CZipError::CheckZlib(Z_NEED_DICT); }));
    EXPECT_EQ(CZipError::dataError, ZipCause([] { CZipError::CheckZlib(Z_DATA_ERROR); }));
}

TEST(ZipError, CarriesTheArchiveName)
{
    try {
        CZipError::Throw(CZipError::codeBadCrc, "C:\\x\\a.zip");
        FAIL();
    } catch (CZipError* e) {
        EXPECT_EQ(CZipError::badCrc, e->m_iCause);
        EXPECT_STREQ("C:\\x\\a.zip", e->m_szFileName);
        e->Delete();
    }
}

TEST(ZipPathUtil, FileExistsLeavesTheCurrentFolderAlone)
{
    CTempFolder temp;
    WriteBytes(temp / "f.txt", "x");
    char before[MAX_PATH], after[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, before);
    EXPECT_EQ(1, CZipPathUtil::FileExists(temp / "f.txt"));
    EXPECT_EQ(-1, CZipPathUtil::FileExists(temp.Folder()));
    EXPECT_EQ(0, CZipPathUtil::FileExists(temp / "missing"));
    EXPECT_EQ(0, CZipPathUtil::FileExists(""));
    ::GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(before, after);
}

TEST(ZipPathUtil, SplitsPathsWithoutBreakingDoubleByteCharacters)
{
    // "\x95\x5c" is one character whose second byte is "\".
    const struct
    {
        const char* path;
        const char* drive;
        const char* dir;
        const char* title;
        const char* ext;
    } cases[] = {
        {"C:\\a\\b.zip", "C:", "\\a\\", "b", ".zip"},
        {"C:\\a.b\\c", "C:", "\\a.b\\", "c", ""},
        {"rel/x.tar.gz", "", "rel/", "x.tar", ".gz"},
        {"\\\\srv\\share\\v.zip", "", "\\\\srv\\share\\", "v", ".zip"},
        {"D:\\\x95\x5c.zip", "D:", "\\", "\x95\x5c", ".zip"},
        {"\x95\x5c\\n", "", "\x95\x5c\\", "n", ""},
    };
    for (const auto& c : cases) {
        CString drive, dir, title, ext;
        CZipPathUtil::SplitPath(c.path, &drive, &dir, &title, &ext);
        EXPECT_STREQ(c.drive, drive) << c.path;
        EXPECT_STREQ(c.dir, dir) << c.path;
        EXPECT_STREQ(c.title, title) << c.path;
        EXPECT_STREQ(c.ext, ext) << c.path;
    }
    EXPECT_STREQ("C:\\", CZipPathUtil::DriveRoot("C:\\a\\b.zip"));
    EXPECT_STREQ("\\\\srv\\share\\", CZipPathUtil::DriveRoot("\\\\srv\\share\\v.zip"));
    EXPECT_STREQ("", CZipPathUtil::DriveRoot("rel\\v.zip"));
    EXPECT_STREQ("C:\\a", CZipPathUtil::WithoutTrailingSeparator("C:\\a\\\\"));
    EXPECT_STREQ("\x95\x5c", CZipPathUtil::WithoutTrailingSeparator("\x95\x5c"));
}

TEST(ZipPathUtil, ContainedPaths)
{
    const struct
    {
        const char* path;
        bool contained;
    } cases[] = {
        {"a.txt", true},       {"sub\\a.txt", true},    {"sub/a.txt", true},  {"..a\\b..", true},
        {"\x95\x5c\\a", true}, {"a\\\x95\x5c", true},   {"", false},          {"..", false},
        {"..\\a", false},      {"a\\..\\..\\b", false}, {"a/../b", false},    {"\\a", false},
        {"/a", false},         {"C:\\a", false},        {"C:a", false},       {"a:stream", false},
        {"a\\.\\b", false},    {"a\\ . \\b", false},    {"a\\...\\b", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.contained, CZipPathUtil::IsContainedPath(c.path)) << c.path;
}

TEST(ZipEntryHeader, NameFormsKeepDoubleByteCharacters)
{
    // Written: "\" becomes "/" only where it is a character of its own.
    CZipEntryHeader header;
    const char ansi[] = "数据\\\x95\x5c\\a.txt";
    header.m_pszFileName.Assign(ansi, sizeof(ansi) - 1);
    header.SlashChange(false);
    header.NameAnsiToOem();
    EXPECT_EQ(std::string("数据/\x95\x5c/a.txt"),
              std::string((const char*)header.m_pszFileName.GetBuffer(), header.m_pszFileName.GetSize()));
    header.NameOemToAnsi();
    header.SlashChange(true);
    EXPECT_STREQ(ansi, header.EntryName());
}

TEST(ZipEntryHeader, DosTimeToCalendarTime)
{
    CZipEntryHeader header;
    header.m_uModDate = (WORD)(((2021 - 1980) << 9) | (6 << 5) | 15);
    header.m_uModTime = (WORD)((11 << 11) | (17 << 5) | (41 / 2));
    time_t t = header.GetTime();
    struct tm* local = localtime(&t);
    ASSERT_NE(nullptr, local);
    EXPECT_EQ(121, local->tm_year);
    EXPECT_EQ(5, local->tm_mon);
    EXPECT_EQ(15, local->tm_mday);
    EXPECT_EQ(11, local->tm_hour);
    EXPECT_EQ(17, local->tm_min);
    EXPECT_EQ(40, local->tm_sec);
}
