#pragma once
// The tree's risk preference (utility) function. Until risk preference functions can be assessed the
// function is the identity: every value is its own utility and certainty equivalent.

#include "foundation/zString.h"

#include <cstdint>
#include <memory>

class Archive;
class TreeDocument;

class RiskPrefAssessment {
public:
    // True when the function can be used with the tree as it is; otherwise the message says why.
    bool Check(zString& message) const;

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

// The utility of a value and the certainty equivalent of a utility; each sets *error on overflow.
double Utility(TreeDocument* window, double value, int* error);
double InverseUtility(TreeDocument* window, double utility, int* error);
