#include "platform/url.h"
#include "platform/path.h"

#include <gtest/gtest.h>

namespace kestrova::platform {
namespace {

TEST(Url, FileUrlsEscapeOnlyUnsafeCharactersAndRoundTrip) {
    const std::u16string url = FileUrlFromPath(u"/kb/Закон 5%#?.html");
    EXPECT_EQ(url, u"file:///kb/Закон%205%25%23%3F.html");
    EXPECT_EQ(PathFromFileUrl(url), std::u16string(u"/kb/Закон 5%#?.html"));
    EXPECT_EQ(PathFromFileUrl(u"FILE://localhost/a/b%D0%AF.html#x"), std::u16string(u"/a/bЯ.html"));
    EXPECT_EQ(PathFromFileUrl(u"file://host/a"), std::nullopt);
    EXPECT_EQ(FileUrlFromPath(u"relative.html"), u"");
}

// The bytes of a name that is not text go into a file URL as those bytes, and come back.
TEST(Url, FileUrlsCarryNativeBytesOfNamesThatAreNotText) {
    const std::string native = "/kb/\xCF\xF0\xE0\xE2\xEE/a\\b.htm";
    const std::u16string url = FileUrlFromPath(PathFromNative(native));
    EXPECT_EQ(url, u"file:///kb/%CF%F0%E0%E2%EE/a%5Cb.htm");
    const auto back = PathFromFileUrl(url);
    ASSERT_TRUE(back);
    EXPECT_EQ(NativePath(*back), native);
    EXPECT_EQ(PathFromFileUrl(u"file:///kb/%D0%AF.htm"), u"/kb/\u042F.htm");
}

TEST(Url, ClassifiesUrlsAndPaths) {
    EXPECT_TRUE(IsFileUrl(u"File:///x"));
    EXPECT_TRUE(IsUrl(u"https://x"));
    EXPECT_TRUE(IsUrl(u"cmd:exec"));
    EXPECT_FALSE(IsUrl(u"/kb/a.html"));
    EXPECT_FALSE(IsUrl(u"c"));
}

TEST(Url, RelativePathsUseBackslashes) {
    EXPECT_EQ(RelativePathTo(u"/kb", u"/kb/law/a.html"), std::u16string(u".\\law\\a.html"));
    EXPECT_EQ(RelativePathTo(u"/kb/", u"/other/a.html"), std::u16string(u"..\\other\\a.html"));
    EXPECT_EQ(RelativePathTo(u"/kb", u"a.html"), std::nullopt);
    EXPECT_EQ(EscapeSpaces(u"a b%c"), u"a%20b%c");
    EXPECT_EQ(Unescape(u"a%20b%zz%4"), u"a b%zz%4");
}

}  // namespace
}  // namespace kestrova::platform
