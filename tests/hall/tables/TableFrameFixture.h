// A grid in a test window: the room view's doubles (host, sink, web page)
// and a parent window, over the skin of TableTestSupport.
#pragma once

#include <afxwin.h>

#include "GameRoom.h"
#include "GameTreeItem.h"
#include "TableFrame.h"
#include "TableTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tabletest
{
const COLORREF kScrollBarColour = RGB(77, 88, 99);

// The room's end of completed seat clicks.
class SinkDouble : public ITableFrameSink
{
public:
    struct Hit
    {
        char kind; // 'L', 'R' or 'D'
        WORD table;
        WORD chair;
        int flag;
        bool operator==(const Hit& o) const
        {
            return kind == o.kind && table == o.table && chair == o.chair && flag == o.flag;
        }
    };
    std::vector<Hit> hits;
    int references = 0;

    ULONG AddRef() override { return ULONG(++references); }
    ULONG Release() override { return ULONG(--references); }
    HRESULT QueryInterface(REFGUID iid, void** out) override
    {
        if (IsEqualGUID(iid, IID_ITableFrameSink)) {
            *out = static_cast<ITableFrameSink*>(this);
            AddRef();
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    void OnLButtonHitTable(WORD table, WORD chair, int flag) override { hits.push_back({'L', table, chair, flag}); }
    void OnRButtonHitTable(WORD table, WORD chair, int flag) override { hits.push_back({'R', table, chair, flag}); }
    void OnDoubleHitTable(WORD table, WORD chair) override { hits.push_back({'D', table, chair, 0}); }
};

// An owner without the sink interface.
class NoSinkOwner : public IUnknownEx
{
public:
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID, void** out) override
    {
        *out = NULL;
        return E_NOINTERFACE;
    }
};

class PageDouble : public ICycleMatchPage
{
public:
    std::vector<std::string> addresses;
    CRect placed;
    int shown = -1;
    void Navigate(LPCSTR url) override { addresses.push_back(url); }
    void MoveWindow(int x, int y, int cx, int cy) override { placed.SetRect(x, y, x + cx, y + cy); }
    void ShowWindow(int nCmdShow) override { shown = nCmdShow; }
};

class HostDouble : public ITableFrameHost
{
public:
    HostDouble() : room(3) { room.SetGameId(12); }
    CGameRoom room;
    bool hasRoom = true;
    DWORD matchId = 4321;
    PageDouble page;
    CWnd* pageParent = nullptr;

    CGameRoom* GetGameRoom() override { return hasRoom ? &room : nullptr; }
    DWORD GetMatchId() override { return matchId; }
    ICycleMatchPage* CreateCycleMatchPage(CWnd* parent) override
    {
        pageParent = parent;
        return &page;
    }
};

// Records the flash frames instead of drawing them on the window.
class FlashDouble : public ITableFlashPainter
{
public:
    std::vector<CRect> outlines;
    std::vector<DWORD> waits;
    void DrawOutline(CDC* pDC, const CRect& rect) override { outlines.push_back(rect); }
    void Wait(DWORD ms) override { waits.push_back(ms); }
};

// Ten tables of the four-chair skin in a 650 x 400 grid.
class GridTest : public testing::Test
{
protected:
    static const int kWidth = 650;
    static const int kHeight = 400;

    GridTest();
    ~GridTest() override;
    void SetUp() override;

    // Makes the grid window and its tables, then sizes it.
    void MakeGrid(WORD tables = 10, WORD chairs = 4, int cx = kWidth, int cy = kHeight);
    void Size(int cx, int cy);
    // Client point of a table's cell corner (table in table order, no scroll).
    CPoint Cell(int position) const;
    // A point inside a chair of the table in the given cell.
    CPoint ChairPoint(int position, int chair) const;
    LRESULT Send(UINT message, CPoint point, WPARAM wParam = 0);
    void Click(CPoint down, CPoint up, bool right = false);
    // The grid printed into a canvas of its size.
    std::unique_ptr<CMemoryCanvas> Print();

    SkinFolder skin;
    HostDouble host;
    SinkDouble sink;
    CGame game{7};
    skintest::RecordingParent parent;
    std::unique_ptr<CTableFrame> grid;
};
} // namespace tabletest
