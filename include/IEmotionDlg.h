// The emotion picker pop-up of Brindle.dll. A pick is sent to the owner as
// WM_EMOTION_PICK with lParam pointing to a tagEmotion that lives only during
// the call.
#pragma once

#include "IUnknownEx.h"
#include "ModuleHelper.h"

class CWnd;

TAVREL_GUID(CLSID_EmotionDlg, "4AD1E8F8-CE39-40CD-B78F-8BA33FC8D718");
TAVREL_GUID(IID_IEmotionDlg, "C71D647D-541C-46D0-B040-1B4086E612F4");
TAVREL_GUID(IID_IEmotionDlg2, "DC9B65E7-7580-E1EC-AAE5-97B10B3016E1");

inline constexpr UINT WM_EMOTION_PICK = WM_USER + 100;

struct tagEmotion
{
    char szPath[260]; // full file path of the picture
    char szCode[16];  // "/unem" for a members' emotion picked without the level
    char szName[16];
};
static_assert(sizeof(tagEmotion) == 292, "emotion record layout");

struct IEmotionDlg : IUnknownEx
{
    virtual bool Create(CWnd* pOwner) = 0;
    virtual HWND GetSafeHwnd() = 0; // null before Create
    virtual void Destroy() = 0;
    virtual bool LoadConfig(const char* dir) = 0;
    virtual void GetSize(int size[2]) = 0; // width, height
    virtual void ShowAt(int x, int y) = 0;
};

struct IEmotionDlg2 : IEmotionDlg
{
    virtual void SetVipLevel(int level) = 0; // 1 to 6 open the members' page
};

class CEmotionDlgHelper : public CModuleHelper<IEmotionDlg>
{
public:
    CEmotionDlgHelper()
        : CModuleHelper<IEmotionDlg>(CLSID_EmotionDlg, IID_IEmotionDlg, "Brindle.dll", "DllGetClassObject")
    {}
};
