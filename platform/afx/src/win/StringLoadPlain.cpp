// CString::LoadString for sources that see the class without <windows.h>
// (where LoadString is not renamed LoadStringA).
#include <afxstr.h>

BOOL AfxLoadStringForCString(CString& rString, UINT nID);

BOOL CString::LoadString(UINT nID)
{
    return AfxLoadStringForCString(*this, nID);
}
