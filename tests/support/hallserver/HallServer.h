// The hall tests' scripted server.
#pragma once

#include "ScriptedServer.h"

typedef CScriptedServer CHallServer;
