// The file system of the page codec: SQLite's Windows file system with the
// pages of keyed database files, and the page images their rollback journals
// hold, encrypted on the way to the disk. Registered as the default file
// system when SQLite initialises, so every connection opens through it.
#pragma once

#include <sqlite3.h>

class CCodecContext;

// Whether the file was opened through the codec's file system.
bool CodecOwnsFile(sqlite3_file* file);
// The codec state of a database file; null for a plain one.
CCodecContext* CodecGetContext(sqlite3_file* file);
// Installs the state (null: none), deleting the one it replaces.
void CodecSetContext(sqlite3_file* file, CCodecContext* context);

// The file system the codec passes the encrypted bytes to: Windows' own
// unless a test puts another one in between. Files opened before a change
// keep the one they were opened with. False when the replacement needs
// more room per file than the codec reserved.
sqlite3_vfs* CodecGetBaseVfs();
bool CodecSetBaseVfs(sqlite3_vfs* base);
