// The table skin read from a game's table.ini and pictures.
#include <gtest/gtest.h>

#include "TableResource.h"
#include "TableTestSupport.h"

using namespace tabletest;

namespace
{
class TableResourceTest : public testing::Test
{
protected:
    SkinFolder skin;
    CTableResource resource;
};

TEST_F(TableResourceTest, ReadsGeometryColoursAndPictureSize)
{
    skin.WriteIni({{"nDrawStyle2", "66"}});
    ASSERT_TRUE(resource.LoadTableResource(kGameFolder));

    EXPECT_EQ(kTableWidth, resource.m_wWidth);
    EXPECT_EQ(kTableHeight, resource.m_wHeight);
    EXPECT_EQ(kBackground, resource.m_crBackGround);
    EXPECT_EQ(kChairColour, resource.m_crChairBackGround);
    EXPECT_EQ(CPoint(kLockPoint), resource.m_ptLock);
    EXPECT_EQ(CRect(1, 2, 3, 4), resource.m_rcNote0);
    EXPECT_EQ(CRect(kTableIDRect), resource.m_rcTableID);
    EXPECT_EQ(CRect(kInningsRect), resource.m_rcTableInnings);
    EXPECT_EQ(CPoint(kIdentifyPoint), resource.m_ptTableIdentify);
    EXPECT_EQ(kTableID, resource.m_crTableID);
    EXPECT_EQ(kName, resource.m_crName);
    EXPECT_EQ(kMemberName, resource.m_crMemberName);
    EXPECT_EQ(kTableName, resource.m_crTableName);
    EXPECT_EQ(CPoint(kReadyPoints[3]), resource.m_ptReady[3]);
    EXPECT_EQ(CRect(kNameRects[1]), resource.m_rcName[1]);
    EXPECT_EQ(CRect(kChairRects[2]), resource.m_rcChair[2]);
    EXPECT_EQ(66u, resource.m_nDrawStyle[2]);
    EXPECT_TRUE(resource.m_rcChair[4].IsRectNull());
    // Without their keys the cycle-match logo and button keep their places.
    EXPECT_EQ(CPoint(18, 13), resource.m_ptCycleMatchLog);
    EXPECT_EQ(130, resource.m_nOffYCycleMatchButton);
    EXPECT_TRUE(resource.m_PicTableIdentify.IsValid());
    EXPECT_EQ(12, resource.m_ImageLocker.GetWidth());
}

TEST_F(TableResourceTest, OddValuesReadAsTheirNumbersOrZero)
{
    skin.WriteIni({{"ptLock", "10"},
                   {"crMemberName", ""},
                   {"crName", ""},
                   {"rtTableID", "5 six 7"},
                   {"ptCycleMatchLog", "40 41"},
                   {"nOffYCycleMatchButton", "90"}},
                  "crMemberName=\r\n");
    ASSERT_TRUE(resource.LoadTableResource(kGameFolder));
    EXPECT_EQ(CPoint(10, 0), resource.m_ptLock);
    EXPECT_EQ(RGB(255, 255, 0), resource.m_crMemberName);
    EXPECT_EQ(RGB(0, 0, 0), resource.m_crName);
    EXPECT_EQ(5, resource.m_rcTableID.left);
    EXPECT_EQ(0, resource.m_rcTableID.bottom);
    EXPECT_EQ(CPoint(40, 41), resource.m_ptCycleMatchLog);
    EXPECT_EQ(90, resource.m_nOffYCycleMatchButton);
}

// The count indexes the 300-chair arrays: whatever the file says, chairs
// beyond it are zero and nothing beyond the arrays is touched.
TEST_F(TableResourceTest, ChairCountIsKeptWithinTheArrays)
{
    struct Case
    {
        const char* count;
        int loaded;
    };
    const Case cases[] = {{"500", 300}, {"4", 4}, {"0", 0}, {"-3", 0}, {"many", 0}};
    std::string extra;
    for (int i = 4; i < 300; ++i)
        extra += "rtChair" + std::to_string(i) + "=1 1 9 9\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        // As a previous skin left them.
        for (int i = 0; i < MAX_TABLE_CHAIR; ++i)
            resource.m_rcChair[i].SetRect(2, 2, 5, 5);
        skin.WriteIni({{"ChairCount", c.count}}, extra);
        ASSERT_TRUE(resource.LoadTableResource(kGameFolder));
        int set = 0;
        for (int i = 0; i < MAX_TABLE_CHAIR; ++i)
            set += resource.m_rcChair[i].IsRectNull() ? 0 : 1;
        EXPECT_EQ(c.loaded, set);
    }
}

TEST_F(TableResourceTest, PicturesFallBackOrFailTheLoad)
{
    struct Case
    {
        const char* missing;
        bool loads;
    };
    const Case cases[] = {{"Locker.BMP", true},
                          {"UserReady.BMP", true},
                          {"tableidentify.png", true},
                          {"TablePlaying.BMP", false},
                          {"TableNormal.BMP", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        skin.WritePictures();
        skin.Remove(skin.GameFile(c.missing));
        CTableResource fresh;
        EXPECT_EQ(c.loads, fresh.LoadTableResource(kGameFolder));
        if (c.loads) {
            EXPECT_FALSE(fresh.m_ImageLocker.IsNull());
            EXPECT_FALSE(fresh.m_ImageReady.IsNull());
            EXPECT_EQ(kTableWidth, fresh.m_wWidth);
        } else {
            EXPECT_EQ(0, fresh.m_wWidth);
            EXPECT_EQ(0, fresh.m_wHeight);
            EXPECT_TRUE(fresh.m_ImageNormal.IsNull());
        }
    }
}

TEST_F(TableResourceTest, TheHallsOwnPicturesStandInForMissingLockAndReady)
{
    skin.Remove(skin.GameFile("Locker.BMP"));
    skin.Remove(skin.GameFile("UserReady.BMP"));
    ASSERT_TRUE(resource.LoadTableResource(kGameFolder));
    EXPECT_EQ(16, resource.m_ImageLocker.GetWidth());
    EXPECT_EQ(20, resource.m_ImageReady.GetWidth());
}

TEST_F(TableResourceTest, AFileThatIsNoPictureFailsTheLoad)
{
    skin.Folder().Write(skin.GameFile("TableNormal.BMP"), "not a picture");
    EXPECT_FALSE(resource.LoadTableResource(kGameFolder));
    EXPECT_EQ(0, resource.m_wWidth);
}

TEST_F(TableResourceTest, AMissingSkinFolderFails)
{
    EXPECT_FALSE(resource.LoadTableResource("NoSuchGame"));
    EXPECT_FALSE(resource.LoadTableResource(NULL));
}

TEST_F(TableResourceTest, AntiCheatVariantReplacesChairsAndTable)
{
    std::string extra = "ChairCount=2\r\nrtChairMatchCheat0=1 2 3 4\r\nrtNameMatchCheat1=5 6 7 8\r\n"
                        "ptReadyMatchCheat1=9 10\r\nnDrawStyleMatchCheat0=32\r\n";
    ASSERT_TRUE(resource.LoadTableResource(kGameFolder));
    // The variant's count, read again from the same file.
    skin.WriteIni({{"ChairCount", ""}}, extra);
    skin.WritePicture(skin.GameFile("TableNormal2.bmp"), 300, 260, kPlaying);
    skin.WritePicture(skin.GameFile("fzbgonggao.png"), 40, 20, kLock);
    skin.Folder().WriteBmp("Res\\gameavatar\\male.png", skintest::Pixels(30, 30, kMaleDefault));
    resource.LoadMatchCheatResource(false);

    EXPECT_EQ(CRect(1, 2, 3, 4), resource.m_rcChair[0]);
    EXPECT_EQ(CRect(5, 6, 7, 8), resource.m_rcName[1]);
    EXPECT_EQ(CPoint(9, 10), resource.m_ptReady[1]);
    EXPECT_EQ(32u, resource.m_nDrawStyle[0]);
    // Chairs past the variant's count do not keep their normal places.
    EXPECT_TRUE(resource.m_rcChair[2].IsRectNull());
    EXPECT_TRUE(resource.m_rcChair[3].IsRectNull());
    EXPECT_EQ(300, resource.m_wWidth);
    EXPECT_EQ(260, resource.m_wHeight);
    EXPECT_EQ(kPlaying, resource.m_crBackGround);
    EXPECT_TRUE(resource.m_PicNotice.IsValid());
    EXPECT_TRUE(resource.m_PicMale.IsValid());
    EXPECT_FALSE(resource.m_PicFemale.IsValid());
}

TEST_F(TableResourceTest, CycleVariantReplacesBothTablePictures)
{
    ASSERT_TRUE(resource.LoadTableResource(kGameFolder));
    skin.WritePicture(skin.GameFile("CycleTable.png"), 260, 180, kIdentify);
    skin.WritePicture(skin.GameFile("CycleStart.png"), 400, 40, kLock);
    resource.LoadMatchCheatResource(true);
    EXPECT_EQ(260, resource.m_wWidth);
    EXPECT_EQ(180, resource.m_wHeight);
    EXPECT_EQ(kIdentify, resource.m_ImagePlaying.GetPixel(5, 5));
    EXPECT_TRUE(resource.m_PicCycleStart.IsValid());
    EXPECT_FALSE(resource.m_PicCycleLogo.IsValid());
    // The chairs of the normal skin stay.
    EXPECT_EQ(CRect(kChairRects[3]), resource.m_rcChair[3]);
}

TEST_F(TableResourceTest, AMissingVariantTableLeavesNoSize)
{
    ASSERT_TRUE(resource.LoadTableResource(kGameFolder));
    resource.LoadMatchCheatResource(false);
    EXPECT_EQ(0, resource.m_wWidth);
    EXPECT_EQ(0, resource.m_wHeight);
    EXPECT_TRUE(resource.m_ImageNormal.IsNull());
}

TEST_F(TableResourceTest, ResetDropsPicturesAndSize)
{
    ASSERT_TRUE(resource.LoadTableResource(kGameFolder));
    resource.m_nDrawStyle[7] = 5;
    resource.ResetTableResource();
    EXPECT_EQ(0, resource.m_wWidth);
    EXPECT_EQ(0u, resource.m_crBackGround);
    EXPECT_EQ(0u, resource.m_crName);
    EXPECT_EQ(0u, resource.m_nDrawStyle[7]);
    EXPECT_TRUE(resource.m_ImageLocker.IsNull());
    EXPECT_TRUE(resource.m_ImageNormal.IsNull());
}
} // namespace
