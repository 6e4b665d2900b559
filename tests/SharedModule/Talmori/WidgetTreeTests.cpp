// The widget tree without a window: lists, z-order, walks, dirty marking,
// hit testing and layout.
#include "WidgetTestSupport.h"

#include <memory>
#include <type_traits>

static_assert(!std::is_copy_constructible<CWidgetContainer>::value, "containers must not share child lists");
static_assert(!std::is_copy_assignable<CWidget>::value, "containers must not share child lists");

namespace
{
struct Tree
{
    EventLog log;
    RecordingWidget root{"root", &log};
    RecordingWidget a{"a", &log};
    RecordingWidget b{"b", &log};
    RecordingWidget c{"c", &log};
    RecordingWidget d{"d", &log};

    Tree()
    {
        root.AddWidget(&a);
        root.AddWidget(&b);
        root.AddWidget(&c);
    }
};
} // namespace

TEST(WidgetTree, AddingKeepsOneEntryAndMovesBetweenContainers)
{
    Tree t;
    t.root.AddWidget(&t.a);
    t.root.AddWidget(NULL);
    EXPECT_EQ("a b c", ChildNamesOf(t.root));
    EXPECT_EQ(&t.root, t.a.Parent());

    // A widget added elsewhere leaves its old list.
    t.d.AddWidget(&t.b);
    EXPECT_EQ("a c", ChildNamesOf(t.root));
    EXPECT_EQ("b", ChildNamesOf(t.d));
    EXPECT_EQ(&t.d, t.b.Parent());

    // Never inside itself.
    t.b.AddWidget(&t.b);
    t.b.AddWidget(&t.d);
    EXPECT_EQ("b", ChildNamesOf(t.d));
    EXPECT_EQ(&t.d, t.b.Parent());

    t.root.RemoveWidget(&t.b); // not a child: ignored
    EXPECT_EQ("b", ChildNamesOf(t.d));
    t.d.RemoveWidget(&t.b);
    EXPECT_EQ("", ChildNamesOf(t.d));
    EXPECT_EQ(NULL, t.b.Parent());
}

TEST(WidgetTree, ZOrderOperations)
{
    struct Case
    {
        const char* pszOp;
        char cWidget;
        char cRef;
        const char* pszOrder;
    };
    const Case cases[] = {
        {"front", 'a', 0, "b c a"},     {"front", 'd', 0, "a b c"}, // not a child
        {"back", 'c', 0, "c a b"},      {"behind", 'c', 'a', "c a b"},
        {"behind", 'a', 'c', "b a c"},  {"behind", 'a', 'd', "b c a"}, // ref not a child: on top
        {"infront", 'a', 'b', "b a c"}, {"infront", 'c', 'a', "a c b"},
        {"infront", 'a', 'd', "b c a"}, {"infront", 'd', 'a', "a b c"},
    };
    for (const Case& k : cases) {
        Tree t;
        auto pick = [&](char ch) -> CWidget* {
            switch (ch) {
            case 'a': return &t.a;
            case 'b': return &t.b;
            case 'c': return &t.c;
            case 'd': return &t.d;
            default: return NULL;
            }
        };
        std::string op = k.pszOp;
        if (op == "front")
            t.root.BringToFront(pick(k.cWidget));
        else if (op == "back")
            t.root.BringToBack(pick(k.cWidget));
        else if (op == "behind")
            t.root.PutBehind(pick(k.cWidget), pick(k.cRef));
        else
            t.root.PutInfront(pick(k.cWidget), pick(k.cRef));
        EXPECT_EQ(k.pszOrder, ChildNamesOf(t.root)) << op << " " << k.cWidget << " " << k.cRef;
    }
}

TEST(WidgetTree, IsBelowWalksDepthFirstInDrawingOrder)
{
    Tree t;
    RecordingWidget a1("a1", NULL), a2("a2", NULL);
    t.a.AddWidget(&a1);
    t.a.AddWidget(&a2);
    EXPECT_TRUE(t.root.IsBelow(&a2, &t.b));
    EXPECT_FALSE(t.root.IsBelow(&t.b, &a1));
    EXPECT_TRUE(t.root.IsBelow(&t.a, &a1));
    EXPECT_TRUE(t.root.IsBelow(&t.a, &t.a));
    EXPECT_TRUE(t.root.IsBelow(&a1, &t.d)); // d is not in the tree
    EXPECT_FALSE(t.root.IsBelow(&t.d, &t.a));
    EXPECT_FALSE(t.root.IsBelow(&t.d, &t.d));
}

namespace
{
struct CountedWidget : RecordingWidget
{
    static int s_nAlive;
    explicit CountedWidget(const char* pszName) : RecordingWidget(pszName, NULL) { ++s_nAlive; }
    ~CountedWidget() { --s_nAlive; }
};
int CountedWidget::s_nAlive = 0;
} // namespace

TEST(WidgetTree, RemoveAllWidgetsDeletesRecursively)
{
    RecordingWidget root("root", NULL);
    CountedWidget* pA = new CountedWidget("a");
    CountedWidget* pB = new CountedWidget("b");
    pA->AddWidget(new CountedWidget("a1"));
    pA->AddWidget(new CountedWidget("a2"));
    root.AddWidget(pA);
    root.AddWidget(pB);
    ASSERT_EQ(4, CountedWidget::s_nAlive);
    root.RemoveAllWidgets(true, true);
    EXPECT_EQ(0, CountedWidget::s_nAlive);
    EXPECT_EQ("", ChildNamesOf(root));

    // Without deleting, the subtree stays whole apart from the cut.
    RecordingWidget x("x", NULL), y("y", NULL), y1("y1", NULL);
    root.AddWidget(&x);
    root.AddWidget(&y);
    y.AddWidget(&y1);
    root.RemoveAllWidgets(false, false);
    EXPECT_EQ("", ChildNamesOf(root));
    EXPECT_EQ("y1", ChildNamesOf(y));
    EXPECT_EQ(NULL, x.Parent());
}

TEST(WidgetTree, DestroyedWidgetLeavesItsContainer)
{
    RecordingWidget root("root", NULL);
    RecordingWidget a("a", NULL);
    root.AddWidget(&a);
    {
        RecordingWidget gone("gone", NULL);
        root.AddWidget(&gone);
        EXPECT_EQ("a gone", ChildNamesOf(root));
    }
    EXPECT_EQ("a", ChildNamesOf(root));

    // And a container destroyed first leaves no parent behind.
    RecordingWidget child("child", NULL);
    {
        RecordingWidget box("box", NULL);
        box.AddWidget(&child);
    }
    EXPECT_EQ(NULL, child.Parent());
}

TEST(WidgetTree, DirtyMarkingSpreadsToOverlappingSiblingsAtTheRoot)
{
    // No manager: nothing clears the flags, so they can be read.
    RecordingWidget root("root", NULL);
    RecordingWidget below("below", NULL), w("w", NULL), above("above", NULL), apart("apart", NULL);
    below.Resize(0, 0, 20, 20);
    w.Resize(10, 10, 20, 20);
    above.Resize(25, 25, 20, 20);
    apart.Resize(100, 100, 5, 5);
    root.AddWidget(&below);
    root.AddWidget(&w);
    root.AddWidget(&above);
    root.AddWidget(&apart);
    auto clear = [&] {
        for (RecordingWidget* p : {&below, &w, &above, &apart})
            p->ClearDirtyFlag();
    };

    clear();
    w.MarkDirty();
    EXPECT_TRUE(w.IsDirtyFlag());
    EXPECT_TRUE(above.IsDirtyFlag());
    EXPECT_FALSE(below.IsDirtyFlag());
    EXPECT_FALSE(apart.IsDirtyFlag());

    clear();
    w.MarkDirtyFull();
    EXPECT_TRUE(w.IsDirtyFlag());
    EXPECT_TRUE(above.IsDirtyFlag());
    EXPECT_TRUE(below.IsDirtyFlag());
    EXPECT_FALSE(apart.IsDirtyFlag());

    // A hidden sibling is not repainted for its neighbour.
    clear();
    above.SetVisible(false);
    clear();
    w.MarkDirty();
    EXPECT_FALSE(above.IsDirtyFlag());
}

TEST(WidgetTree, ResizeWithUnchangedValuesMarksNothing)
{
    RecordingWidget root("root", NULL);
    RecordingWidget w("w", NULL);
    root.AddWidget(&w);
    w.Resize(5, 6, 7, 8);
    w.ClearDirtyFlag();
    w.Resize(5, 6, 7, 8);
    EXPECT_FALSE(w.IsDirtyFlag());
    RECT rc = {5, 6, 12, 14};
    w.Resize(&rc);
    EXPECT_FALSE(w.IsDirtyFlag());
    w.Move(6, 6);
    EXPECT_TRUE(w.IsDirtyFlag());
    EXPECT_EQ(CRect(6, 6, 13, 14), w.GetRect());
}

TEST(WidgetTree, GetAbsPosAddsPositionsUpTheTree)
{
    RecordingWidget root("root", NULL), box("box", NULL), inner("inner", NULL);
    root.Resize(1, 2, 100, 100);
    box.Resize(10, 20, 50, 50);
    inner.Resize(3, 4, 5, 5);
    root.AddWidget(&box);
    box.AddWidget(&inner);
    EXPECT_EQ(CPoint(14, 26), inner.GetAbsPos());
    EXPECT_TRUE(inner.Contains(3, 4));
    EXPECT_FALSE(inner.Contains(8, 4));
    EXPECT_FALSE(inner.Contains(2, 4));
}

TEST(WidgetTree, LayoutAppliesBitsFromTheLowest)
{
    struct Case
    {
        int nFlags, dx, dy, w, h;
        CRect expected;
    };
    // Reference sibling at (100, 50), 40 x 20; the widget starts at (1, 2), 10 x 6.
    const Case cases[] = {
        {0x40 | 0x80 | 0x1000 | 0x200, 0, 4, 30, 12, CRect(100, 74, 130, 86)},
        {0x1 | 0x2, 0, 0, 5, -5, CRect(1, 2, 46, 17)},
        {0x10 | 0x20, 7, 9, 0, 0, CRect(7, 9, 17, 15)},
        {0x100, 0, -2, 0, 0, CRect(1, 42, 11, 48)},
        {0x400 | 0x4000, 3, 0, 0, 0, CRect(143, 50, 153, 56)},
        {0x800 | 0x8000, -1, 0, 0, 0, CRect(89, 64, 99, 70)},
        {0x2000, 0, 0, 0, 0, CRect(130, 2, 140, 8)},
        {0x10 | 0x10000, 120, 0, 5, 0, CRect(120, 2, 145, 8)},
        {0x10 | 0x20000, 80, 0, 2, 0, CRect(80, 2, 102, 8)},
        {0x20 | 0x40000, 0, 30, 0, 1, CRect(1, 30, 11, 51)},
        {0x20 | 0x80000, 0, 60, 0, 0, CRect(1, 60, 11, 70)},
        {0x100000 | 0x200000, 0, 0, 0, 0, CRect(115, 57, 125, 63)},
        {0x40 | 0x100000, 0, 0, 5, 0, CRect(117, 2, 122, 8)}, // (40 - 5) / 2 truncates
        {0x40 | 0x100000, 0, 0, 45, 0, CRect(98, 2, 143, 8)}, // (40 - 45) / 2 is -2
    };
    for (const Case& k : cases) {
        RecordingWidget root("root", NULL), ref("ref", NULL), w("w", NULL);
        root.AddWidget(&ref);
        root.AddWidget(&w);
        ref.Resize(100, 50, 40, 20);
        w.Resize(1, 2, 10, 6);
        w.Layout(k.nFlags, &ref, k.dx, k.dy, k.w, k.h);
        EXPECT_EQ(k.expected, w.GetRect()) << std::hex << k.nFlags;
    }
}

TEST(WidgetTree, LayoutInsideTheParentUsesTheParentsOrigin)
{
    // A tile's button placed at an offset inside the tile (flags 0x5000).
    RecordingWidget root("root", NULL), tile("tile", NULL), button("button", NULL);
    root.AddWidget(&tile);
    tile.Resize(200, 300, 120, 150);
    tile.AddWidget(&button);
    button.Resize(0, 0, 60, 20);
    button.Layout(0x5000, &tile, 23, 119, 0, 0);
    EXPECT_EQ(CRect(23, 119, 83, 139), button.GetRect());
    EXPECT_EQ(CPoint(223, 419), button.GetAbsPos());
}
