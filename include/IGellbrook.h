// The companion (friends) module, Gellbrook.dll: the logged-on user's
// friends and detested players, one record per other user.
#pragma once

#include "IUnknownEx.h"
#include "ModuleHelper.h"

TAVREL_GUID(CLSID_Gellbrook, "421374C0-4219-4D61-800D-E5BD9D6F245E");
TAVREL_GUID(IID_IGellbrook, "DD4C49FC-D348-4FA0-BB9E-29B3E7202DA6");

// Relation of a companion record.
enum
{
    COMPANION_NONE = 0,
    COMPANION_FRIEND = 1,
    COMPANION_DETEST = 2
};

// One companion; also the file record of the module (little-endian).
struct tagCompanionItem
{
    DWORD dwUserID;
    WORD wFaceID;
    WORD wReserved;
    DWORD dwCompanion; // COMPANION_*
    char szNickName[32];
    BYTE cbReserved[132];
};
static_assert(sizeof(tagCompanionItem) == 176, "companion record layout");

struct IGellbrook : IUnknownEx
{
    // After a logon: the records of that user become the module's list.
    virtual bool LoadCompanion(DWORD ownUserId) = 0;
    // When the hall closes: the list is written and forgotten.
    virtual void SaveCompanion() = 0;
    // The record of a user, valid until the next call into the module; null
    // when the user is no companion.
    virtual const tagCompanionItem* GetCompanionItem(DWORD userId) = 0;
    // Adds or replaces the user's record; a relation of COMPANION_NONE removes
    // it. False without a loaded list or for a null record.
    virtual bool UpdateCompanion(const tagCompanionItem* item) = 0;
};

class CGellbrookHelper : public CModuleHelper<IGellbrook>
{
public:
    CGellbrookHelper()
        : CModuleHelper<IGellbrook>(CLSID_Gellbrook, IID_IGellbrook, "Gellbrook.dll", "DllGetClassObject")
    {}
};
