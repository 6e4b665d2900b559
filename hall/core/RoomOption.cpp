#include "RoomOption.h"

CRoomOption::CRoomOption(WORD serverId, CGameRoom* room)
    : m_wServerID(serverId), m_pGameRoom(room), m_cbPassFlag(0), m_cbFlag(0)
{}

CRoomOption::~CRoomOption() {}
