// What the codec needs from inside SQLite: the parts of a connection the
// public interface does not reach. Defined next to SQLite itself
// (SQLiteKeyed.c), which includes the amalgamation.
#pragma once

#include <sqlite3.h>

#ifdef __cplusplus
extern "C" {
#endif

// The file of database iDb of the connection; null when it has none (yet).
// The caller holds the connection's mutex.
sqlite3_file* CodecDatabaseFile(sqlite3* db, int iDb);
// The page size the connection uses for database iDb; 0 when it has none.
int CodecDatabasePageSize(sqlite3* db, int iDb);

// Begins a write transaction on database iDb, marks every page but the
// lock-byte page for writing and commits. A failure leaves the transaction
// open for CodecRollbackPages.
int CodecRewritePages(sqlite3* db, int iDb);
void CodecRollbackPages(sqlite3* db, int iDb);

// Leaves rc and the message as the connection's last error.
void CodecSetError(sqlite3* db, int rc, const char* message);

// Called by sqlite3_initialize (SQLITE_EXTRA_INIT): registers the codec's
// file system as the default one.
int CodecInitialize(const char* unused);

#ifdef __cplusplus
}
#endif
