// Writing archives: plain, in memory, numbered volumes, spanned archives
// folded into one file, and the volume limits. Each archive is read back
// here and, through roundtrip.txt, by Python's zipfile afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include "ZipEntryWriter.h"
#include "ZipPack.h"
#include "ZipTestFiles.h"

namespace
{

struct NewEntry
{
    ZipNewEntry entry;
    std::string data;
};

NewEntry Make(const char* name, const std::string& data, int method = 8, const char* password = "",
              bool descriptor = false)
{
    NewEntry e;
    e.entry.name = name;
    e.entry.method = method;
    e.entry.password = password;
    e.entry.descriptor = descriptor;
    e.data = data;
    return e;
}

NewEntry Folder(const char* name)
{
    NewEntry e = Make(name, "", 0);
    e.entry.attributes = FILE_ATTRIBUTE_DIRECTORY;
    return e;
}

void WriteAll(CZipPack& pack, const std::vector<NewEntry>& entries)
{
    CZipEntryWriter writer(pack);
    for (const NewEntry& e : entries) {
        writer.Begin(e.entry);
        // In uneven pieces, so buffers fill at odd places.
        for (size_t at = 0; at < e.data.size(); at += 7777)
            writer.Write(e.data.data() + at, (DWORD)std::min<size_t>(7777, e.data.size() - at));
        ASSERT_TRUE(pack.CloseNewEntry());
    }
}

void ExpectReadsBack(CZipPack& pack, const std::vector<NewEntry>& entries, const char* password = "")
{
    pack.SetPassword(*password ? password : NULL);
    ASSERT_EQ((int)entries.size(), pack.EntryCount());
    for (int i = 0; i < pack.EntryCount(); i++) {
        CZipEntryHeader header;
        pack.CopyEntryHeader(header, i);
        EXPECT_STREQ(entries[i].entry.name, header.EntryName()) << i;
        EXPECT_EQ(entries[i].entry.password.IsEmpty(), !header.IsEncrypted()) << i;
        EXPECT_TRUE(entries[i].data == ReadWholeEntry(pack, i)) << entries[i].entry.name;
    }
}

void Record(LPCSTR lpszArchive, int iVolumes, const char* password, const std::vector<NewEntry>& entries)
{
    std::vector<ZipRoundtripEntry> listed;
    for (const NewEntry& e : entries) {
        ZipRoundtripEntry r;
        r.name = (LPCSTR)e.entry.name;
        r.data = e.data;
        r.folder = (e.entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        listed.push_back(r);
    }
    RecordRoundtrip(lpszArchive, iVolumes, password, listed);
}

// Numbered volumes of stem.zip: stem.000, stem.001 ... and the last, stem.zip.
int CountVolumes(const CString& stem)
{
    int count = 0;
    CString name;
    for (;; count++) {
        name.Format("%s.%03d", (LPCSTR)stem, count);
        if (!Exists(name))
            break;
    }
    return Exists(stem + ".zip") ? count + 1 : count;
}

std::vector<NewEntry> MixedEntries()
{
    return {
        Make("readme.txt", Prose(5000, 1)),
        Make("empty.txt", "", 0),
        Folder("数据\\"),
        Make("数据\\配置.ini", "[Public]\r\nversion=3\r\n"),
        Make("图片\\头像\x95\x5c.png", Noise(3000, 2), 0),
        Make("big.bin", Noise(150000, 3)),
        Make("secret.txt", Prose(20000, 4), 8, "pw-1"),
        Make("secret.bin", Noise(5000, 5), 0, "pw-1"),
        Make("late.txt", Prose(9000, 6), 8, "", true),
    };
}

} // namespace

TEST(ZipWrite, EmptyArchivesHoldOnlyTheEndRecord)
{
    CTempFolder temp;
    const std::string endRecord("PK\x05\x06\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22);
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(temp / "plain.zip", CZipPack::zipCreate));
    pack.CloseArchive();
    EXPECT_EQ(endRecord, ReadBytes(temp / "plain.zip"));

    // A spanned one folds into a plain file named .zip, without the signature.
    ASSERT_TRUE(pack.OpenArchive(temp / "span.zip", CZipPack::zipCreateSpan, 1000));
    pack.CloseArchive();
    EXPECT_EQ(endRecord, ReadBytes(temp / "span.zip"));
    EXPECT_FALSE(Exists(temp / "span.000"));
    EXPECT_FALSE(pack.CloseNewEntry());
}

TEST(ZipWrite, PlainArchiveReadsBack)
{
    CString path = RoundtripFolder() + "\\plain.zip";
    std::vector<NewEntry> entries = MixedEntries();
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(path, CZipPack::zipCreate));
    WriteAll(pack, entries);
    pack.CloseArchive();

    ASSERT_TRUE(pack.OpenArchive(path, CZipPack::zipOpenReadOnly));
    ExpectReadsBack(pack, entries, "pw-1");
    CZipEntryHeader late;
    pack.CopyEntryHeader(late, 8);
    EXPECT_TRUE(late.HasDataDescriptor());
    pack.CloseArchive();
    Record("plain.zip", 0, "pw-1", entries);

    // Names are stored in the OEM code page with "/", whatever the reader shows.
    std::string bytes = ReadBytes(path);
    size_t directory = bytes.find("PK\x01\x02");
    EXPECT_NE(std::string::npos, bytes.find("数据/配置.ini", directory));
    EXPECT_NE(std::string::npos, bytes.find("图片/头像\x95\x5c.png", directory));
    EXPECT_EQ(std::string::npos, bytes.find("数据\\配置.ini"));
}

TEST(ZipWrite, ArchiveInMemory)
{
    std::vector<NewEntry> entries = {Make("a.txt", Prose(70000, 7)), Make("b.bin", Noise(1000, 8), 0)};
    CMemFile memory(1024);
    CZipPack pack;
    ASSERT_TRUE(pack.OpenFromMemory(memory, CZipPack::zipCreate));
    WriteAll(pack, entries);
    pack.CloseArchive();
    EXPECT_FALSE(pack.OpenFromMemory(memory, CZipPack::zipCreateSpan));

    ASSERT_TRUE(pack.OpenFromMemory(memory, CZipPack::zipOpenReadOnly));
    ExpectReadsBack(pack, entries);
    pack.CloseArchive();

    ULONGLONG length = memory.GetLength();
    BYTE* data = memory.Detach();
    WriteBytes(RoundtripFolder() + "\\memory.zip", std::string((const char*)data, (size_t)length));
    free(data);
    Record("memory.zip", 0, "", entries);
}

TEST(ZipWrite, NumberedVolumesReadBack)
{
    CString stem = RoundtripFolder() + "\\numbered";
    std::vector<NewEntry> entries = {
        Make("one.bin", Noise(45000, 9), 0),
        Make("two.txt", Prose(120000, 10)),
        Make("three.bin", Noise(30000, 11), 8, "pw-2"),
        Make("sub\\四.bin", Noise(1000, 12), 0),
    };
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(stem + ".zip", CZipPack::zipCreateSpan, 20000));
    WriteAll(pack, entries);
    pack.CloseArchive();

    int volumes = CountVolumes(stem);
    EXPECT_GE(volumes, 4);
    for (int i = 0; i + 1 < volumes; i++) {
        CString name;
        name.Format("%s.%03d", (LPCSTR)stem, i);
        EXPECT_LE(ReadBytes(name).size(), 20000u) << i;
    }
    EXPECT_EQ(0u, ReadBytes(stem + ".000").find("PK\x07\x08PK\x03\x04"));

    // Found by the drive type, or told by a volume size.
    for (int volumeSize : {0, 1}) {
        ASSERT_TRUE(pack.OpenArchive(stem + ".zip", CZipPack::zipOpenReadOnly, volumeSize));
        EXPECT_EQ(-1, pack.m_storage.SpanState());
        ExpectReadsBack(pack, entries, "pw-2");
        pack.CloseArchive();
    }
    Record("numbered.zip", volumes, "pw-2", entries);
}

TEST(ZipWrite, SpannedArchiveOnItsFirstVolumeFoldsIntoOne)
{
    // Small: folded in the write buffer. Large: folded in the file.
    const struct
    {
        const char* name;
        size_t size;
    } cases[] = {{"fold_small", 8000}, {"fold_large", 300000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CString stem = RoundtripFolder() + "\\" + c.name;
        std::vector<NewEntry> entries = {
            Make("a.txt", Prose(c.size, 13)),
            Make("b.bin", Noise(c.size / 2, 14), 0),
            Make("c.txt", Prose(c.size / 4, 15), 8, "pw-3"),
        };
        CZipPack pack;
        ASSERT_TRUE(pack.OpenArchive(stem + ".zip", CZipPack::zipCreateSpan, 10000000));
        WriteAll(pack, entries);
        pack.CloseArchive();
        EXPECT_FALSE(Exists(stem + ".000"));

        std::string bytes = ReadBytes(stem + ".zip");
        EXPECT_EQ(0u, bytes.find("PK\x03\x04"));
        ASSERT_TRUE(pack.OpenArchive(stem + ".zip", CZipPack::zipOpenReadOnly));
        EXPECT_EQ(0, pack.m_storage.SpanState());
        for (int i = 0; i < pack.EntryCount(); i++) {
            // The descriptors went, except that of the encrypted entry; the
            // reader has already matched the local header against the central one.
            CZipEntryHeader* header = pack.m_centralDir.GetHeader(i);
            WORD localFlag = (BYTE)bytes[header->m_uOffset + 6] | ((BYTE)bytes[header->m_uOffset + 7] << 8);
            EXPECT_EQ(header->IsEncrypted(), (localFlag & 8) != 0) << i;
            EXPECT_EQ(header->IsEncrypted(), header->HasDataDescriptor()) << i;
        }
        ExpectReadsBack(pack, entries, "pw-3");
        pack.CloseArchive();
        Record((CString(c.name) + ".zip"), 0, "pw-3", entries);
    }
}

TEST(ZipWrite, EncryptedEntriesKeepTheirDescriptorsWhenFitting)
{
    // Folding frees 4 bytes and 16 per entry that is not encrypted; with
    // only encrypted entries a volume with room for the directory less
    // 16 per entry must stay spanned instead of overrunning its first volume.
    std::vector<NewEntry> entries = {
        Make("x.txt", Prose(3000, 16), 8, "pw-4"),
        Make("y.bin", Noise(2000, 17), 0, "pw-4"),
        Make("z.txt", Prose(1000, 18), 8, "pw-4"),
    };
    CTempFolder temp;
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(temp / "probe.zip", CZipPack::zipCreateSpan, 1000000));
    WriteAll(pack, entries);
    DWORD data = (DWORD)pack.m_storage.Position();
    DWORD directory = pack.m_centralDir.DirectorySize(true);
    pack.CloseArchive(true);

    CString stem = RoundtripFolder() + "\\encrypted_span";
    int volumeSize = (int)(data + directory - 4 - 16 * entries.size());
    ASSERT_TRUE(pack.OpenArchive(stem + ".zip", CZipPack::zipCreateSpan, volumeSize));
    WriteAll(pack, entries);
    EXPECT_EQ(0, ZipCause([&] { pack.CloseArchive(); }));
    pack.CloseArchive(true);

    int volumes = CountVolumes(stem);
    EXPECT_EQ(2, volumes);
    ASSERT_TRUE(pack.OpenArchive(stem + ".zip", CZipPack::zipOpenReadOnly));
    ExpectReadsBack(pack, entries, "pw-4");
    pack.CloseArchive();
    Record("encrypted_span.zip", volumes, "pw-4", entries);
}

TEST(ZipWrite, EndRecordThatDoesNotFitMovesWholeToANewVolume)
{
    CString stem = RoundtripFolder() + "\\end_moved";
    std::vector<NewEntry> entries = {Make("a.bin", Noise(25000, 19), 0), Make("b.txt", Prose(300, 20))};
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(stem + ".zip", CZipPack::zipCreateSpan, 10000));
    WriteAll(pack, entries);
    int lastDataVolume = pack.m_storage.CurrentVolume();
    ASSERT_GE(lastDataVolume, 1);
    // A comment one byte too long for the room the records leave.
    DWORD records = pack.m_centralDir.DirectorySize(true) - CZipDirectory::endRecordSize;
    DWORD room = pack.m_storage.FreeOnVolume();
    ASSERT_GE(room, records + CZipDirectory::endRecordSize);
    DWORD commentLength = room - records - CZipDirectory::endRecordSize + 1;
    pack.m_centralDir.m_pComment.Allocate(commentLength);
    memset(pack.m_centralDir.m_pComment.GetBuffer(), 'k', commentLength);
    pack.CloseArchive();

    int volumes = CountVolumes(stem);
    ASSERT_EQ(lastDataVolume + 2, volumes);
    std::string last = ReadBytes(stem + ".zip");
    ASSERT_EQ(CZipDirectory::endRecordSize + commentLength, last.size());
    const BYTE* end = (const BYTE*)last.data();
    EXPECT_EQ(0, memcmp(end, "PK\x05\x06", 4));
    EXPECT_EQ(lastDataVolume + 1, end[4] | (end[5] << 8)); // this volume
    EXPECT_EQ(lastDataVolume, end[6] | (end[7] << 8));     // the directory's volume
    EXPECT_EQ(0, end[8] | (end[9] << 8));                  // entries on this volume
    EXPECT_EQ(2, end[10] | (end[11] << 8));

    ASSERT_TRUE(pack.OpenArchive(stem + ".zip", CZipPack::zipOpenReadOnly));
    ExpectReadsBack(pack, entries);
    pack.CloseArchive();
    Record("end_moved.zip", volumes, "", entries);
}

TEST(ZipWrite, RecordLargerThanAVolumeEnlargesItsVolume)
{
    CString stem = RoundtripFolder() + "\\large_record";
    std::string longName(150, 'n');
    std::vector<NewEntry> entries = {Make((longName + ".txt").c_str(), Prose(700, 21), 0), Make("s.txt", "s")};
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(stem + ".zip", CZipPack::zipCreateSpan, 100));
    WriteAll(pack, entries);
    pack.CloseArchive();

    int volumes = CountVolumes(stem);
    // Volume 0 holds only the spanning signature; volume 1 the whole local header.
    EXPECT_EQ(4u, ReadBytes(stem + ".000").size());
    std::string second = ReadBytes(stem + ".001");
    EXPECT_EQ(CZipEntryHeader::localSize + longName.size() + 4, second.size());
    EXPECT_EQ(0u, second.find("PK\x03\x04"));

    ASSERT_TRUE(pack.OpenArchive(stem + ".zip", CZipPack::zipOpenReadOnly));
    ExpectReadsBack(pack, entries);
    pack.CloseArchive();
    Record("large_record.zip", volumes, "", entries);
}

TEST(ZipWrite, ThousandthVolumeIsRefused)
{
    CTempFolder temp;
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(temp / "many.zip", CZipPack::zipCreateSpan, 64));
    CZipEntryWriter writer(pack);
    int cause = ZipCause([&] {
        writer.Begin(Make("n.bin", "", 0).entry);
        std::string data = Noise(64 * 1000, 22);
        writer.Write(data.data(), (DWORD)data.size());
        pack.CloseNewEntry();
    });
    EXPECT_EQ(CZipError::tooManyVolumes, cause);
    EXPECT_EQ(998, pack.m_storage.CurrentVolume());
    pack.CloseArchive(true);
    // Volumes 0 to 998; nothing renamed, no directory written.
    EXPECT_TRUE(Exists(temp / "many.998"));
    EXPECT_FALSE(Exists(temp / "many.999"));
    EXPECT_FALSE(Exists(temp / "many.zip"));
    EXPECT_EQ(64u, ReadBytes(temp / "many.998").size());
}

TEST(ZipWrite, EntryLeftOpenIsFinishedAtClose)
{
    CTempFolder temp;
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(temp / "open.zip", CZipPack::zipCreate));
    CZipEntryWriter writer(pack);
    NewEntry e = Make("open.txt", Prose(50000, 23));
    writer.Begin(e.entry);
    writer.Write(e.data.data(), (DWORD)e.data.size());
    pack.CloseArchive();
    ASSERT_TRUE(pack.OpenArchive(temp / "open.zip", CZipPack::zipOpenReadOnly));
    ExpectReadsBack(pack, {e});
    pack.CloseArchive();
}
