// What the hall server keeps the hall up to date with under main 1008:
// entries A, definitions B and entries C, each found by its id. Storing a
// record whose id is already there replaces it.
#pragma once

#include <afxtempl.h>

#include "HallRecords.h"

class CRecordStore
{
public:
    CRecordStore();
    ~CRecordStore();

    void UpsertEntryA(const tagStoreEntryA& entry);
    void UpsertDefinition(const tagStoreDefinition& definition);
    void UpsertEntryC(const tagStoreEntryC& entry);
    void RemoveEntryA(DWORD dwID);
    void RemoveEntryC(DWORD dwID);
    // The entry's u16 number nIndex (0 to 7) takes the value; false for an
    // unknown id or an index out of range.
    bool SetEntryCNumber(DWORD dwID, BYTE cbIndex, WORD wValue);

    const tagStoreEntryA* FindEntryA(DWORD dwID) const;
    const tagStoreDefinition* FindDefinition(DWORD dwID) const;
    const tagStoreEntryC* FindEntryC(DWORD dwID) const;
    INT_PTR GetEntryACount() const { return m_EntriesA.GetSize(); }
    INT_PTR GetDefinitionCount() const { return m_Definitions.GetSize(); }
    INT_PTR GetEntryCCount() const { return m_EntriesC.GetSize(); }
    const tagStoreEntryA& GetEntryA(INT_PTR nIndex) const { return m_EntriesA[nIndex]; }
    const tagStoreDefinition& GetDefinition(INT_PTR nIndex) const { return *m_Definitions[nIndex]; }
    const tagStoreEntryC& GetEntryC(INT_PTR nIndex) const { return m_EntriesC[nIndex]; }

    // A new logon starts without entries; the definitions stay valid.
    void ClearEntries();

private:
    CRecordStore(const CRecordStore&) = delete;
    CRecordStore& operator=(const CRecordStore&) = delete;

    CArray<tagStoreEntryA, const tagStoreEntryA&> m_EntriesA;
    // Definitions are large: kept by pointer.
    CArray<tagStoreDefinition*, tagStoreDefinition*> m_Definitions;
    CArray<tagStoreEntryC, const tagStoreEntryC&> m_EntriesC;
};
