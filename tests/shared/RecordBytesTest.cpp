// The game list read in place against the archive path: the same bodies give
// the same records and the same refusals, also cut short or with a byte
// changed anywhere.
#include "HallRecords.h"
#include "RecordCodec.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace
{

// Fixed fields are compared whole (their zero fill included).
template <size_t N> bool SameField(const char (&a)[N], const char (&b)[N])
{
    return memcmp(a, b, N) == 0;
}

bool Same(const tagGameKindItem& a, const tagGameKindItem& b)
{
    return a.dwID == b.dwID && SameField(a.szName, b.szName);
}
bool Same(const tagGameItem& a, const tagGameItem& b)
{
    return a.dwID == b.dwID && SameField(a.szName, b.szName) && SameField(a.szFolderName, b.szFolderName);
}
bool Same(const tagGameRoomItem& a, const tagGameRoomItem& b)
{
    return a.dwRoomID == b.dwRoomID && SameField(a.szName, b.szName) && a.dwGameID == b.dwGameID &&
           a.strAddressList == b.strAddressList && a.wPort == b.wPort && a.cbRoomKind == b.cbRoomKind &&
           a.wChannelValue == b.wChannelValue;
}
bool Same(const tagGameWebItem& a, const tagGameWebItem& b)
{
    return a.dwID == b.dwID && SameField(a.szName, b.szName) && SameField(a.szLink, b.szLink);
}
bool Same(const tagTreeLinkItem& a, const tagTreeLinkItem& b)
{
    return a.dwNodeID == b.dwNodeID && a.dwParentID == b.dwParentID && a.cbKind == b.cbKind &&
           SameField(a.szCaption, b.szCaption) && a.dwItemID == b.dwItemID && a.lSortOrder == b.lSortOrder &&
           a.dwFlags == b.dwFlags;
}
bool Same(const tagOnlineCountItem& a, const tagOnlineCountItem& b)
{
    return a.dwRoomID == b.dwRoomID && a.dwOnlineCount == b.dwOnlineCount;
}

// Both readers over one body; false (with a message) when they part.
template <class T>::testing::AssertionResult ReadAlike(const std::vector<uint8_t>& body, bool* pAccepted = NULL)
{
    tagPagedList<T> archived, inPlace;
    const bool bArchived = UnpackRecord(archived, body.data(), UINT(body.size()));
    const bool bInPlace = UnpackRecordInPlace(inPlace, body.data(), UINT(body.size()));
    if (pAccepted != NULL)
        *pAccepted = bInPlace;
    if (bArchived != bInPlace)
        return ::testing::AssertionFailure() << "archive " << bArchived << ", in place " << bInPlace;
    if (archived.lTotal != inPlace.lTotal || archived.lOffset != inPlace.lOffset)
        return ::testing::AssertionFailure() << "page head differs";
    if (archived.Items.GetSize() != inPlace.Items.GetSize())
        return ::testing::AssertionFailure()
               << "archive " << archived.Items.GetSize() << " items, in place " << inPlace.Items.GetSize();
    for (INT_PTR i = 0; i < archived.Items.GetSize(); ++i) {
        if (!Same(archived.Items[i], inPlace.Items[i]))
            return ::testing::AssertionFailure() << "item " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

CWireBytes Page(uint32_t count)
{
    return CWireBytes().U32(count).U32(0).Count(count);
}

// A UTF-16 archive string, as a wide-character writer stores it.
CWireBytes& Wide(CWireBytes& bytes, const std::u16string& text)
{
    bytes.U8(0xFF).U16(0xFFFE);
    if (text.size() < 0xFF)
        bytes.U8(uint32_t(text.size()));
    else
        bytes.U8(0xFF).U16(uint32_t(text.size()));
    return bytes.Raw(text.data(), text.size() * 2);
}

const std::string kLong(300, 'x');      // the u16 length form, cut to the field
const std::string kCutGbk = "\xb0\xa1"; // a double-byte character

// Texts in every length form: empty, short, at the field's width, longer
// (u16 length form), a double-byte character across the cut, wide.
struct tagBodyCase
{
    const char* name;
    CWireBytes body;
};

std::vector<tagBodyCase> KindBodies()
{
    CWireBytes wide = Page(1);
    CWireBytes item = CWireBytes().U32(9);
    Wide(item, u"\u4e2d\u6587");
    wide.Item(item);
    return {
        {"kinds", Page(4)
                      .Item(CWireBytes().U32(1).Str(""))
                      .Item(CWireBytes().U32(2).Str("Cards"))
                      .Item(CWireBytes().U32(3).Str(std::string(30, 'a') + kCutGbk))
                      .Item(CWireBytes().U32(4).Str(kLong))},
        {"wide name", wide},
    };
}

std::vector<tagBodyCase> GameBodies()
{
    return {{"games", Page(2)
                          .Item(CWireBytes().U32(100).Str("Chess").Str("Chess"))
                          .Item(CWireBytes().U32(101).Str(kLong).Str(std::string(31, 'f') + kCutGbk).U8(0xEE))}};
}

std::vector<tagBodyCase> RoomBodies()
{
    const std::string addresses = "a.example.net;b.example.net;" + kLong;
    return {{"rooms", Page(2)
                          .Item(CWireBytes().U32(7).Str("Room").Str(addresses).U16(9100).U32(300).U8(5).U16(0x0102))
                          .Item(CWireBytes().U32(8).Str(kLong).Str("").U16(1).U32(2).U8(3).U16(4))}};
}

std::vector<tagBodyCase> WebBodies()
{
    return {{"webs", Page(1).Item(CWireBytes().U32(5).Str("Site").Str(std::string(400, 'l')))}};
}

CWireBytes Link(uint32_t node, bool withFlags)
{
    CWireBytes item = CWireBytes().U32(node).U32(node - 1).U8(4).Str("caption").U32(70).U32(uint32_t(-3));
    if (withFlags)
        item.U32(0x10);
    return item;
}

std::vector<tagBodyCase> LinkBodies()
{
    return {
        {"links with and without flags, part of flags, bytes after", Page(4)
                                                                         .Item(Link(1, false))
                                                                         .Item(Link(2, true))
                                                                         .Item(Link(3, false).U16(0xAAAA))
                                                                         .Item(Link(4, true).U32(0xDEADBEEF))},
        {"empty page", Page(0)},
        {"count in its u32 form", CWireBytes().U32(1).U32(0).U16(0xFFFF).U32(1).Item(Link(1, true))},
    };
}

std::vector<tagBodyCase> OnlineBodies()
{
    return {{"online counts", Page(2).Item(CWireBytes().U32(5).U32(6)).Item(CWireBytes().U32(7).U32(8))}};
}

template <class T> void ExpectReadAlike(const std::vector<tagBodyCase>& cases)
{
    for (const tagBodyCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> body = c.body.Vector();
        bool bAccepted = false;
        ASSERT_TRUE(ReadAlike<T>(body, &bAccepted));
        EXPECT_TRUE(bAccepted) << "the whole body is a good page";
        // Every shorter body is refused by both.
        for (size_t n = 0; n < body.size(); ++n) {
            std::vector<uint8_t> cut(body.begin(), body.begin() + n);
            ASSERT_TRUE(ReadAlike<T>(cut, &bAccepted)) << "cut to " << n;
            EXPECT_FALSE(bAccepted) << "cut to " << n;
        }
        // Any byte changed: both readers agree, whatever they make of it.
        const uint8_t values[] = {0x00, 0x01, 0x7F, 0xFE, 0xFF};
        for (size_t at = 0; at < body.size(); ++at) {
            for (uint8_t value : values) {
                std::vector<uint8_t> changed = body;
                changed[at] = value;
                ASSERT_TRUE(ReadAlike<T>(changed)) << "byte " << at << " = " << int(value);
            }
        }
    }
}

TEST(RecordBytes, GameListPagesReadAsTheArchiveReadsThem)
{
    ExpectReadAlike<tagGameKindItem>(KindBodies());
    ExpectReadAlike<tagGameItem>(GameBodies());
    ExpectReadAlike<tagGameRoomItem>(RoomBodies());
    ExpectReadAlike<tagGameWebItem>(WebBodies());
    ExpectReadAlike<tagTreeLinkItem>(LinkBodies());
    ExpectReadAlike<tagOnlineCountItem>(OnlineBodies());
}

TEST(RecordBytes, HostileLengthsAreRefusedBeforeAnyRead)
{
    struct tagCase
    {
        const char* name;
        CWireBytes body;
    };
    const tagCase cases[] = {
        {"item longer than 4096 bytes", Page(1).Count(4097).Bytes(Link(1, true).Vector()).Fill(4097, 0)},
        {"more items than bytes", CWireBytes().U32(1).U32(0).U16(0xFFFF).U32(0xFFFFFFF0).Item(Link(1, true))},
        {"64-bit count", CWireBytes().U32(1).U32(0).U16(0xFFFF).U32(0xFFFFFFFF).U64(~0ull)},
        {"string length beyond the item",
         Page(1).Item(CWireBytes().U32(1).U32(0).U8(4).U8(0xFF).U16(0xFFFF).U32(0xFFFFFFF0))},
        {"64-bit string length", Page(1).Item(CWireBytes().U32(1).U32(0).U8(4).U8(0xFF).U16(0xFFFF).U32(0xFFFFFFFF))},
        {"wide string beyond the item", Page(1).Item(CWireBytes().U32(1).U32(0).U8(4).U8(0xFF).U16(0xFFFE).U8(200))},
    };
    for (const tagCase& c : cases) {
        SCOPED_TRACE(c.name);
        bool bAccepted = true;
        EXPECT_TRUE(ReadAlike<tagTreeLinkItem>(c.body.Vector(), &bAccepted));
        EXPECT_FALSE(bAccepted);
    }
}

} // namespace
