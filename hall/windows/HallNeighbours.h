// The frame's neighbours as Tavrel.exe has them: the plaza view of the hall
// area and the room tab window's seam. Neighbours whose windows are not
// part of the hall yet keep the plain do-nothing answers.
#pragma once

#include "FrameNeighbours.h"

class CHallNeighbours : public CFrameNeighbours
{
public:
    void CloseChannelDialog() override;
    void EnterRoom(CGameTreeNode* pGame) override;
    void RefreshUserPanel() override;
    void RefreshGameList() override;
};
