#pragma once
// The one-pass parser of formula texts. While it reduces it computes the formula's first value and has
// the Formula build the parse tree on its node stack.
//
// Grammar (start symbol input; arguments are separated by ";" only):
//   input: expr
//   expr:  expr op expr            op one of: | & < = > <= >= <> + - * / ^
//        | - expr | + expr | ! expr
//        | ( expr ) | NUMBER | IDENT | WORD
//        | WORD ( )                 only a WORD may be called without arguments
//        | name ( args )            name: WORD or IDENT; a function call
//        | name [ args ]            a table lookup
//   args:  expr | args ; expr
//
// Precedence, loosest first, every binary operator left-associative (so 2^3^2 is (2^3)^2):
//   |   &   comparisons   + -   * /   ^   prefix - + !
//
// The parser is a shift-reduce parser over an explicit stack, so deep nesting never deepens the call
// stack; the stack is limited to 10000 entries, counted as a table-driven parser would count its states,
// and overflowing it is a syntax error.

#include "formula/FormulaScanner.h"
#include "formula/FormulaToken.h"
#include "foundation/zString.h"

#include <vector>

class Formula;

class FormulaParser {
public:
    static constexpr int kMaxStackEntries = 10000;

    FormulaParser(Formula& formula, const char* text);
    // Parses the whole text. The first syntax error sets error 1 on the formula and ends the parse; at the
    // end of a complete formula the formula's value becomes the value of the expression.
    void Run();

private:
    enum class Symbol { None, Expr, BinaryOp, PrefixOp, OpenParen, CallOpen, TableOpen, ArgSeparator };

    struct Entry {
        Symbol symbol;
        int token;     // the operator of BinaryOp and PrefixOp; for CallOpen 1 when the name is a WORD
        double value;  // the value of Expr
        int nameIndex; // CallOpen and TableOpen: index into names
        size_t position; // where its token starts in the text
    };

    // Entries a table-driven parser would hold for the symbol.
    static int StackWeight(Symbol symbol);
    int NextToken();
    bool Push(Symbol symbol, int token, double value, int nameIndex = -1);
    void Pop();
    Symbol TopSymbol(int below = 0) const;
    bool SyntaxError();
    // Where the parse failed, for the message: the character, and the bracket at fault when one is.
    zString ErrorPlace() const;

    // Reduces every operator on the stack that binds at least as tightly as `precedence`.
    void ReduceOperators(int precedence);
    void ReducePrefix();
    void ReduceBinary();

    bool ShiftNumber(double number);
    bool ShiftName(const zString& name, bool isWord, int next);
    bool OpenCall(const zString& name, bool isWord);
    bool OpenTable(const zString& name);
    bool CallWithoutArguments();
    bool CloseParenthesis();
    bool CloseTable();
    bool SeparateArgument();
    // Appends the Expr on top to the current argument frame and leaves the opening entry on top.
    bool FinishArguments(Symbol opening);

    Formula& formula;
    FormulaScanner scanner;
    FormulaToken current;
    int lastToken = 0;
    std::vector<Entry> stack;
    std::vector<zString> names;
    int stackEntries = 1;  // the initial state
};
