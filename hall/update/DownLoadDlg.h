// The game download window: the download service's missions and the
// installation of what they fetched. Created from template IDD by the global
// attemper, registered with the download service, shown per mission.
#pragma once

#include <afxwin.h>

class CDownLoadDlg : public CDialog
{
public:
    enum
    {
        IDD = 103
    };

    CDownLoadDlg();
    virtual ~CDownLoadDlg();
};
