// Records the hall sends to the game client over the channel. The game
// clients are 32-bit programs that read these as plain C structs: every
// layout is pinned so that both builds send the same bytes.
#pragma once

#include <stddef.h>

#include <afxtypes.h>

// Channel main commands and subs between the room and its game client.
const WORD GAME_MAIN_CONTROL = 0; // hello, goodbye
const WORD GAME_SUB_HELLO = 1;
const WORD GAME_SUB_GOODBYE = 3;
const WORD GAME_MAIN_RELAY = 1; // game traffic behind a tagGameRelayHead
const WORD GAME_SUB_REQUEST = 1;
const WORD GAME_SUB_TRAFFIC = 2;
const WORD GAME_MAIN_ROOM = 2;
const WORD GAME_SUB_ROOM_RECORD = 1;
const WORD GAME_SUB_ITEM_RECORD = 3;
const WORD GAME_MAIN_USER = 3;
const WORD GAME_SUB_USER = 1;
const WORD GAME_SUB_USER_STATUS = 2;
const WORD GAME_SUB_GAME_RECORD = 7;
const WORD GAME_MAIN_EVENT = 4;
const WORD GAME_SUB_ATTACHED = 1;
const WORD GAME_SUB_ROOM_CLOSED = 2;
const WORD GAME_SUB_SHOWN_AGAIN = 10;

// Game kinds of the relay head.
const WORD GAME_KIND_FRAME = 100;   // passed through as room main 1005
const WORD GAME_KIND_CONTROL = 101; // translated to and from room main 1004

// Game-protocol subs the hall makes itself.
const WORD GAME_SUB_MATCH_DESCRIPTION = 801;
const WORD GAME_SUB_MATCH_TIME = 802;
const WORD GAME_SUB_CLIENT_TEXT = 805;
const WORD GAME_SUB_TEAM_COUNT = 806;

// A channel message carries at most this many bytes after its head.
const UINT GAME_CHANNEL_MAX_DATA = 4096;

#pragma pack(push, 1)
struct tagGameRelayHead
{
    WORD wKind;
    WORD wSubCmdID;
};
#pragma pack(pop)
static_assert(sizeof(tagGameRelayHead) == 4, "relay head is 4 bytes");

// (2,1)
struct tagGameRoomRecord
{
    DWORD dwUserID;
    WORD wTableID;
    WORD wChairID;
    WORD wGameID;
    WORD wRoomID;
    WORD wServerType;
    WORD wNextValue;
    char szGameName[32];
    char szRoomName[32];
    char szStartText[260];
    DWORD dwRoomRule;
};
static_assert(sizeof(tagGameRoomRecord) == 344, "room record is 344 bytes");
static_assert(offsetof(tagGameRoomRecord, szGameName) == 16, "room record layout");
static_assert(offsetof(tagGameRoomRecord, szStartText) == 80, "room record layout");
static_assert(offsetof(tagGameRoomRecord, dwRoomRule) == 340, "room record layout");

// (2,3)
struct tagGameItemRecord
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
static_assert(sizeof(tagGameItemRecord) == 340, "item record is 340 bytes");
static_assert(offsetof(tagGameItemRecord, wValue2) == 70, "item record layout");
static_assert(offsetof(tagGameItemRecord, cbValue3) == 72, "item record layout");
static_assert(offsetof(tagGameItemRecord, dwValue4) == 76, "item record layout");
static_assert(offsetof(tagGameItemRecord, cbValue5) == 80, "item record layout");
static_assert(offsetof(tagGameItemRecord, szDescription) == 81, "item record layout");

// Game-protocol 805: a text for one user, or for all with id 0.
struct tagGameClientText
{
    DWORD dwUserID;
    char szText[1024];
    BYTE cbAll;
    BYTE cbReserved[3];
};
static_assert(sizeof(tagGameClientText) == 1032, "text record is 1032 bytes");
static_assert(offsetof(tagGameClientText, cbAll) == 1028, "text record layout");

// (3,2)
struct tagGameUserStatus
{
    DWORD dwUserID;
    WORD wReserved;
    BYTE cbStatus;
    BYTE cbReserved;
};
static_assert(sizeof(tagGameUserStatus) == 8, "status record is 8 bytes");

// (3,7)
struct tagGameForwardRecord
{
    DWORD dwA;
    WORD wB;
    WORD wReserved;
    DWORD dwC;
    DWORD dwD;
};
static_assert(sizeof(tagGameForwardRecord) == 16, "forward record is 16 bytes");
static_assert(offsetof(tagGameForwardRecord, dwC) == 8, "forward record layout");

// Game-protocol 801: this head, n values of 4 bytes, then 4 bytes 0.
struct tagGameMatchHead
{
    DWORD dwRoomID;
    char szName[33];
    BYTE cbReserved1[31];
    WORD wValue1;
    WORD wValue2;
    DWORD dwValue3;
    WORD wValue4;
    WORD wReserved2;
    DWORD dwValue5;
    BYTE cbKind;
    BYTE cbReserved3[3];
    DWORD dwValue6;
    DWORD dwGroupCount;
    WORD wValue7;
    BYTE cbReserved4[6];
    BYTE cbTime[8];
    DWORD dwValueCount;
};
static_assert(sizeof(tagGameMatchHead) == 116, "match head is 116 bytes");
static_assert(offsetof(tagGameMatchHead, wValue1) == 68, "match layout");
static_assert(offsetof(tagGameMatchHead, dwValue3) == 72, "match layout");
static_assert(offsetof(tagGameMatchHead, wValue4) == 76, "match layout");
static_assert(offsetof(tagGameMatchHead, dwValue5) == 80, "match layout");
static_assert(offsetof(tagGameMatchHead, cbKind) == 84, "match layout");
static_assert(offsetof(tagGameMatchHead, dwValue6) == 88, "match layout");
static_assert(offsetof(tagGameMatchHead, dwGroupCount) == 92, "match layout");
static_assert(offsetof(tagGameMatchHead, wValue7) == 96, "match layout");
static_assert(offsetof(tagGameMatchHead, cbTime) == 104, "match layout");
static_assert(offsetof(tagGameMatchHead, dwValueCount) == 112, "match layout");

// Game-protocol 806
struct tagGameTeamCount
{
    DWORD dwCount;
};
static_assert(sizeof(tagGameTeamCount) == 4, "team count is 4 bytes");
