#pragma once
// A formula context for tests: variables from a name -> value map (unknown names report error 24), tables
// and links given by the test, distributions given by their value, and an optional node text for messages.

#include "formula/EvalContextBase.h"
#include "formula/Formula.h"
#include "formula/FormulaErrors.h"
#include "formula/LookupTable.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TestContext : public EvalContextBase {
public:
    // Variables as {name, value}; names are matched upper-cased.
    explicit TestContext(std::vector<std::pair<std::string, double>> values = {})
    {
        for (auto& entry : values)
            Set(entry.first, entry.second);
    }

    void Set(const std::string& name, double value)
    {
        std::string upper = name;
        for (char& c : upper)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        for (auto& entry : variables) {
            if (entry.first == upper) {
                entry.second = value;
                return;
            }
        }
        variables.emplace_back(upper, value);
    }

    double VariableValue(const zString& upperName) override
    {
        ++lookups;
        for (const auto& entry : variables) {
            if (upperName == entry.first.c_str())
                return entry.second;
        }
        if (formula)
            formula->SetError(FormulaUnknownVariable, &upperName);
        return 0.0;
    }

    double LinkValue(int n) override
    {
        auto found = links.find(n);
        if (found == links.end()) {
            zString number;
            number += std::to_string(n).c_str();
            SetError(FormulaUndefinedLink, &number);
            return 0.0;
        }
        return found->second;
    }

    LookupTable* FindTable(const zString& name, TableResolutionCache&) override
    {
        zString upper(name);
        upper.MakeUpper();
        for (auto& table : tables) {
            zString key(table->Name());
            key.MakeUpper();
            if (key == upper)
                return table.get();
        }
        return nullptr;
    }

    int DistributionValue(int n, int resample, double* value, RunFault&) override
    {
        auto found = distributions.find(n);
        if (found == distributions.end())
            return 0;
        *value = resample ? -found->second : found->second;
        return 1;
    }

    void AppendNodePart(zString& message, const zString& formulaName) override
    {
        if (!nodeText.empty() && !(formulaName == "given text")) {
            message += " of node \"";
            message += nodeText.c_str();
            message += "\"";
        }
    }

    // A table of {index, value} pairs with the given lookup method.
    LookupTable& AddTable(const char* name, std::vector<std::pair<double, double>> pairs,
                          int method = LookupTable::Interpolation)
    {
        tables.push_back(std::make_unique<LookupTable>());
        LookupTable& table = *tables.back();
        table.SetName(name);
        table.SetMethod(method);
        table.SetLoaded(true);
        for (auto& pair : pairs)
            table.SetEntry(pair.first, pair.second);
        return table;
    }

    std::vector<std::pair<std::string, double>> variables;
    std::map<int, double> links;
    std::map<int, double> distributions;
    std::vector<std::unique_ptr<LookupTable>> tables;
    std::string nodeText;
    int lookups = 0;
};
