#include "HallRecords.h"

namespace
{

// Smallest wire size of one tagIdText: u16 id and a 1-byte string length.
const UINT kIdTextMinSize = 3;

} // namespace

void SerializeRecord(CArchive& ar, tagLogonByAccount& record)
{
    SerializeText(ar, record.szAccounts);
    SerializeText(ar, record.szPassword);
    SerializeText(ar, record.szMachineID);
}

void SerializeRecord(CArchive& ar, tagLogonByUserId& record)
{
    SerializeField(ar, record.dwUserID);
    SerializeText(ar, record.szPassword);
    SerializeText(ar, record.szMachineID);
}

void SerializeRecord(CArchive& ar, tagUserInfoRequest& record)
{
    SerializeField(ar, record.dwUserID);
    SerializeCountedArray(ar, record.AttributeIDs, sizeof(WORD));
}

void SerializeRecord(CArchive& ar, tagIdText& record)
{
    SerializeField(ar, record.wID);
    SerializeText(ar, record.szText);
}

void SerializeRecord(CArchive& ar, tagUserInfoResult& record)
{
    SerializeField(ar, record.dwResult);
    if (record.dwResult == 0)
        SerializeCountedArray(ar, record.Attributes, kIdTextMinSize);
}

void SerializeRecord(CArchive& ar, tagTwoTexts& record)
{
    SerializeText(ar, record.szFirst);
    SerializeText(ar, record.szSecond);
}

void SerializeRecord(CArchive& ar, tagRegisterRequest& record)
{
    SerializeCountedText(ar, record.strAccounts);
    SerializeCountedText(ar, record.strPassword);
    SerializeCountedText(ar, record.strText3);
    SerializeField(ar, record.cbValue);
    SerializeCountedText(ar, record.strText5);
    SerializeCountedText(ar, record.strText6);
}

void SerializeRecord(CArchive& ar, tagPersonalInfoRequest& record)
{
    SerializeField(ar, record.dwValue1);
    SerializeCountedText(ar, record.strText1);
    SerializeCountedText(ar, record.strText2);
    SerializeCountedText(ar, record.strText3);
    SerializeField(ar, record.dwValue2);
    SerializeCountedText(ar, record.strText4);
}

void SerializeRecord(CArchive& ar, tagBuyItemRequest& record)
{
    SerializeField(ar, record.dwItemID);
    SerializeField(ar, record.wCount);
}

void SerializeRecord(CArchive& ar, tagStoreValueRequest& record)
{
    SerializeField(ar, record.dwID);
    SerializeField(ar, record.cbValue);
}

void SerializeRecord(CArchive& ar, tagIdTextList& record)
{
    SerializeCountedArray(ar, record.Items, kIdTextMinSize);
}

namespace
{

// The game list's records are read through the archive and in place: one
// field order for both.
template <class Ar> void GameKindFields(Ar& ar, tagGameKindItem& record)
{
    SerializeField(ar, record.dwID);
    SerializeText(ar, record.szName);
}

template <class Ar> void GameFields(Ar& ar, tagGameItem& record)
{
    SerializeField(ar, record.dwID);
    SerializeText(ar, record.szName);
    SerializeText(ar, record.szFolderName);
}

template <class Ar> void GameRoomFields(Ar& ar, tagGameRoomItem& record)
{
    SerializeField(ar, record.dwRoomID);
    SerializeText(ar, record.szName);
    SerializeText(ar, record.strAddressList);
    SerializeField(ar, record.wPort);
    SerializeField(ar, record.dwGameID);
    SerializeField(ar, record.cbRoomKind);
    SerializeField(ar, record.wChannelValue);
}

template <class Ar> void GameWebFields(Ar& ar, tagGameWebItem& record)
{
    SerializeField(ar, record.dwID);
    SerializeText(ar, record.szName);
    SerializeText(ar, record.szLink);
}

// Older servers end a tree link before its flags.
void ReadFlags(CArchive& ar, DWORD& dwFlags)
{
    try {
        ar >> dwFlags;
    } catch (CArchiveException* e) {
        if (e->m_cause != CArchiveException::endOfFile)
            throw;
        e->Delete();
        dwFlags = 0;
    }
}

void ReadFlags(CRecordBytes& in, DWORD& dwFlags)
{
    dwFlags = 0;
    if (in.GetBytesLeft() >= sizeof(DWORD))
        in >> dwFlags;
}

template <class Ar> void TreeLinkFields(Ar& ar, tagTreeLinkItem& record)
{
    SerializeField(ar, record.dwNodeID);
    SerializeField(ar, record.dwParentID);
    SerializeField(ar, record.cbKind);
    SerializeText(ar, record.szCaption);
    SerializeField(ar, record.dwItemID);
    SerializeField(ar, record.lSortOrder);
    if (ar.IsStoring())
        SerializeField(ar, record.dwFlags);
    else
        ReadFlags(ar, record.dwFlags);
}

template <class Ar> void OnlineCountFields(Ar& ar, tagOnlineCountItem& record)
{
    SerializeField(ar, record.dwRoomID);
    SerializeField(ar, record.dwOnlineCount);
}

} // namespace

void SerializeRecord(CArchive& ar, tagGameKindItem& record)
{
    GameKindFields(ar, record);
}
void SerializeRecord(CRecordBytes& in, tagGameKindItem& record)
{
    GameKindFields(in, record);
}

void SerializeRecord(CArchive& ar, tagGameItem& record)
{
    GameFields(ar, record);
}
void SerializeRecord(CRecordBytes& in, tagGameItem& record)
{
    GameFields(in, record);
}

void SerializeRecord(CArchive& ar, tagGameRoomItem& record)
{
    GameRoomFields(ar, record);
}
void SerializeRecord(CRecordBytes& in, tagGameRoomItem& record)
{
    GameRoomFields(in, record);
}

void SerializeRecord(CArchive& ar, tagGameWebItem& record)
{
    GameWebFields(ar, record);
}
void SerializeRecord(CRecordBytes& in, tagGameWebItem& record)
{
    GameWebFields(in, record);
}

void SerializeRecord(CArchive& ar, tagTreeLinkItem& record)
{
    TreeLinkFields(ar, record);
}
void SerializeRecord(CRecordBytes& in, tagTreeLinkItem& record)
{
    TreeLinkFields(in, record);
}

void SerializeRecord(CArchive& ar, tagOnlineCountItem& record)
{
    OnlineCountFields(ar, record);
}
void SerializeRecord(CRecordBytes& in, tagOnlineCountItem& record)
{
    OnlineCountFields(in, record);
}

void SerializeRecord(CArchive& ar, tagSystemMessage& record)
{
    SerializeField(ar, record.cbKind);
    SerializeField(ar, record.dwValue);
    SerializeText(ar, record.szText);
}

void SerializeRecord(CArchive& ar, tagLogonResult& record)
{
    SerializeField(ar, record.dwResult);
    if (record.dwResult == 0) {
        SerializeField(ar, record.dwUserID);
        SerializeText(ar, record.szName);
        SerializeField(ar, record.wLevel);
        SerializeField(ar, record.cbFlag);
    }
    SerializeCountedText(ar, record.szMessage);
}

void SerializeRecord(CArchive& ar, tagAccountNotice& record)
{
    SerializeField(ar, record.cbResult);
    // A bare result is a whole notice.
    if (ar.IsLoading() && GetBytesLeft(ar) == 0)
        return;
    SerializeField(ar, record.dwValue);
    SerializeCountedText(ar, record.szText1);
    SerializeCountedText(ar, record.szText2);
    SerializeCountedText(ar, record.szText3);
    SerializeCountedText(ar, record.szText4);
}

void SerializeRecord(CArchive& ar, tagUserValueItem& record)
{
    SerializeField(ar, record.dwItemID);
    SerializeField(ar, record.wCount);
    SerializeField(ar, record.llValue);
}

void SerializeRecord(CArchive& ar, tagStoreEntryA& record)
{
    SerializeField(ar, record.dwID);
    SerializeField(ar, record.cbState);
    SerializeText(ar, record.szName);
}

void SerializeRecord(CArchive& ar, tagStoreEntryC& record)
{
    SerializeField(ar, record.dwID);
    SerializeField(ar, record.cbState);
    SerializeText(ar, record.szName);
    SerializeFields(ar, record.dwValues);
    SerializeFields(ar, record.wNumbers);
    SerializeFields(ar, record.wExtra);
}

void SerializeRecord(CArchive& ar, tagStoreDefinition& record)
{
    SerializeField(ar, record.dwID);
    SerializeFields(ar, record.cbBytes);
    SerializeFields(ar, record.dwValues1);
    SerializeText(ar, record.szText1);
    SerializeText(ar, record.szText2);
    SerializeText(ar, record.szText3);
    SerializeFields(ar, record.dwValues2);
    for (auto& text : record.szTexts4)
        SerializeText(ar, text);
    for (auto& text : record.szTexts5)
        SerializeText(ar, text);
    SerializeFields(ar, record.dwValues3);
    SerializeFields(ar, record.wValues4);
    SerializeFields(ar, record.dwValues5);
    SerializeFields(ar, record.dwValues6);
    SerializeFields(ar, record.wValues7);
    SerializeFields(ar, record.dwValues8);
    SerializeFields(ar, record.wValues9);
    SerializeFields(ar, record.dwValues10);
    SerializeFields(ar, record.wValues11);
}

void SerializeRecord(CArchive& ar, tagStoreValueChange& record)
{
    SerializeField(ar, record.dwID);
    SerializeField(ar, record.cbIndex);
    SerializeField(ar, record.wValue);
}

void SerializeRecord(CArchive& ar, tagValuePair& record)
{
    SerializeField(ar, record.wFirst);
    SerializeField(ar, record.wSecond);
}
