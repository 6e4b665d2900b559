// The scripted servers' users wait while their windows get their messages.
#pragma once

#include "TestWait.h"
