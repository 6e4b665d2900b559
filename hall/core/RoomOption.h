// The options of one entered room; kept in memory only, for as long as the
// hall runs. One per room entered since start-up, owned by the options store.
#pragma once

#include <afx.h>

class CGameRoom;

class CRoomOption
{
public:
    CRoomOption(WORD serverId, CGameRoom* room);
    virtual ~CRoomOption();

    // Room options go to no store: both are empty.
    void LoadOptions() {}
    void SaveOptions() {}

    WORD m_wServerID;
    CGameRoom* m_pGameRoom; // not owned
    BYTE m_cbPassFlag;      // a table password is asked for
    BYTE m_cbFlag;
    CString m_strTablePass; // the table password the room dialogs fill
};
