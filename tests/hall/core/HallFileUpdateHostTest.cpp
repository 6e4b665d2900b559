#include "HallFileUpdateHost.h"

#include <gtest/gtest.h>

#include <sstream>

#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "StateTestSupport.h"

namespace
{

// The updater reads the hall's version record through the host: the options
// store's hall record with its address lists.
TEST(HallFileUpdateHost, HandsOverTheStoresFoldersAndHallRecord)
{
    CStateFolder folder;
    UseProgramFolder(folder);
    CHallFileUpdateHost host;
    EXPECT_STREQ(host.GetWorkDirectory(), folder.Path().c_str());
    EXPECT_STREQ(host.GetConfigDirectory(), (folder.Path() + "config").c_str());

    std::istringstream stream("[HallDownload]\r\nname=Hall\r\nversion=0x0102\r\nupdateversion=0x0101\r\n"
                              "url0=http://full0/\r\nurl1=http://full1/\r\nupdateurl0=http://upd0/\r\n");
    host.ReadHallDownloadInfo(stream);
    tagHallDownloadInfo info;
    ASSERT_TRUE(host.GetHallDownloadInfo(info));
    EXPECT_EQ(0x102u, info.dwVersion);
    EXPECT_EQ(0x101u, info.dwUpdateVersion);
    EXPECT_STREQ("Hall", info.szName);
    EXPECT_STREQ("http://full1/", info.szDownloadUrl[1]);
    EXPECT_STREQ("", info.szDownloadUrl[2]);
    EXPECT_STREQ("http://upd0/", info.szUpdateUrl[0]);

    CArray<tagBulletinItem, const tagBulletinItem&> items;
    items.SetSize(2);
    host.SetBulletinList(items);
    EXPECT_EQ(2, g_GlobalOption.GetBulletinItems().GetSize());
}

} // namespace
