// Fixtures of the table grid tests: a program folder with a game's table
// skin of known colours, faces and avatars for the picture modules, users of
// a room, and a recording owner for one table view.
#pragma once

#include <afxwin.h>

#include "SkinTestSupport.h"
#include "TableFrameView.h"
#include "TableView.h"
#include "UserItem.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tabletest
{
// Colours of the pictures the skin is made of.
const COLORREF kBackground = RGB(10, 20, 30);     // pixel (0,0) of TableNormal
const COLORREF kChairColour = RGB(40, 50, 60);    // pixel (0,20) of TableNormal
const COLORREF kNormal = RGB(30, 60, 90);         // the rest of TableNormal
const COLORREF kPlaying = RGB(90, 30, 30);        // TablePlaying
const COLORREF kLock = RGB(200, 160, 40);         // Locker.BMP, magenta at its corners
const COLORREF kReady = RGB(40, 170, 60);         // UserReady.BMP, magenta border
const COLORREF kIdentify = RGB(70, 0, 140);       // tableidentify.png
const COLORREF kFace = RGB(0, 120, 240);          // system face 0 ("1-1.png")
const COLORREF kAvatar = RGB(240, 120, 0);        // the avatar of user 77
const COLORREF kMaleDefault = RGB(0, 200, 200);   // default1.png
const COLORREF kFemaleDefault = RGB(200, 0, 200); // default2.png
const COLORREF kName = RGB(0, 0, 255);
const COLORREF kMemberName = RGB(255, 0, 0);
const COLORREF kTableID = RGB(0, 255, 0);
const COLORREF kTableName = RGB(255, 255, 255);
const COLORREF kMagenta = RGB(255, 0, 255);

const int kTableWidth = 200;
const int kTableHeight = 150;
const char kGameFolder[] = "Chess";

// The geometry of the four-chair skin (table coordinates).
extern const RECT kChairRects[4];
extern const RECT kNameRects[4];
extern const POINT kReadyPoints[4];
extern const POINT kLockPoint;
extern const RECT kTableIDRect;
extern const RECT kTableNameRect;
extern const RECT kMultipleRect;
extern const RECT kInningsRect;
extern const POINT kIdentifyPoint;

// A program folder (the global units' work directory while it lives) holding
// one game skin.
class SkinFolder
{
public:
    SkinFolder();
    ~SkinFolder();

    const skintest::TempFolder& Folder() const { return m_folder; }
    // "<game>\<name>" below the program folder.
    std::string GameFile(const std::string& name) const;
    // table.ini with the default keys, each replaced or removed (empty
    // value: the key is left out) by the overrides.
    void WriteIni(const std::map<std::string, std::string>& overrides = {}, const std::string& extra = "");
    void WritePictures();
    void WritePicture(const std::string& name, int width, int height, COLORREF colour);
    // The player list's four pictures: a list takes its sink only with them.
    void WriteListPictures();
    void Remove(const std::string& name);

private:
    skintest::TempFolder m_folder;
};

// A PNG file of one colour.
bool WritePng(const CTempFolder& folder, const std::string& name, int width, int height, COLORREF colour);
bool WritePng(const CTempFolder& folder, const std::string& name, const skintest::Pixels& pixels);
// Pictures for the face and avatar modules, loaded into the global units'
// module holders (Brindle.dll and Rivesh.dll beside the test program).
bool LoadPictureModules(const skintest::TempFolder& folder);

// A room user; owned by the test.
std::unique_ptr<CUserItem> MakeUser(DWORD userId, const char* nickName, WORD faceId = 0, BYTE gender = 1,
                                    DWORD rank = 0, BYTE status = USER_STATUS_SIT, const char* customFace = "");

// A grid that only records what a table view asks of it.
class OwnerDouble : public ITableFrameView
{
public:
    struct Update
    {
        WORD table;
        bool force;
    };
    std::vector<Update> updates;
    std::vector<ITableView*> reorders;
    WORD identifyTable = INVALID_TABLE_ID;
    int cycleState = 0;
    BYTE tableMode = 0;

    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID, void** out) override
    {
        *out = NULL;
        return E_NOINTERFACE;
    }
    bool CreateTableFrame(CWnd*, UINT) override { return false; }
    void SetTableMode(DWORD, bool) override {}
    bool InitTableFrame(WORD, WORD, CGame*, IUnknownEx*) override { return false; }
    void DestroyTableFrame() override {}
    void UpdateTableView(WORD table, bool force) override { updates.push_back({table, force}); }
    ITableView* GetTableViewItem(WORD) override { return NULL; }
    bool ShowUserInfo(bool) override { return true; }
    bool EnsureVisibleTable(WORD) override { return false; }
    bool FlashTable(WORD) override { return false; }
    bool FlashChair(WORD, WORD) override { return false; }
    WORD GetTableCount() override { return 0; }
    WORD GetChairCount() override { return 0; }
    WORD GetIdentifyTable() override { return identifyTable; }
    bool SetUserItem(WORD, WORD, CUserItem*) override { return false; }
    void SetPlayFlag(WORD, bool) override {}
    void SetLockFlag(WORD, bool) override {}
    CUserItem* GetUserItem(WORD, WORD) override { return NULL; }
    WORD GetNullChairCount(WORD, WORD*) override { return 0; }
    bool GetPlayFlag(WORD) override { return false; }
    bool GetLockFlag(WORD) override { return false; }
    const tagTableAttribute* GetTableAttribute(WORD) override { return NULL; }
    void SetFreeChairFilter(WORD, bool) override {}
    void ReorderTableView(ITableView* view) override { reorders.push_back(view); }
    int CalcTableLayout(int) override { return 0; }
    int GetCycleMatchState() override { return cycleState; }
    BYTE GetTableMode() override { return tableMode; }
};

// The pixels of one colour inside a rectangle, as positions: compares what
// two canvases drew in a colour without reading glyph shapes against fixed
// pixels.
std::vector<std::pair<int, int>> PixelsOf(const CMemoryCanvas& canvas, COLORREF colour, const RECT& area);
// Text drawn the way a view is expected to draw it, into a canvas of the
// same size and default font, for the comparison above.
std::vector<std::pair<int, int>> ExpectedText(int width, int height, const char* text, RECT rect, UINT format,
                                              COLORREF colour, const RECT& area);
} // namespace tabletest
