#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "QuillonMessageReader.h"

namespace
{

// A reply body in the archive's wire form.
class Body
{
public:
    Body& U8(BYTE v) { return Raw(&v, 1); }
    Body& U16(WORD v) { return Raw(&v, 2); }
    Body& U32(DWORD v) { return Raw(&v, 4); }
    Body& F64(double v) { return Raw(&v, 8); }
    Body& Text(const std::string& text)
    {
        if (text.size() < 0xFF)
            return U8(BYTE(text.size())).Raw(text.data(), text.size());
        return U8(0xFF).U16(WORD(text.size())).Raw(text.data(), text.size());
    }
    Body& Raw(const void* p, size_t n)
    {
        m_bytes.append(static_cast<const char*>(p), n);
        return *this;
    }
    const void* Data() const { return m_bytes.data(); }
    UINT Size() const { return UINT(m_bytes.size()); }

private:
    std::string m_bytes;
};

// GBK "张" and "昵": double-byte characters whatever the compiler's charset.
const std::string kZhang = "\xD5\xC5";
const std::string kNi = "\xEA\xC7";

std::string Repeat(const std::string& text, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += text;
    return out;
}

} // namespace

TEST(QuillonResult, CodesOutsideTheKnownRangeBecomeMinusOne)
{
    const struct
    {
        DWORD dwWire;
        LONG lCode;
    } kCases[] = {{0, 0}, {7, 7}, {14, 14}, {15, -1}, {20, -1}, {0xFFFFFFFF, -1}};
    for (const auto& c : kCases)
        EXPECT_EQ(c.lCode, MapResultCode(c.dwWire)) << c.dwWire;
}

TEST(QuillonResult, TextsOfKnownAndUnknownCodes)
{
    const struct
    {
        LONG lCode;
        const char* pszText;
    } kCases[] = {{0, "成功"},      {4, "密码错误"},  {10, "客户端机器码不符"},   {14, "金豆不足"},
                  {15, "操作失败"}, {-1, "未知错误"}, {99, "未知错误,错误码:99"}, {-7, "未知错误,错误码:-7"}};
    for (const auto& c : kCases)
        EXPECT_STREQ(c.pszText, GetResultText(c.lCode).GetString()) << c.lCode;
}

TEST(QuillonLogonReply, UndecodableBodyIsARefusalNotSuccess)
{
    const BYTE kShort[] = {0, 0, 0};
    const struct
    {
        Body body;
        LONG lResult;
    } kCases[] = {
        {Body().U32(0), 0}, {Body().U32(4), 4}, {Body().U32(20), -1}, {Body(), -1}, {Body().Raw(kShort, 3), -1}};
    for (const auto& c : kCases)
        EXPECT_EQ(c.lResult, ReadLogonReply(c.body.Data(), c.body.Size())) << c.body.Size();
}

TEST(QuillonResultReply, ShortBodyIsDropped)
{
    LONG lResult = 0;
    Body ok = Body().U32(12);
    EXPECT_TRUE(ReadResultReply(lResult, ok.Data(), ok.Size()));
    EXPECT_EQ(12, lResult);
    Body shortBody = Body().U16(0);
    EXPECT_FALSE(ReadResultReply(lResult, shortBody.Data(), shortBody.Size()));
}

TEST(QuillonUserInfoReply, AttributesWithValuesCutToTheFieldOnACharacterBoundary)
{
    // 70 double-byte characters: 140 bytes, cut to 63 characters (126 bytes).
    Body body = Body().U32(1001).U32(0).U16(3).U16(2).Text("abc").U16(4).Text(Repeat(kZhang, 70)).U16(13).Text("");
    tagServiceUserInfo reply;
    ASSERT_TRUE(ReadUserInfoReply(reply, body.Data(), body.Size()));
    EXPECT_EQ(1001u, reply.dwUserID);
    EXPECT_EQ(0, reply.lResult);
    ASSERT_EQ(3, reply.Attrs.GetSize());
    EXPECT_EQ(2, reply.Attrs[0].wAttrID);
    EXPECT_STREQ("abc", reply.Attrs[0].szValue);
    EXPECT_EQ(4, reply.Attrs[1].wAttrID);
    EXPECT_EQ(Repeat(kZhang, 63), reply.Attrs[1].szValue);
    EXPECT_EQ(13, reply.Attrs[2].wAttrID);
    EXPECT_STREQ("", reply.Attrs[2].szValue);
}

TEST(QuillonUserInfoReply, MalformedBodiesAreDropped)
{
    const Body kCases[] = {
        Body().U32(1001).U32(0).U16(2).U16(2).Text("abc"),          // fewer items than counted
        Body().U32(1001).U32(0).U16(0xFFFF).U32(0x10000000),        // a count far beyond the body
        Body().U32(1001).U32(0).U16(1).U16(2).U8(10).Raw("abc", 3), // a text beyond the body
        Body().U32(1001).U32(0),                                    // no count
    };
    for (const Body& body : kCases) {
        tagServiceUserInfo reply;
        EXPECT_FALSE(ReadUserInfoReply(reply, body.Data(), body.Size())) << body.Size();
    }
}

TEST(QuillonNickNameReply, NicknameOnlyOnSuccessAndCutWithoutSplittingACharacter)
{
    // One byte and 20 double-byte characters: 41 bytes, cut to 31 (32 would
    // split a character).
    const std::string strLong = "x" + Repeat(kNi, 20);
    const struct
    {
        DWORD dwResult;
        std::string strWire;
        std::string strStored;
    } kCases[] = {{0, "nick", "nick"}, {0, strLong, strLong.substr(0, 31)}, {3, "nick", ""}, {20, "nick", ""}};
    for (const auto& c : kCases) {
        Body body = Body().U32(c.dwResult).U32(1002).Text(c.strWire);
        tagServiceNickName reply;
        ASSERT_TRUE(ReadNickNameReply(reply, body.Data(), body.Size()));
        EXPECT_EQ(1002u, reply.dwUserID);
        EXPECT_EQ(c.strStored, reply.szNickName) << c.dwResult;
    }
    tagServiceNickName reply;
    Body noText = Body().U32(0).U32(1002);
    EXPECT_FALSE(ReadNickNameReply(reply, noText.Data(), noText.Size()));
}

TEST(QuillonBankInfoReply, BalanceRatesAndTaxes)
{
    Body body = Body().U32(0).U32(123456).F64(1.5).F64(0.25).F64(0.02).F64(0.01);
    tagServiceBankInfo reply;
    ASSERT_TRUE(ReadBankInfoReply(reply, body.Data(), body.Size()));
    EXPECT_EQ(0, reply.lResult);
    EXPECT_EQ(123456u, reply.dwBalance);
    EXPECT_DOUBLE_EQ(1.5, reply.dRate1);
    EXPECT_DOUBLE_EQ(0.25, reply.dRate2);
    EXPECT_FLOAT_EQ(0.02f, reply.fTax1);
    EXPECT_FLOAT_EQ(0.01f, reply.fTax2);
    Body shortBody = Body().U32(0).U32(123456).F64(1.5).F64(0.25).F64(0.02);
    EXPECT_FALSE(ReadBankInfoReply(reply, shortBody.Data(), shortBody.Size()));
}

TEST(QuillonExchangeReply, DirectionGivesTheKind)
{
    const struct
    {
        WORD wDirection;
        bool bRead;
        LONG lKind;
    } kCases[] = {{0, true, 2}, {1, true, 3}, {2, false, 0}};
    for (const auto& c : kCases) {
        Body body = Body().U16(c.wDirection).U32(9);
        tagServiceExchange reply;
        EXPECT_EQ(c.bRead, ReadExchangeReply(reply, body.Data(), body.Size())) << c.wDirection;
        if (c.bRead) {
            EXPECT_EQ(9, reply.lResult);
            EXPECT_EQ(c.lKind, reply.lKind);
        }
    }
}

TEST(QuillonBankPasswordStateReply, AnyNonZeroByteIsInitialised)
{
    const struct
    {
        BYTE cbWire;
        bool bInitialised;
    } kCases[] = {{0, false}, {1, true}, {0x80, true}};
    for (const auto& c : kCases) {
        Body body = Body().U32(0).U8(c.cbWire);
        tagServiceBankPasswordState reply;
        ASSERT_TRUE(ReadBankPasswordStateReply(reply, body.Data(), body.Size()));
        EXPECT_EQ(c.bInitialised, reply.bInitialised) << int(c.cbWire);
    }
    tagServiceBankPasswordState reply;
    Body noFlag = Body().U32(0);
    EXPECT_FALSE(ReadBankPasswordStateReply(reply, noFlag.Data(), noFlag.Size()));
}

TEST(QuillonPlayedGameListReply, GamesAndACountBeyondTheBody)
{
    Body body = Body().U16(2).U32(10).Text("chess").U32(11).Text(Repeat("g", 40));
    CPlayedGameArray games;
    ASSERT_TRUE(ReadPlayedGameListReply(games, body.Data(), body.Size()));
    ASSERT_EQ(2, games.GetSize());
    EXPECT_EQ(10u, games[0].dwGameID);
    EXPECT_STREQ("chess", games[0].szName);
    EXPECT_EQ(Repeat("g", 32), games[1].szName);
    Body tooMany = Body().U16(3).U32(10).Text("chess");
    EXPECT_FALSE(ReadPlayedGameListReply(games, tooMany.Data(), tooMany.Size()));
}

TEST(QuillonGameScoreReply, ValuesOnlyOnSuccess)
{
    Body ok = Body().U32(1).U32(0).U32(3).U32(4).U32(5).U32(6).U32(7);
    quillonproto::tagScore_GameScore reply;
    ASSERT_TRUE(ReadGameScoreReply(reply, ok.Data(), ok.Size()));
    EXPECT_EQ(1u, reply.dwValue1);
    EXPECT_EQ(0, reply.lResult);
    EXPECT_EQ(3u, reply.dwValues[0]);
    EXPECT_EQ(7u, reply.dwValues[4]);
    Body refused = Body().U32(1).U32(5).U32(3).U32(4).U32(5).U32(6).U32(7);
    ASSERT_TRUE(ReadGameScoreReply(reply, refused.Data(), refused.Size()));
    EXPECT_EQ(5, reply.lResult);
    EXPECT_EQ(0u, reply.dwValues[0]);
    Body shortBody = Body().U32(1).U32(0).U32(3);
    EXPECT_FALSE(ReadGameScoreReply(reply, shortBody.Data(), shortBody.Size()));
}
