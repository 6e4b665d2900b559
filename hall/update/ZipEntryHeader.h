// One entry of a zip archive: its central record, which the local header in
// front of the data must match.
#pragma once

#include <afx.h>
#include <time.h>

#include "ZipBuffer.h"

class CZipVolumeStore;

class CZipEntryHeader
{
public:
    enum
    {
        centralSize = 46,    // fixed part of the central record
        localSize = 30,      // fixed part of the local header
        descriptorSize = 16, // data descriptor with its signature
        flagEncrypted = 0x0001,
        flagDescriptor = 0x0008,
        attrFolder = 0x0010
    };
    static const BYTE m_gszSignature[4];
    static const BYTE m_gszLocalSignature[4];
    static const BYTE m_gszDescriptorSignature[4];

    CZipEntryHeader();

    CString EntryName() const;
    bool IsEncrypted() const { return (m_uFlag & flagEncrypted) != 0; }
    bool HasDataDescriptor() const { return (m_uFlag & flagDescriptor) != 0; }
    bool IsFolder() const { return (m_uExternalAttr & attrFolder) != 0; }
    // The size of the central record.
    DWORD CentralSize() const;
    // The modification time as calendar time; -1 when the DOS fields are no date.
    time_t GetTime() const;

    // Name conversions between the archive's form (OEM code page, "/") and
    // the reader's (ANSI code page, "\").
    void NameOemToAnsi();
    void NameAnsiToOem();
    void SlashChange(bool bToBackslash);

    // Reads the central record at the current position; a short or foreign
    // record, or one that crosses volumes, raises the damaged-archive code.
    void ReadCentral(CZipVolumeStore* pStorage);
    // Reads the local header at the current position and checks it against
    // this record, leaving the position at the entry's data.
    void CheckLocal(CZipVolumeStore* pStorage) const;
    DWORD WriteCentralRecord(CZipVolumeStore* pStorage);

    DWORD m_uSignature;
    WORD m_uVersionMadeBy;
    WORD m_uVersionNeeded;
    WORD m_uFlag;
    WORD m_uMethod;
    WORD m_uModTime;
    WORD m_uModDate;
    DWORD m_uCrc32;
    DWORD m_uComprSize;
    DWORD m_uUncomprSize;
    WORD m_uDiskStart;
    WORD m_uInternalAttr;
    DWORD m_uExternalAttr;
    DWORD m_uOffset;
    CZipBuffer m_pExtraField;
    CZipBuffer m_pszFileName;
    CZipBuffer m_pszComment;
};
