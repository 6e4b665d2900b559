#include "ZipDirectory.h"

#include "ZipBytes.h"
#include "ZipError.h"
#include "ZipVolumeStore.h"

#include <string.h>
#include <windows.h>

using namespace ZipBytes;

const BYTE CZipDirectory::m_gszSignature[4] = {'P', 'K', 5, 6};

namespace
{

int CompareNames(const CZipEntryHeader* a, LPCTSTR b)
{
    return ::lstrcmpA(a->EntryName(), b);
}

} // namespace

CZipDirectory::CZipDirectory()
    : m_uLocateBufferSize(32768), m_bConvertNames(true), m_bFindFast(false), m_uThisVolume(0), m_uDirVolume(0),
      m_uVolumeEntries(0), m_uTotalEntries(0), m_uSize(0), m_uOffset(0), m_pOpenedFile(NULL), m_pStorage(NULL),
      m_uBytesBeforeZip(0), m_bOnDisk(false)
{}

CZipDirectory::~CZipDirectory()
{
    Clear();
}

void CZipDirectory::Init(CZipVolumeStore* pStorage)
{
    Clear();
    m_pStorage = pStorage;
    m_pOpenedFile = NULL;
    m_uBytesBeforeZip = 0;
    m_bOnDisk = false;
    m_uThisVolume = m_uDirVolume = m_uVolumeEntries = m_uTotalEntries = 0;
    m_uSize = m_uOffset = 0;
}

void CZipDirectory::RemoveHeaders()
{
    m_findArray.RemoveAll();
    for (int i = 0; i < (int)m_headers.GetSize(); i++)
        delete m_headers[i];
    m_headers.RemoveAll();
}

void CZipDirectory::Clear()
{
    RemoveHeaders();
    m_pComment.Release();
    m_pOpenedFile = NULL;
}

void CZipDirectory::ThrowError(int iCode) const
{
    m_pStorage->ThrowError(iCode);
}

ULONGLONG CZipDirectory::Locate()
{
    CFile* pFile = m_pStorage->GetFile();
    ULONGLONG length = pFile->GetLength();
    const DWORD window = maxCommentSize + endRecordSize;
    DWORD searched = length < window ? (DWORD)length : window;
    CZipBuffer buffer(m_uLocateBufferSize + 3, false);
    BYTE* p = buffer.GetBuffer();
    DWORD back = 0;
    while (back < searched) {
        DWORD chunk = searched - back < m_uLocateBufferSize ? searched - back : m_uLocateBufferSize;
        // The first bytes of the chunk seen before, so a signature across the
        // boundary is whole in this one.
        DWORD overlap = back < 3 ? back : 3;
        back += chunk;
        DWORD toRead = chunk + overlap;
        pFile->Seek((LONGLONG)(length - back), CFile::begin);
        if (pFile->Read(p, toRead) != toRead)
            ThrowError(CZipError::codeBadZipFile);
        for (int i = (int)toRead - 4; i >= 0; i--) {
            if (memcmp(p + i, m_gszSignature, 4) == 0)
                return length - back + (DWORD)i;
        }
    }
    ThrowError(CZipError::codeCdirNotFound);
}

void CZipDirectory::Read()
{
    ULONGLONG endOffset = Locate();
    CFile* pFile = m_pStorage->GetFile();
    BYTE record[endRecordSize];
    pFile->Seek((LONGLONG)endOffset, CFile::begin);
    if (pFile->Read(record, endRecordSize) != endRecordSize)
        ThrowError(CZipError::codeBadZipFile);
    m_uThisVolume = GetWord(record + 4);
    m_uDirVolume = GetWord(record + 6);
    m_uVolumeEntries = GetWord(record + 8);
    m_uTotalEntries = GetWord(record + 10);
    m_uSize = GetDword(record + 12);
    m_uOffset = GetDword(record + 16);
    WORD commentLength = GetWord(record + 20);

    m_pStorage->SettleSpanMode(m_uThisVolume);
    bool spanned = m_pStorage->SpanState() != 0;
    if (!spanned && endOffset < (ULONGLONG)m_uOffset + m_uSize)
        ThrowError(CZipError::codeBadZipFile);
    m_pComment.Allocate(commentLength, false);
    if (commentLength > 0)
        m_pStorage->ReadData(m_pComment.GetBuffer(), commentLength, true);
    m_uBytesBeforeZip = spanned ? 0 : (DWORD)(endOffset - m_uOffset - m_uSize);
    if ((m_uSize == 0) != (m_uTotalEntries == 0))
        ThrowError(CZipError::codeBadZipFile);

    m_bOnDisk = true;
    m_pStorage->ChangeVolume(m_uDirVolume);
    if (m_uSize != 0) {
        RemoveHeaders();
        m_pStorage->Seek((ULONGLONG)m_uOffset + m_uBytesBeforeZip);
        ReadHeaders();
    }
}

void CZipDirectory::ReadHeaders()
{
    DWORD consumed = 0;
    for (int i = 0; i < m_uTotalEntries; i++) {
        CZipEntryHeader* pHeader = new CZipEntryHeader;
        m_headers.Add(pHeader);
        pHeader->ReadCentral(m_pStorage);
        // More entries than the directory holds: the count is a lie.
        consumed += pHeader->CentralSize();
        if (consumed > m_uSize)
            ThrowError(CZipError::codeBadZipFile);
        if (m_bConvertNames) {
            pHeader->NameOemToAnsi();
            pHeader->SlashChange(true);
        }
    }
    if (m_bFindFast)
        BuildFindFastArray();
}

void CZipDirectory::BuildFindFastArray()
{
    m_findArray.RemoveAll();
    for (int i = 0; i < (int)m_headers.GetSize(); i++) {
        CZipEntryHeader* pHeader = m_headers[i];
        CString name = pHeader->EntryName();
        int low = 0, high = (int)m_findArray.GetSize();
        while (low < high) {
            int mid = (low + high) / 2;
            if (CompareNames(m_findArray[mid], name) <= 0)
                low = mid + 1;
            else
                high = mid;
        }
        m_findArray.InsertAt(low, pHeader);
    }
}

void CZipDirectory::EnableFindFast(bool bEnable)
{
    m_bFindFast = bEnable;
    if (bEnable)
        BuildFindFastArray();
    else
        m_findArray.RemoveAll();
}

int CZipDirectory::FindFile(LPCTSTR lpszName) const
{
    if (lpszName == NULL)
        return -1;
    if (!m_bFindFast) {
        for (int i = 0; i < (int)m_headers.GetSize(); i++) {
            if (CompareNames(m_headers[i], lpszName) == 0)
                return i;
        }
        return -1;
    }
    int low = 0, high = (int)m_findArray.GetSize() - 1;
    while (low <= high) {
        int mid = (low + high) / 2;
        int result = CompareNames(m_findArray[mid], lpszName);
        if (result == 0) {
            for (int i = 0; i < (int)m_headers.GetSize(); i++) {
                if (m_headers[i] == m_findArray[mid])
                    return i;
            }
            return -1;
        }
        if (result < 0)
            low = mid + 1;
        else
            high = mid - 1;
    }
    return -1;
}

void CZipDirectory::OpenFile(int iIndex)
{
    CZipEntryHeader* pHeader = m_headers[iIndex];
    m_pStorage->ChangeVolume(pHeader->m_uDiskStart);
    m_pStorage->Seek((ULONGLONG)pHeader->m_uOffset + m_uBytesBeforeZip);
    pHeader->CheckLocal(m_pStorage);
    m_pOpenedFile = pHeader;
}

void CZipDirectory::CloseNewEntry()
{
    CZipEntryHeader* pHeader = m_pOpenedFile;
    BYTE buffer[CZipEntryHeader::descriptorSize];
    bool spanned = m_pStorage->SpanState() != 0;
    bool encrypted = pHeader->IsEncrypted();
    BYTE sizes[12];
    PutDword(sizes, pHeader->m_uCrc32);
    PutDword(sizes + 4, pHeader->m_uComprSize);
    PutDword(sizes + 8, pHeader->m_uUncomprSize);

    DWORD length;
    if (!pHeader->HasDataDescriptor()) {
        m_pStorage->FlushBuffer();
        m_pStorage->Seek((ULONGLONG)pHeader->m_uOffset + 14);
        memcpy(buffer, sizes, 12);
        length = 12;
    } else if (spanned || encrypted) {
        memcpy(buffer, CZipEntryHeader::m_gszDescriptorSignature, 4);
        memcpy(buffer + 4, sizes, 12);
        length = 16;
    } else {
        memcpy(buffer, sizes, 12);
        length = 12;
    }
    pHeader->m_uOffset -= m_uBytesBeforeZip;
    m_pStorage->WriteData(buffer, length, true);

    if (!spanned) {
        if (encrypted) {
            m_pStorage->FlushBuffer();
            m_pStorage->Seek((ULONGLONG)pHeader->m_uOffset + m_uBytesBeforeZip + 14);
            m_pStorage->WriteData(sizes, 12, true);
        }
        m_pStorage->FlushBuffer();
    }
    m_pOpenedFile = NULL;
}

DWORD CZipDirectory::DirectorySize(bool bWhole) const
{
    DWORD size = endRecordSize + m_pComment.GetSize();
    if (bWhole) {
        for (int i = 0; i < (int)m_headers.GetSize(); i++)
            size += m_headers[i]->CentralSize();
    }
    return size;
}

void CZipDirectory::WriteDirectory()
{
    if (m_bOnDisk)
        return;
    int spanState = m_pStorage->SpanState();
    if (spanState == 0) {
        m_pStorage->FlushBuffer();
        m_pStorage->GetFile()->SeekToEnd();
    }
    m_uTotalEntries = (WORD)m_headers.GetSize();
    m_uSize = 0;

    bool converted = false;
    if (spanState != 0 && m_pStorage->CurrentVolume() == 0) {
        // Folding drops the spanning signature and the descriptor of every
        // entry that is not encrypted (encrypted ones keep theirs).
        LONGLONG dropped = 4;
        for (int i = 0; i < (int)m_headers.GetSize(); i++) {
            if (!m_headers[i]->IsEncrypted())
                dropped += CZipEntryHeader::descriptorSize;
        }
        LONGLONG needed = (LONGLONG)DirectorySize(true) - dropped;
        if ((LONGLONG)m_pStorage->FreeOnVolume() >= needed) {
            DWORD bufferRoom = m_pStorage->m_pWriteBuffer.GetSize() - m_pStorage->m_uBuffered;
            if (m_pStorage->m_uBytesOnVolume == 0 && (LONGLONG)bufferRoom >= needed)
                converted = ConvertToSingleVolume(true);
            else {
                m_pStorage->FlushBuffer();
                m_pStorage->GetFile()->Flush();
                converted = ConvertToSingleVolume(false);
            }
        }
    }

    WriteEntryRecords();
    m_uThisVolume = (WORD)m_pStorage->CurrentVolume();
    DWORD endSize = WriteEndRecord();
    if (converted && m_pStorage->CurrentVolume() != 0)
        ThrowError(CZipError::codeBadZipFile);
    if (m_pStorage->CurrentVolume() != m_uThisVolume) {
        // The end record went whole to a new volume: write it again there
        // with that volume's number.
        m_uThisVolume = (WORD)m_pStorage->CurrentVolume();
        if (m_headers.GetSize() > 0)
            m_uVolumeEntries = 0;
        else {
            m_uDirVolume = m_uThisVolume;
            m_uOffset = 0;
        }
        if (m_pStorage->m_uBuffered >= endSize)
            m_pStorage->m_uBuffered -= endSize;
        else {
            m_pStorage->FlushBuffer();
            m_pStorage->m_uBytesOnVolume -= endSize;
            m_pStorage->Seek(0);
        }
        WriteEndRecord();
    }
}

void CZipDirectory::WriteEntryRecords()
{
    m_uVolumeEntries = 0;
    m_uDirVolume = (WORD)m_pStorage->CurrentVolume();
    m_uOffset = (DWORD)(m_pStorage->Position() - m_uBytesBeforeZip);
    int previousVolume = m_uDirVolume;
    for (int i = 0; i < (int)m_headers.GetSize(); i++) {
        CZipEntryHeader* pHeader = m_headers[i];
        if (m_bConvertNames) {
            pHeader->SlashChange(false);
            pHeader->NameAnsiToOem();
        }
        m_uSize += pHeader->WriteCentralRecord(m_pStorage);
        int volume = m_pStorage->CurrentVolume();
        if (volume != previousVolume) {
            m_uVolumeEntries = 1;
            if (i == 0) {
                m_uDirVolume = (WORD)volume;
                m_uOffset = 0;
            }
            previousVolume = volume;
        } else
            m_uVolumeEntries++;
    }
}

DWORD CZipDirectory::WriteEndRecord()
{
    DWORD size = endRecordSize + m_pComment.GetSize();
    CZipBuffer record(size, false);
    BYTE* p = record.GetBuffer();
    memcpy(p, m_gszSignature, 4);
    PutWord(p + 4, m_uThisVolume);
    PutWord(p + 6, m_uDirVolume);
    PutWord(p + 8, m_uVolumeEntries);
    PutWord(p + 10, m_uTotalEntries);
    PutDword(p + 12, m_uSize);
    PutDword(p + 16, m_uOffset);
    PutWord(p + 20, (WORD)m_pComment.GetSize());
    if (m_pComment.GetSize() > 0)
        memcpy(p + endRecordSize, m_pComment.GetBuffer(), m_pComment.GetSize());
    m_pStorage->WriteData(p, size, true);
    return size;
}

bool CZipDirectory::ConvertToSingleVolume(bool bFromBuffer)
{
    BYTE* pData;
    DWORD length;
    HANDLE hMapping = NULL;
    if (bFromBuffer) {
        pData = m_pStorage->m_pWriteBuffer.GetBuffer();
        length = m_pStorage->m_uBuffered;
    } else {
        CFile* pFile = m_pStorage->GetFile();
        length = (DWORD)pFile->GetLength();
        // Unnamed: a name would be shared with every other process converting
        // an archive at the same time.
        hMapping = ::CreateFileMappingA(pFile->m_hFile, NULL, PAGE_READWRITE, 0, 0, NULL);
        if (hMapping == NULL)
            return false;
        pData = static_cast<BYTE*>(::MapViewOfFile(hMapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        if (pData == NULL) {
            ::CloseHandle(hMapping);
            return false;
        }
    }

    // Each entry runs from its local header to the next one; check that the
    // pieces are whole before moving any of them.
    int count = (int)m_headers.GetSize();
    bool valid = true;
    for (int i = 0; i < count && valid; i++) {
        DWORD start = m_headers[i]->m_uOffset;
        DWORD end = i + 1 < count ? m_headers[i + 1]->m_uOffset : length;
        DWORD minimum =
            CZipEntryHeader::localSize + (m_headers[i]->IsEncrypted() ? 0 : CZipEntryHeader::descriptorSize);
        valid = start >= 4 && start <= end && end <= length && end - start >= minimum;
    }

    DWORD writePosition = 0;
    DWORD removed = 4;
    for (int i = 0; i < count && valid; i++) {
        CZipEntryHeader* pHeader = m_headers[i];
        DWORD start = pHeader->m_uOffset;
        DWORD end = i + 1 < count ? m_headers[i + 1]->m_uOffset : length;
        BYTE* pLocal = pData + start;
        bool dropDescriptor = !pHeader->IsEncrypted();
        if (dropDescriptor) {
            pHeader->m_uFlag &= ~CZipEntryHeader::flagDescriptor;
            PutWord(pLocal + 6, pHeader->m_uFlag);
        }
        PutDword(pLocal + 14, pHeader->m_uCrc32);
        PutDword(pLocal + 18, pHeader->m_uComprSize);
        PutDword(pLocal + 22, pHeader->m_uUncomprSize);
        DWORD keep = end - start - (dropDescriptor ? CZipEntryHeader::descriptorSize : 0);
        memmove(pData + writePosition, pLocal, keep);
        pHeader->m_uOffset -= removed;
        writePosition += keep;
        if (dropDescriptor)
            removed += CZipEntryHeader::descriptorSize;
    }

    if (bFromBuffer) {
        if (valid)
            m_pStorage->m_uBuffered = writePosition;
        return valid;
    }
    ::UnmapViewOfFile(pData);
    ::CloseHandle(hMapping);
    if (!valid)
        return false;
    CFile* pFile = m_pStorage->GetFile();
    m_pStorage->m_uBytesOnVolume = writePosition;
    pFile->SetLength(writePosition);
    // Later records follow the folded data, not the old end of the file.
    pFile->Seek(writePosition, CFile::begin);
    return true;
}
