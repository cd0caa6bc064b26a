// pqueue: TpQueue, a binary min-heap of fixed capacity. The path finder keeps
// its open set in one; the network keeps its receive queue, ordered by
// message stamp, in another. `Before(a, b)` is true when a must come out
// before b. Elements are owned by the queue: clear() destroys them.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

template <typename T, typename Before>
class TpQueue {
public:
    explicit TpQueue(std::size_t capacity, Before before = Before{}) : capacity_(capacity), before_(before)
    {
        heap_.reserve(capacity);
    }

    // 0, or -1 when the queue is full (the item is then dropped).
    int push(T item)
    {
        if (heap_.size() >= capacity_)
            return -1;
        heap_.push_back(std::move(item));
        std::size_t i = heap_.size() - 1;
        while (i > 0) {
            const std::size_t parent = (i - 1) / 2;
            if (!before_(heap_[i], heap_[parent]))
                break;
            std::swap(heap_[i], heap_[parent]);
            i = parent;
        }
        return 0;
    }

    // Moves the first item into `out`: 0, or -1 when the queue is empty.
    int pop(T& out)
    {
        if (heap_.empty())
            return -1;
        out = std::move(heap_.front());
        if (heap_.size() > 1)
            heap_.front() = std::move(heap_.back());
        heap_.pop_back();
        std::size_t i = 0;
        for (;;) {
            const std::size_t left = 2 * i + 1;
            const std::size_t right = left + 1;
            std::size_t first = i;
            if (left < heap_.size() && before_(heap_[left], heap_[first]))
                first = left;
            if (right < heap_.size() && before_(heap_[right], heap_[first]))
                first = right;
            if (first == i)
                break;
            std::swap(heap_[i], heap_[first]);
            i = first;
        }
        return 0;
    }

    // The first item, or nullptr when empty.
    const T* peek() const { return heap_.empty() ? nullptr : &heap_.front(); }
    std::size_t count() const { return heap_.size(); }
    std::size_t capacity() const { return capacity_; }
    void clear() { heap_.clear(); }

private:
    std::size_t capacity_;
    Before before_;
    std::vector<T> heap_;
};
