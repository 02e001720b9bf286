#include "formula/FormulaParser.h"

#include "formula/BuiltinRegistry.h"
#include "formula/CallNodes.h"
#include "formula/Formula.h"
#include "formula/FormulaErrors.h"
#include "formula/OperandNodes.h"
#include "formula/OperatorRules.h"

#include <cstdio>

namespace {

// Binding strength of a binary operator token; 0 for any other token.
int Precedence(int token)
{
    const BinaryOperatorRule* rule = FindBinaryOperator(token);
    return rule ? rule->precedence : 0;
}

}  // namespace

FormulaParser::FormulaParser(Formula& formula, const char* text) : formula(formula), scanner(text)
{
    // Room for a typical formula's symbols at once, rather than growing step by step.
    stack.reserve(16);
}

int FormulaParser::NextToken()
{
    lastToken = scanner.Next(current);
    return lastToken;
}

int FormulaParser::StackWeight(Symbol symbol)
{
    switch (symbol) {
    case Symbol::CallOpen:
    case Symbol::TableOpen:
        return 3;  // name, "(" or "[", and the mid-rule marker
    case Symbol::ArgSeparator:
        return 2;  // args and ";"
    default:
        return 1;
    }
}

bool FormulaParser::SyntaxError()
{
    const zString place = ErrorPlace();
    formula.SetError(FormulaSyntaxError, &place);
    return false;
}

zString FormulaParser::ErrorPlace() const
{
    const Entry* open = nullptr;
    for (auto entry = stack.rbegin(); entry != stack.rend() && !open; ++entry)
        if (entry->symbol == Symbol::OpenParen || entry->symbol == Symbol::CallOpen ||
            entry->symbol == Symbol::TableOpen)
            open = &*entry;
    const char opening = open && open->symbol == Symbol::TableOpen ? '[' : '(';
    const int at = static_cast<int>(scanner.TokenStart()) + 1;
    char place[96];
    if (lastToken == TokenEnd && open)
        std::snprintf(place, sizeof place, " at character %d: \"%c\" is not closed",
                      static_cast<int>(open->position) + 1, opening);
    else if (lastToken == TokenEnd)
        std::snprintf(place, sizeof place, " at the end of the formula");
    else if ((lastToken == ')' || lastToken == ']') && !open)
        std::snprintf(place, sizeof place, " at character %d: \"%c\" closes no \"%c\"", at, lastToken,
                      lastToken == ']' ? '[' : '(');
    else if ((lastToken == ')' || lastToken == ']') && (lastToken == ']') != (opening == '['))
        std::snprintf(place, sizeof place, " at character %d: \"%c\" does not close the \"%c\" at character %d",
                      at, lastToken, opening, static_cast<int>(open->position) + 1);
    else
        std::snprintf(place, sizeof place, " at character %d", at);
    return zString(place);
}

bool FormulaParser::Push(Symbol symbol, int token, double value, int nameIndex)
{
    int weight = StackWeight(symbol);
    if (stackEntries + weight + 1 > kMaxStackEntries)
        return SyntaxError();
    stackEntries += weight;
    stack.push_back(Entry{symbol, token, value, nameIndex, scanner.TokenStart()});
    return true;
}

void FormulaParser::Pop()
{
    stackEntries -= StackWeight(stack.back().symbol);
    stack.pop_back();
}

FormulaParser::Symbol FormulaParser::TopSymbol(int below) const
{
    if (stack.size() <= static_cast<size_t>(below))
        return Symbol::None;
    return stack[stack.size() - 1 - below].symbol;
}

void FormulaParser::Run()
{
    bool expectOperand = true;
    int token = NextToken();
    for (;;) {
        if (expectOperand) {
            switch (token) {
            case TokenNumber:
                if (!ShiftNumber(current.value))
                    return;
                expectOperand = false;
                break;
            case TokenWord:
            case TokenIdent: {
                zString name(current.text);
                int next = NextToken();
                if (!ShiftName(name, token == TokenWord, next))
                    return;
                if (next == '(' || next == '[')
                    break;
                expectOperand = false;
                token = next;
                continue;
            }
            case '(':
                if (!Push(Symbol::OpenParen, token, 0.0))
                    return;
                break;
            case '-':
            case '+':
            case '!':
                if (!Push(Symbol::PrefixOp, token, 0.0))
                    return;
                break;
            case ')':
                if (!CallWithoutArguments())
                    return;
                expectOperand = false;
                break;
            default:
                SyntaxError();
                return;
            }
        } else {
            int precedence = Precedence(token);
            if (precedence > 0) {
                ReduceOperators(precedence);
                if (!Push(Symbol::BinaryOp, token, 0.0))
                    return;
                expectOperand = true;
            } else if (token == ')') {
                ReduceOperators(0);
                if (!CloseParenthesis())
                    return;
            } else if (token == ']') {
                ReduceOperators(0);
                if (!CloseTable())
                    return;
            } else if (token == ';') {
                ReduceOperators(0);
                if (!SeparateArgument())
                    return;
                expectOperand = true;
            } else if (token == TokenEnd) {
                ReduceOperators(0);
                // input: expr
                if (stack.size() == 1 && stack[0].symbol == Symbol::Expr)
                    formula.SetValue(stack[0].value);
                else
                    SyntaxError();
                return;
            } else {
                SyntaxError();
                return;
            }
        }
        token = NextToken();
    }
}

void FormulaParser::ReduceOperators(int precedence)
{
    while (stack.size() >= 2 && TopSymbol() == Symbol::Expr) {
        const Entry& below = stack[stack.size() - 2];
        if (below.symbol == Symbol::PrefixOp && kPrefixPrecedence >= precedence)
            ReducePrefix();
        else if (below.symbol == Symbol::BinaryOp && Precedence(below.token) >= precedence)
            ReduceBinary();
        else
            break;
    }
}

// expr: - expr | + expr | ! expr
void FormulaParser::ReducePrefix()
{
    double operand = stack.back().value;
    int code = PrefixOperatorCode(stack[stack.size() - 2].token);
    Pop();
    Pop();
    formula.PushNode(MakeParseNode(code));
    Push(Symbol::Expr, 0, ApplyUnaryOperator(code, operand));
}

// expr: expr op expr, with the operator rules of the first evaluation.
void FormulaParser::ReduceBinary()
{
    double right = stack.back().value;
    int code = FindBinaryOperator(stack[stack.size() - 2].token)->code;
    double left = stack[stack.size() - 3].value;
    Pop();
    Pop();
    Pop();
    formula.PushNode(MakeParseNode(code));
    Push(Symbol::Expr, 0, ApplyBinaryOperator(code, left, right, &formula, OperatorPass::Parse));
}

// expr: NUMBER
bool FormulaParser::ShiftNumber(double number)
{
    if (!Push(Symbol::Expr, 0, number))
        return false;
    formula.PushNode(new ConstantNode(number));
    return true;
}

// expr: IDENT | WORD; or, when "(" or "[" follows the name, the mid-rule action of a call or lookup:
// an argument frame and a marker node.
bool FormulaParser::ShiftName(const zString& name, bool isWord, int next)
{
    if (next == '(')
        return OpenCall(name, isWord);
    if (next == '[')
        return OpenTable(name);
    zString upperName(name);
    upperName.MakeUpper();
    // The name's cache is filled by the lookup, for the node that keeps it.
    NameResolutionCache resolution;
    double value = 0.0;
    int keywordIndex = -1;
    if (isWord)
        value = formula.LookupName(name, upperName, resolution, &keywordIndex);
    else
        value = formula.LookupTypedVariable(name, upperName, resolution);
    if (!Push(Symbol::Expr, 0, value))
        return false;
    formula.PushNode(new NameNode(upperName, name, keywordIndex, resolution));
    return true;
}

bool FormulaParser::OpenCall(const zString& name, bool isWord)
{
    names.push_back(name);
    if (!Push(Symbol::CallOpen, isWord ? 1 : 0, 0.0, static_cast<int>(names.size()) - 1))
        return false;
    formula.PushArgFrame();
    formula.PushNode(new FunctionArgMarker);
    return true;
}

bool FormulaParser::OpenTable(const zString& name)
{
    names.push_back(name);
    if (!Push(Symbol::TableOpen, 0, 0.0, static_cast<int>(names.size()) - 1))
        return false;
    formula.PushArgFrame();
    formula.PushNode(new TableArgMarker);
    return true;
}

// expr: WORD ( )
bool FormulaParser::CallWithoutArguments()
{
    if (TopSymbol() != Symbol::CallOpen || stack.back().token != 1)
        return SyntaxError();
    const zString& name = names[stack.back().nameIndex];
    double value = formula.CallFunction(name);
    formula.PushNode(new FunctionCallNode(FindBuiltinFunction(name)));
    Pop();
    return Push(Symbol::Expr, 0, value);
}

// args: expr | args ; expr   (the value joins the current argument frame)
bool FormulaParser::FinishArguments(Symbol opening)
{
    Symbol below = TopSymbol(1);
    if (TopSymbol() != Symbol::Expr || (below != opening && below != Symbol::ArgSeparator))
        return SyntaxError();
    formula.AppendArgValue(stack.back().value);
    Pop();
    if (TopSymbol() == Symbol::ArgSeparator)
        Pop();
    if (TopSymbol() != opening)
        return SyntaxError();
    return true;
}

// expr: ( expr ), or the end of a call: expr: name ( args )
bool FormulaParser::CloseParenthesis()
{
    if (TopSymbol() == Symbol::Expr && TopSymbol(1) == Symbol::OpenParen) {
        Entry inner = stack.back();
        Pop();
        Pop();
        return Push(Symbol::Expr, 0, inner.value);
    }
    if (!FinishArguments(Symbol::CallOpen))
        return false;
    const zString& name = names[stack.back().nameIndex];
    double value = formula.CallFunction(name);
    formula.PushNode(new FunctionCallNode(FindBuiltinFunction(name)));
    Pop();
    return Push(Symbol::Expr, 0, value);
}

// expr: name [ args ]
bool FormulaParser::CloseTable()
{
    if (!FinishArguments(Symbol::TableOpen))
        return false;
    const zString& name = names[stack.back().nameIndex];
    double value = formula.LookupTableByName(name);
    formula.PushNode(new TableLookupNode(name));
    Pop();
    return Push(Symbol::Expr, 0, value);
}

// args: args ; expr   (the separator)
bool FormulaParser::SeparateArgument()
{
    Symbol below = TopSymbol(1);
    if (TopSymbol() != Symbol::Expr ||
        (below != Symbol::CallOpen && below != Symbol::TableOpen && below != Symbol::ArgSeparator))
        return SyntaxError();
    formula.AppendArgValue(stack.back().value);
    Pop();
    if (TopSymbol() == Symbol::ArgSeparator)
        return true;
    return Push(Symbol::ArgSeparator, ';', 0.0);
}
