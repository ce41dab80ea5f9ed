#include "tools/ornet5-sim/write_queue.h"

#include <gtest/gtest.h>

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using TClock = TWriteQueue::TClock;
using TPieces = std::vector<std::string>;

TEST(WriteQueue, HandsOutPiecesWhenDue) {
    TWriteQueue queue;
    const TClock::time_point t0{};
    EXPECT_FALSE(queue.NextDue());
    queue.Add(t0 + 100ms, "first");
    queue.Add(t0 + 300ms, "second");
    queue.Add(t0 + 300ms, "third");
    EXPECT_EQ(queue.NextDue(), t0 + 100ms);
    EXPECT_TRUE(queue.TakeDue(t0 + 99ms).empty());
    EXPECT_EQ(queue.TakeDue(t0 + 100ms), TPieces{"first"});
    EXPECT_EQ(queue.NextDue(), t0 + 300ms);
    EXPECT_TRUE(queue.TakeDue(t0 + 299ms).empty());
    EXPECT_EQ(queue.TakeDue(t0 + 1s), (TPieces{"second", "third"}));
    EXPECT_FALSE(queue.NextDue());
    EXPECT_TRUE(queue.TakeDue(t0 + 2s).empty());
}

// A split reply, and a retried request answered while its second half still
// waits: the new reply's first half, due earlier, goes after it.
TEST(WriteQueue, NoPieceOvertakesOneAddedBeforeIt) {
    TWriteQueue queue;
    const TClock::time_point t0{};
    queue.Add(t0, "old head");
    queue.Add(t0 + 300ms, "old tail");
    EXPECT_EQ(queue.TakeDue(t0), TPieces{"old head"});

    queue.Add(t0 + 150ms, "new head");
    queue.Add(t0 + 450ms, "new tail");
    EXPECT_EQ(queue.NextDue(), t0 + 300ms);
    EXPECT_TRUE(queue.TakeDue(t0 + 200ms).empty());
    EXPECT_EQ(queue.TakeDue(t0 + 300ms), (TPieces{"old tail", "new head"}));
    EXPECT_EQ(queue.NextDue(), t0 + 450ms);
    EXPECT_TRUE(queue.TakeDue(t0 + 449ms).empty());
    EXPECT_EQ(queue.TakeDue(t0 + 450ms), TPieces{"new tail"});
    EXPECT_FALSE(queue.NextDue());
}

}  // namespace
}  // namespace ornet5
