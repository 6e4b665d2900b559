// A zip archive as a whole: opened from a file or a memory file, its entries
// read and extracted, or a new archive closed with its directory.
//
// Errors are thrown as CZipError* (or, for a file that cannot be opened or
// created, CFileException*); after one, close with CloseArchive(true).
#pragma once

#include <afx.h>

#include "ZipBuffer.h"
#include "ZipCipher.h"
#include "ZipDirectory.h"
#include "ZipEntryHeader.h"
#include "ZipError.h"
#include "ZipStreamState.h"
#include "ZipVolumeStore.h"

class CMemFile;

// Called after each block written by ExtractEntry with the bytes written so
// far; false stops the extraction.
typedef bool (*ZipProgressCallback)(DWORD uWritten, void* pData);

class CZipPack
{
public:
    enum
    {
        zipOpen = 0,
        zipOpenReadOnly = 1,
        zipCreate = 2,
        zipCreateSpan = 3
    };
    // What the open entry is open for.
    enum
    {
        nothing = 0,
        extract = 1,
        compress = 2
    };
    enum
    {
        defaultBufferSize = 65535
    };

    CZipPack();
    ~CZipPack();

    // False when an archive is already open.
    bool OpenArchive(LPCTSTR lpszPath, int iMode = zipOpen, int iVolumeSize = 0);
    bool OpenFromMemory(CMemFile& file, int iMode = zipOpen);
    // With bAfterException nothing more is checked or written.
    void CloseArchive(bool bAfterException = false);
    bool IsClosed() const { return !m_storage.IsOpen(); }
    CString GetArchivePath() const { return m_storage.GetFilePath(); }

    int EntryCount() const { return m_centralDir.Count(); }
    bool CopyEntryHeader(CZipEntryHeader& header, int iIndex) const;
    void EnableFindFast(bool bEnable = true) { m_centralDir.EnableFindFast(bEnable); }
    int FindFile(LPCTSTR lpszName) const { return m_centralDir.FindFile(lpszName); }

    // Password of encrypted entries; none clears it. False while an entry is open.
    bool SetPassword(LPCTSTR lpszPassword = NULL);
    void SetDiskChangeCallback(DiskChangeCallback pCallback, void* pData = NULL);

    // Extracts one entry below lpszPath: under lpszNewName, else its stored
    // path (bFullPath) or only its file name.
    bool ExtractEntry(int iIndex, LPCTSTR lpszPath, bool bFullPath = true, LPCTSTR lpszNewName = NULL,
                      ZipProgressCallback pCallback = NULL, void* pUserData = NULL, DWORD nBufSize = defaultBufferSize);

    // Reading one entry: false when the index is out of range, another entry
    // is open, a spanned archive is being made, or the entry is encrypted and
    // no password is set.
    bool OpenEntry(int iIndex);
    // Answers the bytes read, fewer than asked only at the end of the entry.
    DWORD ReadEntry(void* pBuffer, DWORD uSize);
    // True when the whole entry was read and its CRC-32 matched (a mismatch
    // raises); false when it was closed before its end.
    bool CloseEntry(bool bAfterException = false);

    // Finishes the entry being written; false when there is none.
    bool CloseNewEntry();

    CZipVolumeStore m_storage;
    CZipDirectory m_centralDir;
    CZipStreamState m_info;
    CZipCipher m_keys;
    CZipBuffer m_pszPassword;
    int m_iFileOpened;

private:
    [[noreturn]] void ThrowError(int iCode) const;
    // Opening from a file and from memory differ only in how the storage opens.
    template <class OpenStorage> bool Open(int iMode, OpenStorage openStorage);
    void WriteEntryBuffer(DWORD uLength);
    // Reading: the next compressed block into the stream when it has none.
    void FillInput();
    // True when the open entry's data go on past the size its header gives.
    bool HasDataBeyondSize();

    CZipPack(const CZipPack&) = delete;
    CZipPack& operator=(const CZipPack&) = delete;
};
