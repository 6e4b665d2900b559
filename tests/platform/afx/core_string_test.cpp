// CString: double-byte (GBK) awareness, formatting, trimming, replacing,
// tokenizing and buffer access. GBK bytes are written as escapes.
#include <afx.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace
{

// "你好" in GBK; 0xC4 0xE3 0xBA 0xC3. The trail byte 0x61..0x7A range is
// what makes case mapping dangerous: "\xB0\x41" is a double-byte character
// whose second byte is 'A'.
const char kNiHao[] = "\xC4\xE3\xBA\xC3";
const char kTrailA[] = "\xB0\x41";  // second byte 'A'
const char kTrailBs[] = "\xD5\x5C"; // second byte '\\'

} // namespace

TEST(CoreString, ConstructAndCompare)
{
    CString empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_STREQ((LPCTSTR)empty, "");
    EXPECT_EQ(CString('x', 3), "xxx");
    EXPECT_EQ(CString("abcdef", 3), "abc");
    EXPECT_EQ(CString((LPCSTR) nullptr), "");
    CString a("abc");
    EXPECT_TRUE(a == "abc");
    EXPECT_TRUE("abc" == a);
    EXPECT_TRUE(a != CString("abd"));
    EXPECT_TRUE(a < "abd");
    EXPECT_TRUE(CString("b") > a);
    EXPECT_EQ(a + "d" + 'e', "abcde");
    EXPECT_EQ('z' + a, "zabc");
    a += a;
    EXPECT_EQ(a, "abcabc");
    EXPECT_EQ(a.GetAt(1), 'b');
    EXPECT_EQ(a[2], 'c');
    EXPECT_EQ(sizeof(CString), sizeof(char*));
}

TEST(CoreString, CompareNoCaseFoldsAsciiOnly)
{
    EXPECT_EQ(CString("Hello").CompareNoCase("hELLO"), 0);
    EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
    EXPECT_LT(CString("_").CompareNoCase("a"), 0); // folds to lower case
    // The trail bytes 'A' and 'a' are different characters.
    EXPECT_NE(CString("\xB0\x41").CompareNoCase("\xB0\x61"), 0);
    EXPECT_EQ(CString("X\xB0\x41y").CompareNoCase("x\xB0\x41Y"), 0);
}

TEST(CoreString, OutOfRangeIndexThrows)
{
    CString s("ab");
    for (int i : {-1, 2, 100}) {
        try {
            s.GetAt(i);
            ADD_FAILURE() << i;
        } catch (CException* e) {
            EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
            e->Delete();
        }
    }
}

TEST(CoreString, FindSkipsTrailBytes)
{
    // Each row: haystack, needle char, start, expected.
    struct Row
    {
        std::string text;
        char ch;
        int start;
        int expect;
    };
    const Row rows[] = {
        {std::string(kTrailBs) + "\\", '\\', 0, 2},
        {std::string(kTrailA) + "A", 'A', 0, 2},
        {kTrailA, 'A', 0, -1},
        {"abcabc", 'c', 3, 5},
        {"abc", 'a', 3, -1},
        {"abc", 'a', -1, -1},
    };
    for (const Row& r : rows) {
        CString s(r.text.c_str());
        EXPECT_EQ(s.Find(r.ch, r.start), r.expect) << r.text << " " << r.ch;
    }
    CString path = CString("C:\\") + kTrailBs + "\\x";
    EXPECT_EQ(path.ReverseFind('\\'), 5);
    EXPECT_EQ(CString(kTrailBs).ReverseFind('\\'), -1);
    // A substring is only matched at a character boundary.
    CString s = CString("\xC4\xE3\xBA\xC3");
    EXPECT_EQ(s.Find("\xE3\xBA"), -1);
    EXPECT_EQ(s.Find("\xBA\xC3"), 2);
    EXPECT_EQ(s.Find(""), 0);
    EXPECT_EQ(CString("abab").Find("ab", 1), 2);
    EXPECT_EQ(CString("ab").Find("ab", 3), -1);
    EXPECT_EQ(CString(kTrailA).FindOneOf("A"), -1);
    EXPECT_EQ((CString(kTrailA) + "xA").FindOneOf("A"), 3);
    EXPECT_EQ((CString("ab") + kNiHao).FindOneOf("\xBA\xC3"), 4);
}

TEST(CoreString, CaseMappingLeavesDoubleByteCharactersAlone)
{
    CString s = CString("Ab") + kTrailA + "cD" + kNiHao;
    CString lower = s;
    lower.MakeLower();
    EXPECT_EQ(lower, CString("ab") + kTrailA + "cd" + kNiHao);
    CString t = CString("x\xB0\x61y");
    t.MakeUpper();
    EXPECT_EQ(t, "X\xB0\x61Y");
    // A lone lead byte at the end is a byte of its own.
    CString lone("a\xB0");
    lone.MakeUpper();
    EXPECT_EQ(lone, "A\xB0");
}

TEST(CoreString, ReverseKeepsDoubleByteCharacters)
{
    CString s = CString("ab") + kNiHao;
    s.MakeReverse();
    EXPECT_EQ(s, "\xBA\xC3\xC4\xE3"
                 "ba");
}

TEST(CoreString, Format)
{
    CString s;
    s.Format("%d-%s-%05.1f-%c-%lld-%u", -12, "x", 3.14159, 'q', 1234567890123LL, 4000000000u);
    EXPECT_EQ(s, "-12-x-003.1-q-1234567890123-4000000000");
    s.Format("%s|%s", (LPCTSTR)s, (LPCTSTR)s); // arguments pointing into itself
    EXPECT_EQ(s, "-12-x-003.1-q-1234567890123-4000000000|-12-x-003.1-q-1234567890123-4000000000");
    const int n = s.GetLength();
    s.AppendFormat("%s", (LPCTSTR)s);
    EXPECT_EQ(s.GetLength(), 2 * n);
    CString big;
    big.Format("%5000d", 7);
    EXPECT_EQ(big.GetLength(), 5000);
    EXPECT_EQ(big.Right(1), "7");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CoreString, LeftMidRightClamp)
{
    CString s("hello");
    EXPECT_EQ(s.Left(2), "he");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Left(99), "hello");
    EXPECT_EQ(s.Mid(1, 3), "ell");
    EXPECT_EQ(s.Mid(3), "lo");
    EXPECT_EQ(s.Mid(-2, 2), "he");
    EXPECT_EQ(s.Mid(5), "");
    EXPECT_EQ(s.Mid(9, 2), "");
    EXPECT_EQ(s.Mid(2, 99), "llo");
    EXPECT_EQ(s.Right(2), "lo");
    EXPECT_EQ(s.Right(99), "hello");
    EXPECT_EQ(s.Right(-3), "");
}

TEST(CoreString, Trim)
{
    struct Row
    {
        const char* in;
        const char* all;
        const char* left;
        const char* right;
    };
    const Row rows[] = {
        {"  a b \t\r\n", "a b", "a b \t\r\n", "  a b"},
        {"", "", "", ""},
        {" \t ", "", "", ""},
        {"x", "x", "x", "x"},
    };
    for (const Row& r : rows) {
        CString a(r.in), l(r.in), rr(r.in);
        EXPECT_EQ(a.Trim(), r.all);
        EXPECT_EQ(l.TrimLeft(), r.left);
        EXPECT_EQ(rr.TrimRight(), r.right);
    }
    CString s("xxhixyx");
    EXPECT_EQ(s.Trim('x'), "hixy");
    CString t("-=a=-");
    EXPECT_EQ(t.Trim("=-"), "a");
    // A trail byte equal to a trim character is not trimmed.
    CString u = CString("\\") + kTrailBs;
    EXPECT_EQ(u.TrimRight('\\'), CString("\\") + kTrailBs);
    CString v = CString(kNiHao) + "\xBA\xC3";
    EXPECT_EQ(v.TrimRight("\xBA\xC3"), "\xC4\xE3");
}

TEST(CoreString, ReplaceRemoveInsertDelete)
{
    CString s("a.b.c");
    EXPECT_EQ(s.Replace('.', '/'), 2);
    EXPECT_EQ(s, "a/b/c");
    EXPECT_EQ(s.Replace("/", "::"), 2);
    EXPECT_EQ(s, "a::b::c");
    EXPECT_EQ(s.Replace("::", ""), 2);
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Replace("zz", "x"), 0);
    CString aaa("aaaa");
    EXPECT_EQ(aaa.Replace("aa", "a"), 2); // not overlapping, not re-scanned
    EXPECT_EQ(aaa, "aa");
    CString grow("ab");
    EXPECT_EQ(grow.Replace("b", "bbb"), 1);
    EXPECT_EQ(grow, "abbb");

    CString dbcs = CString(kTrailA) + "A";
    EXPECT_EQ(dbcs.Replace('A', 'B'), 1);
    EXPECT_EQ(dbcs, CString(kTrailA) + "B");
    EXPECT_EQ(dbcs.Remove('A'), 0);
    EXPECT_EQ(dbcs.Remove('B'), 1);
    EXPECT_EQ(dbcs, kTrailA);

    CString r("x-y-z");
    EXPECT_EQ(r.Remove('-'), 2);
    EXPECT_EQ(r, "xyz");
    EXPECT_EQ(r.Insert(1, "12"), 5);
    EXPECT_EQ(r, "x12yz");
    EXPECT_EQ(r.Insert(99, '!'), 6);
    EXPECT_EQ(r, "x12yz!");
    EXPECT_EQ(r.Insert(-5, '^'), 7);
    EXPECT_EQ(r, "^x12yz!");
    EXPECT_EQ(r.Delete(1, 3), 4);
    EXPECT_EQ(r, "^yz!");
    EXPECT_EQ(r.Delete(3, 99), 3);
    EXPECT_EQ(r.Delete(9, 1), 3);
    EXPECT_EQ(r.Delete(0, -1), 3);
    EXPECT_EQ(r, "^yz");
}

TEST(CoreString, Tokenize)
{
    auto split = [](const char* text, const char* delims) {
        std::vector<std::string> out;
        CString s(text);
        int pos = 0;
        CString tok = s.Tokenize(delims, pos);
        while (pos != -1) {
            out.push_back((LPCTSTR)tok);
            tok = s.Tokenize(delims, pos);
        }
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(split("a,b,,c", ","), (V{"a", "b", "c"}));
    EXPECT_EQ(split(",,a,", ","), (V{"a"}));
    EXPECT_EQ(split("", ","), V{});
    EXPECT_EQ(split(",,,", ","), V{});
    EXPECT_EQ(split("a b\tc", " \t"), (V{"a", "b", "c"}));
    // No delimiters: the rest is one token, and the loop ends.
    EXPECT_EQ(split("abc", ""), (V{"abc"}));
    // A double-byte delimiter, and a trail byte that equals a delimiter.
    EXPECT_EQ(split("a\xA1\xA1"
                    "b",
                    "\xA1\xA1"),
              (V{"a", "b"}));
    EXPECT_EQ(split("\xB0\x41"
                    "A"
                    "x",
                    "A"),
              (V{"\xB0\x41", "x"}));
    CString s("abc");
    int pos = 99;
    EXPECT_EQ(s.Tokenize(",", pos), "");
    EXPECT_EQ(pos, -1);
}

TEST(CoreString, Span)
{
    EXPECT_EQ(CString("aabbcc").SpanIncluding("ab"), "aabb");
    EXPECT_EQ(CString("aabbcc").SpanExcluding("c"), "aabb");
    EXPECT_EQ(CString("xyz").SpanIncluding("ab"), "");
    EXPECT_EQ(CString("\xB0\x41"
                      "A")
                  .SpanExcluding("A"),
              "\xB0\x41");
}

TEST(CoreString, BufferAccess)
{
    CString s("abc");
    char* p = s.GetBuffer(10);
    EXPECT_STREQ(p, "abc");
    strcpy(p, "0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "0123456789");
    EXPECT_EQ(s.GetLength(), 10);
    p = s.GetBuffer(0);
    p[3] = '\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s, "012");
    // ReleaseBuffer(-1) never reads past the buffer, even if the NUL was overwritten.
    CString t;
    p = t.GetBuffer(4);
    memset(p, 'z', 4);
    t.ReleaseBuffer();
    EXPECT_EQ(t, "zzzz");
    p = t.GetBufferSetLength(2);
    EXPECT_EQ(t.GetLength(), 2);
    p[0] = 'q';
    t.ReleaseBuffer(1);
    EXPECT_EQ(t, "q");
    CString e;
    p = e.GetBuffer();
    ASSERT_NE(p, nullptr);
    e.ReleaseBuffer();
    EXPECT_TRUE(e.IsEmpty());
    t.Preallocate(100);
    EXPECT_GE(t.GetAllocLength(), 100);
    t.FreeExtra();
    EXPECT_EQ(t.GetAllocLength(), 1);
    EXPECT_EQ(t, "q");
}

TEST(CoreString, CopiesAreIndependentAcrossThreads)
{
    const CString shared("some text that is shared");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&shared] {
            for (int i = 0; i < 2000; ++i) {
                CString copy = shared;
                copy += "x";
                ASSERT_EQ(copy.GetLength(), shared.GetLength() + 1);
            }
        });
    }
    for (auto& t : threads)
        t.join();
}

// Strings of every buffer size made, grown and dropped on several threads at
// once: no buffer may be handed to two strings, so each keeps its own text.
TEST(CoreString, BuffersAreNotSharedAcrossThreads)
{
    const int kThreads = 4;
    const int kRounds = 2000;
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures] {
            for (int round = 0; round < kRounds; ++round) {
                const int lengths[] = {1, 20, 23, 24, 50, 55, 56, 100, 119, 120, 300};
                std::vector<CString> texts;
                for (int length : lengths)
                    texts.push_back(CString(char('a' + t), length));
                // Growing moves a text to a buffer of the next size.
                texts[round % texts.size()] += CString(char('a' + t), 40);
                for (const CString& text : texts) {
                    for (int i = 0; i < text.GetLength(); ++i) {
                        if (text[i] != char('a' + t)) {
                            ++failures[t];
                            break;
                        }
                    }
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(0, failures[t]) << "thread " << t;
}
