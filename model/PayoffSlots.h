#pragma once
// The four payoff formulas of a terminal node, each made on first use: most terminal nodes use only the
// first, and other nodes none, so the empty ones cost nothing.

#include "formula/Expression.h"

constexpr int kPayoffCount = 4;

class PayoffSlots {
public:
    PayoffSlots() = default;
    PayoffSlots(const PayoffSlots&) = delete;
    PayoffSlots& operator=(const PayoffSlots&) = delete;
    ~PayoffSlots();

    // Payoff i (0 to 3), made empty on first use.
    Expression& operator[](int i);
    // Payoff i, or an empty formula when it was never made.
    const Expression& operator[](int i) const;
    // Some payoff has been made.
    bool HasAny() const { return slots != nullptr; }
    // Copies of the source's made payoffs in the same slots; the others stay as they are.
    void CopyMade(const PayoffSlots& source);

private:
    Expression** slots = nullptr;
};
