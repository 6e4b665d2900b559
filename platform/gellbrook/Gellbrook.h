// The companion list of Gellbrook.dll: the logged-on user's companions in
// memory, kept in "config\Users\<own id>\Companion.dat" beside the module.
#pragma once

#include "IGellbrook.h"
#include "RefCounted.h"

#include <afx.h>

#include <vector>

class CGellbrook : public CRefCounted<IGellbrook>
{
public:
    // Companion lists beyond this many records are not read.
    static constexpr size_t kMaxCompanions = 4096;

    CGellbrook();
    virtual ~CGellbrook();

    HRESULT QueryInterface(REFGUID iid, void** out) override;

    bool LoadCompanion(DWORD ownUserId) override;
    void SaveCompanion() override;
    const tagCompanionItem* GetCompanionItem(DWORD userId) override;
    bool UpdateCompanion(const tagCompanionItem* item) override;

    // The list file of a user under the given program folder.
    static CString ListFile(const CString& programFolder, DWORD ownUserId);

private:
    bool WriteList() const;
    static CString ModuleFolder();

    DWORD m_dwOwnUserId; // 0: no list loaded
    std::vector<tagCompanionItem> m_Items;
    tagCompanionItem m_Answer; // what GetCompanionItem hands out
};
