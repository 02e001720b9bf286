#pragma once
// The names the formula language knows by itself: 39 built-in functions and the keywords (the Markov
// state keywords and the distribution type names). Names match regardless of letter case.

#include "foundation/zString.h"

class CalcState;
class Formula;

// Indexes of the built-in functions.
enum BuiltinFunctionIndex {
    BuiltinExp = 0, BuiltinLn, BuiltinLog, BuiltinSqrt, BuiltinRoot, BuiltinAbs, BuiltinMin, BuiltinMax,
    BuiltinSum, BuiltinProd, BuiltinInt, BuiltinAverage, BuiltinRound, BuiltinFloor, BuiltinCeiling,
    BuiltinPi, BuiltinInf, BuiltinStdev, BuiltinIf, BuiltinAnnuity, BuiltinCompound, BuiltinFV, BuiltinNPV,
    BuiltinPMT, BuiltinPV, BuiltinDist, BuiltinSub, BuiltinReservedTable, BuiltinDEALE, BuiltinRateToProb,
    BuiltinUtilDiscount, BuiltinChoose, BuiltinDistSamp, BuiltinProbToRate, BuiltinModulo, BuiltinOddsToProb,
    BuiltinProbToOdds, BuiltinProbFactor, BuiltinLogit,
    BuiltinFunctionCount
};

// Argument count of functions that take any number of arguments.
constexpr int kAnyArgCount = 65535;  // not a resource id: a count

// Keyword indexes: 0 to 7 the Markov state keywords, 22 to 36 the distribution types (type = index - 21);
// the indexes between and up to 42 are empty.
constexpr int kKeywordCount = 43;
constexpr int kFirstDistributionKeyword = 22;
constexpr int kLastDistributionKeyword = 36;

// One call of a built-in function: its arguments in the order written and the formula that reports its errors.
struct BuiltinCall {
    Formula& formula;
    int index;
    int count;
    const double* values;
    // The first three arguments, 0.0 where missing.
    double x;
    double y;
    double z;

    // Reports error `code` with the function's registered name as "$1"; the function's value is then 0.0.
    double Fail(int code) const;
};

struct BuiltinFunctionRecord {
    const char* name;  // as listed; registered in upper case
    int argCount;      // kAnyArgCount for any number
    // The value for arguments whose count the dispatcher has checked.
    double (*compute)(const BuiltinCall& call);
};

// The built-in functions by index: the one table of their names, argument counts and computations.
extern const BuiltinFunctionRecord kBuiltinFunctions[BuiltinFunctionCount];

struct KeywordRecord {
    const char* name;       // as listed
    const char* upperName;  // empty for an unused index
    int isUsed;
};

// Builds the sorted function list and the keyword names (done on first use as well), and releases them.
void BuildBuiltinNameRegistry();
void FreeBuiltinNameRegistry();

// The index of the built-in function of that name (any case), or -1.
int FindBuiltinFunction(const zString& name);
// The registered (upper-case) name; empty for an index without a record.
void GetBuiltinFunctionName(int index, zString& out);
// The record's argument count; 0 for an index without a record.
int GetBuiltinArgCount(int index);

// The index of the first used keyword whose upper-case name equals `upperName`, or -1.
int FindKeyword(const zString& upperName);
// The keyword's name as listed; empty for an index outside the table.
void GetKeywordName(int index, zString& out);
// The name of the keyword of distribution type `type` (1 "dNormal" to 15 "dWeibull"); empty otherwise.
void GetDistributionKeyword(int type, zString& out);
// The value of a keyword: the Markov values from the calculation state, the distribution type numbers;
// 0.0 for an empty index, an index outside the table or a missing state.
double KeywordValue(int index, const CalcState* state);
