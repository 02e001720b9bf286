#pragma once
// The tree's risk preference (utility) function: none (values are their own utilities), constant risk
// aversion u = 1 - exp(-x / R), or a piecewise-linear curve through assessed points from (lowest end value,
// utility 0) to (highest end value, utility 1).

#include "formula/RunOutcome.h"
#include "foundation/zString.h"

#include <cstdint>
#include <functional>
#include <memory>

class Archive;
class TreeDocument;

class RiskPrefAssessment {
public:
    RiskPrefAssessment() = default;
    // Copies hold their own table.
    RiskPrefAssessment(const RiskPrefAssessment& other) { *this = other; }
    RiskPrefAssessment& operator=(const RiskPrefAssessment& other);

    // Finds the tree's lowest and highest end values; false on an error (already reported).
    using EndValueRange = std::function<bool(double& lowest, double& highest)>;
    // True when the function can be used with the tree as it is; otherwise the message says why (empty when
    // finding the end values failed).
    bool Check(const TreeDocument& document, zString& message, const EndValueRange& endValues) const;
    // The assessed range: the first point's value up to the value of the first point of utility 1; false when
    // there is no such point.
    bool AssessedRange(double& low, double& high) const;
    // Utility and certainty equivalent by the function's type; *error is set on overflow or outside the
    // assessed points.
    double ToUtility(double value, RunFault* error) const;
    double FromUtility(double utility, RunFault* error) const;

    // One assessed point of the function.
    struct Point {
        double utility;
        double value;
    };
    static constexpr int kPointCount = 17;

    // Every field zero and no table.
    void Clear();
    // A new table of 17 zero points in place of the old one.
    void ResetTable();
    // Stored form:
    //   version record        3 bytes, not used
    //   type                  i16
    //   pointsAssessed, constantAssessed   u8 each
    //   coefficient           f64
    //   table present         i16 (1 when there is a table)
    //   table                 16 points, utility then value (f64 each); reading makes a zero table first
    void Serialize(Archive& archive);

    // 0 no function, 1 constant risk aversion (exponential), 2 assessed points.
    int32_t type = 0;
    uint8_t constantAssessed = 0;
    uint8_t pointsAssessed = 0;
    // The coefficient R of the exponential function.
    double coefficient = 0.0;
    std::unique_ptr<Point[]> points;
};

// The utility of a value and the certainty equivalent of a utility under the tree's function.
double Utility(TreeDocument* document, double value, RunFault* error);
double InverseUtility(TreeDocument* document, double utility, RunFault* error);
