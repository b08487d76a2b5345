// The first-match index: the answer a walk in insertion order would give,
// without regard to case, through growth and probe chains.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mapping/material_index.h"

namespace kxt::mapping {
namespace {

TEST(FirstMatchIndex, KeepsTheFirstAnswerOfKeysEqualWithoutRegardToCase) {
    FirstMatchIndex<int> index;
    EXPECT_EQ(index.Find(u"anything"), 0);  // an empty index answers nothing
    index.Add(u"Stahl", 1);
    index.Add(u"STAHL", 2);
    index.Add(u"\u00C4rger", 3);
    index.Add(u"\u00E4RGER", 4);
    index.Add(u"", 5);
    EXPECT_EQ(index.Find(u"stahl"), 1);
    EXPECT_EQ(index.Find(u"\u00E4rger"), 3);
    EXPECT_EQ(index.Find(u""), 5);
    EXPECT_EQ(index.Find(u"Stahl "), 0);
    EXPECT_EQ(index.Find(u"Stah"), 0);
    EXPECT_EQ(index.Size(), 3u);
}

TEST(FirstMatchIndex, AnswersEveryKeyAfterGrowingWithOrWithoutReserve) {
    for (const bool reserve : {false, true}) {
        std::vector<std::u16string> keys;
        for (int i = 0; i < 5000; ++i) keys.push_back(u"Material " + std::u16string(1, char16_t(u'A' + i % 26)) +
                                                      std::u16string(static_cast<std::size_t>(i % 7), u'x') +
                                                      std::u16string(1, char16_t(0x100 + i)));
        FirstMatchIndex<int> index;
        if (reserve) index.Reserve(keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i) index.Add(keys[i], static_cast<int>(i) + 1);
        // A second round under the same keys must not replace any answer.
        for (std::size_t i = 0; i < keys.size(); ++i) index.Add(keys[i], -1);
        ASSERT_EQ(index.Size(), keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            ASSERT_EQ(index.Find(keys[i]), static_cast<int>(i) + 1) << i << (reserve ? " reserved" : "");
        }
        EXPECT_EQ(index.Find(u"Material"), 0);
    }
}

}  // namespace
}  // namespace kxt::mapping
