// bookmarks.xml: the exact bytes written, what loading takes and passes over, and what
// happens to files that cannot be loaded.
#include "favorites/bookmark_set.h"
#include "favorites/bookmark_set_impl.h"
#include "favorites_test_util.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::u16string Title(const CountedPtr<IBookmarkNode>& node) { return node->GetTitle(); }

TEST(BookmarksFile, SaveWritesTheDocumentByteForByte) {
    test::PrivateDataHome home("file-exact");
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    IBookmarkFolder& root = *set->GetRoot();
    CountedPtr<IBookmarkFolder> folder = set->CreateFolder(u"Кодексы & <законы>");
    folder->Insert(-1, set->CreateBookmark(u"", u"law\\civil.html").get());
    folder->Insert(-1, set->CreateFolder(u"").get());
    root.Insert(-1, folder.get());
    root.Insert(-1, set->CreateBookmark(u"Статья \"1\"", u"").get());
    ASSERT_TRUE(set->Save());
    EXPECT_FALSE(set->IsModified());
    EXPECT_EQ(test::ReadBytes(home.File()),
              kBom +
                  "<?xml version=\"1.0\"?>\r\n"
                  "<bookmarks>\r\n"
                  "\t<folder title=\"Кодексы &amp; &lt;законы>\">\r\n"
                  "\t\t<bookmark title=\"\" file=\"law\\civil.html\" />\r\n"
                  "\t\t<folder title=\"\" />\r\n"
                  "\t</folder>\r\n"
                  "\t<bookmark title=\"Статья &quot;1&quot;\" file=\"\" />\r\n"
                  "</bookmarks>\r\n");
}

TEST(BookmarksFile, LoadRebuildsTheSavedTreeAndClearsTheFlag) {
    test::PrivateDataHome home("file-roundtrip");
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    CountedPtr<IBookmarkFolder> folder = set->CreateFolder(u"Папка");
    test::AddBookmarks(*set, *folder, u"Закладка ", 3);
    set->GetRoot()->Insert(-1, folder.get());
    test::AddBookmarks(*set, *set->GetRoot(), u"x\tq", 1);
    ASSERT_TRUE(set->Save());

    CountedPtr<IBookmarkSet> loaded = CreateBookmarkSet(u"/nonexistent");
    test::AddBookmarks(*loaded, *loaded->GetRoot(), u"old", 5);  // replaced by the load
    ASSERT_TRUE(loaded->Load());
    EXPECT_FALSE(loaded->IsModified());
    IBookmarkFolder& root = *loaded->GetRoot();
    ASSERT_EQ(root.GetChildCount(), 2);
    EXPECT_EQ(root.GetBookmarkCount(), 4);
    CountedPtr<IBookmarkNode> first = root.GetChild(0);
    EXPECT_EQ(Title(first), u"Папка");
    EXPECT_EQ(first->GetParent(), &root);
    auto* loadedFolder = static_cast<IBookmarkFolder*>(first.get());
    CountedPtr<IBookmarkNode> inner = loadedFolder->GetChild(2);
    EXPECT_EQ(Title(inner), u"Закладка 2");
    EXPECT_EQ(std::u16string(static_cast<IBookmark*>(inner.get())->GetFile()),
              u"pages\\Закладка 2.html");
    EXPECT_EQ(inner->GetParent(), loadedFolder);
    EXPECT_EQ(Title(root.GetChild(1)), u"x\tq0");  // a tab survives as a character reference
    EXPECT_EQ(test::ReadBytes(home.File()),
              static_cast<BookmarkSet_impl_*>(loaded.get())->SaveToBytes());
}

TEST(BookmarksFile, LoadPassesOverIncompleteAndForeignNodesAndTheNextSaveDropsThem) {
    test::PrivateDataHome home("file-incomplete");
    test::WriteBytes(
        home.File(),
        "<?xml version=\"1.0\"?>\n<!-- mine -->\n<bookmarks>\n"
        "  <bookmark title=\"no file\"/>\n"
        "  <bookmark file=\"no-title.html\"/>\n"
        "  <folder><bookmark title=\"lost\" file=\"lost.html\"/></folder>\n"
        "  <Bookmark title=\"case\" file=\"c.html\"/>\n"
        "  text<!-- comment --><other/>\n"
        "  <folder title=\"kept\"><bookmark title=\"in\" file=\"in.html\" extra=\"1\"/>x</folder>\n"
        "  <bookmark file=\"order.html\" title=\"attributes in any order\"/>\n"
        "</bookmarks>\n<bookmarks><bookmark title=\"second\" file=\"s\"/></bookmarks>\n");
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    ASSERT_TRUE(set->Load());  // from the first `bookmarks` element
    IBookmarkFolder& root = *set->GetRoot();
    ASSERT_EQ(root.GetChildCount(), 2);
    EXPECT_EQ(Title(root.GetChild(0)), u"kept");
    EXPECT_EQ(root.GetChild(0)->GetBookmarkCount(), 1);
    EXPECT_EQ(Title(root.GetChild(1)), u"attributes in any order");

    ASSERT_TRUE(set->Save());
    EXPECT_EQ(test::ReadBytes(home.File()),
              kBom +
                  "<?xml version=\"1.0\"?>\r\n<bookmarks>\r\n"
                  "\t<folder title=\"kept\">\r\n\t\t<bookmark title=\"in\" file=\"in.html\" "
                  "/>\r\n\t</folder>\r\n"
                  "\t<bookmark title=\"attributes in any order\" file=\"order.html\" />\r\n"
                  "</bookmarks>\r\n");
}

TEST(BookmarksFile, AnEmptyElementLoadsAnEmptyTreeAndOtherEncodingsAreDetected) {
    test::PrivateDataHome home("file-empty");
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    test::AddBookmarks(*set, *set->GetRoot(), u"b", 2);
    test::WriteBytes(home.File(), "<bookmarks/>");
    ASSERT_TRUE(set->Load());
    EXPECT_EQ(set->GetRoot()->GetChildCount(), 0);

    // UTF-16LE with a byte order mark.
    const std::u16string text =
        u"<bookmarks><bookmark title=\"Устав\" file=\"a.html\"/></bookmarks>";
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : text) {
        utf16.push_back(static_cast<char>(c & 0xFF));
        utf16.push_back(static_cast<char>(c >> 8));
    }
    test::WriteBytes(home.File(), utf16);
    ASSERT_TRUE(set->Load());
    ASSERT_EQ(set->GetRoot()->GetChildCount(), 1);
    EXPECT_EQ(Title(set->GetRoot()->GetChild(0)), u"Устав");
}

TEST(BookmarksFile, AFailedLoadKeepsTheTreeAndClearsTheFlag) {
    test::PrivateDataHome home("file-failed-load");
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    test::AddBookmarks(*set, *set->GetRoot(), u"b", 2);
    const std::string failing[] = {
        "",                                                           // empty
        "<bookmarks><bookmark title=\"a\" file=\"b\">",               // cut short
        "<favorites><bookmark title=\"a\" file=\"b\"/></favorites>",  // no bookmarks element
        "<Bookmarks/>",                                               // names are case-sensitive
        "\x01\x02garbage",
    };
    EXPECT_FALSE(set->Load());  // no file at all
    for (const std::string& bytes : failing) {
        test::WriteBytes(home.File(), bytes);
        test::AddBookmarks(*set, *set->GetRoot(), u"c", 1);
        EXPECT_FALSE(set->Load()) << bytes;
        EXPECT_FALSE(set->IsModified());
    }
    EXPECT_EQ(set->GetRoot()->GetChildCount(), 2 + 5);
}

TEST(BookmarksFile, FoldersNestedBeyondTheLimitMakeTheFileUnusable) {
    test::PrivateDataHome home("file-deep");
    auto nested = [](int depth) {
        std::string s = "<bookmarks>";
        for (int i = 0; i < depth; ++i) s += "<folder title=\"f\">";
        s += "<bookmark title=\"deep\" file=\"d.html\"/>";
        for (int i = 0; i < depth; ++i) s += "</folder>";
        return s + "</bookmarks>";
    };
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    test::WriteBytes(home.File(), nested(999));
    ASSERT_TRUE(set->Load());
    EXPECT_EQ(set->GetRoot()->GetBookmarkCount(), 1);
    test::WriteBytes(home.File(), nested(200000));
    EXPECT_FALSE(set->Load());
    EXPECT_EQ(set->GetRoot()->GetBookmarkCount(), 1);
}

TEST(BookmarksFile, SavingOverAFileThatCannotBeLoadedKeepsItsBytesAside) {
    test::PrivateDataHome home("file-damaged");
    const std::string damaged =
        kBom + "<?xml version=\"1.0\"?>\r\n<bookmarks>\r\n\t<bookmark title=\"Мой";
    test::WriteBytes(home.File(), damaged);
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    EXPECT_FALSE(set->Load());
    test::AddBookmarks(*set, *set->GetRoot(), u"new", 1);
    ASSERT_TRUE(set->Save());
    EXPECT_EQ(test::ReadBytes(home.Base() / "bookmarks.damaged"), damaged);
    ASSERT_TRUE(set->Load());
    EXPECT_EQ(set->GetRoot()->GetChildCount(), 1);

    // A file that loads is replaced without a copy.
    std::filesystem::remove(home.Base() / "bookmarks.damaged");
    ASSERT_TRUE(set->Save());
    EXPECT_FALSE(std::filesystem::exists(home.Base() / "bookmarks.damaged"));
    for (const auto& entry : std::filesystem::directory_iterator(home.Base())) {
        EXPECT_EQ(entry.path().filename(), "bookmarks.xml");  // no temporary file left over
    }
}

TEST(BookmarksFile, SaveFailsWithoutLosingAnythingAndClearsTheFlag) {
    CountedPtr<IBookmarkSet> set = CreateBookmarkSet(u"/nonexistent");
    {
        // A bookmarks.xml that cannot be read is left alone.
        test::PrivateDataHome home("file-unreadable");
        std::filesystem::create_directories(home.File() / "inside");
        test::AddBookmarks(*set, *set->GetRoot(), u"b", 1);
        EXPECT_FALSE(set->Save());
        EXPECT_FALSE(set->IsModified());
        EXPECT_TRUE(std::filesystem::is_directory(home.File() / "inside"));
        EXPECT_FALSE(set->Load());
    }
    {
        // No base folder.
        test::PrivateDataHome home("file-no-base");
        std::filesystem::remove_all(home.Base());
        test::AddBookmarks(*set, *set->GetRoot(), u"b", 1);
        EXPECT_FALSE(set->Save());
        EXPECT_FALSE(set->IsModified());
    }
    // No per-user data folder at all.
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string oldData = data ? data : "";
    ::unsetenv("HOME");
    ::unsetenv("XDG_DATA_HOME");
    test::AddBookmarks(*set, *set->GetRoot(), u"b", 1);
    EXPECT_FALSE(set->Save());
    EXPECT_FALSE(set->IsModified());
    EXPECT_FALSE(set->Load());
    if (!home.empty()) ::setenv("HOME", home.c_str(), 1);
    if (data) ::setenv("XDG_DATA_HOME", oldData.c_str(), 1);
}

}  // namespace
}  // namespace kestrova
