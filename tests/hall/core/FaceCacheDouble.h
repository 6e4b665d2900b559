// A custom-face cache in memory for the face manager tests. It records what
// is asked of it and notices two threads inside it at once.
#pragma once

#include "ICustomFaceRes.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CFaceCacheDouble : public ICustomFaceRes
{
public:
    CFaceCacheDouble();
    ~CFaceCacheDouble();

    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID iid, void** out) override;

    bool OpenDatabase(const char* path) override;
    bool HasFace(DWORD userId) override;
    int GetFaceCount() override;
    DWORD GetFaceUserIdAt(int index) override;
    bool DrawFace(DWORD userId, CDC* pDC, int x, int y) override;
    bool DrawFaceInRect(DWORD userId, CDC* pDC, const RECT* rect) override;
    tagCustomFaceItem* GetFaceItem(DWORD userId) override;
    UINT GetFaceData(DWORD userId, BYTE* buffer, UINT size) override;
    CPicture* GetFaceImage(DWORD userId) override;
    bool PutFace(DWORD userId, const char* sign, const BYTE* dump, UINT size) override;
    tagCustomFaceItem* LoadFace(DWORD userId) override;
    int DeleteFace(DWORD userId) override;

    // Test side; these take the double's own lock.
    std::string SignOf(DWORD userId);
    int PutCount();
    int DrawCount();
    bool SawOverlap();
    std::string OpenedPath();

private:
    struct Entry
    {
        tagCustomFaceItem item;
        std::vector<BYTE> dump;
        std::unique_ptr<CPicture> picture;
    };

    // Marks a call in progress; a second thread inside at the same time is an overlap.
    class Call
    {
    public:
        explicit Call(CFaceCacheDouble* owner);
        ~Call();

    private:
        CFaceCacheDouble* m_owner;
    };

    std::mutex m_lock;
    std::map<DWORD, std::unique_ptr<Entry>> m_entries;
    std::string m_openedPath;
    int m_puts = 0;
    int m_draws = 0;
    long m_inside = 0;
    bool m_overlap = false;
};
