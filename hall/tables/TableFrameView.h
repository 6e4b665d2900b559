// The table grid as the room and the table views reach it, and the room's
// callbacks for completed seat clicks. Slot orders are fixed: the room holds
// these interfaces, not the classes.
#pragma once

#include <afxwin.h>

#include "IUnknownEx.h"

class CGame;
class CUserItem;
struct ITableView;
struct tagTableAttribute;

TAVREL_GUID(IID_ITableFrameView, "63ACEE02-3741-41BF-B95F-47F8B2B9AEE3");
TAVREL_GUID(IID_ITableFrameSink, "8CDBFD24-6345-48FD-A235-AE7E5C13F8A9");

// Table modes of the grid.
enum
{
    TABLE_MODE_NORMAL = 0,
    TABLE_MODE_SINGLE = 1,
    TABLE_MODE_ANTI_CHEAT = 2,
};

// Display flags: every table in table order, or only the tables with a free
// chair, most occupied first.
enum
{
    TABLE_DISPLAY_FREE = 4,
    TABLE_DISPLAY_ALL = 8,
};

struct ITableFrameView : IUnknownEx
{
    virtual bool CreateTableFrame(CWnd* pParent, UINT nID) = 0;
    virtual void SetTableMode(DWORD dwMode, bool bCycle) = 0;
    // Raises CTableFrameError with the text for the room to show.
    virtual bool InitTableFrame(WORD wTableCount, WORD wChairCount, CGame* pGame, IUnknownEx* pOwner) = 0;
    virtual void DestroyTableFrame() = 0;
    virtual void UpdateTableView(WORD wTableID, bool bForce) = 0;
    // The grid keeps the reference: callers do not Release it and do not
    // keep it past DestroyTableFrame.
    virtual ITableView* GetTableViewItem(WORD wTableID) = 0;
    virtual bool ShowUserInfo(bool bShowUser) = 0;
    virtual bool EnsureVisibleTable(WORD wTableID) = 0;
    virtual bool FlashTable(WORD wTableID) = 0;
    virtual bool FlashChair(WORD wTableID, WORD wChairID) = 0;
    virtual WORD GetTableCount() = 0;
    virtual WORD GetChairCount() = 0;
    virtual WORD GetIdentifyTable() = 0;
    virtual bool SetUserItem(WORD wTableID, WORD wChairID, CUserItem* pUserItem) = 0;
    virtual void SetPlayFlag(WORD wTableID, bool bPlaying) = 0;
    virtual void SetLockFlag(WORD wTableID, bool bLocked) = 0;
    virtual CUserItem* GetUserItem(WORD wTableID, WORD wChairID) = 0;
    virtual WORD GetNullChairCount(WORD wTableID, WORD* pwLastEmpty) = 0;
    virtual bool GetPlayFlag(WORD wTableID) = 0;
    virtual bool GetLockFlag(WORD wTableID) = 0;
    virtual const tagTableAttribute* GetTableAttribute(WORD wTableID) = 0;
    virtual void SetFreeChairFilter(WORD wFreeChairs, bool bErase) = 0;
    virtual void ReorderTableView(ITableView* pTableView) = 0;
    virtual int CalcTableLayout(int nWidth) = 0;
    virtual int GetCycleMatchState() = 0;
    virtual BYTE GetTableMode() = 0;
};

// Implemented by the room view; chairs and tables may be 65535 (none).
struct ITableFrameSink : IUnknownEx
{
    virtual void OnLButtonHitTable(WORD wTableID, WORD wChairID, int nFlag) = 0;
    virtual void OnRButtonHitTable(WORD wTableID, WORD wChairID, int nFlag) = 0;
    virtual void OnDoubleHitTable(WORD wTableID, WORD wChairID) = 0;
};
