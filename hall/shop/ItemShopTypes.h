// The shop's records: the files of the catalogue, the picture records, the
// items the user owns and the item list of one category.
#pragma once

#include <afxtempl.h>

#include "HallRecords.h"
#include "Picture.h"

class CItemCfg;

// One file of the catalogue: where it lives below the program folder, where
// it is on the download server, the version it must have.
struct tagItem
{
    char szName[32];
    char szUrl[260];
    int nVersion;
    BYTE cbLoaded; // read successfully
};
static_assert(sizeof(tagItem) == 300, "file entry layout");

// One picture record with its two pictures (the second one "_2" for "_1").
struct tagImageCfg
{
    int nVersion;
    char szFile[260];
    char szUrl[260];
    DWORD dwImageId;
    CPicture Picture;
    CPicture SmallPicture;

    tagImageCfg();
    tagImageCfg(const tagImageCfg& other);
    tagImageCfg& operator=(const tagImageCfg& other);
};

// An item the user owns: the hall server's (6,1) record.
typedef tagUserValueItem tagOwnItem;
typedef CArray<tagOwnItem, const tagOwnItem&> COwnItemList;

// The items of one category.
struct BAR_INFO
{
    CArray<CItemCfg*, CItemCfg*> Items;
};

typedef CArray<tagItem, const tagItem&> CItemFileArray;
typedef CArray<tagImageCfg, const tagImageCfg&> CImageCfgArray;
