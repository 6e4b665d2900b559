#include "RecordCodec.h"

#include "TextUnit.h"

namespace
{

CFile* FileOf(CArchive& ar)
{
    CFile* pFile = ar.GetFile();
    if (pFile == NULL)
        AfxThrowArchiveException(CArchiveException::genericException);
    return pFile;
}

// Where the next byte will be read. A loading archive keeps its buffer: a
// flush here would make the next read fetch a whole buffer again.
ULONGLONG ReadPosition(CArchive& ar)
{
    if (!ar.IsLoading())
        ar.Flush();
    ULONGLONG nPosition = FileOf(ar)->GetPosition();
    UINT nBuffered = ar.GetBufferedCount();
    return nPosition >= nBuffered ? nPosition - nBuffered : 0;
}

// A count of items that can follow in nBytesLeft. Divided, not multiplied:
// a 64-bit count times the item size would wrap past the check.
DWORD CheckCount(DWORD_PTR nCount, UINT nMinItemSize, UINT nBytesLeft)
{
    if (ULONGLONG(nCount) > nBytesLeft / (nMinItemSize == 0 ? 1 : nMinItemSize))
        AfxThrowArchiveException(CArchiveException::badIndex);
    return DWORD(nCount);
}

// Texts up to this length are read on the stack, not into a CString.
const UINT kShortText = 1024;

} // namespace

ULONGLONG GetReadPosition(CArchive& ar)
{
    return ReadPosition(ar);
}

UINT GetBytesLeft(CArchive& ar)
{
    ULONGLONG nPosition = ReadPosition(ar);
    ULONGLONG nLength = FileOf(ar)->GetLength();
    return nPosition >= nLength ? 0 : UINT(nLength - nPosition);
}

void RequireBytes(CArchive& ar, ULONGLONG nBytes)
{
    if (nBytes > GetBytesLeft(ar))
        AfxThrowArchiveException(CArchiveException::endOfFile);
}

DWORD ReadCheckedCount(CArchive& ar, UINT nMinItemSize)
{
    return CheckCount(ar.ReadCount(), nMinItemSize, GetBytesLeft(ar));
}

DWORD ReadCheckedCount(CRecordBytes& in, UINT nMinItemSize)
{
    return CheckCount(in.ReadCount(), nMinItemSize, in.GetBytesLeft());
}

void SkipBytes(CArchive& ar, UINT nBytes)
{
    RequireBytes(ar, nBytes);
    ar.Flush();
    FileOf(ar)->Seek(LONGLONG(nBytes), CFile::current);
}

void CopyTextField(char* pszField, size_t nWidth, LPCSTR pszText, size_t nLength)
{
    TextCopyField(pszField, nWidth, pszText, nLength);
}

size_t GetFieldLength(const char* pszField, size_t nWidth)
{
    const void* pEnd = memchr(pszField, '\0', nWidth);
    return pEnd == NULL ? nWidth : size_t(static_cast<const char*>(pEnd) - pszField);
}

void ReadArchiveString(CArchive& ar, CString& strText)
{
    ULONGLONG nStart = ReadPosition(ar);
    int nCharSize = 1;
    UINT nLength = ar.ReadStringLength(nCharSize);
    RequireBytes(ar, ULONGLONG(nLength) * UINT(nCharSize));
    if (nCharSize == 1) {
        CString strRead;
        if (nLength > 0) {
            char* p = strRead.GetBuffer(int(nLength));
            UINT nRead = ar.Read(p, nLength);
            strRead.ReleaseBuffer(int(nRead));
            if (nRead != nLength)
                AfxThrowArchiveException(CArchiveException::endOfFile);
        }
        strText = static_cast<CString&&>(strRead);
        return;
    }
    // Characters of a wide-character writer: the class library converts them,
    // now that their length is known to be there.
    ar.Flush();
    FileOf(ar)->Seek(LONGLONG(nStart), CFile::begin);
    ar >> strText;
}

void ReadArchiveText(CArchive& ar, char* pszField, size_t nWidth)
{
    ULONGLONG nStart = ReadPosition(ar);
    int nCharSize = 1;
    UINT nLength = ar.ReadStringLength(nCharSize);
    if (nCharSize == 1 && nLength <= kShortText) {
        RequireBytes(ar, nLength);
        char szText[kShortText];
        if (nLength > 0 && ar.Read(szText, nLength) != nLength)
            AfxThrowArchiveException(CArchiveException::endOfFile);
        CopyTextField(pszField, nWidth, szText, nLength);
        return;
    }
    // Long or wide: read again from the start as a whole string.
    ar.Flush();
    FileOf(ar)->Seek(LONGLONG(nStart), CFile::begin);
    CString strText;
    ReadArchiveString(ar, strText);
    CopyTextField(pszField, nWidth, strText.GetString(), size_t(strText.GetLength()));
}

namespace
{

// A wide-character writer's string, converted as the class library does:
// the archive reads it again from its length on.
void ReadWideString(CRecordBytes& in, const BYTE* pStart, UINT nLength, CString& strText)
{
    const BYTE* pText = in.Take(nLength * 2);
    CSafeMemFile file(pStart, UINT(pText + nLength * 2 - pStart));
    CArchive ar(&file, CArchive::load, RECORD_ARCHIVE_BUFFER);
    ar >> strText;
}

} // namespace

void ReadArchiveString(CRecordBytes& in, CString& strText)
{
    const UINT nStart = in.GetReadCount();
    int nCharSize = 1;
    UINT nLength = in.ReadStringLength(nCharSize);
    if (ULONGLONG(nLength) * UINT(nCharSize) > in.GetBytesLeft())
        AfxThrowArchiveException(CArchiveException::endOfFile);
    if (nCharSize == 1) {
        const BYTE* pText = in.Take(nLength);
        strText = CString(reinterpret_cast<LPCSTR>(pText), int(nLength));
        return;
    }
    ReadWideString(in, in.GetStart() + nStart, nLength, strText);
}

void ReadArchiveText(CRecordBytes& in, char* pszField, size_t nWidth)
{
    const UINT nStart = in.GetReadCount();
    int nCharSize = 1;
    UINT nLength = in.ReadStringLength(nCharSize);
    if (ULONGLONG(nLength) * UINT(nCharSize) > in.GetBytesLeft())
        AfxThrowArchiveException(CArchiveException::endOfFile);
    if (nCharSize == 1) {
        CopyTextField(pszField, nWidth, reinterpret_cast<LPCSTR>(in.Take(nLength)), nLength);
        return;
    }
    CString strText;
    ReadWideString(in, in.GetStart() + nStart, nLength, strText);
    CopyTextField(pszField, nWidth, strText.GetString(), size_t(strText.GetLength()));
}

void WriteArchiveString(CArchive& ar, LPCSTR pszText, size_t nLength)
{
    if (ULONGLONG(nLength) > 0xFFFFFFFEull)
        AfxThrowArchiveException(CArchiveException::badIndex);
    ar.WriteStringLength(UINT(nLength));
    if (nLength > 0)
        ar.Write(pszText, UINT(nLength));
}

void ReadCountedString(CArchive& ar, CString& strText)
{
    DWORD dwLength = 0;
    ar >> dwLength;
    RequireBytes(ar, dwLength);
    CString strRead;
    if (dwLength > 0) {
        char* p = strRead.GetBuffer(int(dwLength));
        UINT nRead = ar.Read(p, dwLength);
        strRead.ReleaseBuffer(int(nRead));
        if (nRead != dwLength)
            AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    strText = static_cast<CString&&>(strRead);
}

void WriteCountedString(CArchive& ar, LPCSTR pszText, size_t nLength)
{
    // More than a u32 says (only where size_t is wider).
    if ((nLength >> 16 >> 16) != 0)
        AfxThrowArchiveException(CArchiveException::badIndex);
    ar << DWORD(nLength);
    if (nLength > 0)
        ar.Write(pszText, UINT(nLength));
}

void SerializeText(CArchive& ar, CString& strText)
{
    if (ar.IsStoring())
        WriteArchiveString(ar, strText.GetString(), size_t(strText.GetLength()));
    else
        ReadArchiveString(ar, strText);
}

void SerializeCountedText(CArchive& ar, CString& strText)
{
    if (ar.IsStoring())
        WriteCountedString(ar, strText.GetString(), size_t(strText.GetLength()));
    else
        ReadCountedString(ar, strText);
}
