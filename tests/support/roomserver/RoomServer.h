// The scripted room server: the scripted server on a chosen loopback address
// and port, with the room's logon answered as the test says.
#pragma once

#include "RoomBodies.h"
#include "RoomProtocol.h"
#include "ScriptedServer.h"
#include "TestWait.h"

class CRoomServer : public CScriptedServer
{
public:
    // Room logons (1002/2) are answered with this logon result.
    void AnswerLogon(const CWireBytes& result) { On(1002, 2, {Reply(1002, 1001, result.Vector())}); }
    // Game frames (main 1005) come straight back to the client.
    void EchoGameFrames() { SetEchoMain(1005); }

    // Sends an echo request with a fresh marker and waits, dispatching this
    // thread's messages, for the hall's answer to it: then whatever the hall
    // was sent before has been handled, and whatever it sent before has
    // arrived here. False when no answer came.
    bool Settle()
    {
        const DWORD dwMarker = ++m_dwMarker;
        if (!Send(ROOM_MAIN_ROOM, ROOM_SUB_S_ECHO, {}, dwMarker))
            return false;
        return PumpUntil([&] {
            for (const tagServerFrame& frame : GetFrames()) {
                if (frame.wSubCmdID == ROOM_SUB_ECHO && frame.dwSerialNum == dwMarker)
                    return true;
            }
            return false;
        });
    }

private:
    DWORD m_dwMarker = 0x7000;
};
