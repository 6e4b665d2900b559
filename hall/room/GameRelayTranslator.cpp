#include "GameRelayTranslator.h"

#include <string.h>

#include "TextUnit.h"

namespace
{

// Least body size a client request of each game sub needs.
struct tagMinimumSize
{
    WORD wGameSub;
    UINT nSize;
};
const tagMinimumSize kMinimumSizes[] = {{1, 1},   {200, 20}, {201, 5},  {400, 8},  {500, 6}, {601, 2},
                                        {602, 3}, {603, 4},  {701, 32}, {702, 36}, {703, 4}, {901, 1}};

const UINT GAME_CHAT_HEAD = 20;
const size_t GAME_CHAT_MAX_TEXT = 255;
const size_t GAME_SPEAKER_MAX_TEXT = 1023;
const size_t GAME_NOTE_MAX_TEXT = 64;
const size_t GAME_SYSTEM_MAX_TEXT = 1023;
const size_t ROOM_SYSTEM_MAX_TEXT = 511;
const UINT GAME_BANK_PASSWORD = 32;

UINT MinimumSize(WORD wGameSub)
{
    for (const tagMinimumSize& row : kMinimumSizes) {
        if (row.wGameSub == wGameSub)
            return row.nSize;
    }
    return 0;
}

template <class T> T ReadAt(const BYTE* p, UINT nOffset)
{
    T value;
    memcpy(&value, p + nOffset, sizeof(value));
    return value;
}

// A text inside a body: up to its first zero, at most nMaxBytes, never half
// a character.
CString BoundedText(const BYTE* p, UINT nSize, size_t nMaxBytes)
{
    const char* psz = reinterpret_cast<const char*>(p);
    const void* pEnd = memchr(psz, '\0', nSize);
    size_t nLength = pEnd == NULL ? nSize : size_t(static_cast<const char*>(pEnd) - psz);
    nLength = TextCutLength(psz, nLength, nMaxBytes);
    return CString(psz, int(nLength));
}

// Writes an archive body through write(ar).
template <class Writer> std::vector<BYTE> ArchiveBody(Writer write)
{
    CSafeMemFile file(RECORD_GROW_BYTES);
    {
        CArchive ar(&file, CArchive::store, RECORD_ARCHIVE_BUFFER);
        write(ar);
        ar.Close();
    }
    return std::vector<BYTE>(file.GetData(), file.GetData() + file.GetDataSize());
}

void AddFrame(tagGameRequestPlan& plan, WORD wSubCmdID, std::vector<BYTE> body)
{
    tagRoomFrame frame;
    frame.wMainCmdID = ROOM_MAIN_GAME;
    frame.wSubCmdID = wSubCmdID;
    frame.Body = std::move(body);
    plan.Frames.push_back(std::move(frame));
}

void AddRawFrame(tagGameRequestPlan& plan, WORD wMainCmdID, WORD wSubCmdID, const BYTE* p, UINT nSize)
{
    tagRoomFrame frame;
    frame.wMainCmdID = wMainCmdID;
    frame.wSubCmdID = wSubCmdID;
    frame.Body.assign(p, p + nSize);
    plan.Frames.push_back(std::move(frame));
}

bool TranslateControlRequest(const tagGameRequestContext& context, WORD wGameSub, const BYTE* p, UINT nSize,
                             tagGameRequestPlan& plan)
{
    if (nSize < MinimumSize(wGameSub))
        return false;
    switch (wGameSub) {
    case 1: {
        BYTE cbFirst = p[0];
        AddFrame(plan, ROOM_GAME_SUB_FLAG, ArchiveBody([&](CArchive& ar) { ar << cbFirst; }));
        AddRawFrame(plan, ROOM_MAIN_GAME, ROOM_GAME_SUB_DATA, p, nSize);
        return true;
    }
    case 2: AddRawFrame(plan, ROOM_MAIN_GAME, ROOM_GAME_SUB_START, p, nSize); return true;
    case 200: {
        if ((context.dwRoomRule & ROOM_RULE_ANONYMOUS) != 0) {
            plan.nAction = GAME_ACTION_NONE;
            return true;
        }
        DWORD dwA = ReadAt<DWORD>(p, 4);
        DWORD dwC = ReadAt<DWORD>(p, 12);
        size_t nStated = ReadAt<WORD>(p, 0);
        UINT nText = nSize - GAME_CHAT_HEAD;
        CString strText = BoundedText(p + GAME_CHAT_HEAD, nStated < nText ? UINT(nStated) : nText, GAME_CHAT_MAX_TEXT);
        AddFrame(plan, ROOM_GAME_SUB_CHAT, ArchiveBody([&](CArchive& ar) {
                     ar << dwC << dwA;
                     WriteArchiveString(ar, strText.GetString(), size_t(strText.GetLength()));
                 }));
        return true;
    }
    case 201: {
        DWORD dwX = ReadAt<DWORD>(p, 0);
        bool bY = p[4] != 0;
        if (dwX == 0)
            AddFrame(plan, ROOM_GAME_SUB_FLAG, ArchiveBody([&](CArchive& ar) { ar << bY; }));
        else
            AddFrame(plan, ROOM_GAME_SUB_FLAG_OF, ArchiveBody([&](CArchive& ar) { ar << dwX << bY; }));
        return true;
    }
    case 300: plan.nAction = GAME_ACTION_NONE; return true;
    case 301:
        plan.nAction = GAME_ACTION_SPEAKER;
        plan.strText = BoundedText(p, nSize, GAME_SPEAKER_MAX_TEXT);
        return true;
    case 400:
        plan.nAction = GAME_ACTION_KICK;
        plan.dwValue = ReadAt<DWORD>(p, 4);
        return true;
    case 500: {
        DWORD dwValue = ReadAt<DWORD>(p, 0);
        WORD wValue = ReadAt<WORD>(p, 4);
        AddFrame(plan, ROOM_GAME_SUB_SCORE, ArchiveBody([&](CArchive& ar) { ar << dwValue << wValue; }));
        return true;
    }
    case 504: AddRawFrame(plan, ROOM_MAIN_GAME, ROOM_GAME_SUB_RECORD, p, nSize); return true;
    case 601: {
        if (!context.bHasOwnUser)
            return false;
        CString strText = BoundedText(p + 2, nSize - 2, GAME_NOTE_MAX_TEXT);
        if ((context.dwRoomRule & ROOM_RULE_ANONYMOUS) != 0 && context.dwOwnRank != ROOM_RANK_ADMIN)
            strText.Empty();
        AddFrame(plan, ROOM_GAME_SUB_NOTE, ArchiveBody([&](CArchive& ar) {
                     WriteCountedString(ar, strText.GetString(), size_t(strText.GetLength()));
                 }));
        return true;
    }
    case 602: {
        WORD wValue = ReadAt<WORD>(p, 0);
        bool bFlag = p[2] != 0;
        AddFrame(plan, ROOM_GAME_SUB_VALUE, ArchiveBody([&](CArchive& ar) { ar << wValue << bFlag; }));
        return true;
    }
    case 603:
        plan.nAction = GAME_ACTION_SPEED_TEST;
        plan.dwValue = ReadAt<DWORD>(p, 0);
        return true;
    case 604: AddFrame(plan, ROOM_GAME_SUB_ASK, std::vector<BYTE>()); return true;
    case 701:
        plan.nAction = GAME_ACTION_BANK_PASSWORD;
        plan.strText = CString(reinterpret_cast<const char*>(p), int(GAME_BANK_PASSWORD));
        return true;
    case 702:
        plan.nAction = GAME_ACTION_BANK_WITHDRAW;
        plan.strText = CString(reinterpret_cast<const char*>(p), int(GAME_BANK_PASSWORD));
        plan.dwValue = ReadAt<DWORD>(p, GAME_BANK_PASSWORD);
        return true;
    case 703:
        plan.nAction = GAME_ACTION_BANK_DEPOSIT;
        plan.dwValue = ReadAt<DWORD>(p, 0);
        return true;
    case 901: AddFrame(plan, p[0] != 0 ? ROOM_GAME_SUB_ON : ROOM_GAME_SUB_OFF, std::vector<BYTE>()); return true;
    }
    return false;
}

void Append(std::vector<BYTE>& body, const void* p, size_t n)
{
    const BYTE* pb = static_cast<const BYTE*>(p);
    body.insert(body.end(), pb, pb + n);
}

template <class T> void AppendValue(std::vector<BYTE>& body, T value)
{
    Append(body, &value, sizeof(value));
}

// Reads the whole body through read(ar); false when it is malformed.
template <class Reader> bool Read(const void* pBody, UINT nSize, Reader read)
{
    return ReadBody(pBody, nSize, read);
}

bool TranslateControlTraffic(const tagGameTrafficContext& context, WORD wSubCmdID, const BYTE* p, UINT nSize,
                             tagGameTrafficPlan& plan)
{
    std::vector<BYTE>& body = plan.Body;
    switch (wSubCmdID) {
    case 1001:
        plan.Head.wSubCmdID = 101;
        Append(body, p, nSize);
        return true;
    case 1002: {
        DWORD dwX = 0, dwY = 0, dwZ = 0;
        CString strText;
        if (!Read(p, nSize, [&](CArchive& ar) {
                ar >> dwX >> dwY >> dwZ;
                ReadArchiveString(ar, strText);
            }))
            return false;
        strText = CString(strText.GetString(),
                          int(TextCutLength(strText.GetString(), size_t(strText.GetLength()), GAME_CHAT_MAX_TEXT)));
        if (context.pfnFilterText != NULL)
            context.pfnFilterText(strText);
        plan.Head.wSubCmdID = 200;
        body = BuildGameChatBody(dwZ, dwX, dwY, strText.GetString(), size_t(strText.GetLength()));
        return true;
    }
    case 1003: {
        BYTE cbPlace = 0;
        DWORD dwKind = 0;
        CString strText;
        if (!Read(p, nSize, [&](CArchive& ar) {
                ar >> cbPlace >> dwKind;
                ReadArchiveString(ar, strText);
            }))
            return false;
        size_t nLength = TextCutLength(strText.GetString(), size_t(strText.GetLength()), ROOM_SYSTEM_MAX_TEXT);
        plan.Head.wSubCmdID = 300;
        body = BuildGameSystemBody(MakeGameSystemFlags(dwKind, cbPlace), strText.GetString(), nLength);
        return true;
    }
    case ROOM_GAME_SUB_S_STARTED:
        plan.Head.wSubCmdID = 102;
        plan.bGameStarted = true;
        Append(body, p, nSize);
        return true;
    case 1005: {
        WORD wValue = 0;
        CString strText;
        if (!Read(p, nSize, [&](CArchive& ar) {
                ar >> wValue;
                ReadCountedString(ar, strText);
            }))
            return false;
        char szText[65];
        CopyTextField(szText, strText);
        plan.Head.wSubCmdID = 601;
        AppendValue(body, wValue);
        Append(body, szText, sizeof(szText));
        body.push_back(0);
        return true;
    }
    case 1006: {
        BYTE cbFlag = 0;
        WORD wValue = 0;
        if (!Read(p, nSize, [&](CArchive& ar) {
                ar >> cbFlag;
                if (cbFlag != 0)
                    ar >> wValue;
            }))
            return false;
        plan.Head.wSubCmdID = 602;
        AppendValue(body, wValue);
        body.push_back(cbFlag == 0 ? 1 : 0);
        body.push_back(0);
        return true;
    }
    case 1007: {
        BYTE cbA = 0;
        DWORD dwB = 0;
        if (!Read(p, nSize, [&](CArchive& ar) { ar >> cbA >> dwB; }))
            return false;
        plan.Head.wSubCmdID = 100;
        body.push_back(cbA);
        body.push_back(0);
        AppendValue(body, WORD(context.bHasOwnTable ? context.cbTableValue : 1));
        AppendValue(body, WORD(context.bHasOwnTable ? context.cbTableWord : 1));
        AppendValue(body, WORD(dwB & 0xFFFF));
        return true;
    }
    case 1008: {
        bool bValue = false;
        if (!Read(p, nSize, [&](CArchive& ar) { ar >> bValue; }))
            return false;
        plan.Head.wSubCmdID = 201;
        AppendValue(body, DWORD(0));
        body.push_back(bValue ? 1 : 0);
        body.insert(body.end(), 3, 0);
        return true;
    }
    case 1009: {
        DWORD dwA = 0, dwB = 0;
        if (!Read(p, nSize, [&](CArchive& ar) { ar >> dwA >> dwB; }))
            return false;
        plan.Head.wSubCmdID = 400;
        AppendValue(body, dwA);
        AppendValue(body, dwB);
        if (dwB == context.dwOwnUserID) {
            plan.nNotice = GAME_NOTICE_KICKED;
            plan.dwNotice[0] = dwB;
            plan.dwNotice[1] = dwA;
        }
        return true;
    }
    case 1010: {
        DWORD dwV = 0;
        if (!Read(p, nSize, [&](CArchive& ar) { ar >> dwV; }))
            return false;
        plan.Head.wSubCmdID = 401;
        AppendValue(body, DWORD(0));
        AppendValue(body, dwV);
        if (dwV == context.dwOwnUserID) {
            plan.nNotice = GAME_NOTICE_KICKED;
            plan.dwNotice[0] = dwV;
        }
        return true;
    }
    case 1011:
    case 1012: {
        BYTE cbFirst = 0, cbSecond = 0;
        if (!Read(p, nSize, [&](CArchive& ar) { ar >> cbFirst >> cbSecond; }))
            return false;
        plan.Head.wSubCmdID = wSubCmdID == 1011 ? 402 : 403;
        body.push_back(wSubCmdID == 1011 ? cbFirst : cbSecond);
        return true;
    }
    case 1013: {
        DWORD dwValue = 0;
        WORD wValue = 0;
        if (!Read(p, nSize, [&](CArchive& ar) { ar >> dwValue >> wValue; }))
            return false;
        plan.Head.wSubCmdID = 500;
        AppendValue(body, dwValue);
        AppendValue(body, wValue);
        body.insert(body.end(), 2, 0);
        return true;
    }
    case 1014: {
        BYTE cbValue = 0;
        if (!Read(p, nSize, [&](CArchive& ar) { ar >> cbValue; }))
            return false;
        plan.Head.wSubCmdID = 501;
        body.push_back(cbValue);
        return true;
    }
    case 1015: {
        DWORD dwV = 0;
        if (!Read(p, nSize, [&](CArchive& ar) { ar >> dwV; }))
            return false;
        plan.Head.wSubCmdID = 502;
        AppendValue(body, dwV);
        plan.nNotice = GAME_NOTICE_ROUNDS;
        plan.dwNotice[0] = dwV;
        return true;
    }
    case 1018: {
        bool bValue = false;
        if (!Read(p, nSize, [&](CArchive& ar) { ar >> bValue; }))
            return false;
        plan.Head.wSubCmdID = 604;
        body.push_back(bValue ? 1 : 0);
        return true;
    }
    case 1019:
        plan.Head.wSubCmdID = 504;
        Append(body, p, nSize);
        return true;
    }
    return false;
}

} // namespace

bool TranslateGameRequest(const tagGameRequestContext& context, WORD wKind, WORD wGameSub, const void* pBody,
                          UINT nBodySize, tagGameRequestPlan& plan)
{
    plan = tagGameRequestPlan();
    const BYTE* p = static_cast<const BYTE*>(pBody);
    if (nBodySize > 0 && p == NULL)
        return false;
    if (wKind == GAME_KIND_FRAME) {
        AddRawFrame(plan, ROOM_MAIN_FRAME, wGameSub, p, nBodySize);
        return true;
    }
    if (wKind != GAME_KIND_CONTROL)
        return false;
    bool bDone = false;
    try {
        bDone = TranslateControlRequest(context, wGameSub, p, nBodySize, plan);
    } catch (CException* e) {
        e->Delete();
        bDone = false;
    }
    if (!bDone)
        plan = tagGameRequestPlan();
    return bDone;
}

bool TranslateGameTraffic(const tagGameTrafficContext& context, WORD wMainCmdID, WORD wSubCmdID, const void* pBody,
                          UINT nBodySize, tagGameTrafficPlan& plan)
{
    plan = tagGameTrafficPlan();
    const BYTE* p = static_cast<const BYTE*>(pBody);
    if (nBodySize > GAME_CHANNEL_MAX_DATA || (nBodySize > 0 && p == NULL))
        return false;
    bool bDone = false;
    if (wMainCmdID == ROOM_MAIN_FRAME) {
        plan.Head.wKind = GAME_KIND_FRAME;
        plan.Head.wSubCmdID = wSubCmdID;
        plan.Body.assign(p, p + nBodySize);
        bDone = true;
    } else if (wMainCmdID == ROOM_MAIN_GAME) {
        plan.Head.wKind = GAME_KIND_CONTROL;
        try {
            bDone = TranslateControlTraffic(context, wSubCmdID, p, nBodySize, plan);
        } catch (CException* e) {
            e->Delete();
            bDone = false;
        }
    }
    // The head and the body travel in one channel message.
    if (bDone && plan.Body.size() + sizeof(tagGameRelayHead) > GAME_CHANNEL_MAX_DATA)
        bDone = false;
    if (!bDone)
        plan = tagGameTrafficPlan();
    return bDone;
}

std::vector<BYTE> BuildGameChatBody(DWORD dwA, DWORD dwB, DWORD dwC, LPCSTR pszText, size_t nLength)
{
    if (pszText == NULL)
        nLength = 0;
    nLength = TextCutLength(pszText, nLength, GAME_CHAT_MAX_TEXT);
    std::vector<BYTE> body;
    AppendValue(body, WORD(nLength));
    body.insert(body.end(), 2, 0);
    AppendValue(body, dwA);
    AppendValue(body, dwB);
    AppendValue(body, dwC);
    body.insert(body.end(), 4, 0);
    Append(body, pszText, nLength);
    return body;
}

std::vector<BYTE> BuildGameSystemBody(WORD wFlags, LPCSTR pszText, size_t nLength)
{
    if (pszText == NULL)
        nLength = 0;
    nLength = TextCutLength(pszText, nLength, GAME_SYSTEM_MAX_TEXT);
    std::vector<BYTE> body;
    AppendValue(body, wFlags);
    AppendValue(body, WORD(nLength));
    Append(body, pszText, nLength);
    return body;
}

WORD MakeGameSystemFlags(DWORD dwKind, BYTE cbPlace)
{
    WORD wFlags = (dwKind & 0x0F) == 1 ? 2 : 1;
    if (cbPlace <= 3)
        wFlags |= WORD(0x100 << cbPlace);
    return wFlags;
}

std::vector<BYTE> BuildMatchDescriptionBody(const tagRoomInfo& info)
{
    tagGameMatchHead head;
    memset(&head, 0, sizeof(head));
    const tagMatchDescription& match = info.Match;
    head.dwRoomID = info.dwRoomID;
    CopyTextField(head.szName, match.szName);
    head.wValue1 = match.wValue1;
    head.wValue2 = match.wValue2;
    head.dwValue3 = match.dwValue3;
    head.wValue4 = match.wValue4;
    head.dwValue5 = match.dwValue5;
    head.cbKind = match.cbKind;
    head.dwValue6 = match.dwValue6;
    head.dwGroupCount = match.cbGroupCount;
    head.wValue7 = match.wValue7;
    memcpy(head.cbTime, match.cbTime, sizeof(head.cbTime));
    DWORD dwCount = info.dwValueCount < ROOM_INFO_MAX_VALUES ? info.dwValueCount : ROOM_INFO_MAX_VALUES;
    head.dwValueCount = dwCount;
    std::vector<BYTE> body;
    Append(body, &head, sizeof(head));
    Append(body, info.dwValues, dwCount * sizeof(DWORD));
    body.insert(body.end(), 4, 0);
    return body;
}

void MakeGameItemRecord(tagGameItemRecord& record, const tagRoomItemRecord& item)
{
    memset(&record, 0, sizeof(record));
    record.dwItemID = item.dwItemID;
    CopyTextField(record.szName, item.szName);
    record.cbValue1 = item.cbValue1;
    record.wValue2 = item.wValue2;
    record.cbValue3 = item.cbValue3;
    record.dwValue4 = item.dwValue4;
    record.cbValue5 = item.cbValue5;
    CopyTextField(record.szDescription, item.szDescription);
}

void MakeGameForwardRecord(tagGameForwardRecord& record, DWORD dwA, WORD wB, DWORD dwC, DWORD dwD)
{
    memset(&record, 0, sizeof(record));
    record.dwA = dwA;
    record.wB = wB;
    record.dwC = dwC;
    record.dwD = dwD;
}

void MakeGameClientText(tagGameClientText& record, DWORD dwUserID, LPCSTR pszText)
{
    memset(&record, 0, sizeof(record));
    record.dwUserID = dwUserID;
    CopyTextField(record.szText, pszText);
    record.cbAll = dwUserID == 0 ? 1 : 0;
}
