// Reading the sections of the older tree text format into node and branch records.

#include "model/LegacyTreeImporter.h"

#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "model/LegacyTreeText.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace {

// Kind of a node type letter.
int32_t KindOfLetter(char letter)
{
    switch (letter) {
    case 'B': return LogicNode;
    case 'C': return ChanceNode;
    case 'D': return DecisionNode;
    case 'L': return LabelNode;
    case 'M': return MarkovNode;
    default: return TerminalNode;
    }
}

// "B: name := formula" (the "B:" optional): the name cut at ':', trimmed and cut to 8 characters, and the
// trimmed formula. False without ":=".
bool SplitDefinition(const std::string& line, std::string& name, std::string& formula)
{
    std::string rest = line;
    const size_t b = FindIgnoringCase(rest, "B:");
    if (b != std::string::npos)
        rest.erase(b, 2);
    const size_t assign = rest.find(":=");
    if (assign == std::string::npos)
        return false;
    name = rest.substr(0, assign);
    const size_t colon = name.find(':');
    if (colon != std::string::npos)
        name.erase(colon);
    name = TrimBlanks(name);
    if (name.size() > 8)
        name = TrimBlanks(name.substr(0, 8));
    formula = TrimBlanks(rest.substr(assign + 2));
    return true;
}

bool IsAcceptableFormula(const std::string& formula)
{
    return formula.find(';') == std::string::npos && formula.find(":=") == std::string::npos;
}

bool IsBlank(const std::string& line)
{
    return TrimBlanks(line).empty();
}

bool IsTableHeader(const std::string& trimmed)
{
    if (trimmed.empty() || trimmed.size() >= 9 || !IsNameStartChar(trimmed[0]))
        return false;
    return std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return IsNameChar(c); });
}

// The text after the first occurrence of the key (ignoring case) is removed with the key; then trimmed.
std::string RemoveKey(const std::string& line, const char* key)
{
    std::string rest = line;
    const size_t at = FindIgnoringCase(rest, key);
    if (at != std::string::npos)
        rest.erase(at, std::string(key).size());
    return TrimBlanks(rest);
}

bool ParseEntry(const std::string& line, double& index, double& value)
{
    const size_t comma = line.find(',');
    if (comma == std::string::npos)
        return false;
    const std::string first = TrimBlanks(line.substr(0, comma));
    const std::string second = TrimBlanks(line.substr(comma + 1));
    char* end = nullptr;
    index = std::strtod(first.c_str(), &end);
    if (first.empty() || *end != '\0')
        return false;
    value = std::strtod(second.c_str(), &end);
    return !second.empty() && *end == '\0';
}

}  // namespace

LegacyTreeImporter::LegacyTreeImporter(std::string source, TreeDocument* tree, const LegacyImportOptions& options)
    : text(std::move(source)), document(tree), options(options)
{
    NextLine();
    ParseNodeSection();
    NextLine();
    ParseDefaultSection();
    NextLine();
    ParseTableSection();
    ParseCommentSection();
    if (error != NoError)
        return;
    ConvertFormulas();
    if (error != NoError)
        return;
    LegacyNodeRecord* rootRecord = nullptr;
    if (!ChooseRoot(rootRecord))
        return;
    BuildTree(rootRecord);
    if (error != NoError) {
        delete root;
        root = nullptr;
        return;
    }
    DropUnboundVariables();
    ConvertMarkovNodes();
    SetCalculationPreferences();
}

void LegacyTreeImporter::NextLine()
{
    line.clear();
    // A refused file is read no further.
    if (position >= text.size() || error != NoError) {
        endOfFile = true;
        return;
    }
    const size_t end = text.find_first_of("\r\n", position);
    const size_t stop = end == std::string::npos ? text.size() : end;
    line.assign(text, position, stop - position);
    position = stop;
    if (position < text.size() && text[position] == '\r')
        ++position;
    while (position < text.size() && text[position] == '\n')
        ++position;
    ++lineNumber;
    // What a line leaves behind is copies of its parts: names, keys, formulas, comments, ignored lines.
    CountParsed(3 * line.size());
}

void LegacyTreeImporter::CountParsed(size_t bytes)
{
    parsedBytes += static_cast<long>(bytes);
    if (parsedBytes > kMaxBytes && error == NoError)
        error = TooLarge;
}

// Records are found by their name in upper case; an empty name never matches, so each one is a record of
// its own.
LegacyNodeRecord* LegacyTreeImporter::FindOrAddRecord(const std::string& name)
{
    std::string key = name;
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!key.empty()) {
        const auto found = recordIndex.find(key);
        if (found != recordIndex.end())
            return found->second;
    }
    CountParsed(sizeof(LegacyNodeRecord) + kIndexEntryBytes);
    records.push_back(std::make_unique<LegacyNodeRecord>());
    records.back()->name = name;
    if (!key.empty())
        recordIndex.emplace(std::move(key), records.back().get());
    return records.back().get();
}

// Node headers "name(X)", each with an optional "U:" payoff line and its branches: "TO: target", an
// optional "P:"/"L:"/"R:" probability line, "B:" binding lines, then the branch's separator line; the
// node's own separator line follows its last branch.
void LegacyTreeImporter::ParseNodeSection()
{
    while (!endOfFile || !line.empty()) {
        const size_t mark = FindNodeTypeMark(line);
        if (mark == std::string::npos)
            return;
        LegacyNodeRecord* record = FindOrAddRecord(TrimBlanks(line.substr(0, mark)));
        record->kind = KindOfLetter(line[mark + 1]);
        NextLine();
        if (ContainsIgnoringCase(line, "U:")) {
            const size_t equals = line.find('=');
            const std::string payoff = equals == std::string::npos ? std::string() : line.substr(equals + 1);
            std::string first;
            std::string second;
            if (SplitDualPair(payoff, first, second)) {
                record->payoffs[0] = first;
                record->payoffs[1] = second;
                costEffectiveness = true;
            } else {
                const size_t start = payoff.find_first_not_of(" \t");
                record->payoffs[0] = start == std::string::npos ? std::string() : payoff.substr(start);
            }
            NextLine();
        }
        while (ContainsIgnoringCase(line, "TO:")) {
            CountParsed(sizeof(LegacyBranchRecord));
            auto branch = std::make_unique<LegacyBranchRecord>();
            const std::string targetName = TrimBlanks(line.substr(line.find(':') + 1));
            LegacyNodeRecord* target = FindOrAddRecord(targetName);
            target->rootCandidate = false;
            branch->target = target;
            LegacyBranchRecord& current = *branch;
            record->branches.push_back(std::move(branch));
            NextLine();
            if (ContainsIgnoringCase(line, "P:") || ContainsIgnoringCase(line, "L:") ||
                ContainsIgnoringCase(line, "R:")) {
                current.probability = TrimBlanks(line.substr(line.find(':') + 1));
                NextLine();
            }
            while (ContainsIgnoringCase(line, "B:")) {
                ParseBinding(current);
                NextLine();
            }
            NextLine();
        }
        NextLine();
    }
}

void LegacyTreeImporter::ParseDefaultSection()
{
    while (line.find(":=") != std::string::npos) {
        std::string name;
        std::string formula;
        std::string usable;
        DocVariable* variable = nullptr;
        if (SplitDefinition(line, name, formula) && IsAcceptableFormula(formula) && CheckName(name, usable))
            variable = EnsureVariable(usable);
        if (variable)
            variable->definition.SetText(formula.c_str());
        else
            ignoredBindings.push_back(line);
        NextLine();
    }
}

void LegacyTreeImporter::ParseTableSection()
{
    while (IsTableHeader(TrimBlanks(line))) {
        std::string name = TrimBlanks(line);
        LookupTable* table = nullptr;
        if (FindTable(name.c_str()) != nullptr) {
            tablesNotLoaded.push_back(name);
        } else {
            if (name.size() > 8)
                name.erase(8);
            for (char digit = '1'; FindTable(name.c_str()) != nullptr && digit <= '9'; ++digit)
                name.back() = digit;
            if (FindTable(name.c_str()) == nullptr)
                table = CreateTable(name.c_str(), name.c_str(), "", LookupTable::Interpolation, false);
        }
        NextLine();
        while (!(endOfFile && line.empty()) && !IsBlank(line) && line[0] != '=') {
            double index = 0.0;
            double value = 0.0;
            if (table && ParseEntry(line, index, value))
                table->SetEntry(index, value);
            NextLine();
        }
        NextLine();
        if (table)
            table->Save();
    }
}

void LegacyTreeImporter::ParseCommentSection()
{
    NextLine();
    NextLine();
    while (ContainsIgnoringCase(line, "COMMENTS ON")) {
        DocVariable* variable = nullptr;
        LegacyNodeRecord* record = nullptr;
        if (ContainsIgnoringCase(line, "VARIABLE:")) {
            // A variable renamed by the name check keeps its comment under the new name.
            std::string name = RemoveKey(line, "Comments on variable:");
            for (const auto& pair : changedNames) {
                if (pair.first == name)
                    name = pair.second;
            }
            variable = EnsureVariable(name);
        }
        else if (ContainsIgnoringCase(line, "NODE:"))
            record = FindOrAddRecord(RemoveKey(line, "Comments on node:"));
        std::string comment;
        NextLine();
        while (!(endOfFile && line.empty()) && !IsBlank(line) && line[0] != '=') {
            comment += line;
            comment += ' ';
            NextLine();
        }
        if (variable)
            variable->comment = comment.c_str();
        else if (record)
            record->comment = comment;
        NextLine();
    }
}

void LegacyTreeImporter::ParseBinding(LegacyBranchRecord& branch)
{
    std::string name;
    std::string formula;
    std::string usable;
    if (!SplitDefinition(line, name, formula)) {
        ignoredBindings.push_back(line);
        return;
    }
    if (ContainsIgnoringCase(name, "m.") && ApplyMarkovBinding(branch, name, formula))
        return;
    if (IsAcceptableFormula(formula) && CheckName(name, usable)) {
        CountParsed(sizeof(VariableDefinition));
        branch.bindings.InsertSorted(new VariableDefinition(usable.c_str(), formula.c_str()));
        EnsureVariable(usable);
        return;
    }
    ignoredBindings.push_back(line);
}

bool LegacyTreeImporter::ApplyMarkovBinding(LegacyBranchRecord& branch, const std::string& name,
                                            const std::string& formula)
{
    static const char* const rewardKeys[3] = {"m.uINIT", "m.uINCR", "m.uTAIL"};
    auto firstRewardOrToll = [&branch]() {
        if (branch.hasRewards || branch.hasTolls)
            return;
        for (std::string& reward : branch.rewards)
            reward = "0";
    };
    for (int slot = 0; slot < 3; ++slot) {
        if (!ContainsIgnoringCase(name, rewardKeys[slot]))
            continue;
        firstRewardOrToll();
        branch.hasRewards = true;
        std::string first;
        std::string second;
        if (SplitDualPair(formula, first, second)) {
            branch.rewards[slot] = first;
            branch.rewards[slot + 3] = second;
            costEffectiveness = true;
        } else {
            branch.rewards[slot] = formula;
        }
        return true;
    }
    if (ContainsIgnoringCase(name, "m.TUNNEL")) {
        branch.tunnelCount = std::atoi(formula.c_str());
        return false;
    }
    const int toll = ContainsIgnoringCase(name, "m.TOLL2") ? 1 : ContainsIgnoringCase(name, "m.TOLL") ? 0 : -1;
    if (toll < 0)
        return false;
    firstRewardOrToll();
    branch.tolls[toll] = NegateFormula(formula);
    branch.hasTolls = true;
    return true;
}

bool LegacyTreeImporter::CheckName(const std::string& name, std::string& usable)
{
    if (name.empty())
        return false;
    if (CheckVariableName(zString(name.c_str()), false, false) != 0) {
        usable = name;
        return true;
    }
    for (const char* keyword : {"M.CYCLE", "M.CYCSUM", "M.CUMSUM"}) {
        if (name.size() == std::string(keyword).size() && FindIgnoringCase(name, keyword) == 0)
            return false;
    }
    std::string changed = name;
    std::replace_if(changed.begin(), changed.end(), [](char c) { return c == '.' || c == '@' || c == '~'; }, '_');
    if (changed == name || CheckVariableName(zString(changed.c_str()), false, false) == 0)
        return false;
    const auto pair = std::make_pair(name, changed);
    if (std::find(changedNames.begin(), changedNames.end(), pair) == changedNames.end())
        changedNames.push_back(pair);
    usable = changed;
    return true;
}

DocVariable* LegacyTreeImporter::EnsureVariable(const std::string& name)
{
    zString upper(name.c_str());
    upper.MakeUpper();
    DocVariable* variable = FindVariableDefinition(variables, upper.Text());
    if (!variable) {
        CountParsed(sizeof(DocVariable));
        variable = new DocVariable(name.c_str());
        if (variables.InsertSorted(variable) < 0) {
            delete variable;
            return nullptr;
        }
    }
    return variable;
}
