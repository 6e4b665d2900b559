#include "TableTestSupport.h"

#include "GlobalUnits.h"
#include "Picture.h"
#include "PictureMemFile.h"

#include <sstream>

namespace tabletest
{
const RECT kChairRects[4] = {{4, 4, 44, 44}, {4, 80, 44, 120}, {60, 4, 100, 44}, {105, 4, 196, 142}};
const RECT kNameRects[4] = {{4, 46, 56, 62}, {4, 122, 56, 140}, {60, 46, 100, 62}, {105, 124, 196, 142}};
const POINT kReadyPoints[4] = {{46, 4}, {46, 80}, {62, 64}, {150, 100}};
const POINT kLockPoint = {70, 80};
const RECT kTableIDRect = {60, 110, 100, 128};
const RECT kTableNameRect = {60, 92, 100, 108};
const RECT kMultipleRect = {60, 130, 80, 148};
const RECT kInningsRect = {80, 130, 100, 148};
const POINT kIdentifyPoint = {2, 130};

namespace
{
std::string Rect(const RECT& r)
{
    std::ostringstream s;
    s << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom;
    return s.str();
}

std::string Point(const POINT& p)
{
    std::ostringstream s;
    s << p.x << ' ' << p.y;
    return s.str();
}

std::string Colour(COLORREF c)
{
    std::ostringstream s;
    s << int(GetRValue(c)) << ' ' << int(GetGValue(c)) << ' ' << int(GetBValue(c));
    return s.str();
}

void WriteFramed(const skintest::TempFolder& folder, const std::string& path, int width, int height, COLORREF inner,
                 int border)
{
    skintest::Pixels pixels(width, height, kMagenta);
    pixels.Fill(border, border, width - 2 * border, height - 2 * border, inner);
    folder.WriteBmp(path.c_str(), pixels);
}
} // namespace

SkinFolder::SkinFolder()
{
    g_GlobalUnits.SetWorkDirectory(m_folder.Folder());
    WriteIni();
    WritePictures();
}

SkinFolder::~SkinFolder()
{
    g_GlobalUnits.SetWorkDirectory("");
}

std::string SkinFolder::GameFile(const std::string& name) const
{
    return std::string(kGameFolder) + "\\" + name;
}

void SkinFolder::WriteIni(const std::map<std::string, std::string>& overrides, const std::string& extra)
{
    std::map<std::string, std::string> keys = {
        {"ptLock", Point(kLockPoint)},
        {"rtNote0", "1 2 3 4"},
        {"rtTableID", Rect(kTableIDRect)},
        {"ChairCount", "4"},
        {"crTableID", Colour(kTableID)},
        {"crName", Colour(kName)},
        {"crMemberName", Colour(kMemberName)},
        {"crNote", "1 1 1"},
        {"crTableName", Colour(kTableName)},
        {"rtTableName", Rect(kTableNameRect)},
        {"rtTableMultiple", Rect(kMultipleRect)},
        {"rtTableInnings", Rect(kInningsRect)},
        {"ptTableIdentify", Point(kIdentifyPoint)},
    };
    for (int i = 0; i < 4; ++i) {
        keys["ptReady" + std::to_string(i)] = Point(kReadyPoints[i]);
        keys["rtName" + std::to_string(i)] = Rect(kNameRects[i]);
        keys["rtChair" + std::to_string(i)] = Rect(kChairRects[i]);
        keys["nDrawStyle" + std::to_string(i)] = "0";
    }
    for (const auto& o : overrides) {
        if (o.second.empty())
            keys.erase(o.first);
        else
            keys[o.first] = o.second;
    }
    std::string text = "[TableResorceInfo]\r\n";
    for (const auto& k : keys)
        text += k.first + "=" + k.second + "\r\n";
    text += extra;
    m_folder.Write(GameFile("table.ini"), text);
}

void SkinFolder::WritePictures()
{
    skintest::Pixels normal(kTableWidth, kTableHeight, kNormal);
    normal.At(0, 0) = kBackground;
    normal.At(0, 20) = kChairColour;
    m_folder.WriteBmp(GameFile("TableNormal.BMP").c_str(), normal);
    WritePicture(GameFile("TablePlaying.BMP"), kTableWidth, kTableHeight, kPlaying);
    WriteFramed(m_folder, GameFile("Locker.BMP"), 12, 14, kLock, 2);
    WriteFramed(m_folder, GameFile("UserReady.BMP"), 20, 12, kReady, 1);
    WritePicture(GameFile("tableidentify.png"), 16, 16, kIdentify);
}

void SkinFolder::WritePicture(const std::string& name, int width, int height, COLORREF colour)
{
    m_folder.WriteBmp(name.c_str(), skintest::Pixels(width, height, colour));
}

void SkinFolder::WriteListPictures()
{
    const struct
    {
        const char* name;
        int width;
    } pictures[] = {
        {"USER_STATUS.bmp", 96}, {"USER_RATE.bmp", 147}, {"USER_LIST_IDENTIFY.bmp", 68}, {"USER_COMPANION.bmp", 48}};
    for (const auto& picture : pictures)
        WritePicture(std::string("Res\\ListImage\\") + picture.name, picture.width, 16, RGB(0, 128, 0));
}

void SkinFolder::Remove(const std::string& name)
{
    DeleteFileA(m_folder.File(name).c_str());
}

bool WritePng(const CTempFolder& folder, const std::string& name, int width, int height, COLORREF colour)
{
    return WritePng(folder, name, skintest::Pixels(width, height, colour));
}

bool WritePng(const CTempFolder& folder, const std::string& name, const skintest::Pixels& pixels)
{
    HBITMAP bitmap = skintest::MakeDib(pixels);
    CPicture picture;
    bool made = picture.CreateFromHBITMAP(bitmap);
    DeleteObject(bitmap);
    CPictureMemFile file;
    if (!made || !picture.Encode(file, PICTURE_TYPE_PNG))
        return false;
    folder.Write(name, std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetSize()));
    return true;
}

bool LoadPictureModules(const skintest::TempFolder& folder)
{
    // The face module reads only PNG files.
    if (!WritePng(folder, "Face\\1-1.png", 32, 32, kFace) || !WritePng(folder, "Face\\1-2.png", 32, 32, kFace))
        return false;
    folder.WriteBmp("GameAvatar\\77.png", skintest::Pixels(91, 138, kAvatar));
    folder.WriteBmp("GameAvatar\\default1.png", skintest::Pixels(91, 138, kMaleDefault));
    folder.WriteBmp("GameAvatar\\default2.png", skintest::Pixels(91, 138, kFemaleDefault));
    if (!g_GlobalUnits.m_UserFaceResHelper.HasInterface() && !g_GlobalUnits.m_UserFaceResHelper.CreateInstance())
        return false;
    if (!g_GlobalUnits.m_GameAvatarResHelper.HasInterface() && !g_GlobalUnits.m_GameAvatarResHelper.CreateInstance())
        return false;
    return g_GlobalUnits.m_UserFaceResHelper.GetInterface()->LoadFaces(folder.Path("Face").c_str()) &&
           g_GlobalUnits.m_GameAvatarResHelper.GetInterface()->LoadAvatars(folder.Path("GameAvatar").c_str());
}

std::unique_ptr<CUserItem> MakeUser(DWORD userId, const char* nickName, WORD faceId, BYTE gender, DWORD rank,
                                    BYTE status, const char* customFace)
{
    tagUserData data = {};
    data.dwUserID = userId;
    lstrcpynA(data.szNickName, nickName, sizeof(data.szNickName));
    data.wFaceID = faceId;
    data.cbKey5 = gender;
    data.dwRank = rank;
    data.cbUserStatus = status;
    lstrcpynA(data.szKey13, customFace, sizeof(data.szKey13));
    data.wTableID = INVALID_TABLE;
    data.wChairID = INVALID_CHAIR;
    return std::unique_ptr<CUserItem>(new CUserItem(data));
}

std::vector<std::pair<int, int>> PixelsOf(const CMemoryCanvas& canvas, COLORREF colour, const RECT& area)
{
    std::vector<std::pair<int, int>> points;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (canvas.At(x, y) == colour)
                points.push_back({x, y});
    return points;
}

std::vector<std::pair<int, int>> ExpectedText(int width, int height, const char* text, RECT rect, UINT format,
                                              COLORREF colour, const RECT& area)
{
    CMemoryCanvas canvas(width, height, RGB(1, 2, 3));
    SetBkMode(canvas.GetSafeHdc(), TRANSPARENT);
    SetTextColor(canvas.GetSafeHdc(), colour);
    DrawTextA(canvas.GetSafeHdc(), text, -1, &rect, format);
    return PixelsOf(canvas, colour, area);
}
} // namespace tabletest
