#include "WordFilter.h"

#include "FaceTestFolder.h"
#include "GlobalUnits.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

const char kWordFile[] = "config\\original\\wordfilter.txt";

void Load(CWordFilter& filter, const CTestFolder& folder)
{
    g_GlobalUnits.SetWorkDirectory(folder.Path().c_str());
    filter.LoadWordList();
}

struct FilterCase
{
    const char* name;
    const char* file; // the whole word file, its first byte included
    const char* text;
    bool clean;
    const char* result; // checked when not clean
};

// Texts are GBK at run time. Trail bytes of 丂乕乗乣亄亅亊 are @ [ \ ` { | ~,
// of 丄 乑 乤 they are A Z a; 中国 is D6D0 B9FA, and D0B9 is 泄; 啊阿 is
// B0A1 B0A2, and A1B0 is the full-width quote “.
const FilterCase kCases[] = {
    {"capitals and commas fold into the word", "-abc\n", "Ab,c", false, "***"},
    {"word split by blanks and full-width punctuation", "-abc\n", "a （b）。c", false, "***"},
    {"a word twice is masked twice", "-abc\n", "abcxabc", false, "***x***"},
    {"clean text with punctuation", "-abc\n", "hello, world!", true, ""},
    {"first byte never begins a word", "q\r\nabc\r\n", "q", true, ""},
    {"lines trimmed and lower-cased, empty ones vanish", "-\r\n\t  BAD \t\r\n\r\n  \nWord", "a bad WORD", false,
     "a*******"},
    {"file order is matching order", "-bc\nabcd\n", "abcd", false, "a**d"},
    {"a word holding '*' ends", "-b\na*\n", "ab", false, "a*"},
    {"a word of masks only ends", "-**\nb\n", "bb", false, "**"},
    {"trail bytes like punctuation pass through", "-abc\n", "丂乕乗乣亄亅亊 abc", false, "丂乕乗乣亄亅亊***"},
    {"trail letters are not lower-cased", "-abc\n", "丄乑abc", false, "丄乑***"},
    {"punctuation bytes inside a character stay", "-x\n", "啊“阿x", false, "啊阿*"},
    {"an ASCII word never matches a trail byte", "-a\n", "乤", true, ""},
    {"a byte-wise lower-cased text would match", "-乤\n", "丄", true, ""},
    {"a word never matches across two characters", "-泄\n", "中国", true, ""},
    {"a double-byte word matches whole characters", "-泄\n", "中泄国", false, "中**国"},
};

void PrintTo(const FilterCase& c, std::ostream* os)
{
    *os << c.name;
}

class WordFilterCases : public testing::TestWithParam<FilterCase>
{};

TEST_P(WordFilterCases, Filter)
{
    const FilterCase& c = GetParam();
    CTestFolder folder;
    folder.Write(kWordFile, c.file);
    CWordFilter filter;
    Load(filter, folder);
    ASSERT_FALSE(filter.IsDisabled());
    EXPECT_EQ(filter.FilterText(c.text), c.clean);
    if (!c.clean) {
        EXPECT_STREQ(filter.GetResultText(), c.result);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, WordFilterCases, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FilterCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += isalnum((unsigned char)*p) ? *p : '_';
                             return name;
                         });

TEST(WordFilter, LongChatLineIsMaskedWhole)
{
    CTestFolder folder;
    folder.Write(kWordFile, "-abc\n");
    CWordFilter filter;
    Load(filter, folder);

    // Callers pass up to 1023 characters: far past any fixed small buffer.
    std::string text(1020, 'x');
    text += "abc";
    ASSERT_FALSE(filter.FilterText(text.c_str()));
    EXPECT_EQ(std::string(filter.GetResultText()), std::string(1020, 'x') + "***");
}

TEST(WordFilter, MissingFileKeepsEveryTextCleanAndTheUrl)
{
    CTestFolder folder;
    folder.Write("config\\Urls.ini", "[WordFilterUrl]\r\nurl=http://example.invalid/words.txt\r\n");
    CWordFilter filter;
    Load(filter, folder);
    EXPECT_TRUE(filter.IsDisabled());
    EXPECT_EQ(filter.GetWordCount(), 0);
    EXPECT_STREQ(filter.GetWordListUrl(), "http://example.invalid/words.txt");
    EXPECT_TRUE(filter.FilterText("abc"));
    EXPECT_TRUE(filter.FilterText("中国"));
}

TEST(WordFilter, ReloadReplacesTheList)
{
    CTestFolder folder;
    CWordFilter filter;
    Load(filter, folder);
    ASSERT_TRUE(filter.IsDisabled());

    folder.Write(kWordFile, "-old\n");
    Load(filter, folder);
    folder.Write(kWordFile, "-new\n");
    Load(filter, folder);
    EXPECT_FALSE(filter.IsDisabled());
    EXPECT_EQ(filter.GetWordCount(), 1);
    EXPECT_TRUE(filter.FilterText("old"));
    EXPECT_FALSE(filter.FilterText("new"));
}

TEST(WordFilter, EmptyListKeepsTextsClean)
{
    CTestFolder folder;
    folder.Write(kWordFile, "-\r\n \t\r\n");
    CWordFilter filter;
    Load(filter, folder);
    EXPECT_FALSE(filter.IsDisabled());
    EXPECT_EQ(filter.GetWordCount(), 0);
    EXPECT_TRUE(filter.FilterText("abc"));
}

} // namespace
