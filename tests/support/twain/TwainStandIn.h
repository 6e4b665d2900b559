// The test stand-in of the image-source manager library "TWAIN_32.DLL": one
// scripted source that the tests drive through the exports below, looked
// up by name in the loaded library.
#pragma once

#include <windows.h>

// Messages the stand-in's source claims in process-event.
const UINT WM_STANDIN_XFERREADY = WM_APP + 0x321; // the source has images ready
const UINT WM_STANDIN_CLOSEREQ = WM_APP + 0x322;  // the user closed the source

struct tagStandInScript
{
    int nImages; // images the source holds for one transfer run
    int nWidth;  // size of each native image
    int nHeight;
    BOOL bCancelSelect; // the user cancels the source selection
    BOOL bFailTransfer; // the native transfer fails
    BOOL bRefuseOpenManager;
    int nInfoAnswers; // image information given before refusing (0: while images are pending)
};

struct tagStandInCall
{
    DWORD dwGroup;
    WORD wData;
    WORD wMessage;
    WORD wResult;
};

typedef void(__cdecl* STANDINSCRIPTPROC)(const tagStandInScript* pScript);
typedef int(__cdecl* STANDINCOUNTPROC)();
typedef BOOL(__cdecl* STANDINCALLPROC)(int nIndex, tagStandInCall* pCall);
