// Extensions of the class library: everything of afxwin.h and the common dialogs.
#pragma once

#include <afxwin.h>
#include <afxdlgs.h>
