// Unpacking a downloaded archive into its folder, and the bulletin file.
#include "UpdateFixture.h"

#include <string.h>

namespace
{
class ExtractTest : public UpdateFixture
{
protected:
    void SetUp() override
    {
        UpdateFixture::SetUp();
        m_update.reset(new CFileUpdate(m_host.get()));
        m_strFolder = m_update->GetDynamicFilePath("");
    }

    std::unique_ptr<CFileUpdate> m_update;
    CString m_strFolder; // the dynamic folder, with its separator
};

TEST_F(ExtractTest, EveryEntryButThumbsDbIsUnpacked)
{
    WriteBytes(m_strFolder + "DynaItemCfg.zip", MakeZip({{"DynaItemCfg.ini", "[show]\r\nShowMiniPlaza=1\r\n"},
                                                         {"Thumbs.db", "thumbs"},
                                                         {"pics\\Thumbs.db", "thumbs"},
                                                         {"pics\\a.bmp", "BM picture"},
                                                         {"Bulletin.xml", "<BulletinList/>"}}));
    EXPECT_TRUE(m_update->ExtractZipFile(m_strFolder + "DynaItemCfg.zip"));
    EXPECT_EQ("[show]\r\nShowMiniPlaza=1\r\n", ReadBytes(m_strFolder + "DynaItemCfg.ini"));
    EXPECT_EQ("BM picture", ReadBytes(m_strFolder + "pics\\a.bmp"));
    EXPECT_EQ("<BulletinList/>", ReadBytes(m_strFolder + "Bulletin.xml"));
    EXPECT_FALSE(Exists(m_strFolder + "Thumbs.db"));
    EXPECT_FALSE(Exists(m_strFolder + "pics\\Thumbs.db"));
}

TEST_F(ExtractTest, NamesLeavingTheFolderWriteNothingOutsideIt)
{
    // slip.zip: "ok.txt" and seven names with "..", a root or a drive.
    CString strFolder = m_strFolder + "in";
    ::CreateDirectoryA(strFolder, NULL);
    WriteBytes(strFolder + "\\slip.zip", ReadBytes(FixturePath("slip.zip")));
    EXPECT_FALSE(m_update->ExtractZipFile(strFolder + "\\slip.zip"));
    EXPECT_EQ("outside", ReadBytes(strFolder + "\\ok.txt"));

    char szDrive[MAX_PATH];
    GetTempPathA(MAX_PATH, szDrive);
    szDrive[3] = '\0';
    for (int i = 1; i <= 6; i++) {
        char szName[32];
        sprintf(szName, "evil%d.txt", i);
        for (const CString& strWhere :
             {m_strFolder, Work("config\\"), Work(""), m_temp->Folder() + "\\..\\", CString(szDrive)})
            EXPECT_FALSE(Exists(strWhere + szName)) << strWhere << szName;
    }
}

TEST_F(ExtractTest, FileThatCannotBeCreatedEndsTheUnpackingAndClosesTheArchive)
{
    CString strArchive = m_strFolder + "DynaItemCfg.zip";
    WriteBytes(strArchive, MakeZip({{"first.ini", "one"}, {"blocked.ini", "two"}, {"last.ini", "three"}}));
    // A folder stands where the second file would go.
    ASSERT_TRUE(::CreateDirectoryA(m_strFolder + "blocked.ini", NULL));
    EXPECT_FALSE(m_update->ExtractZipFile(strArchive));
    EXPECT_EQ("one", ReadBytes(m_strFolder + "first.ini"));
    EXPECT_FALSE(Exists(m_strFolder + "last.ini"));
    // Closed: the next update can replace it.
    EXPECT_TRUE(::DeleteFileA(strArchive));
}

TEST_F(ExtractTest, OnlyAnExistingFileIsOpened)
{
    EXPECT_FALSE(m_update->ExtractZipFile(m_strFolder + "missing.zip"));
    EXPECT_FALSE(m_update->ExtractZipFile(m_strFolder));
    WriteBytes(m_strFolder + "damaged.zip", "PK\x03\x04 but nothing after it");
    EXPECT_FALSE(m_update->ExtractZipFile(m_strFolder + "damaged.zip"));
    EXPECT_TRUE(::DeleteFileA(m_strFolder + "damaged.zip"));
}

TEST(BulletinColor, SixHexDigitsWithOrWithoutHash)
{
    struct Case
    {
        const char* pszText;
        COLORREF crColor;
    } cases[] = {
        {"#ff0000", RGB(255, 0, 0)},  {"ff0000", RGB(255, 0, 0)}, {"#00FF7f", RGB(0, 255, 127)},
        {"##0000ff", RGB(0, 0, 255)}, {"#f", RGB(0, 0, 0)},       {"#fff", RGB(0, 0, 0)},
        {"", RGB(0, 0, 0)},           {NULL, RGB(0, 0, 0)},       {"#12345g", RGB(0, 0, 0)},
        {"#1234567", RGB(0, 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.crColor, CFileUpdate::ParseBulletinColor(c.pszText)) << (c.pszText ? c.pszText : "(null)");
}

using BulletinTest = UpdateFixture;

TEST_F(BulletinTest, EachLoadReplacesTheList)
{
    CFileUpdate update(m_host.get());
    std::string strLong;
    while (strLong.size() < 510)
        strLong += "a";
    // 510 single bytes, then double-byte characters: the cut falls inside one.
    strLong += "公告公告";
    WriteBytes(update.GetDynamicFilePath("Bulletin.xml"),
               "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<BulletinList>\r\n"
               "<Item color=\"#ff0000\">欢迎光临</Item>\r\n"
               "<Other color=\"#00ff00\">not an item</Other>\r\n"
               "<Item color=\"0000ff\">second</Item>\r\n"
               "<Item color=\"#f\"></Item>\r\n"
               "<Item>" +
                   strLong +
                   "</Item>\r\n"
                   "</BulletinList>\r\n");
    for (int nRound = 1; nRound <= 2; nRound++) {
        update.LoadBulletin();
        EXPECT_EQ(nRound, m_host->m_nBulletinCalls);
        ASSERT_EQ(4u, m_host->m_Bulletins.size());
        EXPECT_EQ(RGB(255, 0, 0), m_host->m_Bulletins[0].crColor);
        EXPECT_STREQ("欢迎光临", m_host->m_Bulletins[0].szText);
        EXPECT_EQ(RGB(0, 0, 255), m_host->m_Bulletins[1].crColor);
        EXPECT_STREQ("second", m_host->m_Bulletins[1].szText);
        EXPECT_EQ(RGB(0, 0, 0), m_host->m_Bulletins[2].crColor);
        EXPECT_STREQ("", m_host->m_Bulletins[2].szText);
        EXPECT_EQ(strLong.substr(0, 510), std::string(m_host->m_Bulletins[3].szText));
    }
}

TEST_F(BulletinTest, UnreadableFileLeavesTheListAlone)
{
    CFileUpdate update(m_host.get());
    update.LoadBulletin();
    WriteBytes(update.GetDynamicFilePath("Bulletin.xml"), "<Notices><Item color=\"#ff0000\">x</Item></Notices>");
    update.LoadBulletin();
    WriteBytes(update.GetDynamicFilePath("Bulletin.xml"), "<BulletinList><Item>unclosed");
    update.LoadBulletin();
    EXPECT_EQ(0, m_host->m_nBulletinCalls);
}
} // namespace
