// The file of remembered room passwords.
#include <windows.h>

#include <string>
#include <vector>

#include "RoomPassFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace
{

const char kA[] = "0123456789abcdef0123456789abcdef";
const char kB[] = "fedcba9876543210fedcba9876543210";

std::vector<BYTE> FileBytes(const std::string& path)
{
    std::vector<BYTE> bytes;
    FILE* pFile = fopen(path.c_str(), "rb");
    if (pFile == NULL)
        return bytes;
    int c;
    while ((c = fgetc(pFile)) != EOF)
        bytes.push_back(BYTE(c));
    fclose(pFile);
    return bytes;
}

std::vector<BYTE> Record(DWORD dwRoom, DWORD dwUser, const std::string& text)
{
    tagRoomPassRecord record;
    memset(&record, 0, sizeof(record));
    record.dwServerID = dwRoom;
    record.dwUserID = dwUser;
    memcpy(record.szPassword, text.data(), text.size() < 36 ? text.size() : 36);
    const BYTE* p = reinterpret_cast<const BYTE*>(&record);
    return std::vector<BYTE>(p, p + sizeof(record));
}

class RoomPassFileTest : public testing::Test
{
protected:
    std::string Path() const { return m_Folder.File("config\\Users\\5\\roompass.dat"); }
    CRoomPassFile File() const { return CRoomPassFile(Path().c_str()); }
    void WriteRaw(WORD wCount, const std::vector<std::vector<BYTE>>& records)
    {
        std::vector<BYTE> bytes = {BYTE(wCount), BYTE(wCount >> 8)};
        for (const std::vector<BYTE>& record : records)
            bytes.insert(bytes.end(), record.begin(), record.end());
        m_Folder.Write("config\\Users\\5\\roompass.dat", bytes);
    }
    std::vector<tagRoomPassRecord> Records() const
    {
        std::vector<tagRoomPassRecord> records;
        File().ReadRecords(records);
        return records;
    }

    CTempFolder m_Folder{"roompass"};
};

} // namespace

TEST_F(RoomPassFileTest, RoundTripInTheFileLayout)
{
    EXPECT_EQ(CString(), File().Load(7, 5)); // no file yet
    ASSERT_TRUE(File().Save(7, 5, kA));
    EXPECT_EQ(CString(kA), File().Load(7, 5));
    EXPECT_EQ(CString(), File().Load(7, 6));
    EXPECT_EQ(CString(), File().Load(8, 5));
    std::vector<BYTE> expected = {1, 0};
    std::vector<BYTE> record = Record(7, 5, kA);
    expected.insert(expected.end(), record.begin(), record.end());
    EXPECT_EQ(expected, FileBytes(Path()));
}

TEST_F(RoomPassFileTest, SameTextTwiceLeavesTheFileUntouched)
{
    ASSERT_TRUE(File().Save(7, 5, kA));
    HANDLE hFile = CreateFileA(Path().c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    FILETIME old = {0x12345678, 0x01C00000};
    SetFileTime(hFile, NULL, NULL, &old);
    CloseHandle(hFile);
    ASSERT_TRUE(File().Save(7, 5, kA));
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(Path().c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(old.dwLowDateTime, data.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(old.dwHighDateTime, data.ftLastWriteTime.dwHighDateTime);
}

TEST_F(RoomPassFileTest, NewRoomAddsOneAndAChangedTextReplaces)
{
    ASSERT_TRUE(File().Save(7, 5, kA));
    ASSERT_TRUE(File().Save(8, 5, kB));
    ASSERT_EQ(2u, Records().size());
    ASSERT_TRUE(File().Save(7, 5, kB));
    ASSERT_EQ(2u, Records().size());
    EXPECT_EQ(CString(kB), File().Load(7, 5));
    EXPECT_TRUE(File().Save(9, 5, "")); // nothing to keep
    EXPECT_EQ(2u, Records().size());
}

TEST_F(RoomPassFileTest, ForgetDropsEveryRecordOfTheRoom)
{
    ASSERT_TRUE(File().Save(7, 5, kA));
    ASSERT_TRUE(File().Save(8, 5, kB));
    ASSERT_TRUE(File().Save(7, 6, kB));
    ASSERT_TRUE(File().Forget(7));
    std::vector<tagRoomPassRecord> records = Records();
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(8u, records[0].dwServerID);
    EXPECT_EQ(2u + 44u, FileBytes(Path()).size());
}

TEST_F(RoomPassFileTest, CorruptFilesAreReadBounded)
{
    struct Case
    {
        const char* name;
        WORD wCount;
        std::vector<std::vector<BYTE>> records;
        size_t nRead;
        const char* loaded;
    } cases[] = {
        {"count beyond the file", 5, {Record(7, 5, kA)}, 1, kA},
        {"text without terminator", 1, {Record(7, 5, std::string(36, 'z'))}, 1, nullptr},
        {"cut record", 2, {Record(8, 5, kB), std::vector<BYTE>(10, 1)}, 1, ""},
        {"count only", 3, {}, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteRaw(c.wCount, c.records);
        EXPECT_EQ(c.nRead, Records().size());
        CString strLoaded = File().Load(7, 5);
        CString strExpected = c.loaded != nullptr ? CString(c.loaded) : CString(std::string(35, 'z').c_str());
        EXPECT_EQ(strExpected, strLoaded);
    }
    // A save over a corrupt file writes what it could read, counted right.
    WriteRaw(5, {Record(8, 5, kB)});
    ASSERT_TRUE(File().Save(7, 5, kA));
    std::vector<BYTE> bytes = FileBytes(Path());
    ASSERT_EQ(2u + 2 * 44u, bytes.size());
    EXPECT_EQ(2, bytes[0]);
}

TEST_F(RoomPassFileTest, FailedWriteKeepsTheOldFile)
{
    ASSERT_TRUE(File().Save(7, 5, kA));
    std::vector<BYTE> before = FileBytes(Path());
    // The temporary file cannot be made: a folder holds its name.
    ASSERT_TRUE(CreateDirectoryA((Path() + ".new").c_str(), NULL));
    EXPECT_FALSE(File().Save(8, 5, kB));
    EXPECT_FALSE(File().Forget(7));
    EXPECT_EQ(before, FileBytes(Path()));
    RemoveDirectoryA((Path() + ".new").c_str());
}
