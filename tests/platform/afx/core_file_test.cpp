// CMemFile (growth, attach/detach, seek, length) and CFile on a real
// temporary file.
#include <afx.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace
{

template <class E, class Fn> E* Catch(Fn fn)
{
    try {
        fn();
    } catch (E* e) {
        return e;
    } catch (CException* e) {
        e->Delete();
    }
    return nullptr;
}

std::string ReadAll(CFile& f)
{
    std::string s((size_t)f.GetLength(), '\0');
    f.SeekToBegin();
    if (!s.empty())
        s.resize(f.Read(&s[0], (UINT)s.size()));
    return s;
}

} // namespace

TEST(CoreMemFile, GrowsInSteps)
{
    CMemFile f(512);
    std::string data(3000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = (char)i;
    f.Write(data.data(), 1000);
    f.Write(data.data() + 1000, 2000);
    EXPECT_EQ(f.GetLength(), 3000u);
    EXPECT_EQ(f.GetPosition(), 3000u);
    EXPECT_EQ(ReadAll(f), data);
    // Reading past the end returns what there is.
    char buf[100];
    f.Seek(-10, CFile::end);
    EXPECT_EQ(f.Read(buf, sizeof(buf)), 10u);
    EXPECT_EQ(f.Read(buf, sizeof(buf)), 0u);
}

TEST(CoreMemFile, SeekAndLength)
{
    CMemFile f;
    f.Write("abcdef", 6);
    EXPECT_EQ(f.Seek(2, CFile::begin), 2u);
    EXPECT_EQ(f.Seek(1, CFile::current), 3u);
    EXPECT_EQ(f.Seek(-1, CFile::end), 5u);
    CFileException* e = Catch<CFileException>([&] { f.Seek(-7, CFile::end); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::badSeek);
    e->Delete();
    EXPECT_EQ(f.GetPosition(), 5u);
    // A gap left by seeking past the end reads as zeros.
    f.Seek(10, CFile::begin);
    f.Write("Z", 1);
    EXPECT_EQ(ReadAll(f), std::string("abcdef\0\0\0\0Z", 11));
    f.SetLength(3);
    EXPECT_EQ(f.GetLength(), 3u);
    f.SeekToEnd();
    f.SetLength(2);
    EXPECT_EQ(f.GetPosition(), 2u); // the position follows a shorter end
    f.SetLength(5);
    EXPECT_EQ(ReadAll(f), std::string("ab\0\0\0", 5));
}

TEST(CoreMemFile, AttachFixedBufferNeverGrows)
{
    BYTE buf[4] = {'w', 'x', 'y', 'z'};
    CMemFile f(buf, sizeof(buf));
    EXPECT_EQ(f.GetLength(), 4u);
    EXPECT_EQ(ReadAll(f), "wxyz");
    f.SeekToBegin();
    f.Write("A", 1);
    EXPECT_EQ(buf[0], 'A');
    f.Seek(3, CFile::begin);
    CException* e = Catch<CMemoryException>([&] { f.Write("12", 2); });
    ASSERT_NE(e, nullptr);
    e->Delete();
    EXPECT_EQ(f.GetLength(), 4u);
    EXPECT_EQ(f.Detach(), buf);
    EXPECT_EQ(f.GetLength(), 0u);
}

TEST(CoreMemFile, AttachedGrowableBufferMovesInsteadOfReallocatingTheCallers)
{
    BYTE stackBuf[8];
    memset(stackBuf, '.', sizeof(stackBuf));
    CMemFile f;
    f.Attach(stackBuf, sizeof(stackBuf), 16);
    EXPECT_EQ(f.GetLength(), 0u); // a growable buffer starts empty
    f.Write("abc", 3);
    EXPECT_EQ(memcmp(stackBuf, "abc", 3), 0);
    f.Write("0123456789", 10); // past the caller's 8 bytes
    EXPECT_EQ(f.GetLength(), 13u);
    EXPECT_EQ(ReadAll(f), "abc0123456789");
    EXPECT_EQ(stackBuf[3], '.'); // the caller's buffer is left alone
    BYTE* own = f.Detach();
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, stackBuf);
    EXPECT_EQ(memcmp(own, "abc0123456789", 13), 0);
    free(own);
    // After Detach the file works again, on fresh memory.
    f.Write("q", 1);
    EXPECT_EQ(f.GetLength(), 1u);
}

TEST(CoreMemFile, DetachHandsOverTheOwnBlock)
{
    CMemFile f(64);
    f.Write("hello", 5);
    ULONGLONG n = f.GetLength();
    BYTE* p = f.Detach();
    ASSERT_EQ(n, 5u);
    EXPECT_EQ(memcmp(p, "hello", 5), 0);
    free(p);
    EXPECT_EQ(f.GetLength(), 0u);
    EXPECT_EQ(f.GetPosition(), 0u);
}

class CoreFile : public testing::Test
{
protected:
    void SetUp() override
    {
        auto dir = std::filesystem::temp_directory_path() /
                   ("afx_core_file_" + std::to_string((long long)CTime::GetCurrentTime().GetTime()) + "_" +
                    std::to_string(rand()));
        std::filesystem::create_directories(dir);
        m_dir = dir.string();
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    CString Path(const char* name) const { return CString(m_dir.c_str()) + "/" + name; }
    std::string m_dir;
};

TEST_F(CoreFile, WriteReadSeekAndLength)
{
    CString path = Path("data.bin");
    {
        CFile f;
        ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        EXPECT_NE(f.m_hFile, CFile::hFileNull);
        f.Write("0123456789", 10);
        f.Flush();
        f.Close();
        EXPECT_EQ(f.m_hFile, CFile::hFileNull);
    }
    CFile f(path, CFile::modeReadWrite | CFile::shareDenyNone);
    EXPECT_EQ(f.GetLength(), 10u);
    EXPECT_EQ(f.GetFileName(), "data.bin");
    EXPECT_EQ(f.GetFileTitle(), "data");
    EXPECT_EQ(f.GetFilePath().Right(9).Mid(1), "data.bin");
    char buf[16] = {};
    EXPECT_EQ(f.Seek(4, CFile::begin), 4u);
    EXPECT_EQ(f.Read(buf, 3), 3u);
    EXPECT_STREQ(buf, "456");
    EXPECT_EQ(f.GetPosition(), 7u);
    EXPECT_EQ(f.Read(buf, sizeof(buf)), 3u); // fewer at the end
    EXPECT_EQ(f.SeekToEnd(), 10u);
    f.Write("ab", 2);
    f.SetLength(4);
    EXPECT_EQ(f.GetLength(), 4u);
    EXPECT_EQ(f.GetPosition(), 4u);
    EXPECT_EQ(ReadAll(f), "0123");
    CFileException* e = Catch<CFileException>([&] { f.Seek(-1, CFile::begin); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::badSeek);
    e->Delete();
}

TEST_F(CoreFile, CreateModes)
{
    CString path = Path("modes.txt");
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        f.Write("abc", 3);
    }
    {
        CFile f(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(f.GetLength(), 3u); // kept
    }
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        EXPECT_EQ(f.GetLength(), 0u); // truncated
    }
}

TEST_F(CoreFile, FailuresAreReported)
{
    CString missing = Path("missing.bin");
    CFile f;
    CFileException fe;
    EXPECT_FALSE(f.Open(missing, CFile::modeRead, &fe));
    EXPECT_EQ(fe.m_cause, CFileException::fileNotFound);
    EXPECT_NE(fe.m_lOsError, 0);
    EXPECT_EQ(fe.m_strFileName, missing);
    EXPECT_EQ(f.m_hFile, CFile::hFileNull);

    CFileException* e = Catch<CFileException>([&] { CFile g(missing, CFile::modeRead); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
    char msg[128];
    EXPECT_TRUE(e->GetErrorMessage(msg, sizeof(msg)));
    EXPECT_NE(strstr(msg, "missing.bin"), nullptr);
    e->Delete();

    e = Catch<CFileException>([&] { CFile::Remove(missing); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
    e->Delete();
}

TEST_F(CoreFile, RenameAndRemove)
{
    CString a = Path("a.txt"), b = Path("b.txt");
    {
        CFile f(a, CFile::modeCreate | CFile::modeWrite);
        f.Write("A", 1);
    }
    {
        CFile f(b, CFile::modeCreate | CFile::modeWrite);
        f.Write("B", 1);
    }
    // An existing target is not replaced.
    CFileException* e = Catch<CFileException>([&] { CFile::Rename(a, b); });
    ASSERT_NE(e, nullptr);
    e->Delete();
    CFile::Remove(b);
    CFile::Rename(a, b);
    CFile f;
    EXPECT_FALSE(f.Open(a, CFile::modeRead));
    ASSERT_TRUE(f.Open(b, CFile::modeRead));
    EXPECT_EQ(ReadAll(f), "A");
    f.Close();
    CFile::Remove(b);
    EXPECT_FALSE(f.Open(b, CFile::modeRead));
}
