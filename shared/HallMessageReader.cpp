#include "HallMessageReader.h"

#include <string.h>

#include "BitFlags.h"

namespace
{

// The fields of a logon result in front of its message.
struct tagLogonResultHead
{
    tagLogonResult* pResult;
};

void SerializeRecord(CArchive& ar, tagLogonResultHead& head)
{
    tagLogonResult& r = *head.pResult;
    SerializeField(ar, r.dwResult);
    if (r.dwResult != 0)
        return;
    SerializeField(ar, r.dwUserID);
    SerializeText(ar, r.szName);
    SerializeField(ar, r.wLevel);
    SerializeField(ar, r.cbFlag);
}

// The bytes from the archive's read position on, which must hold nBytes.
const BYTE* TakeBytes(CArchive& ar, const BYTE* pBody, UINT nBytes)
{
    RequireBytes(ar, nBytes);
    ULONGLONG nPosition = GetReadPosition(ar);
    SkipBytes(ar, nBytes);
    return pBody + nPosition;
}

// A member's field value, read within its own length.
void ReadMemberField(CArchive& ar, const BYTE* pMember, DWORD nBit, tagTeamMember& member)
{
    WORD wLength = 0;
    ar >> wLength;
    const BYTE* pField = TakeBytes(ar, pMember, wLength);
    if (nBit > 6)
        return;
    CSafeMemFile file(pField, wLength);
    CArchive fieldArchive(&file, CArchive::load, RECORD_ARCHIVE_BUFFER);
    switch (nBit) {
    case 0: SerializeCountedText(fieldArchive, member.szName); break;
    case 1: SerializeCountedText(fieldArchive, member.szText1); break;
    case 2: fieldArchive >> member.dwValue2; break;
    case 3: SerializeCountedText(fieldArchive, member.szText3); break;
    case 4: fieldArchive >> member.dwValue4; break;
    case 5: fieldArchive >> member.dwValue5; break;
    case 6: fieldArchive >> member.dwValue6; break;
    }
}

void ReadMember(const BYTE* pMember, UINT nSize, tagTeamMember& member)
{
    CSafeMemFile file(pMember, nSize);
    CArchive ar(&file, CArchive::load, RECORD_ARCHIVE_BUFFER);
    WORD wWordCount = 0;
    ar >> member.dwMemberID >> wWordCount;
    RequireBytes(ar, ULONGLONG(wWordCount) * sizeof(DWORD));
    CBitFlags mask;
    mask.Resize(DWORD(wWordCount) * 32);
    for (WORD i = 0; i < wWordCount; ++i)
        ar >> mask.GetWords()[i];
    for (DWORD nBit = 0; nBit < mask.GetBitCount(); ++nBit) {
        if (mask.IsSet(nBit))
            ReadMemberField(ar, pMember, nBit, member);
    }
}

} // namespace

LONG MapHallResult(DWORD dwResult)
{
    return dwResult <= 6 ? LONG(dwResult) : -1;
}

bool ReadLogonResult(tagLogonResult& result, const void* pData, UINT nDataSize)
{
    memset(&result, 0, sizeof(result));
    tagLogonResultHead head = {&result};
    if (!UnpackRecord(head, pData, nDataSize))
        return false;
    tagLogonResult whole;
    memset(&whole, 0, sizeof(whole));
    if (UnpackRecord(whole, pData, nDataSize))
        memcpy(result.szMessage, whole.szMessage, sizeof(result.szMessage));
    return true;
}

enAttributeForm GetTypedAttributeForm(DWORD dwID)
{
    switch (dwID) {
    case 2:
    case 4:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 15: return ATTRIBUTE_TEXT;
    case 3: return ATTRIBUTE_I32;
    case 5:
    case 19: return ATTRIBUTE_U8;
    case 6: return ATTRIBUTE_U16;
    case 14:
    case 16:
    case 17: return ATTRIBUTE_U32;
    default: return ATTRIBUTE_NONE;
    }
}

bool ReadTypedAttributes(CArray<tagUserAttribute, const tagUserAttribute&>& attributes, const void* pData,
                         UINT nDataSize)
{
    attributes.RemoveAll();
    return ReadBody(pData, nDataSize, [&attributes](CArchive& ar) {
        WORD wCount = 0;
        ar >> wCount;
        for (WORD i = 0; i < wCount; ++i) {
            tagUserAttribute attribute;
            ar >> attribute.dwID;
            switch (GetTypedAttributeForm(attribute.dwID)) {
            case ATTRIBUTE_NONE: continue;
            case ATTRIBUTE_TEXT:
                attribute.bText = true;
                ReadArchiveString(ar, attribute.strText);
                break;
            case ATTRIBUTE_I32: {
                LONG lValue = 0;
                ar >> lValue;
                attribute.lValue = lValue;
                break;
            }
            case ATTRIBUTE_U8: {
                BYTE cbValue = 0;
                ar >> cbValue;
                attribute.lValue = cbValue;
                break;
            }
            case ATTRIBUTE_U16: {
                WORD wValue = 0;
                ar >> wValue;
                attribute.lValue = wValue;
                break;
            }
            case ATTRIBUTE_U32: {
                DWORD dwValue = 0;
                ar >> dwValue;
                attribute.lValue = LONG(dwValue);
                break;
            }
            }
            attributes.Add(attribute);
        }
    });
}

bool ReadTextAttributes(CArray<tagUserAttribute, const tagUserAttribute&>& attributes, const void* pData,
                        UINT nDataSize)
{
    attributes.RemoveAll();
    return ReadBody(pData, nDataSize, [&attributes](CArchive& ar) {
        WORD wCount = 0;
        ar >> wCount;
        for (WORD i = 0; i < wCount; ++i) {
            tagUserAttribute attribute;
            attribute.bText = true;
            ar >> attribute.dwID;
            ReadCountedString(ar, attribute.strText);
            attributes.Add(attribute);
        }
    });
}

bool ReadTeam(CTeamManager& team, const void* pData, UINT nDataSize)
{
    return ReadBody(pData, nDataSize, [&team, pData](CArchive& ar) {
        DWORD dwTeamID = 0;
        WORD wMemberCount = 0;
        ar >> dwTeamID >> wMemberCount;
        team.SetTeamID(dwTeamID);
        for (WORD i = 0; i < wMemberCount; ++i) {
            WORD wLength = 0;
            ar >> wLength;
            const BYTE* pMember = TakeBytes(ar, static_cast<const BYTE*>(pData), wLength);
            tagTeamMember member;
            memset(&member, 0, sizeof(member));
            ReadMember(pMember, wLength, member);
            team.AddMember(member);
        }
    });
}
