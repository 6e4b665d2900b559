#include "RecordStore.h"

namespace
{

template <class T> INT_PTR FindIndex(const CArray<T, const T&>& items, DWORD dwID)
{
    for (INT_PTR i = 0; i < items.GetSize(); ++i) {
        if (items[i].dwID == dwID)
            return i;
    }
    return -1;
}

template <class T> void Upsert(CArray<T, const T&>& items, const T& item)
{
    INT_PTR nIndex = FindIndex(items, item.dwID);
    if (nIndex >= 0)
        items[nIndex] = item;
    else
        items.Add(item);
}

} // namespace

CRecordStore::CRecordStore() {}

CRecordStore::~CRecordStore()
{
    for (INT_PTR i = 0; i < m_Definitions.GetSize(); ++i)
        delete m_Definitions[i];
}

void CRecordStore::UpsertEntryA(const tagStoreEntryA& entry)
{
    Upsert(m_EntriesA, entry);
}

void CRecordStore::UpsertEntryC(const tagStoreEntryC& entry)
{
    Upsert(m_EntriesC, entry);
}

void CRecordStore::UpsertDefinition(const tagStoreDefinition& definition)
{
    for (INT_PTR i = 0; i < m_Definitions.GetSize(); ++i) {
        if (m_Definitions[i]->dwID == definition.dwID) {
            *m_Definitions[i] = definition;
            return;
        }
    }
    m_Definitions.Add(new tagStoreDefinition(definition));
}

void CRecordStore::RemoveEntryA(DWORD dwID)
{
    INT_PTR nIndex = FindIndex(m_EntriesA, dwID);
    if (nIndex >= 0)
        m_EntriesA.RemoveAt(nIndex);
}

void CRecordStore::RemoveEntryC(DWORD dwID)
{
    INT_PTR nIndex = FindIndex(m_EntriesC, dwID);
    if (nIndex >= 0)
        m_EntriesC.RemoveAt(nIndex);
}

bool CRecordStore::SetEntryCNumber(DWORD dwID, BYTE cbIndex, WORD wValue)
{
    INT_PTR nIndex = FindIndex(m_EntriesC, dwID);
    if (nIndex < 0 || cbIndex >= sizeof(m_EntriesC[nIndex].wNumbers) / sizeof(WORD))
        return false;
    m_EntriesC[nIndex].wNumbers[cbIndex] = wValue;
    return true;
}

const tagStoreEntryA* CRecordStore::FindEntryA(DWORD dwID) const
{
    INT_PTR nIndex = FindIndex(m_EntriesA, dwID);
    return nIndex >= 0 ? &m_EntriesA[nIndex] : NULL;
}

const tagStoreDefinition* CRecordStore::FindDefinition(DWORD dwID) const
{
    for (INT_PTR i = 0; i < m_Definitions.GetSize(); ++i) {
        if (m_Definitions[i]->dwID == dwID)
            return m_Definitions[i];
    }
    return NULL;
}

const tagStoreEntryC* CRecordStore::FindEntryC(DWORD dwID) const
{
    INT_PTR nIndex = FindIndex(m_EntriesC, dwID);
    return nIndex >= 0 ? &m_EntriesC[nIndex] : NULL;
}

void CRecordStore::ClearEntries()
{
    m_EntriesA.RemoveAll();
    m_EntriesC.RemoveAll();
}
