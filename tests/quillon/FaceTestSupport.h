// What the face tests share: the application object, a top-level window
// standing in for the main dialog (it hosts the pages and keeps every face
// message it gets), a picture file maker and the stand-in source manager's
// controls.
#pragma once

#include <afxwin.h>

#include <string>
#include <vector>

#include "TwainStandIn.h"

void EnsureFaceTestApp();

bool RunningUnderWine();
// Wine's order of loading a library for one program ("" keeps it out);
// true when the setting changed. Wine reads it when the program starts.
bool SetWineDllOrder(const char* pszProgram, const char* pszDll, const char* pszOrder);

class CFaceHost : public CWnd
{
public:
    struct Heard
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    CFaceHost();
    ~CFaceHost() override;

    std::vector<Heard> Messages;
    std::vector<Heard> Of(UINT message) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A 24-bit BMP of cx by cy whose left half is colour1 and right half colour2.
std::string WriteTwoColourBmp(const std::string& strPath, int cx, int cy, COLORREF colour1, COLORREF colour2);

// The stand-in "TWAIN_32.DLL" beside the test program.
class CStandInManager
{
public:
    CStandInManager();
    ~CStandInManager();
    bool IsLoaded() const { return m_hModule != NULL; }
    void Script(const tagStandInScript& script);
    std::vector<tagStandInCall> Calls() const;
    // How many calls were of the group, data type and message.
    int Count(DWORD dwGroup, WORD wData, WORD wMessage) const;

private:
    HMODULE m_hModule;
    STANDINSCRIPTPROC m_pScript;
    STANDINCOUNTPROC m_pCount;
    STANDINCALLPROC m_pCall;
};
