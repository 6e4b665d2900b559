// Extracting entries to disk: the hall's unpacking loop, names, attributes,
// times, and archives whose names would leave the target folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>

#include "ZipDriveQuery.h"
#include "ZipEntryWriter.h"
#include "ZipPack.h"
#include "ZipPathUtil.h"
#include "ZipTestFiles.h"

namespace
{

// The hall's unpacking of a downloaded archive into its own folder.
void UnpackLikeTheHall(LPCSTR lpszArchive, LPCSTR lpszFolder)
{
    CZipPack pack;
    try {
        pack.OpenArchive(lpszArchive, CZipPack::zipOpenReadOnly);
        for (int i = 0; i < pack.EntryCount(); i++) {
            CZipEntryHeader header;
            pack.CopyEntryHeader(header, i);
            if (header.EntryName() == "Thumbs.db")
                continue;
            pack.ExtractEntry(i, lpszFolder, true, NULL, NULL, NULL, 65535);
        }
        pack.CloseArchive();
    } catch (CZipError* e) {
        e->Delete();
        pack.CloseArchive(true);
    }
}

std::string Stored(const std::string& name)
{
    std::string s = name;
    for (char& c : s) {
        if (c == '/')
            c = '\\';
    }
    return s;
}

// A one-entry archive of 5000 bytes whose headers then claim only the first
// declaredSize bytes, with those bytes' CRC: the data go on past the claim.
CString ArchiveClaimingLess(const CTempFolder& temp, int method, DWORD declaredSize)
{
    const std::string data = Prose(5000, 3);
    CString path = temp / (method == 0 ? "stored.zip" : "deflated.zip");
    {
        CZipPack pack;
        pack.OpenArchive(path, CZipPack::zipCreate);
        ZipNewEntry entry;
        entry.name = "big.txt";
        entry.method = method;
        CZipEntryWriter(pack).Add(entry, data.data(), (DWORD)data.size());
        pack.CloseArchive();
    }
    std::string bytes = ReadBytes(path);
    const DWORD crc = Crc32(data.substr(0, declaredSize));
    auto put32 = [&bytes](size_t at, DWORD value) {
        for (int i = 0; i < 4; i++)
            bytes[at + i] = (char)(value >> (8 * i));
    };
    const size_t central = bytes.find(std::string("PK\x01\x02", 4));
    put32(14, crc); // local header
    put32(22, declaredSize);
    put32(central + 16, crc);
    put32(central + 24, declaredSize);
    WriteBytes(path, bytes);
    return path;
}

// A drive with only so many bytes free.
class CSmallDrive : public CZipDriveQuery
{
public:
    explicit CSmallDrive(DWORD freeBytes) : m_free(freeBytes) {}
    BOOL DiskFreeSpace(LPCTSTR, DWORD* pSectors, DWORD* pBytes, DWORD* pFree) override
    {
        *pSectors = 1;
        *pBytes = 1;
        *pFree = m_free;
        return TRUE;
    }

private:
    DWORD m_free;
};

class CDriveInUse
{
public:
    explicit CDriveInUse(CZipDriveQuery* pDrive) { CZipDriveQuery::Install(pDrive); }
    ~CDriveInUse() { CZipDriveQuery::Install(NULL); }
};

} // namespace

TEST(ZipExtract, HallUnpacksEveryEntryButThumbsDb)
{
    CTempFolder temp;
    for (const char* archive : {"plain.zip", "gbk.zip", "descriptor.zip"})
        UnpackLikeTheHall(FixturePath(archive), temp.Folder());
    int checked = 0;
    for (const ZipManifestEntry& e : LoadManifest()) {
        if (e.archive != "plain.zip" && e.archive != "gbk.zip" && e.archive != "descriptor.zip")
            continue;
        CString path = temp / Stored(e.name).c_str();
        if (e.name == "Thumbs.db") {
            EXPECT_FALSE(Exists(path));
            continue;
        }
        if (e.folder) {
            EXPECT_EQ(-1, CZipPathUtil::FileExists(path)) << e.name;
            continue;
        }
        std::string data = ReadBytes(path);
        EXPECT_EQ(e.size, data.size()) << e.name;
        EXPECT_EQ(e.crc, Crc32(data)) << e.name;
        checked++;
    }
    EXPECT_EQ(9, checked);
}

TEST(ZipExtract, FileGetsTheEntryTimeButNotItsAttributes)
{
    CTempFolder temp;
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(temp / "attr.zip", CZipPack::zipCreate));
    CZipEntryWriter writer(pack);
    ZipNewEntry locked;
    locked.name = "locked.ini";
    locked.attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    locked.date = CZipEntryWriter::DosDate(2019, 3, 4);
    locked.time = CZipEntryWriter::DosTime(5, 6, 8);
    writer.Add(locked, CString("version=1"));
    ZipNewEntry folder;
    folder.name = "cfg\\";
    folder.attributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY;
    writer.Add(folder, CString());
    pack.CloseArchive();

    // Twice: the second run must be able to write over the first one's file.
    for (int round = 0; round < 2; round++) {
        ASSERT_TRUE(pack.OpenArchive(temp / "attr.zip", CZipPack::zipOpenReadOnly));
        ASSERT_TRUE(pack.ExtractEntry(0, temp / "out")) << round;
        ASSERT_TRUE(pack.ExtractEntry(1, temp / "out")) << round;
        pack.CloseArchive();
    }
    DWORD attributes = ::GetFileAttributesA(temp / "out\\locked.ini");
    EXPECT_EQ(0u, attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(0u, ::GetFileAttributesA(temp / "out\\cfg") & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ("version=1", ReadBytes(temp / "out\\locked.ini"));

    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(::GetFileAttributesExA(temp / "out\\locked.ini", GetFileExInfoStandard, &data));
    FILETIME local;
    WORD date = 0, time = 0;
    ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    ::FileTimeToDosDateTime(&local, &date, &time);
    EXPECT_EQ(locked.date, date);
    EXPECT_EQ(locked.time, time);
}

TEST(ZipExtract, FlatNamesAndNewNames)
{
    CTempFolder temp;
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(FixturePath("plain.zip"), CZipPack::zipOpenReadOnly));
    ASSERT_TRUE(pack.ExtractEntry(4, temp.Folder() + "\\", false));
    EXPECT_EQ(300000u, ReadBytes(temp / "text.log").size());
    ASSERT_TRUE(pack.ExtractEntry(0, temp.Folder(), true, "renamed\\r.txt"));
    EXPECT_EQ(5000u, ReadBytes(temp / "renamed\\r.txt").size());
    EXPECT_FALSE(Exists(temp / "docs"));
    // No buffer or no folder: refused.
    EXPECT_FALSE(pack.ExtractEntry(0, temp.Folder(), true, NULL, NULL, NULL, 0));
    EXPECT_FALSE(pack.ExtractEntry(0, NULL));
    EXPECT_FALSE(pack.ExtractEntry(0, ""));
    EXPECT_FALSE(pack.ExtractEntry(99, temp.Folder()));
    pack.CloseArchive();
}

namespace
{

struct Progress
{
    std::vector<DWORD> seen;
    size_t stopAfter;
};

bool CountProgress(DWORD uWritten, void* pData)
{
    Progress* p = static_cast<Progress*>(pData);
    p->seen.push_back(uWritten);
    return p->seen.size() < p->stopAfter;
}

} // namespace

TEST(ZipExtract, ProgressCallbackSeesEachBlockAndCanStop)
{
    CTempFolder temp;
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(FixturePath("plain.zip"), CZipPack::zipOpenReadOnly));
    Progress all{{}, 100};
    ASSERT_TRUE(pack.ExtractEntry(3, temp.Folder(), true, NULL, CountProgress, &all, 65535));
    EXPECT_EQ((std::vector<DWORD>{65535, 131070, 196605, 200000}), all.seen);

    Progress stop{{}, 2};
    EXPECT_FALSE(pack.ExtractEntry(5, temp.Folder(), true, NULL, CountProgress, &stop, 16384));
    EXPECT_EQ(2u, stop.seen.size());
    // Nothing half-written stays behind, and the archive goes on working.
    EXPECT_FALSE(Exists(temp / "raw.dat"));
    EXPECT_TRUE(pack.ExtractEntry(5, temp.Folder()));
    EXPECT_EQ(70000u, ReadBytes(temp / "raw.dat").size());
    pack.CloseArchive();
}

TEST(ZipExtract, FileFailingItsCrcIsNotLeftBehind)
{
    CTempFolder temp;
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(FixturePath("bad_crc.zip"), CZipPack::zipOpenReadOnly));
    EXPECT_EQ(CZipError::badCrc, ZipCause([&] { pack.ExtractEntry(1, temp.Folder()); }));
    EXPECT_FALSE(Exists(temp / "two.bin"));
    pack.CloseArchive(true);
}

TEST(ZipExtract, NamesLeavingTheFolderAreRefused)
{
    CTempFolder temp;
    CString target = temp / "a\\b";
    ::CreateDirectoryA(temp / "a", NULL);
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(FixturePath("slip.zip"), CZipPack::zipOpenReadOnly));
    ASSERT_EQ(8, pack.EntryCount());
    EXPECT_TRUE(pack.ExtractEntry(0, target));
    for (int i = 1; i < pack.EntryCount(); i++) {
        CZipEntryHeader header;
        pack.CopyEntryHeader(header, i);
        EXPECT_EQ(CZipError::badZipFile, ZipCause([&] { pack.ExtractEntry(i, target); })) << header.EntryName();
    }
    pack.CloseArchive();

    // Only ok.txt was written, and only inside the target.
    EXPECT_EQ("outside", ReadBytes(target + "\\ok.txt"));
    WIN32_FIND_DATAA found;
    int count = 0;
    // The folder names are kept here: a pointer into a temporary would
    // outlive its text.
    const CString folders[] = {temp.Folder(), temp / "a", target};
    for (const CString& folder : folders) {
        HANDLE h = ::FindFirstFileA(folder + "\\*", &found);
        do {
            if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, ".."))
                count++;
        } while (::FindNextFileA(h, &found));
        ::FindClose(h);
    }
    EXPECT_EQ(3, count); // a, a\b, a\b\ok.txt
    EXPECT_FALSE(Exists("C:\\evil3.txt"));
    EXPECT_FALSE(Exists("C:\\evil4.txt"));
}

// The declared size is where an entry ends: data beyond it make it damaged.
TEST(ZipExtract, DataPastTheDeclaredSizeFailTheEntry)
{
    for (int method : {0, 8}) {
        SCOPED_TRACE(method);
        CTempFolder temp;
        CZipPack pack;
        ASSERT_TRUE(pack.OpenArchive(ArchiveClaimingLess(temp, method, 1000), CZipPack::zipOpenReadOnly));
        EXPECT_EQ(CZipError::badZipFile, ZipCause([&] { pack.ExtractEntry(0, temp / "out"); }));
        EXPECT_FALSE(Exists(temp / "out\\big.txt"));
        pack.CloseArchive(true);
    }
}

TEST(ZipExtract, EntryLargerThanTheRoomLeftIsRefused)
{
    CTempFolder temp;
    CString path = temp / "room.zip";
    {
        CZipPack pack;
        ASSERT_TRUE(pack.OpenArchive(path, CZipPack::zipCreate));
        ZipNewEntry entry;
        entry.name = "big.txt";
        const std::string data = Prose(5000, 4);
        CZipEntryWriter(pack).Add(entry, data.data(), (DWORD)data.size());
        pack.CloseArchive();
    }
    CZipPack pack;
    ASSERT_TRUE(pack.OpenArchive(path, CZipPack::zipOpenReadOnly));
    CSmallDrive small(4999);
    {
        CDriveInUse use(&small);
        EXPECT_FALSE(pack.ExtractEntry(0, temp / "out"));
        EXPECT_FALSE(Exists(temp / "out\\big.txt"));
    }
    CSmallDrive enough(5000);
    {
        CDriveInUse use(&enough);
        EXPECT_TRUE(pack.ExtractEntry(0, temp / "out"));
    }
    EXPECT_EQ(5000u, ReadBytes(temp / "out\\big.txt").size());
    pack.CloseArchive();
}
