#pragma once
// The source from which cost-effectiveness points are built: a numbered set of strategies, each with a cost,
// an effectiveness and a name (the branches of a decision node, or the strategies of one sensitivity step).

#include <cstdint>

class zString;

class StrategySet {
public:
    virtual ~StrategySet() = default;
    virtual int32_t Count() const = 0;
    virtual double Cost(int32_t i) const = 0;
    virtual double Effectiveness(int32_t i) const = 0;
    // Copies the name of strategy i into `name`.
    virtual void Name(int32_t i, zString& name) const = 0;
};
