// The central directory of an archive and its end record: found and read
// when an archive is opened, written when a new one is closed.
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include "ZipBuffer.h"
#include "ZipEntryHeader.h"

class CZipVolumeStore;

class CZipDirectory
{
public:
    enum
    {
        endRecordSize = 22,
        maxCommentSize = 0xFFFF
    };
    static const BYTE m_gszSignature[4];

    CZipDirectory();
    ~CZipDirectory();

    // Binds the directory to its storage and clears it for a newly opened
    // or created archive.
    void Init(CZipVolumeStore* pStorage);
    // Frees every header, the index and the comment.
    void Clear();

    // Finds the end record and reads the directory.
    void Read();
    // The position of the end record within the archive file.
    ULONGLONG Locate();
    void ReadHeaders();

    int Count() const { return (int)m_headers.GetSize(); }
    CZipEntryHeader* GetHeader(int iIndex) const { return m_headers[iIndex]; }
    // Moves to the entry's local header and checks it; the position is left
    // at the entry's data.
    void OpenFile(int iIndex);

    void EnableFindFast(bool bEnable);
    // The index of the entry of that name (as the reader shows it), or -1.
    int FindFile(LPCTSTR lpszName) const;

    // Writing side.
    void CloseNewEntry();
    void WriteDirectory();
    void WriteEntryRecords();
    DWORD WriteEndRecord();
    DWORD DirectorySize(bool bWhole) const;
    bool ConvertToSingleVolume(bool bFromBuffer);

    DWORD m_uLocateBufferSize;
    bool m_bConvertNames;
    bool m_bFindFast;
    WORD m_uThisVolume;
    WORD m_uDirVolume;
    WORD m_uVolumeEntries;
    WORD m_uTotalEntries;
    DWORD m_uSize;
    DWORD m_uOffset;
    CZipBuffer m_pComment;
    CZipEntryHeader* m_pOpenedFile;
    CZipVolumeStore* m_pStorage;
    DWORD m_uBytesBeforeZip;
    bool m_bOnDisk;
    CTypedPtrArray<CPtrArray, CZipEntryHeader*> m_headers;

private:
    void BuildFindFastArray();
    void RemoveHeaders();
    [[noreturn]] void ThrowError(int iCode) const;

    // Headers sorted by name, while fast lookup is on.
    CTypedPtrArray<CPtrArray, CZipEntryHeader*> m_findArray;

    CZipDirectory(const CZipDirectory&) = delete;
    CZipDirectory& operator=(const CZipDirectory&) = delete;
};
