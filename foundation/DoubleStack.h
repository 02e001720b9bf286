#pragma once
// Stack of doubles with a 16-bit count; popping an empty stack gives the default value.

#include <cstdint>
#include <vector>

class DoubleStack {
public:
    static constexpr int16_t kMaxItems = 32767;

    explicit DoubleStack(double defaultValue = 0.0) : defaultValue(defaultValue) {}

    int16_t Count() const { return static_cast<int16_t>(items.size()); }
    bool IsEmpty() const { return items.empty(); }
    // False when the stack is full (32767 values).
    bool Push(double value)
    {
        if (items.size() >= static_cast<size_t>(kMaxItems))
            return false;
        items.push_back(value);
        return true;
    }
    // The top value, removed; the default value when the stack is empty.
    double Pop()
    {
        if (items.empty())
            return defaultValue;
        double top = items.back();
        items.pop_back();
        return top;
    }
    double Top() const { return items.empty() ? defaultValue : items.back(); }

private:
    std::vector<double> items;
    double defaultValue;
};
