// CArray, CList, CMap and the named and typed-pointer collections: growth,
// removal during iteration, non-POD elements and bad indexes.
#include <afx.h>
#include <afxtempl.h>
#include <gtest/gtest.h>

#include <stdint.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{

// Counts live objects, so a leak or a double destruction shows.
struct Counted
{
    static int live;
    int value;
    Counted() : value(0) { ++live; }
    Counted(int v) : value(v) { ++live; }
    Counted(const Counted& o) : value(o.value) { ++live; }
    Counted& operator=(const Counted& o) = default;
    ~Counted() { --live; }
    bool operator==(const Counted& o) const { return value == o.value; }
};
int Counted::live = 0;

// Its copy throws while fail is set.
struct Throwing
{
    static bool fail;
    int value = 0;
    Throwing() = default;
    Throwing(int v) : value(v) {}
    Throwing(const Throwing& o) : value(o.value)
    {
        if (fail)
            AfxThrowMemoryException();
    }
    Throwing& operator=(const Throwing& o) = default;
};
bool Throwing::fail = false;

template <class Fn> bool ThrowsInvalidArg(Fn fn)
{
    try {
        fn();
    } catch (CException* e) {
        bool ok = e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)) != FALSE;
        e->Delete();
        return ok;
    }
    return false;
}

template <class A> std::vector<std::string> Strings(const A& a)
{
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        out.push_back((LPCSTR)a[i]);
    return out;
}

using V = std::vector<std::string>;

} // namespace

TEST(CoreArray, GrowthKeepsValuesAndZeroesNewSlots)
{
    CArray<int, int> a;
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(a.Add(i * 3), i);
    EXPECT_EQ(a.GetSize(), 1000);
    EXPECT_EQ(a.GetCount(), 1000);
    EXPECT_EQ(a.GetUpperBound(), 999);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(a[i], i * 3);
    a.SetSize(10);
    a.SetSize(20, 100);
    for (int i = 10; i < 20; ++i)
        EXPECT_EQ(a[i], 0);
    a.SetAtGrow(30, 7);
    EXPECT_EQ(a.GetSize(), 31);
    EXPECT_EQ(a[25], 0);
    a.FreeExtra();
    EXPECT_EQ(a.GetSize(), 31);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetData(), nullptr);
}

TEST(CoreArray, InsertRemoveWithNonPodElements)
{
    CStringArray a;
    a.Add("b");
    a.Add("d");
    a.InsertAt(0, "a");
    a.InsertAt(2, "c");
    a.InsertAt(4, "e");
    a.InsertAt(7, "z"); // past the end: grows with empty strings
    EXPECT_EQ(Strings(a), (V{"a", "b", "c", "d", "e", "", "", "z"}));
    a.RemoveAt(5, 2);
    a.InsertAt(1, "x", 3);
    EXPECT_EQ(Strings(a), (V{"a", "x", "x", "x", "b", "c", "d", "e", "z"}));
    a.RemoveAt(0);
    a.RemoveAt(a.GetUpperBound());
    EXPECT_EQ(Strings(a), (V{"x", "x", "x", "b", "c", "d", "e"}));
    // Adding an element of the array itself while it grows.
    CStringArray self;
    self.Add(CString('s', 100));
    for (int i = 0; i < 50; ++i)
        self.Add(self[0]);
    for (INT_PTR i = 0; i < self.GetSize(); ++i)
        ASSERT_EQ(self[i], CString('s', 100));
    self.InsertAt(0, self[self.GetUpperBound()], 5);
    EXPECT_EQ(self.GetSize(), 56);
    EXPECT_EQ(self[0], CString('s', 100));

    CStringArray other;
    other.Add("1");
    other.Add("2");
    a.InsertAt(1, &other);
    EXPECT_EQ(Strings(a), (V{"x", "1", "2", "x", "x", "b", "c", "d", "e"}));
    EXPECT_EQ(a.Append(other), 9);
    EXPECT_EQ(a.GetSize(), 11);
    other.Copy(a);
    EXPECT_EQ(Strings(other), Strings(a));
}

TEST(CoreArray, ObjectsAreConstructedAndDestroyedOnce)
{
    Counted::live = 0;
    {
        CArray<Counted, const Counted&> a;
        for (int i = 0; i < 100; ++i)
            a.Add(Counted(i));
        a.InsertAt(50, Counted(-1), 10);
        a.RemoveAt(0, 30);
        a.SetSize(200);
        a.SetSize(5);
        a.FreeExtra();
        EXPECT_EQ(Counted::live, 5);
        EXPECT_EQ(a[0].value, 30);
    }
    EXPECT_EQ(Counted::live, 0);
    {
        CList<Counted, const Counted&> l;
        for (int i = 0; i < 10; ++i)
            l.AddTail(Counted(i));
        l.RemoveHead();
        l.RemoveAt(l.FindIndex(3));
        EXPECT_EQ(Counted::live, 8);
        CMap<int, int, Counted, const Counted&> m;
        for (int i = 0; i < 10; ++i)
            m[i] = Counted(i);
        m.RemoveKey(3);
    }
    EXPECT_EQ(Counted::live, 0);
}

TEST(CoreArray, BadIndexesThrowInvalidArg)
{
    CDWordArray a;
    a.Add(1);
    a.Add(2);
    const CDWordArray& c = a;
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetAt(2); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetAt(-1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { (void)c[2]; }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a[5] = 1; }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.ElementAt(2); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.SetAt(2, 0); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.RemoveAt(2); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.RemoveAt(1, 2); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.RemoveAt(-1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.InsertAt(-1, (DWORD)0); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.SetSize(-1); }));
    EXPECT_EQ(a.GetSize(), 2); // nothing changed
    EXPECT_EQ(a[1], 2u);
}

TEST(CoreArray, NamedArrays)
{
    CByteArray b;
    b.Add(0xFF);
    CWordArray w;
    w.Add(0xFFFF);
    CUIntArray u;
    u.Add(7);
    CPtrArray p;
    int x = 0;
    p.Add(&x);
    CObArray o;
    o.Add(nullptr);
    EXPECT_EQ(b[0], 0xFF);
    EXPECT_EQ(w[0], 0xFFFF);
    EXPECT_EQ(u[0], 7u);
    EXPECT_EQ(p[0], &x);
    EXPECT_EQ(o[0], nullptr);
}

TEST(CoreList, OrderInsertFindAndRemoveWhileIterating)
{
    CStringList l;
    l.AddTail("c");
    l.AddHead("b");
    l.AddTail("d");
    l.AddHead("a");
    POSITION pos = l.Find("c");
    ASSERT_NE(pos, nullptr);
    l.InsertBefore(pos, "c0");
    l.InsertAfter(pos, "c1");
    l.InsertAfter(nullptr, "tail");
    l.InsertBefore(nullptr, "head");
    auto all = [&] {
        V out;
        for (POSITION p = l.GetHeadPosition(); p != nullptr;)
            out.push_back((LPCSTR)l.GetNext(p));
        return out;
    };
    EXPECT_EQ(all(), (V{"head", "a", "b", "c0", "c", "c1", "d", "tail"}));
    EXPECT_EQ(l.GetCount(), 8);
    EXPECT_EQ(l.GetAt(l.FindIndex(3)), "c0");
    EXPECT_EQ(l.FindIndex(8), nullptr);
    EXPECT_EQ(l.Find("c", l.Find("c")), nullptr);
    EXPECT_EQ(l.Find("zz"), nullptr);

    // Removing the element just passed, as callers do.
    for (POSITION p = l.GetHeadPosition(); p != nullptr;) {
        POSITION cur = p;
        const CString& s = l.GetNext(p);
        if (s.GetLength() != 1)
            l.RemoveAt(cur);
    }
    EXPECT_EQ(all(), (V{"a", "b", "c", "d"}));
    V backwards;
    for (POSITION p = l.GetTailPosition(); p != nullptr;)
        backwards.push_back((LPCSTR)l.GetPrev(p));
    EXPECT_EQ(backwards, (V{"d", "c", "b", "a"}));
    EXPECT_EQ(l.RemoveHead(), "a");
    EXPECT_EQ(l.RemoveTail(), "d");
    EXPECT_EQ(l.GetHead(), "b");
    EXPECT_EQ(l.GetTail(), "c");
    l.AddTail(&l);
    EXPECT_EQ(all(), (V{"b", "c", "b", "c"}));
    l.RemoveAll();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(l.GetHeadPosition(), nullptr);
    EXPECT_TRUE(ThrowsInvalidArg([&] { l.GetHead(); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { l.RemoveTail(); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { l.GetAt(nullptr); }));
}

// Nodes come nBlockSize at a time: one block holds a whole block's worth of
// elements, a removed node's room serves the next element, and an element
// whose copy throws leaves the list as it was.
TEST(CoreList, NodesShareBlocksAndRemovedRoomIsUsedAgain)
{
    Throwing::fail = false;
    const INT_PTR kBlock = 16;
    CList<Throwing, const Throwing&> l(kBlock);
    std::vector<POSITION> positions;
    for (int i = 0; i < kBlock; ++i)
        positions.push_back(l.AddTail(Throwing(i)));
#if AFX_NODE_BLOCKS
    auto [lowest, highest] = std::minmax_element(positions.begin(), positions.end(), [](POSITION a, POSITION b) {
        return reinterpret_cast<uintptr_t>(a) < reinterpret_cast<uintptr_t>(b);
    });
    uintptr_t span = reinterpret_cast<uintptr_t>(*highest) - reinterpret_cast<uintptr_t>(*lowest);
    // A node is two links and the element, padded: well within four pointers.
    EXPECT_LT(span, kBlock * 4 * sizeof(void*));
#endif
    l.RemoveAt(positions[5]);
    POSITION added = l.AddTail(Throwing(99));
#if AFX_NODE_BLOCKS
    EXPECT_EQ(added, positions[5]);
#else
    (void)added; // a sanitizer build gives each node to the heap
#endif

    Throwing::fail = true;
    bool thrown = false;
    try {
        l.AddHead(Throwing(-1));
    } catch (CException* e) {
        e->Delete();
        thrown = true;
    }
    EXPECT_TRUE(thrown);
    Throwing::fail = false;
    EXPECT_EQ(l.GetCount(), kBlock);
    EXPECT_EQ(l.GetHead().value, 0);
    for (int i = 0; i < 3 * kBlock; ++i)
        l.AddHead(Throwing(1000 + i));
    EXPECT_EQ(l.GetCount(), 4 * kBlock);
    std::vector<int> values;
    for (POSITION p = l.GetHeadPosition(); p != nullptr;)
        values.push_back(l.GetNext(p).value);
    EXPECT_EQ(values.front(), 1000 + 3 * kBlock - 1);
    EXPECT_EQ(values.back(), 99);
    while (!l.IsEmpty())
        l.RemoveTail();
    l.AddTail(Throwing(7));
    EXPECT_EQ(l.GetHead().value, 7);
}

TEST(CoreMap, LookupSetRemoveAndIterate)
{
    CMap<DWORD, DWORD, int, int> m;
    m.InitHashTable(10);
    for (DWORD k = 0; k < 2000; ++k)
        m.SetAt(k * 16, (int)k); // keys that share buckets under the >> 4 hash
    EXPECT_EQ(m.GetCount(), 2000);
    int v = -1;
    EXPECT_TRUE(m.Lookup(16 * 1999, v));
    EXPECT_EQ(v, 1999);
    EXPECT_FALSE(m.Lookup(17, v));
    m[17] = 5;
    m[17] += 1;
    EXPECT_TRUE(m.Lookup(17, v));
    EXPECT_EQ(v, 6);
    EXPECT_TRUE(m.RemoveKey(17));
    EXPECT_FALSE(m.RemoveKey(17));

    // Every entry once; removing the one just returned is safe.
    std::set<DWORD> seen;
    POSITION pos = m.GetStartPosition();
    while (pos != nullptr) {
        DWORD key;
        int value;
        m.GetNextAssoc(pos, key, value);
        EXPECT_EQ(value, (int)(key / 16));
        EXPECT_TRUE(seen.insert(key).second);
        if (value % 2 == 1)
            m.RemoveKey(key);
    }
    EXPECT_EQ(seen.size(), 2000u);
    EXPECT_EQ(m.GetCount(), 1000);

    // Re-sizing the table keeps what is in it.
    m.InitHashTable(997);
    EXPECT_EQ(m.GetHashTableSize(), 997u);
    EXPECT_EQ(m.GetCount(), 1000);
    EXPECT_TRUE(m.Lookup(16 * 1998, v));
    EXPECT_FALSE(m.Lookup(16 * 1999, v));
    m.RemoveAll();
    EXPECT_EQ(m.GetStartPosition(), nullptr);
    EXPECT_TRUE(ThrowsInvalidArg([&] {
        POSITION p = nullptr;
        DWORD k;
        int val;
        m.GetNextAssoc(p, k, val);
    }));
}

TEST(CoreMap, StringKeys)
{
    CMapStringToString m;
    m.SetAt("name", "value");
    m["\xC4\xE3\xBA\xC3"] = "gbk";
    CString s;
    EXPECT_TRUE(m.Lookup("name", s));
    EXPECT_EQ(s, "value");
    EXPECT_TRUE(m.Lookup(CString("\xC4\xE3\xBA\xC3"), s));
    EXPECT_EQ(s, "gbk");
    EXPECT_FALSE(m.Lookup("Name", s)); // keys are case-sensitive
    CMap<CString, const CString&, int, int> byRef;
    byRef[CString("a")] = 1;
    int v = 0;
    EXPECT_TRUE(byRef.Lookup(CString("a"), v));
    EXPECT_EQ(HashKey<LPCSTR>("abc"), HashKey<const CString&>(CString("abc")));
}

namespace
{
struct Point3
{
    int x, y, z;
    bool operator==(const Point3& o) const { return x == o.x && y == o.y && z == o.z; }
};
} // namespace

template <> UINT AFXAPI HashKey<const Point3&>(const Point3& key)
{
    return (UINT)(key.x * 31 + key.y * 7 + key.z);
}

TEST(CoreMap, CallerHashForItsOwnKey)
{
    CMap<Point3, const Point3&, int, int> m;
    m[Point3{1, 2, 3}] = 6;
    m[Point3{3, 2, 1}] = 7;
    int v = 0;
    EXPECT_TRUE(m.Lookup(Point3{1, 2, 3}, v));
    EXPECT_EQ(v, 6);
    EXPECT_EQ(m.GetCount(), 2);
}

TEST(CoreTypedPtr, ArrayListMap)
{
    struct Item
    {
        int id;
    };
    Item items[3] = {{1}, {2}, {3}};

    CTypedPtrArray<CPtrArray, Item*> arr;
    for (Item& it : items)
        arr.Add(&it);
    EXPECT_EQ(arr[1]->id, 2);
    EXPECT_EQ(arr.GetAt(2)->id, 3);
    arr.ElementAt(0) = &items[2];
    EXPECT_EQ(arr[0]->id, 3);
    arr.RemoveAt(0);
    EXPECT_EQ(arr.GetSize(), 2);

    CTypedPtrList<CPtrList, Item*> list;
    for (Item& it : items)
        list.AddTail(&it);
    POSITION pos = list.GetHeadPosition();
    EXPECT_EQ(list.GetNext(pos)->id, 1);
    EXPECT_EQ(list.GetNext(pos)->id, 2);
    EXPECT_EQ(list.GetTail()->id, 3);
    EXPECT_EQ(list.RemoveHead()->id, 1);

    CTypedPtrMap<CMapWordToPtr, WORD, Item*> map;
    map.SetAt(10, &items[0]);
    map[20] = &items[1];
    Item* found = nullptr;
    EXPECT_TRUE(map.Lookup(20, found));
    EXPECT_EQ(found, &items[1]);
    EXPECT_FALSE(map.Lookup(30, found));
    EXPECT_EQ(found, &items[1]); // untouched when missing
    std::map<WORD, int> walked;
    for (POSITION p = map.GetStartPosition(); p != nullptr;) {
        WORD k;
        Item* it;
        map.GetNextAssoc(p, k, it);
        walked[k] = it->id;
    }
    EXPECT_EQ(walked, (std::map<WORD, int>{{10, 1}, {20, 2}}));

    CTypedPtrMap<CMapStringToPtr, CString, Item*> byName;
    byName.SetAt("x", &items[2]);
    EXPECT_TRUE(byName.Lookup("x", found));
    EXPECT_EQ(found->id, 3);
    CMapPtrToPtr raw;
    raw[&items[0]] = &items[1];
    void* pv = nullptr;
    EXPECT_TRUE(raw.Lookup(&items[0], pv));
    EXPECT_EQ(pv, &items[1]);
}
