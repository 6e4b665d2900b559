// The fuzzer's checked-in seed corpus through the same reader entry, in this
// build (under Wine the Windows compiler's code runs it).
#include "RoomReaderEntry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

TEST(RoomReaderCorpus, EveryReaderHasSeedsAndAllRunClean)
{
    namespace fs = std::filesystem;
    const fs::path dir = "room_reader_corpus";
    ASSERT_TRUE(fs::is_directory(dir)) << "the build copies the corpus beside the test";
    std::set<size_t> readers;
    size_t files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(data.empty()) << entry.path();
        readers.insert(data[0] % GetRoomReaderCount());
        RunRoomReader(data.data(), data.size());
        // Every cut of a seed is a malformed body of the same message.
        for (size_t n = 1; n < data.size(); ++n)
            RunRoomReader(data.data(), n);
        ++files;
    }
    EXPECT_GE(files, GetRoomReaderCount());
    EXPECT_EQ(GetRoomReaderCount(), readers.size()) << "a reader without seeds";
}
