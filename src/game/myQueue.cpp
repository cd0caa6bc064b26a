#include "game/myQueue.h"

#include <algorithm>

TMyQueue::TMyQueue(int capacity) : capacity_(std::max(capacity, 0)) {}

bool TMyQueue::push(TCell cell)
{
    if (count_ >= capacity_)
        return false;
    if (count_ == static_cast<int>(ring_.size()))
        grow();
    ring_[(head_ + count_) % ring_.size()] = cell;
    ++count_;
    return true;
}

std::optional<TCell> TMyQueue::pop()
{
    if (count_ == 0)
        return std::nullopt;
    const TCell cell = ring_[head_];
    head_ = (head_ + 1) % static_cast<int>(ring_.size());
    --count_;
    return cell;
}

const TCell* TMyQueue::peek() const
{
    return count_ == 0 ? nullptr : &ring_[head_];
}

void TMyQueue::clear()
{
    count_ = 0;
    head_ = 0;
}

// Unrolls the ring into a larger buffer, head first.
void TMyQueue::grow()
{
    const int size = static_cast<int>(ring_.size());
    std::vector<TCell> larger(static_cast<std::size_t>(std::min(capacity_, std::max(8, size * 2))));
    for (int i = 0; i < count_; ++i)
        larger[i] = ring_[(head_ + i) % size];
    ring_ = std::move(larger);
    head_ = 0;
}
