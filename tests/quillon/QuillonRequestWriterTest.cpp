#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QuillonRequestWriter.h"
#include "WireBytes.h"

namespace
{

std::vector<uint8_t> Bytes(const CSafeMemFile& file)
{
    const BYTE* p = file.GetData();
    return std::vector<uint8_t>(p, p + file.GetDataSize());
}

// A 32-character MD5 hex text.
const std::string kDigest = "0123456789abcdef0123456789ABCDEF";

} // namespace

TEST(QuillonRequestWriter, BodiesAreByteExact)
{
    CModifyAttrArray attrs;
    tagModifyAttr attr = {};
    attr.wAttrID = 3;
    strcpy(attr.szValue, "a@b.c");
    attrs.Add(attr);
    attr.wAttrID = 13;
    strcpy(attr.szValue, "");
    attrs.Add(attr);

    const struct
    {
        const char* pszName;
        bool (*pfnWrite)(CSafeMemFile&, const CModifyAttrArray&);
        CWireBytes expected;
    } kCases[] = {
        {"logon",
         [](CSafeMemFile& f, const CModifyAttrArray&) {
             return WriteLogonRequest(f, 1001, kDigest.c_str(), "fedcba9876543210fedcba9876543210");
         },
         CWireBytes().U32(1001).Str(kDigest).U32(0).Str("fedcba9876543210fedcba9876543210")},
        {"user info", [](CSafeMemFile& f, const CModifyAttrArray&) { return WriteUserInfoRequest(f); },
         CWireBytes()
             .U16(16)
             .U16(2)
             .U16(3)
             .U16(4)
             .U16(5)
             .U16(6)
             .U16(14)
             .U16(17)
             .U16(7)
             .U16(8)
             .U16(9)
             .U16(10)
             .U16(11)
             .U16(12)
             .U16(13)
             .U16(15)
             .U16(18)},
        {"modify user info",
         [](CSafeMemFile& f, const CModifyAttrArray& a) { return WriteModifyUserInfoRequest(f, a); },
         CWireBytes().U16(2).U16(3).Str("a@b.c").U16(13).Str("")},
        {"password pair",
         [](CSafeMemFile& f, const CModifyAttrArray&) { return WritePasswordPairRequest(f, kDigest.c_str(), "new"); },
         CWireBytes().Str(kDigest).Str("new")},
        {"value", [](CSafeMemFile& f, const CModifyAttrArray&) { return WriteValueRequest(f, 0x01020304); },
         CWireBytes().U32(0x01020304)},
        {"withdraw", [](CSafeMemFile& f, const CModifyAttrArray&) { return WriteWithdrawRequest(f, "pw", 500); },
         CWireBytes().Str("pw").U32(500)},
        {"transfer", [](CSafeMemFile& f, const CModifyAttrArray&) { return WriteTransferRequest(f, 2002, "pw", 700); },
         CWireBytes().U32(2002).Str("pw").U32(700)},
        {"exchange", [](CSafeMemFile& f, const CModifyAttrArray&) { return WriteExchangeRequest(f, 1, 10000); },
         CWireBytes().U16(1).U64(10000)},
        {"init bank password",
         [](CSafeMemFile& f, const CModifyAttrArray&) { return WriteInitBankPasswordRequest(f, kDigest.c_str()); },
         CWireBytes().Str(kDigest)},
    };
    for (const auto& c : kCases) {
        CSafeMemFile file;
        ASSERT_TRUE(c.pfnWrite(file, attrs)) << c.pszName;
        EXPECT_EQ(c.expected.Vector(), Bytes(file)) << c.pszName;
    }
}

TEST(QuillonRequestWriter, TextsAreCutToTheirFieldWithoutSplittingACharacter)
{
    // 31 bytes, then a GBK double-byte character that would end past 32.
    const std::string strLong = std::string(31, 'p') + "\xD5\xC5" + "tail";
    CSafeMemFile file;
    ASSERT_TRUE(WriteInitBankPasswordRequest(file, strLong.c_str()));
    EXPECT_EQ(CWireBytes().Str(std::string(31, 'p')).Vector(), Bytes(file));

    CSafeMemFile nullText;
    ASSERT_TRUE(WriteWithdrawRequest(nullText, NULL, 1));
    EXPECT_EQ(CWireBytes().Str("").U32(1).Vector(), Bytes(nullText));
}
