#include "CodecTestSupport.h"

#include <gtest/gtest.h>
#include <wincrypt.h>

#include <stdio.h>
#include <string.h>

#include "CodecVfs.h"

const char kMagic[] = "SQLite format 3";
const char kMarker[] = "KnownFaceSign";
const char kPassPhrase[] = "5@8#1&R!T^M?";

// ---------------------------------------------------------------- files

void WriteBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

bool Contains(const std::string& bytes, const std::string& text)
{
    return bytes.find(text) != std::string::npos;
}

// ---------------------------------------------------------------- connections

CDatabase::CDatabase(const std::string& path) : m_pDb(NULL)
{
    EXPECT_EQ(sqlite3_open(path.c_str(), &m_pDb), SQLITE_OK) << path;
}

CDatabase::~CDatabase()
{
    Close();
}

void CDatabase::Close()
{
    if (m_pDb != NULL) {
        EXPECT_EQ(sqlite3_close(m_pDb), SQLITE_OK);
        m_pDb = NULL;
    }
}

int CDatabase::Key(const std::string& passPhrase)
{
    return sqlite3_key(m_pDb, passPhrase.data(), int(passPhrase.size()));
}

int CDatabase::Rekey(const std::string& passPhrase)
{
    return sqlite3_rekey(m_pDb, passPhrase.data(), int(passPhrase.size()));
}

int CDatabase::Exec(const std::string& sql)
{
    return sqlite3_exec(m_pDb, sql.c_str(), NULL, NULL, NULL);
}

int CDatabase::Query(const std::string& sql, std::string* value)
{
    sqlite3_stmt* statement = NULL;
    int rc = sqlite3_prepare_v2(m_pDb, sql.c_str(), -1, &statement, NULL);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(statement, 0);
            *value = text != NULL ? reinterpret_cast<const char*>(text) : "";
            rc = SQLITE_OK;
        } else if (rc == SQLITE_DONE) {
            value->clear();
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(statement);
    return rc;
}

std::string CDatabase::Error() const
{
    return sqlite3_errmsg(m_pDb);
}

void FillFaces(CDatabase& db, int count, int blobSize)
{
    ASSERT_EQ(db.Exec("CREATE TABLE IF NOT EXISTS tblCustomFace('USER_ID' INTEGER PRIMARY KEY, 'FACE_SIGN'varchar(32),"
                      "'FACE_DATA' BLOB,'ACTIVITY_DATE' varchar(32));"),
              SQLITE_OK)
        << db.Error();
    ASSERT_EQ(db.Exec("BEGIN"), SQLITE_OK);
    sqlite3_stmt* insert = NULL;
    ASSERT_EQ(
        sqlite3_prepare_v2(db.Get(), "INSERT INTO tblCustomFace VALUES(?,?,?,datetime('now'))", -1, &insert, NULL),
        SQLITE_OK);
    std::string blob(blobSize, '\0');
    for (int i = 0; i < count; ++i) {
        char sign[64];
        snprintf(sign, sizeof(sign), "%s%04d", kMarker, i);
        for (int k = 0; k < blobSize; ++k)
            blob[k] = char((i * 31 + k * 7) & 0xFF);
        sqlite3_bind_int(insert, 1, i);
        sqlite3_bind_text(insert, 2, sign, -1, SQLITE_TRANSIENT);
        sqlite3_bind_blob(insert, 3, blob.data(), blobSize, SQLITE_TRANSIENT);
        ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE) << db.Error();
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ASSERT_EQ(db.Exec("COMMIT"), SQLITE_OK) << db.Error();
}

std::string IntegrityCheck(CDatabase& db)
{
    std::string result;
    int rc = db.Query("PRAGMA integrity_check(3)", &result);
    return rc == SQLITE_OK ? result : "error " + std::to_string(rc) + ": " + db.Error();
}

std::string FaceSum(CDatabase& db)
{
    std::string result;
    int rc = db.Query("SELECT count(*) || '/' || total(USER_ID) || '/' || total(length(FACE_SIGN)) FROM tblCustomFace",
                      &result);
    return rc == SQLITE_OK ? result : "error " + std::to_string(rc);
}

// ---------------------------------------------------------------- RC4

std::string Rc4(const std::string& passPhrase, const std::string& data)
{
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextA(&provider, NULL, MS_ENHANCED_PROV_A, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
        return "no provider";
    HCRYPTHASH hash = 0;
    HCRYPTKEY key = 0;
    std::string out = data;
    DWORD length = DWORD(out.size());
    bool done = CryptCreateHash(provider, CALG_SHA1, 0, 0, &hash) &&
                CryptHashData(hash, reinterpret_cast<const BYTE*>(passPhrase.data()), DWORD(passPhrase.size()), 0) &&
                CryptDeriveKey(provider, CALG_RC4, hash, 0, &key) &&
                CryptDecrypt(key, 0, TRUE, 0, reinterpret_cast<BYTE*>(&out[0]), &length);
    if (key)
        CryptDestroyKey(key);
    if (hash)
        CryptDestroyHash(hash);
    CryptReleaseContext(provider, 0);
    return done ? out : "rc4 failed";
}

// ---------------------------------------------------------------- the spy

namespace
{

CSpyVfs* g_pSpy = NULL;
sqlite3_vfs* g_pWindows = NULL;
sqlite3_vfs g_SpyVfs;

struct SpyFile
{
    sqlite3_file base;
    sqlite3_file* pReal;
    int type;
};

const int kSpyFileSize = int((sizeof(SpyFile) + 15) & ~size_t(15));

sqlite3_file* Real(sqlite3_file* file)
{
    return reinterpret_cast<SpyFile*>(file)->pReal;
}

int SpyClose(sqlite3_file* file)
{
    return Real(file)->pMethods->xClose(Real(file));
}
int SpyRead(sqlite3_file* file, void* buffer, int size, sqlite3_int64 offset)
{
    SpyFile* p = reinterpret_cast<SpyFile*>(file);
    if (g_pSpy != NULL && !g_pSpy->NoteRead(p->type))
        return SQLITE_IOERR_READ;
    return Real(file)->pMethods->xRead(Real(file), buffer, size, offset);
}
int SpyWrite(sqlite3_file* file, const void* buffer, int size, sqlite3_int64 offset)
{
    SpyFile* p = reinterpret_cast<SpyFile*>(file);
    if (g_pSpy != NULL && !g_pSpy->NoteWrite(p->type, buffer, size))
        return SQLITE_IOERR_WRITE;
    return Real(file)->pMethods->xWrite(Real(file), buffer, size, offset);
}
int SpyTruncate(sqlite3_file* file, sqlite3_int64 size)
{
    return Real(file)->pMethods->xTruncate(Real(file), size);
}
int SpySync(sqlite3_file* file, int flags)
{
    return Real(file)->pMethods->xSync(Real(file), flags);
}
int SpyFileSize(sqlite3_file* file, sqlite3_int64* size)
{
    return Real(file)->pMethods->xFileSize(Real(file), size);
}
int SpyLock(sqlite3_file* file, int level)
{
    return Real(file)->pMethods->xLock(Real(file), level);
}
int SpyUnlock(sqlite3_file* file, int level)
{
    return Real(file)->pMethods->xUnlock(Real(file), level);
}
int SpyCheckReservedLock(sqlite3_file* file, int* out)
{
    return Real(file)->pMethods->xCheckReservedLock(Real(file), out);
}
int SpyFileControl(sqlite3_file* file, int op, void* argument)
{
    return Real(file)->pMethods->xFileControl(Real(file), op, argument);
}
int SpySectorSize(sqlite3_file* file)
{
    return Real(file)->pMethods->xSectorSize(Real(file));
}
int SpyDeviceCharacteristics(sqlite3_file* file)
{
    return Real(file)->pMethods->xDeviceCharacteristics(Real(file));
}

const sqlite3_io_methods g_SpyMethods = {
    1,
    SpyClose,
    SpyRead,
    SpyWrite,
    SpyTruncate,
    SpySync,
    SpyFileSize,
    SpyLock,
    SpyUnlock,
    SpyCheckReservedLock,
    SpyFileControl,
    SpySectorSize,
    SpyDeviceCharacteristics,
};

int SpyOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    SpyFile* p = reinterpret_cast<SpyFile*>(file);
    memset(p, 0, sizeof(*p));
    p->pReal = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(p) + kSpyFileSize);
    p->type = flags & kOpenTypeMask;
    if (g_pSpy != NULL)
        g_pSpy->NoteOpen(name, flags);
    int rc = g_pWindows->xOpen(g_pWindows, name, p->pReal, flags, outFlags);
    if (rc == SQLITE_OK || p->pReal->pMethods != NULL)
        p->base.pMethods = &g_SpyMethods;
    return rc;
}

} // namespace

CSpyVfs::CSpyVfs()
{
    g_pWindows = sqlite3_vfs_find("win32");
    g_SpyVfs = *g_pWindows;
    g_SpyVfs.zName = "spy";
    g_SpyVfs.szOsFile = kSpyFileSize + g_pWindows->szOsFile;
    g_SpyVfs.xOpen = SpyOpen;
    g_SpyVfs.pNext = NULL;
    g_pSpy = this;
    EXPECT_TRUE(CodecSetBaseVfs(&g_SpyVfs));
}

CSpyVfs::~CSpyVfs()
{
    CodecSetBaseVfs(NULL);
    g_pSpy = NULL;
}

void CSpyVfs::NoteOpen(const char* name, int flags)
{
    m_Opened.push_back(OpenedFile{name != NULL ? name : "", flags & kOpenTypeMask});
}

bool CSpyVfs::NoteWrite(int type, const void* data, int size)
{
    if (m_WriteFault.Hit(type))
        return false;
    m_Writes.push_back(Write{type, std::string(static_cast<const char*>(data), size)});
    return true;
}

std::string CSpyVfs::Written(int type) const
{
    std::string bytes;
    for (const Write& write : m_Writes)
        if (type == 0 || write.type == type)
            bytes += write.bytes;
    return bytes;
}

void CSpyVfs::Fault::Arm(int fileType, int n, bool always)
{
    type = n > 0 ? fileType : 0;
    countdown = n;
    after = always;
    failing = false;
}

bool CSpyVfs::Fault::Hit(int fileType)
{
    if (type == 0 || fileType != type)
        return false;
    if (!failing && --countdown != 0)
        return false;
    failing = after;
    if (!after)
        type = 0;
    ++failed;
    return true;
}
