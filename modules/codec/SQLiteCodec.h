// Keyed SQLite: the key calls of the page codec. Every page of a keyed
// database file is encrypted on its own with RC4 from the start of the key
// stream, the key derived from the pass phrase by SHA-1; its rollback
// journal holds the pages as the file holds them.
#pragma once

#include <windows.h>

#include <sqlite3.h>

#ifdef __cplusplus
extern "C" {
#endif

// Keys the main database of the connection; an empty pass phrase leaves it
// plain. Databases attached later without a key of their own take a copy
// of this key. 0 or an SQLite error code (the connection's error text says
// why).
int WINAPI sqlite3_key_codec(sqlite3* db, const char* passPhrase, int length);
// Rewrites every page of the main database under the new pass phrase (an
// empty one decrypts it). On failure the file stays readable with the old
// key. Not within a transaction of the caller.
int WINAPI sqlite3_rekey_codec(sqlite3* db, const char* passPhrase, int length);

// SQLite's own names for the two calls.
int sqlite3_key(sqlite3* db, const void* pKey, int nKey);
int sqlite3_rekey(sqlite3* db, const void* pKey, int nKey);

#ifdef __cplusplus
}
#endif
