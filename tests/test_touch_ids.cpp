// The fingers' pointer ids every host gives a display: GTK names a finger by
// its event sequence (a pointer), Wayland by an id that may be 0; the
// display sees the smallest id from 1 that no finger down holds.
#include <gtest/gtest.h>

#include <cstdint>

#include "touch_ids.h"

TEST(TouchIds, EachFingerDownHoldsTheSmallestFreeIdFromOne)
{
    TouchIds ids;
    // GTK's sequences: heap addresses, far apart and in no order.
    const uint64_t thumb = 0x7f3a10002a40, index = 0x55d0beef0010, middle = 0x7f3a10001000, ring = 0;
    EXPECT_EQ(ids.Down(thumb), 1);
    EXPECT_EQ(ids.Down(index), 2);
    EXPECT_EQ(ids.Down(middle), 3);
    EXPECT_EQ(ids.Find(index), 2);
    EXPECT_EQ(ids.Down(index), 2);  // a down without its up keeps the finger's id
    EXPECT_EQ(ids.Up(index), 2);
    EXPECT_EQ(ids.Find(index), 0);  // lifted: no longer a pointer
    EXPECT_EQ(ids.Up(index), 0);
    EXPECT_EQ(ids.Down(ring), 2);   // the freed id, not 4; key 0 is a finger too
    EXPECT_EQ(ids.Up(thumb), 1);
    EXPECT_EQ(ids.Down(index), 1);
    EXPECT_EQ(ids.Count(), 3);
    const auto all = ids.TakeAll();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all.at(middle), 3);
    EXPECT_EQ(all.at(ring), 2);
    EXPECT_EQ(ids.Count(), 0);
    EXPECT_EQ(ids.Down(middle), 1);
}
