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

TEST(ManualResetEventTest, WaitForAnyGivesTheFirstSignalledEventAndWakesOnALaterSet) {
    ManualResetEvent stop, work, other;
    work.Set();
    other.Set();
    EXPECT_EQ(WaitForAny({&stop, &work, &other}), 1u);
    stop.Set();
    EXPECT_EQ(WaitForAny({&stop, &work, &other}), 0u);

    // A waiter that finds nothing signalled sleeps until one of its events is set; the same
    // events serve several waiters, and an event reset and set again wakes them again.
    ManualResetEvent a, b;
    ManualResetEvent firstDone, secondDone;
    size_t first = 9, second = 9;
    std::thread one([&] {
        first = WaitForAny({&a, &b});
        firstDone.Set();
    });
    std::thread two([&] {
        second = WaitForAny({&b});
        secondDone.Set();
    });
    EXPECT_FALSE(firstDone.WaitFor(std::chrono::milliseconds(20)));
    b.Set();
    one.join();
    two.join();
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(second, 0u);
    b.Reset();
    std::thread three([&] { first = WaitForAny({&a, &b}); });
    a.Set();
    three.join();
    EXPECT_EQ(first, 0u);
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
