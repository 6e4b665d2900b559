// The custom-face cache on a keyed database file in a temporary folder.
#include <gtest/gtest.h>

#include "MemoryCanvas.h"

#include <afxwin.h>

#include <string>
#include <vector>

#include "ICustomFaceRes.h"
#include "ModuleTestSupport.h"
#include "Picture.h"
#include "SQLiteCodec.h"

namespace
{

const char kPassPhrase[] = "5@8#1&R!T^M?";
const COLORREF kFaceWhite = RGB(255, 255, 255);
const COLORREF kGreen = RGB(0, 200, 0);
const COLORREF kBlue = RGB(0, 0, 200);

// A face picture of one colour in the picture class's dump form.
std::vector<BYTE> FaceDump(COLORREF colour, int side = 8)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    DWORD pixel = 0xFF000000 | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < side * side; ++i)
        static_cast<DWORD*>(bits)[i] = pixel;
    CPicture picture;
    picture.CreateFromHBITMAP(bitmap);
    DeleteObject(bitmap);
    std::vector<BYTE> dump(picture.DumpSize());
    EXPECT_EQ(picture.Dump(dump.data(), DWORD(dump.size())), dump.size());
    return dump;
}

// A second connection on the cache's file, keyed as the cache keys it.
class CRawDatabase
{
public:
    explicit CRawDatabase(const std::string& path) : m_pDb(NULL)
    {
        EXPECT_EQ(sqlite3_open(path.c_str(), &m_pDb), SQLITE_OK);
        EXPECT_EQ(sqlite3_key(m_pDb, kPassPhrase, 12), SQLITE_OK);
    }
    ~CRawDatabase() { EXPECT_EQ(sqlite3_close(m_pDb), SQLITE_OK); }

    int Exec(const std::string& sql) { return sqlite3_exec(m_pDb, sql.c_str(), NULL, NULL, NULL); }
    // Every value of the query's first column, joined by commas.
    std::string Column(const std::string& sql)
    {
        std::string out;
        sqlite3_stmt* statement = NULL;
        if (sqlite3_prepare_v2(m_pDb, sql.c_str(), -1, &statement, NULL) != SQLITE_OK)
            return std::string("error: ") + sqlite3_errmsg(m_pDb);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(statement, 0);
            out += (out.empty() ? "" : ",") + std::string(text != NULL ? reinterpret_cast<const char*>(text) : "");
        }
        sqlite3_finalize(statement);
        return out;
    }
    std::vector<BYTE> Blob(DWORD userId)
    {
        std::vector<BYTE> out;
        sqlite3_stmt* statement = NULL;
        std::string sql = "SELECT FACE_DATA FROM tblCustomFace WHERE USER_ID = " + std::to_string(userId);
        if (sqlite3_prepare_v2(m_pDb, sql.c_str(), -1, &statement, NULL) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW) {
            const BYTE* data = static_cast<const BYTE*>(sqlite3_column_blob(statement, 0));
            out.assign(data, data + sqlite3_column_bytes(statement, 0));
        }
        sqlite3_finalize(statement);
        return out;
    }

private:
    sqlite3* m_pDb;
};

class CustomFaceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_folder.File("CUSTOM_FACE_FILE.db");
        m_faces = NewCache();
        ASSERT_TRUE(m_faces);
    }

    ModulePtr<ICustomFaceRes> NewCache() { return CreateModule<ICustomFaceRes>(CLSID_CustomFace, IID_ICustomFaceRes); }
    // A cache opened on the test's file.
    ModulePtr<ICustomFaceRes> OpenCache()
    {
        ModulePtr<ICustomFaceRes> cache = NewCache();
        EXPECT_TRUE(cache->OpenDatabase(m_path.c_str()));
        return cache;
    }

    CTempFolder m_folder;
    std::string m_path;
    ModulePtr<ICustomFaceRes> m_faces;
};

TEST_F(CustomFaceTest, ClosedCacheAnswersEmpty)
{
    const std::vector<BYTE> dump = FaceDump(kGreen);
    BYTE buffer[1024];
    CMemoryCanvas canvas(40, 40, kFaceWhite);
    RECT rect = {0, 0, 10, 10};
    EXPECT_FALSE(m_faces->OpenDatabase(NULL));
    EXPECT_FALSE(m_faces->HasFace(1));
    EXPECT_EQ(m_faces->GetFaceCount(), 0);
    EXPECT_EQ(m_faces->GetFaceUserIdAt(0), 0u);
    EXPECT_FALSE(m_faces->DrawFace(1, canvas.DC(), 0, 0));
    EXPECT_FALSE(m_faces->DrawFaceInRect(1, canvas.DC(), &rect));
    EXPECT_EQ(m_faces->GetFaceItem(1), nullptr);
    EXPECT_EQ(m_faces->GetFaceData(1, buffer, sizeof(buffer)), 0u);
    EXPECT_EQ(m_faces->GetFaceImage(1), nullptr);
    EXPECT_FALSE(m_faces->PutFace(1, "sign", dump.data(), UINT(dump.size())));
    EXPECT_EQ(m_faces->LoadFace(1), nullptr);
    EXPECT_NE(m_faces->DeleteFace(1), 0);
}

TEST_F(CustomFaceTest, NewFileIsKeyedAndReopensWithItsTable)
{
    const std::vector<BYTE> dump = FaceDump(kGreen);
    ASSERT_TRUE(m_faces->OpenDatabase(m_path.c_str()));
    ASSERT_TRUE(m_faces->PutFace(7, "0123456789abcdef0123456789abcdef", dump.data(), UINT(dump.size())));
    m_faces.reset();

    std::string bytes;
    {
        FILE* file = fopen(m_path.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        char chunk[4096];
        size_t n;
        while ((n = fread(chunk, 1, sizeof(chunk), file)) > 0)
            bytes.append(chunk, n);
        fclose(file);
    }
    EXPECT_EQ(bytes.find("SQLite format 3"), std::string::npos);
    EXPECT_EQ(bytes.find("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(bytes.find("tblCustomFace"), std::string::npos);

    sqlite3* unkeyed = NULL;
    ASSERT_EQ(sqlite3_open(m_path.c_str(), &unkeyed), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(unkeyed, "SELECT * FROM sqlite_master", NULL, NULL, NULL), SQLITE_NOTADB);
    sqlite3_close(unkeyed);
    {
        CRawDatabase raw(m_path);
        EXPECT_EQ(raw.Column("SELECT name || ' ' || type FROM pragma_table_info('tblCustomFace')"),
                  "USER_ID INTEGER,FACE_SIGN varchar(32),FACE_DATA BLOB,ACTIVITY_DATE varchar(32)");
    }

    ModulePtr<ICustomFaceRes> reopened = OpenCache();
    EXPECT_EQ(reopened->GetFaceCount(), 1);
    EXPECT_TRUE(reopened->HasFace(7));
}

TEST_F(CustomFaceTest, PutFaceKeepsItemAndRowWithTheSignCutTo32Characters)
{
    const std::vector<BYTE> dump = FaceDump(kGreen, 12);
    ASSERT_TRUE(m_faces->OpenDatabase(m_path.c_str()));
    const std::string sign = "0123456789abcdef0123456789abcdefTAIL";
    ASSERT_TRUE(m_faces->PutFace(7, sign.c_str(), dump.data(), UINT(dump.size())));

    tagCustomFaceItem* item = m_faces->GetFaceItem(7);
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(item->szSign, sign.substr(0, 32).c_str());
    ASSERT_NE(m_faces->GetFaceImage(7), nullptr);
    EXPECT_EQ(m_faces->GetFaceImage(7)->GetWidth(), 12u);

    std::vector<BYTE> buffer(dump.size());
    EXPECT_EQ(m_faces->GetFaceData(7, buffer.data(), UINT(buffer.size() - 1)), 0u);
    ASSERT_EQ(m_faces->GetFaceData(7, buffer.data(), UINT(buffer.size())), dump.size());
    EXPECT_EQ(buffer, dump);

    CRawDatabase raw(m_path);
    EXPECT_EQ(raw.Column("SELECT FACE_SIGN FROM tblCustomFace WHERE USER_ID = 7"), sign.substr(0, 32));
    EXPECT_EQ(raw.Blob(7), dump);
    EXPECT_EQ(raw.Column("SELECT ACTIVITY_DATE > datetime('now', '-1 minute') FROM tblCustomFace"), "1");
}

// The old face stays, in memory and in the file, when the new dump is no picture.
TEST_F(CustomFaceTest, DumpThatIsNoPictureLeavesMapAndRowUntouched)
{
    const std::vector<BYTE> good = FaceDump(kGreen);
    std::vector<BYTE> truncated = FaceDump(kBlue);
    truncated.pop_back();
    const std::vector<BYTE> garbage(200, 0x5A);
    ASSERT_TRUE(m_faces->OpenDatabase(m_path.c_str()));
    ASSERT_TRUE(m_faces->PutFace(7, "old", good.data(), UINT(good.size())));
    tagCustomFaceItem* item = m_faces->GetFaceItem(7);
    ASSERT_NE(item, nullptr);
    CPicture* picture = item->pPicture;

    const std::vector<BYTE>* bads[] = {&truncated, &garbage};
    for (const std::vector<BYTE>* bad : bads) {
        EXPECT_FALSE(m_faces->PutFace(7, "new", bad->data(), UINT(bad->size())));
        EXPECT_EQ(m_faces->GetFaceItem(7), item);
        EXPECT_EQ(item->pPicture, picture);
        EXPECT_STREQ(item->szSign, "old");
    }
    EXPECT_FALSE(m_faces->PutFace(8, "new", garbage.data(), UINT(garbage.size())));
    EXPECT_FALSE(m_faces->HasFace(8));

    CRawDatabase raw(m_path);
    EXPECT_EQ(raw.Column("SELECT USER_ID || ' ' || FACE_SIGN FROM tblCustomFace"), "7 old");
    EXPECT_EQ(raw.Blob(7), good);
}

// A row that cannot be written leaves the stored face, in the file and in memory.
TEST_F(CustomFaceTest, FailedInsertKeepsTheOldFace)
{
    const std::vector<BYTE> good = FaceDump(kGreen);
    const std::vector<BYTE> other = FaceDump(kBlue);
    ASSERT_TRUE(m_faces->OpenDatabase(m_path.c_str()));
    ASSERT_TRUE(m_faces->PutFace(7, "old", good.data(), UINT(good.size())));
    {
        CRawDatabase raw(m_path);
        ASSERT_EQ(raw.Exec("CREATE TRIGGER refuse BEFORE INSERT ON tblCustomFace WHEN NEW.FACE_SIGN = 'new' "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END;"),
                  SQLITE_OK);
    }
    EXPECT_FALSE(m_faces->PutFace(7, "new", other.data(), UINT(other.size())));
    tagCustomFaceItem* item = m_faces->GetFaceItem(7);
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(item->szSign, "old");

    CRawDatabase raw(m_path);
    EXPECT_EQ(raw.Column("SELECT USER_ID || ' ' || FACE_SIGN FROM tblCustomFace"), "7 old");
    EXPECT_EQ(raw.Blob(7), good);
    // The next store goes through: no transaction was left open.
    EXPECT_TRUE(m_faces->PutFace(7, "next", other.data(), UINT(other.size())));
}

TEST_F(CustomFaceTest, FaceOnlyInTheFileIsFoundLoadedAndDrawn)
{
    const std::vector<BYTE> dump = FaceDump(kGreen);
    ASSERT_TRUE(m_faces->OpenDatabase(m_path.c_str()));
    ASSERT_TRUE(m_faces->PutFace(7, "seven", dump.data(), UINT(dump.size())));
    m_faces = OpenCache();

    EXPECT_TRUE(m_faces->HasFace(7));
    EXPECT_FALSE(m_faces->HasFace(8));
    CMemoryCanvas canvas(40, 40, kFaceWhite);
    ASSERT_TRUE(m_faces->DrawFace(7, canvas.DC(), 2, 2));
    EXPECT_EQ(canvas.At(5, 5), kGreen);
    EXPECT_EQ(canvas.At(12, 12), kFaceWhite); // natural size: 8 x 8
    RECT rect = {20, 20, 36, 36};
    ASSERT_TRUE(m_faces->DrawFaceInRect(7, canvas.DC(), &rect));
    EXPECT_EQ(canvas.At(34, 34), kGreen);
    EXPECT_FALSE(m_faces->DrawFace(8, canvas.DC(), 0, 0));
    ASSERT_NE(m_faces->GetFaceItem(7), nullptr);
    EXPECT_STREQ(m_faces->GetFaceItem(7)->szSign, "seven");

    ModulePtr<ICustomFaceRes> other = OpenCache();
    tagCustomFaceItem* loaded = other->LoadFace(7);
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->szSign, "seven");
    EXPECT_EQ(other->LoadFace(8), nullptr);
}

// User ids are unsigned 32-bit values, also above 2^31.
TEST_F(CustomFaceTest, UserIdsComeInAscendingOrderAlsoAboveTwoToThe31)
{
    const std::vector<BYTE> dump = FaceDump(kGreen);
    ASSERT_TRUE(m_faces->OpenDatabase(m_path.c_str()));
    for (DWORD userId : {3000000000u, 5u, 70u})
        ASSERT_TRUE(m_faces->PutFace(userId, "s", dump.data(), UINT(dump.size())));
    EXPECT_EQ(m_faces->GetFaceCount(), 3);
    EXPECT_EQ(m_faces->GetFaceUserIdAt(0), 5u);
    EXPECT_EQ(m_faces->GetFaceUserIdAt(1), 70u);
    EXPECT_EQ(m_faces->GetFaceUserIdAt(2), 3000000000u);
    EXPECT_EQ(m_faces->GetFaceUserIdAt(3), 0u);
    EXPECT_EQ(m_faces->GetFaceUserIdAt(-1), 0u);

    m_faces = OpenCache();
    EXPECT_TRUE(m_faces->HasFace(3000000000u));
    EXPECT_NE(m_faces->GetFaceItem(3000000000u), nullptr);
    EXPECT_EQ(m_faces->DeleteFace(3000000000u), 0);
    EXPECT_FALSE(m_faces->HasFace(3000000000u));
    EXPECT_EQ(m_faces->GetFaceItem(3000000000u), nullptr);
    EXPECT_EQ(m_faces->GetFaceCount(), 2);
}

// Faces neither stored nor loaded for 30 days leave the file when the last
// reference goes.
TEST_F(CustomFaceTest, FacesIdleFor30DaysArePurgedAtClose)
{
    const std::vector<BYTE> dump = FaceDump(kGreen);
    ASSERT_TRUE(m_faces->OpenDatabase(m_path.c_str()));
    for (DWORD userId : {1u, 2u, 3u, 4u})
        ASSERT_TRUE(m_faces->PutFace(userId, "s", dump.data(), UINT(dump.size())));
    m_faces.reset();
    {
        CRawDatabase raw(m_path);
        ASSERT_EQ(
            raw.Exec("UPDATE tblCustomFace SET ACTIVITY_DATE = datetime('now', '-31 day') WHERE USER_ID IN (1, 3);"
                     "UPDATE tblCustomFace SET ACTIVITY_DATE = datetime('now', '-29 day') WHERE USER_ID = 2;"),
            SQLITE_OK);
    }
    m_faces = OpenCache();
    ASSERT_NE(m_faces->LoadFace(3), nullptr); // loading keeps a face alive
    EXPECT_EQ(m_faces->GetFaceCount(), 4);
    m_faces.reset();

    CRawDatabase raw(m_path);
    EXPECT_EQ(raw.Column("SELECT USER_ID FROM tblCustomFace ORDER BY USER_ID"), "2,3,4");
}

// A stored row that does not decode counts as absent, and the failed load
// leaves nothing behind that would keep the file open.
TEST_F(CustomFaceTest, RowThatDoesNotDecodeIsAbsentAndTheFileStillCloses)
{
    ASSERT_TRUE(m_faces->OpenDatabase(m_path.c_str()));
    {
        CRawDatabase raw(m_path);
        ASSERT_EQ(raw.Exec("INSERT INTO tblCustomFace VALUES(9, 'bad', x'0102', datetime('now'));"
                           "INSERT INTO tblCustomFace VALUES(10, 'empty', x'', datetime('now'));"),
                  SQLITE_OK);
    }
    CMemoryCanvas canvas(40, 40, kFaceWhite);
    for (DWORD userId : {9u, 10u, 11u}) {
        EXPECT_EQ(m_faces->GetFaceItem(userId), nullptr);
        EXPECT_FALSE(m_faces->DrawFace(userId, canvas.DC(), 0, 0));
        EXPECT_EQ(m_faces->LoadFace(userId), nullptr);
    }
    EXPECT_TRUE(m_faces->HasFace(9));
    m_faces.reset();
    EXPECT_TRUE(DeleteFileA(m_path.c_str())) << GetLastError();
}

TEST_F(CustomFaceTest, SecondOpenDatabaseClosesTheFirst)
{
    const std::vector<BYTE> dump = FaceDump(kGreen);
    const std::string second = m_folder.File("second.db");
    ASSERT_TRUE(m_faces->OpenDatabase(m_path.c_str()));
    ASSERT_TRUE(m_faces->PutFace(7, "s", dump.data(), UINT(dump.size())));
    ASSERT_TRUE(m_faces->OpenDatabase(second.c_str()));

    EXPECT_EQ(m_faces->GetFaceItem(7), nullptr); // the cache now holds the second file's faces
    EXPECT_EQ(m_faces->GetFaceCount(), 0);
    EXPECT_TRUE(DeleteFileA(m_path.c_str())) << GetLastError();
    EXPECT_TRUE(m_faces->PutFace(8, "s", dump.data(), UINT(dump.size())));
    EXPECT_EQ(m_faces->GetFaceUserIdAt(0), 8u);
}

} // namespace
