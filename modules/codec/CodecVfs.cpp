#include "CodecVfs.h"

#include <string.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "CodecContext.h"
#include "CodecInternals.h"
#include "PageCodec.h"

namespace
{

enum FileKind
{
    kOtherFile,
    kDatabaseFile,
    kJournalFile
};

// Room kept per file for a base file system that a test puts in between.
const int kBaseFileReserve = 512;

const char kWalRefused[] = "WAL journal mode is not available on a keyed database";

struct CodecFile
{
    sqlite3_file base;   // first: SQLite sees this part
    sqlite3_file* pReal; // the base file system's file, behind this one
    FileKind kind;
    const char* zName;       // database files: the pager's name, to which its journal's name leads back
    CCodecContext* pContext; // database files: null while plain
    CodecFile* pDatabase;    // journals: the database file they belong to
    // Journals: the checksum word after the last page image read or written
    // and what encryption added to it.
    sqlite3_int64 iChecksumOffset;
    DWORD dwChecksumDelta;
    bool bChecksumPending;
};

const int kCodecFileSize = int((sizeof(CodecFile) + 15) & ~size_t(15));

sqlite3_vfs g_CodecVfs;
sqlite3_vfs* g_pWindowsVfs = NULL;
sqlite3_vfs* g_pBaseVfs = NULL;

std::mutex g_FilesLock;
std::vector<CodecFile*> g_DatabaseFiles; // open database files, for their journals to find

extern const sqlite3_io_methods g_CodecMethods;

CodecFile* AsCodecFile(sqlite3_file* file)
{
    return reinterpret_cast<CodecFile*>(file);
}

sqlite3_vfs* BaseVfs()
{
    std::lock_guard<std::mutex> lock(g_FilesLock);
    return g_pBaseVfs;
}

DWORD ReadBigEndian(const void* bytes)
{
    const BYTE* b = static_cast<const BYTE*>(bytes);
    return (DWORD(b[0]) << 24) | (DWORD(b[1]) << 16) | (DWORD(b[2]) << 8) | DWORD(b[3]);
}

void WriteBigEndian(void* bytes, DWORD value)
{
    BYTE* b = static_cast<BYTE*>(bytes);
    b[0] = BYTE(value >> 24);
    b[1] = BYTE(value >> 16);
    b[2] = BYTE(value >> 8);
    b[3] = BYTE(value);
}

// ---------------------------------------------------------------- journals

CCodecContext* JournalContext(CodecFile* p)
{
    CCodecContext* context = p->pDatabase != NULL ? p->pDatabase->pContext : NULL;
    return context != NULL && context->GetReadKey() != 0 ? context : NULL;
}

// A journal record is the page number (4 bytes), the page image and a
// checksum (4 bytes), after a header whose size is a multiple of 512; SQLite
// reads and writes the image in one piece. The super-journal name, the one
// other piece that can follow a 4-byte word, follows the lock-byte page's
// number instead of a page number.
bool IsPageImage(CodecFile* p, CCodecContext* context, int size, sqlite3_int64 offset)
{
    if (!CCodecContext::IsPageSize(size) || offset < 8 || offset % 8 != 4)
        return false;
    BYTE word[4];
    if (p->pReal->pMethods->xRead(p->pReal, word, sizeof(word), offset - 4) != SQLITE_OK)
        return false;
    const DWORD pageNumber = ReadBigEndian(word);
    const DWORD lockByte = 0x40000000;
    if (pageNumber == 0 || pageNumber == lockByte / DWORD(size) + 1)
        return false;
    return context->GetPageSize() == 0 || pageNumber != lockByte / DWORD(context->GetPageSize()) + 1;
}

int JournalRead(CodecFile* p, void* buffer, int size, sqlite3_int64 offset)
{
    int rc = p->pReal->pMethods->xRead(p->pReal, buffer, size, offset);
    CCodecContext* context = JournalContext(p);
    if (rc != SQLITE_OK || context == NULL) {
        p->bChecksumPending = false;
        return rc;
    }
    if (IsPageImage(p, context, size, offset)) {
        DWORD delta = 0;
        if (!context->DecryptJournalPage(static_cast<BYTE*>(buffer), DWORD(size), &delta))
            return SQLITE_IOERR_READ;
        p->bChecksumPending = true;
        p->iChecksumOffset = offset + size;
        p->dwChecksumDelta = delta;
    } else if (size == 4 && p->bChecksumPending && offset == p->iChecksumOffset) {
        // SQLite checks the plain page against it.
        WriteBigEndian(buffer, ReadBigEndian(buffer) - p->dwChecksumDelta);
        p->bChecksumPending = false;
    }
    return rc;
}

int JournalWrite(CodecFile* p, const void* buffer, int size, sqlite3_int64 offset)
{
    CCodecContext* context = JournalContext(p);
    if (context == NULL) {
        p->bChecksumPending = false;
        return p->pReal->pMethods->xWrite(p->pReal, buffer, size, offset);
    }
    if (IsPageImage(p, context, size, offset)) {
        DWORD delta = 0;
        const BYTE* image = context->EncryptJournalPage(static_cast<const BYTE*>(buffer), DWORD(size), &delta);
        if (image == NULL)
            return SQLITE_IOERR_WRITE;
        int rc = p->pReal->pMethods->xWrite(p->pReal, image, size, offset);
        p->bChecksumPending = rc == SQLITE_OK;
        p->iChecksumOffset = offset + size;
        p->dwChecksumDelta = delta;
        return rc;
    }
    if (size == 4 && p->bChecksumPending && offset == p->iChecksumOffset) {
        // The journal keeps the checksum of the page as it stands there, so
        // that a rollback checks out whoever plays it back.
        BYTE word[4];
        WriteBigEndian(word, ReadBigEndian(buffer) + p->dwChecksumDelta);
        p->bChecksumPending = false;
        return p->pReal->pMethods->xWrite(p->pReal, word, sizeof(word), offset);
    }
    return p->pReal->pMethods->xWrite(p->pReal, buffer, size, offset);
}

// ---------------------------------------------------------------- database files

int DatabaseRead(CodecFile* p, void* buffer, int size, sqlite3_int64 offset)
{
    int rc = p->pReal->pMethods->xRead(p->pReal, buffer, size, offset);
    CCodecContext* context = p->pContext;
    if ((rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ) || context == NULL || context->GetReadKey() == 0)
        return rc;
    sqlite3_int64 available = size;
    if (rc == SQLITE_IOERR_SHORT_READ) {
        // Only what the file held: the rest stays zero, as SQLite expects.
        sqlite3_int64 fileSize = 0;
        if (p->pReal->pMethods->xFileSize(p->pReal, &fileSize) != SQLITE_OK)
            return SQLITE_IOERR_READ;
        available = std::max<sqlite3_int64>(0, std::min<sqlite3_int64>(size, fileSize - offset));
    }
    if (available > 0 && !context->DecryptFileData(static_cast<BYTE*>(buffer), DWORD(available), offset))
        return SQLITE_IOERR_READ;
    return rc;
}

int DatabaseWrite(CodecFile* p, const void* buffer, int size, sqlite3_int64 offset)
{
    if (p->pContext != NULL) {
        buffer = p->pContext->EncryptFileData(static_cast<const BYTE*>(buffer), DWORD(size), offset);
        if (buffer == NULL)
            return SQLITE_IOERR_WRITE;
    }
    return p->pReal->pMethods->xWrite(p->pReal, buffer, size, offset);
}

int DatabasePragma(CodecFile* p, char** args)
{
    const char* name = args[1];
    const char* value = args[2];
    if (sqlite3_stricmp(name, "key") == 0) {
        if (value == NULL)
            return SQLITE_OK;
        const char* error = NULL;
        int rc = CodecKeyFile(&p->base, 0, value, int(strlen(value)), &error);
        if (rc != SQLITE_OK)
            args[0] = sqlite3_mprintf("%s", error != NULL ? error : sqlite3_errstr(rc));
        return rc;
    }
    // Write-ahead log frames would hold the pages outside the codec.
    if (sqlite3_stricmp(name, "journal_mode") == 0 && value != NULL && sqlite3_stricmp(value, "wal") == 0 &&
        p->pContext != NULL) {
        args[0] = sqlite3_mprintf("%s", kWalRefused);
        return SQLITE_ERROR;
    }
    return SQLITE_NOTFOUND;
}

// ---------------------------------------------------------------- I/O methods

int CodecClose(sqlite3_file* file)
{
    CodecFile* p = AsCodecFile(file);
    if (p->kind == kDatabaseFile) {
        std::lock_guard<std::mutex> lock(g_FilesLock);
        g_DatabaseFiles.erase(std::remove(g_DatabaseFiles.begin(), g_DatabaseFiles.end(), p), g_DatabaseFiles.end());
    }
    delete p->pContext;
    p->pContext = NULL;
    int rc = SQLITE_OK;
    if (p->pReal->pMethods != NULL)
        rc = p->pReal->pMethods->xClose(p->pReal);
    p->base.pMethods = NULL;
    return rc;
}

int CodecRead(sqlite3_file* file, void* buffer, int size, sqlite3_int64 offset)
{
    CodecFile* p = AsCodecFile(file);
    switch (p->kind) {
    case kDatabaseFile: return DatabaseRead(p, buffer, size, offset);
    case kJournalFile: return JournalRead(p, buffer, size, offset);
    default: return p->pReal->pMethods->xRead(p->pReal, buffer, size, offset);
    }
}

int CodecWrite(sqlite3_file* file, const void* buffer, int size, sqlite3_int64 offset)
{
    CodecFile* p = AsCodecFile(file);
    switch (p->kind) {
    case kDatabaseFile: return DatabaseWrite(p, buffer, size, offset);
    case kJournalFile: return JournalWrite(p, buffer, size, offset);
    default: return p->pReal->pMethods->xWrite(p->pReal, buffer, size, offset);
    }
}

int CodecTruncate(sqlite3_file* file, sqlite3_int64 size)
{
    sqlite3_file* real = AsCodecFile(file)->pReal;
    return real->pMethods->xTruncate(real, size);
}

int CodecSync(sqlite3_file* file, int flags)
{
    sqlite3_file* real = AsCodecFile(file)->pReal;
    return real->pMethods->xSync(real, flags);
}

int CodecFileSize(sqlite3_file* file, sqlite3_int64* size)
{
    sqlite3_file* real = AsCodecFile(file)->pReal;
    return real->pMethods->xFileSize(real, size);
}

int CodecLock(sqlite3_file* file, int level)
{
    sqlite3_file* real = AsCodecFile(file)->pReal;
    return real->pMethods->xLock(real, level);
}

int CodecUnlock(sqlite3_file* file, int level)
{
    sqlite3_file* real = AsCodecFile(file)->pReal;
    return real->pMethods->xUnlock(real, level);
}

int CodecCheckReservedLock(sqlite3_file* file, int* reserved)
{
    sqlite3_file* real = AsCodecFile(file)->pReal;
    return real->pMethods->xCheckReservedLock(real, reserved);
}

int CodecFileControl(sqlite3_file* file, int op, void* argument)
{
    CodecFile* p = AsCodecFile(file);
    if (p->kind == kDatabaseFile) {
        if (op == SQLITE_FCNTL_PDB) {
            // The connection that opened the file, told once it is open.
            sqlite3** connection = static_cast<sqlite3**>(argument);
            if (connection != NULL)
                CodecKeyAttached(*connection, file);
        } else if (op == SQLITE_FCNTL_PRAGMA) {
            int rc = DatabasePragma(p, static_cast<char**>(argument));
            if (rc != SQLITE_NOTFOUND)
                return rc;
        }
    }
    return p->pReal->pMethods->xFileControl(p->pReal, op, argument);
}

int CodecSectorSize(sqlite3_file* file)
{
    sqlite3_file* real = AsCodecFile(file)->pReal;
    return real->pMethods->xSectorSize(real);
}

int CodecDeviceCharacteristics(sqlite3_file* file)
{
    sqlite3_file* real = AsCodecFile(file)->pReal;
    return real->pMethods->xDeviceCharacteristics(real);
}

// Version 1: no shared memory and no memory mapping, so every page passes
// through the read and write methods above.
const sqlite3_io_methods g_CodecMethods = {
    1,
    CodecClose,
    CodecRead,
    CodecWrite,
    CodecTruncate,
    CodecSync,
    CodecFileSize,
    CodecLock,
    CodecUnlock,
    CodecCheckReservedLock,
    CodecFileControl,
    CodecSectorSize,
    CodecDeviceCharacteristics,
};

// ---------------------------------------------------------------- file system

int CodecOpen(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    CodecFile* p = AsCodecFile(file);
    memset(p, 0, sizeof(*p));
    p->pReal = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(p) + kCodecFileSize);
    sqlite3_vfs* base = BaseVfs();
    int rc = base->xOpen(base, name, p->pReal, flags, outFlags);
    if (rc != SQLITE_OK) {
        // SQLite closes a file whose methods are set even after a failure.
        if (p->pReal->pMethods != NULL)
            p->base.pMethods = &g_CodecMethods;
        return rc;
    }

    std::lock_guard<std::mutex> lock(g_FilesLock);
    if (flags & SQLITE_OPEN_MAIN_DB) {
        p->kind = kDatabaseFile;
        p->zName = name;
        g_DatabaseFiles.push_back(p);
    } else if ((flags & SQLITE_OPEN_MAIN_JOURNAL) && name != NULL) {
        // The pager names its journal right after its database, so the
        // name leads back to that very database file.
        p->kind = kJournalFile;
        const char* database = sqlite3_filename_database(name);
        for (CodecFile* candidate : g_DatabaseFiles) {
            if (candidate->zName == database) {
                p->pDatabase = candidate;
                break;
            }
        }
    }
    p->base.pMethods = &g_CodecMethods;
    return SQLITE_OK;
}

int CodecDelete(sqlite3_vfs*, const char* name, int syncDir)
{
    sqlite3_vfs* base = BaseVfs();
    return base->xDelete(base, name, syncDir);
}

int CodecAccess(sqlite3_vfs*, const char* name, int flags, int* result)
{
    sqlite3_vfs* base = BaseVfs();
    return base->xAccess(base, name, flags, result);
}

int CodecFullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    sqlite3_vfs* base = BaseVfs();
    return base->xFullPathname(base, name, size, out);
}

void* CodecDlOpen(sqlite3_vfs*, const char* name)
{
    sqlite3_vfs* base = BaseVfs();
    return base->xDlOpen(base, name);
}

void CodecDlError(sqlite3_vfs*, int size, char* out)
{
    sqlite3_vfs* base = BaseVfs();
    base->xDlError(base, size, out);
}

void (*CodecDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    sqlite3_vfs* base = BaseVfs();
    return base->xDlSym(base, handle, symbol);
}

void CodecDlClose(sqlite3_vfs*, void* handle)
{
    sqlite3_vfs* base = BaseVfs();
    base->xDlClose(base, handle);
}

int CodecRandomness(sqlite3_vfs*, int size, char* out)
{
    sqlite3_vfs* base = BaseVfs();
    return base->xRandomness(base, size, out);
}

int CodecSleep(sqlite3_vfs*, int microseconds)
{
    sqlite3_vfs* base = BaseVfs();
    return base->xSleep(base, microseconds);
}

int CodecCurrentTime(sqlite3_vfs*, double* now)
{
    sqlite3_vfs* base = BaseVfs();
    return base->xCurrentTime(base, now);
}

int CodecGetLastError(sqlite3_vfs*, int size, char* out)
{
    sqlite3_vfs* base = BaseVfs();
    return base->xGetLastError ? base->xGetLastError(base, size, out) : 0;
}

int CodecCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* now)
{
    sqlite3_vfs* base = BaseVfs();
    if (base->iVersion >= 2 && base->xCurrentTimeInt64 != NULL)
        return base->xCurrentTimeInt64(base, now);
    double days = 0;
    int rc = base->xCurrentTime(base, &days);
    *now = sqlite3_int64(days * 86400000.0);
    return rc;
}

} // namespace

bool CodecOwnsFile(sqlite3_file* file)
{
    return file != NULL && file->pMethods == &g_CodecMethods;
}

CCodecContext* CodecGetContext(sqlite3_file* file)
{
    return CodecOwnsFile(file) ? AsCodecFile(file)->pContext : NULL;
}

void CodecSetContext(sqlite3_file* file, CCodecContext* context)
{
    if (!CodecOwnsFile(file)) {
        delete context;
        return;
    }
    CodecFile* p = AsCodecFile(file);
    if (p->pContext != context)
        delete p->pContext;
    p->pContext = context;
}

sqlite3_vfs* CodecGetBaseVfs()
{
    if (sqlite3_initialize() != SQLITE_OK)
        return NULL;
    return BaseVfs();
}

bool CodecSetBaseVfs(sqlite3_vfs* base)
{
    if (sqlite3_initialize() != SQLITE_OK || g_pWindowsVfs == NULL)
        return false;
    if (base == NULL)
        base = g_pWindowsVfs;
    if (base->szOsFile > g_pWindowsVfs->szOsFile + kBaseFileReserve)
        return false;
    std::lock_guard<std::mutex> lock(g_FilesLock);
    g_pBaseVfs = base;
    return true;
}

extern "C" int CodecInitialize(const char*)
{
    if (g_pWindowsVfs == NULL) {
        g_pWindowsVfs = sqlite3_vfs_find("win32");
        if (g_pWindowsVfs == NULL)
            return SQLITE_ERROR;
        g_pBaseVfs = g_pWindowsVfs;

        sqlite3_vfs& vfs = g_CodecVfs;
        vfs.iVersion = 2;
        vfs.szOsFile = kCodecFileSize + g_pWindowsVfs->szOsFile + kBaseFileReserve;
        vfs.mxPathname = g_pWindowsVfs->mxPathname;
        vfs.zName = "codec";
        vfs.xOpen = CodecOpen;
        vfs.xDelete = CodecDelete;
        vfs.xAccess = CodecAccess;
        vfs.xFullPathname = CodecFullPathname;
        vfs.xDlOpen = CodecDlOpen;
        vfs.xDlError = CodecDlError;
        vfs.xDlSym = CodecDlSym;
        vfs.xDlClose = CodecDlClose;
        vfs.xRandomness = CodecRandomness;
        vfs.xSleep = CodecSleep;
        vfs.xCurrentTime = CodecCurrentTime;
        vfs.xGetLastError = CodecGetLastError;
        vfs.xCurrentTimeInt64 = CodecCurrentTimeInt64;
    }
    return sqlite3_vfs_register(&g_CodecVfs, 1);
}
