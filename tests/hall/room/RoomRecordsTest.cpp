// The room protocol's records and readers against bodies written byte by
// byte: what each reader makes of a body, the code tables, the attribute
// record across mask words, and the request records' wire order.
#include <string.h>

#include <string>
#include <vector>

#include "RoomBodies.h"
#include "RoomMessageReader.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

namespace
{

template <class T> std::vector<uint8_t> Pack(const T& record)
{
    CSafeMemFile file;
    EXPECT_TRUE(PackRecord(file, record));
    return std::vector<uint8_t>(file.GetData(), file.GetData() + file.GetDataSize());
}

std::string Gbk(const char* psz)
{
    return psz;
}

} // namespace

TEST(RoomCodes, LogonAndResultTables)
{
    const DWORD logon[][2] = {
        {0, 0},   {3, 3},   {4, 4},   {5, 32},  {6, 34},         {7, 37},          {8, 36},
        {9, 35},  {10, 10}, {11, 40}, {12, 38}, {13, 39},        {23, 33},         {24, 26},
        {27, 27}, {28, 28}, {29, 29}, {31, 31}, {1, 0xFFFFFFFF}, {30, 0xFFFFFFFF}, {0xFFFFFFFF, 0xFFFFFFFF}};
    for (const auto& row : logon)
        EXPECT_EQ(row[1], MapRoomLogonCode(row[0])) << row[0];
    const DWORD result[][2] = {{0, 0},   {7, 7},   {8, 0xFFFFFFFF}, {9, 9},   {13, 13}, {14, 16}, {17, 19},
                               {18, 20}, {24, 26}, {25, 14},        {26, 15}, {27, 27}, {31, 31}, {32, 0xFFFFFFFF}};
    for (const auto& row : result)
        EXPECT_EQ(row[1], MapRoomResultCode(row[0])) << row[0];
}

TEST(RoomCodes, StatusKeepsTheFlagBesideTheStatus)
{
    const DWORD rows[][2] = {{0, 1}, {1, 2},        {3, 4},        {4, 5},       {5, 0},
                             {7, 0}, {0x100, 0x11}, {0x104, 0x15}, {0x107, 0x10}};
    for (const auto& row : rows)
        EXPECT_EQ(row[1], MapUserStatus(row[0])) << row[0];
}

TEST(RoomReaders, LogonResultBothForms)
{
    CWireBytes ok = RoomBody::LogonOk(1001);
    tagRoomLogonResult r;
    ASSERT_TRUE(ReadRoomLogonResult(r, ok.Data(), ok.Size32()));
    EXPECT_EQ(0u, r.dwCode);
    EXPECT_EQ(1001u, r.dwUserID);
    EXPECT_STREQ(Gbk("玩家").c_str(), r.szName);
    EXPECT_EQ(7, r.wValue);
    EXPECT_TRUE(r.bFlag);

    std::string longText(1500, 'x');
    CWireBytes refused = RoomBody::LogonRefused(12, longText);
    ASSERT_TRUE(ReadRoomLogonResult(r, refused.Data(), refused.Size32()));
    EXPECT_EQ(12u, r.dwCode);
    EXPECT_EQ(1023u, strlen(r.szMessage)) << "cut to the field";

    CWireBytes counted = CWireBytes().U32(5).U32(100).Raw("ab", 2);
    EXPECT_FALSE(ReadRoomLogonResult(r, counted.Data(), counted.Size32())) << "text longer than the body";
}

TEST(RoomReaders, TextsAreCutBetweenCharacters)
{
    // 200 two-byte characters: 400 bytes for a 255-byte chat text.
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += Gbk("中");
    CWireBytes body = RoomBody::Chat(1, 2, 3, text);
    tagRoomChatMessage r;
    ASSERT_TRUE(UnpackRecord(r, body.Data(), body.Size32()));
    EXPECT_EQ(254u, strlen(r.szText)) << "the odd byte left over is not half a character";
    EXPECT_EQ(3u, r.dwZ);
}

TEST(RoomReaders, InviteIsRawAndNeedsSixBytes)
{
    CWireBytes body = RoomBody::Invite(0x01020304, 9);
    tagRoomInviteNotice r;
    ASSERT_TRUE(ReadRoomInvite(r, body.Data(), body.Size32()));
    EXPECT_EQ(9u, r.dwTableID);
    EXPECT_EQ(0x01020304u, r.dwUserID);
    for (unsigned n = 0; n < 6; ++n)
        EXPECT_FALSE(ReadRoomInvite(r, body.Data(), n)) << n;
}

TEST(RoomReaders, SpeakerBodiesOverFourKilobytesAreRefused)
{
    CWireBytes body = RoomBody::Speaker(5, "hi");
    tagRoomSpeakerMessage r;
    ASSERT_TRUE(ReadRoomSpeaker(r, body.Data(), body.Size32()));
    body.Fill(4097 - body.Size(), 0);
    EXPECT_FALSE(ReadRoomSpeaker(r, body.Data(), body.Size32()));
}

TEST(RoomReaders, RoomInfoFormFollowsTheRoomKind)
{
    // Kind 0 carries the u32 before the match; kind 4 does not; kind 5 has a
    // u16 and a u32 more.
    auto info = [](BYTE kind) {
        CWireBytes b;
        b.U32(77).U32(1).U16(30).U16(4).Str("w").U32(0x100);
        if (kind == 5)
            b.U16(8).U32(9);
        if (kind != 4)
            b.U32(10);
        b.Counted("m").U16(1).U16(2).U32(3).U16(4).U32(5).U8(6).U32(7).U16(8).U64(9).U8(1);
        b.U32(100).U8(2).U32(11).U32(1).U32(21).U16(5).U32(6);
        return b;
    };
    for (BYTE kind : {BYTE(0), BYTE(4), BYTE(5)}) {
        CWireBytes body = info(kind);
        tagRoomInfo* r = new tagRoomInfo;
        ASSERT_TRUE(ReadRoomInfo(*r, kind, body.Data(), body.Size32())) << int(kind);
        EXPECT_EQ(0x100u, r->dwRoomRule);
        EXPECT_EQ(kind == 4 ? 0u : 10u, r->dwValue);
        EXPECT_EQ(kind == 5 ? 9u : 0u, r->dwKindValue);
        EXPECT_EQ(6, r->Match.cbKind);
        EXPECT_EQ(11u, r->Groups[0].dwValue);
        EXPECT_EQ(2, r->Groups[0].cbState);
        EXPECT_EQ(21u, r->dwValues[0]);
        EXPECT_EQ(6u, r->dwTailValue);
        delete r;
    }
}

TEST(RoomReaders, TableListIsReadWholeBeforeAnything)
{
    CWireBytes body = RoomBody::TableList();
    CArray<tagRoomTableEntry, const tagRoomTableEntry&> entries;
    ASSERT_TRUE(ReadTableList(entries, body.Data(), body.Size32()));
    ASSERT_EQ(2, entries.GetSize());
    EXPECT_EQ(1, entries[0].wTableID);
    EXPECT_STREQ(Gbk("一号").c_str(), entries[0].szName);
    EXPECT_EQ(6, entries[0].cbValue5);
    EXPECT_FALSE(ReadTableList(entries, body.Data(), body.Size32() - 1));
    EXPECT_EQ(0, entries.GetSize()) << "nothing of a malformed list";
    CWireBytes huge = CWireBytes().U16(0xFFFF);
    EXPECT_FALSE(ReadTableList(entries, huge.Data(), huge.Size32()));
}

// Attribute records: (mask words, values) → fields.
TEST(RoomReaders, AttributeRecordAcrossMaskWords)
{
    CByteArray types;
    types.SetSize(46);
    types[42] = ATTRIBUTE_TYPE_U8;
    types[43] = ATTRIBUTE_TYPE_U64;
    types[44] = ATTRIBUTE_TYPE_TEXT;
    types[45] = 7; // unknown
    // Bits 1, 5, 20, 25, 31 in the first word; 32, 36, 39, 41, 42, 43, 44 in
    // the second.
    CWireBytes user;
    user.U32(501).Bytes(
        RoomBody::Attributes({(1u << 1) | (1u << 5) | (1u << 20) | (1u << 25) | (1u << 31),
                              (1u << 0) | (1u << 4) | (1u << 7) | (1u << 9) | (1u << 10) | (1u << 11) | (1u << 12)})
            .Vector());
    user.Counted("name").U16(33).U32(100).U32(600).U32(31).U32(32).U32(36).Counted("t1").Counted("t2").U32(41);
    user.U8(1).U64(2).Counted("skipped");
    CWireBytes body = CWireBytes().U16(1).Bytes(user.Vector());
    CArray<tagRoomUserAttributes, const tagRoomUserAttributes&> users;
    ASSERT_TRUE(ReadUserList(users, false, types, body.Data(), body.Size32()));
    ASSERT_EQ(1, users.GetSize());
    const tagUserAttributes& v = users[0].Values;
    EXPECT_EQ(501u, users[0].dwUserID);
    EXPECT_STREQ("name", v.szName);
    EXPECT_EQ(33, v.wFace);
    EXPECT_EQ(100u, v.dwScore[0]);
    EXPECT_EQ(600u, v.dwScore[5]);
    EXPECT_EQ(31u, v.dwFirstExtension[3]);
    EXPECT_EQ(32u, v.dwFirstExtension[0]);
    EXPECT_EQ(36u, v.dwTeamNumber);
    EXPECT_STREQ("t1", v.szExtraText1);
    EXPECT_STREQ("t2", v.szExtraText2);
    EXPECT_EQ(41u, v.dwSecondID);
    EXPECT_TRUE(v.Has(39));
    EXPECT_FALSE(v.Has(2));

    // A typed bit of unknown type, or past the type table, has a value of
    // unknown length: the whole list is refused.
    for (UINT bit : {45u, 46u, 50u}) {
        CWireBytes bad;
        bad.U16(1).U32(502).Bytes(RoomBody::Attributes({0, 1u << (bit - 32)}).Vector()).U32(0);
        EXPECT_FALSE(ReadUserList(users, false, types, bad.Data(), bad.Size32())) << bit;
        EXPECT_EQ(0, users.GetSize());
    }
    CWireBytes tooManyWords = CWireBytes().U16(1).U32(1).U16(500);
    EXPECT_FALSE(ReadUserList(users, false, types, tooManyWords.Data(), tooManyWords.Size32()));
}

TEST(RoomReaders, UserListWithSeats)
{
    CByteArray types;
    CWireBytes body = RoomBody::UserList(700);
    CArray<tagRoomUserAttributes, const tagRoomUserAttributes&> users;
    ASSERT_TRUE(ReadUserList(users, true, types, body.Data(), body.Size32()));
    ASSERT_EQ(1, users.GetSize());
    EXPECT_EQ(3, users[0].wTableID);
    EXPECT_EQ(1, users[0].wChairID);
    EXPECT_EQ(1u, users[0].dwStatus);
    EXPECT_EQ(5, users[0].Values.wRank);
    EXPECT_STREQ(Gbk("名").c_str(), users[0].Values.szNickName);
    EXPECT_EQ(1200u, users[0].Values.dwScore[0]);
}

TEST(RoomReaders, GameRecordsAndAttributeTypes)
{
    CWireBytes records = RoomBody::GameRecords();
    CArray<tagRoomGameRecord, const tagRoomGameRecord&> list;
    ASSERT_TRUE(ReadGameRecords(list, records.Data(), records.Size32()));
    ASSERT_EQ(2, list.GetSize());
    EXPECT_EQ(8u, list[1].dwID);
    EXPECT_EQ(6u, list[1].dwValue2);
    CWireBytes huge = CWireBytes().U32(0x40000000);
    EXPECT_FALSE(ReadGameRecords(list, huge.Data(), huge.Size32()));

    CByteArray types;
    CWireBytes body = RoomBody::AttributeTypes();
    ASSERT_TRUE(ReadAttributeTypes(types, body.Data(), body.Size32()));
    ASSERT_EQ(3, types.GetSize());
    EXPECT_EQ(4, types[2]);
    EXPECT_FALSE(ReadAttributeTypes(types, body.Data(), body.Size32() - 1));
    EXPECT_EQ(3, types.GetSize()) << "a malformed table leaves the old one";
}

TEST(RoomRequests, RecordsInWireOrder)
{
    tagSitRequest sit = {3, INVALID_CHAIR, "pw"};
    EXPECT_EQ(CWireBytes().U16(3).U16(0xFFFF).Str("pw").Vector(), Pack(sit));

    tagUserRule rule = {{1, 0, 1, 0, 1}, 500, 600, -5, 7, "p"};
    EXPECT_EQ(CWireBytes().U32(0x15).U16(500).U16(600).U32(uint32_t(-5)).U32(7).Str("p").Vector(), Pack(rule));

    tagCreateTableRequest create;
    create.strName = "t";
    create.strPassword = "";
    create.wValue = 2;
    create.cbValue = 3;
    create.bHasA = false;
    create.dwA = 9;
    create.bHasB = true;
    create.wB = 4;
    create.bHasC = true;
    create.cbC = 5;
    EXPECT_EQ(CWireBytes().Counted("t").Counted("").U16(2).U8(3).U32(6).U16(4).U8(5).Vector(), Pack(create));

    tagRoomLogonRequest logon;
    logon.dwUserID = 9;
    strcpy(logon.szPassword, "d");
    strcpy(logon.szMachineID, "m");
    logon.bHasText = false;
    EXPECT_EQ(CWireBytes().U32(9).Str("d").Str("m").Vector(), Pack(logon));
    logon.bHasText = true;
    logon.strText = "room";
    EXPECT_EQ(CWireBytes().U32(9).Str("d").Str("m").Counted("room").Vector(), Pack(logon));

    tagUserDescription description;
    description.dwUserID = 4;
    description.AddNumber(113, 1);
    description.Add(4, "n");
    EXPECT_EQ(CWireBytes().U32(4).Count(2).U16(113).Str("1").U16(4).Str("n").Vector(), Pack(description));
}
