// CArchive: the byte forms of strings, counts and scalars at their
// boundaries, end-of-file handling, hostile lengths and the wide-string form.
#include <afx.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define AFX_TEST_ASAN 1
#include <sanitizer/allocator_interface.h>
#endif
#endif

namespace
{

using Bytes = std::vector<BYTE>;

// Stores through fn into a memory file and returns the bytes.
template <class Fn> Bytes Store(Fn fn, int nBufSize = 4096)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, nBufSize);
        fn(ar);
        ar.Close();
    }
    Bytes out((size_t)file.GetLength());
    file.SeekToBegin();
    if (!out.empty())
        file.Read(out.data(), (UINT)out.size());
    return out;
}

// A loading archive over a copy of the bytes.
struct Loader
{
    explicit Loader(const Bytes& bytes, int nBufSize = 4096) : data(bytes), ar(&file, CArchive::load, nBufSize)
    {
        if (!data.empty())
            file.Attach(data.data(), (UINT)data.size());
    }
    Bytes data;
    CMemFile file;
    CArchive ar;
};

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Runs fn and returns the cause of the CArchiveException it threw (-1: none).
template <class Fn> int ArchiveCause(Fn fn)
{
    try {
        fn();
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

} // namespace

TEST(CoreArchive, StringLengthPrefixAtBoundaries)
{
    struct Row
    {
        UINT length;
        Bytes prefix;
    };
    const Row rows[] = {
        {0, {0x00}},
        {1, {0x01}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {256, {0xFF, 0x00, 0x01}},
        {65533, {0xFF, 0xFD, 0xFF}},
        // 0xFFFE would read as the wide-string marker, so it takes the long form.
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {65536, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
        {100000, {0xFF, 0xFF, 0xFF, 0xA0, 0x86, 0x01, 0x00}},
    };
    // A C string goes out in the same form (not as a bool).
    EXPECT_EQ(Store([](CArchive& ar) { ar << "ab"; }), (Bytes{0x02, 'a', 'b'}));
    for (const Row& r : rows) {
        CString s;
        for (UINT i = 0; i < r.length; ++i)
            s.AppendChar((char)('a' + i % 26));
        Bytes stored = Store([&](CArchive& ar) { ar << s; });
        ASSERT_EQ(stored.size(), r.prefix.size() + r.length) << r.length;
        EXPECT_EQ(Bytes(stored.begin(), stored.begin() + (long)r.prefix.size()), r.prefix) << r.length;
        EXPECT_EQ(memcmp(stored.data() + r.prefix.size(), s.GetString(), r.length), 0) << r.length;

        Loader in(stored);
        CString back;
        in.ar >> back;
        EXPECT_TRUE(back == s) << r.length;
    }
}

TEST(CoreArchive, CountFormAtBoundaries)
{
    struct Row
    {
        DWORD_PTR count;
        Bytes bytes;
    };
    const Row rows[] = {
        {0, {0x00, 0x00}},
        {65534, {0xFE, 0xFF}},
        {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {65536, {0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
        {0xFFFFFFFE, {0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Store([&](CArchive& ar) { ar.WriteCount(r.count); }), r.bytes) << r.count;
        Loader in(r.bytes);
        EXPECT_EQ(in.ar.ReadCount(), r.count);
    }
}

TEST(CoreArchive, EveryScalarRoundTripsInLittleEndianForm)
{
    const BYTE by = 0xA5;
    const WORD w = 0x1234;
    const int i = -2;
    const UINT u = 0x89ABCDEF;
    const short sh = -300;
    const char ch = 'Z';
    const LONG l = -123456;
    const DWORD dw = 0xDEADBEEF;
    const LONGLONG ll = -0x0102030405060708LL;
    const ULONGLONG ull = 0xF1E2D3C4B5A69788ULL;
    const float f = 1.5f;
    const double d = -0.25;
    Bytes stored = Store(
        [&](CArchive& ar) { ar << by << w << i << u << sh << ch << true << false << l << dw << ll << ull << f << d; });
    const Bytes expected = {
        0xA5, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB, 0x89, 0xD4, 0xFE, 0x5A, 0x01, 0x00, 0xC0, 0x1D,
        0xFE, 0xFF, 0xEF, 0xBE, 0xAD, 0xDE, 0xF8, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0x88, 0x97, 0xA6, 0xB5,
        0xC4, 0xD3, 0xE2, 0xF1, 0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD0, 0xBF,
    };
    EXPECT_EQ(stored, expected);

    Loader in(stored);
    BYTE by2;
    WORD w2;
    int i2;
    UINT u2;
    short sh2;
    char ch2;
    bool t2, f2;
    LONG l2;
    DWORD dw2;
    LONGLONG ll2;
    ULONGLONG ull2;
    float fl2;
    double d2;
    in.ar >> by2 >> w2 >> i2 >> u2 >> sh2 >> ch2 >> t2 >> f2 >> l2 >> dw2 >> ll2 >> ull2 >> fl2 >> d2;
    EXPECT_EQ(by2, by);
    EXPECT_EQ(w2, w);
    EXPECT_EQ(i2, i);
    EXPECT_EQ(u2, u);
    EXPECT_EQ(sh2, sh);
    EXPECT_EQ(ch2, ch);
    EXPECT_TRUE(t2);
    EXPECT_FALSE(f2);
    EXPECT_EQ(l2, l);
    EXPECT_EQ(dw2, dw);
    EXPECT_EQ(ll2, ll);
    EXPECT_EQ(ull2, ull);
    EXPECT_EQ(fl2, f);
    EXPECT_EQ(d2, d);
    // Any non-zero byte loads as true.
    Loader b({0x02});
    bool bv = false;
    b.ar >> bv;
    EXPECT_TRUE(bv);
}

TEST(CoreArchive, ShortBodyThrowsEndOfFile)
{
    struct Row
    {
        const char* what;
        Bytes body;
        int kind;
    };
    // kind: 0 string, 1 BYTE, 2 WORD, 3 DWORD, 4 LONGLONG, 5 double, 6 count
    const Row rows[] = {
        {"empty string body", {}, 0},
        {"string chars missing", {0x05, 'a', 'b'}, 0},
        {"u16 length cut", {0xFF, 0x10}, 0},
        {"u32 length cut", {0xFF, 0xFF, 0xFF, 0x00, 0x00}, 0},
        {"long string cut", {0xFF, 0x00, 0x01, 'x'}, 0},
        {"wide chars cut", {0xFF, 0xFE, 0xFF, 0x02, 0x61, 0x00, 0x62}, 0},
        {"wide length cut", {0xFF, 0xFE, 0xFF}, 0},
        {"byte", {}, 1},
        {"word", {0x01}, 2},
        {"dword", {0x01, 0x02, 0x03}, 3},
        {"longlong", {1, 2, 3, 4, 5, 6, 7}, 4},
        {"double", {1, 2}, 5},
        {"count", {0xFF, 0xFF, 0x01}, 6},
    };
    for (const Row& r : rows) {
        Loader in(r.body);
        int cause = ArchiveCause([&] {
            CString s;
            BYTE by;
            WORD w;
            DWORD dw;
            LONGLONG ll;
            double d;
            switch (r.kind) {
            case 0: in.ar >> s; break;
            case 1: in.ar >> by; break;
            case 2: in.ar >> w; break;
            case 3: in.ar >> dw; break;
            case 4: in.ar >> ll; break;
            case 5: in.ar >> d; break;
            case 6: in.ar.ReadCount(); break;
            }
        });
        EXPECT_EQ(cause, CArchiveException::endOfFile) << r.what;
    }
}

#ifdef AFX_TEST_ASAN
namespace
{
bool g_recording = false;
size_t g_largestAllocation = 0;
void RecordAllocation(const volatile void*, size_t size)
{
    if (g_recording && size > g_largestAllocation)
        g_largestAllocation = size;
}
void IgnoreFree(const volatile void*) {}
} // namespace
#endif

TEST(CoreArchive, HostileLengthDoesNotAllocateOrRead)
{
    // A string claiming about 2 GB with ten bytes behind it; a wide one the
    // same; and a length no string can have.
    const Bytes huge = {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0x7F, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const Bytes hugeWide = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xF0, 0xFF, 0x3F, 1, 2, 3, 4};
    const Bytes tooLong = {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 1, 2};
    const Bytes sixtyFourBit = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0, 0};
#ifdef AFX_TEST_ASAN
    static const int s_installed = __sanitizer_install_malloc_and_free_hooks(RecordAllocation, IgnoreFree);
    (void)s_installed;
    g_largestAllocation = 0;
    g_recording = true;
#endif
    {
        Loader in(huge);
        CString s("keep");
        EXPECT_EQ(ArchiveCause([&] { in.ar >> s; }), CArchiveException::endOfFile);
        EXPECT_EQ(s, "keep"); // untouched on failure
    }
    {
        Loader in(hugeWide);
        CString s;
        EXPECT_EQ(ArchiveCause([&] { in.ar >> s; }), CArchiveException::endOfFile);
    }
    {
        Loader in(tooLong);
        CString s;
        EXPECT_EQ(ArchiveCause([&] { in.ar >> s; }), CArchiveException::badIndex);
    }
    {
        Loader in(sixtyFourBit);
        CString s;
        EXPECT_EQ(ArchiveCause([&] { in.ar >> s; }), CArchiveException::badIndex);
    }
#ifdef AFX_TEST_ASAN
    g_recording = false;
    EXPECT_GT(g_largestAllocation, 0u); // the hook saw the archives' buffers
    EXPECT_LT(g_largestAllocation, (size_t)1 << 20);
#endif
}

TEST(CoreArchive, WideStringIsConvertedToTheCodePage)
{
    // "ab" and U+4F60 U+597D, which are "\xC4\xE3\xBA\xC3" in GBK.
    struct Row
    {
        Bytes body;
        const char* expect;
    };
    const Row rows[] = {
        {{0xFF, 0xFE, 0xFF, 0x02, 0x61, 0x00, 0x62, 0x00}, "ab"},
        {{0xFF, 0xFE, 0xFF, 0x02, 0x60, 0x4F, 0x7D, 0x59}, "\xC4\xE3\xBA\xC3"},
        {{0xFF, 0xFE, 0xFF, 0x00}, ""},
    };
    for (const Row& r : rows) {
        Bytes body = Concat({r.body, {0x07}});
        Loader in(body);
        CString s;
        BYTE after = 0;
        in.ar >> s >> after;
        EXPECT_EQ(s, r.expect);
        EXPECT_EQ(after, 0x07); // nothing more was consumed
    }
    // A long wide string: 0xFF 0xFE, then 0xFF and a u16 length.
    Bytes body = {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01};
    for (int i = 0; i < 300; ++i) {
        body.push_back('x');
        body.push_back(0);
    }
    Loader in(body);
    CString s;
    in.ar >> s;
    EXPECT_EQ(s, CString('x', 300));
}

TEST(CoreArchive, LargeDataCrossesTheBufferBothWays)
{
    // Scalars and strings around a small buffer's edges, then raw reads
    // larger than the buffer.
    for (int nBuf : {16, 100, 4096}) {
        Bytes blob(10000);
        for (size_t i = 0; i < blob.size(); ++i)
            blob[i] = (BYTE)(i * 7);
        Bytes stored = Store(
            [&](CArchive& ar) {
                for (int i = 0; i < 500; ++i)
                    ar << (DWORD)i << CString('q', i % 40);
                ar.Write(blob.data(), (UINT)blob.size());
                ar << (WORD)0xBEEF;
            },
            nBuf);
        Loader in(stored, nBuf);
        for (int i = 0; i < 500; ++i) {
            DWORD v = 0;
            CString s;
            in.ar >> v >> s;
            ASSERT_EQ(v, (DWORD)i);
            ASSERT_TRUE(s == CString('q', i % 40));
        }
        Bytes back(blob.size());
        EXPECT_EQ(in.ar.Read(back.data(), (UINT)back.size()), back.size());
        EXPECT_EQ(back, blob);
        WORD tail = 0;
        in.ar >> tail;
        EXPECT_EQ(tail, 0xBEEF);
        BYTE extra[8];
        EXPECT_EQ(in.ar.Read(extra, sizeof(extra)), 0u); // raw reads just stop
    }
}

TEST(CoreArchive, WrongDirectionThrows)
{
    CMemFile file;
    CArchive st(&file, CArchive::store);
    BYTE by;
    EXPECT_EQ(ArchiveCause([&] { st >> by; }), CArchiveException::writeOnly);
    st.Close();
    BYTE one = 1;
    CMemFile src(&one, 1);
    CArchive ld(&src, CArchive::load);
    EXPECT_EQ(ArchiveCause([&] { ld << (BYTE)1; }), CArchiveException::readOnly);
    EXPECT_TRUE(ld.IsLoading());
    EXPECT_FALSE(ld.IsStoring());
    EXPECT_EQ(ld.GetFile(), &src);
}

TEST(CoreArchive, FlushHandsBackUnreadBytesToTheFile)
{
    BYTE data[] = {1, 2, 3, 4, 5, 6};
    CMemFile file(data, sizeof(data));
    {
        CArchive ar(&file, CArchive::load);
        BYTE b;
        ar >> b;
        EXPECT_EQ(b, 1);
        ar.Close();
    }
    EXPECT_EQ(file.GetPosition(), 1u);
    // Storing: nothing reaches the file before Flush.
    CMemFile out;
    CArchive ar(&out, CArchive::store);
    ar << (DWORD)7;
    EXPECT_EQ(out.GetLength(), 0u);
    ar.Flush();
    EXPECT_EQ(out.GetLength(), 4u);
    ar << (BYTE)1;
    ar.Abort();
    EXPECT_EQ(out.GetLength(), 4u); // Abort drops what was buffered
}

TEST(CoreArchive, DestructorFlushesUnlessClosed)
{
    CMemFile out;
    {
        CArchive ar(&out, CArchive::store);
        ar << (WORD)1;
    }
    EXPECT_EQ(out.GetLength(), 2u);
    {
        CArchive ar(&out, CArchive::store | CArchive::bNoFlushOnDelete);
        ar << (WORD)1;
    }
    EXPECT_EQ(out.GetLength(), 2u);
}

TEST(CoreArchive, TextLines)
{
    const char text[] = "one\r\ntwo\n\nlast";
    Bytes body(text, text + sizeof(text) - 1);
    Loader in(body, 16);
    std::vector<std::string> lines;
    CString line;
    while (in.ar.ReadString(line))
        lines.push_back((LPCSTR)line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "", "last"}));

    Loader in2(body, 16);
    char buf[3];
    EXPECT_STREQ(in2.ar.ReadString(buf, sizeof(buf)), "on");
    EXPECT_STREQ(in2.ar.ReadString(buf, sizeof(buf)), "e");

    Bytes stored = Store([](CArchive& ar) {
        ar.WriteString("a\r\n");
        ar.WriteString("b");
    });
    EXPECT_EQ(stored, (Bytes{'a', '\r', '\n', 'b'}));
}

TEST(CoreArchive, OverARealFile)
{
    CString path;
    path.Format("afx_core_archive_%d.bin", (int)(CTime::GetCurrentTime().GetTime() % 100000));
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        for (int i = 0; i < 3000; ++i)
            ar << (LONGLONG)i << CString("line");
        ar.Close();
        file.Close();
    }
    {
        CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
        EXPECT_EQ(file.GetLength(), 3000u * 13);
        CArchive ar(&file, CArchive::load);
        for (int i = 0; i < 3000; ++i) {
            LONGLONG v;
            CString s;
            ar >> v >> s;
            ASSERT_EQ(v, i);
            ASSERT_EQ(s, "line");
        }
        BYTE b;
        EXPECT_EQ(ArchiveCause([&] { ar >> b; }), CArchiveException::endOfFile);
    }
    CFile::Remove(path);
}
