// The room fuzzer's checked-in seed corpus through the same reader entry.
#include "CorpusReplay.h"
#include "RoomReaderEntry.h"

TEST(RoomReaderCorpus, EveryReaderHasSeedsAndAllRunClean)
{
    ReplayCorpus("room_reader_corpus", GetRoomReaderCount(), RunRoomReader);
}
