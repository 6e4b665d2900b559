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

void SerializeRecord(CArchive& ar, tagGameKindItem& record)
{
    SerializeField(ar, record.dwID);
    SerializeText(ar, record.szName);
}

void SerializeRecord(CArchive& ar, tagGameItem& record)
{
    SerializeField(ar, record.dwID);
    SerializeText(ar, record.szName);
    SerializeText(ar, record.szFolderName);
}

void SerializeRecord(CArchive& ar, tagGameRoomItem& record)
{
    SerializeField(ar, record.dwRoomID);
    SerializeText(ar, record.szName);
    SerializeText(ar, record.strAddressList);
    SerializeField(ar, record.wPort);
    SerializeField(ar, record.dwGameID);
    SerializeField(ar, record.cbRoomKind);
    SerializeField(ar, record.wChannelValue);
}

void SerializeRecord(CArchive& ar, tagGameWebItem& record)
{
    SerializeField(ar, record.dwID);
    SerializeText(ar, record.szName);
    SerializeText(ar, record.szLink);
}

void SerializeRecord(CArchive& ar, tagTreeLinkItem& record)
{
    SerializeField(ar, record.dwNodeID);
    SerializeField(ar, record.dwParentID);
    SerializeField(ar, record.cbKind);
    SerializeText(ar, record.szCaption);
    SerializeField(ar, record.dwItemID);
    SerializeField(ar, record.lSortOrder);
    if (ar.IsStoring()) {
        ar << record.dwFlags;
        return;
    }
    // Older servers end the item before the flags.
    try {
        ar >> record.dwFlags;
    } catch (CArchiveException* e) {
        if (e->m_cause != CArchiveException::endOfFile)
            throw;
        e->Delete();
        record.dwFlags = 0;
    }
}

void SerializeRecord(CArchive& ar, tagOnlineCountItem& record)
{
    SerializeField(ar, record.dwRoomID);
    SerializeField(ar, record.dwOnlineCount);
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
