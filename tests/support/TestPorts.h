// Ports on the loopback address for tests that need one nobody listens on,
// or one they may bind themselves.
#pragma once

#include <windows.h>

// A port on 127.0.0.1 with nothing listening, so a connect there is refused.
WORD FindClosedPort();
// A port free on the given loopback address.
WORD FindFreePort(const char* pszAddress = "127.0.0.1");
