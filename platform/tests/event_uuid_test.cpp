#include "platform/event.h"
#include "platform/uuid.h"

#include <gtest/gtest.h>

#include <thread>

namespace kestrova::platform {
namespace {

TEST(ManualResetEventTest, StaysSetForEveryWaiterUntilReset) {
  ManualResetEvent event;
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(event.WaitFor(std::chrono::milliseconds(1)));
  std::thread first([&] { event.Wait(); });
  std::thread second([&] { event.Wait(); });
  event.Set();
  first.join();
  second.join();
  EXPECT_TRUE(event.IsSet());
  EXPECT_TRUE(event.WaitFor(std::chrono::milliseconds(0)));
  event.Reset();
  EXPECT_FALSE(event.IsSet());
  EXPECT_TRUE(ManualResetEvent(true).IsSet());
}

TEST(UuidTest, StringFormReadsTheFirstThreeFieldsLittleEndian) {
  Uuid uuid{{0x78, 0x56, 0x34, 0x12, 0xbc, 0x9a, 0xf0, 0xde, 0x01, 0x23, 0x45, 0x67, 0x89, 0xab,
             0xcd, 0xef}};
  EXPECT_EQ(UuidToString(uuid), u"12345678-9abc-def0-0123-456789abcdef");
  EXPECT_EQ(UuidToAsciiString(uuid), "12345678-9abc-def0-0123-456789abcdef");
  EXPECT_EQ(ParseUuid(u"12345678-9ABC-DEF0-0123-456789ABCDEF"), uuid);
  EXPECT_FALSE(ParseUuid(u"12345678-9abc-def0-0123-456789abcde").has_value());
  EXPECT_FALSE(ParseUuid(u"{2345678-9abc-def0-0123-456789abcdef").has_value());
  EXPECT_FALSE(ParseUuid(u"12345678-9abc-def0-0123-456789abcd\u0416f").has_value());
}

TEST(UuidTest, CreatedUuidsAreRandomVersionFourAndRoundTrip) {
  Uuid a = CreateUuid();
  Uuid b = CreateUuid();
  EXPECT_NE(a, b);
  std::u16string text = UuidToString(a);
  ASSERT_EQ(text.size(), 36u);
  EXPECT_EQ(text[14], u'4');  // the version digit, from the high nibble of the third field
  EXPECT_EQ(a.bytes[7] >> 4, 4);
  EXPECT_EQ(ParseUuid(text), a);
}

}  // namespace
}  // namespace kestrova::platform
