// The start benchmark's baseline: the least Win32 program that shows a
// dialog (from a template in memory) and ends when it is cancelled.
#include <windows.h>

#include <string.h>

namespace
{

INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
        EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    // A template with three buttons (ids 1, 3 and 4), as the hall's logon
    // dialog has, so the benchmark finds both the same way.
    alignas(4) WORD buffer[256];
    memset(buffer, 0, sizeof(buffer));
    DLGTEMPLATE* dlg = (DLGTEMPLATE*)buffer;
    dlg->style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    dlg->cdit = 3;
    dlg->cx = 200;
    dlg->cy = 100;
    WORD* p = (WORD*)(dlg + 1);
    *p++ = 0; // no menu
    *p++ = 0; // standard class
    *p++ = 0; // no title
    const WORD ids[] = {IDOK, 3, 4};
    for (int i = 0; i < 3; ++i) {
        p = (WORD*)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
        DLGITEMTEMPLATE* item = (DLGITEMTEMPLATE*)p;
        item->style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
        item->x = (short)(10 + 60 * i);
        item->y = 70;
        item->cx = 50;
        item->cy = 14;
        item->id = ids[i];
        p = (WORD*)(item + 1);
        *p++ = 0xFFFF;
        *p++ = 0x0080; // button
        *p++ = 0;      // no text
        *p++ = 0;      // no creation data
    }
    return (int)DialogBoxIndirectA(hInstance, dlg, NULL, DialogProc);
}
