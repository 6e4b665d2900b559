#include "RoomMessageReader.h"

#include <string.h>

#include <vector>

namespace
{

struct tagCodePair
{
    DWORD dwServer;
    DWORD dwLocal;
};

const tagCodePair kLogonCodes[] = {{0, 0},   {3, 3},   {4, 4},   {5, 32},  {6, 34},  {7, 37},
                                   {8, 36},  {9, 35},  {10, 10}, {11, 40}, {12, 38}, {13, 39},
                                   {23, 33}, {24, 26}, {27, 27}, {28, 28}, {29, 29}, {31, 31}};

template <size_t N> void ReadCounted(CArchive& ar, char (&szField)[N])
{
    CString strText;
    ReadCountedString(ar, strText);
    CopyTextField(szField, strText);
}

void SetPresent(tagUserAttributes& v, UINT nBit)
{
    v.dwPresent[nBit / 32] |= DWORD(1) << (nBit % 32);
}

// The value of one fixed bit.
void ReadFixedAttribute(CArchive& ar, UINT nBit, tagUserAttributes& v)
{
    switch (nBit) {
    case 1: ReadCounted(ar, v.szName); break;
    case 2: ar >> v.wRank; break;
    case 3: ReadCounted(ar, v.szNickName); break;
    case 4: ar >> v.cbKey5; break;
    case 5: ar >> v.wFace; break;
    case 6: ReadCounted(ar, v.szKey7); break;
    case 7: ReadCounted(ar, v.szKey8); break;
    case 8: ReadCounted(ar, v.szKey9); break;
    case 9: ReadCounted(ar, v.szKey10); break;
    case 10: ReadCounted(ar, v.szKey11); break;
    case 11: ReadCounted(ar, v.szKey12); break;
    case 12: ReadCounted(ar, v.szKey13); break;
    case 13: ar >> v.dwKey14; break;
    case 14: ReadCounted(ar, v.szKey15); break;
    case 15: ar >> v.dwKey16; break;
    case 16: ar >> v.dwKey17; break;
    case 17: ar >> v.dwKey18; break;
    case 18: ar >> v.cbKey19; break;
    case 19: ar >> v.dwKey21; break;
    case 20:
    case 21:
    case 22:
    case 23:
    case 24:
    case 25: ar >> v.dwScore[nBit - 20]; break;
    case 26: ar >> v.dwKey112; break;
    case 27: ar >> v.dwSecondFlag; break;
    case 28: ar >> v.dwFirstFlag; break;
    case 29:
    case 30:
    case 31: ar >> v.dwFirstExtension[nBit - 28]; break;
    case 32: ar >> v.dwFirstExtension[0]; break;
    case 33:
    case 34: ar >> v.wSecondExtension[nBit - 33]; break;
    case 35: ar >> v.dwSecondExtension3; break;
    case 36: ar >> v.dwTeamNumber; break;
    case 37: ar >> v.dwExtra; break;
    case 38: ar >> v.cbExtra; break;
    case 39:
        ReadCounted(ar, v.szExtraText1);
        ReadCounted(ar, v.szExtraText2);
        break;
    case 40: ar >> v.dwAfterSecondID; break;
    case 41: ar >> v.dwSecondID; break;
    }
    SetPresent(v, nBit);
}

// A value of a typed bit is read and dropped.
void SkipTypedAttribute(CArchive& ar, BYTE cbType)
{
    switch (cbType) {
    case ATTRIBUTE_TYPE_U8: SkipBytes(ar, 1); break;
    case ATTRIBUTE_TYPE_U16: SkipBytes(ar, 2); break;
    case ATTRIBUTE_TYPE_U32: SkipBytes(ar, 4); break;
    case ATTRIBUTE_TYPE_U64: SkipBytes(ar, 8); break;
    case ATTRIBUTE_TYPE_TEXT: {
        DWORD dwLength = 0;
        ar >> dwLength;
        SkipBytes(ar, dwLength);
        break;
    }
    default:
        // Its length is unknown: what follows cannot be found.
        AfxThrowArchiveException(CArchiveException::badIndex);
    }
}

void ReadAttributes(CArchive& ar, const CByteArray& types, tagUserAttributes& v)
{
    WORD wWords = 0;
    ar >> wWords;
    RequireBytes(ar, ULONGLONG(wWords) * 4);
    std::vector<DWORD> mask(wWords);
    for (WORD i = 0; i < wWords; ++i)
        ar >> mask[i];
    const UINT nBits = UINT(wWords) * 32;
    for (UINT nBit = 1; nBit < nBits; ++nBit) {
        if ((mask[nBit / 32] >> (nBit % 32) & 1) == 0)
            continue;
        if (nBit <= ROOM_ATTRIBUTE_FIXED_BITS) {
            ReadFixedAttribute(ar, nBit, v);
        } else {
            if (nBit >= UINT(types.GetSize()))
                AfxThrowArchiveException(CArchiveException::badIndex);
            SkipTypedAttribute(ar, types[INT_PTR(nBit)]);
        }
    }
}

} // namespace

DWORD MapRoomLogonCode(DWORD dwServerCode)
{
    for (const tagCodePair& pair : kLogonCodes) {
        if (pair.dwServer == dwServerCode)
            return pair.dwLocal;
    }
    return 0xFFFFFFFF;
}

DWORD MapRoomResultCode(DWORD dwServerCode)
{
    if (dwServerCode <= 7 || (dwServerCode >= 9 && dwServerCode <= 13) || (dwServerCode >= 27 && dwServerCode <= 31))
        return dwServerCode;
    if (dwServerCode >= 14 && dwServerCode <= 24)
        return dwServerCode + 2;
    if (dwServerCode == 25)
        return 14;
    if (dwServerCode == 26)
        return 15;
    return 0xFFFFFFFF;
}

BYTE MapUserStatus(DWORD dwStatusWord)
{
    BYTE cbServer = BYTE(dwStatusWord & 0xFF);
    BYTE cbStatus = cbServer <= 4 ? BYTE(cbServer + 1) : BYTE(USER_STATUS_GONE);
    if ((dwStatusWord & 0x100) != 0)
        cbStatus |= USER_STATUS_FLAG;
    return cbStatus;
}

bool ReadRoomLogonResult(tagRoomLogonResult& result, const void* pData, UINT nDataSize)
{
    memset(&result, 0, sizeof(result));
    return ReadBody(pData, nDataSize, [&](CArchive& ar) {
        ar >> result.dwCode;
        if (result.dwCode == 0) {
            ar >> result.dwUserID;
            SerializeText(ar, result.szName);
            ar >> result.wValue >> result.bFlag;
        } else {
            ReadCounted(ar, result.szMessage);
        }
    });
}

bool ReadRoomInvite(tagRoomInviteNotice& notice, const void* pData, UINT nDataSize)
{
    if (pData == NULL || nDataSize < 6)
        return false;
    const BYTE* p = static_cast<const BYTE*>(pData);
    DWORD dwUserID = 0;
    WORD wTableID = 0;
    memcpy(&dwUserID, p, 4);
    memcpy(&wTableID, p + 4, 2);
    notice.dwTableID = wTableID;
    notice.dwUserID = dwUserID;
    return true;
}

bool ReadRoomSpeaker(tagRoomSpeakerMessage& message, const void* pData, UINT nDataSize)
{
    memset(&message, 0, sizeof(message));
    if (nDataSize > ROOM_SPEAKER_MAX_BODY)
        return false;
    return UnpackRecord(message, pData, nDataSize);
}

bool ReadGameRecords(CArray<tagRoomGameRecord, const tagRoomGameRecord&>& records, const void* pData, UINT nDataSize)
{
    records.RemoveAll();
    bool bRead = ReadBody(pData, nDataSize, [&](CArchive& ar) {
        DWORD dwCount = 0;
        ar >> dwCount;
        RequireBytes(ar, ULONGLONG(dwCount) * 14);
        for (DWORD i = 0; i < dwCount; ++i) {
            tagRoomGameRecord record;
            SerializeRecord(ar, record);
            records.Add(record);
        }
    });
    if (!bRead)
        records.RemoveAll();
    return bRead;
}

bool ReadBankPasswordAnswer(tagBankPasswordAnswer& answer, const void* pData, UINT nDataSize)
{
    memset(&answer, 0, sizeof(answer));
    return ReadBody(pData, nDataSize, [&](CArchive& ar) {
        ar >> answer.dwResult;
        if (answer.dwResult == 0)
            ar >> answer.dwValue;
    });
}

bool ReadUserList(CArray<tagRoomUserAttributes, const tagRoomUserAttributes&>& users, bool bWithSeats,
                  const CByteArray& AttributeTypes, const void* pData, UINT nDataSize)
{
    users.RemoveAll();
    bool bRead = ReadBody(pData, nDataSize, [&](CArchive& ar) {
        WORD wCount = 0;
        ar >> wCount;
        // A user is at least its id and an empty mask.
        RequireBytes(ar, ULONGLONG(wCount) * (bWithSeats ? 14 : 6));
        for (WORD i = 0; i < wCount; ++i) {
            tagRoomUserAttributes user;
            memset(&user, 0, sizeof(user));
            ar >> user.dwUserID;
            user.bHasSeat = bWithSeats;
            if (bWithSeats)
                ar >> user.wTableID >> user.wChairID >> user.dwStatus;
            ReadAttributes(ar, AttributeTypes, user.Values);
            users.Add(user);
        }
    });
    if (!bRead)
        users.RemoveAll();
    return bRead;
}

bool ReadRoomInfo(tagRoomInfo& info, BYTE cbRoomKind, const void* pData, UINT nDataSize)
{
    memset(&info, 0, sizeof(info));
    return ReadBody(pData, nDataSize, [&](CArchive& ar) {
        ar >> info.dwRoomID >> info.dwServerType >> info.wTableCount >> info.wChairCount;
        SerializeText(ar, info.szWelcome);
        ar >> info.dwRoomRule;
        if (cbRoomKind == 5)
            ar >> info.wKindValue >> info.dwKindValue;
        if (cbRoomKind != 4)
            ar >> info.dwValue;
        tagMatchDescription& m = info.Match;
        ReadCounted(ar, m.szName);
        ar >> m.wValue1 >> m.wValue2 >> m.dwValue3 >> m.wValue4 >> m.dwValue5 >> m.cbKind >> m.dwValue6 >> m.wValue7;
        for (BYTE& cb : m.cbTime)
            ar >> cb;
        ar >> m.cbGroupCount;
        for (BYTE i = 0; i < m.cbGroupCount; ++i)
            ar >> info.Groups[i].dwGroupID >> info.Groups[i].cbState >> info.Groups[i].dwValue;
        ar >> info.dwValueCount;
        if (info.dwValueCount > ROOM_INFO_MAX_VALUES)
            AfxThrowArchiveException(CArchiveException::badIndex);
        for (DWORD i = 0; i < info.dwValueCount; ++i)
            ar >> info.dwValues[i];
        // The closing values are read when the body has them.
        if (GetBytesLeft(ar) >= 6)
            ar >> info.wTailValue >> info.dwTailValue;
    });
}

bool ReadItemList(CArray<tagRoomItemRecord, const tagRoomItemRecord&>& items, const void* pData, UINT nDataSize)
{
    items.RemoveAll();
    bool bRead = ReadBody(pData, nDataSize, [&](CArchive& ar) {
        DWORD dwCount = 0;
        ar >> dwCount;
        // An item is at least 15 bytes with two empty names.
        RequireBytes(ar, ULONGLONG(dwCount) * 15);
        for (DWORD i = 0; i < dwCount; ++i) {
            tagRoomItemRecord item;
            memset(&item, 0, sizeof(item));
            SerializeRecord(ar, item);
            items.Add(item);
        }
    });
    if (!bRead)
        items.RemoveAll();
    return bRead;
}

bool ReadTableList(CArray<tagRoomTableEntry, const tagRoomTableEntry&>& entries, const void* pData, UINT nDataSize)
{
    entries.RemoveAll();
    bool bRead = ReadBody(pData, nDataSize, [&](CArchive& ar) {
        WORD wCount = 0;
        ar >> wCount;
        // An entry is at least 19 bytes with an empty name.
        RequireBytes(ar, ULONGLONG(wCount) * 19);
        for (WORD i = 0; i < wCount; ++i) {
            tagRoomTableEntry entry;
            memset(&entry, 0, sizeof(entry));
            SerializeRecord(ar, entry);
            entries.Add(entry);
        }
    });
    if (!bRead)
        entries.RemoveAll();
    return bRead;
}

bool ReadAttributeTypes(CByteArray& types, const void* pData, UINT nDataSize)
{
    return ReadBody(pData, nDataSize, [&](CArchive& ar) {
        WORD wCount = 0;
        ar >> wCount;
        RequireBytes(ar, wCount);
        CByteArray read;
        read.SetSize(wCount);
        for (WORD i = 0; i < wCount; ++i)
            ar >> read[i];
        types.Copy(read);
    });
}
