#include "RoomPassDlg.h"

IMPLEMENT_DYNAMIC(CRoomPassDlg, CPasswordInputDlg)
IMPLEMENT_DYNAMIC(CTablePassDlg, CPasswordInputDlg)
