// Holder of one module object created by a run-time library's creation
// export. The holder owns the one reference the export hands out and the
// library handle; it gives both back on CloseInstance and in its destructor.
// Named holders derive from it and fix library, export, class id and
// interface id.
#pragma once

#include <stdio.h>
#include <string.h>

#include "IUnknownEx.h"
#include "TextUnit.h"

// Signature of the creation export ("DllGetClassObject").
typedef HRESULT(WINAPI* ModuleCreateProc)(REFGUID clsid, REFGUID iid, void** out);

template <class I> class CModuleHelper
{
public:
    virtual ~CModuleHelper() { CloseInstance(); }

    bool CreateInstance();

    bool CloseInstance()
    {
        if (m_pInterface != NULL) {
            m_pInterface->Release();
            m_pInterface = NULL;
        }
        if (m_hDllInstance != NULL) {
            FreeLibrary(m_hDllInstance);
            m_hDllInstance = NULL;
        }
        return true;
    }

    I* GetInterface() const { return m_pInterface; }
    bool HasInterface() const { return m_pInterface != NULL; }
    LPCSTR GetErrorDescribe() const { return m_szErrorDescribe; }

protected:
    CModuleHelper(REFGUID clsid, REFGUID iid, LPCSTR moduleDllName, LPCSTR createProcName)
        : m_hDllInstance(NULL), m_pClsid(&clsid), m_pIid(&iid), m_pInterface(NULL)
    {
        TextCopyField(m_szCreateProc, createProcName);
        // A cut library name would load another file: it is left empty and fails to load.
        TextCopyPath(m_szModuleDllName, moduleDllName);
        m_szErrorDescribe[0] = '\0';
    }

private:
    CModuleHelper(const CModuleHelper&) = delete;
    CModuleHelper& operator=(const CModuleHelper&) = delete;

    template <class... A> void SetError(const char* format, A... args)
    {
        // Formatted in full first, so the cut never splits a character.
        char text[1024];
        snprintf(text, sizeof(text), format, args...);
        TextCopyField(m_szErrorDescribe, text);
    }

    // A backslash outside double-byte characters (0x5C is also a trail byte).
    static bool HasFolderPart(LPCSTR name)
    {
        const size_t length = strlen(name);
        for (size_t n = 0; n < length; n += TextCharSize(name, length, n)) {
            if (name[n] == '\\')
                return true;
        }
        return false;
    }

    HMODULE LoadFromOwnFolder();

    char m_szCreateProc[32];
    char m_szModuleDllName[MAX_PATH];
    HMODULE m_hDllInstance;
    const GUID* m_pClsid;
    const GUID* m_pIid;
    I* m_pInterface;
    char m_szErrorDescribe[256];
};

// A library named with a folder may depend on libraries beside it. Loading
// it by its full name with the altered search order finds them there without
// moving the process-wide current folder, which other threads rely on.
template <class I> HMODULE CModuleHelper<I>::LoadFromOwnFolder()
{
    if (!HasFolderPart(m_szModuleDllName))
        return LoadLibraryA(m_szModuleDllName);

    // The altered search order is only defined for a full name.
    char fullName[MAX_PATH];
    DWORD n = GetFullPathNameA(m_szModuleDllName, sizeof(fullName), fullName, NULL);
    if (n == 0 || n >= sizeof(fullName))
        return LoadLibraryA(m_szModuleDllName);
    return LoadLibraryExA(fullName, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <class I> bool CModuleHelper<I>::CreateInstance()
{
    CloseInstance();
    // C++ exceptions from the export are caught here. A hardware fault inside
    // it (access violation) is not: it goes to the process's crash filter,
    // since nothing in a module that faulted half-way can be trusted again.
    try {
        m_hDllInstance = LoadFromOwnFolder();
        if (m_hDllInstance == NULL) {
            SetError("\"%s\"加载失败，错误代码：%ld", m_szModuleDllName, (long)GetLastError());
            return false;
        }

        ModuleCreateProc create = reinterpret_cast<ModuleCreateProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(m_hDllInstance, m_szCreateProc)));
        if (create == NULL) {
            SetError("\"%s\"组件创建函数\"%s\"不存在，错误代码：%ld", m_szModuleDllName, m_szCreateProc,
                     (long)GetLastError());
            return false;
        }

        void* object = NULL;
        HRESULT hr = create(*m_pClsid, *m_pIid, &object);
        // A success code without an object is no success for the caller.
        if (FAILED(hr) || object == NULL) {
            SetError("\"%s\"组件创建函数\"%s\"创建组件失败", m_szModuleDllName, m_szCreateProc);
            return false;
        }
        m_pInterface = static_cast<I*>(object);
        return true;
    } catch (...) {
        m_pInterface = NULL;
        SetError("\"%s\"组件创建函数\"%s\"发生了异常错误", m_szModuleDllName, m_szCreateProc);
        return false;
    }
}
