#include "TableResource.h"

#include "GlobalUnits.h"
#include "IniFile.h"
#include "TextUnit.h"
#include "resource.h"

namespace
{

const char kSection[] = "TableResorceInfo";
const COLORREF kMagentaKey = RGB(255, 0, 255);

CString ReadText(const CIniFile& ini, const char* key)
{
    CString value;
    ini.GetString(kSection, key, value, "");
    return value;
}

CPoint ReadPoint(const CIniFile& ini, const char* key)
{
    CPoint point;
    StringToPoint(point, ReadText(ini, key));
    return point;
}

CRect ReadRect(const CIniFile& ini, const char* key)
{
    CRect rect;
    StringToRect(rect, ReadText(ini, key));
    return rect;
}

COLORREF ReadColor(const CIniFile& ini, const char* key)
{
    COLORREF colour = 0;
    StringToColor(colour, ReadText(ini, key));
    return colour;
}

// A count from the file indexes the per-chair arrays: kept within them.
int ReadChairCount(const CIniFile& ini)
{
    int count = ini.GetInt(kSection, "ChairCount", 0);
    if (count < 0)
        return 0;
    return count > MAX_TABLE_CHAIR ? MAX_TABLE_CHAIR : count;
}

} // namespace

CTableResource::CTableResource()
    : m_wWidth(0), m_wHeight(0), m_crBackGround(0), m_crChairBackGround(0), m_ptLock(0, 0), m_ptTableIdentify(0, 0),
      m_ptCycleMatchLog(18, 13), m_nOffYCycleMatchButton(130), m_crName(0), m_crMemberName(0), m_crNote(0),
      m_crTableID(0), m_crTableName(0)
{
    memset(m_szGameDirectory, 0, sizeof(m_szGameDirectory));
    memset(m_nDrawStyle, 0, sizeof(m_nDrawStyle));
    for (int i = 0; i < MAX_TABLE_CHAIR; ++i) {
        m_ptReady[i].SetPoint(0, 0);
        m_rcName[i].SetRectEmpty();
        m_rcChair[i].SetRectEmpty();
    }
    m_rcNote0.SetRectEmpty();
    m_rcTableID.SetRectEmpty();
    m_rcTableName.SetRectEmpty();
    m_rcTableMultiple.SetRectEmpty();
    m_rcTableInnings.SetRectEmpty();
}

CTableResource::~CTableResource()
{
    ResetTableResource();
    m_PicMale.Destroy();
    m_PicFemale.Destroy();
    m_PicNotice.Destroy();
    m_PicTableIdentify.Destroy();
    m_PicCycleLogo.Destroy();
    m_PicCycleStart.Destroy();
}

void CTableResource::ResetTableResource()
{
    m_ImageLocker.RemoveLoadInfo();
    m_ImagePlaying.RemoveLoadInfo();
    m_ImageReady.RemoveLoadInfo();
    m_ImageNormal.RemoveLoadInfo();
    m_wWidth = 0;
    m_wHeight = 0;
    m_crBackGround = 0;
    m_crName = 0;
    m_crNote = 0;
    m_crTableID = 0;
    memset(m_nDrawStyle, 0, sizeof(m_nDrawStyle));
}

CString CTableResource::GetSkinFolder() const
{
    CString folder;
    folder.Format("%s\\%s\\", g_GlobalUnits.GetWorkDirectory(), m_szGameDirectory);
    return folder;
}

int CTableResource::LoadChairs(const CString& strIniFile, const char* pszReady, const char* pszName,
                               const char* pszChair, const char* pszStyle)
{
    CIniFile ini(strIniFile, 4096);
    int count = ReadChairCount(ini);
    CString key;
    for (int i = 0; i < count; ++i) {
        key.Format(pszReady, i);
        m_ptReady[i] = ReadPoint(ini, key);
        key.Format(pszName, i);
        m_rcName[i] = ReadRect(ini, key);
        key.Format(pszChair, i);
        m_rcChair[i] = ReadRect(ini, key);
        key.Format(pszStyle, i);
        m_nDrawStyle[i] = DWORD(ini.GetInt(kSection, key, 0));
    }
    for (int i = count; i < MAX_TABLE_CHAIR; ++i) {
        m_ptReady[i].SetPoint(0, 0);
        m_rcName[i].SetRectEmpty();
        m_rcChair[i].SetRectEmpty();
        m_nDrawStyle[i] = 0;
    }
    return count;
}

void CTableResource::TakeSizeFromNormal()
{
    m_wWidth = WORD(m_ImageNormal.GetWidth());
    m_wHeight = WORD(m_ImageNormal.GetHeight());
    COLORREF background = m_ImageNormal.GetPixel(0, 0);
    COLORREF chair = m_ImageNormal.GetPixel(0, 20);
    m_crBackGround = background != CLR_INVALID ? background : 0;
    // A picture less than 21 pixels high has no chair colour of its own.
    m_crChairBackGround = chair != CLR_INVALID ? chair : m_crBackGround;
}

bool CTableResource::LoadTableResource(const char* pszGameDirectory)
{
    TextCopyField(m_szGameDirectory, pszGameDirectory != NULL ? pszGameDirectory : "");
    const CString folder = GetSkinFolder();
    const CString iniFile = folder + "table.ini";

    CIniFile ini(iniFile, 4096);
    m_ptLock = ReadPoint(ini, "ptLock");
    m_rcNote0 = ReadRect(ini, "rtNote0");
    m_rcTableID = ReadRect(ini, "rtTableID");
    m_crTableID = ReadColor(ini, "crTableID");
    m_crName = ReadColor(ini, "crName");
    if (ReadText(ini, "crMemberName").IsEmpty())
        m_crMemberName = RGB(255, 255, 0);
    else
        m_crMemberName = ReadColor(ini, "crMemberName");
    m_crNote = ReadColor(ini, "crNote");
    m_crTableName = ReadColor(ini, "crTableName");
    m_rcTableName = ReadRect(ini, "rtTableName");
    m_rcTableMultiple = ReadRect(ini, "rtTableMultiple");
    m_rcTableInnings = ReadRect(ini, "rtTableInnings");
    m_ptTableIdentify = ReadPoint(ini, "ptTableIdentify");
    if (!ReadText(ini, "ptCycleMatchLog").IsEmpty())
        m_ptCycleMatchLog = ReadPoint(ini, "ptCycleMatchLog");
    m_nOffYCycleMatchButton = ini.GetInt(kSection, "nOffYCycleMatchButton", m_nOffYCycleMatchButton);
    LoadChairs(iniFile, "ptReady%d", "rtName%d", "rtChair%d", "nDrawStyle%d");

    HINSTANCE resources = AfxGetResourceHandle();
    m_ImageLocker.SetLoadInfo(folder + "Locker.BMP");
    if (m_ImageLocker.IsNull())
        m_ImageLocker.SetLoadInfo(IDB_TABLE_LOCKER, resources);
    m_ImageReady.SetLoadInfo(folder + "UserReady.BMP");
    if (m_ImageReady.IsNull())
        m_ImageReady.SetLoadInfo(IDB_TABLE_USER_READY, resources);
    m_ImagePlaying.SetLoadInfo(folder + "TablePlaying.BMP");
    m_ImageNormal.SetLoadInfo(folder + "TableNormal.BMP");
    if (m_ImageLocker.IsNull() || m_ImageReady.IsNull() || m_ImagePlaying.IsNull() || m_ImageNormal.IsNull()) {
        ResetTableResource();
        return false;
    }
    m_PicTableIdentify.Destroy();
    m_PicTableIdentify.Load(folder + "tableidentify.png");

    TakeSizeFromNormal();
    return true;
}

void CTableResource::LoadMatchCheatResource(bool bCycle)
{
    const CString folder = GetSkinFolder();
    if (!bCycle) {
        LoadChairs(folder + "table.ini", "ptReadyMatchCheat%d", "rtNameMatchCheat%d", "rtChairMatchCheat%d",
                   "nDrawStyleMatchCheat%d");
        m_ImageNormal.RemoveLoadInfo();
        m_ImageNormal.SetLoadInfo(folder + "TableNormal2.bmp");
        m_PicNotice.Destroy();
        m_PicNotice.Load(folder + "fzbgonggao.png");
        CString avatars;
        avatars.Format("%sgameavatar\\", g_GlobalUnits.GetResourceDirectory());
        m_PicMale.Destroy();
        m_PicMale.Load(avatars + "male.png");
        m_PicFemale.Destroy();
        m_PicFemale.Load(avatars + "female.png");
    } else {
        m_ImageNormal.RemoveLoadInfo();
        m_ImageNormal.SetLoadInfo(folder + "CycleTable.png");
        m_ImagePlaying.RemoveLoadInfo();
        m_ImagePlaying.SetLoadInfo(folder + "CycleTable.png");
        m_PicCycleLogo.Destroy();
        m_PicCycleLogo.Load(folder + "CycleLogo.png");
        m_PicCycleStart.Destroy();
        m_PicCycleStart.Load(folder + "CycleStart.png");
    }
    TakeSizeFromNormal();
}
