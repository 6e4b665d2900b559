// The portable core of the class library: base types, CObject, CString,
// exceptions, files, archives, time, collections and (where the geometry
// structs are known) CPoint/CSize/CRect. No Windows header comes with it.
#pragma once

#include "afxtypes.h"
#include "afxobj.h"
#include "afxstr.h"
#include "afxexcept.h"
#include "afxfile.h"
#include "afxmemfile.h"
#include "afxarc.h"
#include "afxtime.h"
#include "afxcoll.h"

// CPoint/CSize/CRect need the SDK's structs on Windows: here when <windows.h>
// came first, otherwise through afxwin.h.
#if !defined(_WIN32) || defined(_WINDEF_)
#include "afxgeom.h"
#endif
