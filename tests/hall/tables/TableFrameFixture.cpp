#include "TableFrameFixture.h"

namespace tabletest
{
GridTest::GridTest()
{
    game.SetFolderName(kGameFolder);
}

GridTest::~GridTest()
{
    grid.reset();
    if (parent.GetSafeHwnd() != NULL)
        parent.DestroyWindow();
}

void GridTest::SetUp()
{
    // Nine cells of 16 x 16 in three rows.
    skin.Folder().WriteBmp("Res\\Common\\scrollbar\\scrollbar.bmp", skintest::Pixels(144, 48, kScrollBarColour));
    ASSERT_TRUE(parent.CreateParent(900, 700));
    grid.reset(new CTableFrame(&host));
}

void GridTest::MakeGrid(WORD tables, WORD chairs, int cx, int cy)
{
    ASSERT_TRUE(grid->CreateTableFrame(&parent, 100));
    ASSERT_TRUE(grid->InitTableFrame(tables, chairs, &game, &sink));
    Size(cx, cy);
}

void GridTest::Size(int cx, int cy)
{
    grid->MoveWindow(0, 0, cx, cy);
}

CPoint GridTest::Cell(int position) const
{
    const int columns = grid->GetColumns();
    return CPoint((position % columns) * kTableWidth + grid->GetXOrigin(),
                  (position / columns) * kTableHeight - grid->GetScrollPos() + grid->GetYOrigin());
}

CPoint GridTest::ChairPoint(int position, int chair) const
{
    const RECT& r = kChairRects[chair];
    return Cell(position) + CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

LRESULT GridTest::Send(UINT message, CPoint point, WPARAM wParam)
{
    return grid->SendMessage(message, wParam, MAKELPARAM(point.x, point.y));
}

void GridTest::Click(CPoint down, CPoint up, bool right)
{
    Send(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, down, right ? MK_RBUTTON : MK_LBUTTON);
    Send(right ? WM_RBUTTONUP : WM_LBUTTONUP, up);
}

std::unique_ptr<CMemoryCanvas> GridTest::Print()
{
    CRect client;
    grid->GetClientRect(&client);
    std::unique_ptr<CMemoryCanvas> canvas(new CMemoryCanvas(client.Width(), client.Height(), RGB(1, 2, 3)));
    canvas->Print(grid->GetSafeHwnd(), PW_CLIENTONLY);
    return canvas;
}
} // namespace tabletest
