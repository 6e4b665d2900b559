#include "RoomReaderEntry.h"

#include <string.h>

#include "ReaderChecks.h"

#include "GameRelayTranslator.h"
#include "RoomMessageReader.h"

namespace
{

template <class T> bool Read(T& record, const uint8_t* p, size_t n)
{
    memset(&record, 0, sizeof(record));
    return UnpackRecord(record, p, UINT(n));
}

void LogonResult(const uint8_t* p, size_t n)
{
    tagRoomLogonResult r;
    if (ReadRoomLogonResult(r, p, UINT(n))) {
        CheckText(r.szName);
        CheckText(r.szMessage);
    }
}

void UserEnter(const uint8_t* p, size_t n)
{
    tagRoomUserEnter r;
    if (Read(r, p, n))
        CheckText(r.szNickName);
}

void FixedRecords(const uint8_t* p, size_t n)
{
    tagRoomUserStatusMessage status;
    Read(status, p, n);
    tagRoomUserScore score;
    Read(score, p, n);
    tagRoomGameRecord record;
    Read(record, p, n);
    tagRoomUserExtension extension;
    Read(extension, p, n);
    tagRoomIdValue value;
    Read(value, p, n);
    tagRoomFlagsMessage flags;
    Read(flags, p, n);
    tagRoomTableFlagsMessage table;
    Read(table, p, n);
    tagRoomGroupMessage group;
    Read(group, p, n);
    DWORD dwValue;
    Read(dwValue, p, n);
    BYTE cbValue;
    Read(cbValue, p, n);
    tagBankPasswordAnswer answer;
    ReadBankPasswordAnswer(answer, p, UINT(n));
}

void Chat(const uint8_t* p, size_t n)
{
    tagRoomChatMessage r;
    if (Read(r, p, n))
        CheckText(r.szText);
}

void Speaker(const uint8_t* p, size_t n)
{
    tagRoomSpeakerMessage r;
    if (ReadRoomSpeaker(r, p, UINT(n)))
        CheckText(r.szText);
}

void Invite(const uint8_t* p, size_t n)
{
    tagRoomInviteNotice r;
    if (ReadRoomInvite(r, p, UINT(n)))
        Check(n >= 6 && r.dwTableID <= 0xFFFF);
}

void UserTexts(const uint8_t* p, size_t n)
{
    tagRoomUserTexts r;
    if (UnpackRecord(r, p, UINT(n))) {
        Check(size_t(r.Texts.GetSize()) * 3 <= n);
        for (INT_PTR i = 0; i < r.Texts.GetSize(); ++i)
            CheckText(r.Texts[i].szText);
    }
}

void Whisper(const uint8_t* p, size_t n)
{
    tagRoomWhisperMessage r;
    if (Read(r, p, n))
        CheckText(r.szText);
}

void GameRecords(const uint8_t* p, size_t n)
{
    CArray<tagRoomGameRecord, const tagRoomGameRecord&> r;
    if (ReadGameRecords(r, p, UINT(n)))
        Check(size_t(r.GetSize()) * 14 <= n);
}

void UserList(const uint8_t* p, size_t n, bool bWithSeats)
{
    // Every type code, one unknown code at 47 and nothing past 47.
    CByteArray types;
    types.SetSize(48);
    const BYTE cbTyped[] = {0, 1, 2, 3, 4, 9};
    for (int i = 0; i < 6; ++i)
        types[42 + i] = cbTyped[i];
    CArray<tagRoomUserAttributes, const tagRoomUserAttributes&> users;
    if (!ReadUserList(users, bWithSeats, types, p, UINT(n)))
        return;
    Check(size_t(users.GetSize()) * 6 <= n);
    for (INT_PTR i = 0; i < users.GetSize(); ++i) {
        const tagUserAttributes& v = users[i].Values;
        CheckText(v.szName);
        CheckText(v.szNickName);
        CheckText(v.szKey15);
        CheckText(v.szExtraText1);
        CheckText(v.szExtraText2);
    }
}

void UserListWithSeats(const uint8_t* p, size_t n)
{
    UserList(p, n, true);
}

void UserChanges(const uint8_t* p, size_t n)
{
    UserList(p, n, false);
}

void RoomInfo(const uint8_t* p, size_t n)
{
    for (BYTE cbKind : {BYTE(0), BYTE(4), BYTE(5)}) {
        tagRoomInfo* r = new tagRoomInfo;
        if (ReadRoomInfo(*r, cbKind, p, UINT(n))) {
            CheckText(r->szWelcome);
            CheckText(r->Match.szName);
            Check(r->dwValueCount <= ROOM_INFO_MAX_VALUES);
        }
        delete r;
    }
}

void SystemText(const uint8_t* p, size_t n)
{
    tagRoomSystemText r;
    if (Read(r, p, n))
        CheckText(r.szText);
}

void ItemList(const uint8_t* p, size_t n)
{
    CArray<tagRoomItemRecord, const tagRoomItemRecord&> r;
    if (!ReadItemList(r, p, UINT(n)))
        return;
    Check(size_t(r.GetSize()) * 15 <= n);
    for (INT_PTR i = 0; i < r.GetSize(); ++i) {
        CheckText(r[i].szName);
        CheckText(r[i].szDescription);
    }
}

void TableRecord(const uint8_t* p, size_t n)
{
    tagRoomTableRecord r;
    if (Read(r, p, n))
        CheckText(r.szName);
    tagRoomTableChange change;
    if (Read(change, p, n))
        CheckText(change.Table.szName);
}

void TableList(const uint8_t* p, size_t n)
{
    CArray<tagRoomTableEntry, const tagRoomTableEntry&> r;
    if (!ReadTableList(r, p, UINT(n)))
        return;
    Check(size_t(r.GetSize()) * 19 <= n);
    for (INT_PTR i = 0; i < r.GetSize(); ++i)
        CheckText(r[i].szName);
}

void AttributeTypes(const uint8_t* p, size_t n)
{
    CByteArray types;
    if (ReadAttributeTypes(types, p, UINT(n)))
        Check(size_t(types.GetSize()) + 2 <= n);
}

bool RejectWord(CString& strText)
{
    if (strText.Find('x') < 0)
        return true;
    strText = "*";
    return false;
}

// u16 room sub, then the body of a room main 1004 message.
void GameTraffic(const uint8_t* p, size_t n)
{
    if (n < 2)
        return;
    uint16_t wSub = uint16_t(p[0] | p[1] << 8);
    tagGameTrafficContext context;
    context.dwOwnUserID = 1001;
    context.pfnFilterText = RejectWord;
    tagGameTrafficPlan plan;
    if (TranslateGameTraffic(context, ROOM_MAIN_GAME, wSub, p + 2, UINT(n - 2), plan))
        Check(plan.Head.wKind == GAME_KIND_CONTROL && plan.Body.size() + 4 <= GAME_CHANNEL_MAX_DATA);
    else
        Check(plan.Body.empty() && !plan.bGameStarted);
}

// u16 game sub, a byte choosing the room (its bit 0 anonymous, bit 1 own
// user, bit 2 the administrator's rank), then the body of a kind-101
// request.
void GameRequest(const uint8_t* p, size_t n)
{
    if (n < 3)
        return;
    uint16_t wSub = uint16_t(p[0] | p[1] << 8);
    tagGameRequestContext context;
    context.dwRoomRule = (p[2] & 1) != 0 ? ROOM_RULE_ANONYMOUS : 0;
    context.bHasOwnUser = (p[2] & 2) != 0;
    context.dwOwnRank = (p[2] & 4) != 0 ? ROOM_RANK_ADMIN : 0;
    tagGameRequestPlan plan;
    if (!TranslateGameRequest(context, GAME_KIND_CONTROL, wSub, p + 3, UINT(n - 3), plan)) {
        Check(plan.Frames.empty() && plan.nAction == GAME_ACTION_SEND);
        return;
    }
    for (const tagRoomFrame& frame : plan.Frames)
        Check(frame.wMainCmdID == ROOM_MAIN_GAME && frame.Body.size() <= n);
    Check(plan.strText.GetLength() <= 1023);
}

typedef void (*ReaderFn)(const uint8_t*, size_t);

struct tagReader
{
    ReaderFn pfnRead;
    uint16_t wMainCmdID;
    uint16_t wSubCmds[8]; // 0 ends the list
};

// The readers of every room server message that has a body.
const tagReader kReaders[] = {
    {LogonResult, 1002, {1001}},
    {UserEnter, 1002, {1004}},
    {FixedRecords, 1002, {1002, 1003, 1005, 1006, 1011, 1015, 1016, 1018}},
    {Chat, 1002, {1008}},
    {Speaker, 1002, {1009}},
    {Invite, 1002, {1010}},
    {UserTexts, 1002, {1013}},
    {Whisper, 1002, {1014}},
    {GameRecords, 1002, {1017}},
    {UserListWithSeats, 1002, {1026}},
    {UserChanges, 1002, {1027}},
    {RoomInfo, 1003, {1002}},
    {SystemText, 1003, {1004}},
    {ItemList, 1003, {1005}},
    {TableRecord, 1003, {1006, 1009}},
    {TableList, 1003, {1008}},
    {AttributeTypes, 1003, {1013}},
    // The rest of the fixed records.
    {FixedRecords, 1002, {1019, 1020, 1022, 1024, 1025, 1028, 1029, 1030}},
    {FixedRecords, 1002, {1032, 1033, 1034, 1043}},
    {FixedRecords, 1003, {1003, 1011}},
    {FixedRecords, 1007, {1001}},
    // Game traffic both ways; their seeds carry the sub in front of the body.
    {GameTraffic, 0, {}},
    {GameRequest, 0, {}},
};

} // namespace

size_t GetRoomReaderCount()
{
    return sizeof(kReaders) / sizeof(kReaders[0]);
}

int GetRoomReaderIndex(uint16_t wMainCmdID, uint16_t wSubCmdID)
{
    for (size_t i = 0; i < GetRoomReaderCount(); ++i) {
        if (kReaders[i].wMainCmdID != wMainCmdID)
            continue;
        for (uint16_t wSub : kReaders[i].wSubCmds) {
            if (wSub == wSubCmdID)
                return int(i);
        }
    }
    return -1;
}

int GetGameRelayReaderIndex(bool bRequest)
{
    return int(GetRoomReaderCount()) - (bRequest ? 1 : 2);
}

void RunRoomReader(const uint8_t* pData, size_t nSize)
{
    size_t nIndex, nBody;
    if (SplitReaderInput(pData, nSize, GetRoomReaderCount(), nIndex, nBody))
        kReaders[nIndex].pfnRead(pData + 1, nBody);
}
