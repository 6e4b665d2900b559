// The global units' text parsers and the browser launch.
#include "GlobalUnits.h"

#include <afxtime.h>
#include <shellapi.h>
#include <stdlib.h>

#include "SplitString.h"

namespace
{

int Field(const CStringArray& fields, int index)
{
    return index < fields.GetSize() ? atoi(fields[index]) : 0;
}

} // namespace

LONGLONG ParseDateTime(LPCSTR text)
{
    if (text == NULL)
        return 0;
    CStringArray dateFields;
    SplitString(text, '-', dateFields);
    if (dateFields.GetSize() < 3)
        return 0;

    CStringArray timeFields;
    CStringArray pieces;
    SplitString(text, ' ', pieces);
    if (pieces.GetSize() >= 2)
        SplitString(pieces[1], ':', timeFields);

    try {
        CTime time(Field(dateFields, 0), Field(dateFields, 1), Field(dateFields, 2), Field(timeFields, 0),
                   Field(timeFields, 1), Field(timeFields, 2), -1);
        return time.GetTime();
    } catch (CException* e) {
        e->Delete();
        return 0;
    }
}

void StringToRect(CRect& rect, LPCSTR text)
{
    CStringArray fields;
    SplitString(text != NULL ? text : "", ' ', fields);
    rect.SetRect(Field(fields, 0), Field(fields, 1), Field(fields, 2), Field(fields, 3));
}

void StringToPoint(CPoint& point, LPCSTR text)
{
    CStringArray fields;
    SplitString(text != NULL ? text : "", ' ', fields);
    point.x = Field(fields, 0);
    point.y = Field(fields, 1);
}

void StringToColor(COLORREF& color, LPCSTR text)
{
    CStringArray fields;
    SplitString(text != NULL ? text : "", ' ', fields);
    color = RGB(Field(fields, 0), Field(fields, 1), Field(fields, 2));
}

// ------------------------------------------------------------------ browser

namespace
{

CBrowserLauncher g_SystemLauncher;
CBrowserLauncher* g_pLauncher = &g_SystemLauncher;

} // namespace

CBrowserLauncher* CBrowserLauncher::Install(CBrowserLauncher* launcher)
{
    CBrowserLauncher* previous = g_pLauncher;
    g_pLauncher = launcher != NULL ? launcher : &g_SystemLauncher;
    return previous == &g_SystemLauncher ? NULL : previous;
}

INT_PTR CBrowserLauncher::ShellOpen(LPCSTR url, int showCommand)
{
    return (INT_PTR)ShellExecuteA(NULL, "open", url, NULL, NULL, showCommand);
}

bool CBrowserLauncher::ReadClassValue(LPCSTR key, CString& value)
{
    LONG size = 0;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key, NULL, &size) != ERROR_SUCCESS)
        return false;
    if (size <= 0) {
        value.Empty();
        return true;
    }
    LONG got = size;
    LONG result = RegQueryValueA(HKEY_CLASSES_ROOT, key, value.GetBuffer(size), &got);
    value.ReleaseBuffer(result == ERROR_SUCCESS && got > 0 && got <= size ? got - 1 : 0);
    return result == ERROR_SUCCESS;
}

bool CBrowserLauncher::StartProcess(LPCSTR commandLine)
{
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof(process));
    CString line(commandLine);
    if (!CreateProcessA(NULL, line.GetBuffer(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

int OpenUrlInBrowser(LPCSTR url, int showCommand)
{
    if (url == NULL || url[0] == '\0')
        return 0;
    CBrowserLauncher* launcher = g_pLauncher;
    int shellResult = (int)launcher->ShellOpen(url, showCommand);
    if (shellResult > 32)
        return shellResult;

    // The ".htm" class's open command.
    CString fileClass, verb, command;
    if (!launcher->ReadClassValue(".htm", fileClass) || fileClass.IsEmpty())
        return shellResult;
    CString openKey = fileClass + "\\shell\\open";
    if (!launcher->ReadClassValue(openKey, verb))
        return shellResult;
    if (!launcher->ReadClassValue(openKey + "\\" + (verb.IsEmpty() ? CString("command") : verb), command))
        return shellResult;

    int cut = command.Find("\"%1\"");
    if (cut < 0)
        cut = command.Find("%1");
    if (cut >= 0)
        command = command.Left(cut);
    command.TrimRight();
    // The address is one argument whatever it holds.
    CString quoted(url);
    quoted.Replace("\"", "%22");
    command += " \"" + quoted + "\"";
    if (!launcher->StartProcess(command))
        return shellResult;
    return 33;
}
