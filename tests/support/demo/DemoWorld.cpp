#include "DemoWorld.h"

#include <utility>

#include "SkinTestSupport.h"

namespace
{

// The table skin every demo game shares: a 160 by 120 table with four
// chairs, top, right, bottom, left.
const int kTableWidth = 160;
const int kTableHeight = 120;
const RECT kChairs[demodata::kChairCount] = {{65, 4, 95, 34}, {126, 45, 156, 75}, {65, 86, 95, 116}, {4, 45, 34, 75}};
const char kTableIni[] =
    "[TableResorceInfo]\r\n"
    "ChairCount=4\r\n"
    "rtChair0=65 4 95 34\r\nrtChair1=126 45 156 75\r\nrtChair2=65 86 95 116\r\nrtChair3=4 45 34 75\r\n"
    "rtName0=35 34 125 48\r\nrtName1=100 76 160 90\r\nrtName2=35 72 125 86\r\nrtName3=0 76 60 90\r\n"
    "ptReady0=97 10\r\nptReady1=130 30\r\nptReady2=97 92\r\nptReady3=8 30\r\n"
    "nDrawStyle0=0\r\nnDrawStyle1=0\r\nnDrawStyle2=0\r\nnDrawStyle3=0\r\n"
    "ptLock=74 52\r\nrtTableID=0 104 40 118\r\nrtTableName=100 104 160 118\r\n"
    "rtTableMultiple=0 0 30 14\r\nrtTableInnings=130 0 160 14\r\nptTableIdentify=2 2\r\n"
    "rtNote0=0 0 0 0\r\n"
    "crTableID=255 255 255\r\ncrName=255 255 255\r\ncrMemberName=255 64 64\r\n"
    "crNote=255 255 255\r\ncrTableName=255 255 255\r\n";

skintest::Pixels TablePicture(COLORREF table)
{
    skintest::Pixels pixels(kTableWidth, kTableHeight, RGB(0, 100, 60));
    pixels.Fill(40, 36, 80, 48, table);
    for (const RECT& chair : kChairs)
        pixels.Fill(chair.left, chair.top, chair.right - chair.left, chair.bottom - chair.top, RGB(150, 150, 150));
    return pixels;
}

skintest::Pixels Framed(int width, int height, COLORREF inner)
{
    skintest::Pixels pixels(width, height, RGB(255, 0, 255));
    pixels.Fill(1, 1, width - 2, height - 2, inner);
    return pixels;
}

bool SaveBytes(const std::string& path, const std::vector<BYTE>& bytes)
{
    HANDLE hFile = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD dwWritten = 0;
    const bool bWritten =
        WriteFile(hFile, bytes.data(), DWORD(bytes.size()), &dwWritten, NULL) != FALSE && dwWritten == bytes.size();
    CloseHandle(hFile);
    return bWritten;
}

bool WriteText(const std::string& path, const std::string& text)
{
    return SaveBytes(path, std::vector<BYTE>(text.begin(), text.end()));
}

} // namespace

CDemoWorld::CDemoWorld()
{
    for (const demodata::tagRoom& room : demodata::Rooms()) {
        tagRoomServer entry;
        entry.pServer.reset(new CFrameServer);
        entry.pRoom.reset(new CDemoRoom(room));
        m_Rooms.push_back(std::move(entry));
    }
}

CDemoWorld::~CDemoWorld()
{
    Stop();
}

bool CDemoWorld::Start(bool bKeepFrames)
{
    for (tagRoomServer& entry : m_Rooms) {
        entry.pServer->SetKeepFrames(bKeepFrames);
        entry.pRoom->Attach(*entry.pServer);
        if (!entry.pServer->Start("127.0.0.1", 0))
            return false;
        m_Hall.SetRoomPort(entry.pRoom->GetRoom().dwID, entry.pServer->GetPort());
    }
    m_ServiceServer.SetKeepFrames(bKeepFrames);
    // The first account's start-up, and every change of its data accepted.
    m_ServiceServer.AnswerStart(demohall::kUserID);
    m_ServiceServer.Answer(200, 203, ServiceBody::Result(0));
    if (!m_ServiceServer.Start("127.0.0.1", 0))
        return false;
    m_HallServer.SetKeepFrames(bKeepFrames);
    m_Hall.Attach(m_HallServer);
    return m_HallServer.Start("127.0.0.1", 0);
}

void CDemoWorld::Stop()
{
    m_HallServer.Stop();
    for (tagRoomServer& entry : m_Rooms)
        entry.pServer->Stop();
    m_ServiceServer.Stop();
}

CFrameServer* CDemoWorld::GetRoomServer(DWORD dwRoomID)
{
    for (tagRoomServer& entry : m_Rooms)
        if (entry.pRoom->GetRoom().dwID == dwRoomID)
            return entry.pServer.get();
    return nullptr;
}

CDemoRoom* CDemoWorld::GetRoom(DWORD dwRoomID)
{
    for (tagRoomServer& entry : m_Rooms)
        if (entry.pRoom->GetRoom().dwID == dwRoomID)
            return entry.pRoom.get();
    return nullptr;
}

std::string CDemoWorld::PortsText() const
{
    std::string text = "[Demo]\r\nHall=" + std::to_string(m_HallServer.GetPort()) + "\r\n";
    for (const tagRoomServer& entry : m_Rooms)
        text += "Room" + std::to_string(entry.pRoom->GetRoom().dwID) + "=" + std::to_string(entry.pServer->GetPort()) +
                "\r\n";
    return text + "Service=" + std::to_string(m_ServiceServer.GetPort()) + "\r\n";
}

std::string CDemoWorld::ServerListText(WORD wHallPort)
{
    return "[Server]\r\nServerCount=1\r\nLastServerID=0\r\nFindFastServer=1\r\n[Server0]\r\nName=Demo\r\n"
           "Host=127.0.0.1\r\nPort=" +
           std::to_string(wHallPort) + "\r\n";
}

std::string CDemoWorld::ServiceServerListText(WORD wServicePort)
{
    return "[ServiceServer]\r\nServerCount=1\r\nLastServerID=0\r\n[Server0]\r\nIP=127.0.0.1\r\nPORT=" +
           std::to_string(wServicePort) + "\r\n";
}

bool CDemoWorld::InstallProgramFiles(const std::string& programFolder, const std::string& clientProgram)
{
    // The side panel shows its player list with the skin's scroll bar.
    for (const char* folder : {"\\Res", "\\Res\\Common", "\\Res\\Common\\scrollbar"})
        CreateDirectoryA((programFolder + folder).c_str(), NULL);
    if (!SaveBytes(programFolder + "\\Res\\Common\\scrollbar\\scrollbar.bmp",
                   skintest::Bmp24(skintest::Pixels(16, 16, RGB(120, 140, 170)))))
        return false;
    // The chat pane of a room needs its emotion list and its line icons.
    CreateDirectoryA((programFolder + "\\Emotion").c_str(), NULL);
    CreateDirectoryA((programFolder + "\\Addin").c_str(), NULL);
    CreateDirectoryA((programFolder + "\\Addin\\Chat").c_str(), NULL);
    if (!WriteText(programFolder + "\\Emotion\\config.ini", "[emotion]\r\nCount=0\r\n"))
        return false;
    const std::pair<const char*, COLORREF> icons[] = {{"system.bmp", RGB(200, 60, 60)},
                                                      {"player.bmp", RGB(60, 120, 200)},
                                                      {"speaker.bmp", RGB(220, 160, 40)},
                                                      {"activity.bmp", RGB(60, 170, 90)}};
    for (const auto& icon : icons)
        if (!SaveBytes(programFolder + "\\Addin\\Chat\\" + icon.first, skintest::Bmp24(Framed(16, 16, icon.second))))
            return false;

    // The shop's catalogue, read from the folder: every demo shop item on
    // the shop page, no pictures.
    CreateDirectoryA((programFolder + "\\Items").c_str(), NULL);
    std::string items = "<items><Version version=\"1\"/>\r\n";
    for (const demodata::tagShopItem& item : demodata::ShopItems())
        items += "<item><id>" + std::to_string(item.wItemID) + "</id><name>" + item.pszName +
                 "</name><shop/><text>演示道具</text><f>0</f><g>0</g><img>0</img><q>1</q><p>" +
                 std::to_string(item.dwPrice) + "</p><v>0</v></item>\r\n";
    items += "</items>\r\n";
    if (!WriteText(programFolder + "\\Items\\fileindex.xml",
                   "<index><Version version=\"1\"/>\r\n"
                   "<imginfo><Version version=\"1\"/><file-name path=\"Items\\imginfo.xml\"/>"
                   "<file-url url=\"items/imginfo.xml\"/></imginfo>\r\n"
                   "<itemindex><Version version=\"1\"/><file-name path=\"Items\\demo.xml\"/>"
                   "<file-url url=\"items/demo.xml\"/></itemindex>\r\n</index>\r\n") ||
        !WriteText(programFolder + "\\Items\\imginfo.xml", "<images><Version version=\"1\"/></images>\r\n") ||
        !WriteText(programFolder + "\\Items\\demo.xml", items))
        return false;

    const std::vector<BYTE> normal = skintest::Bmp24(TablePicture(RGB(150, 90, 40)));
    const std::vector<BYTE> playing = skintest::Bmp24(TablePicture(RGB(170, 40, 40)));
    const std::vector<BYTE> locker = skintest::Bmp24(Framed(12, 14, RGB(200, 160, 40)));
    const std::vector<BYTE> ready = skintest::Bmp24(Framed(20, 12, RGB(40, 170, 60)));
    for (const demodata::tagGame& game : demodata::Games()) {
        const std::string folder = programFolder + "\\" + game.pszFolder;
        CreateDirectoryA(folder.c_str(), NULL);
        if (!CopyFileA(clientProgram.c_str(), (folder + "\\gameclient.exe").c_str(), FALSE))
            return false;
        if (!WriteText(folder + "\\CONFIG.INI", "[Public]\r\nExeName=gameclient.exe\r\nVersion=0x01000000\r\n") ||
            !WriteText(folder + "\\table.ini", kTableIni) || !SaveBytes(folder + "\\TableNormal.BMP", normal) ||
            !SaveBytes(folder + "\\TablePlaying.BMP", playing) || !SaveBytes(folder + "\\Locker.BMP", locker) ||
            !SaveBytes(folder + "\\UserReady.BMP", ready))
            return false;
    }
    return true;
}
