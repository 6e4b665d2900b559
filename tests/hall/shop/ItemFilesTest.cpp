// The catalogue's files as the server sends them.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ItemFiles.h"
#include "TempFolder.h"

namespace
{

class ItemFiles : public testing::Test
{
protected:
    std::string Write(const std::string& name, const std::string& text)
    {
        std::string path = folder.Path() + "\\" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    CTempFolder folder{"tavrel-items"};
};

TEST_F(ItemFiles, FileIndexKeepsOnlyPathsBelowTheProgramFolder)
{
    std::string path = Write("fileindex.xml", R"(<index><Version version="4"/>
<imginfo><Version version="2"/><file-name path="Items\imginfo.xml"/><file-url url="items/imginfo.xml"/></imginfo>
<itemindex><Version version="1"/><file-name path="Items\a.xml"/><file-url url="items/a.xml"/></itemindex>
<other><Version version="1"/><file-name path="Items\b.xml"/><file-url url="items/b.xml"/></other>
<itemindex><Version version="1"/><file-name path="..\..\evil.dll"/><file-url url="x"/></itemindex>
<itemindex><Version version="1"/><file-name path="C:\evil.xml"/><file-url url="x"/></itemindex>
<itemindex><Version version="1"/><file-name path="\evil.xml"/><file-url url="x"/></itemindex>
<itemindex><Version version="1"/><file-name path="Items\a-name-longer-than-its-field-of-32.xml"/><file-url url="x"/></itemindex>
<itemindex><Version version="1"/><file-name path="Items\c.xml"/><file-url url="http://elsewhere/c.xml"/></itemindex>
</index>)");
    int nVersion = 0;
    tagItem images;
    CItemFileArray files;
    ASSERT_TRUE(ReadFileIndex(path.c_str(), nVersion, images, files));
    EXPECT_EQ(nVersion, 4);
    EXPECT_STREQ(images.szName, "Items\\imginfo.xml");
    EXPECT_EQ(images.nVersion, 2);
    // Every sibling after the first "itemindex" is an entry, whatever its name.
    ASSERT_EQ(files.GetSize(), 2);
    EXPECT_STREQ(files[0].szName, "Items\\a.xml");
    EXPECT_STREQ(files[0].szUrl, "items/a.xml");
    EXPECT_STREQ(files[1].szName, "Items\\b.xml");

    EXPECT_FALSE(ReadFileIndex(Write("broken.xml", "<index><Version").c_str(), nVersion, images, files));
}

TEST_F(ItemFiles, ItemChildrenAreReadByPositionUpToTheFirstMissing)
{
    std::string path = Write("a.xml", R"(<items><Version version="3"/>
<item><id>7</id><name>喇叭</name><shop/><text>说话</text><f>1</f><g>0</g><img>70</img><q>5</q><p>100</p><v>9</v></item>
<item><id>8</id><name>no category</name></item>
<entry><id>9</id></entry>
</items>)");
    int nVersion = 0;
    CArray<CItemCfg*, CItemCfg*> items;
    ASSERT_TRUE(ReadItemFile(path.c_str(), nVersion, items));
    EXPECT_EQ(nVersion, 3);
    ASSERT_EQ(items.GetSize(), 3);
    CItemCfg* horn = items[0];
    EXPECT_EQ(horn->GetItemId(), 7);
    EXPECT_STREQ(horn->GetName(), "喇叭");
    EXPECT_EQ(horn->GetCategory(), 3);
    EXPECT_STREQ(horn->GetDescription(), "说话");
    EXPECT_EQ(horn->GetFirstFlag(), 1);
    EXPECT_EQ(horn->GetSecondFlag(), 0);
    EXPECT_EQ(horn->GetImageId(), 70u);
    EXPECT_TRUE(horn->IsQuantityItem());
    EXPECT_EQ(horn->GetPrice(), 100u);
    EXPECT_EQ(horn->GetValue(), 9u);
    EXPECT_EQ(items[1]->GetCategory(), 0); // no third child: not on the shop page
    EXPECT_STREQ(items[1]->GetName(), "no category");
    EXPECT_EQ(items[2]->GetItemId(), 9);
    for (INT_PTR i = 0; i < items.GetSize(); i++)
        delete items[i];
}

TEST_F(ItemFiles, LongTextsAreCutBetweenCharacters)
{
    std::string name;
    for (int i = 0; i < 20; i++)
        name += "名";
    std::string path =
        Write("long.xml", "<items><Version version=\"1\"/><item><id>1</id><name>x" + name + "</name></item></items>");
    int nVersion = 0;
    CArray<CItemCfg*, CItemCfg*> items;
    ASSERT_TRUE(ReadItemFile(path.c_str(), nVersion, items));
    ASSERT_EQ(items.GetSize(), 1);
    EXPECT_EQ(items[0]->GetName(), CString("x") + name.substr(0, 30).c_str());
    delete items[0];
}

TEST_F(ItemFiles, ImageIndexAndItsHistory)
{
    std::string path = Write("imginfo.xml", R"(<images><Version version="5"/>
<image><version>2</version><file>Items\img\horn_1.png</file><url>img/horn_1.png</url><imageid>70</imageid></image>
<image><version>1</version><file>..\outside.png</file><url>img/x.png</url><imageid>71</imageid></image>
<image><version>4</version><file>Items\img\card_1.png</file><url>img/card_1.png</url><imageid>72</imageid></image>
</images>)");
    int nVersion = 0;
    CImageCfgArray images;
    ASSERT_TRUE(ReadImageIndex(path.c_str(), nVersion, images));
    EXPECT_EQ(nVersion, 5);
    ASSERT_EQ(images.GetSize(), 2);
    EXPECT_EQ(images[0].dwImageId, 70u);
    EXPECT_STREQ(images[0].szFile, "Items\\img\\horn_1.png");
    EXPECT_EQ(images[1].nVersion, 4);

    CMap<DWORD, DWORD, int, int> history;
    ASSERT_TRUE(ReadImageHistory(path.c_str(), history));
    int nOld = 0;
    EXPECT_TRUE(history.Lookup(72, nOld));
    EXPECT_EQ(nOld, 4);
}

} // namespace
