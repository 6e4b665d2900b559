#include "afxarc.h"
#include "AfxConv.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

static_assert(sizeof(float) == 4 && sizeof(double) == 8, "IEEE scalars");
#if defined(__BYTE_ORDER__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "scalars are stored in host order, little-endian");
#endif

namespace
{

// A string is read in pieces of this size, so a hostile length costs no more
// memory than the bytes that really follow it.
const UINT kStringChunk = 64 * 1024;
const int kMinBufSize = 16;

} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pFile(pFile), m_nMode(nMode), m_nBufSize(nBufSize < kMinBufSize ? kMinBufSize : nBufSize),
      m_bUserBuf(lpBuf != NULL && nBufSize >= kMinBufSize)
{
    if (pFile == NULL)
        AfxThrowInvalidArgException();
    if (m_bUserBuf) {
        m_lpBufStart = static_cast<BYTE*>(lpBuf);
    } else {
        m_lpBufStart = static_cast<BYTE*>(malloc((size_t)m_nBufSize));
        if (m_lpBufStart == NULL)
            AfxThrowMemoryException();
    }
    // Loading starts with an empty buffer; storing with an empty one to fill.
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

CArchive::~CArchive()
{
    if (m_pFile != NULL && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
        }
    }
    if (!m_bUserBuf)
        free(m_lpBufStart);
}

void CArchive::Throw(int cause)
{
    AfxThrowArchiveException(cause, m_pFile != NULL ? (LPCSTR)m_pFile->GetFilePath() : NULL);
}

void CArchive::CheckStoring()
{
    if (m_pFile == NULL)
        Throw(CArchiveException::genericException);
    if (!IsStoring())
        Throw(CArchiveException::readOnly);
}

void CArchive::CheckLoading()
{
    if (m_pFile == NULL)
        Throw(CArchiveException::genericException);
    if (!IsLoading())
        Throw(CArchiveException::writeOnly);
}

// ---- raw bytes -------------------------------------------------------------

void CArchive::FillBuffer(UINT nBytes)
{
    UINT nHave = (UINT)(m_lpBufMax - m_lpBufCur);
    if (nHave >= nBytes)
        return;
    if (nBytes > (UINT)m_nBufSize)
        Throw(CArchiveException::genericException);
    // Keep the unread bytes at the start, then one read for the rest of the buffer.
    if (nHave > 0 && m_lpBufCur != m_lpBufStart)
        memmove(m_lpBufStart, m_lpBufCur, nHave);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + nHave;
    while (nHave < nBytes) {
        UINT nRead = m_pFile->Read(m_lpBufMax, (UINT)m_nBufSize - nHave);
        if (nRead == 0)
            Throw(CArchiveException::endOfFile);
        nHave += nRead;
        m_lpBufMax += nRead;
    }
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    if (nMax == 0)
        return 0;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    BYTE* pOut = static_cast<BYTE*>(lpBuf);
    UINT nDone = 0;
    // What is buffered first.
    UINT nBuffered = (UINT)(m_lpBufMax - m_lpBufCur);
    UINT n = nBuffered < nMax ? nBuffered : nMax;
    memcpy(pOut, m_lpBufCur, n);
    m_lpBufCur += n;
    nDone += n;
    // Whole buffers' worth straight from the file.
    while (nMax - nDone >= (UINT)m_nBufSize) {
        UINT nRead = m_pFile->Read(pOut + nDone, nMax - nDone);
        if (nRead == 0)
            return nDone;
        nDone += nRead;
    }
    // The tail through the buffer.
    while (nDone < nMax) {
        m_lpBufCur = m_lpBufStart;
        UINT nRead = m_pFile->Read(m_lpBufStart, (UINT)m_nBufSize);
        m_lpBufMax = m_lpBufStart + nRead;
        if (nRead == 0)
            break;
        n = nRead < nMax - nDone ? nRead : nMax - nDone;
        memcpy(pOut + nDone, m_lpBufCur, n);
        m_lpBufCur += n;
        nDone += n;
    }
    return nDone;
}

void CArchive::WriteBuffer()
{
    if (m_lpBufCur != m_lpBufStart)
        m_pFile->Write(m_lpBufStart, (UINT)(m_lpBufCur - m_lpBufStart));
    m_lpBufCur = m_lpBufStart;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    if (nMax == 0)
        return;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    const BYTE* pIn = static_cast<const BYTE*>(lpBuf);
    UINT nRoom = (UINT)(m_lpBufMax - m_lpBufCur);
    if (nMax <= nRoom) {
        memcpy(m_lpBufCur, pIn, nMax);
        m_lpBufCur += nMax;
        return;
    }
    WriteBuffer();
    if (nMax >= (UINT)m_nBufSize) {
        m_pFile->Write(pIn, nMax);
    } else {
        memcpy(m_lpBufCur, pIn, nMax);
        m_lpBufCur += nMax;
    }
}

void CArchive::Flush()
{
    if (m_pFile == NULL)
        return;
    if (IsLoading()) {
        if (m_lpBufMax != m_lpBufCur)
            m_pFile->Seek(-(LONGLONG)(m_lpBufMax - m_lpBufCur), CFile::current);
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
    } else {
        WriteBuffer();
    }
}

void CArchive::Close()
{
    if (m_pFile == NULL)
        return;
    try {
        Flush();
    } catch (...) {
        m_pFile = NULL;
        throw;
    }
    m_pFile = NULL;
}

void CArchive::Abort()
{
    m_pFile = NULL;
}

// ---- scalars ---------------------------------------------------------------

template <class T> void CArchive::Put(T value)
{
    CheckStoring();
    if ((size_t)(m_lpBufMax - m_lpBufCur) < sizeof(T))
        WriteBuffer();
    memcpy(m_lpBufCur, &value, sizeof(T));
    m_lpBufCur += sizeof(T);
}

template <class T> T CArchive::Get()
{
    CheckLoading();
    FillBuffer(sizeof(T));
    T value;
    memcpy(&value, m_lpBufCur, sizeof(T));
    m_lpBufCur += sizeof(T);
    return value;
}

CArchive& CArchive::operator<<(BYTE by)
{
    Put<uint8_t>(by);
    return *this;
}
CArchive& CArchive::operator<<(WORD w)
{
    Put<uint16_t>(w);
    return *this;
}
CArchive& CArchive::operator<<(int i)
{
    Put<int32_t>(i);
    return *this;
}
CArchive& CArchive::operator<<(UINT u)
{
    Put<uint32_t>(u);
    return *this;
}
CArchive& CArchive::operator<<(short w)
{
    Put<int16_t>(w);
    return *this;
}
CArchive& CArchive::operator<<(char ch)
{
    Put<uint8_t>((uint8_t)ch);
    return *this;
}
CArchive& CArchive::operator<<(bool b)
{
    Put<uint8_t>(b ? 1 : 0);
    return *this;
}
CArchive& CArchive::operator<<(LONGLONG ll)
{
    Put<int64_t>(ll);
    return *this;
}
CArchive& CArchive::operator<<(ULONGLONG ull)
{
    Put<uint64_t>(ull);
    return *this;
}
CArchive& CArchive::operator<<(float f)
{
    Put<float>(f);
    return *this;
}
CArchive& CArchive::operator<<(double d)
{
    Put<double>(d);
    return *this;
}
#ifndef AFX_LONG_IS_INT
CArchive& CArchive::operator<<(LONG l)
{
    Put<int32_t>((int32_t)l);
    return *this;
}
CArchive& CArchive::operator<<(DWORD dw)
{
    Put<uint32_t>((uint32_t)dw);
    return *this;
}
#endif

CArchive& CArchive::operator>>(BYTE& by)
{
    by = Get<uint8_t>();
    return *this;
}
CArchive& CArchive::operator>>(WORD& w)
{
    w = Get<uint16_t>();
    return *this;
}
CArchive& CArchive::operator>>(int& i)
{
    i = Get<int32_t>();
    return *this;
}
CArchive& CArchive::operator>>(UINT& u)
{
    u = Get<uint32_t>();
    return *this;
}
CArchive& CArchive::operator>>(short& w)
{
    w = Get<int16_t>();
    return *this;
}
CArchive& CArchive::operator>>(char& ch)
{
    ch = (char)Get<uint8_t>();
    return *this;
}
CArchive& CArchive::operator>>(bool& b)
{
    b = Get<uint8_t>() != 0;
    return *this;
}
CArchive& CArchive::operator>>(LONGLONG& ll)
{
    ll = Get<int64_t>();
    return *this;
}
CArchive& CArchive::operator>>(ULONGLONG& ull)
{
    ull = Get<uint64_t>();
    return *this;
}
CArchive& CArchive::operator>>(float& f)
{
    f = Get<float>();
    return *this;
}
CArchive& CArchive::operator>>(double& d)
{
    d = Get<double>();
    return *this;
}
#ifndef AFX_LONG_IS_INT
CArchive& CArchive::operator>>(LONG& l)
{
    l = Get<int32_t>();
    return *this;
}
CArchive& CArchive::operator>>(DWORD& dw)
{
    dw = Get<uint32_t>();
    return *this;
}
#endif

// ---- counts and strings ----------------------------------------------------

DWORD_PTR CArchive::ReadCount()
{
    uint16_t w = Get<uint16_t>();
    if (w != 0xFFFF)
        return w;
    uint32_t dw = Get<uint32_t>();
    if (dw != 0xFFFFFFFF)
        return dw;
    uint64_t qw = Get<uint64_t>();
    if (qw > (uint64_t)(DWORD_PTR)-1)
        Throw(CArchiveException::badIndex);
    return (DWORD_PTR)qw;
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF) {
        Put<uint16_t>((uint16_t)dwCount);
        return;
    }
    Put<uint16_t>(0xFFFF);
    if ((uint64_t)dwCount < 0xFFFFFFFF) {
        Put<uint32_t>((uint32_t)dwCount);
        return;
    }
    Put<uint32_t>(0xFFFFFFFF);
    Put<uint64_t>((uint64_t)dwCount);
}

UINT CArchive::ReadStringLength(int& nCharSize)
{
    nCharSize = 1;
    uint8_t b = Get<uint8_t>();
    if (b < 0xFF)
        return b;
    uint16_t w = Get<uint16_t>();
    if (w == 0xFFFE) {
        nCharSize = 2;
        b = Get<uint8_t>();
        if (b < 0xFF)
            return b;
        w = Get<uint16_t>();
    }
    if (w < 0xFFFF)
        return w;
    uint32_t dw = Get<uint32_t>();
    // 0xFFFFFFFF announces a 64-bit length: nothing that large is ever read.
    if (dw == 0xFFFFFFFF)
        Throw(CArchiveException::badIndex);
    return dw;
}

void CArchive::WriteStringLength(UINT nLength)
{
    if (nLength < 0xFF) {
        Put<uint8_t>((uint8_t)nLength);
    } else if (nLength < 0xFFFE) {
        Put<uint8_t>(0xFF);
        Put<uint16_t>((uint16_t)nLength);
    } else {
        Put<uint8_t>(0xFF);
        Put<uint16_t>(0xFFFF);
        Put<uint32_t>(nLength);
    }
}

void CArchive::ReadExact(CString& str, UINT nBytes)
{
    if (nBytes > (UINT)(INT_MAX - 64))
        Throw(CArchiveException::badIndex);
    str.Empty();
    UINT nDone = 0;
    while (nDone < nBytes) {
        UINT nPiece = nBytes - nDone < kStringChunk ? nBytes - nDone : kStringChunk;
        char* p = str.GetBuffer((int)(nDone + nPiece));
        UINT nRead = Read(p + nDone, nPiece);
        nDone += nRead;
        str.ReleaseBuffer((int)nDone);
        if (nRead < nPiece)
            Throw(CArchiveException::endOfFile);
    }
}

CArchive& operator<<(CArchive& ar, const CString& str)
{
    ar.WriteStringLength((UINT)str.GetLength());
    ar.Write(str.GetString(), (UINT)str.GetLength());
    return ar;
}

CArchive& operator<<(CArchive& ar, LPCSTR psz)
{
    UINT nLength = psz == NULL ? 0 : (UINT)strlen(psz);
    ar.WriteStringLength(nLength);
    if (nLength > 0)
        ar.Write(psz, nLength);
    return ar;
}

// A UTF-16 string (written by a wide-character program) is converted to the
// system's code page.
CArchive& operator>>(CArchive& ar, CString& str)
{
    int nCharSize = 1;
    UINT nLength = ar.ReadStringLength(nCharSize);
    if (nCharSize == 1) {
        CString text;
        ar.ReadExact(text, nLength);
        str = static_cast<CString&&>(text);
        return ar;
    }
    if (nLength > (UINT)(INT_MAX / 2 - 64))
        AfxThrowArchiveException(CArchiveException::badIndex,
                                 ar.GetFile() ? (LPCSTR)ar.GetFile()->GetFilePath() : NULL);
    if (nLength == 0) {
        str.Empty();
        return ar;
    }
    CString raw;
    ar.ReadExact(raw, nLength * 2);
    std::vector<WCHAR> wide(nLength);
    memcpy(wide.data(), raw.GetString(), (size_t)nLength * 2);
    str = AfxWideToMultiByte(wide.data(), (int)nLength);
    return ar;
}

// ---- text lines ------------------------------------------------------------

BOOL CArchive::ReadString(CString& rString)
{
    CheckLoading();
    rString.Empty();
    BOOL bAny = FALSE;
    for (;;) {
        if (m_lpBufCur == m_lpBufMax) {
            m_lpBufCur = m_lpBufStart;
            m_lpBufMax = m_lpBufStart + m_pFile->Read(m_lpBufStart, (UINT)m_nBufSize);
            if (m_lpBufMax == m_lpBufStart)
                break;
        }
        BYTE* pNewline = static_cast<BYTE*>(memchr(m_lpBufCur, '\n', (size_t)(m_lpBufMax - m_lpBufCur)));
        BYTE* pStop = pNewline != NULL ? pNewline : m_lpBufMax;
        rString.Append(reinterpret_cast<LPCSTR>(m_lpBufCur), (int)(pStop - m_lpBufCur));
        bAny = TRUE;
        if (pNewline != NULL) {
            m_lpBufCur = pNewline + 1;
            break;
        }
        m_lpBufCur = m_lpBufMax;
    }
    int n = rString.GetLength();
    if (n > 0 && rString[n - 1] == '\r')
        rString.Delete(n - 1);
    return bAny;
}

LPSTR CArchive::ReadString(LPSTR lpsz, UINT nMax)
{
    CheckLoading();
    if (lpsz == NULL || nMax == 0)
        AfxThrowInvalidArgException();
    UINT nDone = 0;
    BOOL bAny = FALSE;
    while (nDone + 1 < nMax) {
        if (m_lpBufCur == m_lpBufMax) {
            m_lpBufCur = m_lpBufStart;
            m_lpBufMax = m_lpBufStart + m_pFile->Read(m_lpBufStart, (UINT)m_nBufSize);
            if (m_lpBufMax == m_lpBufStart)
                break;
        }
        bAny = TRUE;
        char ch = (char)*m_lpBufCur++;
        if (ch == '\n')
            break;
        lpsz[nDone++] = ch;
    }
    if (nDone > 0 && lpsz[nDone - 1] == '\r')
        --nDone;
    lpsz[nDone] = '\0';
    return bAny ? lpsz : NULL;
}

void CArchive::WriteString(LPCSTR lpsz)
{
    if (lpsz != NULL)
        Write(lpsz, (UINT)strlen(lpsz));
}
