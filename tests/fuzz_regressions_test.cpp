// Every input that once broke a reader (fuzz/regressions/<target>/), every seed (fuzz/corpus/<target>/) and the
// empty input go through the fuzz targets' own entry points: none may crash, leak or break their invariants.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fuzz/entry_points.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(FuzzRegressions, EveryFindingSeedAndTheEmptyInputReplayCleanly) {
    for (const char* folder : {"corpus", "regressions"}) {
        int targets = 0;
        for (const fs::directory_entry& target : fs::directory_iterator(fs::path(KXTMAT_SOURCE_DIR) / "fuzz" / folder)) {
            SCOPED_TRACE(target.path().string());
            const kxt::fuzz::EntryPoint entry = kxt::fuzz::EntryPointOf(target.path().filename().string());
            ASSERT_NE(entry, nullptr) << "no fuzz target of that name";
            EXPECT_EQ(entry(nullptr, 0), 0);
            for (const fs::directory_entry& input : fs::directory_iterator(target.path()))
                EXPECT_EQ(entry(reinterpret_cast<const std::uint8_t*>(kxt::test::ReadFileBytes(input.path()).data()), fs::file_size(input)), 0) << input.path();
            ++targets;
        }
        EXPECT_GT(targets, 0) << folder;
    }
}

}  // namespace
