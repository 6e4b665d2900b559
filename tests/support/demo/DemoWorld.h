// The demo world: the demo hall server, one room server per demo room and
// the user-service server, each on 127.0.0.1 and a free port, the hall's
// tree pointing at the rooms.
// The demo program runs it for a person; the end-to-end tests run it beside
// the hall they start and read what its servers saw.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DemoHall.h"
#include "DemoRoom.h"
#include "ServiceServer.h"

class CDemoWorld
{
public:
    CDemoWorld();
    ~CDemoWorld();
    CDemoWorld(const CDemoWorld&) = delete;
    CDemoWorld& operator=(const CDemoWorld&) = delete;

    // Off: frames are answered but not kept (a long demo run).
    bool Start(bool bKeepFrames = true);
    void Stop();

    WORD GetHallPort() const { return m_HallServer.GetPort(); }
    CFrameServer& GetHallServer() { return m_HallServer; }
    CDemoHall& GetHall() { return m_Hall; }
    // The room server of a demo room; null for a room that is not one.
    CFrameServer* GetRoomServer(DWORD dwRoomID);
    CDemoRoom* GetRoom(DWORD dwRoomID);
    // The user-service server: it answers the first demo account's start-up.
    WORD GetServicePort() const { return m_ServiceServer.GetPort(); }
    CServiceServer& GetServiceServer() { return m_ServiceServer; }

    // "[Demo]" with Hall=<port>, Room<id>=<port> and Service=<port>, CRLF lines.
    std::string PortsText() const;
    // The hall's server list naming only the demo hall server.
    static std::string ServerListText(WORD wHallPort);
    // The user-service program's server list ("Config\ServiceServerList.ini")
    // naming only the given port.
    static std::string ServiceServerListText(WORD wServicePort);
    // Installs into a program folder what the demo needs beyond the build:
    // the room chat's emotion list and line icons, and each demo game with
    // the given program as its client, its CONFIG.INI, its table.ini and
    // table pictures, and the shop's catalogue.
    static bool InstallProgramFiles(const std::string& programFolder, const std::string& clientProgram);

private:
    struct tagRoomServer
    {
        std::unique_ptr<CFrameServer> pServer;
        std::unique_ptr<CDemoRoom> pRoom;
    };

    CFrameServer m_HallServer;
    CDemoHall m_Hall;
    std::vector<tagRoomServer> m_Rooms;
    CServiceServer m_ServiceServer;
};
