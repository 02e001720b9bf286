#include "formula/BuiltinRegistry.h"

#include "formula/CalcState.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Keyword names by index; null marks an empty index.
const char* const kKeywordNames[kKeywordCount] = {
    "_stage", "_stage_reward", "_total_reward", "_tunnel", "_stage_cost", "_stage_eff", "_total_cost",
    "_total_eff", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, "dNormal", "dLinear", "dBeta", "dChi", "dChi2", "dErlang", "dExpon",
    "dGamma", "dHyperExp", "dLaplace", "dLogistic", "dLogNormal", "dMaxwell", "dRayleigh", "dWeibull",
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

struct Registry {
    bool built = false;
    std::vector<std::string> functionNames;  // upper case, by index
    std::vector<int> sortedFunctions;        // indexes in byte order of the upper-case names
    std::vector<std::string> keywordNames;   // upper case, by index; empty for an unused index
};

Registry& RawRegistry()
{
    static Registry registry;
    return registry;
}

// The registry, built on first use when start-up has not built it yet.
Registry& TheRegistry()
{
    Registry& registry = RawRegistry();
    if (!registry.built)
        BuildBuiltinNameRegistry();
    return registry;
}

std::string UpperCase(const char* text)
{
    std::string result(text ? text : "");
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

}  // namespace

void BuildBuiltinNameRegistry()
{
    Registry& registry = RawRegistry();
    if (registry.built)
        return;
    registry.functionNames.clear();
    registry.sortedFunctions.clear();
    for (int i = 0; i < BuiltinFunctionCount; ++i) {
        registry.functionNames.push_back(UpperCase(kBuiltinFunctions[i].name));
        registry.sortedFunctions.push_back(i);
    }
    std::sort(registry.sortedFunctions.begin(), registry.sortedFunctions.end(), [&registry](int a, int b) {
        return std::strcmp(registry.functionNames[a].c_str(), registry.functionNames[b].c_str()) < 0;
    });
    registry.keywordNames.clear();
    for (int i = 0; i < kKeywordCount; ++i)
        registry.keywordNames.push_back(UpperCase(kKeywordNames[i]));
    registry.built = true;
}

void FreeBuiltinNameRegistry()
{
    Registry& registry = RawRegistry();
    registry.functionNames.clear();
    registry.sortedFunctions.clear();
    registry.keywordNames.clear();
    registry.built = false;
}

int FindBuiltinFunction(const zString& name)
{
    const Registry& registry = TheRegistry();
    std::string upperName = UpperCase(name.Text());
    int low = 0;
    int high = BuiltinFunctionCount;
    while (low < high) {
        int middle = (low + high - 1) / 2;
        int index = registry.sortedFunctions[middle];
        int order = std::strcmp(upperName.c_str(), registry.functionNames[index].c_str());
        if (order == 0)
            return index;
        if (order < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return -1;
}

void GetBuiltinFunctionName(int index, zString& out)
{
    const Registry& registry = TheRegistry();
    out = index >= 0 && index < BuiltinFunctionCount ? registry.functionNames[index].c_str() : "";
}

int GetBuiltinArgCount(int index)
{
    return index >= 0 && index < BuiltinFunctionCount ? kBuiltinFunctions[index].argCount : 0;
}

int FindKeyword(const zString& upperName)
{
    const Registry& registry = TheRegistry();
    if (upperName.IsEmpty())
        return -1;
    // Most names are no keyword: their first character or length rules each keyword out at once.
    const char* name = upperName.Text();
    const size_t length = static_cast<size_t>(upperName.Length());
    for (int i = 0; i < kKeywordCount; ++i) {
        const std::string& keyword = registry.keywordNames[i];
        if (keyword.size() == length && keyword[0] == name[0] && keyword == name)
            return i;
    }
    return -1;
}

void GetKeywordName(int index, zString& out)
{
    out = index >= 0 && index < kKeywordCount && kKeywordNames[index] ? kKeywordNames[index] : "";
}

void GetDistributionKeyword(int type, zString& out)
{
    GetKeywordName(type >= 1 && type <= kLastDistributionKeyword - kFirstDistributionKeyword + 1
                       ? type + kFirstDistributionKeyword - 1
                       : -1,
                   out);
}

double KeywordValue(int index, const CalcState* state)
{
    if (index >= kFirstDistributionKeyword && index <= kLastDistributionKeyword)
        return index - (kFirstDistributionKeyword - 1);
    if (!state)
        return 0.0;
    switch (index) {
    case 0: return state->stageCounter;
    case 1: return state->previousStage.value;
    case 2: return state->total.value;
    case 3: return state->tunnelIndex + 1.0;
    case 4: return state->previousStage.cost;
    case 5: return state->previousStage.effectiveness;
    case 6: return state->total.cost;
    case 7: return state->total.effectiveness;
    default: return 0.0;
    }
}
