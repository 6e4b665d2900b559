// The catalogue loads from the program folder and fetches what is missing or
// stale through the real updater from the local HTTP server.
#include "HttpTestServer.h" // Winsock before the system headers

#include <gtest/gtest.h>

#include <afxwin.h>

#include <fstream>
#include <string>

#include "FileUpdate.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "ItemCatalogue.h"
#include "MessagePump.h"
#include "SkinTestSupport.h"
#include "StateTestSupport.h"

namespace
{

// The shop window's part: fetches through the updater, hears their ends.
class CShopHost : public CWnd, public IItemCatalogueHost
{
public:
    CShopHost() : catalogue(this) { CreateEx(0, "STATIC", "shop", WS_POPUP, CRect(0, 0, 1, 1), NULL, 0); }
    ~CShopHost() override { DestroyWindow(); }

    bool FetchFile(LPCSTR pszUrl, LPCSTR pszLocalPath, int nKind) override
    {
        kinds.push_back(nKind);
        return update.DownloadFile(pszUrl, pszLocalPath, this);
    }
    void CreateViews() override { ++views; }

    CItemCatalogue catalogue;
    CFileUpdate update;
    std::vector<int> kinds;
    int views = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 102 || message == WM_USER + 101)
            catalogue.OnFetchEnded(message == WM_USER + 102);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

std::string SolidBitmapFile(int cx, int cy, COLORREF colour)
{
    std::vector<BYTE> bytes = skintest::Bmp24(skintest::Pixels(cx, cy, colour));
    return std::string(bytes.begin(), bytes.end());
}

std::string FileIndex(int nVersion, const std::string& entries, int nImageVersion = 1)
{
    return "<index><Version version=\"" + std::to_string(nVersion) + "\"/><imginfo><Version version=\"" +
           std::to_string(nImageVersion) +
           "\"/><file-name path=\"Items\\imginfo.xml\"/>"
           "<file-url url=\"imginfo.xml\"/></imginfo>" +
           entries + "</index>";
}

std::string Entry(const std::string& name, int nVersion = 1)
{
    return "<itemindex><Version version=\"" + std::to_string(nVersion) + "\"/><file-name path=\"Items\\" + name +
           "\"/><file-url url=\"" + name + "\"/></itemindex>";
}

std::string Image(int nVersion, const std::string& name, int nId)
{
    return "<image><version>" + std::to_string(nVersion) + "</version><file>Items\\img\\" + name + "</file><url>img/" +
           name + "</url><imageid>" + std::to_string(nId) + "</imageid></image>";
}

std::string ItemFile(int nVersion, const std::string& items)
{
    return "<items><Version version=\"" + std::to_string(nVersion) + "\"/>" + items + "</items>";
}

std::string ItemXml(int nId, const std::string& name, int nImage = 0)
{
    return "<item><id>" + std::to_string(nId) + "</id><name>" + name + "</name><c/><d>x</d><f>0</f><g>0</g><i>" +
           std::to_string(nImage) + "</i><q>1</q><p>10</p><v>0</v></item>";
}

class ItemCatalogue : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(folder);
        ASSERT_TRUE(server.Start());
        CreateDirectoryA((folder.Path() + "config").c_str(), NULL);
        CreateDirectoryA((folder.Path() + "config\\Dynamic").c_str(), NULL);
        CreateDirectoryA((folder.Path() + "Items").c_str(), NULL);
        CreateDirectoryA((folder.Path() + "Items\\img").c_str(), NULL);
        Write("Urls.ini", "[downurl]\r\nurl=" + server.Url("/shop/") + "\r\n", "config\\");
        g_GlobalOption.LoadUrls();
    }
    void Write(const std::string& name, const std::string& text, const std::string& dir = "Items\\")
    {
        std::ofstream(folder.Path() + dir + name, std::ios::binary) << text;
    }
    void Require(int nVersion)
    {
        Write("DynaItemCfg.ini", "[Item]\r\nfileindexVersion=" + std::to_string(nVersion) + "\r\nurl=fileindex.xml\r\n",
              "config\\Dynamic\\");
    }
    // Until every fetch has ended.
    bool Settle(CShopHost& shop)
    {
        return PumpUntil([&] { return !shop.catalogue.IsFetching() && shop.catalogue.GetQueuedFetches() == 0; }, 20000);
    }
    int Requests(const std::string& name) { return server.CountRequests("/shop/" + name); }

    CStateFolder folder;
    CHttpTestServer server;
};

TEST_F(ItemCatalogue, CurrentFilesAreUsedWithoutAnyFetch)
{
    Require(2);
    Write("fileindex.xml", FileIndex(2, Entry("a.xml") + Entry("b.xml")));
    Write("a.xml", ItemFile(1, ItemXml(5, "horn") + "<item><id>6</id><name>no page</name></item>"));
    Write("b.xml", ItemFile(1, ItemXml(5, "second horn")));
    Write("imginfo.xml", "<images><Version version=\"1\"/></images>");
    CShopHost shop;
    EXPECT_TRUE(shop.catalogue.LoadCatalogue());
    EXPECT_TRUE(shop.kinds.empty());
    EXPECT_EQ(shop.views, 1);
    CItemShopManager& manager = shop.catalogue.GetManager();
    EXPECT_EQ(manager.GetItemCountOfCategory(3), 2);
    EXPECT_STREQ(manager.FindItemCfg(5)->GetName(), "horn"); // the first read wins
    EXPECT_EQ(manager.GetItemCountOfCategory(0), 1);
}

// A stale index is fetched once; after that fetch it is used whatever its version.
TEST_F(ItemCatalogue, StaleIndexIsFetchedOnce)
{
    Require(3);
    Write("fileindex.xml", FileIndex(2, Entry("a.xml")));
    server.SetReply("/shop/fileindex.xml", CHttpTestServer::Ok(FileIndex(2, Entry("a.xml"))));
    Write("a.xml", ItemFile(1, ItemXml(5, "horn")));
    Write("imginfo.xml", "<images><Version version=\"1\"/></images>");
    CShopHost shop;
    EXPECT_FALSE(shop.catalogue.LoadCatalogue());
    ASSERT_TRUE(Settle(shop));
    EXPECT_EQ(Requests("fileindex.xml"), 1);
    EXPECT_EQ(shop.views, 1);
    EXPECT_NE(shop.catalogue.GetManager().FindItemCfg(5), nullptr);
}

// A server that keeps failing is asked at most twice per file and load, and
// a failing item file still brings the views.
TEST_F(ItemCatalogue, FailuresAreRetriedOnceOnly)
{
    Require(1);
    CShopHost shop;
    EXPECT_FALSE(shop.catalogue.LoadCatalogue()); // no index at all
    ASSERT_TRUE(Settle(shop));
    EXPECT_EQ(Requests("fileindex.xml"), 2);
    EXPECT_EQ(shop.views, 0);

    Write("fileindex.xml", FileIndex(1, Entry("a.xml") + Entry("b.xml")));
    Write("b.xml", ItemFile(1, ItemXml(8, "card")));
    Write("imginfo.xml", "<images><Version version=\"1\"/></images>");
    CShopHost second;
    EXPECT_FALSE(second.catalogue.LoadCatalogue());
    ASSERT_TRUE(Settle(second));
    EXPECT_EQ(Requests("a.xml"), 2);
    EXPECT_EQ(second.views, 1);
    EXPECT_NE(second.catalogue.GetManager().FindItemCfg(8), nullptr);
}

// The picture index and the pictures answered 404: the index is asked for
// twice, a picture once (after the first round the pictures are held back).
TEST_F(ItemCatalogue, MissingPicturesAreAskedForABoundedNumberOfTimes)
{
    Require(1);
    Write("fileindex.xml", FileIndex(1, Entry("a.xml")));
    Write("a.xml", ItemFile(1, ItemXml(5, "horn", 70)));
    CShopHost shop;
    EXPECT_TRUE(shop.catalogue.LoadCatalogue());
    ASSERT_TRUE(Settle(shop));
    EXPECT_EQ(Requests("imginfo.xml"), 2);
    EXPECT_EQ(shop.views, 1);

    Write("imginfo.xml", "<images><Version version=\"1\"/>" + Image(1, "gone_1.bmp", 70) + "</images>");
    CShopHost second;
    EXPECT_TRUE(second.catalogue.LoadCatalogue());
    ASSERT_TRUE(Settle(second));
    EXPECT_EQ(Requests("img/gone_1.bmp"), 1);
    EXPECT_EQ(second.catalogue.GetPendingImages(), 0);
    ASSERT_NE(second.catalogue.FindImageCfg(70), nullptr);
    EXPECT_FALSE(second.catalogue.FindImageCfg(70)->Picture.IsValid());
}

// Several files missing at once: one fetch at a time, each completion
// handled by its own kind, every file fetched once.
TEST_F(ItemCatalogue, MissingFilesAreFetchedOneAtATime)
{
    Require(1);
    Write("fileindex.xml", FileIndex(1, Entry("a.xml") + Entry("b.xml") + Entry("c.xml")));
    for (const char* name : {"a.xml", "b.xml", "c.xml"})
        server.SetReply(std::string("/shop/") + name,
                        CHttpTestServer::Ok(ItemFile(1, ItemXml(name[0] - 'a' + 1, name, 70))));
    server.SetReply("/shop/imginfo.xml",
                    CHttpTestServer::Ok("<images><Version version=\"1\"/><image><version>1</version>"
                                        "<file>Items\\img\\horn_1.bmp</file><url>img/horn_1.bmp</url>"
                                        "<imageid>70</imageid></image></images>"));
    server.SetReply("/shop/img/horn_1.bmp", CHttpTestServer::Ok(SolidBitmapFile(4, 4, RGB(200, 0, 0))));
    CShopHost shop;
    EXPECT_FALSE(shop.catalogue.LoadCatalogue());
    ASSERT_TRUE(Settle(shop));
    for (const char* name : {"a.xml", "b.xml", "c.xml", "imginfo.xml", "img/horn_1.bmp"})
        EXPECT_EQ(Requests(name), 1) << name;
    EXPECT_EQ((std::vector<int>{2, 2, 2, 3, 4}), shop.kinds);
    EXPECT_EQ(shop.views, 1);
    EXPECT_EQ(shop.catalogue.GetManager().GetItemCountOfCategory(3), 3);
    EXPECT_EQ(shop.catalogue.GetPendingImages(), 0);
    const tagImageCfg* pImage = shop.catalogue.FindImageCfg(70);
    ASSERT_NE(pImage, nullptr);
    EXPECT_TRUE(pImage->Picture.IsValid());
    // No "_2" on the server or on disk: the bar's slot stays empty, nothing fetched.
    EXPECT_FALSE(pImage->SmallPicture.IsValid());
    EXPECT_EQ(Requests("img/horn_2.bmp"), 0);
}

// A stale item file is fetched once and then used whatever its version; a
// stale picture index is fetched once, and after it only the pictures whose
// version rose are fetched again.
TEST_F(ItemCatalogue, StaleFilesAreFetchedOnceAndOnlyChangedPicturesAgain)
{
    Require(1);
    Write("fileindex.xml", FileIndex(1, Entry("a.xml", 2), 2));
    Write("a.xml", ItemFile(1, ItemXml(5, "old horn", 70)));
    server.SetReply("/shop/a.xml", CHttpTestServer::Ok(ItemFile(1, ItemXml(5, "new horn", 70))));
    Write("imginfo.xml",
          "<images><Version version=\"1\"/>" + Image(1, "a_1.bmp", 70) + Image(1, "b_1.bmp", 71) + "</images>");
    server.SetReply("/shop/imginfo.xml",
                    CHttpTestServer::Ok("<images><Version version=\"1\"/>" + Image(2, "a_1.bmp", 70) +
                                        Image(1, "b_1.bmp", 71) + "</images>"));
    Write("a_1.bmp", SolidBitmapFile(2, 2, RGB(0, 0, 255)), "Items\\img\\");
    Write("b_1.bmp", SolidBitmapFile(2, 2, RGB(0, 255, 0)), "Items\\img\\");
    server.SetReply("/shop/img/a_1.bmp", CHttpTestServer::Ok(SolidBitmapFile(5, 5, RGB(0, 0, 255))));
    CShopHost shop;
    EXPECT_FALSE(shop.catalogue.LoadCatalogue());
    ASSERT_TRUE(Settle(shop));
    EXPECT_EQ((std::vector<int>{2, 3, 4}), shop.kinds);
    for (const char* name : {"a.xml", "imginfo.xml", "img/a_1.bmp"})
        EXPECT_EQ(Requests(name), 1) << name;
    EXPECT_EQ(Requests("fileindex.xml"), 0);
    EXPECT_EQ(Requests("img/b_1.bmp"), 0);
    ASSERT_NE(shop.catalogue.GetManager().FindItemCfg(5), nullptr);
    EXPECT_STREQ(shop.catalogue.GetManager().FindItemCfg(5)->GetName(), "new horn");
    EXPECT_EQ(shop.views, 1);
    ASSERT_NE(shop.catalogue.FindImageCfg(70), nullptr);
    ASSERT_NE(shop.catalogue.FindImageCfg(71), nullptr);
    EXPECT_EQ(shop.catalogue.FindImageCfg(70)->Picture.GetWidth(), 5u);
    EXPECT_EQ(shop.catalogue.FindImageCfg(71)->Picture.GetWidth(), 2u);
    EXPECT_EQ(shop.catalogue.GetPendingImages(), 0);
}

// Loading again replaces a picture record of the same id.
TEST_F(ItemCatalogue, ReloadReplacesPictureRecordsById)
{
    Require(1);
    Write("fileindex.xml", FileIndex(1, Entry("a.xml")));
    Write("a.xml", ItemFile(1, ItemXml(5, "horn", 70)));
    Write("imginfo.xml", "<images><Version version=\"1\"/><image><version>1</version><file>Items\\img\\a_1.bmp</file>"
                         "<url>a</url><imageid>70</imageid></image></images>");
    Write("a_1.bmp", SolidBitmapFile(2, 2, RGB(0, 0, 255)), "Items\\img\\");
    CShopHost shop;
    EXPECT_TRUE(shop.catalogue.LoadCatalogue());
    ASSERT_NE(shop.catalogue.FindImageCfg(70), nullptr);
    EXPECT_EQ(shop.catalogue.FindImageCfg(70)->Picture.GetWidth(), 2u);

    Write("a_1.bmp", SolidBitmapFile(3, 3, RGB(0, 0, 255)), "Items\\img\\");
    shop.catalogue.Reload();
    EXPECT_EQ(shop.catalogue.GetImages().GetSize(), 1);
    EXPECT_EQ(shop.catalogue.FindImageCfg(70)->Picture.GetWidth(), 3u);
    EXPECT_EQ(shop.catalogue.GetManager().GetItemCountOfCategory(3), 1);
}

} // namespace
