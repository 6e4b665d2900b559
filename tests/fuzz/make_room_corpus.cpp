// Writes the seed corpus of room_reader_fuzzer from the sample bodies of the
// room server (one file per sample: the reader byte, then the body). Run it
// again after changing the readers' order; the files are checked in.
#include <stdio.h>

#include <string>

#include "RoomBodies.h"
#include "RoomReaderEntry.h"
#include "WireBytes.h"

namespace
{

bool WriteSeed(const std::string& path, int nReader, const CWireBytes& input)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (f == NULL)
        return false;
    fputc(nReader, f);
    fwrite(input.Data(), 1, input.Size(), f);
    fclose(f);
    return true;
}

struct tagGameSeed
{
    const char* pszName;
    CWireBytes Input; // the sub, (requests) the room flags, the body
};

// One seed per row of the relay in each direction.
bool WriteGameSeeds(const std::string& folder)
{
    const tagGameSeed traffic[] = {
        {"game_s_1001", CWireBytes().U16(1001).U8(1).U8(2)},
        {"game_s_1002", CWireBytes().U16(1002).U32(1).U32(2).U32(3).Str("chat")},
        {"game_s_1003", CWireBytes().U16(1003).U8(1).U32(0x11).Str("system")},
        {"game_s_1004", CWireBytes().U16(1004).U8(1)},
        {"game_s_1005", CWireBytes().U16(1005).U16(9).Counted("note")},
        {"game_s_1006", CWireBytes().U16(1006).U8(1).U16(7)},
        {"game_s_1007", CWireBytes().U16(1007).U8(5).U32(0x10008)},
        {"game_s_1008", CWireBytes().U16(1008).U8(1)},
        {"game_s_1009", CWireBytes().U16(1009).U32(1).U32(1001)},
        {"game_s_1010", CWireBytes().U16(1010).U32(1001)},
        {"game_s_1011", CWireBytes().U16(1011).U8(6).U8(7)},
        {"game_s_1013", CWireBytes().U16(1013).U32(5).U16(6)},
        {"game_s_1014", CWireBytes().U16(1014).U8(4)},
        {"game_s_1015", CWireBytes().U16(1015).U32(3)},
        {"game_s_1018", CWireBytes().U16(1018).U8(1)},
        {"game_s_1019", CWireBytes().U16(1019).U8(8)},
    };
    const std::string password(32, 'p');
    const tagGameSeed requests[] = {
        {"game_c_1", CWireBytes().U16(1).U8(2).U8(9).U8(8)},
        {"game_c_200", CWireBytes().U16(200).U8(2).U16(4).U16(0).U32(1).U32(2).U32(3).U32(0).Raw("chat", 4)},
        {"game_c_201", CWireBytes().U16(201).U8(2).U32(9).U8(1)},
        {"game_c_301", CWireBytes().U16(301).U8(2).Raw("loud", 4)},
        {"game_c_400", CWireBytes().U16(400).U8(2).U32(0).U32(42)},
        {"game_c_500", CWireBytes().U16(500).U8(2).U32(1).U16(2)},
        {"game_c_601", CWireBytes().U16(601).U8(3).U16(0).Raw("note", 4)},
        {"game_c_602", CWireBytes().U16(602).U8(2).U16(1).U8(1)},
        {"game_c_603", CWireBytes().U16(603).U8(2).U32(55)},
        {"game_c_702", CWireBytes().U16(702).U8(2).Raw(password.data(), 32).U32(500)},
        {"game_c_901", CWireBytes().U16(901).U8(2).U8(1)},
    };
    for (const tagGameSeed& seed : traffic) {
        if (!WriteSeed(folder + "/" + seed.pszName, GetGameRelayReaderIndex(false), seed.Input))
            return false;
    }
    for (const tagGameSeed& seed : requests) {
        if (!WriteSeed(folder + "/" + seed.pszName, GetGameRelayReaderIndex(true), seed.Input))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_room_corpus <folder>\n");
        return 2;
    }
    for (const RoomBody::tagSample& sample : RoomBody::Samples(1001)) {
        int nReader = GetRoomReaderIndex(sample.wMainCmdID, sample.wSubCmdID);
        if (nReader < 0) {
            fprintf(stderr, "no reader for %s\n", sample.pszName);
            return 1;
        }
        std::string path = std::string(argv[1]) + "/" + sample.pszName;
        FILE* f = fopen(path.c_str(), "wb");
        if (f == NULL)
            return 1;
        fputc(nReader, f);
        fwrite(sample.Body.Data(), 1, sample.Body.Size(), f);
        fclose(f);
    }
    return WriteGameSeeds(argv[1]) ? 0 : 1;
}
