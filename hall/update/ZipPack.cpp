#include "ZipPack.h"

#include "ZipDriveQuery.h"
#include "ZipPathUtil.h"

#include <string.h>
#include <windows.h>

namespace
{

// The full form of a path, "" when there is none.
CString FullPath(LPCTSTR lpszPath)
{
    DWORD needed = ::GetFullPathNameA(lpszPath, 0, NULL, NULL);
    if (needed == 0)
        return CString();
    CString full;
    DWORD got = ::GetFullPathNameA(lpszPath, needed, full.GetBuffer((int)needed), NULL);
    full.ReleaseBuffer(got < needed ? (int)got : 0);
    return full;
}

// True when the target, once "." and ".." are resolved, lies inside the folder.
bool LiesBelow(LPCTSTR lpszFolder, LPCTSTR lpszTarget)
{
    CString folder = CZipPathUtil::WithoutTrailingSeparator(FullPath(lpszFolder));
    CString target = FullPath(lpszTarget);
    if (folder.IsEmpty() || target.GetLength() <= folder.GetLength() + 1)
        return false;
    return strncmp(target, folder, folder.GetLength()) == 0 && target[folder.GetLength()] == '\\';
}

void SetModificationTime(LPCTSTR lpszPath, time_t time)
{
    if (time == (time_t)-1)
        return;
    ULONGLONG ticks = (ULONGLONG)time * 10000000ull + 116444736000000000ull;
    FILETIME fileTime;
    fileTime.dwLowDateTime = (DWORD)ticks;
    fileTime.dwHighDateTime = (DWORD)(ticks >> 32);
    HANDLE hFile = ::CreateFileA(lpszPath, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    ::SetFileTime(hFile, NULL, NULL, &fileTime);
    ::CloseHandle(hFile);
}

// Free bytes on the drive of the path; as good as unlimited when the drive does not say.
ULONGLONG FreeSpaceAt(LPCTSTR lpszPath)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0;
    if (!CZipDriveQuery::Current().DiskFreeSpace(CZipPathUtil::DriveRoot(FullPath(lpszPath)), &sectorsPerCluster,
                                                 &bytesPerSector, &freeClusters))
        return ~0ull;
    return (ULONGLONG)sectorsPerCluster * bytesPerSector * freeClusters;
}

} // namespace

CZipPack::CZipPack() : m_iFileOpened(nothing)
{
    m_centralDir.Init(&m_storage);
}

CZipPack::~CZipPack()
{
    if (!IsClosed())
        CloseArchive(true);
}

void CZipPack::ThrowError(int iCode) const
{
    CZipError::Throw(iCode, m_storage.GetFilePath());
}

template <class OpenStorage> bool CZipPack::Open(int iMode, OpenStorage openStorage)
{
    m_info.Init();
    m_info.m_pBuffer.Release();
    m_iFileOpened = nothing;
    m_centralDir.Init(&m_storage);
    try {
        openStorage();
        if (iMode == zipOpen || iMode == zipOpenReadOnly)
            m_centralDir.Read();
    } catch (CException*) {
        // Nothing stays open behind a failed open.
        m_centralDir.Clear();
        m_storage.CloseStorage(true);
        throw;
    }
    return true;
}

bool CZipPack::OpenArchive(LPCTSTR lpszPath, int iMode, int iVolumeSize)
{
    if (!IsClosed() || lpszPath == NULL || iMode < zipOpen || iMode > zipCreateSpan)
        return false;
    return Open(iMode, [&] { m_storage.OpenStorage(lpszPath, iMode, iVolumeSize); });
}

bool CZipPack::OpenFromMemory(CMemFile& file, int iMode)
{
    if (!IsClosed() || iMode < zipOpen || iMode > zipCreate)
        return false;
    return Open(iMode, [&] { m_storage.OpenStorage(file, iMode); });
}

void CZipPack::CloseArchive(bool bAfterException)
{
    if (IsClosed())
        return;
    if (!bAfterException) {
        if (m_iFileOpened == extract)
            CloseEntry(true);
        else if (m_iFileOpened == compress)
            CloseNewEntry();
        m_centralDir.WriteDirectory();
    } else {
        // A stream cut short by an exception is not ended: its memory goes.
        m_info.ReleaseBlocks();
        m_info.Init();
        m_info.m_pBuffer.Release();
    }
    m_iFileOpened = nothing;
    m_centralDir.Clear();
    m_storage.CloseStorage(bAfterException);
}

bool CZipPack::CopyEntryHeader(CZipEntryHeader& header, int iIndex) const
{
    if (iIndex < 0 || iIndex >= EntryCount())
        return false;
    header = *m_centralDir.GetHeader(iIndex);
    return true;
}

bool CZipPack::SetPassword(LPCTSTR lpszPassword)
{
    if (m_iFileOpened != nothing)
        return false;
    if (lpszPassword == NULL)
        m_pszPassword.Release();
    else
        m_pszPassword.Assign(lpszPassword, (DWORD)strlen(lpszPassword));
    return true;
}

void CZipPack::SetDiskChangeCallback(DiskChangeCallback pCallback, void* pData)
{
    m_storage.SetDiskChangeCallback(pCallback, pData);
}

bool CZipPack::OpenEntry(int iIndex)
{
    if (iIndex < 0 || iIndex >= EntryCount() || m_storage.SpanState() == 1 || m_iFileOpened != nothing)
        return false;
    CZipEntryHeader* pHeader = m_centralDir.GetHeader(iIndex);
    if (pHeader->IsEncrypted() && m_pszPassword.GetSize() == 0)
        return false;

    m_info.Init();
    m_centralDir.OpenFile(iIndex);
    DWORD compressed = pHeader->m_uComprSize;
    if (pHeader->IsEncrypted()) {
        if (compressed < CZipCipher::headerSize) {
            m_centralDir.m_pOpenedFile = NULL;
            ThrowError(CZipError::codeBadZipFile);
        }
        BYTE head[CZipCipher::headerSize];
        m_storage.ReadData(head, CZipCipher::headerSize, false);
        m_keys.Init(m_pszPassword.GetBuffer(), m_pszPassword.GetSize());
        m_keys.Decode(head, CZipCipher::headerSize);
        BYTE check = pHeader->HasDataDescriptor() ? (BYTE)(pHeader->m_uModTime >> 8) : (BYTE)(pHeader->m_uCrc32 >> 24);
        if (head[CZipCipher::headerSize - 1] != check) {
            m_centralDir.m_pOpenedFile = NULL;
            ThrowError(CZipError::codeBadPassword);
        }
        compressed -= CZipCipher::headerSize;
    }
    m_info.m_uComprLeft = compressed;
    m_info.m_uUncomprLeft = pHeader->m_uUncomprSize;
    m_info.m_uCrc32 = 0;
    if (pHeader->m_uMethod == 8) {
        int result = inflateInit2_(&m_info.m_stream, -MAX_WBITS, "1.1.3", (int)sizeof(z_stream));
        if (result != Z_OK) {
            m_centralDir.m_pOpenedFile = NULL;
            CZipError::CheckZlib(result, m_storage.GetFilePath());
        }
    }
    m_info.m_pBuffer.Allocate(CZipStreamState::bufferSize, false);
    m_iFileOpened = extract;
    return true;
}

void CZipPack::FillInput()
{
    z_stream& stream = m_info.m_stream;
    if (stream.avail_in != 0 || m_info.m_uComprLeft == 0)
        return;
    DWORD chunk = m_info.m_pBuffer.GetSize();
    if (chunk > m_info.m_uComprLeft)
        chunk = m_info.m_uComprLeft;
    m_storage.ReadData(m_info.m_pBuffer.GetBuffer(), chunk, false);
    m_info.m_uComprLeft -= chunk;
    if (m_centralDir.m_pOpenedFile->IsEncrypted())
        m_keys.Decode(m_info.m_pBuffer.GetBuffer(), chunk);
    stream.next_in = m_info.m_pBuffer.GetBuffer();
    stream.avail_in = chunk;
}

bool CZipPack::HasDataBeyondSize()
{
    z_stream& stream = m_info.m_stream;
    if (m_centralDir.m_pOpenedFile->m_uMethod == 0)
        return stream.avail_in > 0 || m_info.m_uComprLeft > 0;
    // One byte more out of the stream tells.
    for (;;) {
        FillInput();
        BYTE extra = 0;
        stream.next_out = &extra;
        stream.avail_out = 1;
        int result = inflate(&stream, Z_SYNC_FLUSH);
        if (stream.avail_out == 0)
            return true;
        if (result == Z_STREAM_END || result == Z_BUF_ERROR)
            return false;
        if (result != Z_OK)
            return true; // what follows the declared data is damaged
    }
}

DWORD CZipPack::ReadEntry(void* pBuffer, DWORD uSize)
{
    if (m_iFileOpened != extract || pBuffer == NULL || uSize == 0)
        return 0;
    CZipEntryHeader* pHeader = m_centralDir.m_pOpenedFile;
    z_stream& stream = m_info.m_stream;
    BYTE* pOut = static_cast<BYTE*>(pBuffer);
    DWORD wanted = uSize < m_info.m_uUncomprLeft ? uSize : m_info.m_uUncomprLeft;
    stream.next_out = pOut;
    stream.avail_out = wanted;
    DWORD done = 0;
    while (stream.avail_out > 0) {
        FillInput();

        BYTE* pStart = stream.next_out;
        DWORD produced;
        if (pHeader->m_uMethod == 0) {
            DWORD n = stream.avail_in < stream.avail_out ? stream.avail_in : stream.avail_out;
            // The stored data ended before the size its header gives.
            if (n == 0)
                ThrowError(CZipError::codeBadZipFile);
            memcpy(stream.next_out, stream.next_in, n);
            stream.next_in += n;
            stream.avail_in -= n;
            stream.total_in += n;
            stream.next_out += n;
            stream.avail_out -= n;
            stream.total_out += n;
            produced = n;
        } else {
            uLong before = stream.total_out;
            int result = inflate(&stream, Z_SYNC_FLUSH);
            produced = (DWORD)(stream.total_out - before);
            // A stream that ends, or has no input left, before the size its
            // header gives is damaged; going on would loop for ever.
            if (result == Z_STREAM_END && stream.avail_out > 0)
                ThrowError(CZipError::codeBadZipFile);
            if (result == Z_BUF_ERROR && produced == 0 && stream.avail_in == 0 && m_info.m_uComprLeft == 0)
                ThrowError(CZipError::codeBadZipFile);
            if (result != Z_STREAM_END && result != Z_BUF_ERROR)
                CZipError::CheckZlib(result, m_storage.GetFilePath());
        }
        m_info.m_uCrc32 = crc32(m_info.m_uCrc32, pStart, produced);
        m_info.m_uUncomprLeft -= produced;
        done += produced;
    }
    return done;
}

bool CZipPack::CloseEntry(bool bAfterException)
{
    if (m_iFileOpened != extract)
        return false;
    CZipEntryHeader* pHeader = m_centralDir.m_pOpenedFile;
    bool complete = m_info.m_uUncomprLeft == 0;
    bool crcMatches = m_info.m_uCrc32 == pHeader->m_uCrc32;
    // Data that go on past the declared size make the entry damaged, not
    // quietly cut.
    bool overrun = complete && !bAfterException && HasDataBeyondSize();
    if (pHeader->m_uMethod == 8)
        inflateEnd(&m_info.m_stream);
    m_info.m_pBuffer.Release();
    m_centralDir.m_pOpenedFile = NULL;
    m_iFileOpened = nothing;
    if (bAfterException || !complete)
        return false;
    if (overrun)
        ThrowError(CZipError::codeBadZipFile);
    if (!crcMatches)
        ThrowError(CZipError::codeBadCrc);
    return true;
}

bool CZipPack::ExtractEntry(int iIndex, LPCTSTR lpszPath, bool bFullPath, LPCTSTR lpszNewName,
                            ZipProgressCallback pCallback, void* pUserData, DWORD nBufSize)
{
    // Without a buffer the copy would never end; without a folder the entry
    // would land at the root of the drive.
    if (nBufSize == 0 || lpszPath == NULL || *lpszPath == '\0')
        return false;
    if (iIndex < 0 || iIndex >= EntryCount() || m_iFileOpened != nothing)
        return false;
    CZipEntryHeader* pHeader = m_centralDir.GetHeader(iIndex);

    CString folder = CZipPathUtil::WithoutTrailingSeparator(lpszPath);
    CString relative;
    if (lpszNewName != NULL)
        relative = lpszNewName;
    else if (bFullPath)
        relative = pHeader->EntryName();
    else {
        CString title, ext;
        CZipPathUtil::SplitPath(pHeader->EntryName(), NULL, NULL, &title, &ext);
        relative = title + ext;
    }
    CString target = folder + "\\" + relative;
    if (lpszNewName == NULL) {
        // The archive's own names must stay inside the folder.
        CString inner = CZipPathUtil::WithoutTrailingSeparator(relative);
        bool folderItself = inner.IsEmpty() && pHeader->IsFolder();
        if (!folderItself && (!CZipPathUtil::IsContainedPath(inner) || !LiesBelow(folder, target)))
            ThrowError(CZipError::codeBadZipFile);
    }

    // Stored attributes (read-only, hidden, system) are not applied: the next
    // update must be able to write over what this one unpacked.
    if (pHeader->IsFolder()) {
        CZipPathUtil::ForceFolder(target);
        return true;
    }
    // Archives arrive over plain HTTP: an entry that claims more than the
    // target's disk has left is refused before anything is written.
    if (pHeader->m_uUncomprSize > FreeSpaceAt(target))
        return false;

    if (!OpenEntry(iIndex))
        return false;
    CString drive, dir;
    CZipPathUtil::SplitPath(target, &drive, &dir, NULL, NULL);
    CZipPathUtil::ForceFolder(drive + dir);
    CZipLargeFile file;
    try {
        file.OpenOrThrow(target, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite);
    } catch (CException*) {
        CloseEntry(true);
        throw;
    }

    bool closed = false;
    try {
        CZipBuffer buffer(nBufSize, false);
        DWORD written = 0;
        bool stopped = false;
        DWORD n;
        do {
            n = ReadEntry(buffer.GetBuffer(), nBufSize);
            if (n > 0) {
                file.Write(buffer.GetBuffer(), n);
                written += n;
                if (pCallback != NULL && !pCallback(written, pUserData)) {
                    stopped = true;
                    break;
                }
            }
        } while (n == nBufSize);
        file.Close();
        if (stopped)
            CloseEntry(true);
        else
            closed = CloseEntry();
    } catch (CException*) {
        // A file that failed its check or was cut short is not left behind.
        file.Abort();
        if (m_iFileOpened == extract)
            CloseEntry(true);
        ::DeleteFileA(target);
        throw;
    }
    if (!closed) {
        ::DeleteFileA(target);
        return false;
    }
    SetModificationTime(target, pHeader->GetTime());
    return true;
}

void CZipPack::WriteEntryBuffer(DWORD uLength)
{
    BYTE* p = m_info.m_pBuffer.GetBuffer();
    if (m_centralDir.m_pOpenedFile->IsEncrypted())
        m_keys.Encode(p, uLength);
    m_storage.WriteData(p, uLength, false);
}

bool CZipPack::CloseNewEntry()
{
    if (m_iFileOpened != compress)
        return false;
    CZipEntryHeader* pHeader = m_centralDir.m_pOpenedFile;
    z_stream& stream = m_info.m_stream;
    DWORD bufferSize = m_info.m_pBuffer.GetSize();
    stream.avail_in = 0;
    if (pHeader->m_uMethod == 8) {
        int result;
        do {
            if (stream.avail_out == 0) {
                WriteEntryBuffer(bufferSize);
                stream.next_out = m_info.m_pBuffer.GetBuffer();
                stream.avail_out = bufferSize;
            }
            result = deflate(&stream, Z_FINISH);
        } while (result == Z_OK);
        if (result != Z_STREAM_END)
            CZipError::CheckZlib(result, m_storage.GetFilePath());
    }
    DWORD pending = bufferSize - stream.avail_out;
    if (pending > 0)
        WriteEntryBuffer(pending);
    if (pHeader->m_uMethod == 8)
        CZipError::CheckZlib(deflateEnd(&stream), m_storage.GetFilePath());
    pHeader->m_uComprSize += (DWORD)stream.total_out;
    pHeader->m_uUncomprSize = (DWORD)stream.total_in;
    m_centralDir.CloseNewEntry();
    m_iFileOpened = nothing;
    m_info.m_pBuffer.Release();
    return true;
}
