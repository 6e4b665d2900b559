// The scripted room server: the scripted server on a chosen loopback address
// and port, with the room's logon answered as the test says.
#pragma once

#include "RoomBodies.h"
#include "ScriptedServer.h"

class CRoomServer : public CScriptedServer
{
public:
    // Room logons (1002/2) are answered with this logon result.
    void AnswerLogon(const CWireBytes& result) { On(1002, 2, {Reply(1002, 1001, result.Vector())}); }
    // Game frames (main 1005) come straight back to the client.
    void EchoGameFrames() { SetEchoMain(1005); }
};
