// A process killed at any moment of its saves leaves bookmarks.xml whole: the tree of the last
// finished save or of the one before.
#include "exec/tests/helper_process.h"
#include "favorites/bookmark_set_impl.h"
#include "favorites_test_util.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(BookmarksSaveCrash, AProcessKilledWhileSavingLeavesTheOldOrTheNewFile) {
    test::PrivateDataHome home("save-crash");
    std::string trees[2];
    for (int i = 0; i < 2; ++i) {
        CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
        test::BuildLargeTree(*set, i);
        trees[i] = static_cast<BookmarkSet_impl_*>(set.get())->SaveToBytes();
    }
    for (int round = 0; round < 12; ++round) {
        {
            testing::HelperProcess helper({KESTROVA_SAVE_HELPER});
            for (int saves = 0; saves <= round % 4; ++saves) {
                ASSERT_EQ(helper.ReadLine().rfind("saved", 0), 0u);
            }
            helper.KillHard();  // in the middle of one of the next saves
        }
        const std::string bytes = test::ReadBytes(home.File());
        EXPECT_TRUE(bytes == trees[0] || bytes == trees[1])
            << "round " << round << ", " << bytes.size() << " bytes";
        CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
        EXPECT_TRUE(set->Load());
        EXPECT_GE(set->GetRoot()->GetBookmarkCount(), 2010);
    }
    EXPECT_FALSE(std::filesystem::exists(home.Base() / "bookmarks.damaged"));
}

}  // namespace
}  // namespace kestrova
