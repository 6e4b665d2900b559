#include "RichEditTestSupport.h"

#include "Corvath.h"

bool EnsureCorvathRegistered()
{
    HKEY key = NULL;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{06ADA938-0FB0-4BC0-B19B-0A38AB17F182}\\InprocServer32", 0, KEY_READ,
                        &key) == ERROR_SUCCESS) {
        char path[MAX_PATH] = "";
        DWORD size = sizeof(path);
        LONG result = ::RegQueryValueExA(key, NULL, NULL, NULL, (BYTE*)path, &size);
        ::RegCloseKey(key);
        if (result == ERROR_SUCCESS && ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            return true;
    }
    char folder[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(NULL, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    *strrchr(folder, '\\') = '\0';
    std::string command = std::string("regsvr32.exe /s \"") + folder + "\\Corvath.dll\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, folder, &startup, &process))
        return false;
    ::WaitForSingleObject(process.hProcess, 120000);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code == 0;
}

std::vector<RichObject> RichObjects(CRichEditCtrl& rich)
{
    std::vector<RichObject> objects;
    IRichEditOle* ole = rich.GetIRichEditOle();
    if (ole == NULL)
        return objects;
    for (LONG i = 0; i < ole->GetObjectCount(); ++i) {
        REOBJECT reobject = {};
        reobject.cbStruct = sizeof(reobject);
        if (ole->GetObject(i, &reobject, REO_GETOBJ_POLEOBJ) != S_OK)
            continue;
        RichObject object = {reobject.cp, reobject.clsid, ""};
        ICorvathPicture* picture = NULL;
        if (reobject.poleobj != NULL &&
            reobject.poleobj->QueryInterface(IID_ICorvathPicture, (void**)&picture) == S_OK) {
            char file[MAX_PATH] = "";
            picture->GetFile(file, sizeof(file));
            object.file = file;
            picture->Release();
        }
        if (reobject.poleobj != NULL)
            reobject.poleobj->Release();
        objects.push_back(object);
    }
    ole->Release();
    return objects;
}

std::string RichText(CRichEditCtrl& rich)
{
    GETTEXTLENGTHEX lengthEx = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    LONG length = (LONG)::SendMessageW(rich.m_hWnd, EM_GETTEXTLENGTHEX, (WPARAM)&lengthEx, 0);
    std::wstring wide(size_t(length) + 1, L'\0');
    GETTEXTEX get = {};
    get.cb = DWORD(wide.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    LONG got = (LONG)::SendMessageW(rich.m_hWnd, EM_GETTEXTEX, (WPARAM)&get, (LPARAM)&wide[0]);
    wide.resize(size_t(got));
    for (const RichObject& object : RichObjects(rich))
        if (object.cp >= 0 && size_t(object.cp) < wide.size())
            wide[size_t(object.cp)] = IsEqualCLSID(object.clsid, CLSID_Corvath) ? L'@' : L'#';
    int bytes = ::WideCharToMultiByte(936, 0, wide.c_str(), int(wide.size()), NULL, 0, NULL, NULL);
    std::string text(size_t(bytes), '\0');
    ::WideCharToMultiByte(936, 0, wide.c_str(), int(wide.size()), &text[0], bytes, NULL, NULL);
    return text;
}

CHARFORMAT2 RichFormatAt(CRichEditCtrl& rich, long cp)
{
    CHARRANGE saved;
    rich.GetSel(saved);
    rich.SetSel(cp, cp + 1);
    CHARFORMAT2 format = {};
    format.dwMask = CFM_COLOR | CFM_LINK | CFM_PROTECTED;
    rich.GetSelectionCharFormat(format);
    rich.SetSel(saved);
    return format;
}

CRichEditHost::CRichEditHost() : m_bOle(SUCCEEDED(::OleInitialize(NULL))) {}

CRichEditHost::~CRichEditHost()
{
    if (m_Rich.GetSafeHwnd() != NULL)
        m_Rich.DestroyWindow();
    if (m_Parent.GetSafeHwnd() != NULL)
        m_Parent.DestroyWindow();
    if (m_bOle)
        ::OleUninitialize();
}

bool CRichEditHost::Create(int cx, int cy)
{
    return m_bOle && AfxInitRichEdit2() &&
           m_Parent.CreateEx(0, AfxRegisterWndClass(0), "chat", WS_OVERLAPPEDWINDOW, CRect(0, 0, cx + 20, cy + 40),
                             NULL, 0) &&
           m_Rich.Create(ES_MULTILINE | ES_NOHIDESEL | WS_VISIBLE | WS_CHILD | WS_VSCROLL, CRect(0, 0, cx, cy),
                         &m_Parent, 100);
}
