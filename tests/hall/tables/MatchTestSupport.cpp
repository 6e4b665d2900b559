#include "MatchTestSupport.h"

#include <PictureMemFile.h>

#include <Picture.h>

#include "GlobalUnits.h"

namespace matchtest
{
COLORREF DigitColour(int d)
{
    return RGB(100 + d * 10, 10 * d, 200 - d * 10);
}

void WritePng(const CTempFolder& folder, const std::string& name, const skintest::Pixels& pixels)
{
    HBITMAP bitmap = skintest::MakeDib(pixels);
    CPicture picture;
    const bool made = picture.CreateFromHBITMAP(bitmap);
    DeleteObject(bitmap);
    CPictureMemFile file;
    if (made && picture.Encode(file, PICTURE_TYPE_PNG))
        folder.Write(name, std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetSize()));
}

MatchSkin::MatchSkin()
{
    g_GlobalUnits.SetWorkDirectory(m_folder.Folder());
}

MatchSkin::~MatchSkin()
{
    g_GlobalUnits.SetWorkDirectory("");
}

std::string MatchSkin::MatchFile(const std::string& name) const
{
    return "Res\\gameroom\\MatchViewItem\\" + name;
}

void MatchSkin::WriteLayout(const std::string& overrides)
{
    static const char* const kCuts[] = {"QuitSign",     "SignIn",       "SignInfoL",   "SignInfoM",
                                        "SignInfoMark", "SignInfoR",    "Explain",     "SignUpCountL",
                                        "SignUpCountM", "SignUpCountR", "StatusBackM", "TimeOutL",
                                        "TimeOutM",     "TimeOutR",     "SignStatus",  "SignTimeOut"};
    std::string text = overrides;
    for (const char* cut : kCuts) {
        if (overrides.find(std::string("[") + cut + "]") != std::string::npos)
            continue;
        text += std::string("[") + cut + "]\r\nx=0\r\ny=0\r\nwidth=" + (std::string(cut) == "SignIn" ? "80" : "8") +
                "\r\nheight=8\r\n";
    }
    if (overrides.find("[MatchBack]") == std::string::npos)
        text += "[MatchBack]\r\nx=0\r\ny=100\r\nwidth=100\r\nheight=100\r\n";
    m_folder.Write(MatchFile("MatchViewItem.ini"), text);
}

void MatchSkin::WriteAll()
{
    skintest::Pixels atlas(200, 200, kAtlas);
    atlas.Fill(0, 100, 100, 100, kTile);
    WritePng(m_folder, MatchFile("MatchViewItem.png"), atlas);
    WriteLayout();
    skintest::Pixels digits(10 * kDigitWidth, kDigitHeight, 0);
    for (int d = 0; d < 10; ++d)
        digits.Fill(d * kDigitWidth, 0, kDigitWidth, kDigitHeight, DigitColour(d));
    WritePng(m_folder, MatchFile("Num.png"), digits);
    skintest::Pixels status(40, 40, 0);
    for (int row = 0; row < 4; ++row)
        status.Fill(0, row * 10, 40, 10, RGB(10 + row * 50, 200, 30));
    WritePng(m_folder, MatchFile("MatchStatus.png"), status);
    WritePng(m_folder, MatchFile("MatchNews.png"), skintest::Pixels(300, 200, RGB(60, 60, 120)));
    for (const char* name : {"QutiRoom.png", "MatchDetail.png", "TimeBack.png", "PersonBack.png", "UserListTop.png",
                             "UserListMid.png", "UserListBottom.png"})
        WritePng(m_folder, MatchFile(name), skintest::Pixels(40, 20, RGB(5, 5, 5)));
}

void MatchSkin::WriteUrls(const std::string& lines)
{
    m_folder.Write("Config\\Urls.ini", "[MatchUrl]\r\n" + lines);
}

void MatchSkin::Remove(const std::string& name)
{
    DeleteFileA(m_folder.File(MatchFile(name)).c_str());
}

bool ListDouble::CreateList(CWnd* pParent, DWORD dwStyle, UINT nID)
{
    createdStyle = dwStyle;
    return list.Create(dwStyle & ~LVS_OWNERDRAWFIXED, CRect(0, 0, 0, 0), pParent, nID) != FALSE;
}

RoomDouble::RoomDouble() {}

RoomDouble::~RoomDouble()
{
    for (PageDouble* page : pages)
        delete page;
}

int RoomDouble::ShowSkinMessageBox(LPCSTR pszText, UINT nStyle, const MsgBoxParams* pParams)
{
    boxes.push_back({pszText, nStyle, pParams != NULL ? pParams->timeoutSeconds : -1,
                     pParams != NULL && pParams->useCaptions ? pParams->captions[MSGBOX_YES] : ""});
    if (answers.empty())
        return IDNO;
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}
} // namespace matchtest
