// The checks of the main dialog's OK and the detail page's date and
// identity helpers, on GBK text.
#include "ModifyChecks.h"
#include "UserBaseInfoExDlg.h"

#include <gtest/gtest.h>

namespace
{

tagServiceUserData Record()
{
    tagServiceUserData record;
    memset(&record, 0, sizeof(record));
    strcpy(record.szNickName, "nick");
    record.cbGender = 1;
    record.wFaceID = 7;
    strcpy(record.szEmail, "a@b.cn");
    strcpy(record.szQQ, "12345");
    strcpy(record.szIdentity, "110101199001011234");
    record.dwAreaID = 110101;
    return record;
}

TEST(ModifyChecks, EachAttributeByItsRule)
{
    struct Case
    {
        WORD wID;
        const char* value;
        enModifyCheck expected;
        const char* message; // or the value kept
    } cases[] = {
        {4, "  new  ", MODIFY_KEEP, "new"},
        {4, " nick\t", MODIFY_DROP, ""},
        {4, "   ", MODIFY_ERROR, "昵称格式错误"},
        {4, "", MODIFY_ERROR, "昵称格式错误"},
        {4, " 玩家 ", MODIFY_KEEP, "玩家"},
        {5, "1", MODIFY_DROP, ""},
        {5, "2", MODIFY_KEEP, "2"},
        {6, "07", MODIFY_DROP, ""},
        {18, "110102", MODIFY_KEEP, "110102"},
        {18, "110101", MODIFY_DROP, ""},
        {8, "12345", MODIFY_DROP, ""},
        {8, "123456", MODIFY_KEEP, "123456"},
        {15, "hi", MODIFY_KEEP, "hi"},
        {9, "x@y.com", MODIFY_KEEP, "x@y.com"},
        {9, "a@b.cn", MODIFY_DROP, ""},
        {9, "a@b.", MODIFY_ERROR, "Email格式不正确"},
        {9, "@b.cn", MODIFY_ERROR, "Email格式不正确"},
        {9, "ab.cn@", MODIFY_ERROR, "Email格式不正确"},
        {9, "abc", MODIFY_ERROR, "Email格式不正确"},
        // "\x81\x40" is one character whose second byte is an at sign.
        {9,
         "a\x81\x40"
         "b.cn",
         MODIFY_ERROR, "Email格式不正确"},
        {9, "\x81\x40@b.cn", MODIFY_KEEP, "\x81\x40@b.cn"},
        {11, "11010119900101123x", MODIFY_KEEP, "11010119900101123x"},
        {11, "11010119900101123X", MODIFY_KEEP, "11010119900101123X"},
        {11, "110101900101123", MODIFY_KEEP, "110101900101123"},
        {11, "", MODIFY_KEEP, ""},
        {11, "110101199001011234", MODIFY_DROP, ""},
        {11, "1101011990010x1234", MODIFY_ERROR, "身份证格式不正确"},
        {11, "1101011990010112", MODIFY_ERROR, "身份证格式不正确"},
        {11,
         "11010119900101\xb2\xe2"
         "34",
         MODIFY_ERROR, "身份证格式不正确"},
        {1, "x", MODIFY_DROP, ""},
        {2, "x", MODIFY_DROP, ""},
        {3, "1", MODIFY_DROP, ""},
        {14, "1", MODIFY_DROP, ""},
        {16, "1", MODIFY_DROP, ""},
        {17, "1", MODIFY_DROP, ""},
        {19, "1", MODIFY_DROP, ""},
    };
    const tagServiceUserData record = Record();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.wID) + " \"" + c.value + "\"");
        tagModifyAttr attr;
        memset(&attr, 0, sizeof(attr));
        attr.wAttrID = c.wID;
        strcpy(attr.szValue, c.value);
        CString strMessage;
        EXPECT_EQ(c.expected, CheckModifyAttr(attr, record, strMessage));
        if (c.expected == MODIFY_ERROR) {
            EXPECT_STREQ(c.message, strMessage);
        }
        if (c.expected == MODIFY_KEEP) {
            EXPECT_STREQ(c.message, attr.szValue);
        }
    }
}

TEST(ModifyChecks, DaysOfMonth)
{
    struct Case
    {
        int year, month, days;
    } cases[] = {{2000, 2, 29}, {1900, 2, 28}, {2004, 2, 29}, {2001, 2, 28}, {2001, 4, 30}, {2001, 12, 31}};
    for (const Case& c : cases)
        EXPECT_EQ(c.days, CUserBaseInfoExDlg::DaysOfMonth(c.year, c.month)) << c.year << "-" << c.month;
}

TEST(ModifyChecks, IdentityIsMaskedPastSixCharacters)
{
    struct Case
    {
        const char* identity;
        const char* shown;
    } cases[] = {
        {"", ""},
        {"123456", "123456"},
        {"1234567", "123456*"},
        {"110101199001011234", "110101************"},
        // Characters, not bytes: the sixth character is never split.
        {"12345\xb2\xe2"
         "78",
         "12345\xb2\xe2**"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.shown, CUserBaseInfoExDlg::MaskIdentity(c.identity)) << c.identity;
}

} // namespace
