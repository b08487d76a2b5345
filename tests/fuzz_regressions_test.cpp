// Every input that once broke a reader, and every seed of the fuzz corpora,
// goes through the same entry point as the fuzzer: none may crash, leak or
// break the invariants those entry points check.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/entry_points.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kFuzzDir = fs::path(KXTMAT_SOURCE_DIR) / "fuzz";

// Replays each file of folder/<target>/ through its target's entry point;
// returns how many inputs ran.
int ReplayAll(const fs::path& folder) {
    int replayed = 0;
    for (const fs::directory_entry& targetDir : fs::directory_iterator(folder)) {
        if (!targetDir.is_directory()) continue;
        const std::string target = targetDir.path().filename().string();
        const kxt::fuzz::EntryPoint entry = kxt::fuzz::EntryPointOf(target);
        EXPECT_NE(entry, nullptr) << "no fuzz target named " << target;
        if (entry == nullptr) continue;
        for (const fs::directory_entry& input : fs::directory_iterator(targetDir.path())) {
            if (!input.is_regular_file()) continue;
            SCOPED_TRACE(input.path().string());
            const std::string bytes = kxt::test::ReadFileBytes(input.path());
            EXPECT_EQ(entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
            ++replayed;
        }
    }
    return replayed;
}

TEST(FuzzRegressions, EveryEarlierFindingReplaysCleanly) {
    EXPECT_GT(ReplayAll(kFuzzDir / "regressions"), 0);
}

TEST(FuzzRegressions, EverySeedReplaysCleanly) {
    EXPECT_GT(ReplayAll(kFuzzDir / "corpus"), 0);
}

TEST(FuzzRegressions, EmptyInputIsHarmlessForEveryTarget) {
    for (const char* target : {"library_reader", "process_reader", "din_mapping", "cost_texts", "registry_file",
                               "text_conversions", "update_materials", "manager_sequence"}) {
        SCOPED_TRACE(target);
        const kxt::fuzz::EntryPoint entry = kxt::fuzz::EntryPointOf(target);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry(nullptr, 0), 0);
    }
}

}  // namespace
