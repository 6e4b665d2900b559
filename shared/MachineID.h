// The machine identifier sent with logons and some room requests, and the key
// of the saved-accounts database. Both are MD5 hex texts built at run time
// from the network adapter address (read through NetBIOS) and the volume
// serial numbers of fixed drive roots; neither is ever stored.
#pragma once

#include <windows.h>
#include <nb30.h>

// Where the identifier's inputs come from. The system's is used unless a
// test installs its own.
class CMachineProbe
{
public:
    virtual ~CMachineProbe() {}

    // Makes Netbios callable: false with the failure text when the library
    // or its export is missing.
    virtual bool OpenNetbios(const char*& failure);
    virtual UCHAR Netbios(NCB* ncb);
    virtual void CloseNetbios();
    // The serial number of the volume at a drive root; 0 when it cannot be read.
    virtual DWORD GetVolumeSerial(LPCSTR root);

private:
    typedef UCHAR(APIENTRY* NetbiosProc)(PNCB);
    HMODULE m_hNetApi = NULL;
    NetbiosProc m_pfnNetbios = NULL;
};

class CMachineID
{
public:
    static const WORD kBufferSize = 1024;

    // 32 hex characters and a NUL.
    static void GetMachineID(char id[33]);
    static void GetAccountsKey(char key[33]);

    // Writes each counted adapter's 6-byte address at the start of out (so
    // only the last one stays) and answers 6 per counted adapter, at most
    // capacity. A failing step ends the walk with what was counted so far;
    // failure, when given, then names the step.
    static WORD GetAdapterAddresses(BYTE* out, WORD capacity, const char** failure = NULL);

    // Installs the probe used from now on (null: the system's) and answers
    // the previous one.
    static CMachineProbe* SetProbe(CMachineProbe* probe);
};
