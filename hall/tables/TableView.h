// One table of a table room: who sits on each chair, the table's flags,
// texts and counters; it draws itself into a table-sized memory picture for
// the grid (CTableFrame), its owner, which it asks to repaint on changes.
#pragma once

#include <afxwin.h>
#include <stddef.h>

#include "IUnknownEx.h"
#include "TableResource.h"

class CUserItem;
struct ITableFrameView;

TAVREL_GUID(IID_ITableView, "CEC088D0-B0B5-4A68-B6EE-DCF8102C4EF9");

#define INVALID_TABLE_ID 0xFFFF
#define INVALID_CHAIR_ID 0xFFFF

struct tagTableAttribute
{
    BYTE cbLocked;
    BYTE cbSecondLock;
    BYTE cbPlaying;
    BYTE cbReserved;
    WORD wTableID;
    WORD wChairCount; // at most MAX_TABLE_CHAIR
};
static_assert(offsetof(tagTableAttribute, wTableID) == 4, "table attribute layout");
static_assert(sizeof(tagTableAttribute) == 8, "table attribute layout");

struct ITableView : IUnknownEx
{
    virtual void InitTableView(WORD wTableID, WORD wChairCount, ITableFrameView* pOwner) = 0;
    virtual void SetMatchFlag(bool bMatch) = 0;
    virtual bool SetUserItem(WORD wChairID, CUserItem* pUserItem) = 0;
    virtual void SetMouseDown(bool bMouseDown) = 0;
    virtual void SetFocusFrame(bool bFocus) = 0;
    virtual void SetHoverChair(WORD wChairID) = 0;
    virtual void SetPlayFlag(bool bPlaying) = 0;
    virtual void SetLockFlag(bool bLocked) = 0;
    virtual void SetSecondLock(bool bLocked) = 0;
    virtual void SetTableText(const char* pszText) = 0;
    virtual void SetTableName(const char* pszName) = 0;
    virtual void SetRuleByte(BYTE cbRule) = 0;
    virtual void SetMultiple(BYTE cbMultiple) = 0;
    virtual void SetInnings(BYTE cbInnings) = 0;
    virtual CUserItem* GetUserItem(WORD wChairID) = 0;
    virtual WORD GetNullChairCount(WORD* pwLastEmpty) = 0;
    virtual bool GetMatchFlag() = 0;
    virtual bool GetFocusFrame() = 0;
    virtual WORD GetHoverChair() = 0;
    virtual bool GetPlayFlag() = 0;
    virtual bool GetLockFlag() = 0;
    virtual const tagTableAttribute* GetTableAttribute() = 0;
    virtual CString GetTableName() = 0;
    virtual BYTE GetRuleByte() = 0;
    virtual BYTE GetMultiple() = 0;
    virtual BYTE GetInnings() = 0;
    virtual void SetRingFlag(bool bRing) = 0;
    virtual void SetCycleMatchChair(WORD wChairID) = 0;
    virtual void DrawTableView(CDC* pDC, CTableResource* pResource, bool bShowUser) = 0;
};

class CTableView : public ITableView
{
public:
    CTableView();
    virtual ~CTableView();

    ULONG AddRef() override;
    // Deletes the view at 0.
    ULONG Release() override;
    HRESULT QueryInterface(REFGUID iid, void** out) override;

    void InitTableView(WORD wTableID, WORD wChairCount, ITableFrameView* pOwner) override;
    void SetMatchFlag(bool bMatch) override;
    bool SetUserItem(WORD wChairID, CUserItem* pUserItem) override;
    void SetMouseDown(bool bMouseDown) override;
    void SetFocusFrame(bool bFocus) override;
    void SetHoverChair(WORD wChairID) override;
    void SetPlayFlag(bool bPlaying) override;
    void SetLockFlag(bool bLocked) override;
    void SetSecondLock(bool bLocked) override;
    void SetTableText(const char* pszText) override;
    void SetTableName(const char* pszName) override;
    void SetRuleByte(BYTE cbRule) override;
    void SetMultiple(BYTE cbMultiple) override;
    void SetInnings(BYTE cbInnings) override;
    CUserItem* GetUserItem(WORD wChairID) override;
    WORD GetNullChairCount(WORD* pwLastEmpty) override;
    bool GetMatchFlag() override;
    bool GetFocusFrame() override;
    WORD GetHoverChair() override;
    bool GetPlayFlag() override;
    bool GetLockFlag() override;
    const tagTableAttribute* GetTableAttribute() override;
    CString GetTableName() override;
    BYTE GetRuleByte() override;
    BYTE GetMultiple() override;
    BYTE GetInnings() override;
    void SetRingFlag(bool bRing) override;
    void SetCycleMatchChair(WORD wChairID) override;
    void DrawTableView(CDC* pDC, CTableResource* pResource, bool bShowUser) override;

    virtual void SetReservedFlag(bool bReserved);

    // Kept and returned; the grid and the room read them.
    const char* GetTableText() const { return m_szTableText; }
    WORD GetCycleMatchChair() const { return m_wCycleMatchChair; }
    bool GetRingFlag() const { return m_cbRing != 0; }

private:
    CTableView(const CTableView&) = delete;
    CTableView& operator=(const CTableView&) = delete;

    void Repaint(bool bForce);
    // Chairs a walk may visit: the table's chairs within the arrays.
    WORD ChairLimit() const;
    void DrawPlayer(CDC* pDC, CTableResource* pResource, WORD wChair, CUserItem* pUserItem);
    void DrawCounter(CDC* pDC, const CRect& rect, BYTE cbValue);

    ULONG m_ulRefCount;
    BYTE m_cbMouseDown;
    BYTE m_cbFocus;
    WORD m_wHoverChair;
    tagTableAttribute m_TableAttribute;
    char m_szTableText[64];
    CUserItem* m_pUserItems[MAX_TABLE_CHAIR];
    char m_szTableName[32];
    BYTE m_cbRule;
    BYTE m_cbMultiple;
    BYTE m_cbInnings;
    ITableFrameView* m_pOwner;
    BYTE m_cbMatch;
    BYTE m_cbRing;
    WORD m_wCycleMatchChair;
};

// The settings of a table the user opens, as the room's create-table dialog
// edits them; the limits' values count only while their flags are set.
struct tagTableOptionRecord
{
    WORD m_wTableID;   // not set by the dialog
    char m_szText[32]; // table name
    WORD m_wValue1;    // minimum rounds
    BYTE m_cbValue1;   // multiple
    BYTE m_cbValue2;   // minimum score limit on
    DWORD m_dwValue;   // minimum score
    BYTE m_cbValue3;   // disconnect rate limit on
    WORD m_wValue2;    // maximum disconnect rate
    BYTE m_cbIPLimit;  // same IP prefix refused
    BYTE m_cbIPLength; // IP prefix length
    BYTE m_cbPassword; // table password on
    char m_szPassword[33];
};
static_assert(offsetof(tagTableOptionRecord, m_szText) == 2, "table settings layout");
static_assert(offsetof(tagTableOptionRecord, m_wValue1) == 34, "table settings layout");
static_assert(offsetof(tagTableOptionRecord, m_dwValue) == 40, "table settings layout");
static_assert(offsetof(tagTableOptionRecord, m_wValue2) == 46, "table settings layout");
static_assert(offsetof(tagTableOptionRecord, m_cbIPLimit) == 48, "table settings layout");
static_assert(offsetof(tagTableOptionRecord, m_szPassword) == 51, "table settings layout");
static_assert(sizeof(tagTableOptionRecord) == 84, "table settings layout");

class CTableOption : public tagTableOptionRecord
{
public:
    CTableOption() { InitOption(); }
    virtual ~CTableOption() {}

    void InitOption();
    tagTableOptionRecord& Record() { return *this; }
    const tagTableOptionRecord& Record() const { return *this; }
};
