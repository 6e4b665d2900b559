#include "WinFileInfo.h"

#include <gtest/gtest.h>

TEST(WinFileInfo, OpensExistingFilesAndReadsTheirVersion)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string kernel = std::string(system) + "\\kernel32.dll";

    CWinFileInfo info;
    ASSERT_TRUE(info.Open(kernel.c_str()));
    EXPECT_TRUE(info.IsOpen());
    ASSERT_TRUE(info.HasVersion());
    DWORD ms = 0, ls = 0;
    EXPECT_TRUE(info.GetFileVersion(ms, ls));
    EXPECT_NE(0u, ms);

    // This test program has no version resource, but it opens.
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, MAX_PATH);
    ASSERT_TRUE(info.Open(self));
    EXPECT_FALSE(info.HasVersion());
    EXPECT_FALSE(info.GetFileVersion(ms, ls));

    EXPECT_FALSE(info.Open((std::string(system) + "\\no such program.exe").c_str()));
    EXPECT_FALSE(info.IsOpen());
    EXPECT_FALSE(info.Open(""));
    EXPECT_FALSE(info.Open(NULL));
}
