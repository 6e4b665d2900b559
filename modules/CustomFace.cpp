#include "CustomFace.h"

#include <stdlib.h>
#include <string.h>

#include <afxwin.h>

#include "Picture.h"
#include "SQLiteCodec.h"
#include "SQLiteHandles.h"
#include "TextUnit.h"

namespace
{

// The cache's pass phrase; the page keys are derived from it at run time.
const char kPassPhrase[] = "5@8#1&R!T^M?";
const int kPassPhraseLength = sizeof(kPassPhrase) - 1;

const char kTable[] = "tblCustomFace";
const char kUserId[] = "USER_ID";
const char kFaceSign[] = "FACE_SIGN";
const char kFaceData[] = "FACE_DATA";
const char kActivityDate[] = "ACTIVITY_DATE";

// Rows of a table query; -1 when it fails.
int CountRows(sqlite3* db, const char* sql)
{
    if (sql == NULL)
        return -1;
    char** table = NULL;
    int rows = 0;
    int columns = 0;
    int rc = sqlite3_get_table(db, sql, &table, &rows, &columns, NULL);
    sqlite3_free_table(table);
    return rc == SQLITE_OK ? rows : -1;
}

void CopySign(char (&target)[33], const char* sign)
{
    TextCopyField(target, sign);
}

} // namespace

CCustomFace::CCustomFace() : m_pDatabase(NULL) {}

CCustomFace::~CCustomFace()
{
    CloseDatabase();
}

HRESULT CCustomFace::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_ICustomFaceRes) || IsEqualGUID(iid, IID_IUnknownEx))
        return Answer(static_cast<ICustomFaceRes*>(this), out);
    *out = NULL;
    return E_NOINTERFACE;
}

void CCustomFace::CloseDatabase()
{
    if (m_pDatabase != NULL) {
        SqlExecute(m_pDatabase, CSqlText(sqlite3_mprintf("DELETE FROM %q WHERE %q < datetime('now','-30 day')", kTable,
                                                         kActivityDate)));
        sqlite3_close(m_pDatabase);
        m_pDatabase = NULL;
        m_strPath.Empty();
    }
    RemoveAllItems();
}

bool CCustomFace::OpenDatabase(const char* path)
{
    if (path == NULL)
        return false;
    // One connection at a time: a second open gives up the first.
    CloseDatabase();

    // An empty name would open a temporary database instead.
    std::string utf8;
    if (!TextToUtf8(path, utf8) || utf8.empty())
        return false;
    sqlite3* db = NULL;
    if (sqlite3_open(utf8.c_str(), &db) != SQLITE_OK || db == NULL) {
        sqlite3_close(db);
        return false;
    }
    // Without its key the table would be written plain.
    if (sqlite3_key_codec(db, kPassPhrase, kPassPhraseLength) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    int tables = CountRows(
        db, CSqlText(sqlite3_mprintf("SELECT * FROM sqlite_master WHERE type = 'table' AND name = '%q';", kTable)));
    if (tables < 0) {
        sqlite3_close(db);
        return false;
    }
    if (tables == 0) {
        CSqlText create(
            sqlite3_mprintf("CREATE TABLE %q('%q' INTEGER PRIMARY KEY, '%q'varchar(32),'%q' BLOB,'%q' varchar(32));",
                            kTable, kUserId, kFaceSign, kFaceData, kActivityDate));
        if (SqlExecute(db, create) != SQLITE_OK) {
            sqlite3_close(db);
            return false;
        }
        sqlite3_rekey_codec(db, kPassPhrase, kPassPhraseLength);
    }
    m_pDatabase = db;
    m_strPath = utf8.c_str();
    RemoveAllItems();
    return true;
}

bool CCustomFace::HasFace(DWORD userId)
{
    if (m_pDatabase == NULL)
        return false;
    tagCustomFaceItem* item = NULL;
    if (m_FaceMap.Lookup(userId, item))
        return true;
    return CountRows(m_pDatabase, CSqlText(sqlite3_mprintf("SELECT * FROM %q WHERE %q = %u;", kTable, kUserId,
                                                           unsigned(userId)))) > 0;
}

int CCustomFace::GetFaceCount()
{
    if (m_pDatabase == NULL)
        return 0;
    int rows = CountRows(m_pDatabase, CSqlText(sqlite3_mprintf("SELECT %q  FROM %q ;", kUserId, kTable)));
    return rows > 0 ? rows : 0;
}

DWORD CCustomFace::GetFaceUserIdAt(int index)
{
    // A negative limit would mean no limit at all, and a limit past the
    // last row would still give the last one.
    if (m_pDatabase == NULL || index < 0 || index >= GetFaceCount())
        return 0;
    CSqlText inner(sqlite3_mprintf("SELECT %q  FROM %q ORDER BY %q ASC LIMIT %lld", kUserId, kTable, kUserId,
                                   sqlite3_int64(index) + 1));
    if (inner == NULL)
        return 0;
    CSqlText sql(sqlite3_mprintf("SELECT %q  FROM %q WHERE %q IN (%q) ORDER BY %q DESC LIMIT 1;", kUserId, kTable,
                                 kUserId, static_cast<const char*>(inner), kUserId));
    if (sql == NULL)
        return 0;
    char** table = NULL;
    int rows = 0;
    int columns = 0;
    DWORD userId = 0;
    if (sqlite3_get_table(m_pDatabase, sql, &table, &rows, &columns, NULL) == SQLITE_OK && rows > 0 && columns > 0 &&
        table[columns] != NULL)
        userId = DWORD(strtoul(table[columns], NULL, 10));
    sqlite3_free_table(table);
    return userId;
}

bool CCustomFace::DrawFace(DWORD userId, CDC* pDC, int x, int y)
{
    tagCustomFaceItem* item = GetFaceItem(userId);
    if (item == NULL || pDC == NULL)
        return false;
    return item->pPicture->Draw(pDC->GetSafeHdc(), x, y);
}

bool CCustomFace::DrawFaceInRect(DWORD userId, CDC* pDC, const RECT* rect)
{
    tagCustomFaceItem* item = GetFaceItem(userId);
    if (item == NULL || pDC == NULL || rect == NULL)
        return false;
    return item->pPicture->Draw(pDC->GetSafeHdc(), rect->left, rect->top, rect->right - rect->left,
                                rect->bottom - rect->top);
}

tagCustomFaceItem* CCustomFace::GetFaceItem(DWORD userId)
{
    return m_pDatabase != NULL ? Lookup(userId) : NULL;
}

UINT CCustomFace::GetFaceData(DWORD userId, BYTE* buffer, UINT size)
{
    tagCustomFaceItem* item = GetFaceItem(userId);
    if (item == NULL || buffer == NULL)
        return 0;
    DWORD dumpSize = item->pPicture->DumpSize();
    if (dumpSize == 0 || dumpSize > size)
        return 0;
    return item->pPicture->Dump(buffer, size);
}

CPicture* CCustomFace::GetFaceImage(DWORD userId)
{
    tagCustomFaceItem* item = GetFaceItem(userId);
    return item != NULL ? item->pPicture : NULL;
}

bool CCustomFace::PutFace(DWORD userId, const char* sign, const BYTE* dump, UINT size)
{
    if (m_pDatabase == NULL || dump == NULL || size == 0)
        return false;
    // Decoded before anything changes: a dump that is no picture leaves the
    // cached face and its row as they were.
    CPicture* picture = new CPicture;
    if (!picture->UnDump(dump, size) || !picture->IsValid()) {
        delete picture;
        return false;
    }
    char szSign[33];
    CopySign(szSign, sign);

    // The old row goes only together with the new one arriving, and memory
    // shows the new face only once the file holds it.
    if (!StoreRow(userId, szSign, dump, size)) {
        delete picture;
        return false;
    }
    SetItem(userId, szSign, picture);
    return true;
}

bool CCustomFace::StoreRow(DWORD userId, const char* sign, const BYTE* dump, UINT size)
{
    if (SqlExecute(m_pDatabase, "BEGIN IMMEDIATE;") != SQLITE_OK)
        return false;
    bool stored = false;
    {
        CStatement insert;
        stored =
            SqlExecute(m_pDatabase, CSqlText(sqlite3_mprintf("DELETE FROM %q WHERE %q = %u;", kTable, kUserId,
                                                             unsigned(userId)))) == SQLITE_OK &&
            insert.Prepare(m_pDatabase, CSqlText(sqlite3_mprintf("INSERT INTO %q VALUES(%u,'%q',?,datetime('now'));",
                                                                 kTable, unsigned(userId), sign))) &&
            sqlite3_bind_blob(insert, 1, dump, int(size), SQLITE_STATIC) == SQLITE_OK &&
            sqlite3_step(insert) == SQLITE_DONE;
    }
    if (stored && SqlExecute(m_pDatabase, "COMMIT;") == SQLITE_OK)
        return true;
    SqlExecute(m_pDatabase, "ROLLBACK;");
    return false;
}

tagCustomFaceItem* CCustomFace::LoadFace(DWORD userId)
{
    if (HasFace(userId) && LoadRow(userId))
        return Lookup(userId);
    return NULL;
}

int CCustomFace::DeleteFace(DWORD userId)
{
    RemoveItem(userId);
    if (m_pDatabase == NULL)
        return SQLITE_MISUSE;
    return SqlExecute(m_pDatabase,
                      CSqlText(sqlite3_mprintf("DELETE FROM %q WHERE %q = %u;", kTable, kUserId, unsigned(userId))));
}

tagCustomFaceItem* CCustomFace::Lookup(DWORD userId)
{
    tagCustomFaceItem* item = NULL;
    if (!m_FaceMap.Lookup(userId, item)) {
        if (!LoadRow(userId) || !m_FaceMap.Lookup(userId, item))
            return NULL;
    }
    return item != NULL && item->pPicture != NULL && item->pPicture->IsValid() ? item : NULL;
}

bool CCustomFace::LoadRow(DWORD userId)
{
    if (m_pDatabase == NULL)
        return false;
    CStatement select;
    if (!select.Prepare(m_pDatabase, CSqlText(sqlite3_mprintf("SELECT * FROM %q WHERE %q = %u;", kTable, kUserId,
                                                              unsigned(userId)))))
        return false;
    if (sqlite3_step(select) != SQLITE_ROW)
        return false;
    char szSign[33];
    CopySign(szSign, reinterpret_cast<const char*>(sqlite3_column_text(select, 1)));
    const BYTE* data = static_cast<const BYTE*>(sqlite3_column_blob(select, 2));
    int size = sqlite3_column_bytes(select, 2);
    if (data == NULL || size <= 0)
        return false;
    CPicture* picture = new CPicture;
    if (!picture->UnDump(data, DWORD(size)) || !picture->IsValid()) {
        delete picture;
        return false;
    }
    select.Finalize();

    SqlExecute(m_pDatabase, CSqlText(sqlite3_mprintf("UPDATE %q SET %q = datetime('now') WHERE %q = %u;", kTable,
                                                     kActivityDate, kUserId, unsigned(userId))));
    SetItem(userId, szSign, picture);
    return true;
}

void CCustomFace::SetItem(DWORD userId, const char* sign, CPicture* picture)
{
    // The item stays where it is, so pointers callers hold keep pointing at it.
    tagCustomFaceItem* item = NULL;
    if (!m_FaceMap.Lookup(userId, item) || item == NULL) {
        item = new tagCustomFaceItem;
        item->pPicture = NULL;
        m_FaceMap.SetAt(userId, item);
    }
    CopySign(item->szSign, sign);
    if (item->pPicture != picture)
        delete item->pPicture;
    item->pPicture = picture;
}

void CCustomFace::RemoveItem(DWORD userId)
{
    tagCustomFaceItem* item = NULL;
    if (m_FaceMap.Lookup(userId, item)) {
        m_FaceMap.RemoveKey(userId);
        if (item != NULL)
            delete item->pPicture;
        delete item;
    }
}

void CCustomFace::RemoveAllItems()
{
    POSITION position = m_FaceMap.GetStartPosition();
    while (position != NULL) {
        DWORD userId = 0;
        tagCustomFaceItem* item = NULL;
        m_FaceMap.GetNextAssoc(position, userId, item);
        if (item != NULL)
            delete item->pPicture;
        delete item;
    }
    m_FaceMap.RemoveAll();
}
