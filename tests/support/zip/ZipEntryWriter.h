// Begins new entries of a CZipPack being created and feeds them data, as the
// archive classes expect of such a step; CZipPack::CloseNewEntry (or
// CloseArchive) finishes each one. Tests only: the product never writes
// archives.
#pragma once

#include <afx.h>

#include "ZipPack.h"

struct ZipNewEntry
{
    CString name;   // as a reader shows it: ANSI code page, "\" between folders
    int method = 8; // 0 stored, 8 deflated
    int level = 6;
    CString password;        // empty: not encrypted
    bool descriptor = false; // a data descriptor even where none is needed
    WORD time = 0x5A2A;      // 11:17:20
    WORD date = 0x52CF;      // 2021-06-15
    DWORD attributes = 0x20;
};

class CZipEntryWriter
{
public:
    explicit CZipEntryWriter(CZipPack& pack);

    void Begin(const ZipNewEntry& entry);
    void Write(const void* pData, DWORD uLength);
    // Begin, Write, CloseNewEntry.
    void Add(const ZipNewEntry& entry, const void* pData, DWORD uLength);
    void Add(const ZipNewEntry& entry, const CString& data) { Add(entry, (LPCSTR)data, (DWORD)data.GetLength()); }

    static WORD DosTime(int hour, int minute, int second);
    static WORD DosDate(int year, int month, int day);

private:
    void FlushEntryBuffer();

    CZipPack& m_pack;
    DWORD m_uSeed;
};
