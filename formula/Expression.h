#pragma once
// A formula as the user typed it, with the parse tree cached by its first evaluation without error (or
// by GetConstant, SetNumber or loading). Later evaluations run the cached tree. A cached tree, and the form
// it is evaluated in, is shared and never changed: copies share it, and so do expressions of the same text
// whose first evaluation finds the tree that text parsed to kept by another expression.

#include "formula/NameResolution.h"
#include "foundation/zString.h"

#include <cstdint>
#include <functional>

class Archive;
class CompiledFormula;
class Formula;
class NameList;
class ParseNode;

// A cached tree, the form it is evaluated in and the number of expressions using it; the tree's value when
// it is known to be a number from the start (a plain number, or numbers and operators worked out), which
// never changes. A form shared by text has a copy of the text right behind it; the form of a plain number
// read as such (byNumber) has its constant tree there.
struct ParsedForm {
    ParseNode* tree;
    CompiledFormula* compiled;
    uint32_t users;
    bool byText;
    bool byNumber;
    bool isNumber;
    double number;

    const char* Text() const { return reinterpret_cast<const char*>(this + 1); }
};

class Expression {
public:
    // The longest text the stored form holds; readers refuse longer ones (format error 25).
    static constexpr uint32_t kMaxStoredTextLength = 1500;
    // A formula's value beyond +-this is a numeric overflow (error 4).
    static constexpr double kOverflowLimit = 1e21;

    Expression() = default;
    explicit Expression(const char* text) : text(text) {}
    Expression(const Expression& source);
    Expression& operator=(const Expression& source);
    ~Expression();

    // Copies the text and shares the source's tree. Assigning an expression to itself leaves it as it is.
    void Assign(const Expression& source);

    const zString& Text() const { return text; }
    // Sets the text and drops the cached tree.
    void SetText(const char* newText);
    bool IsEmpty() const { return text.IsEmpty(); }

    ParseNode* GetParseTree() const;
    // Differs between expressions and changes with every change of the cached tree: what was worked out
    // from the tree holds while the serial stays.
    uint32_t TreeSerial() const { return treeSerial; }
    // The serial handed out last: it changes whenever any expression is made or any cached tree changes (every
    // change of a formula text drops its tree), so a value worked out from formulas holds while it stays.
    static uint32_t LastTreeSerial() { return lastTreeSerial; }
    bool HasParseTree() const { return form != nullptr; }
    // Takes ownership of `tree` in place of the cached one.
    void SetParseTree(ParseNode* tree);
    // The tree the first evaluation parsed from the text, without error: cached, and shared with later
    // expressions of the same text when EvaluateSharedParse can walk it.
    void KeepParse(ParseNode* tree);
    // The first evaluation of an expression without a cached tree, when another expression keeps the tree its
    // text parses to (of numbers, names and operators): the tree is walked as the parse would evaluate the
    // text (the same lookups, operator rules and errors, in the same order) and, when no error arose, cached.
    // True with the value; false, with nothing done, when no such tree is kept.
    bool EvaluateSharedParse(Formula* f, double* value);
    // The first evaluation of an expression without a cached tree whose text is a plain number (as
    // ReadPlainNumber reads it) within kOverflowLimit: caches the constant tree the parse would keep (shared
    // with expressions of the same value read shortly before) and gives the value without parsing the text.
    // False, with nothing done, for any other expression.
    bool KeepPlainNumber(double* value);
    // Deletes the cached tree; the next evaluation parses the text again. Every change of the text, or of
    // anything the tree could depend on, calls it.
    void DropParseTree();
    // The value of the cached tree (which must exist) on `f`: through its flattened steps, made on first use
    // for a large tree and once it has been evaluated a few dozen times for a small one; a single node is
    // always walked.
    double EvaluateParseTree(Formula* f);
    // True, with the value, when the cached tree is a plain number, or a small tree of numbers and operators
    // that cannot fail ("1701+1055", worked out when the tree was cached): callers may then skip setting up
    // an evaluation.
    bool CachedNumber(double* out) const
    {
        if (form == nullptr || !form->isNumber)
            return false;
        *out = form->number;
        return true;
    }
    // The value EvaluateParseTree gives, when the tree is a plain number, or has been evaluated before and
    // needs no formula task: every name it reads is bound to a plain number that the name's cache knows from
    // `start` (the scope that names resolve from), and it meets no keyword, call, lookup, divisor of zero or
    // failing "^". False when that does not hold, with nothing changed. readsVariables tells whether a name
    // was read.
    bool EvaluateBoundNumbers(const void* start, double* out, bool* readsVariables) const;
    // Chooses how the cached tree (which must exist) is evaluated, as its first evaluation would, so that
    // EvaluateBoundNumbers may answer for a tree that has been parsed but not yet evaluated.
    void ChooseEvaluationForm();
    // Calls `visit` with the upper-case name and the cache of every variable's name node in the cached tree.
    void VisitVariableNames(const std::function<void(const zString&, NameResolutionCache&)>& visit);

    // The text becomes `newText` when given, else the value as the default number format writes it; the
    // cached tree becomes a constant node holding the value, so no parsing is needed.
    void SetNumber(double value, const char* newText = nullptr);
    // True, with the value, when the expression is a constant: a number, optionally behind unary minus and
    // plus signs. Parses the text in check-only mode when no tree is cached.
    bool GetConstant(double* out);

    // True when the text fits the stored form; a save checks this before it opens the user's file.
    bool FitsStoredForm() const { return text.Length() <= kMaxStoredTextLength; }

    // Stored form:
    //   version record        3 bytes
    //   text                  stored string (flag 0)
    //   tree flag             16 bits: 2 a parse tree follows, 0 none (1: the older node list follows)
    //   parse tree            when the flag is 2, in the parse-tree stream form
    // Streams not newer than 2.6 beta 5 have no flag and always carry the older node list, which is read
    // and discarded. A text longer than 1500 characters sets format error 25, an unknown node-list item 26.
    // The writer stores only what the reader takes back: a text longer than 1500 characters is not written
    // but sets format error 25 on the archive, and a tree the reader would refuse (nested deeper than it
    // reads) is left out (flag 0), to be parsed again from the text.
    void Serialize(Archive& archive);

private:
    // Uses `shared` (null: none) in place of the current form, which loses a user; a new tree serial.
    void UseForm(ParsedForm* shared);

    zString text;
    // The cached tree with the form it is evaluated in.
    ParsedForm* form = nullptr;
    uint32_t treeSerial = NewTreeSerial();

    static uint32_t lastTreeSerial;
    static uint32_t NewTreeSerial() { return ++lastTreeSerial; }
};

// True, with the number, when the cache was filled from `start` under the current generation and its name
// is bound to a plain number.
inline bool BoundNumberFromCache(const NameResolutionCache& cache, const void* start, double* number)
{
    return cache.generation == ResolutionGenerations::Names() && cache.scope == start && start != nullptr &&
           cache.definition->CachedNumber(number);
}

// True when the tree is a constant node, optionally behind unary minus and plus nodes.
bool IsConstantTree(const ParseNode* tree);

// Adds the upper-cased name of every table that the expression's cached tree looks up to `names`, in
// sorted order and each once. An expression without a cached tree adds nothing.
void CollectTableNames(const Expression& expression, NameList& names);
