#include "tools/ornet5-sim/write_queue.h"

#include <gtest/gtest.h>

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using TClock = TWriteQueue::TClock;

TEST(WriteQueue, HandsOutPiecesWhenDueInTimeOrder) {
    TWriteQueue queue;
    const TClock::time_point t0{};
    EXPECT_FALSE(queue.NextDue());
    queue.Add(t0 + 300ms, "second");
    queue.Add(t0 + 100ms, "first");
    queue.Add(t0 + 300ms, "third");
    EXPECT_EQ(queue.NextDue(), t0 + 100ms);
    EXPECT_TRUE(queue.TakeDue(t0 + 99ms).empty());
    EXPECT_EQ(queue.TakeDue(t0 + 100ms), std::vector<std::string>{"first"});
    EXPECT_EQ(queue.NextDue(), t0 + 300ms);
    EXPECT_EQ(queue.TakeDue(t0 + 1s), (std::vector<std::string>{"second", "third"}));
    EXPECT_FALSE(queue.NextDue());
}

}  // namespace
}  // namespace ornet5
