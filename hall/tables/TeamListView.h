// The teams of a room: one row per team record the room window receives,
// columns as the room configuration describes them.
#pragma once

#include <afxcmn.h>

#include "SkinListCtrl.h"
#include "UserListView.h"

// The team record as the room server sends it.
struct tagTeamItem
{
    DWORD dwTeamID;
    char szTeamName[32];
    char szLeaderName[128];
    DWORD dwMemberCount;
    char szDescribe[128];
    DWORD dwRegionID;
    DWORD dwTeamLevel; // 0 to 7
    DWORD dwScore;
};
static_assert(offsetof(tagTeamItem, szTeamName) == 4, "team record layout");
static_assert(offsetof(tagTeamItem, szLeaderName) == 36, "team record layout");
static_assert(offsetof(tagTeamItem, dwMemberCount) == 164, "team record layout");
static_assert(offsetof(tagTeamItem, szDescribe) == 168, "team record layout");
static_assert(offsetof(tagTeamItem, dwRegionID) == 296, "team record layout");
static_assert(offsetof(tagTeamItem, dwTeamLevel) == 300, "team record layout");
static_assert(offsetof(tagTeamItem, dwScore) == 304, "team record layout");
static_assert(sizeof(tagTeamItem) == 308, "team record layout");

class CTeamListView : public CSkinListCtrl
{
public:
    CTeamListView();
    ~CTeamListView() override;

    bool InitListColours();
    bool SetColumnDescribe(const tagColumnItem* pColumnItem, WORD wColumnCount);
    bool InsertTeamItem(const void* pTeamItem);
    bool UpdateTeamItem(const void* pTeamItem);
    // The text of a column for the team record.
    CString GetTeamText(const tagTeamItem* pTeamItem, int nColumn) const;

protected:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

private:
    int FindTeamRow(const void* pTeamItem) const;

    WORD m_wColumnCount;
    WORD m_wDataDescribe[32];
};
