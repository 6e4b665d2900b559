// GBK text in fixed fields: where a copy or a cut may end, and the
// conversions to and from UTF-8. Bytes are written as escapes.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "TextUnit.h"

namespace
{

struct FieldCase
{
    const char* name;
    const char* text;
    size_t width;
    const char* expected;
    bool whole;
};

// "中" is 0xD6 0xD0; "珹" is 0xAB 0x40, the lowest trail byte; 0xB0 0x5C has
// '\' as its trail byte; 0x81 0x7F is no character (0x7F is no trail byte).
const FieldCase kFieldCases[] = {
    {"fits whole", "ab\xD6\xD0", 5, "ab\xD6\xD0", true},
    {"lead byte is the last byte that fits", "ab\xD6\xD0", 4, "ab", false},
    {"character ends exactly at the limit", "a\xD6\xD0z", 4, "a\xD6\xD0", false},
    {"trail byte 0x40 pairs", "\xAB\x40\xAB\x40", 4, "\xAB\x40", false},
    {"trail byte 0x5C pairs", "\xB0\x5C\xB0\x5C", 4, "\xB0\x5C", false},
    {"0x7F does not pair",
     "\x81\x7F"
     "ab",
     4,
     "\x81\x7F"
     "a",
     false},
    {"lone lead byte at the end is kept", "ab\xD6", 8, "ab\xD6", true},
    {"lone lead byte never ends a cut",
     "ab\xD6"
     "0d",
     4, "ab", false},
    {"lone lead byte before an ASCII byte stays",
     "\x81"
     "0"
     "a",
     8,
     "\x81"
     "0"
     "a",
     true},
    {"unpaired lead byte never ends the field",
     "\x81"
     "0"
     "a",
     2, "", false},
    {"0xFF is a single byte", "\xFF\xD6\xD0", 2, "\xFF", false},
    {"empty text", "", 4, "", true},
    {"one byte field holds only the terminator", "a", 1, "", false},
};

class TextFieldTest : public ::testing::TestWithParam<FieldCase>
{};

TEST_P(TextFieldTest, CopiesWholeCharactersOnly)
{
    const FieldCase& c = GetParam();
    char field[16];
    memset(field, 'x', sizeof(field));
    EXPECT_EQ(TextCopyField(field, c.width, c.text), c.whole);
    EXPECT_STREQ(field, c.expected);
    // The rest of the field is zeroed, the bytes after it untouched.
    for (size_t i = strlen(c.expected); i < c.width; ++i)
        EXPECT_EQ(field[i], '\0') << i;
    EXPECT_EQ(field[c.width], 'x');
    EXPECT_EQ(TextCutLength(c.text, strlen(c.text), c.width - 1), strlen(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Boundaries, TextFieldTest, ::testing::ValuesIn(kFieldCases),
                         [](const ::testing::TestParamInfo<FieldCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p)
                                 name += isalnum((unsigned char)*p) ? *p : '_';
                             return name;
                         });

TEST(TextUnit, NullAndCountedSources)
{
    char field[4] = "abc";
    EXPECT_TRUE(TextCopyField(field, NULL));
    EXPECT_STREQ(field, "");
    // A counted source stops at its count and at its first NUL.
    EXPECT_TRUE(TextCopyField(field, sizeof(field), "ab\xD6\xD0", 2));
    EXPECT_STREQ(field, "ab");
    EXPECT_TRUE(TextCopyField(field, sizeof(field), "ab\xD6\xD0", 3)); // what is counted is kept
    EXPECT_STREQ(field, "ab\xD6");
    EXPECT_TRUE(TextCopyField(field, sizeof(field), "a\0bc", 4));
    EXPECT_STREQ(field, "a");
}

TEST(TextUnit, CharacterStarts)
{
    const char text[] = "a\xD6\xD0\xB0\x5C"
                        "b";
    const size_t length = strlen(text);
    const bool starts[] = {true, true, false, true, false, true, true};
    for (size_t pos = 0; pos <= length; ++pos)
        EXPECT_EQ(TextIsCharStart(text, length, pos), starts[pos]) << pos;
    EXPECT_EQ(TextCharSize(text, length, 1), 2u);
    EXPECT_EQ(TextCharSize(text, 2, 1), 1u); // its trail byte lies outside
}

TEST(TextUnit, PathIsCopiedWholeOrNotAtAll)
{
    char field[8];
    EXPECT_TRUE(TextCopyPath(field, "C:\\a\\b"));
    EXPECT_STREQ(field, "C:\\a\\b");
    EXPECT_TRUE(TextCopyPath(field, "C:\\a\\bc")); // 7 bytes and the terminator
    EXPECT_FALSE(TextCopyPath(field, "C:\\a\\bcd"));
    EXPECT_STREQ(field, "");
}

TEST(TextUnit, ConvertsBetweenGbkAndUtf8)
{
    struct
    {
        const char* gbk;
        const char* utf8;
    } const cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"}, // "中文"
        {"a\xB0\x5Cz", "a\xE7\x99\xA8z"},                 // trail byte '\'
        {"\xCB\xCE\xCC\xE5", "\xE5\xAE\x8B\xE4\xBD\x93"}, // "宋体"
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_TRUE(TextToUtf8(c.gbk, out)) << c.utf8;
        EXPECT_EQ(out, c.utf8);
        EXPECT_TRUE(TextFromUtf8(c.utf8, out)) << c.utf8;
        EXPECT_EQ(out, c.gbk);
    }
    std::string out = "left";
    EXPECT_TRUE(TextToUtf8(NULL, out));
    EXPECT_EQ(out, "");
}

TEST(TextUnit, RefusesWhatDoesNotConvert)
{
    std::string out = "left";
    EXPECT_FALSE(TextFromUtf8("a\xC3", out)); // cut UTF-8 sequence
    EXPECT_EQ(out, "");
    EXPECT_FALSE(TextFromUtf8("\xF0\x9F\x98\x80", out)); // no GBK character for it
    EXPECT_FALSE(TextToUtf8("a\xD6", out));              // half a character
    // Text only shown: what does not convert becomes one '?' a character.
    EXPECT_TRUE(TextFromUtf8("a\xE0\xB8\x81z", out, true)); // Thai, not in GBK
    EXPECT_EQ(out, "a?z");
}

} // namespace
