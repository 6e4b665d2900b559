// The key entry points of the page codec. The keys live in the codec state
// of the database file (see CodecVfs.cpp), which the connection's mutex
// guards like the rest of the connection.
#include "PageCodec.h"

#include "CodecContext.h"
#include "CodecCrypt.h"
#include "CodecInternals.h"
#include "CodecVfs.h"
#include "SQLiteCodec.h"

namespace
{

const char kNoProvider[] = "Cryptographic provider not available";
const char kNotCodecFile[] = "the database was not opened through the page codec";
const char kInTransaction[] = "cannot change the key within a transaction";

class CConnectionLock
{
public:
    explicit CConnectionLock(sqlite3* db) : m_pMutex(sqlite3_db_mutex(db)) { sqlite3_mutex_enter(m_pMutex); }
    ~CConnectionLock() { sqlite3_mutex_leave(m_pMutex); }

private:
    sqlite3_mutex* m_pMutex;
};

// The key of a pass phrase; 0 for an empty one.
int DeriveKey(const void* passPhrase, int length, HCRYPTKEY* key, const char** error)
{
    *key = 0;
    if (passPhrase == NULL || length <= 0)
        return SQLITE_OK;
    HCRYPTPROV provider = CodecProvider();
    if (provider == 0) {
        *error = kNoProvider;
        return SQLITE_ERROR;
    }
    *key = CodecDeriveKey(provider, passPhrase, length);
    return *key != 0 ? SQLITE_OK : SQLITE_ERROR;
}

// The main database file the codec can key; null with *rc set otherwise
// (SQLITE_OK for a database that has no file, such as ":memory:").
sqlite3_file* KeyableMainFile(sqlite3* db, int* rc)
{
    sqlite3_file* file = CodecDatabaseFile(db, 0);
    if (CodecOwnsFile(file))
        return file;
    *rc = file == NULL || file->pMethods == NULL ? SQLITE_OK : SQLITE_ERROR;
    if (*rc != SQLITE_OK)
        CodecSetError(db, *rc, kNotCodecFile);
    return NULL;
}

} // namespace

int CodecKeyFile(sqlite3_file* file, int pageSize, const void* passPhrase, int length, const char** error)
{
    if (passPhrase == NULL || length <= 0)
        return SQLITE_OK;
    if (!CodecOwnsFile(file)) {
        *error = kNotCodecFile;
        return SQLITE_ERROR;
    }
    HCRYPTKEY key = 0;
    int rc = DeriveKey(passPhrase, length, &key, error);
    if (rc != SQLITE_OK)
        return rc;
    CodecSetContext(file, new CCodecContext(key, key, pageSize));
    return SQLITE_OK;
}

void CodecKeyAttached(sqlite3* db, sqlite3_file* file)
{
    if (db == NULL || CodecGetContext(file) != NULL)
        return;
    sqlite3_file* mainFile = CodecDatabaseFile(db, 0);
    if (mainFile == NULL || mainFile == file)
        return;
    CCodecContext* mainContext = CodecGetContext(mainFile);
    if (mainContext == NULL || mainContext->GetReadKey() == 0)
        return;
    // Without its copy the attached file reads as no database at all.
    HCRYPTKEY copy = 0;
    if (CryptDuplicateKey(mainContext->GetReadKey(), NULL, 0, &copy))
        CodecSetContext(file, new CCodecContext(copy, copy, 0));
}

extern "C" int WINAPI sqlite3_key_codec(sqlite3* db, const char* passPhrase, int length)
{
    if (db == NULL)
        return SQLITE_MISUSE;
    CConnectionLock lock(db);
    if (passPhrase == NULL || length <= 0)
        return SQLITE_OK;
    int rc = SQLITE_OK;
    sqlite3_file* file = KeyableMainFile(db, &rc);
    if (file == NULL)
        return rc;
    const char* error = NULL;
    rc = CodecKeyFile(file, CodecDatabasePageSize(db, 0), passPhrase, length, &error);
    if (rc != SQLITE_OK)
        CodecSetError(db, rc, error);
    return rc;
}

extern "C" int WINAPI sqlite3_rekey_codec(sqlite3* db, const char* passPhrase, int length)
{
    if (db == NULL)
        return SQLITE_MISUSE;
    CConnectionLock lock(db);
    int rc = SQLITE_OK;
    sqlite3_file* file = KeyableMainFile(db, &rc);
    if (file == NULL)
        return rc;
    if (!sqlite3_get_autocommit(db)) {
        CodecSetError(db, SQLITE_ERROR, kInTransaction);
        return SQLITE_ERROR;
    }

    HCRYPTKEY key = 0;
    const char* error = NULL;
    rc = DeriveKey(passPhrase, length, &key, &error);
    if (rc != SQLITE_OK) {
        CodecSetError(db, rc, error);
        return rc;
    }
    CCodecContext* context = CodecGetContext(file);
    if (context == NULL && key == 0)
        return SQLITE_OK;
    if (context != NULL) {
        context->SetWriteKey(key);
    } else {
        // Still plain to read; written with the new key from now on.
        context = new CCodecContext(0, key, CodecDatabasePageSize(db, 0));
        CodecSetContext(file, context);
    }

    rc = CodecRewritePages(db, 0);
    if (rc == SQLITE_OK) {
        context->KeepWriteKey();
    } else {
        // The old key first: the rollback writes the journal's pages back
        // as they were.
        context->DropWriteKey();
        CodecRollbackPages(db, 0);
        CodecSetError(db, rc, NULL);
    }
    if (context->IsKeyless())
        CodecSetContext(file, NULL);
    return rc;
}

extern "C" int sqlite3_key(sqlite3* db, const void* pKey, int nKey)
{
    return sqlite3_key_codec(db, static_cast<const char*>(pKey), nKey);
}

extern "C" int sqlite3_rekey(sqlite3* db, const void* pKey, int nKey)
{
    return sqlite3_rekey_codec(db, static_cast<const char*>(pKey), nKey);
}
