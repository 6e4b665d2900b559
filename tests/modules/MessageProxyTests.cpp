// The message proxy writing into a rich edit in a test window; what it wrote
// is read back as text with object markers and through the object list.
#include <gtest/gtest.h>

#include <afxtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Corvath.h"
#include "GifWriter.h"
#include "IMessageProxy.h"
#include "MessagePump.h"
#include "MessageProxy.h"
#include "ModuleTestSupport.h"
#include "MemoryCanvas.h"
#include "RichEditTestSupport.h"

namespace
{

const COLORREF kText = RGB(10, 20, 30);

tagMessageUser User(DWORD id, const char* name)
{
    tagMessageUser user = {};
    user.dwUserID = id;
    strncpy(user.szNickName, name, sizeof(user.szNickName));
    return user;
}

// The emotion folder: codes in table order, one picture that does not load
// and one whose path does not fit.
void WriteEmotionFolder(const CTempFolder& folder)
{
    std::string ini = "[emotion]\r\nCount=5\r\n"
                      "[em0]\r\nemotion=/xy\r\npath=xy.gif\r\nname=XY\r\n"
                      "[em1]\r\nemotion=/x\r\npath=x.gif\r\nname=X\r\n"
                      "[em2]\r\nemotion=/qq\r\npath=missing.gif\r\nname=Q\r\n"
                      "[em3]\r\nemotion=/long\r\npath=" +
                      std::string(300, 'p') +
                      ".gif\r\nname=L\r\n"
                      "[em4]\r\nemotion=\r\npath=x.gif\r\n";
    folder.Write("config.ini", ini);
    folder.Write("xy.gif", skintest::SolidGif(8, 8, {RGB(255, 0, 0), RGB(0, 255, 0)}, 100));
    folder.Write("x.gif", skintest::SolidGif(6, 6, {RGB(0, 0, 255)}, 0));
}

void WriteIcon(const CTempFolder& folder, const char* name)
{
    skintest::Pixels pixels(8, 8, RGB(0, 128, 0));
    pixels.At(0, 0) = RGB(255, 0, 255);
    folder.Write(name, skintest::Bmp24(pixels));
}

class MessageProxyTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_bRegistered = EnsureCorvathRegistered(); }

    void SetUp() override
    {
        ASSERT_TRUE(s_bRegistered) << "Corvath.dll is not registered";
        ASSERT_TRUE(m_Host.Create());
        m_Proxy = CreateModule<IMessageProxy2>(CLSID_MessageProxy, IID_IMessageProxy);
        ASSERT_TRUE(m_Proxy);
        WriteEmotionFolder(m_Folder);
        for (const char* icon : {"system.bmp", "player.bmp", "speaker.bmp", "activity.bmp"})
            WriteIcon(m_Folder, icon);
        ASSERT_TRUE(m_Proxy->SetRichEdit(&Rich()));
        ASSERT_TRUE(m_Proxy->LoadConfig(m_Folder.Path().c_str()));
        ASSERT_TRUE(m_Proxy->LoadTypeIcons(m_Folder.Path().c_str()));
    }

    CRichEditCtrl& Rich() { return m_Host.Rich(); }
    std::string Text() { return RichText(Rich()); }
    std::vector<std::string> PictureFiles()
    {
        std::vector<std::string> files;
        for (const RichObject& object : RichObjects(Rich()))
            if (IsEqualCLSID(object.clsid, CLSID_Corvath))
                files.push_back(object.file.substr(object.file.rfind('\\') + 1));
        return files;
    }

    static bool s_bRegistered;
    CRichEditHost m_Host;
    CTempFolder m_Folder{"message_proxy"};
    ModulePtr<IMessageProxy2> m_Proxy;
};

bool MessageProxyTest::s_bRegistered = false;

TEST_F(MessageProxyTest, LinesAsWritten)
{
    const tagMessageUser ann = User(10001, "Ann"), bob = User(10002, "Bob");
    tagMessageUser full = User(7, "");
    memset(full.szNickName, 'N', sizeof(full.szNickName)); // no terminator
    struct Case
    {
        const char* name;
        std::function<bool(IMessageProxy2*)> write;
        std::string text;                  // '#' a type icon, '@' an animated picture
        std::vector<std::string> pictures; // files of the '@'s in order
    };
    const Case cases[] = {
        {"system line", [](IMessageProxy2* p) { return p->InsertSystemText("hello"); }, "# hello\r", {}},
        {"user says with an emotion between words",
         [&](IMessageProxy2* p) { return p->InsertUserSays(&ann, "a /xy b", kText); },
         "# [Ann]说:a @ b\r",
         {"xy.gif"}},
        {"user to user",
         [&](IMessageProxy2* p) { return p->InsertUserToUser(&ann, &bob, "hi", kText); },
         "# [Ann]对[Bob]说:hi\r",
         {}},
        {"speaker", [&](IMessageProxy2* p) { return p->InsertSpeakerText(&ann, "/x!"); }, "# [Ann]说:@!\r", {"x.gif"}},
        {"activity with a link",
         [](IMessageProxy2* p) { return p->InsertActivityText("<a href=\"u\">go</a>!", kText); },
         "# go!\r",
         {}},
        {"name of 32 bytes without terminator",
         [&](IMessageProxy2* p) { return p->InsertUserSays(&full, "x", kText); },
         "# [" + std::string(32, 'N') + "]说:x\r",
         {}},
        {"the first code of the table wins",
         [](IMessageProxy2* p) { return p->InsertText("/xyz /xz", kText, TRUE); },
         "@z @z\r",
         {"xy.gif", "x.gif"}},
        {"a slash that starts no code stays text",
         [](IMessageProxy2* p) { return p->InsertText("1/2 /ab /", kText, FALSE); },
         "1/2 /ab /",
         {}},
        {"a picture that does not load is left out",
         [](IMessageProxy2* p) { return p->InsertText("a/qqb/xy", kText, FALSE); },
         "ab@",
         {"xy.gif"}},
        {"a path that did not fit was never loaded",
         [](IMessageProxy2* p) { return p->InsertText("/long", kText, FALSE); },
         "/long",
         {}},
        {"markup: links, text, other elements skipped",
         [](IMessageProxy2* p) { return p->InsertText("see <a href=\"x\">here</a><b>bold</b> now", kText, TRUE); },
         "see here now\r",
         {}},
        {"markup that does not parse is written plain",
         [](IMessageProxy2* p) { return p->InsertText("1 < 2 & 3 /xy\\t.", kText, TRUE); },
         "1 < 2 & 3 @\t.\r",
         {"xy.gif"}},
        {"ampersands survive the markup",
         [](IMessageProxy2* p) { return p->InsertText("a & b", kText, FALSE); },
         "a & b",
         {}},
        {"backslash escapes",
         [](IMessageProxy2* p) { return p->InsertText("a\\tb\\nc", kText, FALSE); },
         "a\tb\rc",
         {}},
        {"a trail byte of 0x5C escapes nothing",
         [](IMessageProxy2* p) { return p->InsertText("\x95\x5Cn\xB1\x5Ct", kText, FALSE); },
         "\x95\x5Cn\xB1\x5Ct",
         {}},
        {"plain text is not markup",
         [](IMessageProxy2* p) { return p->InsertPlainText("<b>&amp;/xy", kText, TRUE); },
         "<b>&amp;/xy\r",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(m_Proxy->Clear());
        EXPECT_TRUE(c.write(m_Proxy.get()));
        EXPECT_EQ(Text(), c.text);
        EXPECT_EQ(PictureFiles(), c.pictures);
    }
}

TEST_F(MessageProxyTest, TimeStampFromTheClock)
{
    AfxSetTestClock(1000, CTime(2024, 5, 6, 9, 5, 3));
    EXPECT_TRUE(m_Proxy->InsertTime(kText));
    AfxClearTestClock();
    EXPECT_EQ(Text(), "［09:05:03］");
}

TEST_F(MessageProxyTest, ClickableItemsAndTheirFormats)
{
    const tagMessageUser ann = User(10001, "Ann");
    ASSERT_TRUE(m_Proxy->InsertUserSays(&ann, "hi", kText));                  // "# [Ann]说:hi\r": name at 2..6
    ASSERT_TRUE(m_Proxy->InsertText("<a href=\"x\">go</a> on", kText, TRUE)); // "go" at 12..13
    ASSERT_EQ(Text(), "# [Ann]说:hi\rgo on\r");

    struct Probe
    {
        int cp;
        bool found;
        int kind;
        const char* data;
    };
    const Probe probes[] = {
        {1, false, 0, ""},
        {2, true, MESSAGE_ITEM_USER, "10001"},
        {6, true, MESSAGE_ITEM_USER, "10001"},
        {7, false, 0, ""},
        {11, false, 0, ""},
        {12, true, MESSAGE_ITEM_LINK, "x"},
        {13, true, MESSAGE_ITEM_LINK, "x"},
        {14, false, 0, ""},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.cp);
        tagMessageItem item = {};
        ASSERT_EQ(m_Proxy->FindLinkItem(p.cp, &item), p.found);
        if (p.found) {
            EXPECT_EQ(item.nKind, p.kind);
            EXPECT_STREQ(item.szData, p.data);
        }
    }

    struct Format
    {
        long cp;
        COLORREF colour;
        DWORD effects; // of CFE_LINK and CFE_PROTECTED
    };
    const Format formats[] = {
        {3, RGB(0, 0, 255), CFE_PROTECTED}, // name
        {7, RGB(0, 0, 255), 0},             // "说"
        {9, kText, 0},                      // the text said
        {12, kText, CFE_LINK},              // link: colour left as it was
        {15, kText, 0},                     // the text after the link
    };
    for (const Format& f : formats) {
        SCOPED_TRACE(f.cp);
        CHARFORMAT2 format = RichFormatAt(Rich(), f.cp);
        if (!(f.effects & CFE_LINK)) {
            EXPECT_EQ(format.crTextColor, f.colour);
        }
        EXPECT_EQ(format.dwEffects & (CFE_LINK | CFE_PROTECTED), f.effects);
    }

    tagMessageItem item = {};
    EXPECT_FALSE(m_Proxy->FindLinkItem(2, NULL));
    ASSERT_TRUE(m_Proxy->Clear());
    EXPECT_EQ(Text(), "");
    EXPECT_FALSE(m_Proxy->FindLinkItem(2, &item));
}

TEST_F(MessageProxyTest, ColourBlockAndAttaching)
{
    const COLORREF colours[6] = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), RGB(5, 5, 5), RGB(6, 6, 6)};
    EXPECT_FALSE(m_Proxy->SetStyle(NULL));
    ASSERT_TRUE(m_Proxy->SetStyle(colours));
    const tagMessageUser ann = User(1, "A");
    ASSERT_TRUE(m_Proxy->InsertSystemText("s"));        // "# s\r"
    ASSERT_TRUE(m_Proxy->InsertSpeakerText(&ann, "t")); // "# [A]说:t\r"
    EXPECT_EQ(RichFormatAt(Rich(), 2).crTextColor, RGB(4, 4, 4));
    EXPECT_EQ(RichFormatAt(Rich(), 6).crTextColor, RGB(5, 5, 5));
    EXPECT_EQ(RichFormatAt(Rich(), 11).crTextColor, RGB(6, 6, 6));

    DWORD style = Rich().GetStyle();
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_AUTOVSCROLL);
    EXPECT_FALSE(style & ES_NOHIDESEL);
    EXPECT_TRUE(m_Proxy->IsAttached());
    EXPECT_TRUE(m_Proxy->IsAttached2());
    EXPECT_FALSE(m_Proxy->SetRichEdit(NULL));
}

TEST_F(MessageProxyTest, NothingWrittenWithoutControlOrText)
{
    ModulePtr<IMessageProxy2> detached = CreateModule<IMessageProxy2>(CLSID_MessageProxy, IID_IMessageProxy2);
    ASSERT_TRUE(detached);
    const tagMessageUser ann = User(1, "A");
    struct Case
    {
        const char* name;
        std::function<bool(IMessageProxy2*)> call;
    };
    const Case withoutControl[] = {
        {"attached", [](IMessageProxy2* p) { return p->IsAttached() || p->IsAttached2(); }},
        {"clear", [](IMessageProxy2* p) { return p->Clear(); }},
        {"time", [](IMessageProxy2* p) { return p->InsertTime(kText); }},
        {"system", [](IMessageProxy2* p) { return p->InsertSystemText("x"); }},
        {"text", [](IMessageProxy2* p) { return p->InsertText("x", kText, TRUE); }},
        {"plain", [](IMessageProxy2* p) { return p->InsertPlainText("x", kText, TRUE); }},
        {"says", [&](IMessageProxy2* p) { return p->InsertUserSays(&ann, "x", kText); }},
        {"to", [&](IMessageProxy2* p) { return p->InsertUserToUser(&ann, &ann, "x", kText); }},
        {"speaker", [&](IMessageProxy2* p) { return p->InsertSpeakerText(&ann, "x"); }},
        {"activity", [](IMessageProxy2* p) { return p->InsertActivityText("x", kText); }},
    };
    for (const Case& c : withoutControl) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.call(detached.get()));
    }
    const Case withoutText[] = {
        {"system null", [](IMessageProxy2* p) { return p->InsertSystemText(NULL); }},
        {"system empty", [](IMessageProxy2* p) { return p->InsertSystemText(""); }},
        {"text", [](IMessageProxy2* p) { return p->InsertText("", kText, TRUE); }},
        {"plain", [](IMessageProxy2* p) { return p->InsertPlainText(NULL, kText, TRUE); }},
        {"says", [&](IMessageProxy2* p) { return p->InsertUserSays(&ann, "", kText); }},
        {"says without user", [](IMessageProxy2* p) { return p->InsertUserSays(NULL, "x", kText); }},
        {"to", [&](IMessageProxy2* p) { return p->InsertUserToUser(&ann, NULL, "x", kText); }},
        {"speaker", [&](IMessageProxy2* p) { return p->InsertSpeakerText(&ann, NULL); }},
        {"activity", [](IMessageProxy2* p) { return p->InsertActivityText("", kText); }},
    };
    for (const Case& c : withoutText) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.call(m_Proxy.get()));
    }
    EXPECT_EQ(Text(), "");
}

TEST_F(MessageProxyTest, ReadersSelectionAndViewStay)
{
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(m_Proxy->InsertPlainText("line", kText, TRUE));
    ASSERT_TRUE(m_Proxy->SetOption(1));
    Rich().SetSel(5, 8);
    ::SendMessage(Rich().m_hWnd, WM_VSCROLL, SB_TOP, 0);
    PumpMessages();
    ASSERT_EQ(Rich().GetFirstVisibleLine(), 0);

    const tagMessageUser ann = User(1, "A");
    ASSERT_TRUE(m_Proxy->InsertUserSays(&ann, "a /xy b", kText));
    ASSERT_TRUE(m_Proxy->InsertSystemText("<a href=\"x\">y</a>"));
    PumpMessages();
    long first = 0, last = 0;
    Rich().GetSel(first, last);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(last, 8);
    EXPECT_EQ(Rich().GetFirstVisibleLine(), 0);

    // Nothing marked: the scroll option follows the new lines.
    Rich().SetSel(0, 0);
    ASSERT_TRUE(m_Proxy->InsertPlainText("more", kText, TRUE));
    EXPECT_TRUE(PumpUntil([&] { return Rich().GetFirstVisibleLine() > 0; }));
}

TEST_F(MessageProxyTest, WhatFailsToLoadIsLeftOut)
{
    CTempFolder partial("message_proxy_partial");
    WriteIcon(partial, "system.bmp");
    const tagMessageUser ann = User(1, "A");

    // No config.ini: false, and the table loaded before stays.
    EXPECT_FALSE(m_Proxy->LoadConfig(partial.Path().c_str()));
    EXPECT_FALSE(m_Proxy->LoadConfig(NULL));
    EXPECT_FALSE(m_Proxy->LoadTypeIcons(partial.Path().c_str()));
    ASSERT_TRUE(m_Proxy->InsertSystemText("/xy"));
    ASSERT_TRUE(m_Proxy->InsertUserSays(&ann, "b", kText));
    EXPECT_EQ(Text(), "# @\r [A]说:b\r");

    std::string longFolder = m_Folder.Path() + "\\" + std::string(250, 'f');
    EXPECT_FALSE(m_Proxy->LoadConfig(longFolder.c_str()));
    EXPECT_FALSE(m_Proxy->LoadTypeIcons(longFolder.c_str()));
}

// The type icon is the picture drawn over the icon background: magenta
// lets the background through.
TEST_F(MessageProxyTest, IconBitmapShowsTheBackgroundThroughMagenta)
{
    const COLORREF colours[6] = {RGB(200, 100, 50), RGB(0, 0, 255), 0, RGB(255, 0, 0), 0, 0};
    ASSERT_TRUE(m_Proxy->SetStyle(colours));
    ASSERT_TRUE(m_Proxy->LoadTypeIcons(m_Folder.Path().c_str()));
    ASSERT_TRUE(m_Proxy->InsertSystemText("x"));

    IRichEditOle* ole = Rich().GetIRichEditOle();
    ASSERT_NE(ole, nullptr);
    REOBJECT reobject = {};
    reobject.cbStruct = sizeof(reobject);
    ASSERT_EQ(ole->GetObject(0, &reobject, REO_GETOBJ_POLEOBJ), S_OK);
    ole->Release();
    IDataObject* data = NULL;
    ASSERT_EQ(reobject.poleobj->QueryInterface(IID_IDataObject, (void**)&data), S_OK);
    reobject.poleobj->Release();
    FORMATETC format = {CF_BITMAP, NULL, DVASPECT_CONTENT, -1, TYMED_GDI};
    STGMEDIUM medium = {};
    HRESULT hr = data->GetData(&format, &medium);
    data->Release();
    ASSERT_EQ(hr, S_OK);
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, medium.hBitmap);
    EXPECT_EQ(::GetPixel(dc, 0, 0), RGB(200, 100, 50));
    EXPECT_EQ(::GetPixel(dc, 3, 3), RGB(0, 128, 0));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseStgMedium(&medium);
}

// Wine's rich edit draws both kinds of object: the icon from its static
// bitmap, the animated picture from the frame its data object offers.
TEST_F(MessageProxyTest, IconAndPictureArePainted)
{
    const tagMessageUser ann = User(1, "A");
    ASSERT_TRUE(m_Proxy->InsertUserSays(&ann, "/xy", kText));
    CMemoryCanvas canvas(400, 120);
    ASSERT_TRUE(canvas.Print(Rich().m_hWnd, PW_CLIENTONLY));
    EXPECT_EQ(canvas.Count(RGB(0, 128, 0)), 8 * 8 - 1); // the icon but its magenta corner
    EXPECT_EQ(canvas.Count(RGB(255, 0, 0)), 8 * 8);     // the picture's first frame
}

TEST(MarkupText, EscapesAndDoubleByteCharacters)
{
    const struct
    {
        const char* in;
        bool escapeAmpersand;
        const char* out;
    } cases[] = {
        {"a&b", true, "a&amp;b"},         {"a&b", false, "a&b"},
        {"\\r\\n\\t", true, "\r\n\t"},    {"\\x\\", true, "\\x\\"},
        {"\x95\x5Cn", true, "\x95\x5Cn"}, {"\x95\x5C\\n", true, "\x95\x5C\n"},
        {"x\x95", true, "x\x95"}, // a lone lead byte at the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(PrepareMarkupText(c.in, c.escapeAmpersand), c.out);
    }
}

} // namespace
