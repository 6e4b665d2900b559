// Translation of game traffic between the game client's plain records and
// the room server's archive bodies. Both directions are pure: they read one
// body and say what to send or do, and the room data centre carries it out.
// Bodies from the client come from any process that can reach the channel
// window, so every offset and text is checked against the body's size.
#pragma once

#include <vector>

#include "GameChannelRecords.h"
#include "RoomRecords.h"

struct tagRoomFrame
{
    WORD wMainCmdID = 0;
    WORD wSubCmdID = 0;
    std::vector<BYTE> Body;
};

// What a client request asks of the hall besides frames to the room.
enum enGameRequestAction
{
    GAME_ACTION_SEND = 0,      // the frames, in order
    GAME_ACTION_NONE,          // accepted, nothing to do
    GAME_ACTION_SPEAKER,       // strText
    GAME_ACTION_KICK,          // dwValue user id
    GAME_ACTION_SPEED_TEST,    // dwValue user id
    GAME_ACTION_BANK_PASSWORD, // strText
    GAME_ACTION_BANK_WITHDRAW, // strText, dwValue amount
    GAME_ACTION_BANK_DEPOSIT,  // dwValue amount
};

struct tagGameRequestContext
{
    DWORD dwRoomRule = 0;
    bool bHasOwnUser = false;
    DWORD dwOwnRank = 0;
};

struct tagGameRequestPlan
{
    int nAction = GAME_ACTION_SEND;
    std::vector<tagRoomFrame> Frames;
    CString strText;
    DWORD dwValue = 0;
};

// A client request {kind, game sub, body}. False: refused, nothing to do.
bool TranslateGameRequest(const tagGameRequestContext& context, WORD wKind, WORD wGameSub, const void* pBody,
                          UINT nBodySize, tagGameRequestPlan& plan);

// What a room message of mains 1004 and 1005 does besides the frame.
enum enGameTrafficNotice
{
    GAME_NOTICE_NONE = 0,
    GAME_NOTICE_KICKED, // (3,10) with dwNotice[0..1]
    GAME_NOTICE_ROUNDS, // (6,4) with dwNotice[0]
};

// The room sub → game sub rows of server game traffic.
struct tagGameTrafficContext
{
    DWORD dwOwnUserID = 0;
    // The u8 and the u16's low byte of the own table's record.
    bool bHasOwnTable = false;
    BYTE cbTableValue = 1;
    BYTE cbTableWord = 1;
    // Replaces a rejected chat text in place; NULL lets every text through.
    bool (*pfnFilterText)(CString& strText) = NULL;
};

struct tagGameTrafficPlan
{
    tagGameRelayHead Head = {0, 0};
    std::vector<BYTE> Body;
    bool bGameStarted = false; // the game state becomes 6
    int nNotice = GAME_NOTICE_NONE;
    DWORD dwNotice[2] = {0, 0};
};

// A room message of main 1004 or 1005. False: dropped (no row, a malformed
// body, or a frame the channel could not carry).
bool TranslateGameTraffic(const tagGameTrafficContext& context, WORD wMainCmdID, WORD wSubCmdID, const void* pBody,
                          UINT nBodySize, tagGameTrafficPlan& plan);

// The game chat body (game sub 200); the text is cut at 255 characters.
std::vector<BYTE> BuildGameChatBody(DWORD dwA, DWORD dwB, DWORD dwC, LPCSTR pszText, size_t nLength);
// The game system-message body (game sub 300); the text is cut at 1023
// characters.
std::vector<BYTE> BuildGameSystemBody(WORD wFlags, LPCSTR pszText, size_t nLength);
// Flags of a server system message from its kind and display place.
WORD MakeGameSystemFlags(DWORD dwKind, BYTE cbPlace);
// Flags of the hall's own system texts.
const WORD GAME_SYSTEM_FLAGS_HALL = 0x0101;

// Game-protocol 801 from the room information: head, values, 4 bytes 0.
std::vector<BYTE> BuildMatchDescriptionBody(const tagRoomInfo& info);
void MakeGameItemRecord(tagGameItemRecord& record, const tagRoomItemRecord& item);
void MakeGameForwardRecord(tagGameForwardRecord& record, DWORD dwA, WORD wB, DWORD dwC, DWORD dwD);
void MakeGameClientText(tagGameClientText& record, DWORD dwUserID, LPCSTR pszText);
