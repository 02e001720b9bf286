#pragma once
// Tokens of the formula scanner and the semantic value that travels with each token.

#include "foundation/zString.h"

// Token codes; a single-character token is its own character code, the end of the text is 0.
enum FormulaTokenCode {
    TokenEnd = 0,
    TokenNumber = 258,
    TokenLessEqual = 259,     // "<="
    TokenGreaterEqual = 260,  // ">="
    TokenNotEqual = 261,      // "<>"
    TokenWord = 262,          // a name of letters and underscores only
    TokenIdent = 263,         // a name with a digit after its first character
    TokenUnary = 264,         // never produced: the precedence level of the prefix operators
    TokenBadNumber = 265,     // a number that the number converter rejects: a syntax error wherever it stands
};

struct FormulaToken {
    int tag = 0;
    zString text;        // the name of a WORD or IDENT as typed
    double value = 0.0;  // the value of a NUMBER
};
