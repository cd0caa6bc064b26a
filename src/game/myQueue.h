// myQueue: TMyQueue, a first-in first-out queue of cells with a fixed
// capacity. The path finder returns its waypoints in one and a unit walks
// them from its own. Storage grows with use up to the capacity, so the many
// short paths of a large army stay small.
#pragma once

#include "game/FCellMath.h"

#include <optional>
#include <vector>

class TMyQueue {
public:
    explicit TMyQueue(int capacity);

    // Appends at the tail; false, leaving the queue as it was, when it is full.
    bool push(TCell cell);
    // Takes the head; nothing when the queue is empty.
    std::optional<TCell> pop();
    // The head, or nullptr when the queue is empty.
    const TCell* peek() const;

    int count() const { return count_; }
    int capacity() const { return capacity_; }
    bool empty() const { return count_ == 0; }
    void clear();

private:
    void grow();

    int capacity_;
    int count_ = 0;
    int head_ = 0;
    std::vector<TCell> ring_;
};
