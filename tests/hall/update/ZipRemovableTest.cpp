// Spanning over removable disks, against a stand-in drive: a folder plays
// the drive, and the disk-change callback swaps "disks" by moving the
// archive file to and from a shelf folder.
#include <gtest/gtest.h>

#include <windows.h>

#include "ZipDriveQuery.h"
#include "ZipEntryWriter.h"
#include "ZipPack.h"
#include "ZipTestFiles.h"

namespace
{

class CFakeDrive : public CZipDriveQuery
{
public:
    CString archive; // the free space shrinks by this file's size
    ULONGLONG capacity = 20000;
    UINT type = DRIVE_REMOVABLE;
    int labelFailures = 0;
    std::vector<std::string> labels;
    // Reported as they are, when set.
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0;

    UINT DriveType(LPCTSTR) override { return type; }

    BOOL DiskFreeSpace(LPCTSTR, DWORD* pSectors, DWORD* pBytes, DWORD* pFree) override
    {
        if (sectorsPerCluster != 0) {
            *pSectors = sectorsPerCluster;
            *pBytes = bytesPerSector;
            *pFree = freeClusters;
            return TRUE;
        }
        WIN32_FILE_ATTRIBUTE_DATA data;
        ULONGLONG used = 0;
        if (::GetFileAttributesExA(archive, GetFileExInfoStandard, &data))
            used = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
        *pSectors = 1;
        *pBytes = 1;
        *pFree = (DWORD)(capacity > used ? capacity - used : 0);
        return TRUE;
    }

    BOOL SetLabel(LPCTSTR, LPCTSTR lpszLabel) override
    {
        if (labelFailures > 0) {
            labelFailures--;
            return FALSE;
        }
        labels.push_back(lpszLabel);
        return TRUE;
    }
};

class CRemovableDriveInUse
{
public:
    explicit CRemovableDriveInUse(CZipDriveQuery* pDrive) { CZipDriveQuery::Install(pDrive); }
    ~CRemovableDriveInUse() { CZipDriveQuery::Install(NULL); }
};

struct Disks
{
    CString archive; // the archive on the drive
    CString shelf;   // disks taken out: disk1.zip, disk2.zip ...
    std::vector<std::pair<int, int>> calls;
    size_t refuseCall = 0; // 1-based call to answer false; 0 never

    CString Disk(int volume) const
    {
        CString name;
        name.Format("%s\\disk%d.zip", (LPCSTR)shelf, volume);
        return name;
    }
};

bool SwapDisk(int iVolume, int iCode, void* pData)
{
    Disks* d = static_cast<Disks*>(pData);
    d->calls.push_back({iVolume, iCode});
    if (d->calls.size() == d->refuseCall)
        return false;
    CString folder = d->archive.Left(d->archive.ReverseFind('\\'));
    if (iCode == -1)
        ::CopyFileA(d->Disk(iVolume), d->archive, FALSE);
    else if (iCode > 0 && iVolume > 1 && Exists(d->archive))
        ::MoveFileA(d->archive, d->Disk(iVolume - 1));
    else if (iCode == -2)
        RemoveTree(folder); // a disk holding an old archive: take another one
    else if (iCode == -4)
        ::CreateDirectoryA(folder, NULL);
    return true;
}

struct SpannedEntry
{
    ZipNewEntry entry;
    std::string data;
};

std::vector<SpannedEntry> Entries()
{
    std::vector<SpannedEntry> entries(3);
    entries[0].entry.name = "disk\\a.bin";
    entries[0].entry.method = 0;
    entries[0].data = Noise(25000, 31);
    entries[1].entry.name = "b.txt";
    entries[1].data = Prose(40000, 32);
    entries[2].entry.name = "c.bin";
    entries[2].entry.password = "pw-5";
    entries[2].data = Noise(6000, 33);
    return entries;
}

void WriteEntries(CZipPack& pack, const std::vector<SpannedEntry>& entries)
{
    CZipEntryWriter writer(pack);
    for (const SpannedEntry& e : entries)
        writer.Add(e.entry, e.data.data(), (DWORD)e.data.size());
}

void ExpectEntries(CZipPack& pack, const std::vector<SpannedEntry>& entries)
{
    pack.SetPassword("pw-5");
    ASSERT_EQ((int)entries.size(), pack.EntryCount());
    for (int i = 0; i < pack.EntryCount(); i++)
        EXPECT_TRUE(entries[i].data == ReadWholeEntry(pack, i)) << i;
}

} // namespace

TEST(ZipRemovable, ArchiveSpreadOverDisksReadsBack)
{
    CTempFolder temp;
    ::CreateDirectoryA(temp / "drive", NULL);
    ::CreateDirectoryA(temp / "shelf", NULL);
    CFakeDrive drive;
    drive.archive = temp / "drive\\a.zip";
    drive.capacity = 12000;
    CRemovableDriveInUse use(&drive);
    Disks disks{drive.archive, temp / "shelf"};
    std::vector<SpannedEntry> entries = Entries();

    CZipPack pack;
    pack.SetDiskChangeCallback(SwapDisk, &disks);
    ASSERT_TRUE(pack.OpenArchive(drive.archive, CZipPack::zipCreateSpan));
    WriteEntries(pack, entries);
    pack.CloseArchive();

    // Every disk was asked for with the bytes that had to fit, and labelled.
    size_t count = disks.calls.size();
    ASSERT_GE(count, 3u);
    EXPECT_EQ(std::make_pair(1, 4), disks.calls[0]);
    for (size_t i = 0; i < count; i++) {
        EXPECT_EQ((int)i + 1, disks.calls[i].first);
        EXPECT_GT(disks.calls[i].second, 0);
        char label[16];
        sprintf(label, "pkback# %03d", (int)i + 1);
        EXPECT_EQ(label, drive.labels[i]);
        if (i + 1 < count) {
            EXPECT_LE(ReadBytes(disks.Disk((int)i + 1)).size(), drive.capacity);
        }
    }
    ::CopyFileA(drive.archive, disks.Disk((int)count), FALSE);

    // Reading asks for each disk it needs with code -1.
    disks.calls.clear();
    ASSERT_TRUE(pack.OpenArchive(drive.archive, CZipPack::zipOpenReadOnly));
    EXPECT_EQ(CZipVolumeStore::spanRemovable, pack.m_storage.m_iSpanMode);
    ExpectEntries(pack, entries);
    pack.CloseArchive();
    ASSERT_FALSE(disks.calls.empty());
    for (const auto& call : disks.calls)
        EXPECT_EQ(-1, call.second);
    EXPECT_EQ(1, disks.calls.front().first);

    // Without a callback, or when it gives up, reading stops with its cause.
    ::CopyFileA(disks.Disk((int)count), drive.archive, FALSE);
    CZipPack noCallback;
    EXPECT_EQ(CZipError::noCallback,
              ZipCause([&] { noCallback.OpenArchive(drive.archive, CZipPack::zipOpenReadOnly); }));
    disks.calls.clear();
    disks.refuseCall = 1;
    EXPECT_EQ(CZipError::aborted, ZipCause([&] {
                  pack.OpenArchive(drive.archive, CZipPack::zipOpenReadOnly);
                  ExpectEntries(pack, entries);
              }));
    pack.CloseArchive(true);
}

TEST(ZipRemovable, FreeSpaceBeyondFourGigabytesIsNotCutShort)
{
    CTempFolder temp;
    CFakeDrive drive;
    drive.archive = temp / "a.zip";
    drive.sectorsPerCluster = 8;
    drive.bytesPerSector = 512;
    drive.freeClusters = 0x100001; // 4 GiB and 4 KiB
    CRemovableDriveInUse use(&drive);
    Disks disks{drive.archive, temp.Folder()};

    CZipPack pack;
    pack.SetDiskChangeCallback(SwapDisk, &disks);
    ASSERT_TRUE(pack.OpenArchive(drive.archive, CZipPack::zipCreateSpan));
    EXPECT_EQ(0x100001000ull, pack.m_storage.FreeDiskSpace());
    EXPECT_EQ(0xFFFFFFFFu - 4, pack.m_storage.FreeOnVolume());
    std::vector<SpannedEntry> entries = Entries();
    WriteEntries(pack, entries);
    pack.CloseArchive();

    // One disk was enough, so the archive was folded into a plain one.
    EXPECT_EQ(1u, disks.calls.size());
    EXPECT_EQ(0u, ReadBytes(drive.archive).find("PK\x03\x04"));
    ASSERT_TRUE(pack.OpenArchive(drive.archive, CZipPack::zipOpenReadOnly));
    EXPECT_EQ(0, pack.m_storage.SpanState());
    ExpectEntries(pack, entries);
    pack.CloseArchive();
}

TEST(ZipRemovable, CreationRefusals)
{
    CTempFolder temp;
    CFakeDrive drive;
    drive.archive = temp / "a.zip";
    CRemovableDriveInUse use(&drive);
    Disks disks{drive.archive, temp.Folder()};

    CZipPack pack;
    EXPECT_EQ(CZipError::noCallback, ZipCause([&] { pack.OpenArchive(drive.archive, CZipPack::zipCreateSpan); }));
    pack.SetDiskChangeCallback(SwapDisk, &disks);
    drive.type = DRIVE_FIXED;
    EXPECT_EQ(CZipError::nonRemovable, ZipCause([&] { pack.OpenArchive(drive.archive, CZipPack::zipCreateSpan); }));
    drive.type = DRIVE_REMOVABLE;
    disks.refuseCall = 1;
    EXPECT_EQ(CZipError::aborted, ZipCause([&] { pack.OpenArchive(drive.archive, CZipPack::zipCreateSpan); }));
    EXPECT_TRUE(pack.IsClosed());
    EXPECT_FALSE(Exists(drive.archive));
}

TEST(ZipRemovable, DiskIsAskedForAgainUntilItCanBeUsed)
{
    CTempFolder temp;
    ::CreateDirectoryA(temp / "drive", NULL);
    CFakeDrive drive;
    drive.archive = temp / "drive\\a.zip";
    drive.labelFailures = 1;
    WriteBytes(drive.archive, "an old archive");
    CRemovableDriveInUse use(&drive);
    Disks disks{drive.archive, temp.Folder()};

    // An old file of that name (-2), a label that cannot be set (-3), a file
    // that cannot be created (-4, its folder went with the old disk).
    CZipPack pack;
    pack.SetDiskChangeCallback(SwapDisk, &disks);
    ASSERT_TRUE(pack.OpenArchive(drive.archive, CZipPack::zipCreateSpan));
    std::vector<std::pair<int, int>> expected = {{1, 4}, {1, -2}, {1, -3}, {1, -4}};
    EXPECT_EQ(expected, disks.calls);
    std::vector<SpannedEntry> entries(1);
    entries[0].entry.name = "x.txt";
    entries[0].data = "x";
    WriteEntries(pack, entries);
    pack.CloseArchive();
    ASSERT_TRUE(pack.OpenArchive(drive.archive, CZipPack::zipOpenReadOnly));
    ExpectEntries(pack, entries);
    pack.CloseArchive();
}
