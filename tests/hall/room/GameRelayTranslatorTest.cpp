// The game relay's translations in both directions and the records the hall
// sends the game client, against bytes written out by hand.
#include <string.h>

#include <string>
#include <vector>

#include "GameRelayTranslator.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

namespace
{

typedef std::vector<uint8_t> Bytes;

template <class T> Bytes BytesOf(const T& record)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&record);
    return Bytes(p, p + sizeof(record));
}

Bytes Fixed(const std::string& s, size_t n)
{
    Bytes b(s.begin(), s.end());
    b.resize(n, 0);
    return b;
}

struct tagFrameRow
{
    WORD wMain;
    WORD wSub;
    CWireBytes Body;
};

struct tagRequestRow
{
    const char* pszName;
    WORD wKind;
    WORD wGameSub;
    CWireBytes Body;
    std::vector<tagFrameRow> Frames;
    int nAction;
    std::string strText;
    DWORD dwValue;
};

tagGameRequestContext Room(DWORD dwRule = 0, bool bOwn = true, DWORD dwRank = 0)
{
    tagGameRequestContext context;
    context.dwRoomRule = dwRule;
    context.bHasOwnUser = bOwn;
    context.dwOwnRank = dwRank;
    return context;
}

CWireBytes ChatBody(const std::string& text, uint32_t stated)
{
    return CWireBytes().U16(stated).U16(0).U32(11).U32(22).U32(33).U32(0).Raw(text.data(), text.size());
}

void ExpectPlan(const tagRequestRow& row, const tagGameRequestPlan& plan)
{
    EXPECT_EQ(row.nAction, plan.nAction);
    EXPECT_EQ(row.strText, std::string(plan.strText.GetString(), size_t(plan.strText.GetLength())));
    EXPECT_EQ(row.dwValue, plan.dwValue);
    ASSERT_EQ(row.Frames.size(), plan.Frames.size());
    for (size_t i = 0; i < row.Frames.size(); ++i) {
        EXPECT_EQ(row.Frames[i].wMain, plan.Frames[i].wMainCmdID) << i;
        EXPECT_EQ(row.Frames[i].wSub, plan.Frames[i].wSubCmdID) << i;
        EXPECT_EQ(row.Frames[i].Body.Vector(), plan.Frames[i].Body) << i;
    }
}

bool FilterOut(CString& strText)
{
    if (strText.Find("bad") < 0)
        return true;
    strText = "***";
    return false;
}

} // namespace

TEST(GameRecords, LayoutsAndGoldenBytes)
{
    tagRoomItemRecord item;
    memset(&item, 0, sizeof(item));
    item.dwItemID = 0x01020304;
    strcpy(item.szName, "item");
    item.cbValue1 = 5;
    item.wValue2 = 0x0607;
    item.cbValue3 = 8;
    item.dwValue4 = 0x090A0B0C;
    item.cbValue5 = 13;
    strcpy(item.szDescription, "about");
    tagGameItemRecord record;
    memset(&record, 0xCC, sizeof(record));
    MakeGameItemRecord(record, item);
    CWireBytes itemBytes;
    itemBytes.U32(0x01020304).Bytes(Fixed("item", 64)).U8(5).U8(0).U16(0x0607).U8(8).Fill(3, 0).U32(0x090A0B0C);
    itemBytes.U8(13).Bytes(Fixed("about", 256)).Fill(3, 0);
    EXPECT_EQ(itemBytes.Vector(), BytesOf(record));

    tagGameForwardRecord forward;
    memset(&forward, 0xCC, sizeof(forward));
    MakeGameForwardRecord(forward, 1, 2, 3, 4);
    EXPECT_EQ(CWireBytes().U32(1).U16(2).U16(0).U32(3).U32(4).Vector(), BytesOf(forward));

    tagGameClientText text;
    MakeGameClientText(text, 0, "hi");
    EXPECT_EQ(CWireBytes().U32(0).Bytes(Fixed("hi", 1024)).U8(1).Fill(3, 0).Vector(), BytesOf(text));
    MakeGameClientText(text, 7, "hi");
    EXPECT_EQ(0, text.cbAll);

    tagRoomInfo* info = new tagRoomInfo;
    memset(info, 0, sizeof(*info));
    info->dwRoomID = 0x11;
    strcpy(info->Match.szName, "cup");
    info->Match.wValue1 = 0x21;
    info->Match.wValue2 = 0x22;
    info->Match.dwValue3 = 0x23;
    info->Match.wValue4 = 0x24;
    info->Match.dwValue5 = 0x25;
    info->Match.cbKind = 0x26;
    info->Match.dwValue6 = 0x27;
    info->Match.wValue7 = 0x28;
    memcpy(info->Match.cbTime, "\1\2\3\4\5\6\7\x8", 8);
    info->Match.cbGroupCount = 3;
    info->dwValueCount = 2;
    info->dwValues[0] = 0x31;
    info->dwValues[1] = 0x32;
    CWireBytes match;
    match.U32(0x11).Bytes(Fixed("cup", 33)).Fill(31, 0).U16(0x21).U16(0x22).U32(0x23).U16(0x24).U16(0);
    match.U32(0x25).U8(0x26).Fill(3, 0).U32(0x27).U32(3).U16(0x28).Fill(6, 0).Raw("\1\2\3\4\5\6\7\x8", 8);
    match.U32(2).U32(0x31).U32(0x32).U32(0);
    Bytes body = BuildMatchDescriptionBody(*info);
    EXPECT_EQ(120u + 4 * 2, body.size());
    EXPECT_EQ(match.Vector(), body);
    delete info;
}

TEST(GameRelay, ClientRequestsRowByRow)
{
    const std::string password(32, 'p');
    const tagRequestRow rows[] = {
        {"pass-through", 100, 77, CWireBytes({1, 2, 3}), {{1005, 77, CWireBytes({1, 2, 3})}}, GAME_ACTION_SEND, "", 0},
        {"sub 1: 7 then 3",
         101,
         1,
         CWireBytes({9, 8}),
         {{1004, 7, CWireBytes({9})}, {1004, 3, CWireBytes({9, 8})}},
         GAME_ACTION_SEND,
         "",
         0},
        {"sub 2", 101, 2, CWireBytes({4}), {{1004, 1, CWireBytes({4})}}, GAME_ACTION_SEND, "", 0},
        {"chat",
         101,
         200,
         ChatBody("hello", 5),
         {{1004, 2, CWireBytes().U32(33).U32(11).Str("hello")}},
         GAME_ACTION_SEND,
         "",
         0},
        {"chat stated past the body",
         101,
         200,
         ChatBody("hey", 200),
         {{1004, 2, CWireBytes().U32(33).U32(11).Str("hey")}},
         GAME_ACTION_SEND,
         "",
         0},
        {"chat cut at 255",
         101,
         200,
         ChatBody(std::string(300, 'x'), 300),
         {{1004, 2, CWireBytes().U32(33).U32(11).Str(std::string(255, 'x'))}},
         GAME_ACTION_SEND,
         "",
         0},
        {"201 x 0", 101, 201, CWireBytes().U32(0).U8(5), {{1004, 7, CWireBytes({1})}}, GAME_ACTION_SEND, "", 0},
        {"201 x set",
         101,
         201,
         CWireBytes().U32(9).U8(0),
         {{1004, 8, CWireBytes().U32(9).U8(0)}},
         GAME_ACTION_SEND,
         "",
         0},
        {"300", 101, 300, CWireBytes(), {}, GAME_ACTION_NONE, "", 0},
        {"speaker unterminated", 101, 301, CWireBytes({'l', 'o', 'u', 'd'}), {}, GAME_ACTION_SPEAKER, "loud", 0},
        {"kick", 101, 400, CWireBytes().U32(1).U32(42), {}, GAME_ACTION_KICK, "", 42},
        {"500",
         101,
         500,
         CWireBytes().U32(0x01020304).U16(0x0506),
         {{1004, 9, CWireBytes().U32(0x01020304).U16(0x0506)}},
         GAME_ACTION_SEND,
         "",
         0},
        {"504", 101, 504, CWireBytes({1, 2}), {{1004, 13, CWireBytes({1, 2})}}, GAME_ACTION_SEND, "", 0},
        {"601",
         101,
         601,
         CWireBytes().U16(0).Raw("note", 4),
         {{1004, 4, CWireBytes().Counted("note")}},
         GAME_ACTION_SEND,
         "",
         0},
        {"602",
         101,
         602,
         CWireBytes().U16(0x0102).U8(7),
         {{1004, 5, CWireBytes().U16(0x0102).U8(1)}},
         GAME_ACTION_SEND,
         "",
         0},
        {"speed test", 101, 603, CWireBytes().U32(55), {}, GAME_ACTION_SPEED_TEST, "", 55},
        {"604", 101, 604, CWireBytes(), {{1004, 12, CWireBytes()}}, GAME_ACTION_SEND, "", 0},
        {"bank password",
         101,
         701,
         CWireBytes().Raw(password.data(), 32).U8('z'),
         {},
         GAME_ACTION_BANK_PASSWORD,
         password,
         0},
        {"withdraw",
         101,
         702,
         CWireBytes().Raw(password.data(), 32).U32(500),
         {},
         GAME_ACTION_BANK_WITHDRAW,
         password,
         500},
        {"deposit", 101, 703, CWireBytes().U32(600), {}, GAME_ACTION_BANK_DEPOSIT, "", 600},
        {"901 on", 101, 901, CWireBytes({1}), {{1004, 14, CWireBytes()}}, GAME_ACTION_SEND, "", 0},
        {"901 off", 101, 901, CWireBytes({0}), {{1004, 15, CWireBytes()}}, GAME_ACTION_SEND, "", 0},
    };
    for (const tagRequestRow& row : rows) {
        SCOPED_TRACE(row.pszName);
        tagGameRequestPlan plan;
        ASSERT_TRUE(TranslateGameRequest(Room(), row.wKind, row.wGameSub, row.Body.Data(), row.Body.Size32(), plan));
        ExpectPlan(row, plan);
    }
}

TEST(GameRelay, AnonymousRoomsSwallowChatAndBlankNotes)
{
    CWireBytes chat = ChatBody("hello", 5);
    tagGameRequestPlan plan;
    ASSERT_TRUE(TranslateGameRequest(Room(ROOM_RULE_ANONYMOUS), 101, 200, chat.Data(), chat.Size32(), plan));
    EXPECT_EQ(GAME_ACTION_NONE, plan.nAction);
    EXPECT_TRUE(plan.Frames.empty());

    CWireBytes note = CWireBytes().U16(0).Raw("note", 4);
    ASSERT_TRUE(TranslateGameRequest(Room(ROOM_RULE_ANONYMOUS), 101, 601, note.Data(), note.Size32(), plan));
    ASSERT_EQ(1u, plan.Frames.size());
    EXPECT_EQ(CWireBytes().Counted("").Vector(), plan.Frames[0].Body);
    ASSERT_TRUE(TranslateGameRequest(Room(ROOM_RULE_ANONYMOUS, true, ROOM_RANK_ADMIN), 101, 601, note.Data(),
                                     note.Size32(), plan));
    EXPECT_EQ(CWireBytes().Counted("note").Vector(), plan.Frames[0].Body);
    EXPECT_FALSE(TranslateGameRequest(Room(0, false), 101, 601, note.Data(), note.Size32(), plan));
}

TEST(GameRelay, MalformedClientRequestsAreRefused)
{
    struct
    {
        WORD wKind;
        WORD wGameSub;
        UINT nSize;
    } const rows[] = {
        {102, 1, 8},   {99, 1, 8},     {101, 3, 8},    {101, 1000, 8}, {101, 1, 0},   {101, 200, 19},
        {101, 201, 4}, {101, 400, 7},  {101, 400, 0},  {101, 500, 5},  {101, 601, 1}, {101, 602, 2},
        {101, 603, 3}, {101, 701, 31}, {101, 702, 35}, {101, 703, 3},  {101, 901, 0},
    };
    const uint8_t body[64] = {1, 1, 1, 1};
    for (const auto& row : rows) {
        tagGameRequestPlan plan;
        EXPECT_FALSE(TranslateGameRequest(Room(), row.wKind, row.wGameSub, body, row.nSize, plan))
            << row.wKind << "/" << row.wGameSub << " " << row.nSize;
        EXPECT_TRUE(plan.Frames.empty());
        EXPECT_EQ(GAME_ACTION_SEND, plan.nAction);
    }
}

TEST(GameRelay, ServerTrafficRowByRow)
{
    struct tagRow
    {
        const char* pszName;
        WORD wMain;
        WORD wSub;
        CWireBytes Body;
        WORD wKind;
        WORD wGameSub;
        CWireBytes Expected;
        int nNotice;
        DWORD dwNotice[2];
    } const rows[] = {
        {"pass-through", 1005, 33, CWireBytes({1, 2}), 100, 33, CWireBytes({1, 2}), GAME_NOTICE_NONE, {0, 0}},
        {"1001", 1004, 1001, CWireBytes({1, 2}), 101, 101, CWireBytes({1, 2}), GAME_NOTICE_NONE, {0, 0}},
        {"chat",
         1004,
         1002,
         CWireBytes().U32(1).U32(2).U32(3).Str("hi"),
         101,
         200,
         CWireBytes().U16(2).U16(0).U32(3).U32(1).U32(2).U32(0).Raw("hi", 2),
         GAME_NOTICE_NONE,
         {0, 0}},
        {"chat filtered",
         1004,
         1002,
         CWireBytes().U32(1).U32(2).U32(3).Str("so bad"),
         101,
         200,
         CWireBytes().U16(3).U16(0).U32(3).U32(1).U32(2).U32(0).Raw("***", 3),
         GAME_NOTICE_NONE,
         {0, 0}},
        {"system",
         1004,
         1003,
         CWireBytes().U8(2).U32(0x11).Str("sys"),
         101,
         300,
         CWireBytes().U16(0x402).U16(3).Raw("sys", 3),
         GAME_NOTICE_NONE,
         {0, 0}},
        {"1005",
         1004,
         1005,
         CWireBytes().U16(9).Counted("abc"),
         101,
         601,
         CWireBytes().U16(9).Bytes(Fixed("abc", 65)).U8(0),
         GAME_NOTICE_NONE,
         {0, 0}},
        {"1006 flag 0",
         1004,
         1006,
         CWireBytes().U8(0),
         101,
         602,
         CWireBytes().U16(0).U8(1).U8(0),
         GAME_NOTICE_NONE,
         {0, 0}},
        {"1006 flag 1",
         1004,
         1006,
         CWireBytes().U8(1).U16(0x0304),
         101,
         602,
         CWireBytes().U16(0x0304).U8(0).U8(0),
         GAME_NOTICE_NONE,
         {0, 0}},
        {"1007",
         1004,
         1007,
         CWireBytes().U8(5).U32(0x00070008),
         101,
         100,
         CWireBytes().U8(5).U8(0).U16(3).U16(4).U16(8),
         GAME_NOTICE_NONE,
         {0, 0}},
        {"1008",
         1004,
         1008,
         CWireBytes().U8(1),
         101,
         201,
         CWireBytes().U32(0).U8(1).Fill(3, 0),
         GAME_NOTICE_NONE,
         {0, 0}},
        {"1009 other",
         1004,
         1009,
         CWireBytes().U32(1).U32(2),
         101,
         400,
         CWireBytes().U32(1).U32(2),
         GAME_NOTICE_NONE,
         {0, 0}},
        {"1009 own",
         1004,
         1009,
         CWireBytes().U32(1).U32(1001),
         101,
         400,
         CWireBytes().U32(1).U32(1001),
         GAME_NOTICE_KICKED,
         {1001, 1}},
        {"1010 own",
         1004,
         1010,
         CWireBytes().U32(1001),
         101,
         401,
         CWireBytes().U32(0).U32(1001),
         GAME_NOTICE_KICKED,
         {1001, 0}},
        {"1011", 1004, 1011, CWireBytes().U8(6).U8(7), 101, 402, CWireBytes({6}), GAME_NOTICE_NONE, {0, 0}},
        {"1012", 1004, 1012, CWireBytes().U8(6).U8(7), 101, 403, CWireBytes({7}), GAME_NOTICE_NONE, {0, 0}},
        {"1013",
         1004,
         1013,
         CWireBytes().U32(5).U16(6),
         101,
         500,
         CWireBytes().U32(5).U16(6).U16(0),
         GAME_NOTICE_NONE,
         {0, 0}},
        {"1014", 1004, 1014, CWireBytes().U8(4), 101, 501, CWireBytes({4}), GAME_NOTICE_NONE, {0, 0}},
        {"1015", 1004, 1015, CWireBytes().U32(3), 101, 502, CWireBytes().U32(3), GAME_NOTICE_ROUNDS, {3, 0}},
        {"1018", 1004, 1018, CWireBytes().U8(1), 101, 604, CWireBytes({1}), GAME_NOTICE_NONE, {0, 0}},
        {"1019", 1004, 1019, CWireBytes({8, 9}), 101, 504, CWireBytes({8, 9}), GAME_NOTICE_NONE, {0, 0}},
    };
    tagGameTrafficContext context;
    context.dwOwnUserID = 1001;
    context.bHasOwnTable = true;
    context.cbTableValue = 3;
    context.cbTableWord = 4;
    context.pfnFilterText = FilterOut;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        tagGameTrafficPlan plan;
        ASSERT_TRUE(TranslateGameTraffic(context, row.wMain, row.wSub, row.Body.Data(), row.Body.Size32(), plan));
        EXPECT_EQ(row.wKind, plan.Head.wKind);
        EXPECT_EQ(row.wGameSub, plan.Head.wSubCmdID);
        EXPECT_EQ(row.Expected.Vector(), plan.Body);
        EXPECT_EQ(row.nNotice, plan.nNotice);
        EXPECT_EQ(row.dwNotice[0], plan.dwNotice[0]);
        EXPECT_EQ(row.dwNotice[1], plan.dwNotice[1]);
        EXPECT_FALSE(plan.bGameStarted);
    }
}

TEST(GameRelay, ServerStartAndTableFallback)
{
    tagGameTrafficContext context;
    tagGameTrafficPlan plan;
    ASSERT_TRUE(TranslateGameTraffic(context, 1004, 1004, "\1", 1, plan));
    EXPECT_EQ(102, plan.Head.wSubCmdID);
    EXPECT_TRUE(plan.bGameStarted);

    // No own table: 1 and 1.
    CWireBytes body = CWireBytes().U8(5).U32(0x00070008);
    ASSERT_TRUE(TranslateGameTraffic(context, 1004, 1007, body.Data(), body.Size32(), plan));
    EXPECT_EQ(CWireBytes().U8(5).U8(0).U16(1).U16(1).U16(8).Vector(), plan.Body);
}

TEST(GameRelay, ServerTrafficDropped)
{
    tagGameTrafficContext context;
    std::vector<uint8_t> big(4096, 1);
    struct
    {
        const char* pszName;
        WORD wMain;
        WORD wSub;
        CWireBytes Body;
    } const rows[] = {
        {"no row 1016", 1004, 1016, CWireBytes({1})},
        {"no row 1017", 1004, 1017, CWireBytes({1})},
        {"no row 1020", 1004, 1020, CWireBytes({1})},
        {"other main", 1003, 1001, CWireBytes({1})},
        {"short chat", 1004, 1002, CWireBytes().U32(1).U32(2)},
        {"string past the body", 1004, 1003, CWireBytes().U8(0).U32(0).U8(9).Raw("ab", 2)},
        {"short 1013", 1004, 1013, CWireBytes().U32(1).U8(0)},
        {"no flag value", 1004, 1006, CWireBytes().U8(1)},
        {"counted past the body", 1004, 1005, CWireBytes().U16(0).U32(100)},
        {"head and body past 4096", 1005, 1, CWireBytes().Raw(big.data(), 4093)},
        {"unchanged past 4096", 1004, 1019, CWireBytes().Raw(big.data(), 4093)},
        {"above 4096", 1005, 1, CWireBytes().Raw(big.data(), 4096).U8(0)},
    };
    for (const auto& row : rows) {
        tagGameTrafficPlan plan;
        EXPECT_FALSE(TranslateGameTraffic(context, row.wMain, row.wSub, row.Body.Data(), row.Body.Size32(), plan))
            << row.pszName;
        EXPECT_TRUE(plan.Body.empty()) << row.pszName;
        EXPECT_FALSE(plan.bGameStarted);
    }
    tagGameTrafficPlan plan;
    EXPECT_TRUE(TranslateGameTraffic(context, 1005, 1, big.data(), 4092, plan));
}

TEST(GameRelay, SystemFlagsAndHallBodies)
{
    const unsigned rows[][3] = {
        {0x00, 0, 0x101}, {0x10, 1, 0x201}, {0x01, 2, 0x402}, {0x21, 3, 0x802}, {0x02, 4, 0x001}, {0x0F, 255, 0x001},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row[2], MakeGameSystemFlags(row[0], BYTE(row[1]))) << row[0] << " " << row[1];

    std::string longText(300, 'y');
    Bytes chat = BuildGameChatBody(1, 2, 3, longText.c_str(), longText.size());
    EXPECT_EQ(20u + 255, chat.size());
    EXPECT_EQ(255, chat[0]);
    // A double-byte character is never split at the cut.
    std::string gbk = std::string(254, 'a') + "\xC4\xE3";
    chat = BuildGameChatBody(1, 2, 3, gbk.c_str(), gbk.size());
    EXPECT_EQ(20u + 254, chat.size());
    Bytes system = BuildGameSystemBody(GAME_SYSTEM_FLAGS_HALL, "ok", 2);
    EXPECT_EQ(CWireBytes().U16(0x0101).U16(2).Raw("ok", 2).Vector(), system);
}
