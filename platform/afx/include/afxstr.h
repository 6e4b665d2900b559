// CString: the multibyte (GBK) string of the class library.
//
// Every CString owns its characters (no sharing), so copies may be made and
// used on any thread. The object is one pointer to the characters, which are
// always NUL-terminated; a small header before them holds length and capacity.
//
// Double-byte characters: a byte in 0x81..0xFE starts a two-byte character (the
// GBK rule; code page 936 is the only one the product runs under). Searching,
// trimming, case mapping and replacing step over whole characters, so the
// second byte of a double-byte character is never taken for a character of
// its own.
#pragma once

#include "afxtypes.h"
#include <stdarg.h>

#if defined(__clang__)
#define AFX_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#elif defined(__GNUC__)
#define AFX_PRINTF_FORMAT(f, a) __attribute__((format(gnu_printf, f, a)))
#else
#define AFX_PRINTF_FORMAT(f, a)
#endif

class CString
{
public:
    CString() noexcept;
    CString(const CString& src);
    CString(CString&& src) noexcept;
    CString(LPCSTR psz);
    CString(const unsigned char* psz);
    CString(LPCSTR pch, int nLength);
    CString(char ch, int nRepeat = 1);
    ~CString();

    CString& operator=(const CString& src);
    CString& operator=(CString&& src) noexcept;
    CString& operator=(LPCSTR psz);
    CString& operator=(const unsigned char* psz);
    CString& operator=(char ch);

    CString& operator+=(const CString& str);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);

    // Size and elements.
    int GetLength() const noexcept { return GetData()->nDataLength; }
    BOOL IsEmpty() const noexcept { return GetData()->nDataLength == 0; }
    void Empty();
    char GetAt(int nIndex) const;
    void SetAt(int nIndex, char ch);
    char operator[](int nIndex) const { return GetAt(nIndex); }
    operator LPCSTR() const noexcept { return m_pszData; }
    LPCSTR GetString() const noexcept { return m_pszData; }
    void SetString(LPCSTR psz);
    void SetString(LPCSTR pch, int nLength);
    void Append(LPCSTR psz);
    void Append(LPCSTR pch, int nLength);
    void Append(const CString& str);
    void AppendChar(char ch);

    // Direct access. GetBuffer keeps the contents and makes room for at least
    // nMinBufLength characters plus the terminator; ReleaseBuffer(-1) takes the
    // length up to the first NUL (never past the buffer).
    LPSTR GetBuffer();
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength);
    LPSTR LockBuffer();
    void UnlockBuffer();
    void FreeExtra();
    void Preallocate(int nLength);
    int GetAllocLength() const noexcept { return GetData()->nAllocLength; }

    // Formatting (printf rules of the C library).
    void Format(LPCSTR pszFormat, ...) AFX_PRINTF_FORMAT(2, 3);
    void FormatV(LPCSTR pszFormat, va_list args);
    void AppendFormat(LPCSTR pszFormat, ...) AFX_PRINTF_FORMAT(2, 3);
    void AppendFormatV(LPCSTR pszFormat, va_list args);

    // Extraction. Counts and positions out of range are clamped.
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR pszCharSet) const;
    CString SpanExcluding(LPCSTR pszCharSet) const;
    CString Tokenize(LPCSTR pszTokens, int& iStart) const;

    // Searching: byte positions, or -1.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR pszCharSet) const;

    // Changing.
    int Replace(char chOld, char chNew);
    int Replace(LPCSTR pszOld, LPCSTR pszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR psz);
    int Delete(int nIndex, int nCount = 1);
    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(LPCSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCSTR pszTargets);
    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();

    // Comparing: <0, 0, >0. CompareNoCase folds ASCII letters only.
    int Compare(LPCSTR psz) const;
    int CompareNoCase(LPCSTR psz) const;
    int Collate(LPCSTR psz) const;
    int CollateNoCase(LPCSTR psz) const;

    // A string resource of the application (defined by the Windows part).
    // winuser.h makes LoadString a macro (LoadStringA): the member keeps one
    // name whatever the include order, and the macro's spelling forwards to it.
#pragma push_macro("LoadString")
#undef LoadString
    BOOL LoadString(UINT nID);
    BOOL LoadStringA(UINT nID)
    {
        return LoadString(nID);
    }
#pragma pop_macro("LoadString")

    // True when b starts a double-byte character.
    static bool IsLeadByte(BYTE b) noexcept
    {
        return b >= 0x81 && b <= 0xFE;
    }
    // Length of the character starting at p (1 or 2; 1 for a lead byte
    // followed by the terminator).
    static int CharLength(LPCSTR p) noexcept
    {
        return (IsLeadByte((BYTE)p[0]) && p[1] != '\0') ? 2 : 1;
    }

private:
    struct CStringData
    {
        int nDataLength;
        int nAllocLength;
        char* data() noexcept { return reinterpret_cast<char*>(this + 1); }
    };

    CStringData* GetData() const noexcept
    {
        return reinterpret_cast<CStringData*>(m_pszData) - 1;
    }
    bool IsNil() const noexcept;
    static CStringData* Allocate(int nAlloc);
    void Reserve(int nLength, bool keep);
    void SetLengthUnchecked(int nLength) noexcept;
    void Release() noexcept;
    int Search(LPCSTR pszSub, int nSubLen, int nStart) const;

    char* m_pszData;
};

static_assert(sizeof(CString) == sizeof(char*), "CString is one pointer, as callers of varargs expect");

bool operator==(const CString& s1, const CString& s2);
bool operator==(const CString& s1, LPCSTR s2);
bool operator==(LPCSTR s1, const CString& s2);
bool operator!=(const CString& s1, const CString& s2);
bool operator!=(const CString& s1, LPCSTR s2);
bool operator!=(LPCSTR s1, const CString& s2);
bool operator<(const CString& s1, const CString& s2);
bool operator<(const CString& s1, LPCSTR s2);
bool operator<(LPCSTR s1, const CString& s2);
bool operator>(const CString& s1, const CString& s2);
bool operator>(const CString& s1, LPCSTR s2);
bool operator>(LPCSTR s1, const CString& s2);
bool operator<=(const CString& s1, const CString& s2);
bool operator<=(const CString& s1, LPCSTR s2);
bool operator<=(LPCSTR s1, const CString& s2);
bool operator>=(const CString& s1, const CString& s2);
bool operator>=(const CString& s1, LPCSTR s2);
bool operator>=(LPCSTR s1, const CString& s2);

CString operator+(const CString& s1, const CString& s2);
CString operator+(const CString& s1, LPCSTR s2);
CString operator+(LPCSTR s1, const CString& s2);
CString operator+(const CString& s1, char ch);
CString operator+(char ch, const CString& s2);
