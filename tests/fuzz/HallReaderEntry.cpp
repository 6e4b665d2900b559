#include "HallReaderEntry.h"

#include <string.h>

#include "ReaderChecks.h"

#include "HallMessageReader.h"

namespace
{

void CheckRecord(const tagGameKindItem& r)
{
    CheckText(r.szName);
}
void CheckRecord(const tagGameItem& r)
{
    CheckText(r.szName);
    CheckText(r.szFolderName);
}
void CheckRecord(const tagGameRoomItem& r)
{
    CheckText(r.szName);
}
void CheckRecord(const tagGameWebItem& r)
{
    CheckText(r.szName);
    CheckText(r.szLink);
}
void CheckRecord(const tagTreeLinkItem& r)
{
    CheckText(r.szCaption);
}
void CheckRecord(const tagOnlineCountItem&) {}
void CheckRecord(const tagUserValueItem&) {}
void CheckRecord(const tagStoreEntryA& r)
{
    CheckText(r.szName);
}
void CheckRecord(const tagStoreEntryC& r)
{
    CheckText(r.szName);
}

template <class T> void ReadList(const uint8_t* p, size_t n)
{
    tagPagedList<T> list;
    if (!UnpackRecord(list, p, UINT(n)))
        return;
    // Every enveloped item costs at least its 2-byte length.
    Check(size_t(list.Items.GetSize()) * 2 <= n);
    for (INT_PTR i = 0; i < list.Items.GetSize(); ++i)
        CheckRecord(list.Items[i]);
}

template <class T> void ReadWordList(const uint8_t* p, size_t n)
{
    CArray<T, const T&> items;
    ReadWordCountedList(items, p, UINT(n));
    Check(size_t(items.GetSize()) <= n);
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        CheckRecord(items[i]);
}

template <class T> T ReadValue(const uint8_t* p, size_t n)
{
    T value = T();
    UnpackRecord(value, p, UINT(n));
    return value;
}

void LogonResult(const uint8_t* p, size_t n)
{
    tagLogonResult r;
    if (ReadLogonResult(r, p, UINT(n))) {
        CheckText(r.szName);
        CheckText(r.szMessage);
    }
}

void UserInfo(const uint8_t* p, size_t n)
{
    tagUserInfoResult r;
    if (UnpackRecord(r, p, UINT(n))) {
        Check(size_t(r.Attributes.GetSize()) * 3 <= n);
        for (INT_PTR i = 0; i < r.Attributes.GetSize(); ++i)
            CheckText(r.Attributes[i].szText);
    }
}

void TypedAttributes(const uint8_t* p, size_t n)
{
    CArray<tagUserAttribute, const tagUserAttribute&> a;
    ReadTypedAttributes(a, p, UINT(n));
    Check(size_t(a.GetSize()) * 4 <= n);
}

void TextAttributes(const uint8_t* p, size_t n)
{
    CArray<tagUserAttribute, const tagUserAttribute&> a;
    ReadTextAttributes(a, p, UINT(n));
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        Check(size_t(a[i].strText.GetLength()) <= n);
}

void AccountNotice(const uint8_t* p, size_t n)
{
    tagAccountNotice r;
    memset(&r, 0, sizeof(r));
    if (UnpackRecord(r, p, UINT(n))) {
        CheckText(r.szText1);
        CheckText(r.szText2);
        CheckText(r.szText3);
        CheckText(r.szText4);
    }
}

void SystemMessage(const uint8_t* p, size_t n)
{
    tagSystemMessage r;
    memset(&r, 0, sizeof(r));
    if (UnpackRecord(r, p, UINT(n)))
        CheckText(r.szText);
}

void NoticeText(const uint8_t* p, size_t n)
{
    tagCountedString r;
    if (UnpackRecord(r, p, UINT(n)))
        Check(size_t(r.strText.GetLength()) + 4 <= n);
}

void OneRecord(const uint8_t* p, size_t n)
{
    tagUserValueItem value;
    UnpackRecord(value, p, UINT(n));
    tagStoreEntryA a;
    if (UnpackRecord(a, p, UINT(n)))
        CheckRecord(a);
    tagStoreEntryC c;
    if (UnpackRecord(c, p, UINT(n)))
        CheckRecord(c);
    tagStoreValueChange change;
    UnpackRecord(change, p, UINT(n));
    tagValuePair pair;
    UnpackRecord(pair, p, UINT(n));
}

void StoreDefinition(const uint8_t* p, size_t n)
{
    tagStoreDefinition* d = new tagStoreDefinition;
    memset(d, 0, sizeof(*d));
    if (UnpackRecord(*d, p, UINT(n))) {
        CheckText(d->szText1);
        CheckText(d->szText3);
        for (auto& t : d->szTexts4)
            CheckText(t);
        for (auto& t : d->szTexts5)
            CheckText(t);
    }
    delete d;
}

void Team(const uint8_t* p, size_t n)
{
    CTeamManager team;
    if (ReadTeam(team, p, UINT(n))) {
        Check(size_t(team.GetMemberCount()) * 2 <= n);
        for (INT_PTR i = 0; i < team.GetMemberCount(); ++i) {
            CheckText(team.GetMember(i).szName);
            CheckText(team.GetMember(i).szText1);
            CheckText(team.GetMember(i).szText3);
        }
    }
}

void Scalars(const uint8_t* p, size_t n)
{
    ReadValue<DWORD>(p, n);
    ReadValue<LONG>(p, n);
    ReadValue<bool>(p, n);
    ReadValue<BYTE>(p, n);
}

typedef void (*ReaderFn)(const uint8_t*, size_t);

// The readers of every hall server message that has a body.
const ReaderFn kReaders[] = {
    LogonResult,                    // 1002/1002
    UserInfo,                       // 1002/1003
    Scalars,                        // 1002/1005-1007, 1009-1011, 1014; 1004/1001; 1007/1003; 1008/1004, 1007, 1010-1014
    TypedAttributes,                // 1002/1008
    TextAttributes,                 // 1002/1012
    AccountNotice,                  // 1002/1013
    ReadList<tagGameKindItem>,      // 1003/1001, 1003/1003
    ReadList<tagGameItem>,          // 1003/1002
    ReadList<tagGameRoomItem>,      // 1003/1004
    ReadList<tagGameWebItem>,       // 1003/1005
    ReadList<tagTreeLinkItem>,      // 1003/1007, 1003/1008
    ReadList<tagOnlineCountItem>,   // 1004/1002
    SystemMessage,                  // 1005/1001
    NoticeText,                     // 1005/1002
    ReadWordList<tagUserValueItem>, // 1007/1001
    OneRecord,                      // 1006/1001, 1007/1002, 1008/1003, 1008/1006, 1008/1008-1009
    StoreDefinition,                // 1008/1001
    ReadWordList<tagStoreEntryA>,   // 1008/1002
    ReadWordList<tagStoreEntryC>,   // 1008/1005
    Team,                           // 1010/1001
};

} // namespace

size_t GetHallReaderCount()
{
    return sizeof(kReaders) / sizeof(kReaders[0]);
}

void RunHallReader(const uint8_t* pData, size_t nSize)
{
    size_t nIndex, nBody;
    if (SplitReaderInput(pData, nSize, GetHallReaderCount(), nIndex, nBody))
        kReaders[nIndex](pData + 1, nBody);
}
