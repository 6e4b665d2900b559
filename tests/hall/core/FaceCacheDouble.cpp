#include "FaceCacheDouble.h"

#include "Picture.h"
#include "TextUnit.h"

#include <afxwin.h>

#include <string.h>

CFaceCacheDouble::CFaceCacheDouble() {}

CFaceCacheDouble::~CFaceCacheDouble() {}

CFaceCacheDouble::Call::Call(CFaceCacheDouble* owner) : m_owner(owner)
{
    if (InterlockedIncrement(&owner->m_inside) > 1) {
        std::lock_guard<std::mutex> guard(owner->m_lock);
        owner->m_overlap = true;
    }
    // Widens the window in which an unserialised caller would be seen.
    Sleep(1);
}

CFaceCacheDouble::Call::~Call()
{
    InterlockedDecrement(&m_owner->m_inside);
}

HRESULT CFaceCacheDouble::QueryInterface(REFGUID iid, void** out)
{
    if (iid == IID_ICustomFaceRes || iid == IID_IUnknownEx) {
        *out = static_cast<ICustomFaceRes*>(this);
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

bool CFaceCacheDouble::OpenDatabase(const char* path)
{
    Call call(this);
    std::lock_guard<std::mutex> guard(m_lock);
    m_openedPath = path;
    return true;
}

bool CFaceCacheDouble::HasFace(DWORD userId)
{
    Call call(this);
    std::lock_guard<std::mutex> guard(m_lock);
    return m_entries.count(userId) != 0;
}

int CFaceCacheDouble::GetFaceCount()
{
    Call call(this);
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<int>(m_entries.size());
}

DWORD CFaceCacheDouble::GetFaceUserIdAt(int index)
{
    Call call(this);
    std::lock_guard<std::mutex> guard(m_lock);
    for (const auto& entry : m_entries)
        if (index-- == 0)
            return entry.first;
    return 0;
}

bool CFaceCacheDouble::DrawFace(DWORD userId, CDC* pDC, int x, int y)
{
    return false;
}

bool CFaceCacheDouble::DrawFaceInRect(DWORD userId, CDC* pDC, const RECT* rect)
{
    Call call(this);
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_entries.find(userId);
    if (it == m_entries.end())
        return false;
    ++m_draws;
    return it->second->picture->Draw(pDC->GetSafeHdc(), rect->left, rect->top, rect->right - rect->left,
                                     rect->bottom - rect->top);
}

tagCustomFaceItem* CFaceCacheDouble::GetFaceItem(DWORD userId)
{
    Call call(this);
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_entries.find(userId);
    return it == m_entries.end() ? NULL : &it->second->item;
}

UINT CFaceCacheDouble::GetFaceData(DWORD userId, BYTE* buffer, UINT size)
{
    Call call(this);
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_entries.find(userId);
    if (it == m_entries.end() || size < it->second->dump.size())
        return 0;
    memcpy(buffer, it->second->dump.data(), it->second->dump.size());
    return static_cast<UINT>(it->second->dump.size());
}

CPicture* CFaceCacheDouble::GetFaceImage(DWORD userId)
{
    Call call(this);
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_entries.find(userId);
    return it == m_entries.end() ? NULL : it->second->picture.get();
}

bool CFaceCacheDouble::PutFace(DWORD userId, const char* sign, const BYTE* dump, UINT size)
{
    Call call(this);
    std::unique_ptr<Entry> entry(new Entry);
    entry->picture.reset(new CPicture);
    if (!entry->picture->UnDump(dump, size))
        return false;
    memset(entry->item.szSign, 0, sizeof(entry->item.szSign));
    TextCopyField(entry->item.szSign, sign);
    entry->item.pPicture = entry->picture.get();
    entry->dump.assign(dump, dump + size);
    std::lock_guard<std::mutex> guard(m_lock);
    m_entries[userId] = std::move(entry);
    ++m_puts;
    return true;
}

tagCustomFaceItem* CFaceCacheDouble::LoadFace(DWORD userId)
{
    return GetFaceItem(userId);
}

int CFaceCacheDouble::DeleteFace(DWORD userId)
{
    Call call(this);
    std::lock_guard<std::mutex> guard(m_lock);
    m_entries.erase(userId);
    return 0;
}

std::string CFaceCacheDouble::SignOf(DWORD userId)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_entries.find(userId);
    return it == m_entries.end() ? std::string() : std::string(it->second->item.szSign);
}

int CFaceCacheDouble::PutCount()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_puts;
}

int CFaceCacheDouble::DrawCount()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_draws;
}

bool CFaceCacheDouble::SawOverlap()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_overlap;
}

std::string CFaceCacheDouble::OpenedPath()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_openedPath;
}
