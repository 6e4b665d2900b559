#include "ZipVolumeStore.h"

#include "ZipDriveQuery.h"
#include "ZipError.h"
#include "ZipPathUtil.h"

#include <string.h>
#include <windows.h>

const BYTE CZipVolumeStore::m_gszSpanSignature[4] = {'P', 'K', 7, 8};

namespace
{

const UINT kOpenExisting = CFile::modeReadWrite | CFile::shareDenyWrite;
const UINT kOpenReadOnly = CFile::modeRead | CFile::shareDenyWrite;
const UINT kCreate = CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite;

} // namespace

CZipVolumeStore::CZipVolumeStore()
    : m_uWriteBufferSize(65535), m_pCallbackData(NULL), m_pFile(NULL), m_iSpanMode(spanNone), m_pDiskChange(NULL),
      m_iVolumeSize(0), m_uBuffered(0), m_uVolumeRoom(0), m_uBytesOnVolume(0), m_bNewSpan(false), m_iCurrentVolume(-1)
{}

CZipVolumeStore::~CZipVolumeStore()
{
    if (IsOpen())
        CloseStorage(true);
}

void CZipVolumeStore::SetDiskChangeCallback(DiskChangeCallback pCallback, void* pData)
{
    m_pDiskChange = pCallback;
    m_pCallbackData = pData;
}

CString CZipVolumeStore::GetFilePath() const
{
    return m_pFile != NULL ? m_pFile->GetFilePath() : CString();
}

void CZipVolumeStore::ThrowError(int iCode) const
{
    CZipError::Throw(iCode, GetFilePath());
}

void CZipVolumeStore::OpenStorage(LPCTSTR lpszPath, int iMode, int iVolumeSize)
{
    m_pWriteBuffer.Allocate(m_uWriteBufferSize, false);
    m_uBuffered = 0;
    m_bNewSpan = false;
    m_pFile = &m_internalFile;
    m_iCurrentVolume = 0;
    switch (iMode) {
    case 0:
    case 1:
        m_internalFile.OpenOrThrow(lpszPath, iMode == 0 ? kOpenExisting : kOpenReadOnly);
        m_iSpanMode = iVolumeSize > 0 ? spanNumberedOpen : spanDetect;
        break;
    case 2:
        m_iSpanMode = spanNone;
        m_internalFile.OpenOrThrow(lpszPath, kCreate);
        break;
    default:
        m_bNewSpan = true;
        m_uBytesOnVolume = 0;
        if (iVolumeSize > 0) {
            m_iVolumeSize = iVolumeSize;
            m_iSpanMode = spanNumbered;
        } else {
            if (m_pDiskChange == NULL)
                CZipError::Throw(CZipError::codeNoCallback, lpszPath);
            if (!CZipPathUtil::IsDriveRemovable(lpszPath))
                CZipError::Throw(CZipError::codeNonRemovable, lpszPath);
            m_iSpanMode = spanRemovable;
        }
        StartNextVolume(4, lpszPath);
        WriteData(m_gszSpanSignature, 4, true);
        break;
    }
}

void CZipVolumeStore::OpenStorage(CMemFile& file, int iMode)
{
    m_pWriteBuffer.Allocate(m_uWriteBufferSize, false);
    m_uBuffered = 0;
    m_bNewSpan = false;
    m_pFile = &file;
    m_iCurrentVolume = 0;
    if (iMode == 2) {
        m_iSpanMode = spanNone;
        file.SetLength(0);
    } else {
        file.SeekToBegin();
        m_iSpanMode = spanDetect;
    }
}

void CZipVolumeStore::CloseFile(bool bAfterException)
{
    // A memory file stays open: it and its contents are the caller's.
    if (m_pFile == &m_internalFile && m_internalFile.IsOpen()) {
        if (bAfterException)
            m_internalFile.Abort();
        else
            m_internalFile.Close();
    }
}

void CZipVolumeStore::CloseStorage(bool bAfterException)
{
    if (!bAfterException && IsOpen()) {
        FlushBuffer();
        if (m_iSpanMode == spanNumbered && m_bNewSpan) {
            CString current = GetFilePath();
            CString last = VolumeFileName(true);
            CloseFile(false);
            if (current != last) {
                int existing = CZipPathUtil::FileExists(last);
                if (existing == 1 && !::DeleteFileA(last))
                    CFileException::ThrowOsError((LONG)::GetLastError(), last);
                if (existing == -1 && !::RemoveDirectoryA(last))
                    CFileException::ThrowOsError((LONG)::GetLastError(), last);
                if (!::MoveFileA(current, last))
                    CFileException::ThrowOsError((LONG)::GetLastError(), last);
            }
        }
    }
    CloseFile(bAfterException);
    m_pWriteBuffer.Release();
    m_uBuffered = 0;
    m_iCurrentVolume = -1;
    m_iSpanMode = spanNone;
    m_pFile = NULL;
    m_bNewSpan = false;
}

int CZipVolumeStore::SpanState() const
{
    if (m_iSpanMode == spanNone)
        return 0;
    return m_bNewSpan ? 1 : -1;
}

ULONGLONG CZipVolumeStore::Position() const
{
    return m_pFile->GetPosition() + m_uBuffered;
}

void CZipVolumeStore::Seek(ULONGLONG uPosition)
{
    m_pFile->Seek((LONGLONG)uPosition, CFile::begin);
}

ULONGLONG CZipVolumeStore::FreeDiskSpace() const
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0;
    CString root = CZipPathUtil::DriveRoot(GetFilePath());
    if (!CZipDriveQuery::Current().DiskFreeSpace(root, &sectorsPerCluster, &bytesPerSector, &freeClusters))
        return 0;
    // Disks of more than 4 GiB are common: the product needs 64 bits.
    return (ULONGLONG)sectorsPerCluster * bytesPerSector * freeClusters;
}

DWORD CZipVolumeStore::ClampedFreeSpace() const
{
    ULONGLONG space = FreeDiskSpace();
    return space > 0xFFFFFFFFull ? 0xFFFFFFFFu : (DWORD)space;
}

DWORD CZipVolumeStore::FreeOnVolume() const
{
    LONGLONG room = m_uVolumeRoom;
    if (m_iSpanMode == spanRemovable)
        room -= m_uBuffered;
    else
        room -= (LONGLONG)m_uBytesOnVolume + m_uBuffered;
    return room > 0 ? (DWORD)room : 0;
}

CString CZipVolumeStore::VolumeFileName(bool bLast, LPCTSTR lpszName) const
{
    CString name = lpszName != NULL ? CString(lpszName) : GetFilePath();
    CString drive, dir, title;
    CZipPathUtil::SplitPath(name, &drive, &dir, &title, NULL);
    CString result = drive + dir + title + ".";
    if (bLast)
        result += "zip";
    else
        result.AppendFormat("%.3d", m_iCurrentVolume);
    return result;
}

void CZipVolumeStore::AppendToBuffer(const BYTE* pData, DWORD uLength)
{
    while (uLength > 0) {
        DWORD room = m_pWriteBuffer.GetSize() - m_uBuffered;
        if (room == 0) {
            FlushBuffer();
            continue;
        }
        DWORD n = uLength < room ? uLength : room;
        memcpy(m_pWriteBuffer.GetBuffer() + m_uBuffered, pData, n);
        m_uBuffered += n;
        pData += n;
        uLength -= n;
    }
}

void CZipVolumeStore::WriteData(const void* pData, DWORD uLength, bool bWhole)
{
    if (uLength == 0)
        return;
    if (!m_pWriteBuffer.IsAllocated())
        m_pWriteBuffer.Allocate(m_uWriteBufferSize, false);
    const BYTE* p = static_cast<const BYTE*>(pData);
    if (m_iSpanMode == spanNone) {
        AppendToBuffer(p, uLength);
        return;
    }
    DWORD needed = bWhole ? uLength : 1;
    while (uLength > 0) {
        DWORD room = FreeOnVolume();
        while (room < needed) {
            if (m_iSpanMode == spanNumbered && m_uBytesOnVolume == 0 && m_uBuffered == 0)
                m_uVolumeRoom = needed; // a record larger than a volume makes its volume larger
            else
                StartNextVolume(needed);
            room = FreeOnVolume();
        }
        DWORD n = uLength < room ? uLength : room;
        AppendToBuffer(p, n);
        p += n;
        uLength -= n;
        if (bWhole)
            break;
    }
}

void CZipVolumeStore::FlushBuffer()
{
    if (m_uBuffered > 0) {
        m_uBytesOnVolume += m_uBuffered;
        DWORD n = m_uBuffered;
        m_uBuffered = 0;
        m_pFile->Write(m_pWriteBuffer.GetBuffer(), n);
    }
    if (m_iSpanMode == spanRemovable)
        m_uVolumeRoom = ClampedFreeSpace();
}

void CZipVolumeStore::StartNextVolume(DWORD uNeeded, LPCTSTR lpszFileName)
{
    FlushBuffer();
    if (m_uBytesOnVolume > 0) {
        if (m_iCurrentVolume + 1 >= maxVolumes)
            ThrowError(CZipError::codeTooManyVolumes);
        m_iCurrentVolume++;
        m_uBytesOnVolume = 0;
    }

    CString name;
    if (m_iSpanMode == spanRemovable)
        name = lpszFileName != NULL ? CString(lpszFileName) : GetFilePath();
    else
        name = VolumeFileName(false, lpszFileName);
    CloseFile(false);

    if (m_iSpanMode == spanRemovable) {
        CString root = CZipPathUtil::DriveRoot(name);
        CString label;
        label.Format("pkback# %.3d", m_iCurrentVolume + 1);
        int code = (int)uNeeded;
        for (;;) {
            if (!m_pDiskChange(m_iCurrentVolume + 1, code, m_pCallbackData))
                CZipError::ThrowCause(CZipError::aborted, name);
            if (CZipPathUtil::FileExists(name) != 0) {
                code = -2;
                continue;
            }
            if (!CZipDriveQuery::Current().SetLabel(root, label)) {
                code = -3;
                continue;
            }
            if (!m_internalFile.Open(name, kCreate)) {
                code = -4;
                continue;
            }
            break;
        }
        m_uVolumeRoom = ClampedFreeSpace();
    } else {
        m_uVolumeRoom = (DWORD)m_iVolumeSize;
        m_internalFile.OpenOrThrow(name, kCreate);
    }
}

DWORD CZipVolumeStore::ReadData(void* pData, DWORD uLength, bool bWhole)
{
    if (uLength == 0)
        return 0;
    BYTE* p = static_cast<BYTE*>(pData);
    DWORD got = m_pFile->Read(p, uLength);
    if (got == uLength)
        return got;
    if (m_iSpanMode == spanNone || (bWhole && got > 0))
        ThrowError(CZipError::codeBadZipFile);
    while (got < uLength) {
        ChangeVolume(m_iCurrentVolume + 1);
        DWORD n = m_pFile->Read(p + got, uLength - got);
        if (n == 0 || (bWhole && n < uLength))
            ThrowError(CZipError::codeBadZipFile);
        got += n;
    }
    return got;
}

void CZipVolumeStore::SettleSpanMode(int iVolume)
{
    m_iCurrentVolume = iVolume;
    if (iVolume == 0) {
        m_iSpanMode = spanNone;
        return;
    }
    // A memory file has no other volumes to go to.
    if (m_pFile != &m_internalFile)
        ThrowError(CZipError::codeBadZipFile);
    if (m_iSpanMode == spanDetect)
        m_iSpanMode = CZipPathUtil::IsDriveRemovable(GetFilePath()) ? spanRemovable : spanNumbered;
    else if (m_iSpanMode == spanNumberedOpen)
        m_iSpanMode = spanNumbered;
    if (m_iSpanMode == spanRemovable && m_pDiskChange == NULL)
        ThrowError(CZipError::codeNoCallback);
    m_iVolumeSize = iVolume;
    m_pWriteBuffer.Release();
}

void CZipVolumeStore::ChangeVolume(int iVolume)
{
    // A plain archive has one volume whatever its records say.
    if (iVolume == m_iCurrentVolume || m_iSpanMode == spanNone)
        return;
    // Nothing lies beyond the volume of the end record.
    if (iVolume < 0 || iVolume > m_iVolumeSize)
        ThrowError(CZipError::codeBadZipFile);
    CString name;
    if (m_iSpanMode == spanNumbered) {
        m_iCurrentVolume = iVolume;
        name = VolumeFileName(iVolume == m_iVolumeSize);
        CloseFile(false);
    } else {
        name = GetFilePath();
        CloseFile(false);
        m_iCurrentVolume = iVolume;
        if (!m_pDiskChange(iVolume + 1, -1, m_pCallbackData))
            CZipError::ThrowCause(CZipError::aborted, name);
    }
    m_internalFile.OpenOrThrow(name, kOpenReadOnly);
}
