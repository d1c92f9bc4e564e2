// The CPU backend's thread count: the process's CPU affinity by default,
// whatever the host sets otherwise.
#include <gtest/gtest.h>
#include <sched.h>

#include <thread>

#include "gr_display.h"

namespace {

class ThreadCount : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(sched_getaffinity(0, sizeof saved_, &saved_), 0); }
    void TearDown() override
    {
        sched_setaffinity(0, sizeof saved_, &saved_);
        grSetThreadCount(0);
    }
    cpu_set_t saved_;
};

TEST_F(ThreadCount, FollowsTheAffinityUnlessTheHostSetsIt)
{
    // One processor allowed: one thread, whatever the machine has.
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &saved_)) {
            CPU_SET(cpu, &one);
            break;
        }
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    EXPECT_EQ(grThreadCount(), 1);
    // The host's count stands even so, and 0 goes back to the affinity.
    ASSERT_TRUE(grSetThreadCount(3));
    EXPECT_EQ(grThreadCount(), 3);
    ASSERT_TRUE(grSetThreadCount(0));
    EXPECT_EQ(grThreadCount(), 1);
    // The whole set again: its count, up to the default's cap of 4.
    ASSERT_EQ(sched_setaffinity(0, sizeof saved_, &saved_), 0);
    const int allowed = CPU_COUNT(&saved_);
    EXPECT_EQ(grThreadCount(), allowed < 4 ? allowed : 4);
}

TEST_F(ThreadCount, RefusesCountsOutOfRangeKeepingTheLast)
{
    ASSERT_TRUE(grSetThreadCount(2));
    EXPECT_FALSE(grSetThreadCount(-1));
    EXPECT_FALSE(grSetThreadCount(65));
    EXPECT_EQ(grThreadCount(), 2);
}

}  // namespace
