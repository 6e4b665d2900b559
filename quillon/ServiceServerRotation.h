// The order in which the user-service servers are tried: from the one that
// worked last, each entry at most once.
#pragma once

#include <afx.h>
#include <afxtempl.h>

struct tagServiceServer
{
    char szAddress[128];
    WORD wPort;
};
typedef CArray<tagServiceServer, const tagServiceServer&> CServiceServerArray;

class CServiceServerRotation
{
public:
    CServiceServerRotation();

    // The loaded entries and the saved index of the last server reached. An
    // index outside the entries starts at entry 0: it counts the entries
    // with an address, not the configured slots.
    void Reset(const CServiceServerArray& servers, int nLastServerID);

    // The next entry to try; false when every entry has been tried.
    bool GetNextServer(tagServiceServer& server);
    // The index of the entry just reached, which becomes the next one and is
    // saved as the last server reached. -1 when there are no entries.
    int OnConnected();

    int GetStartIndex() const { return m_nStartIndex; }
    int GetServerCount() const { return int(m_Servers.GetSize()); }

private:
    CServiceServerArray m_Servers;
    int m_nStartIndex;
    int m_nNextIndex; // -1 when every entry has been tried once
};
