// The wire forms of message bodies, byte for byte, and how the readers treat
// short, long and hostile bodies.
#include "BitFlags.h"
#include "HallMessageReader.h"
#include "HallRecords.h"
#include "RecordCodec.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

template <class T> std::vector<uint8_t> Pack(const T& record)
{
    CSafeMemFile file;
    EXPECT_TRUE(PackRecord(file, record));
    return std::vector<uint8_t>(file.GetData(), file.GetData() + file.GetDataSize());
}

template <class T> bool Unpack(T& record, const CWireBytes& body)
{
    return UnpackRecord(record, body.Data(), body.Size32());
}

// A record of every scalar form, to pin their widths and byte order.
struct tagScalars
{
    BYTE cb;
    bool b;
    WORD w;
    DWORD dw;
    LONG l;
    LONGLONG ll;
};
void SerializeRecord(CArchive& ar, tagScalars& r)
{
    SerializeField(ar, r.cb);
    SerializeField(ar, r.b);
    SerializeField(ar, r.w);
    SerializeField(ar, r.dw);
    SerializeField(ar, r.l);
    SerializeField(ar, r.ll);
}

TEST(RecordCodec, ScalarsAreLittleEndianWithoutPadding)
{
    tagScalars s = {0xAB, true, 0x1234, 0x89ABCDEF, -2, 0x0102030405060708LL};
    std::vector<uint8_t> expected =
        CWireBytes{0xAB, 1, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 0xFE, 0xFF, 0xFF, 0xFF, 8, 7, 6, 5, 4, 3, 2, 1}
            .Vector();
    EXPECT_EQ(expected, Pack(s));

    tagScalars read = {};
    CWireBytes body = {0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(Unpack(read, body));
    EXPECT_TRUE(read.b) << "any non-zero byte is true";
}

TEST(RecordCodec, ArchiveStringLengthForms)
{
    struct Case
    {
        size_t length;
        std::vector<uint8_t> prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        CString text(std::string(c.length, 'x').c_str());
        CSafeMemFile file;
        {
            CArchive ar(&file, CArchive::store, RECORD_ARCHIVE_BUFFER);
            SerializeText(ar, text);
            ar.Close();
        }
        std::vector<uint8_t> bytes(file.GetData(), file.GetData() + file.GetDataSize());
        ASSERT_EQ(c.prefix.size() + c.length, bytes.size());
        EXPECT_EQ(c.prefix, std::vector<uint8_t>(bytes.begin(), bytes.begin() + c.prefix.size()));

        CString back;
        CSafeMemFile in(bytes.data(), UINT(bytes.size()));
        CArchive ar(&in, CArchive::load, RECORD_ARCHIVE_BUFFER);
        ReadArchiveString(ar, back);
        EXPECT_EQ(text, back);
    }
}

TEST(RecordCodec, CountFormsAndCountedString)
{
    struct Case
    {
        DWORD count;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {0, {0, 0}},
        {65534, {0xFE, 0xFF}},
        {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0}},
        {70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        CSafeMemFile file;
        CArchive ar(&file, CArchive::store, RECORD_ARCHIVE_BUFFER);
        ar.WriteCount(c.count);
        ar.Close();
        EXPECT_EQ(c.bytes, std::vector<uint8_t>(file.GetData(), file.GetData() + file.GetDataSize()));
    }

    tagCountedString text;
    text.strText = "abc";
    EXPECT_EQ((CWireBytes{3, 0, 0, 0, 'a', 'b', 'c'}.Vector()), Pack(text));
    text.strText.Empty();
    EXPECT_EQ((CWireBytes{0, 0, 0, 0}.Vector()), Pack(text));
}

TEST(RecordCodec, RequestRecordsInWireOrder)
{
    tagLogonByUserId byId = {};
    byId.dwUserID = 0x01020304;
    CopyTextField(byId.szPassword, "pw");
    byId.dwReserved = 0xFFFFFFFF;
    CopyTextField(byId.szMachineID, "m");
    EXPECT_EQ((CWireBytes{4, 3, 2, 1, 2, 'p', 'w', 1, 'm'}.Vector()), Pack(byId)) << "the reserved field is not sent";

    tagLogonByAccount byAccount = {};
    CopyTextField(byAccount.szAccounts, "a");
    CopyTextField(byAccount.szMachineID, "m");
    EXPECT_EQ((CWireBytes{1, 'a', 0, 1, 'm'}.Vector()), Pack(byAccount));

    tagUserInfoRequest info;
    info.dwUserID = 5;
    info.AttributeIDs.Add(2);
    info.AttributeIDs.Add(19);
    EXPECT_EQ((CWireBytes{5, 0, 0, 0, 2, 0, 2, 0, 19, 0}.Vector()), Pack(info));

    tagIdTextList signature;
    tagIdText item = {15, "hi"};
    signature.Items.Add(item);
    EXPECT_EQ((CWireBytes{1, 0, 15, 0, 2, 'h', 'i'}.Vector()), Pack(signature));

    tagRegisterRequest reg;
    reg.strAccounts = "a";
    reg.cbValue = 9;
    reg.strText6 = "z";
    EXPECT_EQ((CWireBytes().Counted("a").Counted("").Counted("").U8(9).Counted("").Counted("z").Vector()), Pack(reg));
}

TEST(RecordCodec, BodiesLongerThanAPacketAreRefused)
{
    tagCountedString text;
    text.strText = CString(std::string(0xFFFF - 4, 'x').c_str());
    EXPECT_EQ(0xFFFFu, Pack(text).size()) << "the largest body still goes";
    text.strText += "x";
    CSafeMemFile file;
    EXPECT_FALSE(PackRecord(file, text));
}

TEST(RecordCodec, TextFieldsAreCutWithoutSplittingACharacter)
{
    const std::string ascii40(40, 'n');
    tagGameKindItem kind = {};
    ASSERT_TRUE(Unpack(kind, CWireBytes().U32(1).Str(ascii40)));
    EXPECT_STREQ(std::string(31, 'n').c_str(), kind.szName);

    // 30 single bytes and a double-byte character: the character does not fit whole.
    const std::string gbk = std::string(30, 'n') + "\xD6\xD0" + "x";
    ASSERT_TRUE(Unpack(kind, CWireBytes().U32(1).Str(gbk)));
    EXPECT_STREQ(std::string(30, 'n').c_str(), kind.szName);
    EXPECT_EQ(0, kind.szName[30]);

    // 29 and the character: exactly 31 bytes.
    ASSERT_TRUE(Unpack(kind, CWireBytes().U32(1).Str(std::string(29, 'n') + "\xD6\xD0" + "x")));
    EXPECT_EQ(std::string(29, 'n') + "\xD6\xD0", std::string(kind.szName));

    // A lone lead byte at the end of the text is kept as a byte.
    ASSERT_TRUE(Unpack(kind, CWireBytes().U32(1).Str("ab\xD6")));
    EXPECT_EQ(std::string("ab\xD6"), std::string(kind.szName));

    // A stored field goes out up to its terminator only.
    tagTwoTexts two = {};
    memset(two.szFirst, 'q', sizeof(two.szFirst)); // no terminator at all: the width bounds it
    EXPECT_EQ(CWireBytes().Str(std::string(32, 'q')).Str("").Vector(), Pack(two));
}

TEST(RecordCodec, RoomItemKeepsItsWholeAddressList)
{
    const std::string addresses = "room-server-one.example.net;room-server-two.example.net;10.0.0.3";
    CWireBytes body = CWireBytes().U32(7).Str("Room").Str(addresses).U16(9100).U32(300).U8(5).U16(0x0102);
    tagGameRoomItem room;
    ASSERT_TRUE(Unpack(room, body));
    EXPECT_EQ(7u, room.dwRoomID);
    EXPECT_STREQ("Room", room.szName);
    EXPECT_EQ(addresses, std::string(room.strAddressList.GetString()));
    EXPECT_EQ(9100, room.wPort);
    EXPECT_EQ(300u, room.dwGameID);
    EXPECT_EQ(5, room.cbRoomKind);
    EXPECT_EQ(0x0102, room.wChannelValue);
    EXPECT_EQ(body.Vector(), Pack(room));
}

CWireBytes LinkItem(uint32_t node, uint32_t parent, bool withFlags, uint32_t flags = 0)
{
    CWireBytes item = CWireBytes().U32(node).U32(parent).U8(4).Str("cap").U32(70).U32(uint32_t(-3));
    if (withFlags)
        item.U32(flags);
    return item;
}

TEST(RecordCodec, EnvelopedItemsAndPagedLists)
{
    // Count 0: an empty list, nothing more is read.
    {
        CWireBytes body = CWireBytes().U32(10).U32(6).Count(0).U8(0xEE);
        CSafeMemFile file(body.Data(), body.Size32());
        CArchive ar(&file, CArchive::load, RECORD_ARCHIVE_BUFFER);
        tagPagedList<tagTreeLinkItem> list;
        SerializeRecord(ar, list);
        EXPECT_EQ(10, list.lTotal);
        EXPECT_EQ(6, list.lOffset);
        EXPECT_EQ(0, list.Items.GetSize());
        EXPECT_EQ(1u, GetBytesLeft(ar));
    }
    // Flags are optional; trailing bytes of an item do not disturb the next one.
    {
        CWireBytes longer = LinkItem(2, 1, true, 0x10).U32(0xDEADBEEF);
        CWireBytes body =
            CWireBytes().U32(3).U32(0).Count(3).Item(LinkItem(1, 0, false)).Item(longer).Item(LinkItem(3, 2, true, 7));
        tagPagedList<tagTreeLinkItem> list;
        ASSERT_TRUE(Unpack(list, body));
        ASSERT_EQ(3, list.Items.GetSize());
        EXPECT_EQ(0u, list.Items[0].dwFlags);
        EXPECT_EQ(-3, list.Items[0].lSortOrder);
        EXPECT_EQ(0x10u, list.Items[1].dwFlags);
        EXPECT_EQ(3u, list.Items[2].dwNodeID);
        EXPECT_EQ(7u, list.Items[2].dwFlags);
    }
    // Written form: each item is a stream of its own behind its length.
    {
        tagPagedList<tagOnlineCountItem> list;
        list.lTotal = 1;
        tagOnlineCountItem item = {5, 6};
        list.Items.Add(item);
        EXPECT_EQ(CWireBytes().U32(1).U32(0).Count(1).Item(CWireBytes().U32(5).U32(6)).Vector(), Pack(list));
    }
}

TEST(RecordCodec, MalformedBodiesAreRefused)
{
    struct Case
    {
        const char* name;
        CWireBytes body;
    };
    const CWireBytes item = LinkItem(1, 0, true);
    const Case cases[] = {
        {"empty body", CWireBytes()},
        {"short total", CWireBytes{1, 0}},
        {"item longer than 4096 bytes",
         CWireBytes().U32(1).U32(0).Count(1).Count(4097).Bytes(item.Vector()).Fill(4097 - item.Size(), 0)},
        {"item length beyond the body", CWireBytes().U32(1).U32(0).Count(1).Count(100).Bytes(item.Vector())},
        {"more items than bytes", CWireBytes().U32(1).U32(0).Count(0xFFFFFFF0).Item(item)},
        {"item without its required fields", CWireBytes().U32(1).U32(0).Count(1).Item(CWireBytes().U32(1))},
        {"string length beyond the item", CWireBytes().U32(1).U32(0).Count(1).Item(
                                              CWireBytes().U32(1).U32(0).U8(4).U8(0xFF).U16(0xFFFF).U32(0xFFFFFFF0))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tagPagedList<tagTreeLinkItem> list;
        EXPECT_FALSE(Unpack(list, c.body));
    }

    // The items before a malformed one stay; the malformed one is not kept half read.
    {
        tagPagedList<tagTreeLinkItem> list;
        EXPECT_FALSE(Unpack(list, CWireBytes().U32(2).U32(0).Count(2).Item(item).Item(CWireBytes().U32(9).U32(1))));
        ASSERT_EQ(1, list.Items.GetSize());
        EXPECT_EQ(1u, list.Items[0].dwNodeID);
    }

    tagCountedString text;
    EXPECT_FALSE(Unpack(text, CWireBytes().U32(0xFFFFFFFF).Raw("abc", 3))) << "a 4 GiB length is not believed";
    EXPECT_FALSE(Unpack(text, CWireBytes().U32(4).Raw("abc", 3)));
    CString archived;
    EXPECT_FALSE(Unpack(archived, CWireBytes().U8(0xFF).U16(0xFFFF).U32(0x7FFFFFFF).Raw("abc", 3)));
    tagUserInfoResult info;
    EXPECT_FALSE(Unpack(info, CWireBytes().U32(0).Count(0xFFFFFFF0).U16(2).Str("x")));
}

TEST(RecordCodec, WideArchiveStringIsConverted)
{
    // 0xFF 0xFFFE marks characters of two bytes each.
    CWireBytes body = CWireBytes().U8(0xFF).U16(0xFFFE).U8(2).U16('O').U16('K').U8(0x42);
    CSafeMemFile file(body.Data(), body.Size32());
    CArchive ar(&file, CArchive::load, RECORD_ARCHIVE_BUFFER);
    CString text;
    ReadArchiveString(ar, text);
    EXPECT_STREQ("OK", text);
    BYTE next = 0;
    ar >> next;
    EXPECT_EQ(0x42, next);

    CWireBytes shortWide = CWireBytes().U8(0xFF).U16(0xFFFE).U8(3).U16('O');
    CString ignored;
    EXPECT_FALSE(Unpack(ignored, shortWide));
}

TEST(RecordCodec, FixedTextFieldsInEveryLengthFormAndAcrossTheBuffer)
{
    // Enough names that some straddle the archive's 4096-byte buffer.
    CWireBytes list = CWireBytes().Count(400);
    for (uint32_t i = 0; i < 400; ++i)
        list.U32(i).Str(std::string(1 + i % 23, char('a' + i % 26)));
    CArray<tagGameKindItem, const tagGameKindItem&> kinds;
    ASSERT_TRUE(ReadBody(list.Data(), list.Size32(), [&kinds](CArchive& ar) {
        SerializeCountedArray(ar, kinds, 5);
        EXPECT_EQ(0u, GetBytesLeft(ar));
    }));
    ASSERT_EQ(400, kinds.GetSize());
    for (uint32_t i = 0; i < 400; ++i) {
        EXPECT_EQ(i, kinds[i].dwID);
        EXPECT_EQ(std::string(1 + i % 23, char('a' + i % 26)), std::string(kinds[i].szName)) << i;
    }

    // A long text (u16 length form, past any short-text path) and a wide one,
    // each cut to the field, with the bytes after them still in place.
    struct Case
    {
        const char* name;
        CWireBytes text;
        std::string expected;
    };
    const Case cases[] = {
        {"long", CWireBytes().Str(std::string(3000, 'n')), std::string(31, 'n')},
        {"wide", CWireBytes().U8(0xFF).U16(0xFFFE).U8(2).U16('O').U16('K'), "OK"},
        {"empty", CWireBytes().Str(""), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CWireBytes body = CWireBytes().U32(7).Bytes(c.text.Vector()).U8(0x42);
        tagGameKindItem kind = {};
        BYTE next = 0;
        ASSERT_TRUE(ReadBody(body.Data(), body.Size32(), [&kind, &next](CArchive& ar) {
            SerializeRecord(ar, kind);
            ar >> next;
        }));
        EXPECT_EQ(7u, kind.dwID);
        EXPECT_EQ(c.expected, std::string(kind.szName));
        EXPECT_EQ(0x42, next);
    }
}

TEST(RecordCodec, ReadOnlyFileRefusesWrites)
{
    BYTE data[4] = {1, 2, 3, 4};
    CSafeMemFile file(data, sizeof(data));
    bool thrown = false;
    try {
        file.Write("x", 1);
    } catch (CException* e) {
        e->Delete();
        thrown = true;
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(1, data[0]);
}

TEST(BitFlags, BitsLiveInTheWordsLittleEndianBytes)
{
    CBitFlags flags;
    flags.Resize(64);
    EXPECT_EQ(2u, flags.GetWordCount());
    flags.GetWords()[0] = 0x00000101; // bytes 01 01 00 00
    flags.GetWords()[1] = 0x80000000;
    EXPECT_TRUE(flags.IsSet(0));
    EXPECT_TRUE(flags.IsSet(8));
    EXPECT_FALSE(flags.IsSet(1));
    EXPECT_TRUE(flags.IsSet(63));
    EXPECT_FALSE(flags.IsSet(64));
    flags.Resize(33);
    EXPECT_EQ(2u, flags.GetWordCount());
    EXPECT_FALSE(flags.IsSet(0)) << "resizing clears";
    flags.Resize(0);
    EXPECT_EQ(0u, flags.GetWordCount());
    EXPECT_FALSE(flags.IsSet(0));
}

// ---- hall message readers ------------------------------------------------------------

TEST(HallReaders, ResultMapping)
{
    const struct
    {
        DWORD in;
        LONG out;
    } cases[] = {{0, 0}, {6, 6}, {7, -1}, {0xFFFFFFFF, -1}};
    for (auto c : cases)
        EXPECT_EQ(c.out, MapHallResult(c.in)) << c.in;
}

TEST(HallReaders, LogonResultInTwoPasses)
{
    tagLogonResult r;
    CWireBytes accepted = CWireBytes().U32(0).U32(77).Str("Name").U16(0xFF9C).U8(3).Counted("key");
    ASSERT_TRUE(ReadLogonResult(r, accepted.Data(), accepted.Size32()));
    EXPECT_EQ(77u, r.dwUserID);
    EXPECT_STREQ("Name", r.szName);
    EXPECT_EQ(0xFF9C, r.wLevel);
    EXPECT_EQ(3, r.cbFlag);
    EXPECT_STREQ("key", r.szMessage);

    // A broken message leaves only the message empty.
    CWireBytes brokenMessage = CWireBytes().U32(0).U32(77).Str("Name").U16(1).U8(3).U32(50).Raw("ab", 2);
    ASSERT_TRUE(ReadLogonResult(r, brokenMessage.Data(), brokenMessage.Size32()));
    EXPECT_EQ(77u, r.dwUserID);
    EXPECT_STREQ("", r.szMessage);

    CWireBytes refused = CWireBytes().U32(7).Counted("");
    ASSERT_TRUE(ReadLogonResult(r, refused.Data(), refused.Size32()));
    EXPECT_EQ(7u, r.dwResult);
    EXPECT_STREQ("", r.szMessage);

    CWireBytes brokenHead = CWireBytes().U32(0).U32(77).Str("Name");
    EXPECT_FALSE(ReadLogonResult(r, brokenHead.Data(), brokenHead.Size32()));
}

TEST(HallReaders, AttributeListsKeepWhatCameBeforeAnError)
{
    // Id 18 has no typed form: no value follows it.
    CWireBytes typed =
        CWireBytes().U16(5).U32(2).Str("nick").U32(18).U32(3).U32(uint32_t(-100)).U32(6).U16(500).U32(14).U32(1);
    CWireBytes cut = CWireBytes().Bytes(std::vector<uint8_t>(typed.Vector().begin(), typed.Vector().end() - 2));
    CArray<tagUserAttribute, const tagUserAttribute&> attributes;
    EXPECT_FALSE(ReadTypedAttributes(attributes, cut.Data(), cut.Size32()));
    ASSERT_EQ(3, attributes.GetSize());
    EXPECT_EQ(2u, attributes[0].dwID);
    EXPECT_STREQ("nick", attributes[0].strText);
    EXPECT_EQ(3u, attributes[1].dwID);
    EXPECT_EQ(-100, attributes[1].lValue);
    EXPECT_EQ(500, attributes[2].lValue);
    EXPECT_TRUE(ReadTypedAttributes(attributes, typed.Data(), typed.Size32()));
    EXPECT_EQ(4, attributes.GetSize());

    CWireBytes text = CWireBytes().U16(3).U32(3).Counted("12").U32(15).Counted("sig").U32(4).U32(1000);
    EXPECT_FALSE(ReadTextAttributes(attributes, text.Data(), text.Size32()));
    ASSERT_EQ(2, attributes.GetSize());
    EXPECT_STREQ("sig", attributes[1].strText);
}

TEST(HallReaders, WordCountedListKeepsWholeItems)
{
    CWireBytes body = CWireBytes().U16(3).U32(1).U8(1).Str("a").U32(2).U8(0).Str("b").U32(3);
    CArray<tagStoreEntryA, const tagStoreEntryA&> entries;
    EXPECT_FALSE(ReadWordCountedList(entries, body.Data(), body.Size32()));
    ASSERT_EQ(2, entries.GetSize());
    EXPECT_STREQ("b", entries[1].szName);
}

CWireBytes Member(uint32_t id, std::vector<uint32_t> mask, const CWireBytes& fields)
{
    CWireBytes m = CWireBytes().U32(id).U16(uint32_t(mask.size()));
    for (uint32_t w : mask)
        m.U32(w);
    return m.Bytes(fields.Vector());
}

TEST(HallReaders, TeamMembersByTheirMask)
{
    // Bits 0, 2, 6 and the unknown bit 9 (5 bytes skipped), then bit 4.
    CWireBytes fields = CWireBytes().U16(7).Counted("Bob").U16(4).U32(22).U16(4).U32(44).U16(4).U32(66).U16(5).Raw(
        "\x01\x02\x03\x04\x05", 5);
    CWireBytes first = Member(10, {(1u << 0) | (1u << 2) | (1u << 4) | (1u << 6) | (1u << 9)}, fields);
    // A member whose length is more than its fields: the next member starts after it.
    CWireBytes second = Member(11, {1u << 1, 0}, CWireBytes().U16(8).Counted("team")).U32(0xCCCCCCCC);
    CWireBytes body = CWireBytes()
                          .U32(900)
                          .U16(2)
                          .U16(first.Size32())
                          .Bytes(first.Vector())
                          .U16(second.Size32())
                          .Bytes(second.Vector());
    CTeamManager team;
    ASSERT_TRUE(ReadTeam(team, body.Data(), body.Size32()));
    EXPECT_EQ(900u, team.GetTeamID());
    ASSERT_EQ(2, team.GetMemberCount());
    const tagTeamMember& a = team.GetMember(0);
    EXPECT_EQ(10u, a.dwMemberID);
    EXPECT_STREQ("Bob", a.szName);
    EXPECT_EQ(22u, a.dwValue2);
    EXPECT_EQ(44u, a.dwValue4);
    EXPECT_EQ(66u, a.dwValue6);
    EXPECT_EQ(0u, a.dwValue5);
    EXPECT_STREQ("team", team.GetMember(1).szText1);

    const struct
    {
        const char* name;
        CWireBytes body;
    } bad[] = {
        {"member length beyond the body", CWireBytes().U32(1).U16(1).U16(200).Bytes(first.Vector())},
        {"mask words beyond the member", CWireBytes().U32(1).U16(1).U16(6).U32(1).U16(0xFFFF)},
        {"field length beyond the member",
         CWireBytes().U32(1).U16(1).U16(12).Bytes(Member(1, {1}, CWireBytes().U16(50)).Vector())},
        {"value longer than its field",
         CWireBytes().U32(1).U16(1).U16(14).Bytes(Member(1, {4}, CWireBytes().U16(2).U16(5)).Vector())},
        {"fewer members than counted", CWireBytes().U32(1).U16(2).U16(first.Size32()).Bytes(first.Vector())},
    };
    for (const auto& c : bad) {
        SCOPED_TRACE(c.name);
        CTeamManager t;
        EXPECT_FALSE(ReadTeam(t, c.body.Data(), c.body.Size32()));
    }
}

} // namespace
