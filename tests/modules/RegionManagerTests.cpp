// The region table on small region files.
#include <gtest/gtest.h>

#include <stdio.h>

#include "IRegionManager.h"
#include "ModuleTestSupport.h"

namespace
{

const char kRegionFile[] = "[Province]\r\n"
                           "110000=北京市\r\n"
                           "410000=河南省\r\n"
                           "[City]\r\n"
                           "110100=市辖区\r\n"
                           "410100=郑州市\r\n"
                           "410300=洛阳市\r\n"
                           "420100=武汉市\r\n" // its province is missing
                           "[Area]\r\n"
                           "110101=东城区\r\n"
                           "410102=中原区\r\n"
                           "not a region line\r\n"
                           "410103=二七区\r\n"
                           "410305=涧西区\r\n"
                           "410901=无城区\r\n"; // its city is missing

class RegionManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_file = m_folder.File("Region.ini");
        WriteFile(m_file, kRegionFile);
        m_regions = CreateModule<IRegionManager>(CLSID_RegionManager, IID_IRegionManager);
        ASSERT_TRUE(m_regions);
        ASSERT_TRUE(m_regions->LoadRegion(m_file.c_str()));
    }

    CTempFolder m_folder;
    std::string m_file;
    ModulePtr<IRegionManager> m_regions;
};

TEST_F(RegionManagerTest, ItemsByIndexInFileOrder)
{
    ASSERT_EQ(m_regions->GetProvinceCount(), 2);
    ASSERT_EQ(m_regions->GetCityCount(), 4);
    ASSERT_EQ(m_regions->GetAreaCount(), 5);

    EXPECT_EQ(m_regions->GetProvince(1)->GetId(), 410000u);
    EXPECT_STREQ(m_regions->GetProvince(1)->GetName(), "河南省");
    EXPECT_EQ(m_regions->GetCity(3)->GetId(), 420100u);
    EXPECT_EQ(m_regions->GetArea(2)->GetId(), 410103u);
    EXPECT_STREQ(m_regions->GetArea(2)->GetName(), "二七区");

    EXPECT_EQ(m_regions->GetProvince(2), nullptr);
    EXPECT_EQ(m_regions->GetCity(4), nullptr);
    EXPECT_EQ(m_regions->GetArea(5), nullptr);
    EXPECT_EQ(m_regions->GetArea(UINT(-1)), nullptr);
}

TEST_F(RegionManagerTest, ChildrenLinkedByIdInFileOrder)
{
    IProvince* henan = m_regions->GetProvince(1);
    ASSERT_EQ(henan->GetChildCount(), 2);
    EXPECT_STREQ(henan->GetChild(0)->GetName(), "郑州市");
    EXPECT_STREQ(henan->GetChild(1)->GetName(), "洛阳市");
    EXPECT_EQ(henan->GetChild(2), nullptr);
    EXPECT_EQ(henan->GetChild(UINT(-1)), nullptr);

    ICity* zhengzhou = henan->GetChild(0);
    ASSERT_EQ(zhengzhou->GetChildCount(), 2);
    EXPECT_EQ(zhengzhou->GetChild(0)->GetId(), 410102u);
    EXPECT_EQ(zhengzhou->GetChild(1)->GetId(), 410103u);
    EXPECT_EQ(zhengzhou->GetChild(2), nullptr);

    EXPECT_EQ(m_regions->GetProvince(0)->GetChildCount(), 1);
}

TEST_F(RegionManagerTest, FindRoundsTheIdDownToItsProvinceAndCity)
{
    struct Case
    {
        DWORD id;
        DWORD province; // 0: none found
        DWORD city;
        DWORD area;
    };
    const Case cases[] = {
        {410103, 410000, 410100, 410103},
        {410305, 410000, 410300, 410305},
        {410100, 410000, 410100, 0},
        {410000, 410000, 0, 0},
        {410199, 410000, 410100, 0},
        {420101, 0, 420100, 0},
        {410901, 410000, 0, 410901},
        {999999, 0, 0, 0},
        {0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        IProvince* province = m_regions->FindProvince(c.id);
        ICity* city = m_regions->FindCity(c.id);
        IArea* area = m_regions->FindArea(c.id);
        EXPECT_EQ(province ? province->GetId() : 0, c.province);
        EXPECT_EQ(city ? city->GetId() : 0, c.city);
        EXPECT_EQ(area ? area->GetId() : 0, c.area);
    }
}

TEST_F(RegionManagerTest, ItemsWithoutParentStayInTheirList)
{
    ASSERT_NE(m_regions->FindArea(410901), nullptr);
    ASSERT_NE(m_regions->FindCity(420100), nullptr);
    int areasUnderCities = 0;
    for (UINT i = 0; i < m_regions->GetCityCount(); ++i)
        areasUnderCities += m_regions->GetCity(i)->GetChildCount();
    EXPECT_EQ(areasUnderCities, 4);
    int citiesUnderProvinces = 0;
    for (UINT i = 0; i < m_regions->GetProvinceCount(); ++i)
        citiesUnderProvinces += m_regions->GetProvince(i)->GetChildCount();
    EXPECT_EQ(citiesUnderProvinces, 3);
}

TEST_F(RegionManagerTest, SecondFileReplacesAndMissingFileKeeps)
{
    std::string second = m_folder.File("Second.ini");
    WriteFile(second, "[Province]\r\n320000=江苏省\r\n[City]\r\n320100=南京市\r\n");
    ASSERT_TRUE(m_regions->LoadRegion(second.c_str()));
    EXPECT_EQ(m_regions->GetProvinceCount(), 1);
    EXPECT_EQ(m_regions->GetCityCount(), 1);
    EXPECT_EQ(m_regions->GetAreaCount(), 0);
    EXPECT_EQ(m_regions->FindProvince(410000), nullptr);
    EXPECT_EQ(m_regions->GetProvince(0)->GetChild(0)->GetId(), 320100u);

    EXPECT_FALSE(m_regions->LoadRegion(m_folder.File("Missing.ini").c_str()));
    EXPECT_FALSE(m_regions->LoadRegion(m_folder.Path().c_str()));
    EXPECT_FALSE(m_regions->LoadRegion(NULL));
    EXPECT_EQ(m_regions->GetProvinceCount(), 1);
    EXPECT_STREQ(m_regions->GetProvince(0)->GetName(), "江苏省");
}

// A section larger than one read buffer is read whole, not cut off.
TEST_F(RegionManagerTest, LargeSectionIsReadWhole)
{
    std::string text = "[Province]\r\n500000=省\r\n[Area]\r\n";
    const int areas = 6000; // about 200 KB
    for (int i = 0; i < areas; ++i) {
        char line[64];
        snprintf(line, sizeof(line), "%d=区县名称区县名称区县名称%05d\r\n", 500000 + i, i);
        text += line;
    }
    ASSERT_GT(text.size(), 128u * 1024);
    std::string file = m_folder.File("Large.ini");
    WriteFile(file, text);
    ASSERT_TRUE(m_regions->LoadRegion(file.c_str()));
    ASSERT_EQ(m_regions->GetAreaCount(), areas);
    IArea* last = m_regions->FindArea(500000 + areas - 1);
    ASSERT_NE(last, nullptr);
    EXPECT_STREQ(last->GetName(), "区县名称区县名称区县名称05999");
}

} // namespace
