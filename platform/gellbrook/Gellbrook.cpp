#include "Gellbrook.h"

#include <stdio.h>
#include <string.h>

CGellbrook::CGellbrook() : m_dwOwnUserId(0)
{
    memset(&m_Answer, 0, sizeof(m_Answer));
}

CGellbrook::~CGellbrook() {}

HRESULT CGellbrook::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IGellbrook) || IsEqualGUID(iid, IID_IUnknownEx)) {
        return Answer(static_cast<IGellbrook*>(this), out);
    }
    *out = NULL;
    return E_NOINTERFACE;
}

CString CGellbrook::ModuleFolder()
{
    HMODULE module = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CGellbrook::ModuleFolder), &module);
    char path[MAX_PATH] = "";
    DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return CString();
    char* slash = strrchr(path, '\\');
    if (slash != NULL)
        slash[1] = '\0';
    return CString(path);
}

CString CGellbrook::ListFile(const CString& programFolder, DWORD ownUserId)
{
    CString path;
    path.Format("%sconfig\\Users\\%lu\\Companion.dat", (LPCSTR)programFolder, (unsigned long)ownUserId);
    return path;
}

bool CGellbrook::LoadCompanion(DWORD ownUserId)
{
    m_Items.clear();
    m_dwOwnUserId = ownUserId;
    if (ownUserId == 0)
        return false;

    FILE* file = fopen(ListFile(ModuleFolder(), ownUserId), "rb");
    if (file == NULL)
        return true; // a user without companions yet
    tagCompanionItem item;
    while (m_Items.size() < kMaxCompanions && fread(&item, sizeof(item), 1, file) == 1) {
        if (item.dwUserID == 0 || (item.dwCompanion != COMPANION_FRIEND && item.dwCompanion != COMPANION_DETEST))
            continue;
        item.szNickName[sizeof(item.szNickName) - 1] = '\0';
        m_Items.push_back(item);
    }
    fclose(file);
    return true;
}

void CGellbrook::SaveCompanion()
{
    if (m_dwOwnUserId != 0)
        WriteList();
    m_Items.clear();
    m_dwOwnUserId = 0;
}

const tagCompanionItem* CGellbrook::GetCompanionItem(DWORD userId)
{
    for (const tagCompanionItem& item : m_Items) {
        if (item.dwUserID == userId) {
            m_Answer = item;
            return &m_Answer;
        }
    }
    return NULL;
}

bool CGellbrook::UpdateCompanion(const tagCompanionItem* item)
{
    if (item == NULL || m_dwOwnUserId == 0 || item->dwUserID == 0)
        return false;
    for (size_t i = 0; i < m_Items.size(); ++i) {
        if (m_Items[i].dwUserID == item->dwUserID) {
            m_Items.erase(m_Items.begin() + i);
            break;
        }
    }
    if (item->dwCompanion == COMPANION_FRIEND || item->dwCompanion == COMPANION_DETEST) {
        if (m_Items.size() >= kMaxCompanions)
            return false;
        tagCompanionItem copy = *item;
        copy.szNickName[sizeof(copy.szNickName) - 1] = '\0';
        m_Items.push_back(copy);
    }
    return WriteList();
}

// Written beside the old file and renamed over it, so a failed write keeps
// the old list.
bool CGellbrook::WriteList() const
{
    CString path = ListFile(ModuleFolder(), m_dwOwnUserId);
    CString folder = path.Left(path.ReverseFind('\\'));
    CString users = folder.Left(folder.ReverseFind('\\'));
    CreateDirectoryA(users.Left(users.ReverseFind('\\')), NULL);
    CreateDirectoryA(users, NULL);
    CreateDirectoryA(folder, NULL);

    CString temp = path + ".new";
    FILE* file = fopen(temp, "wb");
    if (file == NULL)
        return false;
    bool written =
        m_Items.empty() || fwrite(m_Items.data(), sizeof(tagCompanionItem), m_Items.size(), file) == m_Items.size();
    written = (fclose(file) == 0) && written;
    if (!written || !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp);
        return false;
    }
    return true;
}
