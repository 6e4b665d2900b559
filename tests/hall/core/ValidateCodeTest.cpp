#include "CreateValidateCode.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::vector<unsigned char> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class T> T At(const std::vector<unsigned char>& bytes, size_t offset)
{
    T value;
    memcpy(&value, &bytes[offset], sizeof(T));
    return value;
}

// The picture keeps its size whatever the code: a code wider than it is cut
// at the right edge. The null driver's display has 32 bits, so the file is
// 24-bit without a colour table.
class ValidateCodeFile : public testing::TestWithParam<const char*>
{};

TEST_P(ValidateCodeFile, Is93x25TwentyFourBit)
{
    const std::string path = TempPath("tavrel_code.bmp");
    CCreateValidateCode code;
    ASSERT_TRUE(code.MakePicture(NULL, path.c_str(), GetParam()));

    std::vector<unsigned char> bytes = ReadAll(path);
    ASSERT_EQ(7054u, bytes.size());
    EXPECT_EQ('B', bytes[0]);
    EXPECT_EQ('M', bytes[1]);
    EXPECT_EQ(7054u, At<DWORD>(bytes, 2));
    EXPECT_EQ(0u, At<DWORD>(bytes, 6));
    EXPECT_EQ(54u, At<DWORD>(bytes, 10));
    EXPECT_EQ(40u, At<DWORD>(bytes, 14));
    EXPECT_EQ(93, At<LONG>(bytes, 18));
    EXPECT_EQ(25, At<LONG>(bytes, 22));
    EXPECT_EQ(1, At<WORD>(bytes, 26));
    EXPECT_EQ(24, At<WORD>(bytes, 28));
    EXPECT_EQ(0u, At<DWORD>(bytes, 30));
    EXPECT_EQ(7000u, At<DWORD>(bytes, 34));
    ::DeleteFileA(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Codes, ValidateCodeFile,
                         testing::Values("A7kQ", "", "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"));

// A failed write must not look like a new picture.
TEST(ValidateCode, UnwritablePathAnswersFalse)
{
    const std::string path = TempPath("tavrel_no_such_folder\\sub\\code.bmp");
    CCreateValidateCode code;
    EXPECT_FALSE(code.MakePicture(NULL, path.c_str(), "1234"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path.c_str()));
}

} // namespace
