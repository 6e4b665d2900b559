#include "ManagerText.h"

#include <SkinMessageBox.h>
#include <TextUnit.h>

CString ReadManagerText(CWnd* pDialog, UINT nID, int nMaxBytes)
{
    CString strText;
    pDialog->GetDlgItemText(nID, strText);
    return strText.Left((int)TextCutLength(strText, (size_t)strText.GetLength(), (size_t)nMaxBytes));
}

void PreviewManagerText(CWnd* pDialog, UINT nID, LPCSTR pszTitle, LPCSTR pszEmptyText)
{
    const CString strText = ReadManagerText(pDialog, nID, 1023);
    if (strText.IsEmpty())
        SkinMessageBox(pDialog->GetSafeHwnd(), pszEmptyText, "提示消息", MB_ICONINFORMATION);
    else
        SkinMessageBox(pDialog->GetSafeHwnd(), strText, pszTitle, MB_ICONQUESTION);
    CWnd* pControl = pDialog->GetDlgItem(nID);
    if (pControl != NULL)
        pControl->SetFocus();
}
