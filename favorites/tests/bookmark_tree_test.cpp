// The favorites tree: inserting, removing, counting, renaming and the modified flag.
#include "favorites/bookmark_set.h"
#include "favorites_test_util.h"
#include "platform/path.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(BookmarkTree, InsertPlacesAndAppendsAndMarksTheSetModified) {
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    IBookmarkFolder& root = *set->GetRoot();
    CountedPtr<IBookmark> a = set->CreateBookmark(u"a", u"a.html");
    CountedPtr<IBookmark> b = set->CreateBookmark(u"b", u"b.html");
    CountedPtr<IBookmark> c = set->CreateBookmark(u"c", u"c.html");
    CountedPtr<IBookmark> d = set->CreateBookmark(u"d", u"d.html");
    EXPECT_FALSE(set->IsModified());  // creating alone changes nothing

    root.Insert(0, a.get());  // into an empty folder: appended
    EXPECT_TRUE(set->IsModified());
    root.Insert(root.GetChildCount(), b.get());  // index == count appends
    root.Insert(-1, c.get());
    root.Insert(1, d.get());   // before the child at 1
    root.Insert(99, a.get());  // beyond the end appends; duplicates are not refused
    root.Insert(0, nullptr);   // nothing to insert
    ASSERT_EQ(root.GetChildCount(), 5);
    const IBookmarkNode* expected[] = {a.get(), d.get(), b.get(), c.get(), a.get()};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(root.GetChild(i).get(), expected[i]) << i;
    EXPECT_EQ(root.IndexOf(a.get()), 0);  // the first position
    EXPECT_EQ(root.IndexOf(c.get()), 3);
    EXPECT_EQ(d->GetParent(), &root);
    EXPECT_EQ(a->RefCount(), 3);  // ours and the folder's two
    EXPECT_EQ(root.GetChild(5), nullptr);
    EXPECT_EQ(root.GetChild(-1), nullptr);
}

TEST(BookmarkTree, RemoveTakesOutClearsParentAndGivesUpTheReference) {
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    IBookmarkFolder& root = *set->GetRoot();
    test::AddBookmarks(*set, root, u"b", 3);
    CountedPtr<IBookmarkNode> middle = root.GetChild(1);
    test::PrivateDataHome home("tree-remove");
    ASSERT_TRUE(set->Save());  // clears the flag

    EXPECT_FALSE(root.Remove(3));
    EXPECT_FALSE(root.Remove(-1));
    EXPECT_FALSE(set->IsModified());
    EXPECT_TRUE(root.Remove(1));
    EXPECT_TRUE(set->IsModified());
    EXPECT_EQ(root.GetChildCount(), 2);
    EXPECT_EQ(std::u16string(root.GetChild(1)->GetTitle()), u"b2");  // the later one moved up
    EXPECT_EQ(middle->GetParent(), nullptr);
    EXPECT_EQ(middle->RefCount(), 1);
    EXPECT_EQ(root.IndexOf(middle.get()), -1);
}

TEST(BookmarkTree, MovingANodeIsRemoveThenInsert) {
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    IBookmarkFolder& root = *set->GetRoot();
    CountedPtr<IBookmarkFolder> folder = set->CreateFolder(u"F");
    root.Insert(-1, folder.get());
    test::AddBookmarks(*set, root, u"b", 2);
    CountedPtr<IBookmarkNode> moved = root.GetChild(2);
    ASSERT_TRUE(root.Remove(root.IndexOf(moved.get())));
    folder->Insert(-1, moved.get());
    EXPECT_EQ(moved->GetParent(), folder.get());
    EXPECT_EQ(folder->GetParent(), &root);
    EXPECT_EQ(root.GetChildCount(), 2);
    EXPECT_EQ(moved->RefCount(), 2);
}

TEST(BookmarkTree, CountsBookmarksOfTheWholeSubtree) {
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    IBookmarkFolder& root = *set->GetRoot();
    CountedPtr<IBookmarkFolder> folder = set->CreateFolder(u"F");
    CountedPtr<IBookmarkFolder> inner = set->CreateFolder(u"G");
    test::AddBookmarks(*set, *folder, u"f", 2);
    folder->Insert(-1, inner.get());  // an empty folder counts nothing
    root.Insert(-1, folder.get());
    test::AddBookmarks(*set, root, u"r", 1);
    EXPECT_EQ(root.GetBookmarkCount(), 3);
    EXPECT_EQ(folder->GetBookmarkCount(), 2);
    EXPECT_EQ(inner->GetBookmarkCount(), 0);
    EXPECT_EQ(root.GetChild(1)->GetBookmarkCount(), 1);
    EXPECT_FALSE(folder->IsBookmark());
    EXPECT_TRUE(root.GetChild(1)->IsBookmark());
}

TEST(BookmarkTree, RenamingMarksModifiedOnlyWhenTheTitleChanges) {
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    IBookmarkFolder& root = *set->GetRoot();
    CountedPtr<IBookmark> bookmark = set->CreateBookmark(u"Закон", u"law.html");
    CountedPtr<IBookmarkFolder> folder = set->CreateFolder(u"");
    bookmark->SetTitle(u"Закон");
    folder->SetTitle(u"");
    root.SetTitle(u"ignored");
    EXPECT_FALSE(set->IsModified());
    EXPECT_EQ(root.GetTitle(), nullptr);
    EXPECT_EQ(root.GetParent(), nullptr);

    bookmark->SetTitle(std::u16string_view(u"Закон\0", 6));  // same text plus a code unit
    EXPECT_TRUE(set->IsModified());
    EXPECT_EQ(std::u16string_view(bookmark->GetTitle()), u"Закон");  // shown up to the zero
    CountedPtr<IBookmarkSet> other = CreateBookmarkSet(u"/nonexistent");
    CountedPtr<IBookmarkFolder> renamed = other->CreateFolder(u"a");
    renamed->SetTitle(u"A");  // letter case counts
    EXPECT_TRUE(other->IsModified());
    EXPECT_EQ(std::u16string(renamed->GetTitle()), u"A");
}

TEST(BookmarkTree, AChildThatOutlivesItsFolderHasNoParent) {
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    CountedPtr<IBookmark> bookmark = set->CreateBookmark(u"b", u"b.html");
    {
        CountedPtr<IBookmarkFolder> folder = set->CreateFolder(u"F");
        folder->Insert(-1, bookmark.get());
        EXPECT_EQ(bookmark->GetParent(), folder.get());
    }
    EXPECT_EQ(bookmark->GetParent(), nullptr);
    EXPECT_EQ(bookmark->RefCount(), 1);
}

TEST(BookmarkTree, FileExistsOnlyForAnExistingFileAcceptingBothSeparators) {
    const auto kb = testing::FreshScratchDir("exists-kb");
    std::filesystem::create_directories(kb / "sub" / "folder.html");
    test::WriteBytes(kb / "sub" / "page.html", "<html></html>");
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(platform::PathFromNative(kb.string()));
    EXPECT_TRUE(set->CreateBookmark(u"t", u"sub\\page.html")->FileExists());
    EXPECT_TRUE(set->CreateBookmark(u"t", u"sub/page.html")->FileExists());
    EXPECT_FALSE(set->CreateBookmark(u"t", u"sub\\folder.html")->FileExists());
    EXPECT_FALSE(set->CreateBookmark(u"t", u"sub\\missing.html")->FileExists());
    EXPECT_FALSE(set->CreateBookmark(u"t", u"")->FileExists());  // the folder itself
    CountedPtr<IBookmark> late = set->CreateBookmark(u"t", u"late.html");
    test::WriteBytes(kb / "late.html", "x");
    EXPECT_FALSE(late->FileExists());  // checked when the bookmark is made, not later
}

}  // namespace
}  // namespace kestrova
