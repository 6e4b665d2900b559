// The hall fuzzer's checked-in seed corpus through the same reader entry.
#include "CorpusReplay.h"
#include "HallReaderEntry.h"

TEST(HallReaderCorpus, EveryReaderHasSeedsAndAllRunClean)
{
    ReplayCorpus("hall_reader_corpus", GetHallReaderCount(), RunHallReader);
}
