// The named collections of the class library, over the templates.
#pragma once

#include "afxtempl.h"

class CByteArray : public CArray<BYTE, BYTE>
{};
class CWordArray : public CArray<WORD, WORD>
{};
class CDWordArray : public CArray<DWORD, DWORD>
{};
class CUIntArray : public CArray<UINT, UINT>
{};
class CPtrArray : public CArray<void*, void*>
{};
class CObArray : public CArray<CObject*, CObject*>
{};
class CStringArray : public CArray<CString, const CString&>
{};

class CPtrList : public CList<void*, void*>
{
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class CObList : public CList<CObject*, CObject*>
{
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class CStringList : public CList<CString, const CString&>
{
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR>
{
public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*>
{
public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*>
{
public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*>
{
public:
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};
