// Readers of the catalogue's files: the file index, the item index files and
// the picture index. They come from the download server: every path must be
// relative and fit its field, or its entry is skipped; texts are copied
// without splitting a character.
#pragma once

#include <afxtempl.h>

#include "ItemCfg.h"
#include "ItemShopTypes.h"

// "fileindex.xml": its own version, the picture index's entry, one entry per
// item index file. False when the file does not parse.
bool ReadFileIndex(LPCSTR pszPath, int& nVersion, tagItem& imageIndex, CItemFileArray& files);

// An item index file: its version and the items it lists (new objects the
// caller owns; each knows its category). False when the file does not parse.
bool ReadItemFile(LPCSTR pszPath, int& nVersion, CArray<CItemCfg*, CItemCfg*>& items);

// "imginfo.xml": its version and the picture records (pictures not loaded).
bool ReadImageIndex(LPCSTR pszPath, int& nVersion, CImageCfgArray& images);

// The same file read by name: image id -> version.
bool ReadImageHistory(LPCSTR pszPath, CMap<DWORD, DWORD, int, int>& history);
