#pragma once
// A list that may change while it is being walked: items removed during a walk are only marked and are
// freed when the last walk ends; items appended during a walk are reached by it. Idle tasks, handler lists
// and timers rely on this, since their callbacks add and remove entries of the very list being walked.

#include <list>
#include <utility>

template <class T>
class WalkableList {
    struct Node {
        T item;
        bool removed;
    };

public:
    WalkableList() = default;
    WalkableList(const WalkableList&) = delete;
    WalkableList& operator=(const WalkableList&) = delete;

    void PushFront(T item) { nodes_.push_front(Node{std::move(item), false}); }
    void PushBack(T item) { nodes_.push_back(Node{std::move(item), false}); }

    // Live items in list order.
    int Count() const
    {
        int count = 0;
        for (const Node& node : nodes_)
            count += node.removed ? 0 : 1;
        return count;
    }

    // Removes the first live item for which the predicate holds; true when one was removed.
    template <class Predicate>
    bool RemoveFirst(Predicate predicate)
    {
        for (auto it = nodes_.begin(); it != nodes_.end(); ++it) {
            if (!it->removed && predicate(it->item)) {
                Discard(it);
                return true;
            }
        }
        return false;
    }

    // Removes every live item for which the predicate holds; answers how many.
    template <class Predicate>
    int RemoveAll(Predicate predicate)
    {
        int removed = 0;
        for (auto it = nodes_.begin(); it != nodes_.end();) {
            auto next = std::next(it);
            if (!it->removed && predicate(it->item)) {
                Discard(it);
                ++removed;
            }
            it = next;
        }
        return removed;
    }

    // One walk over the live items; nodes stay in place while any walk is open.
    class Walk {
    public:
        explicit Walk(WalkableList& list) : list_(list) { ++list_.walks_; }
        Walk(const Walk&) = delete;
        Walk& operator=(const Walk&) = delete;
        ~Walk()
        {
            if (--list_.walks_ == 0)
                list_.Purge();
        }

        // The next live item, or null after the last.
        T* Next()
        {
            if (started_ && current_ == list_.nodes_.end())
                return nullptr;
            auto it = started_ ? std::next(current_) : list_.nodes_.begin();
            while (it != list_.nodes_.end() && it->removed)
                ++it;
            started_ = true;
            current_ = it;
            return it == list_.nodes_.end() ? nullptr : &it->item;
        }

        // Takes the current item off the list; false when it was already gone.
        bool RemoveCurrent()
        {
            if (!started_ || current_ == list_.nodes_.end() || current_->removed)
                return false;
            list_.Discard(current_);
            return true;
        }

        bool CurrentRemoved() const { return started_ && current_ != list_.nodes_.end() && current_->removed; }

    private:
        WalkableList& list_;
        typename std::list<Node>::iterator current_{};
        bool started_ = false;
    };

private:
    void Discard(typename std::list<Node>::iterator it)
    {
        if (walks_ > 0) {
            it->removed = true;
            pendingPurge_ = true;
        } else {
            nodes_.erase(it);
        }
    }

    void Purge()
    {
        if (!pendingPurge_)
            return;
        pendingPurge_ = false;
        for (auto it = nodes_.begin(); it != nodes_.end();)
            it = it->removed ? nodes_.erase(it) : std::next(it);
    }

    std::list<Node> nodes_;
    int walks_ = 0;
    bool pendingPurge_ = false;
};
