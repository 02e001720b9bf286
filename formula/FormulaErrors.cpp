#include "formula/FormulaErrors.h"

namespace {

const char* const errorTexts[FormulaErrorCount] = {
    "",
    "Syntax error$1.",
    "There is an empty formula.",
    "There is a self-referential (recursive) formula.",
    "Numeric overflow.",
    "",
    "Division by zero.",
    "Bad arguments using power operator (^).",
    "Bad function grouping or stacking.",
    "Unrecognized function \"$1\".",
    "Wrong number of arguments to function \"$1\".",
    "Argument out of range in function \"$1\".",
    "Cannot have a negative or zero argument to function \"$1\".",
    "Cannot have a negative argument to function \"$1\".",
    "Unrecognized table \"$1\".",
    "Table lookup in table \"$1\" generated an error.",
    "Wrong number of lookup arguments to table \"$1\".",
    "Undefined distribution index DistSamp($1).",
    "Invalid distribution: DistSamp($1).",
    "Bad description of distribution in function \"DIST\".",
    "Non-integral or out-of-range index to function \"CHOOSE\".",
    "Undefined link number SUB($1).",
    "Link item SUB($1) empty or not found.",
    "Unable to parse text of link item SUB($1). See the Links dialog for the actual text.",
    "Unrecognized variable \"$1\".",
    "No definition found for variable \"$1\".",
    "$1",
    "Unable to set cell value in bi-directional link. Cell: \"$2\". Variable: \"$1\".",
    "Unable to retrieve cell value in bi-directional link. Cell: \"$2\". Variable: \"$1\".",
};

}  // namespace

const char* FormulaErrorText(int code)
{
    if (code < 0 || code >= FormulaErrorCount)
        return nullptr;
    return errorTexts[code];
}
