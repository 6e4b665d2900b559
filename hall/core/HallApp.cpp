#include "HallApp.h"

namespace
{
IHallApp* g_pHallApp = NULL;
}

IHallApp* CHallApp::Install(IHallApp* pApp)
{
    IHallApp* previous = g_pHallApp;
    g_pHallApp = pApp;
    return previous;
}

IHallApp* CHallApp::Get()
{
    return g_pHallApp;
}

CClientDataCenter* CHallApp::GetClientDataCenter()
{
    return g_pHallApp != NULL ? g_pHallApp->GetClientDataCenter() : NULL;
}
