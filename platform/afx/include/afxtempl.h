// Collection templates: CArray, CList, CMap and the typed pointer wrappers.
//
// Elements are real objects (constructed, moved and destroyed as C++ wants),
// so CString and other classes are safe as elements. A bad index or position
// throws CInvalidArgException*, which callers rely on. New elements made by
// SetSize are value-initialised (zero for plain types).
#pragma once

#include "afxexcept.h"
#include "afxobj.h"
#include "afxstr.h"

#include <string.h>

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

// ---- element helpers ---------------------------------------------------------

template <class TYPE, class ARG_TYPE> inline BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

inline UINT AfxHashString(LPCSTR key)
{
    UINT nHash = 0;
    if (key != nullptr) {
        while (*key != '\0')
            nHash = (nHash << 5) + nHash + (UINT)(int)(signed char)*key++;
    }
    return nHash;
}

// The hash of a map key. Integers, enums and pointers hash by value (>> 4);
// strings (CString, const char*) by their characters. Specialise it for other
// key types: template<> UINT AFXAPI HashKey<MyKey>(MyKey key).
template <class ARG_KEY> inline UINT AFXAPI HashKey(ARG_KEY key)
{
    using K = std::decay_t<ARG_KEY>;
    if constexpr (std::is_convertible_v<const K&, LPCSTR> && !std::is_integral_v<K>) {
        return AfxHashString(static_cast<LPCSTR>(key));
    } else if constexpr (std::is_pointer_v<K>) {
        return (UINT)(((DWORD_PTR)key) >> 4);
    } else if constexpr (std::is_enum_v<K>) {
        return (UINT)(((DWORD_PTR)(ULONGLONG)key) >> 4);
    } else if constexpr (std::is_integral_v<K> && sizeof(K) > sizeof(DWORD_PTR)) {
        return (UINT)((((ULONGLONG)key) >> 32) ^ (((ULONGLONG)key) >> 4));
    } else {
        static_assert(std::is_integral_v<K>, "specialise HashKey for this key type");
        return (UINT)(((DWORD_PTR)key) >> 4);
    }
}

// Nodes of lists come in blocks, and blocks stay until the list is empty. A
// sanitizer build gives every node to the heap, so that it still sees each.
#if defined(__SANITIZE_ADDRESS__)
#define AFX_NODE_BLOCKS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define AFX_NODE_BLOCKS 0
#endif
#endif
#ifndef AFX_NODE_BLOCKS
#define AFX_NODE_BLOCKS 1
#endif

namespace afx_detail
{

template <class T> void ConstructRange(T* p, INT_PTR n)
{
    for (INT_PTR i = 0; i < n; ++i)
        ::new (static_cast<void*>(p + i)) T();
}

template <class T> void DestroyRange(T* p, INT_PTR n)
{
    if constexpr (!std::is_trivially_destructible_v<T>) {
        for (INT_PTR i = 0; i < n; ++i)
            p[i].~T();
    }
}

// Moves n objects from src to the raw slots at dst (the ranges may overlap);
// the source slots are left raw.
template <class T> void Relocate(T* dst, T* src, INT_PTR n)
{
    if (n <= 0 || dst == src)
        return;
    if constexpr (std::is_trivially_copyable_v<T>) {
        memmove(static_cast<void*>(dst), static_cast<const void*>(src), (size_t)n * sizeof(T));
    } else if (dst < src) {
        for (INT_PTR i = 0; i < n; ++i) {
            ::new (static_cast<void*>(dst + i)) T(std::move(src[i]));
            src[i].~T();
        }
    } else {
        for (INT_PTR i = n - 1; i >= 0; --i) {
            ::new (static_cast<void*>(dst + i)) T(std::move(src[i]));
            src[i].~T();
        }
    }
}

template <class T> T* AllocateRaw(INT_PTR n)
{
    if (n < 0 || (ULONGLONG)n > (ULONGLONG)((size_t)-1 / 2) / sizeof(T))
        AfxThrowMemoryException();
    void* p = ::operator new((size_t)n * sizeof(T), std::nothrow);
    if (p == nullptr)
        AfxThrowMemoryException();
    return static_cast<T*>(p);
}

} // namespace afx_detail

// ---- CArray ------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject
{
public:
    CArray() : m_pData(nullptr), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}
    ~CArray() { RemoveAll(); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }

    // nGrowBy < 0 keeps the current step; 0 picks one from the size.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    const TYPE& GetAt(INT_PTR nIndex) const
    {
        Check(nIndex);
        return m_pData[nIndex];
    }
    TYPE& GetAt(INT_PTR nIndex)
    {
        Check(nIndex);
        return m_pData[nIndex];
    }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement)
    {
        Check(nIndex);
        m_pData[nIndex] = newElement;
    }
    const TYPE& ElementAt(INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
    INT_PTR Add(ARG_TYPE newElement)
    {
        INT_PTR nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    INT_PTR Append(const CArray& src);
    void Copy(const CArray& src);

    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray);
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

protected:
    void Check(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nSize)
            AfxThrowInvalidArgException();
    }
    void Reallocate(INT_PTR nNewMax);

    TYPE* m_pData;
    INT_PTR m_nSize;
    INT_PTR m_nMaxSize;
    INT_PTR m_nGrowBy;
};

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Reallocate(INT_PTR nNewMax)
{
    TYPE* pNew = afx_detail::AllocateRaw<TYPE>(nNewMax);
    afx_detail::Relocate(pNew, m_pData, m_nSize);
    ::operator delete(static_cast<void*>(m_pData));
    m_pData = pNew;
    m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy)
{
    if (nNewSize < 0)
        AfxThrowInvalidArgException();
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;
    if (nNewSize == 0) {
        afx_detail::DestroyRange(m_pData, m_nSize);
        ::operator delete(static_cast<void*>(m_pData));
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
        return;
    }
    if (nNewSize > m_nMaxSize) {
        INT_PTR nNewMax = nNewSize;
        if (m_pData != nullptr) {
            INT_PTR nGrow = m_nGrowBy;
            if (nGrow == 0) {
                nGrow = m_nSize / 8;
                nGrow = nGrow < 4 ? 4 : (nGrow > 1024 ? 1024 : nGrow);
            }
            if (m_nMaxSize + nGrow > nNewMax)
                nNewMax = m_nMaxSize + nGrow;
        }
        Reallocate(nNewMax);
    }
    if (nNewSize > m_nSize)
        afx_detail::ConstructRange(m_pData + m_nSize, nNewSize - m_nSize);
    else
        afx_detail::DestroyRange(m_pData + nNewSize, m_nSize - nNewSize);
    m_nSize = nNewSize;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::FreeExtra()
{
    if (m_nSize == m_nMaxSize)
        return;
    if (m_nSize == 0) {
        RemoveAll();
        return;
    }
    Reallocate(m_nSize);
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
{
    if (nIndex < 0)
        AfxThrowInvalidArgException();
    if (nIndex < m_nSize) {
        m_pData[nIndex] = newElement;
        return;
    }
    // newElement may be an element of this array, which growing moves.
    TYPE value(newElement);
    SetSize(nIndex + 1, -1);
    m_pData[nIndex] = std::move(value);
}

template <class TYPE, class ARG_TYPE> INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
{
    INT_PTR nOldSize = m_nSize;
    INT_PTR nCount = src.m_nSize;
    if (this == &src) {
        SetSize(nOldSize + nCount, -1);
        for (INT_PTR i = 0; i < nCount; ++i)
            m_pData[nOldSize + i] = m_pData[i];
    } else {
        SetSize(nOldSize + nCount, -1);
        for (INT_PTR i = 0; i < nCount; ++i)
            m_pData[nOldSize + i] = src.m_pData[i];
    }
    return nOldSize;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src)
{
    if (this == &src)
        return;
    SetSize(src.m_nSize, -1);
    for (INT_PTR i = 0; i < m_nSize; ++i)
        m_pData[i] = src.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount)
{
    if (nIndex < 0 || nCount <= 0)
        AfxThrowInvalidArgException();
    INT_PTR nLimit = ((INT_PTR)1 << (sizeof(INT_PTR) * 8 - 2));
    if (nIndex > nLimit || nCount > nLimit)
        AfxThrowMemoryException();
    TYPE value(newElement);
    if (nIndex >= m_nSize) {
        SetSize(nIndex + nCount, -1);
    } else {
        INT_PTR nOldSize = m_nSize;
        SetSize(m_nSize + nCount, -1);
        afx_detail::DestroyRange(m_pData + nOldSize, nCount);
        afx_detail::Relocate(m_pData + nIndex + nCount, m_pData + nIndex, nOldSize - nIndex);
        afx_detail::ConstructRange(m_pData + nIndex, nCount);
    }
    for (INT_PTR i = 0; i < nCount; ++i)
        m_pData[nIndex + i] = value;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
{
    if (pNewArray == nullptr || nStartIndex < 0)
        AfxThrowInvalidArgException();
    INT_PTR nCount = pNewArray->GetSize();
    if (nCount == 0)
        return;
    if (pNewArray == this) {
        CArray copy;
        copy.Copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    InsertAt(nStartIndex, pNewArray->m_pData[0], nCount);
    for (INT_PTR i = 1; i < nCount; ++i)
        m_pData[nStartIndex + i] = pNewArray->m_pData[i];
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount)
{
    if (nIndex < 0 || nCount < 0 || nIndex > m_nSize - nCount)
        AfxThrowInvalidArgException();
    if (nCount == 0)
        return;
    afx_detail::DestroyRange(m_pData + nIndex, nCount);
    afx_detail::Relocate(m_pData + nIndex, m_pData + nIndex + nCount, m_nSize - nIndex - nCount);
    m_nSize -= nCount;
}

// ---- CList -------------------------------------------------------------------

// A doubly linked list. A POSITION is a node; it stays valid until that node
// is removed, so removing the element just passed by GetNext is safe.
template <class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject
{
protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
        explicit CNode(ARG_TYPE value) : pNext(nullptr), pPrev(nullptr), data(value) {}
    };

public:
    // Nodes are made nBlockSize at a time; a removed node's room is used
    // again, and the blocks are freed when the list becomes empty.
    explicit CList(INT_PTR nBlockSize = 10)
        : m_pNodeHead(nullptr), m_pNodeTail(nullptr), m_nCount(0), m_pNodeFree(nullptr), m_pBlocks(nullptr),
          m_nBlockSize(nBlockSize < 1 ? 1 : nBlockSize)
    {}
    ~CList() { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return NonEmpty(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return NonEmpty(m_pNodeHead)->data; }
    TYPE& GetTail() { return NonEmpty(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return NonEmpty(m_pNodeTail)->data; }

    TYPE RemoveHead()
    {
        CNode* pNode = NonEmpty(m_pNodeHead);
        TYPE value(std::move(pNode->data));
        Unlink(pNode);
        return value;
    }
    TYPE RemoveTail()
    {
        CNode* pNode = NonEmpty(m_pNodeTail);
        TYPE value(std::move(pNode->data));
        Unlink(pNode);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(ToPos(m_pNodeHead), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(ToPos(m_pNodeTail), newElement); }
    void AddHead(const CList* pNewList);
    void AddTail(const CList* pNewList);
    void RemoveAll();

    POSITION GetHeadPosition() const { return ToPos(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPos(m_pNodeTail); }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* pNode = FromPos(rPosition);
        rPosition = ToPos(pNode->pNext);
        return pNode->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        CNode* pNode = FromPos(rPosition);
        rPosition = ToPos(pNode->pNext);
        return pNode->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* pNode = FromPos(rPosition);
        rPosition = ToPos(pNode->pPrev);
        return pNode->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        CNode* pNode = FromPos(rPosition);
        rPosition = ToPos(pNode->pPrev);
        return pNode->data;
    }
    TYPE& GetAt(POSITION position) { return FromPos(position)->data; }
    const TYPE& GetAt(POSITION position) const { return FromPos(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { FromPos(pos)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(FromPos(position)); }

    // A NULL position inserts at the head (InsertBefore) or tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const;
    POSITION FindIndex(INT_PTR nIndex) const;

protected:
    static POSITION ToPos(CNode* pNode) { return reinterpret_cast<POSITION>(pNode); }
    static CNode* FromPos(POSITION pos)
    {
        if (pos == nullptr)
            AfxThrowInvalidArgException();
        return reinterpret_cast<CNode*>(pos);
    }
    static CNode* NonEmpty(CNode* pNode)
    {
        if (pNode == nullptr)
            AfxThrowInvalidArgException();
        return pNode;
    }
    void Unlink(CNode* pNode);
    CNode* NewNode(ARG_TYPE value);
    void FreeNode(CNode* pNode);
    void FreeBlocks();

    // A block: the link to the next, then room for nodes.
    union CNodeSlot
    {
        CNodeSlot* pNextFree;
        alignas(CNode) unsigned char bytes[sizeof(CNode)];
    };
    struct CBlock
    {
        CBlock* pNext;
    };
    static_assert(alignof(CNodeSlot) <= alignof(std::max_align_t), "blocks come from operator new");

    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    INT_PTR m_nCount;
    CNodeSlot* m_pNodeFree;
    CBlock* m_pBlocks;
    INT_PTR m_nBlockSize;
};

template <class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode* CList<TYPE, ARG_TYPE>::NewNode(ARG_TYPE value)
{
    if (!AFX_NODE_BLOCKS)
        return new CNode(value);
    if (m_pNodeFree == nullptr) {
        INT_PTR nBlockSize = m_nBlockSize;
        if ((ULONGLONG)nBlockSize > (ULONGLONG)(((size_t)-1 - sizeof(CBlock)) / 2) / sizeof(CNodeSlot))
            AfxThrowMemoryException();
        size_t nHead = (sizeof(CBlock) + alignof(CNodeSlot) - 1) / alignof(CNodeSlot) * alignof(CNodeSlot);
        void* p = ::operator new(nHead + (size_t)nBlockSize * sizeof(CNodeSlot), std::nothrow);
        if (p == nullptr)
            AfxThrowMemoryException();
        CBlock* pBlock = static_cast<CBlock*>(p);
        pBlock->pNext = m_pBlocks;
        m_pBlocks = pBlock;
        CNodeSlot* pSlots = reinterpret_cast<CNodeSlot*>(static_cast<unsigned char*>(p) + nHead);
        // Taken first to last, so that a list made in one go walks forwards in memory.
        for (INT_PTR i = nBlockSize - 1; i >= 0; --i) {
            pSlots[i].pNextFree = m_pNodeFree;
            m_pNodeFree = &pSlots[i];
        }
    }
    // The node is made over the free link: read it first, and put the slot
    // back when the element cannot be copied.
    CNodeSlot* pSlot = m_pNodeFree;
    m_pNodeFree = pSlot->pNextFree;
    try {
        return ::new (static_cast<void*>(pSlot->bytes)) CNode(value);
    } catch (...) {
        pSlot->pNextFree = m_pNodeFree;
        m_pNodeFree = pSlot;
        throw;
    }
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::FreeNode(CNode* pNode)
{
    if (!AFX_NODE_BLOCKS) {
        delete pNode;
        return;
    }
    pNode->~CNode();
    CNodeSlot* pSlot = reinterpret_cast<CNodeSlot*>(pNode);
    pSlot->pNextFree = m_pNodeFree;
    m_pNodeFree = pSlot;
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::FreeBlocks()
{
    while (m_pBlocks != nullptr) {
        CBlock* pNext = m_pBlocks->pNext;
        ::operator delete(static_cast<void*>(m_pBlocks));
        m_pBlocks = pNext;
    }
    m_pNodeFree = nullptr;
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::AddHead(const CList* pNewList)
{
    if (pNewList == nullptr)
        AfxThrowInvalidArgException();
    // Backwards from the tail keeps the order (and stops at the old head
    // when the list is added to itself).
    CNode* pStop = pNewList->m_pNodeHead;
    for (CNode* p = pNewList->m_pNodeTail; p != nullptr; p = p->pPrev) {
        AddHead(p->data);
        if (p == pStop)
            break;
    }
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::AddTail(const CList* pNewList)
{
    if (pNewList == nullptr)
        AfxThrowInvalidArgException();
    CNode* pStop = pNewList->m_pNodeTail;
    for (CNode* p = pNewList->m_pNodeHead; p != nullptr; p = p->pNext) {
        AddTail(p->data);
        if (p == pStop)
            break;
    }
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::RemoveAll()
{
    CNode* p = m_pNodeHead;
    while (p != nullptr) {
        CNode* pNext = p->pNext;
        FreeNode(p);
        p = pNext;
    }
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
    FreeBlocks();
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement)
{
    CNode* pOld = reinterpret_cast<CNode*>(position);
    if (pOld == nullptr)
        pOld = m_pNodeHead;
    CNode* pNew = NewNode(newElement);
    if (pOld == nullptr) {
        m_pNodeHead = m_pNodeTail = pNew;
    } else {
        pNew->pPrev = pOld->pPrev;
        pNew->pNext = pOld;
        if (pOld->pPrev != nullptr)
            pOld->pPrev->pNext = pNew;
        else
            m_pNodeHead = pNew;
        pOld->pPrev = pNew;
    }
    ++m_nCount;
    return ToPos(pNew);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement)
{
    CNode* pOld = reinterpret_cast<CNode*>(position);
    if (pOld == nullptr)
        pOld = m_pNodeTail;
    CNode* pNew = NewNode(newElement);
    if (pOld == nullptr) {
        m_pNodeHead = m_pNodeTail = pNew;
    } else {
        pNew->pNext = pOld->pNext;
        pNew->pPrev = pOld;
        if (pOld->pNext != nullptr)
            pOld->pNext->pPrev = pNew;
        else
            m_pNodeTail = pNew;
        pOld->pNext = pNew;
    }
    ++m_nCount;
    return ToPos(pNew);
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::Unlink(CNode* pNode)
{
    if (pNode->pPrev != nullptr)
        pNode->pPrev->pNext = pNode->pNext;
    else
        m_pNodeHead = pNode->pNext;
    if (pNode->pNext != nullptr)
        pNode->pNext->pPrev = pNode->pPrev;
    else
        m_pNodeTail = pNode->pPrev;
    FreeNode(pNode);
    if (--m_nCount == 0)
        FreeBlocks();
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const
{
    CNode* p = startAfter == nullptr ? m_pNodeHead : FromPos(startAfter)->pNext;
    for (; p != nullptr; p = p->pNext) {
        if (CompareElements(&p->data, &searchValue))
            return ToPos(p);
    }
    return nullptr;
}

template <class TYPE, class ARG_TYPE> POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    CNode* p = m_pNodeHead;
    while (nIndex-- > 0)
        p = p->pNext;
    return ToPos(p);
}

// ---- CMap --------------------------------------------------------------------

// A hash map with chained buckets. Iteration (GetStartPosition/GetNextAssoc)
// runs bucket by bucket; GetNextAssoc moves on before it returns, so the key
// it returned may be removed during the walk.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject
{
public:
    typedef KEY BASE_KEY;
    typedef ARG_KEY BASE_ARG_KEY;
    typedef VALUE BASE_VALUE;
    typedef ARG_VALUE BASE_ARG_VALUE;

    class CPair
    {
    public:
        const KEY key;
        VALUE value;

    protected:
        explicit CPair(ARG_KEY keyval) : key(keyval), value() {}
    };

protected:
    class CAssoc : public CPair
    {
    public:
        explicit CAssoc(ARG_KEY keyval) : CPair(keyval), pNext(nullptr), nHashValue(0) {}
        CAssoc* pNext;
        UINT nHashValue;
    };

public:
    // nBlockSize is accepted for compatibility; entries are allocated one by one.
    explicit CMap(INT_PTR nBlockSize = 10) : m_pHashTable(nullptr), m_nHashTableSize(17), m_nCount(0)
    {
        (void)nBlockSize;
    }
    ~CMap() { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        CAssoc* pAssoc = Find(key);
        if (pAssoc == nullptr)
            return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }
    CPair* PLookup(ARG_KEY key) { return Find(key); }
    const CPair* PLookup(ARG_KEY key) const { return Find(key); }

    // The value of key, added (value-initialised) when missing.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Sets the number of buckets (a prime a little above the expected count
    // is best); entries already in the map are rehashed.
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE);

protected:
    CAssoc* Find(ARG_KEY key) const
    {
        if (m_pHashTable == nullptr)
            return nullptr;
        UINT nHash = HashKey<ARG_KEY>(key);
        for (CAssoc* p = m_pHashTable[nHash % m_nHashTableSize]; p != nullptr; p = p->pNext) {
            if (p->nHashValue == nHash && CompareElements(&p->key, &key))
                return p;
        }
        return nullptr;
    }
    void AllocTable(UINT nSize);

    CAssoc** m_pHashTable;
    UINT m_nHashTableSize;
    INT_PTR m_nCount;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::AllocTable(UINT nSize)
{
    CAssoc** pTable = new (std::nothrow) CAssoc*[nSize]();
    if (pTable == nullptr)
        AfxThrowMemoryException();
    // Keep the existing entries, each at the head of its new chain.
    if (m_pHashTable != nullptr) {
        for (UINT i = 0; i < m_nHashTableSize; ++i) {
            CAssoc* p = m_pHashTable[i];
            while (p != nullptr) {
                CAssoc* pNext = p->pNext;
                p->pNext = pTable[p->nHashValue % nSize];
                pTable[p->nHashValue % nSize] = p;
                p = pNext;
            }
        }
        delete[] m_pHashTable;
    }
    m_pHashTable = pTable;
    m_nHashTableSize = nSize;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT nHashSize, BOOL bAllocNow)
{
    if (nHashSize == 0)
        AfxThrowInvalidArgException();
    if (bAllocNow || m_pHashTable != nullptr) {
        AllocTable(nHashSize);
    } else {
        m_nHashTableSize = nHashSize;
    }
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key)
{
    if (CAssoc* pFound = Find(key))
        return pFound->value;
    if (m_pHashTable == nullptr)
        AllocTable(m_nHashTableSize);
    UINT nHash = HashKey<ARG_KEY>(key);
    CAssoc* pAssoc = new CAssoc(key);
    pAssoc->nHashValue = nHash;
    // New entries go to the head of their chain.
    pAssoc->pNext = m_pHashTable[nHash % m_nHashTableSize];
    m_pHashTable[nHash % m_nHashTableSize] = pAssoc;
    ++m_nCount;
    return pAssoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key)
{
    if (m_pHashTable == nullptr)
        return FALSE;
    UINT nHash = HashKey<ARG_KEY>(key);
    for (CAssoc** ppPrev = &m_pHashTable[nHash % m_nHashTableSize]; *ppPrev != nullptr; ppPrev = &(*ppPrev)->pNext) {
        CAssoc* p = *ppPrev;
        if (p->nHashValue == nHash && CompareElements(&p->key, &key)) {
            *ppPrev = p->pNext;
            delete p;
            --m_nCount;
            return TRUE;
        }
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll()
{
    if (m_pHashTable != nullptr) {
        for (UINT i = 0; i < m_nHashTableSize; ++i) {
            CAssoc* p = m_pHashTable[i];
            while (p != nullptr) {
                CAssoc* pNext = p->pNext;
                delete p;
                p = pNext;
            }
        }
        delete[] m_pHashTable;
        m_pHashTable = nullptr;
    }
    m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
POSITION CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetStartPosition() const
{
    if (m_nCount == 0 || m_pHashTable == nullptr)
        return nullptr;
    for (UINT i = 0; i < m_nHashTableSize; ++i) {
        if (m_pHashTable[i] != nullptr)
            return reinterpret_cast<POSITION>(m_pHashTable[i]);
    }
    return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
{
    CAssoc* pAssoc = reinterpret_cast<CAssoc*>(rNextPosition);
    if (pAssoc == nullptr || m_pHashTable == nullptr)
        AfxThrowInvalidArgException();
    CAssoc* pNext = pAssoc->pNext;
    if (pNext == nullptr) {
        for (UINT i = pAssoc->nHashValue % m_nHashTableSize + 1; i < m_nHashTableSize; ++i) {
            if (m_pHashTable[i] != nullptr) {
                pNext = m_pHashTable[i];
                break;
            }
        }
    }
    rNextPosition = reinterpret_cast<POSITION>(pNext);
    rKey = pAssoc->key;
    rValue = pAssoc->value;
}

// ---- typed pointer collections -------------------------------------------------

// BASE_CLASS is CPtrArray or CObArray; TYPE a pointer type.
template <class BASE_CLASS, class TYPE> class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE GetAt(INT_PTR nIndex) const { return (TYPE)BASE_CLASS::GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return (TYPE&)BASE_CLASS::ElementAt(nIndex); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1)
    {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    void InsertAt(INT_PTR nStartIndex, const CTypedPtrArray* pNewArray)
    {
        BASE_CLASS::InsertAt(nStartIndex, pNewArray);
    }
    TYPE* GetData() { return (TYPE*)BASE_CLASS::GetData(); }
    const TYPE* GetData() const { return (const TYPE*)BASE_CLASS::GetData(); }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
};

// BASE_CLASS is CPtrList or CObList; TYPE a pointer type.
template <class BASE_CLASS, class TYPE> class CTypedPtrList : public BASE_CLASS
{
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE& GetHead() { return (TYPE&)BASE_CLASS::GetHead(); }
    TYPE GetHead() const { return (TYPE)BASE_CLASS::GetHead(); }
    TYPE& GetTail() { return (TYPE&)BASE_CLASS::GetTail(); }
    TYPE GetTail() const { return (TYPE)BASE_CLASS::GetTail(); }
    TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
    TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(const CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(const CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
    TYPE& GetNext(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetNext(rPosition); }
    TYPE GetNext(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetPrev(rPosition); }
    TYPE GetPrev(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetPrev(rPosition); }
    TYPE& GetAt(POSITION position) { return (TYPE&)BASE_CLASS::GetAt(position); }
    TYPE GetAt(POSITION position) const { return (TYPE)BASE_CLASS::GetAt(position); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION InsertBefore(POSITION position, TYPE newElement) { return BASE_CLASS::InsertBefore(position, newElement); }
    POSITION InsertAfter(POSITION position, TYPE newElement) { return BASE_CLASS::InsertAfter(position, newElement); }
};

// BASE_CLASS is one of the CMap...ToPtr classes; VALUE a pointer type.
template <class BASE_CLASS, class KEY, class VALUE> class CTypedPtrMap : public BASE_CLASS
{
public:
    explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_VALUE value;
        if (!BASE_CLASS::Lookup(key, value))
            return FALSE;
        rValue = (VALUE)value;
        return TRUE;
    }
    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) { return (VALUE&)BASE_CLASS::operator[](key); }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_KEY key;
        typename BASE_CLASS::BASE_VALUE value;
        BASE_CLASS::GetNextAssoc(rPosition, key, value);
        rKey = (KEY)key;
        rValue = (VALUE)value;
    }
};
