// Runs the global units' start-up from the folder this program lies in and
// prints what it found, for the start-up tests. Boxes are answered by the
// modal responder and printed.
#include <stdio.h>

#include "AfxModalScript.h"
#include "GlobalUnits.h"

int main()
{
    CModalScript script;
    script.Answer(IDOK);
    bool ok = g_GlobalUnits.InitGlobalUnits();

    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(folder), folder);
    printf("result=%d\n", ok ? 1 : 0);
    printf("work=%s\n", g_GlobalUnits.GetWorkDirectory());
    printf("resource=%s\n", g_GlobalUnits.GetResourceDirectory());
    printf("current=%s\\\n", folder);
    printf("font=%d\n", g_GlobalUnits.GetFont()->GetSafeHandle() != NULL ? 1 : 0);
    printf("modules=%d%d%d%d%d%d\n", g_GlobalUnits.m_UserFaceResHelper.HasInterface(),
           g_GlobalUnits.m_GameRankManagerHelper.HasInterface(), g_GlobalUnits.m_DownLoadServiceHelper.HasInterface(),
           g_GlobalUnits.m_GameAvatarResHelper.HasInterface(), g_GlobalUnits.m_RegionManagerHelper.HasInterface(),
           g_GlobalUnits.m_GellbrookHelper.HasInterface());
    if (ok) {
        printf("substation=%lu %s\n", (unsigned long)g_GlobalUnits.GetSubStationId(),
               (LPCSTR)g_GlobalUnits.GetSubStationName());
        printf("provinces=%u\n", (unsigned)g_GlobalUnits.m_RegionManagerHelper.GetInterface()->GetProvinceCount());
        printf("avatar=%d\n", g_GlobalUnits.m_GameAvatarResHelper.GetInterface()->HasAvatar(42) ? 1 : 0);
        printf("string=%s\n", (LPCSTR)g_GlobalUnits.LoadResString(12801));
    }
    for (const CModalScript::Shown& shown : script.Recorded())
        printf("box=%s|%s|%u\n", (LPCSTR)shown.strCaption, (LPCSTR)shown.strText, shown.nType);
    fflush(stdout);
    return 0;
}
