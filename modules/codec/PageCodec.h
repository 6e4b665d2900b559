// The key entry points of the page codec as its file system calls them
// (the "key" pragma and the attachment of a database).
#pragma once

#include <sqlite3.h>

// Keys the file with the pass phrase: an empty pass phrase does nothing.
// On failure *error names the cause when there is a text for it.
int CodecKeyFile(sqlite3_file* file, int pageSize, const void* passPhrase, int length, const char** error);

// A database just opened by the connection beside its main database takes a
// copy of the main database's key, if it has one.
void CodecKeyAttached(sqlite3* db, sqlite3_file* file);
