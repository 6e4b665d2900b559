#include "ZipEntryHeader.h"

#include "ZipBytes.h"
#include "ZipError.h"
#include "ZipPathUtil.h"
#include "ZipVolumeStore.h"

#include <string.h>
#include <windows.h>

using namespace ZipBytes;

const BYTE CZipEntryHeader::m_gszSignature[4] = {'P', 'K', 1, 2};
const BYTE CZipEntryHeader::m_gszLocalSignature[4] = {'P', 'K', 3, 4};
const BYTE CZipEntryHeader::m_gszDescriptorSignature[4] = {'P', 'K', 7, 8};

CZipEntryHeader::CZipEntryHeader()
    : m_uSignature(GetDword(m_gszSignature)), m_uVersionMadeBy(0), m_uVersionNeeded(0), m_uFlag(0), m_uMethod(8),
      m_uModTime(0), m_uModDate(0), m_uCrc32(0), m_uComprSize(0), m_uUncomprSize(0), m_uDiskStart(0),
      m_uInternalAttr(0), m_uExternalAttr(0x20), m_uOffset(0)
{}

CString CZipEntryHeader::EntryName() const
{
    return CString((LPCSTR)m_pszFileName.GetBuffer(), (int)m_pszFileName.GetSize());
}

DWORD CZipEntryHeader::CentralSize() const
{
    return centralSize + m_pszFileName.GetSize() + m_pExtraField.GetSize() + m_pszComment.GetSize();
}

time_t CZipEntryHeader::GetTime() const
{
    struct tm t;
    memset(&t, 0, sizeof(t));
    t.tm_sec = (m_uModTime & 0x1F) * 2;
    t.tm_min = (m_uModTime >> 5) & 0x3F;
    t.tm_hour = m_uModTime >> 11;
    t.tm_mday = m_uModDate & 0x1F;
    t.tm_mon = ((m_uModDate >> 5) & 0x0F) - 1;
    t.tm_year = (m_uModDate >> 9) + 80;
    t.tm_isdst = -1;
    return mktime(&t);
}

void CZipEntryHeader::NameOemToAnsi()
{
    if (m_pszFileName.GetSize() > 0) {
        LPSTR p = (LPSTR)m_pszFileName.GetBuffer();
        ::OemToCharBuffA(p, p, m_pszFileName.GetSize());
    }
}

void CZipEntryHeader::NameAnsiToOem()
{
    if (m_pszFileName.GetSize() > 0) {
        LPSTR p = (LPSTR)m_pszFileName.GetBuffer();
        ::CharToOemBuffA(p, p, m_pszFileName.GetSize());
    }
}

void CZipEntryHeader::SlashChange(bool bToBackslash)
{
    CZipPathUtil::ChangeSlashes(m_pszFileName.GetBuffer(), m_pszFileName.GetSize(), bToBackslash);
}

void CZipEntryHeader::ReadCentral(CZipVolumeStore* pStorage)
{
    BYTE record[centralSize];
    pStorage->ReadData(record, centralSize, true);
    if (memcmp(record, m_gszSignature, 4) != 0)
        pStorage->ThrowError(CZipError::codeBadZipFile);
    m_uSignature = GetDword(record);
    m_uVersionMadeBy = GetWord(record + 4);
    m_uVersionNeeded = GetWord(record + 6);
    m_uFlag = GetWord(record + 8);
    m_uMethod = GetWord(record + 10);
    m_uModTime = GetWord(record + 12);
    m_uModDate = GetWord(record + 14);
    m_uCrc32 = GetDword(record + 16);
    m_uComprSize = GetDword(record + 20);
    m_uUncomprSize = GetDword(record + 24);
    WORD nameLength = GetWord(record + 28);
    WORD extraLength = GetWord(record + 30);
    WORD commentLength = GetWord(record + 32);
    m_uDiskStart = GetWord(record + 34);
    m_uInternalAttr = GetWord(record + 36);
    m_uExternalAttr = GetDword(record + 38);
    m_uOffset = GetDword(record + 42);

    int volume = pStorage->CurrentVolume();
    DWORD rest = (DWORD)nameLength + extraLength + commentLength;
    CZipBuffer variable(rest, false);
    if (rest > 0)
        pStorage->ReadData(variable.GetBuffer(), rest, true);
    if (pStorage->CurrentVolume() != volume)
        pStorage->ThrowError(CZipError::codeBadZipFile);
    const BYTE* p = variable.GetBuffer();
    m_pszFileName.Assign(p, nameLength);
    m_pExtraField.Assign(p + nameLength, extraLength);
    m_pszComment.Assign(p + nameLength + extraLength, commentLength);
}

void CZipEntryHeader::CheckLocal(CZipVolumeStore* pStorage) const
{
    BYTE local[localSize];
    pStorage->ReadData(local, localSize, true);
    bool match = memcmp(local, m_gszLocalSignature, 4) == 0 && GetWord(local + 6) == m_uFlag &&
                 GetWord(local + 8) == m_uMethod && (m_uMethod == 0 || m_uMethod == 8) &&
                 GetWord(local + 26) == m_pszFileName.GetSize();
    if (match && !HasDataDescriptor()) {
        match = GetDword(local + 14) == m_uCrc32 && GetDword(local + 18) == m_uComprSize &&
                GetDword(local + 22) == m_uUncomprSize;
    }
    if (!match)
        pStorage->ThrowError(CZipError::codeBadZipFile);

    // Past the local name and extra field, to the data.
    DWORD skip = (DWORD)GetWord(local + 26) + GetWord(local + 28);
    if (skip > 0) {
        CZipBuffer ignored(skip, false);
        pStorage->ReadData(ignored.GetBuffer(), skip, true);
    }
}

DWORD CZipEntryHeader::WriteCentralRecord(CZipVolumeStore* pStorage)
{
    DWORD size = CentralSize();
    CZipBuffer record(size, false);
    BYTE* p = record.GetBuffer();
    PutDword(p, m_uSignature);
    PutWord(p + 4, m_uVersionMadeBy);
    PutWord(p + 6, m_uVersionNeeded);
    PutWord(p + 8, m_uFlag);
    PutWord(p + 10, m_uMethod);
    PutWord(p + 12, m_uModTime);
    PutWord(p + 14, m_uModDate);
    PutDword(p + 16, m_uCrc32);
    PutDword(p + 20, m_uComprSize);
    PutDword(p + 24, m_uUncomprSize);
    PutWord(p + 28, (WORD)m_pszFileName.GetSize());
    PutWord(p + 30, (WORD)m_pExtraField.GetSize());
    PutWord(p + 32, (WORD)m_pszComment.GetSize());
    PutWord(p + 34, m_uDiskStart);
    PutWord(p + 36, m_uInternalAttr);
    PutDword(p + 38, m_uExternalAttr);
    PutDword(p + 42, m_uOffset);
    BYTE* q = p + centralSize;
    if (m_pszFileName.GetSize())
        memcpy(q, m_pszFileName.GetBuffer(), m_pszFileName.GetSize());
    q += m_pszFileName.GetSize();
    if (m_pExtraField.GetSize())
        memcpy(q, m_pExtraField.GetBuffer(), m_pExtraField.GetSize());
    q += m_pExtraField.GetSize();
    if (m_pszComment.GetSize())
        memcpy(q, m_pszComment.GetBuffer(), m_pszComment.GetSize());
    pStorage->WriteData(p, size, true);
    return size;
}
