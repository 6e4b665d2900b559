// The skin description and the attributes read from it.
#include <SkinAttribute.h>
#include <SkinRecordFile.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
std::vector<BYTE> Text(const char* text)
{
    return std::vector<BYTE>(text, text + strlen(text));
}

struct AttributeReset
{
    ~AttributeReset() { CSkinAttribute::ResetDefaults(); }
};

// An object with no skin description behind it.
struct NoRecord : IUnknownEx
{
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID, void** out) override
    {
        *out = NULL;
        return E_NOINTERFACE;
    }
};

TEST(SkinRecord, AttributesComeFromTheSkinFile)
{
    AttributeReset reset;
    TempFolder folder;
    folder.Write("Skin.ini", Text("[SkinAttribute]\r\n"
                                  "Background=1 2 3\r\n"
                                  "Text=40 50 60\r\n"
                                  "Border=300 0 0\r\n"
                                  "Link=7 8\r\n"
                                  "FontHeight=16\r\n"));
    const COLORREF crBorder = CSkinAttribute::m_crBorder;
    const COLORREF crLink = CSkinAttribute::m_crLink;

    CSkinRecordFile record;
    ASSERT_TRUE(record.InitSkinRecordFile(NULL, folder.Path("").c_str()));
    IUnknownEx* pSkin = NULL;
    ASSERT_EQ(record.QueryInterface(IID_ISkinRecord, (void**)&pSkin), S_OK);
    EXPECT_TRUE(CSkinAttribute::LoadSkinAttribute(pSkin));
    pSkin->Release();

    EXPECT_EQ(CSkinAttribute::m_crBackground, RGB(1, 2, 3));
    EXPECT_EQ(CSkinAttribute::m_crText, RGB(40, 50, 60));
    // Out of range and incomplete colours keep the built-in ones.
    EXPECT_EQ(CSkinAttribute::m_crBorder, crBorder);
    EXPECT_EQ(CSkinAttribute::m_crLink, crLink);
    LOGFONT lf;
    ASSERT_NE(CSkinAttribute::m_DefaultFont.GetLogFont(&lf), 0);
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(CSkinAttribute::GetDefaultFont(), &CSkinAttribute::m_DefaultFont);
    EXPECT_EQ(CSkinAttribute::m_strSkinDirectory.Right(1), "\\");
    EXPECT_EQ(CSkinAttribute::GetBackgroundBrush()->GetSafeHandle() != NULL, true);
}

TEST(SkinRecord, WithoutASkinTheBuiltInLookHolds)
{
    AttributeReset reset;
    const COLORREF crBackground = CSkinAttribute::m_crBackground;
    ASSERT_NE(CSkinAttribute::GetDefaultFont()->GetSafeHandle(), (HGDIOBJ)NULL);

    CSkinRecordFile record;
    EXPECT_FALSE(record.InitSkinRecordFile(NULL, NULL));
    EXPECT_EQ(record.ReadColor("SkinAttribute", "Background", RGB(9, 9, 9)), RGB(9, 9, 9));
    char szText[8] = "x";
    EXPECT_EQ(record.ReadString("SkinAttribute", "FontName", "abc", szText, sizeof(szText)), 3);

    // A folder without a skin file: every value is the default.
    TempFolder folder;
    ASSERT_TRUE(record.InitSkinRecordFile("Other.ini", folder.Path("").c_str()));
    EXPECT_TRUE(CSkinAttribute::LoadSkinAttribute(&record));
    EXPECT_EQ(CSkinAttribute::m_crBackground, crBackground);

    NoRecord none;
    EXPECT_FALSE(CSkinAttribute::LoadSkinAttribute(&none));
    EXPECT_FALSE(CSkinAttribute::LoadSkinAttribute(NULL));
}
} // namespace
