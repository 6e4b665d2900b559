#include "RoomRecords.h"

void tagUserDescription::Add(WORD wKey, const CString& strValue)
{
    Keys.Add(wKey);
    Values.Add(strValue);
}

void tagUserDescription::AddNumber(WORD wKey, LONG lValue)
{
    CString strValue;
    strValue.Format("%d", int(lValue));
    Add(wKey, strValue);
}

void SerializeRecord(CArchive& ar, tagRoomLogonRequest& r)
{
    SerializeField(ar, r.dwUserID);
    SerializeText(ar, r.szPassword);
    SerializeText(ar, r.szMachineID);
    if (ar.IsStoring() && r.bHasText)
        SerializeCountedText(ar, r.strText);
}

void SerializeRecord(CArchive& ar, tagSitRequest& r)
{
    SerializeField(ar, r.wTableID);
    SerializeField(ar, r.wChairID);
    SerializeText(ar, r.szPassword);
}

void SerializeRecord(CArchive& ar, tagUserRule& r)
{
    DWORD dwFlags = 0;
    for (int i = 0; i < 5; ++i) {
        if (r.cbSwitch[i] != 0)
            dwFlags |= DWORD(1) << i;
    }
    SerializeField(ar, dwFlags);
    for (int i = 0; i < 5; ++i)
        r.cbSwitch[i] = BYTE((dwFlags >> i) & 1);
    SerializeField(ar, r.wWinRate);
    SerializeField(ar, r.wFleeRate);
    SerializeField(ar, r.lMaxScore);
    SerializeField(ar, r.lMinScore);
    SerializeText(ar, r.szPassword);
}

void SerializeRecord(CArchive& ar, tagRoomChatRequest& r)
{
    SerializeField(ar, r.dwFirst);
    SerializeField(ar, r.dwThird);
    SerializeText(ar, r.szText);
}

void SerializeRecord(CArchive& ar, tagRoomWhisperRequest& r)
{
    SerializeField(ar, r.dwFirst);
    SerializeField(ar, r.dwThird);
    SerializeText(ar, r.szText);
}

void SerializeRecord(CArchive& ar, tagSpeakerRequest& r)
{
    SerializeText(ar, r.szText);
}

void SerializeRecord(CArchive& ar, tagInviteRequest& r)
{
    SerializeField(ar, r.dwUserID);
    SerializeField(ar, r.wTableID);
}

void SerializeRecord(CArchive& ar, tagCreateTableRequest& r)
{
    SerializeCountedText(ar, r.strName);
    SerializeCountedText(ar, r.strPassword);
    SerializeField(ar, r.wValue);
    SerializeField(ar, r.cbValue);
    DWORD dwPresent = (r.bHasA ? 1u : 0u) | (r.bHasB ? 2u : 0u) | (r.bHasC ? 4u : 0u);
    SerializeField(ar, dwPresent);
    r.bHasA = (dwPresent & 1) != 0;
    r.bHasB = (dwPresent & 2) != 0;
    r.bHasC = (dwPresent & 4) != 0;
    if (r.bHasA)
        SerializeField(ar, r.dwA);
    if (r.bHasB)
        SerializeField(ar, r.wB);
    if (r.bHasC)
        SerializeField(ar, r.cbC);
}

void SerializeRecord(CArchive& ar, tagBankWithdrawRequest& r)
{
    SerializeCountedText(ar, r.szPassword);
    SerializeField(ar, r.dwAmount);
}

void SerializeRecord(CArchive& ar, tagGoldExchangeRequest& r)
{
    SerializeField(ar, r.cbSource);
    SerializeField(ar, r.cbTarget);
    SerializeField(ar, r.dwAmount);
}

void SerializeRecord(CArchive& ar, tagUserDescription& r)
{
    SerializeField(ar, r.dwUserID);
    if (ar.IsStoring()) {
        ar.WriteCount(DWORD_PTR(r.Keys.GetSize()));
        for (INT_PTR i = 0; i < r.Keys.GetSize(); ++i) {
            ar << r.Keys[i];
            SerializeText(ar, r.Values[i]);
        }
        return;
    }
    // A pair is at least its key and an empty string.
    DWORD dwCount = ReadCheckedCount(ar, 3);
    r.Keys.RemoveAll();
    r.Values.RemoveAll();
    for (DWORD i = 0; i < dwCount; ++i) {
        WORD wKey = 0;
        CString strValue;
        ar >> wKey;
        ReadArchiveString(ar, strValue);
        r.Add(wKey, strValue);
    }
}

void SerializeRecord(CArchive& ar, tagRoomUserEnter& r)
{
    SerializeField(ar, r.dwUserID);
    SerializeText(ar, r.szNickName);
    SerializeField(ar, r.wRank);
}

void SerializeRecord(CArchive& ar, tagRoomUserStatusMessage& r)
{
    SerializeField(ar, r.dwUserID);
    SerializeField(ar, r.wTableID);
    SerializeField(ar, r.wChairID);
    SerializeField(ar, r.dwStatus);
}

void SerializeRecord(CArchive& ar, tagRoomUserScore& r)
{
    SerializeField(ar, r.dwUserID);
    SerializeFields(ar, r.dwScore);
}

void SerializeRecord(CArchive& ar, tagRoomChatMessage& r)
{
    SerializeField(ar, r.dwX);
    SerializeField(ar, r.dwY);
    SerializeField(ar, r.dwZ);
    SerializeText(ar, r.szText);
}

void SerializeRecord(CArchive& ar, tagRoomSpeakerMessage& r)
{
    SerializeField(ar, r.dwUserID);
    SerializeText(ar, r.szText);
}

void SerializeRecord(CArchive& ar, tagRoomUserText& r)
{
    SerializeField(ar, r.wKey);
    SerializeText(ar, r.szText);
}

void SerializeRecord(CArchive& ar, tagRoomUserTexts& r)
{
    SerializeField(ar, r.dwUserID);
    // Each text is at least its key and an empty string.
    SerializeCountedArray(ar, r.Texts, 3);
}

void SerializeRecord(CArchive& ar, tagRoomWhisperMessage& r)
{
    SerializeField(ar, r.dwX);
    SerializeField(ar, r.dwY);
    SerializeText(ar, r.szText);
}

void SerializeRecord(CArchive& ar, tagRoomGameRecord& r)
{
    SerializeField(ar, r.dwID);
    SerializeField(ar, r.wValue);
    SerializeField(ar, r.dwValue1);
    SerializeField(ar, r.dwValue2);
}

void SerializeRecord(CArchive& ar, tagRoomUserExtension& r)
{
    SerializeField(ar, r.dwUserID);
    SerializeFields(ar, r.dwValue);
}

void SerializeRecord(CArchive& ar, tagRoomIdValue& r)
{
    SerializeField(ar, r.dwUserID);
    SerializeField(ar, r.dwValue);
}

void SerializeRecord(CArchive& ar, tagRoomFlagsMessage& r)
{
    SerializeField(ar, r.dwSecondFlag);
    SerializeField(ar, r.dwFirstFlag);
}

void SerializeRecord(CArchive& ar, tagRoomTableFlagsMessage& r)
{
    SerializeField(ar, r.wTableID);
    SerializeField(ar, r.dwFlags);
}

void SerializeRecord(CArchive& ar, tagRoomItemRecord& r)
{
    SerializeField(ar, r.dwItemID);
    SerializeText(ar, r.szName);
    SerializeField(ar, r.cbValue1);
    SerializeField(ar, r.wValue2);
    SerializeField(ar, r.cbValue3);
    SerializeField(ar, r.dwValue4);
    SerializeField(ar, r.cbValue5);
    SerializeText(ar, r.szDescription);
}

void SerializeRecord(CArchive& ar, tagRoomTableRecord& r)
{
    SerializeField(ar, r.wTableID);
    SerializeCountedText(ar, r.szName);
    SerializeField(ar, r.wValue);
    SerializeField(ar, r.cbValue);
}

void SerializeRecord(CArchive& ar, tagRoomTableChange& r)
{
    SerializeField(ar, r.wValue1);
    SerializeField(ar, r.wValue2);
    SerializeField(ar, r.wValue3);
    SerializeField(ar, r.dwValue4);
    SerializeRecord(ar, r.Table);
}

void SerializeRecord(CArchive& ar, tagRoomTableEntry& r)
{
    SerializeField(ar, r.wTableID);
    SerializeField(ar, r.dwValue1);
    SerializeField(ar, r.wValue2);
    SerializeField(ar, r.dwValue3);
    SerializeCountedText(ar, r.szName);
    SerializeField(ar, r.wValue4);
    SerializeField(ar, r.cbValue5);
}

void SerializeRecord(CArchive& ar, tagRoomGroupMessage& r)
{
    SerializeField(ar, r.wGroupIndex);
    SerializeField(ar, r.dwValue);
    SerializeField(ar, r.cbState);
}

void SerializeRecord(CArchive& ar, tagRoomSystemText& r)
{
    SerializeFields(ar, r.cbFlags);
    SerializeText(ar, r.szText);
}
