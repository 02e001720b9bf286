#pragma once
// The numbered errors of formula evaluation and their message texts.

// Error numbers of formula evaluation (0 means none). Numbers 29 and above are unknown to the table.
enum FormulaErrorCode {
    FormulaNoError = 0,
    FormulaSyntaxError = 1,
    FormulaEmpty = 2,
    FormulaRecursive = 3,
    FormulaOverflow = 4,
    FormulaSilentError = 5,
    FormulaDivisionByZero = 6,
    FormulaBadPower = 7,
    FormulaBadGrouping = 8,
    FormulaUnknownFunction = 9,
    FormulaWrongArgCount = 10,
    FormulaArgOutOfRange = 11,
    FormulaNotPositiveArg = 12,
    FormulaNegativeArg = 13,
    FormulaUnknownTable = 14,
    FormulaTableLookupFailed = 15,
    FormulaTableArgCount = 16,
    FormulaUndefinedDistribution = 17,
    FormulaInvalidDistribution = 18,
    FormulaBadDistDescription = 19,
    FormulaBadChooseIndex = 20,
    FormulaUndefinedLink = 21,
    FormulaEmptyLink = 22,
    FormulaUnparsableLink = 23,
    FormulaUnknownVariable = 24,
    FormulaNoDefinition = 25,
    FormulaGivenMessage = 26,
    FormulaCellSetFailed = 27,
    FormulaCellGetFailed = 28,
    FormulaErrorCount = 29
};

// The message of an error number with its "$1"/"$2" placeholders unfilled; null for numbers outside the table.
const char* FormulaErrorText(int code);
