// Opens the scanner link from wherever this program is started and exits
// with 1 when the link came up, 0 when it did not.
#include <windows.h>

#include "Twain.h"

namespace
{

class CProbeTwain : public CTwain
{
public:
    void TakeImage(HANDLE, TW_IMAGEINFO&) override {}
};

} // namespace

int main()
{
    HWND hWnd = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, GetModuleHandleA(NULL), NULL);
    CProbeTwain twain;
    BOOL bLinked = twain.StartLink(hWnd);
    twain.StopLink();
    DestroyWindow(hWnd);
    return bLinked ? 1 : 0;
}
