#include "ProfileValues.h"

#include <afxwin.h>

int ReadProfileInt(LPCSTR section, LPCSTR key, int defaultValue)
{
    CWinApp* app = AfxGetApp();
    if (app == NULL)
        return defaultValue;
    return (int)app->GetProfileInt(section, key, defaultValue);
}

bool ReadProfileBool(LPCSTR section, LPCSTR key, bool defaultValue)
{
    return ReadProfileInt(section, key, defaultValue ? 1 : 0) != 0;
}

void WriteProfileInt(LPCSTR section, LPCSTR key, int value)
{
    CWinApp* app = AfxGetApp();
    if (app != NULL)
        app->WriteProfileInt(section, key, value);
}

void WriteProfileBool(LPCSTR section, LPCSTR key, bool value)
{
    WriteProfileInt(section, key, value ? 1 : 0);
}
