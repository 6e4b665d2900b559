#include "afxstr.h"
#include "afxexcept.h"

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace
{

// The shared empty string: never written, so any thread may point at it.
struct NilString
{
    int nDataLength;
    int nAllocLength;
    char chNul;
};
NilString g_nil = {0, 0, '\0'};

const int kMaxLength = INT_MAX - 64;

inline bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

inline BYTE FoldLower(BYTE c)
{
    return (c >= 'A' && c <= 'Z') ? (BYTE)(c + ('a' - 'A')) : c;
}

// True when the character of length n at p is one of the characters of pszSet.
bool InSet(LPCSTR p, int n, LPCSTR pszSet)
{
    for (LPCSTR q = pszSet; *q != '\0';) {
        int m = CString::CharLength(q);
        if (m == n && memcmp(p, q, (size_t)n) == 0)
            return true;
        q += m;
    }
    return false;
}

// Bytes of psz (from its start) made of characters in (bIn) or out of pszSet.
int Span(LPCSTR psz, LPCSTR pszSet, bool bIn)
{
    LPCSTR p = psz;
    while (*p != '\0') {
        int n = CString::CharLength(p);
        if (InSet(p, n, pszSet) != bIn)
            break;
        p += n;
    }
    return (int)(p - psz);
}

int CheckedLength(size_t n)
{
    if (n > (size_t)kMaxLength)
        AfxThrowMemoryException();
    return (int)n;
}

// Short strings are made and dropped by the thousand (names of list items,
// captions): their buffers come from free lists of three block sizes that
// keep their memory, instead of one heap call each. A sanitizer build
// leaves every buffer to the heap, so that it still sees each one.
#if defined(__SANITIZE_ADDRESS__)
#define AFX_STRING_BLOCKS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define AFX_STRING_BLOCKS 0
#endif
#endif
#ifndef AFX_STRING_BLOCKS
#define AFX_STRING_BLOCKS 1
#endif

class CStringBlocks
{
public:
    // The class of a buffer of nBytes, or -1 for one the heap gives.
    static int ClassOf(size_t nBytes) noexcept
    {
        if (!AFX_STRING_BLOCKS)
            return -1;
        for (int i = 0; i < kClasses; ++i) {
            if (nBytes <= kBlockSize[i])
                return i;
        }
        return -1;
    }

    static void* Take(int nClass) noexcept
    {
        Pool& pool = s_Pools[nClass];
        Lock(pool);
        if (pool.pFree == nullptr)
            Refill(pool, kBlockSize[nClass]);
        Block* p = pool.pFree;
        if (p != nullptr)
            pool.pFree = p->pNext;
        Unlock(pool);
        return p;
    }

    static void Give(int nClass, void* p) noexcept
    {
        Pool& pool = s_Pools[nClass];
        Lock(pool);
        Block* block = static_cast<Block*>(p);
        block->pNext = pool.pFree;
        pool.pFree = block;
        Unlock(pool);
    }

private:
    static constexpr int kClasses = 3;
    static constexpr size_t kBlockSize[kClasses] = {32, 64, 128};
    static constexpr size_t kChunkBytes = 8192;

    struct Block
    {
        Block* pNext;
    };
    struct Pool
    {
        std::atomic_flag busy = ATOMIC_FLAG_INIT;
        Block* pFree = nullptr;
    };

    static void Lock(Pool& pool) noexcept
    {
        while (pool.busy.test_and_set(std::memory_order_acquire))
            std::this_thread::yield();
    }
    static void Unlock(Pool& pool) noexcept { pool.busy.clear(std::memory_order_release); }

    // A chunk cut into blocks; chunks are never given back.
    static void Refill(Pool& pool, size_t nBlock) noexcept
    {
        char* chunk = static_cast<char*>(malloc(kChunkBytes));
        if (chunk == nullptr)
            return;
        for (size_t offset = 0; offset + nBlock <= kChunkBytes; offset += nBlock) {
            Block* block = reinterpret_cast<Block*>(chunk + offset);
            block->pNext = pool.pFree;
            pool.pFree = block;
        }
    }

    static Pool s_Pools[kClasses];
};

CStringBlocks::Pool CStringBlocks::s_Pools[CStringBlocks::kClasses];

} // namespace

// ---- storage ---------------------------------------------------------------

bool CString::IsNil() const noexcept
{
    return GetData() == reinterpret_cast<const CStringData*>(&g_nil);
}

CString::CStringData* CString::Allocate(int nAlloc)
{
    if (nAlloc < 0 || nAlloc > kMaxLength)
        AfxThrowMemoryException();
    const size_t nBytes = sizeof(CStringData) + (size_t)nAlloc + 1;
    const int nClass = CStringBlocks::ClassOf(nBytes);
    auto* p = static_cast<CStringData*>(nClass >= 0 ? CStringBlocks::Take(nClass) : malloc(nBytes));
    if (p == nullptr)
        AfxThrowMemoryException();
    p->nDataLength = 0;
    p->nAllocLength = nAlloc;
    p->data()[0] = '\0';
    p->data()[nAlloc] = '\0';
    return p;
}

void CString::Release() noexcept
{
    if (!IsNil()) {
        CStringData* p = GetData();
        const int nClass = CStringBlocks::ClassOf(sizeof(CStringData) + (size_t)p->nAllocLength + 1);
        if (nClass >= 0)
            CStringBlocks::Give(nClass, p);
        else
            free(p);
    }
    m_pszData = reinterpret_cast<CStringData*>(&g_nil)->data();
}

// Makes room for nLength characters; the old contents are kept when keep is set.
// Always leaves a buffer of our own (never the shared empty one).
void CString::Reserve(int nLength, bool keep)
{
    if (nLength < 0 || nLength > kMaxLength)
        AfxThrowMemoryException();
    CStringData* old = GetData();
    if (!IsNil() && old->nAllocLength >= nLength)
        return;
    int nAlloc = nLength;
    if (!IsNil() && old->nAllocLength < kMaxLength / 3 * 2) {
        int grown = old->nAllocLength + old->nAllocLength / 2;
        if (grown > nAlloc)
            nAlloc = grown;
    }
    CStringData* p = Allocate(nAlloc);
    if (keep) {
        memcpy(p->data(), m_pszData, (size_t)old->nDataLength + 1);
        p->nDataLength = old->nDataLength;
    }
    Release();
    m_pszData = p->data();
}

void CString::SetLengthUnchecked(int nLength) noexcept
{
    if (IsNil())
        return;
    GetData()->nDataLength = nLength;
    m_pszData[nLength] = '\0';
}

// ---- construction ----------------------------------------------------------

CString::CString() noexcept : m_pszData(reinterpret_cast<CStringData*>(&g_nil)->data()) {}

CString::CString(const CString& src) : CString()
{
    SetString(src.m_pszData, src.GetLength());
}

CString::CString(CString&& src) noexcept : m_pszData(src.m_pszData)
{
    src.m_pszData = reinterpret_cast<CStringData*>(&g_nil)->data();
}

CString::CString(LPCSTR psz) : CString()
{
    SetString(psz);
}

CString::CString(const unsigned char* psz) : CString()
{
    SetString(reinterpret_cast<LPCSTR>(psz));
}

CString::CString(LPCSTR pch, int nLength) : CString()
{
    SetString(pch, nLength);
}

CString::CString(char ch, int nRepeat) : CString()
{
    if (nRepeat > 0) {
        Reserve(nRepeat, false);
        memset(m_pszData, ch, (size_t)nRepeat);
        SetLengthUnchecked(nRepeat);
    }
}

CString::~CString()
{
    Release();
}

CString& CString::operator=(const CString& src)
{
    if (this != &src)
        SetString(src.m_pszData, src.GetLength());
    return *this;
}

CString& CString::operator=(CString&& src) noexcept
{
    if (this != &src) {
        Release();
        m_pszData = src.m_pszData;
        src.m_pszData = reinterpret_cast<CStringData*>(&g_nil)->data();
    }
    return *this;
}

CString& CString::operator=(LPCSTR psz)
{
    SetString(psz);
    return *this;
}

CString& CString::operator=(const unsigned char* psz)
{
    SetString(reinterpret_cast<LPCSTR>(psz));
    return *this;
}

CString& CString::operator=(char ch)
{
    SetString(&ch, 1);
    return *this;
}

CString& CString::operator+=(const CString& str)
{
    Append(str.m_pszData, str.GetLength());
    return *this;
}

CString& CString::operator+=(LPCSTR psz)
{
    Append(psz);
    return *this;
}

CString& CString::operator+=(char ch)
{
    Append(&ch, 1);
    return *this;
}

void CString::SetString(LPCSTR psz)
{
    SetString(psz, psz == nullptr ? 0 : CheckedLength(strlen(psz)));
}

// pch may point into this string's own buffer.
void CString::SetString(LPCSTR pch, int nLength)
{
    if (nLength < 0)
        AfxThrowInvalidArgException();
    if (nLength == 0) {
        Release();
        return;
    }
    if (pch == nullptr)
        AfxThrowInvalidArgException();
    if (!IsNil() && GetData()->nAllocLength >= nLength) {
        memmove(m_pszData, pch, (size_t)nLength);
    } else {
        CStringData* p = Allocate(nLength);
        memcpy(p->data(), pch, (size_t)nLength);
        Release();
        m_pszData = p->data();
    }
    SetLengthUnchecked(nLength);
}

void CString::Append(LPCSTR psz)
{
    if (psz != nullptr)
        Append(psz, CheckedLength(strlen(psz)));
}

// pch may point into this string's own buffer.
void CString::Append(LPCSTR pch, int nLength)
{
    if (nLength < 0)
        AfxThrowInvalidArgException();
    if (nLength == 0)
        return;
    if (pch == nullptr)
        AfxThrowInvalidArgException();
    int nOld = GetLength();
    if (nLength > kMaxLength - nOld)
        AfxThrowMemoryException();
    int nNew = nOld + nLength;
    if (IsNil() || GetData()->nAllocLength < nNew) {
        int nAlloc = nNew;
        if (!IsNil() && GetData()->nAllocLength < kMaxLength / 3 * 2) {
            int grown = GetData()->nAllocLength + GetData()->nAllocLength / 2;
            if (grown > nAlloc)
                nAlloc = grown;
        }
        CStringData* p = Allocate(nAlloc);
        memcpy(p->data(), m_pszData, (size_t)nOld);
        memcpy(p->data() + nOld, pch, (size_t)nLength);
        Release();
        m_pszData = p->data();
    } else {
        memmove(m_pszData + nOld, pch, (size_t)nLength);
    }
    SetLengthUnchecked(nNew);
}

void CString::Append(const CString& str)
{
    Append(str.m_pszData, str.GetLength());
}

void CString::AppendChar(char ch)
{
    Append(&ch, 1);
}

void CString::Empty()
{
    Release();
}

char CString::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetLength())
        AfxThrowInvalidArgException();
    return m_pszData[nIndex];
}

void CString::SetAt(int nIndex, char ch)
{
    if (nIndex < 0 || nIndex >= GetLength())
        AfxThrowInvalidArgException();
    m_pszData[nIndex] = ch;
}

// ---- buffer access ---------------------------------------------------------

LPSTR CString::GetBuffer()
{
    Reserve(GetLength(), true);
    return m_pszData;
}

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength < 0)
        AfxThrowInvalidArgException();
    Reserve(nMinBufLength > GetLength() ? nMinBufLength : GetLength(), true);
    return m_pszData;
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    GetBuffer(nNewLength);
    SetLengthUnchecked(nNewLength);
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (IsNil())
        return;
    int nAlloc = GetData()->nAllocLength;
    if (nNewLength < 0)
        nNewLength = (int)strnlen(m_pszData, (size_t)nAlloc);
    if (nNewLength > nAlloc)
        nNewLength = nAlloc;
    SetLengthUnchecked(nNewLength);
}

void CString::ReleaseBufferSetLength(int nNewLength)
{
    ReleaseBuffer(nNewLength < 0 ? 0 : nNewLength);
}

LPSTR CString::LockBuffer()
{
    return GetBuffer();
}

void CString::UnlockBuffer() {}

void CString::FreeExtra()
{
    int nLength = GetLength();
    if (IsNil() || GetData()->nAllocLength == nLength)
        return;
    if (nLength == 0) {
        Release();
        return;
    }
    CStringData* p = Allocate(nLength);
    memcpy(p->data(), m_pszData, (size_t)nLength);
    Release();
    m_pszData = p->data();
    SetLengthUnchecked(nLength);
}

void CString::Preallocate(int nLength)
{
    Reserve(nLength > GetLength() ? nLength : GetLength(), true);
}

// ---- formatting ------------------------------------------------------------

void CString::Format(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

// The arguments may point into this string, so the text is built aside first.
void CString::FormatV(LPCSTR pszFormat, va_list args)
{
    CString result;
    result.AppendFormatV(pszFormat, args);
    *this = static_cast<CString&&>(result);
}

void CString::AppendFormat(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormatV(LPCSTR pszFormat, va_list args)
{
    if (pszFormat == nullptr)
        AfxThrowInvalidArgException();
    va_list probe;
    va_copy(probe, args);
    int n = vsnprintf(nullptr, 0, pszFormat, probe);
    va_end(probe);
    if (n < 0)
        AfxThrowInvalidArgException();
    if (n == 0)
        return;
    CString text;
    text.Reserve(n, false);
    vsnprintf(text.m_pszData, (size_t)n + 1, pszFormat, args);
    text.SetLengthUnchecked(n);
    Append(text.m_pszData, n);
}

// ---- extraction ------------------------------------------------------------

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount > GetLength())
        nCount = GetLength();
    return CString(m_pszData, nCount);
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, INT_MAX);
}

CString CString::Mid(int nFirst, int nCount) const
{
    int nLength = GetLength();
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst >= nLength)
        return CString();
    if (nCount > nLength - nFirst)
        nCount = nLength - nFirst;
    return CString(m_pszData + nFirst, nCount);
}

CString CString::Right(int nCount) const
{
    int nLength = GetLength();
    if (nCount < 0)
        nCount = 0;
    if (nCount > nLength)
        nCount = nLength;
    return CString(m_pszData + nLength - nCount, nCount);
}

CString CString::SpanIncluding(LPCSTR pszCharSet) const
{
    return Left(Span(m_pszData, pszCharSet == nullptr ? "" : pszCharSet, true));
}

CString CString::SpanExcluding(LPCSTR pszCharSet) const
{
    return Left(Span(m_pszData, pszCharSet == nullptr ? "" : pszCharSet, false));
}

// Skips leading delimiters from iStart, returns the token up to the next
// delimiter and moves iStart past that delimiter. At the end: an empty string
// and iStart = -1. With no delimiters the rest of the string is the one token.
CString CString::Tokenize(LPCSTR pszTokens, int& iStart) const
{
    if (iStart < 0)
        AfxThrowInvalidArgException();
    int nLength = GetLength();
    if (iStart < nLength) {
        if (pszTokens == nullptr || *pszTokens == '\0') {
            CString rest(m_pszData + iStart, nLength - iStart);
            iStart = nLength;
            return rest;
        }
        LPCSTR pszPlace = m_pszData + iStart;
        int nIncluding = Span(pszPlace, pszTokens, true);
        if (iStart + nIncluding < nLength) {
            pszPlace += nIncluding;
            int nExcluding = Span(pszPlace, pszTokens, false);
            int iFrom = iStart + nIncluding;
            int iDelim = iFrom + nExcluding;
            iStart = iDelim < nLength ? iDelim + CharLength(m_pszData + iDelim) : iDelim;
            return CString(m_pszData + iFrom, nExcluding);
        }
    }
    iStart = -1;
    return CString();
}

// ---- searching -------------------------------------------------------------

int CString::Find(char ch, int nStart) const
{
    int nLength = GetLength();
    if (nStart < 0 || nStart >= nLength || ch == '\0')
        return -1;
    for (int i = nStart; i < nLength;) {
        int n = CharLength(m_pszData + i);
        if (n == 1 && m_pszData[i] == ch)
            return i;
        i += n;
    }
    return -1;
}

int CString::Search(LPCSTR pszSub, int nSubLen, int nStart) const
{
    int nLength = GetLength();
    if (nStart < 0 || nStart > nLength)
        return -1;
    for (int i = nStart; i + nSubLen <= nLength;) {
        if (memcmp(m_pszData + i, pszSub, (size_t)nSubLen) == 0)
            return i;
        i += CharLength(m_pszData + i);
    }
    return -1;
}

int CString::Find(LPCSTR pszSub, int nStart) const
{
    if (pszSub == nullptr)
        return -1;
    return Search(pszSub, CheckedLength(strlen(pszSub)), nStart);
}

int CString::ReverseFind(char ch) const
{
    int nFound = -1;
    if (ch == '\0')
        return -1;
    for (int i = 0; i < GetLength();) {
        int n = CharLength(m_pszData + i);
        if (n == 1 && m_pszData[i] == ch)
            nFound = i;
        i += n;
    }
    return nFound;
}

int CString::FindOneOf(LPCSTR pszCharSet) const
{
    if (pszCharSet == nullptr)
        return -1;
    for (int i = 0; i < GetLength();) {
        int n = CharLength(m_pszData + i);
        if (InSet(m_pszData + i, n, pszCharSet))
            return i;
        i += n;
    }
    return -1;
}

// ---- changing --------------------------------------------------------------

int CString::Replace(char chOld, char chNew)
{
    int nCount = 0;
    if (chOld == chNew || chOld == '\0')
        return 0;
    for (int i = 0; i < GetLength();) {
        int n = CharLength(m_pszData + i);
        if (n == 1 && m_pszData[i] == chOld) {
            m_pszData[i] = chNew;
            ++nCount;
        }
        i += n;
    }
    // A NUL put in cuts the string there, as it would in a C string.
    if (chNew == '\0' && nCount > 0)
        SetLengthUnchecked((int)strlen(m_pszData));
    return nCount;
}

int CString::Replace(LPCSTR pszOld, LPCSTR pszNew)
{
    if (pszOld == nullptr || *pszOld == '\0')
        return 0;
    if (pszNew == nullptr)
        pszNew = "";
    int nOldLen = CheckedLength(strlen(pszOld));
    int nNewLen = CheckedLength(strlen(pszNew));
    CString result;
    int nCount = 0;
    int nDone = 0;
    for (int i = Search(pszOld, nOldLen, 0); i >= 0; i = Search(pszOld, nOldLen, nDone)) {
        result.Append(m_pszData + nDone, i - nDone);
        result.Append(pszNew, nNewLen);
        nDone = i + nOldLen;
        ++nCount;
    }
    if (nCount > 0) {
        result.Append(m_pszData + nDone, GetLength() - nDone);
        *this = static_cast<CString&&>(result);
    }
    return nCount;
}

int CString::Remove(char ch)
{
    if (ch == '\0' || IsNil())
        return 0;
    int nLength = GetLength();
    int nOut = 0;
    for (int i = 0; i < nLength;) {
        int n = CharLength(m_pszData + i);
        if (!(n == 1 && m_pszData[i] == ch)) {
            memmove(m_pszData + nOut, m_pszData + i, (size_t)n);
            nOut += n;
        }
        i += n;
    }
    SetLengthUnchecked(nOut);
    return nLength - nOut;
}

int CString::Insert(int nIndex, char ch)
{
    char sz[2] = {ch, '\0'};
    return Insert(nIndex, sz);
}

int CString::Insert(int nIndex, LPCSTR psz)
{
    int nLength = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > nLength)
        nIndex = nLength;
    int nInsert = psz == nullptr ? 0 : CheckedLength(strlen(psz));
    if (nInsert > 0) {
        CString result;
        if (nInsert > kMaxLength - nLength)
            AfxThrowMemoryException();
        result.Reserve(nLength + nInsert, false);
        result.Append(m_pszData, nIndex);
        result.Append(psz, nInsert);
        result.Append(m_pszData + nIndex, nLength - nIndex);
        *this = static_cast<CString&&>(result);
    }
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    int nLength = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nCount <= 0 || nIndex >= nLength)
        return nLength;
    if (nCount > nLength - nIndex)
        nCount = nLength - nIndex;
    memmove(m_pszData + nIndex, m_pszData + nIndex + nCount, (size_t)(nLength - nIndex - nCount));
    SetLengthUnchecked(nLength - nCount);
    return GetLength();
}

CString& CString::TrimLeft()
{
    int i = 0;
    while (i < GetLength() && IsSpace(m_pszData[i]))
        ++i;
    Delete(0, i);
    return *this;
}

CString& CString::TrimLeft(char chTarget)
{
    char sz[2] = {chTarget, '\0'};
    return TrimLeft(sz);
}

CString& CString::TrimLeft(LPCSTR pszTargets)
{
    if (pszTargets == nullptr || *pszTargets == '\0')
        return *this;
    Delete(0, Span(m_pszData, pszTargets, true));
    return *this;
}

CString& CString::TrimRight()
{
    int nKeep = 0;
    for (int i = 0; i < GetLength();) {
        int n = CharLength(m_pszData + i);
        if (!(n == 1 && IsSpace(m_pszData[i])))
            nKeep = i + n;
        i += n;
    }
    if (nKeep < GetLength())
        SetLengthUnchecked(nKeep);
    return *this;
}

CString& CString::TrimRight(char chTarget)
{
    char sz[2] = {chTarget, '\0'};
    return TrimRight(sz);
}

CString& CString::TrimRight(LPCSTR pszTargets)
{
    if (pszTargets == nullptr || *pszTargets == '\0')
        return *this;
    int nKeep = 0;
    for (int i = 0; i < GetLength();) {
        int n = CharLength(m_pszData + i);
        if (!InSet(m_pszData + i, n, pszTargets))
            nKeep = i + n;
        i += n;
    }
    if (nKeep < GetLength())
        SetLengthUnchecked(nKeep);
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(char chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::Trim(LPCSTR pszTargets)
{
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

CString& CString::MakeLower()
{
    for (int i = 0; i < GetLength();) {
        int n = CharLength(m_pszData + i);
        if (n == 1 && m_pszData[i] >= 'A' && m_pszData[i] <= 'Z')
            m_pszData[i] = (char)(m_pszData[i] + ('a' - 'A'));
        i += n;
    }
    return *this;
}

CString& CString::MakeUpper()
{
    for (int i = 0; i < GetLength();) {
        int n = CharLength(m_pszData + i);
        if (n == 1 && m_pszData[i] >= 'a' && m_pszData[i] <= 'z')
            m_pszData[i] = (char)(m_pszData[i] - ('a' - 'A'));
        i += n;
    }
    return *this;
}

// Reverses the characters; a double-byte character keeps its byte order.
CString& CString::MakeReverse()
{
    int nLength = GetLength();
    if (nLength < 2)
        return *this;
    CString result;
    result.Reserve(nLength, false);
    for (int i = 0; i < nLength;) {
        int n = CharLength(m_pszData + i);
        memcpy(result.m_pszData + nLength - i - n, m_pszData + i, (size_t)n);
        i += n;
    }
    result.SetLengthUnchecked(nLength);
    *this = static_cast<CString&&>(result);
    return *this;
}

// ---- comparing -------------------------------------------------------------

int CString::Compare(LPCSTR psz) const
{
    return strcmp(m_pszData, psz == nullptr ? "" : psz);
}

int CString::CompareNoCase(LPCSTR psz) const
{
    const BYTE* a = reinterpret_cast<const BYTE*>(m_pszData);
    const BYTE* b = reinterpret_cast<const BYTE*>(psz == nullptr ? "" : psz);
    // Both walk the same characters until the first difference.
    for (;;) {
        BYTE ca = *a, cb = *b;
        if (IsLeadByte(ca) && a[1] != 0) {
            if (ca != cb)
                return (int)ca - (int)cb;
            if (a[1] != b[1])
                return (int)a[1] - (int)b[1];
            a += 2;
            b += 2;
            continue;
        }
        ca = FoldLower(ca);
        cb = FoldLower(cb);
        if (ca != cb)
            return (int)ca - (int)cb;
        if (ca == 0)
            return 0;
        ++a;
        ++b;
    }
}

int CString::Collate(LPCSTR psz) const
{
    return strcoll(m_pszData, psz == nullptr ? "" : psz);
}

int CString::CollateNoCase(LPCSTR psz) const
{
    return CompareNoCase(psz);
}

// ---- operators -------------------------------------------------------------

bool operator==(const CString& s1, const CString& s2)
{
    return s1.GetLength() == s2.GetLength() && s1.Compare(s2) == 0;
}
bool operator==(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) == 0;
}
bool operator==(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) == 0;
}
bool operator!=(const CString& s1, const CString& s2)
{
    return !(s1 == s2);
}
bool operator!=(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) != 0;
}
bool operator!=(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) != 0;
}
bool operator<(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) < 0;
}
bool operator<(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) < 0;
}
bool operator<(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) > 0;
}
bool operator>(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) > 0;
}
bool operator>(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) > 0;
}
bool operator>(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) < 0;
}
bool operator<=(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) <= 0;
}
bool operator<=(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) <= 0;
}
bool operator<=(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) >= 0;
}
bool operator>=(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) >= 0;
}
bool operator>=(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) >= 0;
}
bool operator>=(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) <= 0;
}

CString operator+(const CString& s1, const CString& s2)
{
    CString s(s1);
    s += s2;
    return s;
}

CString operator+(const CString& s1, LPCSTR s2)
{
    CString s(s1);
    s += s2;
    return s;
}

CString operator+(LPCSTR s1, const CString& s2)
{
    CString s(s1);
    s += s2;
    return s;
}

CString operator+(const CString& s1, char ch)
{
    CString s(s1);
    s += ch;
    return s;
}

CString operator+(char ch, const CString& s2)
{
    CString s(ch);
    s += s2;
    return s;
}
