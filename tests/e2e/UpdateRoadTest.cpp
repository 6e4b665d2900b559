// The update and download roads through the assembled hall against the
// demo world and a local HTTP server: the configuration update after logon
// is fetched and unpacked; the update list it brought names where a game
// that is not installed comes from: a room of that game offers it, and the
// package is fetched, checked, installed by the installer stand-in into the
// program folder, and the room opens. A download that breaks off installs
// nothing and leaves the old game as it was.
#include "HttpTestServer.h" // Winsock before the system headers

#include "E2eTest.h"

#include <memory>
#include <string>
#include <vector>

#include "RoomProtocol.h"
#include "ScopedVariable.h"
#include "TestWait.h"
#include "ZipEntryWriter.h"
#include "ZipPack.h"

using namespace e2e;

namespace
{

const char kDownloadCaption[] = "游戏下载";
const char kPackagePath[] = "/gobang.zip";
const char kConfigPath[] = "/DynaItemCfg.zip";

// The files of a folder (no sub-folders), by name.
std::vector<std::string> FilesOf(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(hFind, &found));
    FindClose(hFind);
    return names;
}

class UpdateRoad : public E2eTest
{
protected:
    void SetUp() override
    {
        E2eTest::SetUp();
        ASSERT_TRUE(m_Http.Start());
        m_pHall.reset(new HallProcess(m_World.GetHallPort()));
        // The game of the test: the first game with a room that shows its
        // players by name.
        for (const demodata::tagRoom& room : demodata::Rooms())
            if (room.dwGameID == demodata::Games().back().dwID && (room.dwRule & ROOM_RULE_ANONYMOUS) == 0 &&
                m_pRoom == nullptr)
                m_pRoom = &room;
        ASSERT_NE(nullptr, m_pRoom);
        m_pGame = demodata::FindGame(m_pRoom->dwGameID);
        m_GameFolder = Folder().File(m_pGame->pszFolder);
        // The installer stand-in beside the hall, installing into its folder.
        ASSERT_TRUE(CopyFileA((BuildFolder() + "\\Kestrum.exe").c_str(), Folder().File("Kestrum.exe").c_str(), FALSE));
        m_pTarget.reset(new ScopedVariable("KESTRUM_TARGET", Folder().Path()));
        m_pLog.reset(new ScopedVariable("KESTRUM_LOG", Folder().File("kestrum.log")));
        ASSERT_NO_FATAL_FAILURE(MakePackage());
    }
    void TearDown() override
    {
        m_Http.OpenGate();
        m_pHall.reset();
        m_Http.Stop();
        E2eTest::TearDown();
    }

    const CTempFolder& Folder() const { return m_pHall->Folder(); }
    HallProcess& Hall() { return *m_pHall; }

    // An archive of the entries (name, bytes), stored.
    std::string Zip(const std::vector<std::pair<std::string, std::string>>& entries)
    {
        const std::string path = Folder().File("made.zip");
        {
            CZipPack pack;
            EXPECT_TRUE(pack.OpenArchive(path.c_str(), CZipPack::zipCreate));
            CZipEntryWriter writer(pack);
            for (const auto& file : entries) {
                ZipNewEntry entry;
                entry.name = file.first.c_str();
                entry.method = 0;
                writer.Add(entry, file.second.data(), DWORD(file.second.size()));
            }
            pack.CloseArchive();
        }
        const std::string bytes = ReadFileBytes(path);
        DeleteFileA(path.c_str());
        return bytes;
    }
    // The package of the game: its folder as the demo installs it.
    void MakePackage()
    {
        std::vector<std::pair<std::string, std::string>> entries;
        for (const std::string& name : FilesOf(m_GameFolder))
            entries.push_back(
                {std::string(m_pGame->pszFolder) + "\\" + name, ReadFileBytes(m_GameFolder + "\\" + name)});
        m_Package = Zip(entries);
        ASSERT_GT(m_Package.size(), 1000u);
    }
    // The dynamic update list naming the package's address for the game,
    // and the version the game must have (empty: any).
    std::string UpdateList(const std::string& version)
    {
        std::string text = "[Game" + std::to_string(m_pGame->dwID) + "]\r\nurl0=" + m_Http.Url(kPackagePath) + "\r\n";
        if (!version.empty())
            text += "version=" + version + "\r\n";
        return text;
    }
    void WriteUpdateList(const std::string& version)
    {
        Folder().Write("config\\Dynamic\\Update.ini", UpdateList(version));
    }
    void RemoveGame()
    {
        for (const std::string& name : FilesOf(m_GameFolder))
            DeleteFileA((m_GameFolder + "\\" + name).c_str());
        RemoveDirectoryA(m_GameFolder.c_str());
    }
    // Double-clicks the room in the tree; the box that asks about the game
    // is answered Yes.
    void OpenAndAgree(const std::string& question)
    {
        ASSERT_NO_FATAL_FAILURE(DoubleClickRoom(Hall(), m_hTree, *m_pRoom));
        HWND hAsk = Hall().WaitBox(question);
        ASSERT_NE((HWND)NULL, hAsk) << "not asked \"" << question << "\"\n" << Hall().DescribeWindows();
        Shot(hAsk, "download-ask");
        PostMessageA(hAsk, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), (LPARAM)GetDlgItem(hAsk, IDYES));
    }
    HWND WaitDownloadWindow()
    {
        return Hall().WaitWindow([](HWND h) { return TextOf(h) == kDownloadCaption; });
    }
    // The newer version listed and agreed to; the download window shows.
    void AgreeToTheNewerVersion(HWND& hDownload)
    {
        WriteUpdateList("0x01000001");
        ASSERT_NO_FATAL_FAILURE(StartAndLogOn(Hall(), m_hFrame, m_hTree));
        ASSERT_NO_FATAL_FAILURE(OpenAndAgree("[" + std::string(m_pGame->pszName) +
                                             "]已经更新为 1.0.0.1 版本，当前版本还可以继续使用，现在是否下载升级？"));
        hDownload = WaitDownloadWindow();
        ASSERT_NE((HWND)NULL, hDownload) << Hall().DescribeWindows();
    }
    // The failed download's window closes; no installer ran, no package
    // stays, and the game's files are those of before.
    void ExpectNothingInstalled(HWND hDownload, const std::string& config, const std::string& client)
    {
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hDownload); }, kWait)) << "the download window stays\n"
                                                                            << Hall().DescribeWindows();
        EXPECT_FALSE(FileExists(Folder().File("kestrum.log"))) << "an installer was started";
        EXPECT_FALSE(FileExists(Folder().File("DownLoad\\gobang.zip")));
        EXPECT_FALSE(FileExists(Folder().File("DownLoad\\gobang.zip.part")));
        EXPECT_EQ(config, ReadFileBytes(m_GameFolder + "\\CONFIG.INI"));
        EXPECT_EQ(client, ReadFileBytes(m_GameFolder + "\\gameclient.exe"));
    }

    CHttpTestServer m_Http;
    std::unique_ptr<HallProcess> m_pHall;
    std::unique_ptr<ScopedVariable> m_pTarget;
    std::unique_ptr<ScopedVariable> m_pLog;
    const demodata::tagRoom* m_pRoom = nullptr;
    const demodata::tagGame* m_pGame = nullptr;
    std::string m_GameFolder;
    std::string m_Package;
    HWND m_hFrame = NULL;
    HWND m_hTree = NULL;
};

} // namespace

// The configuration update after logon brings the update list; a room of a
// game not installed then offers the game from the list's address.
TEST_F(UpdateRoad, TheConfigurationUpdateNamesWhereAGameNotInstalledComesFrom)
{
    const std::string config = ReadFileBytes(m_GameFolder + "\\CONFIG.INI");
    RemoveGame();
    Folder().Write("config\\Urls.ini", "[DynaCfg]\r\nurl=" + m_Http.Url(kConfigPath) + "\r\n");
    const std::string shown = "[show]\r\nShowMiniPlaza=0\r\n";
    m_Http.SetReply(kConfigPath,
                    CHttpTestServer::Ok(Zip({{"DynaItemCfg.ini", shown}, {"Update.ini", UpdateList("")}})));
    m_Http.SetReply(kPackagePath, CHttpTestServer::Ok(m_Package));
    ASSERT_NO_FATAL_FAILURE(StartAndLogOn(Hall(), m_hFrame, m_hTree));

    // Fetched after the logon and unpacked into the dynamic folder.
    const std::string list = Folder().File("config\\Dynamic\\Update.ini");
    ASSERT_TRUE(PumpUntil([&] { return ReadFileBytes(list) == UpdateList(""); }, kWait))
        << "the configuration update was not applied; requests: " << m_Http.GetRequests().size();
    EXPECT_EQ(1, m_Http.CountRequests(kConfigPath));
    EXPECT_EQ(shown, ReadFileBytes(Folder().File("config\\Dynamic\\DynaItemCfg.ini")));

    ASSERT_NO_FATAL_FAILURE(OpenAndAgree("[" + std::string(m_pGame->pszName) + "]还没有安装，现在是否下载？"));
    HWND hDownload = WaitDownloadWindow();
    ASSERT_NE((HWND)NULL, hDownload) << Hall().DescribeWindows();
    Shot(hDownload, "download-window");
    HWND hDone = Hall().WaitBox(std::string(m_pGame->pszName) + "已经更新完毕");
    ASSERT_NE((HWND)NULL, hDone) << "not installed\n"
                                 << ReadFileBytes(Folder().File("kestrum.log")) << Hall().DescribeWindows();
    PostMessageA(hDone, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hDownload); }, kWait)) << "the download window stays";

    // Fetched once from the update list's address, installed by the
    // installer into the program folder.
    EXPECT_EQ(1, m_Http.CountRequests(kPackagePath));
    const std::string log = ReadFileBytes(Folder().File("kestrum.log"));
    EXPECT_NE(std::string::npos, log.find("installed")) << log;
    EXPECT_EQ(config, ReadFileBytes(m_GameFolder + "\\CONFIG.INI"));
    EXPECT_TRUE(FileExists(m_GameFolder + "\\gameclient.exe"));

    // The room opens now.
    HWND hTableView = NULL;
    ASSERT_NO_FATAL_FAILURE(EnterFromTree(Hall(), m_hFrame, m_hTree, *m_pRoom, hTableView));
}

TEST_F(UpdateRoad, ADownloadThatBreaksOffInstallsNothingAndKeepsTheOldGame)
{
    const std::string config = ReadFileBytes(m_GameFolder + "\\CONFIG.INI");
    const std::string client = ReadFileBytes(m_GameFolder + "\\gameclient.exe");
    // The package stops a quarter of the way until the test has seen the
    // download, and breaks off half-way.
    CHttpTestServer::Reply cut = CHttpTestServer::Ok(m_Package);
    cut.nHoldAfter = m_Package.size() / 4;
    cut.nCutAfter = m_Package.size() / 2;
    m_Http.SetReply(kPackagePath, cut);
    HWND hDownload = NULL;
    ASSERT_NO_FATAL_FAILURE(AgreeToTheNewerVersion(hDownload));
    ASSERT_TRUE(PumpUntil([&] { return m_Http.CountRequests(kPackagePath) == 1; }, kWait));
    Shot(hDownload, "download-held");
    m_Http.OpenGate();
    ExpectNothingInstalled(hDownload, config, client);
}

TEST_F(UpdateRoad, ADownloadOntoAFullDiskInstallsNothingAndKeepsTheOldGame)
{
    const std::string config = ReadFileBytes(m_GameFolder + "\\CONFIG.INI");
    const std::string client = ReadFileBytes(m_GameFolder + "\\gameclient.exe");
    // The disk the package goes to fills half-way through it.
    m_Http.SetReply(kPackagePath, CHttpTestServer::Ok(m_Package));
    ScopedVariable room("TAVREL_DOWNLOAD_DISK_ROOM", std::to_string(m_Package.size() / 2));
    HWND hDownload = NULL;
    ASSERT_NO_FATAL_FAILURE(AgreeToTheNewerVersion(hDownload));
    ASSERT_TRUE(PumpUntil([&] { return m_Http.CountRequests(kPackagePath) == 1; }, kWait));
    ExpectNothingInstalled(hDownload, config, client);
}
