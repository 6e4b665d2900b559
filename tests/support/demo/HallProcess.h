// Tavrel.exe assembled in a program folder of its own (the build's programs
// and libraries, the demo games with the stand-in game client, a server
// list) and started as a process; its windows found and driven from this
// process. Controls whose texts live in the hall's memory (tree items, list
// rows, item rectangles) are read through a buffer allocated in its process.
#pragma once

#include <winsock2.h> // before the system headers, for the servers' users
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace e2e
{

// Cross-process waits are generous: the 32-bit run is emulated.
const DWORD kWait = 60000;

// Ids of the logon dialog's controls and of the boxes it shows.
const int kAccountBoxId = 1003;
const int kPasswordHostId = 1099;
const int kPasswordEditId = 200;
const int kRememberId = 1009;
const int kLogonProgressId = 4;

// The folder of the test program, where the build puts every program.
std::string BuildFolder();
std::string TextOf(HWND hWnd);
std::string ClassOf(HWND hWnd);
// The first descendant the test accepts (depth first), or null.
HWND FindChild(HWND hParent, const std::function<bool(HWND)>& accept);
// Every descendant the test accepts.
std::vector<HWND> FindChildren(HWND hParent, const std::function<bool(HWND)>& accept);
// A window holding a static or edit whose text contains the words.
bool ShowsText(HWND hWnd, const std::string& words);
// Posts a button's click to its parent as the button itself would.
void Click(HWND hButton);
// The window's thread takes a message and answers it within the wait.
bool Answers(HWND hWnd);
// With TAVREL_E2E_SHOTS naming a folder, saves what the screen shows of the
// window there as <name>.png (a real display is needed for anything but
// black); otherwise does nothing.
void Shot(HWND hWnd, const std::string& name);

// A visible top-level window of any process that the test accepts; null
// when none comes in time.
HWND WaitTopWindow(const std::function<bool(HWND)>& accept, DWORD dwTimeout = kWait);

class HallProcess
{
public:
    // A program folder whose server list names only the given hall port.
    explicit HallProcess(WORD wHallPort);
    ~HallProcess();
    HallProcess(const HallProcess&) = delete;
    HallProcess& operator=(const HallProcess&) = delete;

    const CTempFolder& Folder() const { return m_Folder; }
    // Readies the user-service program beside the hall: its server list
    // naming only that port, the face editor's pictures, and where a new
    // custom face is uploaded.
    void InstallService(WORD wServicePort, const std::string& faceUploadUrl);
    bool Start();
    // What failed so far, assembling the folder or starting, with the
    // errors; empty when nothing did.
    const std::string& Failure() const { return m_Failure; }
    // Ends it if it still runs, and waits for that.
    void Kill();
    bool Ended(DWORD dwTimeout = kWait);
    DWORD ExitCode();
    DWORD ProcessId() const { return m_Process.dwProcessId; }

    // A visible top-level window of the hall that the test accepts; null
    // when none comes, or the hall ends first.
    HWND WaitWindow(const std::function<bool(HWND)>& accept, DWORD dwTimeout = kWait);
    // A descendant of the window the test accepts, waited for.
    HWND WaitChild(HWND hParent, const std::function<bool(HWND)>& accept, DWORD dwTimeout = kWait);

    // The logon dialog, the frame (window class "Tavrel"), a box showing
    // the words.
    HWND WaitLogonDialog() { return WaitWindow(IsLogonDialog); }
    HWND WaitFrame();
    HWND WaitBox(const std::string& words);
    static bool IsLogonDialog(HWND hWnd);
    // The hall's visible windows with their texts, for failure messages.
    std::string DescribeWindows();
    // The hall's visible top-level windows now.
    std::vector<HWND> TopWindows();
    // The dialog waits for input again: logon button shown, progress hidden.
    static bool IsLogonIdle(HWND hDialog);
    // Types into the dialog and presses the logon button; with bRemember the
    // account's password is kept for the next start.
    static void LogOn(HWND hDialog, const char* account, const char* password, bool bRemember = false);

    // Tree items, in the hall's memory.
    struct tagTreeItem
    {
        HTREEITEM hItem;
        HTREEITEM hParent;
        std::string strText;
    };
    std::vector<tagTreeItem> TreeItems(HWND hTree);
    // Expands the item's parents, scrolls it into view and answers its
    // rectangle in the tree's client coordinates.
    bool ShowTreeItem(HWND hTree, HTREEITEM hItem, RECT& rect);
    // Double-clicks, as a player would, the last item whose text holds the
    // words; false when there is none.
    bool DoubleClickTreeItem(HWND hTree, const std::string& words);
    // The texts of every row of a report list, its columns joined by '|'.
    std::vector<std::string> ListRows(HWND hList);

private:
    bool ReadRemote(const void* pRemote, void* pLocal, size_t nSize);
    bool WriteRemote(void* pRemote, const void* pLocal, size_t nSize);
    void Copy(const std::string& from, const std::string& to);

    CTempFolder m_Folder;
    PROCESS_INFORMATION m_Process = {};
    HANDLE m_hAccess = NULL; // for the hall's memory
    void* m_pRemote = NULL;  // a page there
    std::string m_Failure;
};

} // namespace e2e
