// Records of the room server protocol with their wire order, and the
// records the room notifications carry (the room view reads them). Each
// SerializeRecord lists a record's fields in the order they travel; fixed
// text fields keep at most their width less one byte, cut between
// characters.
#pragma once

#include <afxcoll.h>

#include "RecordCodec.h"
#include "RoomProtocol.h"

// Local user status; the server's flag bit 0x100 is kept as bit 4 beside it,
// so comparisons of the status take USER_STATUS_MASK first.
enum enUserStatus
{
    USER_STATUS_GONE = 0,
    USER_STATUS_FREE = 1,
    USER_STATUS_SIT = 2,
    USER_STATUS_READY = 3,
    USER_STATUS_LOOKON = 4,
    USER_STATUS_PLAY = 5,
};
const BYTE USER_STATUS_FLAG = 0x10;
const BYTE USER_STATUS_MASK = 0x0F;
const WORD INVALID_TABLE = 0xFFFF;
const WORD INVALID_CHAIR = 0xFFFF;

// ---- requests -----------------------------------------------------------------

struct tagRoomLogonRequest
{
    DWORD dwUserID;
    char szPassword[33]; // MD5 hex text
    char szMachineID[33];
    bool bHasText; // a counted string follows
    CString strText;
};

// Sit down or look on. In rooms with automatic seats the chair is 0xFFFF.
struct tagSitRequest
{
    WORD wTableID;
    WORD wChairID;
    char szPassword[33];
};

// The player's seat rule, filled from the options by the room view.
struct tagUserRule
{
    BYTE cbSwitch[5]; // table password, win rate, flee rate, score, global option
    WORD wWinRate;
    WORD wFleeRate;
    LONG lMaxScore;
    LONG lMinScore;
    char szPassword[33];
};

struct tagRoomChatRequest
{
    DWORD dwFirst;
    DWORD dwThird;
    char szText[256];
};

struct tagRoomWhisperRequest
{
    DWORD dwFirst;
    DWORD dwThird;
    char szText[512];
};

struct tagSpeakerRequest
{
    char szText[100];
};

struct tagInviteRequest
{
    DWORD dwUserID;
    WORD wTableID;
};

// The create-table settings; A, B and C travel only when present.
struct tagCreateTableRequest
{
    CString strName;
    CString strPassword;
    WORD wValue;
    BYTE cbValue;
    bool bHasA;
    DWORD dwA;
    bool bHasB;
    WORD wB;
    bool bHasC;
    BYTE cbC;
};

struct tagBankWithdrawRequest
{
    char szPassword[33]; // MD5 hex text
    DWORD dwAmount;
};

struct tagGoldExchangeRequest
{
    BYTE cbSource;
    BYTE cbTarget;
    DWORD dwAmount;
};

// A user as the game client is told about it: (key, text) pairs.
struct tagUserDescription
{
    DWORD dwUserID = 0;
    CArray<WORD, WORD> Keys;
    CStringArray Values;

    void Add(WORD wKey, const CString& strValue);
    void AddNumber(WORD wKey, LONG lValue);
};

// ---- server messages of ROOM_MAIN_ROOM --------------------------------------------

struct tagRoomLogonResult
{
    DWORD dwCode;
    DWORD dwUserID;
    char szName[33];
    WORD wValue;
    bool bFlag;
    char szMessage[1024]; // only with a code other than 0
};

struct tagRoomUserEnter
{
    DWORD dwUserID;
    char szNickName[33];
    WORD wRank;
};

struct tagRoomUserStatusMessage
{
    DWORD dwUserID;
    WORD wTableID;
    WORD wChairID;
    DWORD dwStatus; // low byte the server status, bit 0x100 a flag
};

struct tagRoomChatMessage
{
    DWORD dwX; // sender
    DWORD dwY; // target
    DWORD dwZ; // colour
    char szText[256];
};

struct tagRoomSpeakerMessage
{
    DWORD dwUserID;
    char szText[100];
};

struct tagRoomUserText
{
    WORD wKey;
    char szText[128];
};

struct tagRoomUserTexts
{
    DWORD dwUserID = 0;
    CArray<tagRoomUserText, const tagRoomUserText&> Texts;
};

struct tagRoomWhisperMessage
{
    DWORD dwX; // sender
    DWORD dwY; // colour
    char szText[512];
};

// The records of the second record list, for the game client.
struct tagRoomGameRecord
{
    DWORD dwID;
    WORD wValue;
    DWORD dwValue1;
    DWORD dwValue2;
};

struct tagRoomUserExtension
{
    DWORD dwUserID;
    DWORD dwValue[3];
};

struct tagRoomIdValue
{
    DWORD dwUserID;
    DWORD dwValue;
};

struct tagRoomFlagsMessage
{
    DWORD dwSecondFlag;
    DWORD dwFirstFlag;
};

struct tagBankPasswordAnswer
{
    DWORD dwResult;
    DWORD dwValue; // only with result 0
};

// ---- the user attribute record ---------------------------------------------------

// Highest attribute bit with a fixed meaning; later bits are typed by the
// room's attribute type table.
const UINT ROOM_ATTRIBUTE_FIXED_BITS = 41;

// Type codes of the attribute type table.
enum enAttributeType
{
    ATTRIBUTE_TYPE_U8 = 0,
    ATTRIBUTE_TYPE_U16 = 1,
    ATTRIBUTE_TYPE_U32 = 2,
    ATTRIBUTE_TYPE_U64 = 3,
    ATTRIBUTE_TYPE_TEXT = 4,
};

// The values of one attribute record; a bit of the record is set in
// dwPresent when its value came.
struct tagUserAttributes
{
    DWORD dwPresent[2]; // bits 1 to 41
    char szName[32];
    WORD wRank;
    char szNickName[32];
    BYTE cbKey5;
    WORD wFace;
    char szKey7[32];
    char szKey8[32];
    char szKey9[64];
    char szKey10[64];
    char szKey11[32];
    char szKey12[16];
    char szKey13[64];
    DWORD dwKey14;
    char szKey15[128];
    DWORD dwKey16;
    DWORD dwKey17;
    DWORD dwKey18;
    BYTE cbKey19;
    DWORD dwKey21;
    DWORD dwScore[6];
    DWORD dwKey112;
    DWORD dwSecondFlag;
    DWORD dwFirstFlag;
    DWORD dwFirstExtension[4];
    WORD wSecondExtension[2];
    DWORD dwSecondExtension3;
    DWORD dwTeamNumber;
    DWORD dwExtra;
    BYTE cbExtra;
    char szExtraText1[128];
    char szExtraText2[128];
    DWORD dwAfterSecondID;
    DWORD dwSecondID;

    bool Has(UINT nBit) const { return nBit >= 1 && nBit < 64 && (dwPresent[nBit / 32] >> (nBit % 32) & 1) != 0; }
};

// One user of a user list (with seat) or of the attribute changes.
struct tagRoomUserAttributes
{
    DWORD dwUserID;
    bool bHasSeat;
    WORD wTableID;
    WORD wChairID;
    DWORD dwStatus;
    tagUserAttributes Values;
};

// ---- server messages of ROOM_MAIN_TABLE -------------------------------------------

struct tagMatchGroup
{
    DWORD dwGroupID;
    BYTE cbState;
    DWORD dwValue;
};

struct tagMatchDescription
{
    char szName[33];
    WORD wValue1;
    WORD wValue2;
    DWORD dwValue3;
    WORD wValue4;
    DWORD dwValue5;
    BYTE cbKind;
    DWORD dwValue6;
    WORD wValue7;
    BYTE cbTime[8];
    BYTE cbGroupCount;
};

const UINT ROOM_INFO_MAX_VALUES = 256;

// The room information; the room view reads its head as far as the rule.
struct tagRoomInfo
{
    DWORD dwRoomID;
    DWORD dwServerType;
    WORD wTableCount;
    WORD wChairCount;
    char szWelcome[256];
    DWORD dwRoomRule;
    WORD wKindValue;   // rooms of kind 5 only
    DWORD dwKindValue; // rooms of kind 5 only
    DWORD dwValue;     // not in match rooms
    tagMatchDescription Match;
    tagMatchGroup Groups[255];
    DWORD dwValueCount;
    DWORD dwValues[ROOM_INFO_MAX_VALUES];
    WORD wTailValue;
    DWORD dwTailValue;
};

struct tagRoomTableFlagsMessage
{
    WORD wTableID;
    DWORD dwFlags; // bit 0 playing, bit 1 locked, bit 2 third flag
};

struct tagRoomItemRecord
{
    DWORD dwItemID;
    char szName[64];
    BYTE cbValue1;
    WORD wValue2;
    BYTE cbValue3;
    DWORD dwValue4;
    BYTE cbValue5;
    char szDescription[256];
};

// A table's record, kept by id.
struct tagRoomTableRecord
{
    WORD wTableID;
    char szName[64];
    WORD wValue;
    BYTE cbValue;
};

struct tagRoomTableChange
{
    WORD wValue1;
    WORD wValue2;
    WORD wValue3;
    DWORD dwValue4;
    tagRoomTableRecord Table;
};

struct tagRoomGroupMessage
{
    WORD wGroupIndex;
    DWORD dwValue;
    BYTE cbState;
};

struct tagRoomSystemText
{
    BYTE cbFlags[2];
    char szText[512];
};

// ---- notification records -----------------------------------------------------

// (2,2); the extra word is always 0.
struct tagRoomConnectResult
{
    DWORD dwErrorCode;
    DWORD dwExtra;
};

// (2,3)
struct tagRoomLogonNotice
{
    DWORD dwCode; // local code (the logon code table)
    DWORD dwReserved;
    char szText[1024];
};

// (3,2); extra is always 0.
struct tagRoomUserStatus
{
    DWORD dwUserID;
    WORD wTableID;
    WORD wChairID;
    BYTE cbStatus;
    BYTE cbReserved;
    WORD wExtra;
};
static_assert(sizeof(tagRoomUserStatus) == 12, "(3,2) record is 12 bytes");

// (3,3)
struct tagRoomUserScore
{
    DWORD dwUserID;
    DWORD dwScore[6];
};
static_assert(sizeof(tagRoomUserScore) == 28, "(3,3) record is 28 bytes");

// (3,5)
struct tagRoomChatNotice
{
    DWORD dwReserved;
    DWORD dwColor;
    DWORD dwSenderID;
    DWORD dwTargetID;
    char szText[1024];
};

// (3,6)
struct tagRoomWhisperNotice
{
    DWORD dwTextLength;
    DWORD dwColor;
    DWORD dwSenderID;
    char szText[1024];
};

// (3,7)
struct tagRoomInviteNotice
{
    DWORD dwTableID;
    DWORD dwUserID;
};

// (3,12)
struct tagRoomSpeakerNotice
{
    DWORD dwUserID;
    char szNickName[32];
    char szText[100];
};

// (3,21)
struct tagRoomMatchTeam
{
    BYTE cbTeam;
    WORD wTeamNumber;
};

// (4,4)
struct tagRoomTableFlags
{
    WORD wTableID;
    BYTE cbLocked;  // flag bit 1
    BYTE cbPlaying; // flag bit 0
    BYTE cbThird;   // flag bit 2
};

// (4,10): one record of a table list; the room view applies it as (4,7).
struct tagRoomTableEntry
{
    WORD wTableID;
    DWORD dwValue1;
    WORD wValue2;
    DWORD dwValue3;
    char szName[64];
    WORD wValue4;
    BYTE cbValue5;
};

// (4,11), from a group state message or, in match rooms, from the room
// information's current group.
struct tagRoomGroupState
{
    DWORD dwGroupIndex; // 0xFFFF: none
    DWORD dwUserID;     // the own user
    DWORD dwValue;
    DWORD dwState;
};
static_assert(sizeof(tagRoomGroupState) == 16, "(4,11) record is 16 bytes");

// (1,2)
typedef tagRoomSystemText tagRoomMessage;

// ---- wire orders --------------------------------------------------------------

void SerializeRecord(CArchive& ar, tagRoomLogonRequest& r);
void SerializeRecord(CArchive& ar, tagSitRequest& r);
void SerializeRecord(CArchive& ar, tagUserRule& r);
void SerializeRecord(CArchive& ar, tagRoomChatRequest& r);
void SerializeRecord(CArchive& ar, tagRoomWhisperRequest& r);
void SerializeRecord(CArchive& ar, tagSpeakerRequest& r);
void SerializeRecord(CArchive& ar, tagInviteRequest& r);
void SerializeRecord(CArchive& ar, tagCreateTableRequest& r);
void SerializeRecord(CArchive& ar, tagBankWithdrawRequest& r);
void SerializeRecord(CArchive& ar, tagGoldExchangeRequest& r);
void SerializeRecord(CArchive& ar, tagUserDescription& r);
void SerializeRecord(CArchive& ar, tagRoomUserEnter& r);
void SerializeRecord(CArchive& ar, tagRoomUserStatusMessage& r);
void SerializeRecord(CArchive& ar, tagRoomUserScore& r);
void SerializeRecord(CArchive& ar, tagRoomChatMessage& r);
void SerializeRecord(CArchive& ar, tagRoomSpeakerMessage& r);
void SerializeRecord(CArchive& ar, tagRoomUserTexts& r);
void SerializeRecord(CArchive& ar, tagRoomUserText& r);
void SerializeRecord(CArchive& ar, tagRoomWhisperMessage& r);
void SerializeRecord(CArchive& ar, tagRoomGameRecord& r);
void SerializeRecord(CArchive& ar, tagRoomUserExtension& r);
void SerializeRecord(CArchive& ar, tagRoomIdValue& r);
void SerializeRecord(CArchive& ar, tagRoomFlagsMessage& r);
void SerializeRecord(CArchive& ar, tagRoomTableFlagsMessage& r);
void SerializeRecord(CArchive& ar, tagRoomItemRecord& r);
void SerializeRecord(CArchive& ar, tagRoomTableRecord& r);
void SerializeRecord(CArchive& ar, tagRoomTableChange& r);
void SerializeRecord(CArchive& ar, tagRoomTableEntry& r);
void SerializeRecord(CArchive& ar, tagRoomGroupMessage& r);
void SerializeRecord(CArchive& ar, tagRoomSystemText& r);
