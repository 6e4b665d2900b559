#include "MD5Encrypt.h"
#include "XOREncrypt.h"

#include <gtest/gtest.h>

#include <string>
#include <string.h>

TEST(MD5Encrypt, KnownDigestsInLowerCaseHex)
{
    const std::string a55(55, 'a'), a56(56, 'a'), a63(63, 'a'), a64(64, 'a'), a65(65, 'a');
    struct Case
    {
        std::string text;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        // Lengths around the padding boundary.
        {a55, "ef1772b6dff9a122358552954ad0df65"},
        {a56, "3b0c8ac703f828b04c6c197006d17218"},
        {a63, "b06521f39153d618550606be297466d5"},
        {a64, "014842d480b571495a4a0363793f7367"},
        {a65, "c743a45e0d2e6a95cb859adae0248435"},
        // GBK bytes.
        {"游戏中心", "5ab334572e23ba05d68c58cd23663c13"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        char text[33];
        memset(text, 'x', sizeof(text));
        CMD5Encrypt::EncryptData(c.text.c_str(), text);
        EXPECT_STREQ(c.digest, text);
        char bytes[33];
        CMD5Encrypt::EncryptData(reinterpret_cast<const BYTE*>(c.text.data()), DWORD(c.text.size()), bytes);
        EXPECT_STREQ(c.digest, bytes);
    }
    // Bytes may hold zeros.
    const BYTE zeros[3] = {0, 0, 0};
    char digest[33];
    CMD5Encrypt::EncryptData(zeros, 3, digest);
    EXPECT_STREQ("693e9af84d3dfcc71e640e005bdc5e2e", digest);
}

TEST(XOREncrypt, RoundTripsWithinTheCapacities)
{
    const std::string longest(126, 'p'); // 2 + 2 x 126 + 1 = 255 bytes
    const char* texts[] = {"a", "secret123", "密码是汉字", "!#$%&'()*+,-./:;<=>?@[]^_`{|}~", longest.c_str()};
    for (const char* plain : texts) {
        SCOPED_TRACE(plain);
        char stored[256];
        int length = CXOREncrypt::EncryptData(plain, stored, sizeof(stored));
        ASSERT_EQ(int(2 + 2 * strlen(plain)), length);
        EXPECT_EQ(size_t(length), strlen(stored));
        EXPECT_EQ(std::string::npos, std::string(stored).find(plain));
        for (const char* p = stored; *p; ++p)
            EXPECT_TRUE(isxdigit(BYTE(*p)));

        char back[256];
        EXPECT_EQ(int(strlen(plain)), CXOREncrypt::CrevasseData(stored, back, sizeof(back)));
        EXPECT_STREQ(plain, back);
    }

    // The logon dialog reads back into 34 bytes: 33 characters fit, 34 do not.
    char stored[256], back[34];
    ASSERT_GT(CXOREncrypt::EncryptData(std::string(33, 'k').c_str(), stored, sizeof(stored)), 0);
    EXPECT_EQ(33, CXOREncrypt::CrevasseData(stored, back, sizeof(back)));
    ASSERT_GT(CXOREncrypt::EncryptData(std::string(34, 'k').c_str(), stored, sizeof(stored)), 0);
    strcpy(back, "untouched");
    EXPECT_EQ(0, CXOREncrypt::CrevasseData(stored, back, sizeof(back)));
    EXPECT_STREQ("", back);
}

TEST(XOREncrypt, RefusesWhatDoesNotFitOrIsNotAStoredForm)
{
    char out[256];
    const std::string tooLong(127, 'p');
    strcpy(out, "untouched");
    EXPECT_EQ(0, CXOREncrypt::EncryptData(tooLong.c_str(), out, sizeof(out)));
    EXPECT_STREQ("", out);
    EXPECT_EQ(0, CXOREncrypt::EncryptData("abc", out, 7)); // needs 9
    EXPECT_EQ(8, CXOREncrypt::EncryptData("abc", out, 9));
    EXPECT_EQ(0, CXOREncrypt::EncryptData("abc", out, 2));
    EXPECT_EQ(0, CXOREncrypt::EncryptData("", out, sizeof(out)));
    EXPECT_EQ(0, CXOREncrypt::EncryptData(NULL, out, sizeof(out)));
    EXPECT_EQ(0, CXOREncrypt::EncryptData("abc", NULL, 64));

    char stored[64];
    ASSERT_EQ(8, CXOREncrypt::EncryptData("abc", stored, sizeof(stored)));
    const char* broken[] = {"", "A", "AB", "ABC", "ABCDE", "GG0102", "0102zz"};
    for (const char* text : broken) {
        SCOPED_TRACE(text);
        strcpy(out, "untouched");
        EXPECT_EQ(0, CXOREncrypt::CrevasseData(text, out, sizeof(out)));
        EXPECT_STREQ("", out);
    }
    EXPECT_EQ(0, CXOREncrypt::CrevasseData(stored, out, 3)); // "abc" needs 4
    EXPECT_EQ(3, CXOREncrypt::CrevasseData(stored, out, 4));
    EXPECT_STREQ("abc", out);
}
