// The wire forms of message bodies: every body is an archive stream over a
// CSafeMemFile (archive buffer 4096 bytes). Scalars are little-endian without
// padding; texts are GBK without terminator, either as an archive string (the
// class library's CString form) or as a counted string (u32 length, bytes).
//
// Every record type has one SerializeRecord overload that both writes and
// reads it, so its field order is written down once. Readers check each
// length and count from the wire against the bytes left before they
// allocate or read; a short or inconsistent body throws CArchiveException*.
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include <string.h>

#include "RecordBytes.h"
#include "SafeMemFile.h"

const int RECORD_ARCHIVE_BUFFER = 4096;
const UINT RECORD_GROW_BYTES = 512;
const UINT RECORD_MAX_BODY = 0xFFFF;
// An enveloped item is a stream of its own of at most this many bytes.
const UINT ENVELOPED_ITEM_MAX = 4096;

// ---- bounds -----------------------------------------------------------------

// Offset in the file of the next byte a loading archive gives.
ULONGLONG GetReadPosition(CArchive& ar);
// Bytes a loading archive has still to give.
UINT GetBytesLeft(CArchive& ar);
// Throws endOfFile unless at least nBytes are left.
void RequireBytes(CArchive& ar, ULONGLONG nBytes);
// The class library's count (u16, or 0xFFFF and u32), refused (badIndex)
// when that many items of at least nMinItemSize bytes cannot follow.
DWORD ReadCheckedCount(CArchive& ar, UINT nMinItemSize);
// Skips nBytes, which must be there.
void SkipBytes(CArchive& ar, UINT nBytes);

// The same for a body read in place.
inline UINT GetBytesLeft(CRecordBytes& in)
{
    return in.GetBytesLeft();
}
DWORD ReadCheckedCount(CRecordBytes& in, UINT nMinItemSize);

// ---- fixed-width text fields ------------------------------------------------

// Copies at most nWidth - 1 bytes of the text, never half of a double-byte
// character, and fills the rest of the field with zeros.
void CopyTextField(char* pszField, size_t nWidth, LPCSTR pszText, size_t nLength);
template <size_t N> inline void CopyTextField(char (&szField)[N], const CString& strText)
{
    CopyTextField(szField, N, strText.GetString(), size_t(strText.GetLength()));
}
template <size_t N> inline void CopyTextField(char (&szField)[N], LPCSTR pszText)
{
    CopyTextField(szField, N, pszText, pszText == NULL ? 0 : strlen(pszText));
}
// Length of a field's text: up to its terminator, never past its width.
size_t GetFieldLength(const char* pszField, size_t nWidth);
// A field's text, read as GetFieldLength bounds it.
inline CString FieldText(const char* pszField, size_t nWidth)
{
    return CString(pszField, int(GetFieldLength(pszField, nWidth)));
}
template <size_t N> inline CString FieldText(const char (&szField)[N])
{
    return FieldText(szField, N);
}

// ---- strings ------------------------------------------------------------------

void ReadArchiveString(CArchive& ar, CString& strText);
// An archive string into a fixed field of nWidth bytes, cut as CopyTextField.
void ReadArchiveText(CArchive& ar, char* pszField, size_t nWidth);
void WriteArchiveString(CArchive& ar, LPCSTR pszText, size_t nLength);
void ReadCountedString(CArchive& ar, CString& strText);
void ReadArchiveString(CRecordBytes& in, CString& strText);
void ReadArchiveText(CRecordBytes& in, char* pszField, size_t nWidth);
void WriteCountedString(CArchive& ar, LPCSTR pszText, size_t nLength);

// ---- fields in both directions -------------------------------------------------

template <class T> inline void SerializeField(CArchive& ar, T& value)
{
    if (ar.IsStoring())
        ar << value;
    else
        ar >> value;
}

// Reading in place.
template <class T> inline void SerializeField(CRecordBytes& in, T& value)
{
    in >> value;
}

template <class Ar, class T, size_t N> inline void SerializeFields(Ar& ar, T (&values)[N])
{
    for (size_t i = 0; i < N; ++i)
        SerializeField(ar, values[i]);
}

// Archive string into or out of a fixed field.
template <size_t N> inline void SerializeText(CArchive& ar, char (&szField)[N])
{
    if (ar.IsStoring()) {
        WriteArchiveString(ar, szField, GetFieldLength(szField, N));
    } else {
        ReadArchiveText(ar, szField, N);
    }
}
void SerializeText(CArchive& ar, CString& strText);
template <size_t N> inline void SerializeText(CRecordBytes& in, char (&szField)[N])
{
    ReadArchiveText(in, szField, N);
}
inline void SerializeText(CRecordBytes& in, CString& strText)
{
    ReadArchiveString(in, strText);
}

// Counted string into or out of a fixed field.
template <size_t N> inline void SerializeCountedText(CArchive& ar, char (&szField)[N])
{
    if (ar.IsStoring()) {
        WriteCountedString(ar, szField, GetFieldLength(szField, N));
    } else {
        CString strText;
        ReadCountedString(ar, strText);
        CopyTextField(szField, strText);
    }
}
void SerializeCountedText(CArchive& ar, CString& strText);

// ---- scalar and string records -------------------------------------------------

inline void SerializeRecord(CArchive& ar, DWORD& dwValue)
{
    SerializeField(ar, dwValue);
}
inline void SerializeRecord(CArchive& ar, LONG& lValue)
{
    SerializeField(ar, lValue);
}
inline void SerializeRecord(CArchive& ar, bool& bValue)
{
    SerializeField(ar, bValue);
}
inline void SerializeRecord(CArchive& ar, BYTE& cbValue)
{
    SerializeField(ar, cbValue);
}
inline void SerializeRecord(CArchive& ar, WORD& wValue)
{
    SerializeField(ar, wValue);
}
// A CString record is an archive string.
inline void SerializeRecord(CArchive& ar, CString& strText)
{
    SerializeText(ar, strText);
}

// A body that is one counted string.
struct tagCountedString
{
    CString strText;
};
inline void SerializeRecord(CArchive& ar, tagCountedString& text)
{
    SerializeCountedText(ar, text.strText);
}

// ---- arrays -------------------------------------------------------------------

// Plain counted array: count, then the items back to back.
template <class T, class A> void SerializeCountedArray(CArchive& ar, CArray<T, A>& items, UINT nMinItemSize)
{
    if (ar.IsStoring()) {
        ar.WriteCount(DWORD_PTR(items.GetSize()));
        for (INT_PTR i = 0; i < items.GetSize(); ++i)
            SerializeRecord(ar, items[i]);
        return;
    }
    DWORD dwCount = ReadCheckedCount(ar, nMinItemSize);
    items.RemoveAll();
    items.SetSize(0, dwCount);
    for (DWORD i = 0; i < dwCount; ++i) {
        T item = T();
        SerializeRecord(ar, item);
        items.Add(item);
    }
}

// Writes one item as a stream of its own and returns its bytes through file.
template <class T> void StoreEnvelopedItem(CSafeMemFile& file, T& item)
{
    CArchive ar(&file, CArchive::store, RECORD_ARCHIVE_BUFFER);
    SerializeRecord(ar, item);
    ar.Close();
}

// Enveloped array: count, then for each item its byte length (a count) and
// its own archive stream. An item reader that stops early leaves the rest of
// its item unread; the next item starts where its length says.
template <class T, class A> void SerializeEnveloped(CArchive& ar, CArray<T, A>& items)
{
    if (ar.IsStoring()) {
        ar.WriteCount(DWORD_PTR(items.GetSize()));
        for (INT_PTR i = 0; i < items.GetSize(); ++i) {
            CSafeMemFile file(RECORD_GROW_BYTES);
            StoreEnvelopedItem(file, items[i]);
            // A reader would refuse it.
            if (file.GetDataSize() > ENVELOPED_ITEM_MAX)
                AfxThrowArchiveException(CArchiveException::bufferFull);
            ar.WriteCount(file.GetDataSize());
            ar.Write(file.GetData(), file.GetDataSize());
        }
        return;
    }
    // Each item brings at least its 2-byte length.
    DWORD dwCount = ReadCheckedCount(ar, 2);
    items.RemoveAll();
    items.SetSize(0, dwCount);
    BYTE cbBuffer[ENVELOPED_ITEM_MAX];
    // The item archives' buffer, on the stack rather than one allocation each.
    BYTE cbArchiveBuffer[RECORD_ARCHIVE_BUFFER];
    for (DWORD i = 0; i < dwCount; ++i) {
        DWORD_PTR nLength = ar.ReadCount();
        if (nLength > ENVELOPED_ITEM_MAX)
            AfxThrowArchiveException(CArchiveException::badIndex);
        RequireBytes(ar, nLength);
        if (ar.Read(cbBuffer, UINT(nLength)) != UINT(nLength))
            AfxThrowArchiveException(CArchiveException::endOfFile);
        CSafeMemFile file(cbBuffer, UINT(nLength));
        CArchive itemArchive(&file, CArchive::load, RECORD_ARCHIVE_BUFFER, cbArchiveBuffer);
        // Read in place; an item that fails to read is not kept.
        INT_PTR nItem = items.Add(T());
        try {
            SerializeRecord(itemArchive, items[nItem]);
        } catch (...) {
            items.SetSize(nItem);
            throw;
        }
    }
}

// The same, read in place: each item is read from its own bytes.
template <class T, class A> void SerializeEnveloped(CRecordBytes& in, CArray<T, A>& items)
{
    DWORD dwCount = ReadCheckedCount(in, 2);
    items.RemoveAll();
    items.SetSize(0, dwCount);
    for (DWORD i = 0; i < dwCount; ++i) {
        DWORD_PTR nLength = in.ReadCount();
        if (nLength > ENVELOPED_ITEM_MAX)
            AfxThrowArchiveException(CArchiveException::badIndex);
        CRecordBytes item(in.Take(UINT(nLength)), UINT(nLength));
        INT_PTR nItem = items.Add(T());
        try {
            SerializeRecord(item, items[nItem]);
        } catch (...) {
            items.SetSize(nItem);
            throw;
        }
    }
}

// A page of a list the server sends in pieces.
template <class T> struct tagPagedList
{
    LONG lTotal = 0;
    LONG lOffset = 0;
    CArray<T, const T&> Items;
};

template <class Ar, class T> void SerializeRecord(Ar& ar, tagPagedList<T>& list)
{
    SerializeField(ar, list.lTotal);
    SerializeField(ar, list.lOffset);
    SerializeEnveloped(ar, list.Items);
}

// ---- whole bodies -------------------------------------------------------------

// Writes a record as a body into file (a fresh CSafeMemFile). False when
// writing fails or the body would be longer than 65535 bytes, the most a
// packet carries.
template <class T> bool PackRecord(CSafeMemFile& file, const T& record)
{
    try {
        CArchive ar(&file, CArchive::store, RECORD_ARCHIVE_BUFFER);
        // Storing only reads the record.
        SerializeRecord(ar, const_cast<T&>(record));
        ar.Close();
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    return file.GetDataSize() <= RECORD_MAX_BODY;
}

// Reads a received body through read(ar), a loading archive over the body's
// bytes. False when the body is malformed (the reader threw); whatever read
// stored before the error stays.
template <class Reader> bool ReadBody(const void* pData, UINT nDataSize, Reader read)
{
    try {
        CSafeMemFile file(pData, nDataSize);
        CArchive ar(&file, CArchive::load, RECORD_ARCHIVE_BUFFER);
        read(ar);
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    return true;
}

// Reads a record from a received body. False when the body is malformed;
// the record keeps what was read before the error.
template <class T> bool UnpackRecord(T& record, const void* pData, UINT nDataSize)
{
    return ReadBody(pData, nDataSize, [&record](CArchive& ar) { SerializeRecord(ar, record); });
}

// The same for records that are also read in place (their SerializeRecord
// takes a CRecordBytes): the long lists, read without an archive between.
template <class T> bool UnpackRecordInPlace(T& record, const void* pData, UINT nDataSize)
{
    try {
        CRecordBytes in(pData, nDataSize);
        SerializeRecord(in, record);
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    return true;
}

// u16-counted list: a u16 count, then the items back to back. The items
// before a malformed one are kept; false when the body ended early.
template <class T, class A> bool ReadWordCountedList(CArray<T, A>& items, const void* pData, UINT nDataSize)
{
    items.RemoveAll();
    return ReadBody(pData, nDataSize, [&items](CArchive& ar) {
        WORD wCount = 0;
        ar >> wCount;
        for (WORD i = 0; i < wCount; ++i) {
            T item = T();
            SerializeRecord(ar, item);
            items.Add(item);
        }
    });
}
