// Reading archives made by Python's zipfile: every good fixture entry by
// entry, memory archives, and each cause a damaged archive raises.
#include <gtest/gtest.h>

#include <map>

#include "ZipPack.h"
#include "ZipTestFiles.h"

namespace
{

// The name as the reader shows it: "/" becomes "\" ("/" is never the second
// byte of a double-byte character).
std::string ReaderName(std::string stored)
{
    for (char& c : stored) {
        if (c == '/')
            c = '\\';
    }
    return stored;
}

} // namespace

TEST(ZipRead, EveryFixtureEntryMatchesWhatItsWriterPutIn)
{
    std::map<std::string, std::vector<ZipManifestEntry>> archives;
    for (const ZipManifestEntry& e : LoadManifest())
        archives[e.archive].push_back(e);
    ASSERT_GE(archives.size(), 9u);

    for (const auto& archive : archives) {
        SCOPED_TRACE(archive.first);
        const std::vector<ZipManifestEntry>& entries = archive.second;
        CZipPack pack;
        ASSERT_TRUE(pack.OpenArchive(FixturePath(archive.first.c_str()), CZipPack::zipOpenReadOnly));
        if (!entries[0].password.empty())
            pack.SetPassword(entries[0].password.c_str());
        ASSERT_EQ((int)entries.size(), pack.EntryCount());
        for (int i = 0; i < pack.EntryCount(); i++) {
            const ZipManifestEntry& expected = entries[i];
            CZipEntryHeader header;
            ASSERT_TRUE(pack.CopyEntryHeader(header, i));
            EXPECT_EQ(ReaderName(expected.name), std::string(header.EntryName())) << i;
            EXPECT_EQ(expected.folder, header.IsFolder()) << i;
            std::string data = ReadWholeEntry(pack, i);
            EXPECT_EQ(expected.size, data.size()) << expected.name;
            EXPECT_EQ(expected.crc, Crc32(data)) << expected.name;
        }
        pack.CloseArchive();
        EXPECT_TRUE(pack.IsClosed());
    }
}

TEST(ZipRead, LongestCommentIsFoundAndRead)
{
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(FixturePath("comment65535.zip"), CZipPack::zipOpenReadOnly));
    const CZipBuffer& comment = pack.m_centralDir.m_pComment;
    ASSERT_EQ(65535u, comment.GetSize());
    EXPECT_EQ(std::string(65535, 'c'), std::string((const char*)comment.GetBuffer(), comment.GetSize()));
    pack.CloseArchive();
}

TEST(ZipRead, ProgramInFrontOfTheArchiveIsSkipped)
{
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(FixturePath("prefixed.zip"), CZipPack::zipOpenReadOnly));
    EXPECT_EQ(3000u, pack.m_centralDir.m_uBytesBeforeZip);
    EXPECT_EQ(1000u, ReadWholeEntry(pack, 0).size());
    pack.CloseArchive();
}

TEST(ZipRead, ArchiveInMemoryReadsLikeTheFile)
{
    std::string bytes = ReadBytes(FixturePath("plain.zip"));
    CMemFile memory((BYTE*)&bytes[0], (UINT)bytes.size());
    CZipPack fromMemory, fromFile;
    ASSERT_TRUE(fromMemory.OpenFromMemory(memory, CZipPack::zipOpenReadOnly));
    ASSERT_TRUE(fromFile.OpenArchive(FixturePath("plain.zip"), CZipPack::zipOpenReadOnly));
    ASSERT_EQ(fromFile.EntryCount(), fromMemory.EntryCount());
    for (int i = 0; i < fromFile.EntryCount(); i++)
        EXPECT_EQ(ReadWholeEntry(fromFile, i), ReadWholeEntry(fromMemory, i, 65535)) << i;
    fromMemory.CloseArchive();
    fromFile.CloseArchive();
    // The archive stays the caller's, untouched.
    EXPECT_EQ(ReadBytes(FixturePath("plain.zip")), bytes);
}

TEST(ZipRead, MemoryArchiveClaimingOtherVolumesIsDamaged)
{
    std::string bytes = ReadBytes(FixturePath("plain.zip"));
    size_t end = bytes.rfind("PK\x05\x06");
    bytes[end + 4] = 2; // "this volume" 2
    CMemFile memory((BYTE*)&bytes[0], (UINT)bytes.size());
    CZipPack pack;
    EXPECT_EQ(CZipError::badZipFile, ZipCause([&] { pack.OpenFromMemory(memory, CZipPack::zipOpenReadOnly); }));
    EXPECT_TRUE(pack.IsClosed());
}

TEST(ZipRead, FindsEntriesByName)
{
    for (bool fast : {false, true}) {
        CZipPack pack;
        ASSERT_TRUE(pack.OpenArchive(FixturePath("plain.zip"), CZipPack::zipOpenReadOnly));
        pack.EnableFindFast(fast);
        EXPECT_EQ(3, pack.FindFile("docs\\big.bin")) << fast;
        EXPECT_EQ(6, pack.FindFile("Thumbs.db")) << fast;
        EXPECT_EQ(0, pack.FindFile("readme.txt")) << fast;
        EXPECT_EQ(-1, pack.FindFile("README.TXT")) << fast;
        EXPECT_EQ(-1, pack.FindFile("docs/big.bin")) << fast;
        pack.CloseArchive();
    }
}

TEST(ZipRead, DamagedArchivesRaiseTheirCause)
{
    // entry -1: the open raises; otherwise reading that entry does.
    const struct
    {
        const char* file;
        int entry;
        int cause;
    } cases[] = {
        {"no_end.zip", -1, CZipError::cdirNotFound},
        {"end_too_far.zip", -1, CZipError::cdirNotFound},
        {"bad_central_sig.zip", -1, CZipError::badZipFile},
        {"count_too_big.zip", -1, CZipError::badZipFile},
        {"dir_past_end.zip", -1, CZipError::badZipFile},
        {"dir_size_zero.zip", -1, CZipError::badZipFile},
        {"short_comment.zip", -1, CZipError::badZipFile},
        {"name_past_end.zip", -1, CZipError::badZipFile},
        {"local_flag_mismatch.zip", 0, CZipError::badZipFile},
        {"method12.zip", 0, CZipError::badZipFile},
        {"bad_crc.zip", 1, CZipError::badCrc},
        {"data_past_end.zip", 1, CZipError::badZipFile},
        {"bad_deflate.zip", 0, CZipError::dataError},
    };
    for (const auto& c : cases) {
        CZipPack pack;
        int cause = ZipCause([&] {
            pack.OpenArchive(FixturePath(c.file), CZipPack::zipOpenReadOnly);
            if (c.entry >= 0)
                ReadWholeEntry(pack, c.entry);
        });
        EXPECT_EQ(c.cause, cause) << c.file;
        if (c.entry < 0) {
            EXPECT_TRUE(pack.IsClosed()) << c.file;
        }
        pack.CloseArchive(true);
        EXPECT_TRUE(pack.IsClosed());
        // The archive file is let go: it can be opened for writing again.
        CFile again;
        EXPECT_TRUE(again.Open(FixturePath(c.file), CFile::modeReadWrite | CFile::shareExclusive)) << c.file;
    }
}

TEST(ZipRead, EncryptedEntriesNeedTheirPassword)
{
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(FixturePath("encrypted.zip"), CZipPack::zipOpenReadOnly));
    // Without a password the entry is only refused.
    EXPECT_FALSE(pack.OpenEntry(0));
    for (int i = 0; i < pack.EntryCount(); i++) {
        pack.SetPassword("wrong password");
        EXPECT_EQ(CZipError::badPassword, ZipCause([&] { pack.OpenEntry(i); })) << i;
        // The archive stays usable: the right password opens the entry.
        pack.SetPassword("tavrel-pw");
        EXPECT_NE(std::string("<not opened>"), ReadWholeEntry(pack, i)) << i;
    }
    pack.CloseArchive();
}

TEST(ZipRead, EntryOpenRulesAndEarlyClose)
{
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(FixturePath("plain.zip"), CZipPack::zipOpenReadOnly));
    EXPECT_FALSE(pack.OpenEntry(-1));
    EXPECT_FALSE(pack.OpenEntry(pack.EntryCount()));
    ASSERT_TRUE(pack.OpenEntry(4));
    EXPECT_FALSE(pack.OpenEntry(0)); // one entry at a time
    char buffer[100];
    EXPECT_EQ(100u, pack.ReadEntry(buffer, sizeof(buffer)));
    // Closed before its end: no CRC check, no exception.
    EXPECT_FALSE(pack.CloseEntry());
    EXPECT_EQ(300000u, ReadWholeEntry(pack, 4).size());
    EXPECT_FALSE(pack.OpenArchive(FixturePath("plain.zip"))); // already open
    pack.CloseArchive();
}
