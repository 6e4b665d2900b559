// Base types and macros of the class library.
//
// The portable core includes no Windows header. On _WIN32 every type here is
// declared exactly as the SDK declares it (a typedef may be repeated when it
// names the same type), so <windows.h> may come before or after this header.
// Natively the same names exist with the Windows widths: DWORD, LONG, ULONG
// and UINT are 32-bit.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef _WIN32
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned long DWORD;
typedef int BOOL;
typedef int INT;
typedef unsigned int UINT;
typedef long LONG;
typedef unsigned long ULONG;
typedef short SHORT;
typedef unsigned short USHORT;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef wchar_t WCHAR;
typedef long long LONGLONG;
typedef unsigned long long ULONGLONG;
#ifdef _WIN64
typedef long long INT_PTR;
typedef unsigned long long UINT_PTR;
typedef long long LONG_PTR;
typedef unsigned long long ULONG_PTR;
#else
typedef int INT_PTR;
typedef unsigned int UINT_PTR;
typedef long LONG_PTR;
typedef unsigned long ULONG_PTR;
#endif
#else
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int BOOL;
typedef int INT;
typedef uint32_t UINT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef short SHORT;
typedef unsigned short USHORT;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef char16_t WCHAR;
typedef long long LONGLONG;
typedef unsigned long long ULONGLONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
// LONG is int and DWORD is UINT here: overloads for both would collide.
#define AFX_LONG_IS_INT 1
#endif

typedef ULONG_PTR DWORD_PTR;
typedef ULONG_PTR SIZE_T;
typedef LONG_PTR SSIZE_T;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef ULONGLONG DWORDLONG;
typedef void* HANDLE;
typedef void* PVOID;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* PBYTE;
typedef BYTE* LPBYTE;
typedef WORD* PWORD;
typedef WORD* LPWORD;
typedef DWORD* PDWORD;
typedef DWORD* LPDWORD;
typedef LONG* PLONG;
typedef LONG* LPLONG;
typedef UINT* PUINT;
typedef BOOL* PBOOL;
typedef BOOL* LPBOOL;
typedef int* LPINT;
typedef CHAR* LPSTR;
typedef CHAR* PSTR;
typedef const CHAR* LPCSTR;
typedef const CHAR* PCSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;

// Multibyte build: TCHAR is char.
typedef char TCHAR;
typedef char* PTCHAR;
typedef LPSTR LPTSTR;
typedef LPSTR PTSTR;
typedef LPCSTR LPCTSTR;
typedef LPCSTR PCTSTR;

// The geometry structs carry the SDK's tag names, so a pointer to one is the
// SDK's pointer type. Their bodies are in afxgeom.h (natively) or windef.h.
typedef struct tagRECT RECT, *PRECT, *NPRECT, *LPRECT;
typedef const RECT* LPCRECT;
typedef struct tagPOINT POINT, *PPOINT, *NPPOINT, *LPPOINT;
typedef struct tagSIZE SIZE, *PSIZE, *LPSIZE;

#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif
#ifndef NULL
#define NULL 0
#endif
#ifndef MAX_PATH
#define MAX_PATH 260
#endif

// Spelled as the SDK spells them, so a later definition is an identical one.
#ifndef __TEXT
#define __TEXT(quote) quote
#endif
#ifndef TEXT
#define TEXT(quote) __TEXT(quote)
#endif
#ifndef __T
#define __T(x) x
#endif
#ifndef _T
#define _T(x) __T(x)
#endif
#ifndef _TEXT
#define _TEXT(x) __T(x)
#endif

#ifndef _WIN32
// Windows gets these from windef.h.
#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD_PTR)(w)) >> 8) & 0xff))
#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKEWORD(a, b) ((WORD)(((BYTE)(((DWORD_PTR)(a)) & 0xff)) | ((WORD)((BYTE)(((DWORD_PTR)(b)) & 0xff))) << 8))
#define MAKELONG(a, b)                                                                                                 \
    ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define _countof(a) (sizeof(a) / sizeof((a)[0]))
#endif

// An opaque iterator of the collections.
struct __POSITION
{};
typedef __POSITION* POSITION;

#define AFX_INLINE inline
#define AFXAPI
#define AFX_CDECL
#define AFX_NOVTABLE

// Diagnostics: ASSERT checks only in debug builds; VERIFY always evaluates.
#ifdef _DEBUG
void AfxAssertFailedLine(const char* file, int line);
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#endif
#define ASSERT_VALID(p) ((void)0)
#define TRACE(...) ((void)0)
#define TRACE0(s) ((void)0)
#define TRACE1(s, a) ((void)0)
#define TRACE2(s, a, b) ((void)0)
#define TRACE3(s, a, b, c) ((void)0)
#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))
