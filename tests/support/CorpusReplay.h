// A fuzzer's checked-in seed corpus run through its reader entry in a test
// build (under Wine the Windows compiler's code runs it): every seed and every
// cut of it, and every reader has seeds.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

template <class Run> void ReplayCorpus(const char* pszDir, size_t nReaders, Run run)
{
    namespace fs = std::filesystem;
    const fs::path dir = pszDir;
    ASSERT_TRUE(fs::is_directory(dir)) << "the build copies the corpus beside the test";
    std::set<size_t> readers;
    size_t files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(data.empty()) << entry.path();
        readers.insert(data[0] % nReaders);
        run(data.data(), data.size());
        // Every cut of a seed is a malformed body of the same message.
        for (size_t n = 1; n < data.size(); ++n)
            run(data.data(), n);
        ++files;
    }
    EXPECT_GE(files, nReaders);
    EXPECT_EQ(nReaders, readers.size()) << "a reader without seeds";
}
