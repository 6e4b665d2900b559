// Items found by a DWORD id, in one block: open addressing with linear
// probing, so that taking in a game list of ten thousand rooms makes no heap
// call per item (a node-based map makes one each). The index points to
// items it does not own; null is never stored. Ids are any DWORD, 0 too.
#pragma once

#include <afx.h>

#include <stddef.h>
#include <string.h>

#include <new>

template <class T> class CIdIndex
{
public:
    CIdIndex() : m_pSlots(NULL), m_nCapacity(0), m_nCount(0), m_nShift(32) {}
    ~CIdIndex() { delete[] m_pSlots; }

    size_t GetCount() const { return m_nCount; }

    // The item of that id, or null.
    T* Find(DWORD id) const
    {
        if (m_nCount == 0)
            return NULL;
        for (size_t i = Home(id);; i = (i + 1) & (m_nCapacity - 1)) {
            const Slot& slot = m_pSlots[i];
            if (slot.pItem == NULL)
                return NULL;
            if (slot.id == id)
                return slot.pItem;
        }
    }

    // False, changing nothing, for a null item or an id already there.
    bool Add(DWORD id, T* pItem)
    {
        if (pItem == NULL)
            return false;
        Reserve(m_nCount + 1);
        for (size_t i = Home(id);; i = (i + 1) & (m_nCapacity - 1)) {
            Slot& slot = m_pSlots[i];
            if (slot.pItem == NULL) {
                slot.id = id;
                slot.pItem = pItem;
                ++m_nCount;
                return true;
            }
            if (slot.id == id)
                return false;
        }
    }

    // Room for nCount items without growing.
    void Reserve(size_t nCount)
    {
        if (nCount <= m_nCapacity - m_nCapacity / 4)
            return;
        size_t nNeeded = kMinCapacity;
        // At most three slots in four taken, so that probes stay short.
        while (nNeeded - nNeeded / 4 < nCount) {
            if (nNeeded >= (size_t(1) << 31) || nNeeded > (size_t(-1) / sizeof(Slot)) / 2)
                throw std::bad_alloc();
            nNeeded *= 2;
        }
        if (nNeeded > m_nCapacity)
            Rehash(nNeeded);
    }

    // Forgets every item; the block stays for the next list.
    void RemoveAll()
    {
        if (m_nCount != 0)
            memset(static_cast<void*>(m_pSlots), 0, sizeof(Slot) * m_nCapacity);
        m_nCount = 0;
    }

private:
    CIdIndex(const CIdIndex&) = delete;
    CIdIndex& operator=(const CIdIndex&) = delete;

    struct Slot
    {
        DWORD id;
        T* pItem;
    };
    static const size_t kMinCapacity = 16;

    // Ids often run in steps of one: a multiplicative hash spreads them, and
    // its top bits pick the slot.
    size_t Home(DWORD id) const { return size_t(DWORD(id * 2654435769u) >> m_nShift); }

    void Rehash(size_t nCapacity)
    {
        Slot* pOld = m_pSlots;
        size_t nOld = m_nCapacity;
        m_pSlots = new Slot[nCapacity]();
        m_nCapacity = nCapacity;
        m_nShift = 32;
        for (size_t n = nCapacity; n > 1; n /= 2)
            --m_nShift;
        for (size_t i = 0; i < nOld; ++i) {
            if (pOld[i].pItem == NULL)
                continue;
            size_t j = Home(pOld[i].id);
            while (m_pSlots[j].pItem != NULL)
                j = (j + 1) & (m_nCapacity - 1);
            m_pSlots[j] = pOld[i];
        }
        delete[] pOld;
    }

    Slot* m_pSlots;
    size_t m_nCapacity;
    size_t m_nCount;
    int m_nShift; // 32 less the capacity's power of two
};
