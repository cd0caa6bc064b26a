#include "game/pqueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

struct Smaller {
    bool operator()(int a, int b) const { return a < b; }
};

}  // namespace

TEST(PriorityQueue, PopsInOrderAndRefusesBeyondCapacity)
{
    TpQueue<int, Smaller> queue(100);
    std::mt19937 random(7);
    std::vector<int> pushed;
    for (int i = 0; i < 100; ++i) {
        pushed.push_back(static_cast<int>(random() % 50));  // many equal keys
        ASSERT_EQ(queue.push(pushed.back()), 0);
    }
    EXPECT_EQ(queue.push(-5), -1) << "full";
    EXPECT_EQ(queue.count(), 100u);
    std::sort(pushed.begin(), pushed.end());
    std::vector<int> popped;
    int value = 0;
    while (queue.pop(value) == 0)
        popped.push_back(value);
    EXPECT_EQ(popped, pushed);
    EXPECT_EQ(queue.pop(value), -1);
    EXPECT_EQ(queue.peek(), nullptr);
}

TEST(PriorityQueue, PeekShowsTheFirstAndClearEmpties)
{
    TpQueue<int, Smaller> queue(4);
    for (int v : {9, 3, 7})
        queue.push(v);
    ASSERT_NE(queue.peek(), nullptr);
    EXPECT_EQ(*queue.peek(), 3);
    queue.clear();
    EXPECT_EQ(queue.count(), 0u);
    EXPECT_EQ(queue.push(1), 0);
}
