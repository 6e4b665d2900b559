// Rich edits in test windows, read back through their object lists: Wine's
// rich edit may not paint embedded objects, so tests look at what is there.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include <string>
#include <vector>

// Registers the animated-picture stand-in from the test program's folder
// with "regsvr32 /s", as the hall does, unless its class is registered.
bool EnsureCorvathRegistered();

struct RichObject
{
    long cp;
    CLSID clsid;
    std::string file; // the animated picture's file, empty for others
};

// The text with each embedded object as one marker: '@' for an animated
// picture, '#' for any other object; paragraph breaks read "\r".
std::string RichText(CRichEditCtrl& rich);
std::vector<RichObject> RichObjects(CRichEditCtrl& rich);
CHARFORMAT2 RichFormatAt(CRichEditCtrl& rich, long cp);

// A top-level window holding a rich edit, on an OLE thread.
class CRichEditHost
{
public:
    CRichEditHost();
    ~CRichEditHost();
    bool Create(int cx = 400, int cy = 120);
    CRichEditCtrl& Rich() { return m_Rich; }

private:
    bool m_bOle;
    CWnd m_Parent;
    CRichEditCtrl m_Rich;
};
