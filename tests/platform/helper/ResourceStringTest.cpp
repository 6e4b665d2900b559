#include "XTVResourceManager.h"

#include <gtest/gtest.h>

#include <string.h>

namespace
{
// Every string number the hall names, with the ranges written out.
std::vector<UINT> NamedIds()
{
    std::vector<UINT> ids = {130,   10000, 10001, 10002, 10005, 10006, 10007, 10008, 10009, 10011, 10012,
                             10013, 11000, 12001, 12002, 12003, 12004, 12005, 12006, 11051, 11052, 11053};
    for (UINT id = 11002; id <= 11049; ++id)
        ids.push_back(id);
    for (UINT id = 11054; id <= 11058; ++id)
        ids.push_back(id);
    for (UINT id = 12007; id <= 12028; ++id)
        ids.push_back(id);
    for (UINT id = 12033; id <= 12039; ++id)
        ids.push_back(id);
    for (UINT id = 12500; id <= 12509; ++id)
        ids.push_back(id);
    for (UINT id = 12801; id <= 12805; ++id)
        ids.push_back(id);
    for (UINT id = 13000; id <= 13012; ++id)
        ids.push_back(id);
    return ids;
}
} // namespace

TEST(ResourceStrings, LoadByNumberFromTheStringLibrary)
{
    CXTVResourceManager strings;
    CString text;
    EXPECT_FALSE(strings.LoadString(text, 130)); // nothing bound yet
    ASSERT_TRUE(strings.SetResourceFile("VQString.dll"));

    struct Case
    {
        UINT id;
        const char* text;
    } cases[] = {
        {130, "Varnok游戏中心"},
        {10000, "连接服务器失败，请检查网络或者联系客服！"},
        {13000, "请输入帐号！"},
        {13007, "两次输入的密码不一致！"},
        {12033, "您的<type>不符合本桌要求，无法坐下（代码 5）！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ASSERT_TRUE(strings.LoadString(text, c.id));
        EXPECT_STREQ(c.text, text);
    }
    for (UINT id : NamedIds()) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(strings.LoadString(text, id));
        EXPECT_FALSE(text.IsEmpty());
    }

    text = "stale";
    EXPECT_FALSE(strings.LoadString(text, 11001));
    EXPECT_TRUE(text.IsEmpty());

    // A library that is not there leaves the bound one in place.
    EXPECT_FALSE(strings.SetResourceFile("NoSuchStrings.dll"));
    EXPECT_TRUE(strings.LoadString(text, 13000));
}

TEST(ResourceStrings, TheLibraryHoldsGbkTextForCodePage936)
{
    ASSERT_EQ(936u, GetACP());
    HMODULE library = LoadLibraryExA("VQString.dll", NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(library != NULL);
    char buffer[256];
    int length = LoadStringA(library, 130, buffer, sizeof(buffer));
    // "Varnok" then 游 戏 中 心 in GBK.
    const char expected[] = "Varnok\xD3\xCE\xCF\xB7\xD6\xD0\xD0\xC4";
    ASSERT_EQ(int(sizeof(expected) - 1), length);
    EXPECT_EQ(0, memcmp(expected, buffer, sizeof(expected)));
    FreeLibrary(library);
}
