#include "treewin/FunctionHelper.h"

#include "widgets/Shell.h"
#include "treewin/FormulaMenus.h"
#include "widgets/ProgramDialog.h"
#include "formula/BuiltinRegistry.h"
#include "foundation/LocaleChars.h"
#include "foundation/MessageBoxes.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/PopupMenu.h"

#include "CommandIds.h"

#include <string>

namespace FunctionHelper2740Ids = Ctl::FunctionHelper2740;

namespace {

// The helper list, in the order shown: the function and its description (the call form, a blank line,
// what it gives).
struct HelperEntry {
    int function;
    const char* description;
};
const HelperEntry kHelperList[] = {
    {BuiltinAbs, "Abs(x)\n\nAbsolute value of x"},
    {BuiltinAnnuity, "Annuity(rate;#pds)\n\nNet present value of a series of equal future payments, discounted"},
    {BuiltinAverage, "Average(LIST)\n\nArithmetic mean of a list"},
    {BuiltinCeiling, "Ceiling(x)\n\nSmallest integer larger than x"},
    {BuiltinChoose, "Choose(index;LIST)\n\nSelect the Nth item in the given list"},
    {BuiltinCompound, "Compound(rate;#pds)\n\nCompound interest rate (effective yield) at a fixed rate over a fixed "
                      "number of periods"},
    {BuiltinDEALE, "DEALE(rate;time)\n\nDeclining exponential approximation of life-expectancy"},
    {BuiltinDistSamp, "DistSamp(x)\n\nDistribution x (defined in tree)"},
    {BuiltinExp, "Exp(x)\n\n\"e\" to the x power"},
    {BuiltinFloor, "Floor(x)\n\nGreatest integer smaller than x"},
    {BuiltinFV, "FV(pmt;pv;rate;#pmts)\n\nFuture value of a series of equal, periodic payments"},
    {BuiltinIf, "If(condition;trueVal;falseVal)\n\nEvaluates a condition, then returns \"trueVal\" if it is true or "
                "\"falseVal\" if it is false"},
    {BuiltinInf, "Inf()\n\nInfinity"},
    {BuiltinInt, "Int(x)\n\nInteger component of x"},
    {BuiltinLn, "Ln(x)\n\nNatural (base \"e\") logarithm of x"},
    {BuiltinLog, "Log(x)\n\nBase 10 logarithm of x"},
    {BuiltinMax, "Max(LIST)\n\nMaximum, or highest value, of a list"},
    {BuiltinMin, "Min(LIST)\n\nMinimum, or lowest value, of a list"},
    {BuiltinModulo, "Modulo(x;y)\n\nCalculates the remainder of x/y"},
    {BuiltinNPV, "NPV(rate;LIST of flows)\n\nNet present value of periodic cash flows, discounted"},
    {BuiltinOddsToProb, "OddsToProb(p)\n\nCalculates the probability from an odds ratio"},
    {BuiltinPi, "Pi()\n\n3.1415"},
    {BuiltinPMT, "PMT(principal;rate;term)\n\nSize of equal, periodic payments required to pay off a loan"},
    {BuiltinProbFactor, "ProbFactor(p;f)\n\nScales the odds of p by the factor f"},
    {BuiltinProbToOdds, "ProbToOdds(p)\n\nCalculates the odds ratio from a probability"},
    {BuiltinProbToRate, "ProbToRate(prob;time)\n\nConverts a probability into a rate"},
    {BuiltinProd, "Prod(LIST)\n\nProduct of the items in a list"},
    {BuiltinPV, "PV(pmt;fv;rate;#pmts)\n\nPresent value of equal, periodic payments at a fixed interest rate"},
    {BuiltinRateToProb, "RateToProb(rate;time)\n\nConverts a rate (of mortality, e.g.) into a probability that the "
                        "event will occur in the given time"},
    {BuiltinRoot, "Root(x;y)\n\nyth root of x"},
    {BuiltinRound, "Round(x)\n\nx rounded to the nearest integer"},
    {BuiltinSqrt, "Sqrt(x)\n\nSquare root of x"},
    {BuiltinStdev, "Stdev(LIST)\n\nStandard deviation of a list of numbers"},
    {BuiltinSub, "Sub(x)\n\nThe value of link-index x"},
    {BuiltinSum, "Sum(LIST)\n\nSum of a list"},
    {BuiltinUtilDiscount, "UtilDiscount(util;rate;time)\n\nDiscounts the given utility at the given discount rate for "
                          "the given amount of time"},
};

const char* Description(int function)
{
    for (const HelperEntry& entry : kHelperList)
        if (entry.function == function)
            return entry.description;
    return "";
}

// How a function's arguments are asked for: one number or a list in one edit under a prompt, or one edit
// per argument under its label with the description above.
enum class PromptKind { OneNumber, List, Arguments };

constexpr const char* kRate = "&Rate: in the form \".1\" or \"10%\", but not \"10\"";
constexpr const char* kPayment = "&Payment: to be made each period";

struct Prompt {
    int function;
    PromptKind kind;
    // The phrase of a one-number prompt, the word of a list prompt, or the description above the
    // arguments (null: the helper list's).
    const char* text;
    const char* labels[4];
    // The last argument is a list.
    bool lastIsList;
};
const Prompt kPrompts[] = {
    {BuiltinExp, PromptKind::OneNumber, "to which power you want to raise e", {}, false},
    {BuiltinLn, PromptKind::OneNumber, "whose natural logarithm you want to take", {}, false},
    {BuiltinLog, PromptKind::OneNumber, "whose base-10 logarithm you want to take", {}, false},
    {BuiltinSqrt, PromptKind::OneNumber, "whose square root you want to take", {}, false},
    {BuiltinAbs, PromptKind::OneNumber, "whose absolute value you want to take", {}, false},
    {BuiltinInt, PromptKind::OneNumber, "whose integer part you want to take", {}, false},
    {BuiltinRound, PromptKind::OneNumber, "you would like rounded", {}, false},
    {BuiltinFloor, PromptKind::OneNumber, "which you would like the largest integer below", {}, false},
    {BuiltinCeiling, PromptKind::OneNumber, "which you would like the smallest integer above", {}, false},
    {BuiltinSub, PromptKind::OneNumber, "which represents the link-index whose value you need", {}, false},
    {BuiltinOddsToProb, PromptKind::OneNumber, "representing the odds ratio", {}, false},
    {BuiltinProbToOdds, PromptKind::OneNumber, "representing the probability", {}, false},
    {BuiltinMin, PromptKind::List, "minimum", {}, false},
    {BuiltinMax, PromptKind::List, "maximum", {}, false},
    {BuiltinSum, PromptKind::List, "sum", {}, false},
    {BuiltinProd, PromptKind::List, "product", {}, false},
    {BuiltinAverage, PromptKind::List, "average", {}, false},
    {BuiltinStdev, PromptKind::List, "standard deviation", {}, false},
    {BuiltinRoot, PromptKind::Arguments, "Take the yth root of x.", {"&x:", "&y:"}, false},
    {BuiltinAnnuity, PromptKind::Arguments,
     "Take the net present value of a series of equal future payments, discounted.", {kRate, "# &Periods:"}, false},
    {BuiltinCompound, PromptKind::Arguments,
     "Return the compound interest rate (effective yield) at a fixed rate over a fixed number of periods.",
     {kRate, "# &Periods:"}, false},
    {BuiltinNPV, PromptKind::Arguments, nullptr, {kRate, "&Flows: separated by semicolons"}, true},
    {BuiltinDEALE, PromptKind::Arguments, nullptr, {kRate, "&Time:"}, false},
    {BuiltinRateToProb, PromptKind::Arguments, nullptr, {kRate, "&Time:"}, false},
    {BuiltinChoose, PromptKind::Arguments, nullptr,
     {"&Index: item to choose (\"1\" for first, etc.)", "&List of possible values:"}, true},
    {BuiltinProbToRate, PromptKind::Arguments, nullptr, {"&Probability:", "&Time:"}, false},
    // Modulo's first argument is the dividend.
    {BuiltinModulo, PromptKind::Arguments, nullptr, {"Di&vidend:", "&Divisor:"}, false},
    {BuiltinProbFactor, PromptKind::Arguments, nullptr, {"&Probability:", "&Factor:"}, false},
    {BuiltinIf, PromptKind::Arguments, nullptr,
     {"&Condition: may use relational operators such as <, =, &&",
      "&True value: used as the result if \"condition\" is true",
      "&False value: used as the result if \"condition\" is false"}, false},
    {BuiltinPMT, PromptKind::Arguments, nullptr, {"&Principal: total loan amount", kRate, "&Term: length of loan"},
     false},
    {BuiltinUtilDiscount, PromptKind::Arguments, nullptr, {"&Utility:", kRate, "&Time:"}, false},
    {BuiltinFV, PromptKind::Arguments, nullptr,
     {kPayment, "&Initial Payment (pv):", kRate, "&Number of equal payments:"}, false},
    {BuiltinPV, PromptKind::Arguments, nullptr,
     {kPayment, "&Final Payment (fv):", kRate, "&Number of equal payments:"}, false},
};

const Prompt* FindPrompt(int function)
{
    for (const Prompt& prompt : kPrompts)
        if (prompt.function == function)
            return &prompt;
    return nullptr;
}

// The formula menus of the prompt dialogs: one edit under a prompt, or two to four labelled edits.
constexpr FormulaMenuControls kPromptMenus{FunctionHelper2740Ids::OperatorsText, FunctionHelper2740Ids::FunctionsText,
                                           FunctionHelper2740Ids::VariablesText, 0, FunctionHelper2740Ids::TablesText};

int ArgumentCount(const Prompt& prompt)
{
    int count = 0;
    while (count < 4 && prompt.labels[count] != nullptr)
        ++count;
    return count;
}

// The argument parses; a list is checked as the arguments of Sum, so that its separators are accepted.
bool ArgumentParses(const zString& text, EditCtrl* edit, bool list)
{
    if (!list)
        return FormulaSyntaxOk(text, edit, "function parameter");
    zString name;
    GetBuiltinFunctionName(BuiltinSum, name);
    zString call((std::string(name.Text()) + "(" + text.Text() + ")").c_str());
    return FormulaSyntaxOk(call, edit, "function parameter");
}

// Runs the function's prompt; true with the arguments joined by the list separator.
bool RunPrompt(const Prompt& prompt, int function, TreeWindow* tree, std::string& arguments)
{
    const int count = prompt.kind == PromptKind::Arguments ? ArgumentCount(prompt) : 1;
    ProgramDialog dialog(count == 1 ? DialogRes::FunctionHelper2740 : DialogRes::FunctionHelper2749 + count - 2);
    dialog.SetText((std::string("Function Helper: ") + kBuiltinFunctions[function].name).c_str());
    std::string text;
    if (prompt.kind == PromptKind::OneNumber)
        text = std::string("Enter the number ") + prompt.text + ":";
    else if (prompt.kind == PromptKind::List)
        text = std::string("Enter a list of numbers whose ") + prompt.text +
               " you would like, separated by semicolons:";
    else
        text = prompt.text != nullptr ? prompt.text : Description(function);
    dialog.SetItemText(FunctionHelper2740Ids::PromptText, text.c_str());
    FormulaPicks picks(&dialog, tree, kPromptMenus);
    zString values[4];
    EditCtrl* edits[4] = {};
    for (int i = 0; i < count; ++i) {
        if (prompt.kind == PromptKind::Arguments)
            dialog.SetItemText(Ctl::FunctionHelper2749::FirstLabel + 2 * i, prompt.labels[i]);
        edits[i] = EditCtrl::FromTemplate(&dialog, FunctionHelper2740Ids::FirstEdit + 2 * i, &values[i],
                                          CtrlWindowCL::MayBeEmpty);
        picks.Track(edits[i]);
    }
    dialog.OnButton(IDOK, [&] {
        if (!dialog.ValidateAndStore())
            return;
        for (int i = 0; i < count; ++i) {
            const bool list = prompt.kind == PromptKind::List || (prompt.lastIsList && i == count - 1);
            if (!ArgumentParses(values[i], edits[i], list))
                return;
        }
        dialog.EndModal();
    });
    dialog.SelectField(FunctionHelper2740Ids::FirstEdit);
    if (dialog.Run() != IDOK)
        return false;
    const char separator[2] = {LocaleChars::Active().listSeparator, '\0'};
    for (int i = 0; i < count; ++i)
        arguments += (i > 0 ? separator : "") + std::string(values[i].Text());
    return true;
}

// The Function Helper's list; the index of the chosen entry, -1 when cancelled.
int ChooseFunction()
{
    ProgramDialog dialog(DialogRes::FunctionHelper);
    ListBoxCtrl* list = ListBoxCtrl::FromTemplate(&dialog, Ctl::FunctionHelper::SelectAFunctionList);
    if (list == nullptr)
        return -1;
    for (const HelperEntry& entry : kHelperList)
        list->AddChars(kBuiltinFunctions[entry.function].name);
    list->SetCurSel(0);
    const auto describe = [&] {
        const int row = list->GetCurSel();
        dialog.SetItemText(Ctl::FunctionHelper::SelectAFunctionText, row >= 0 ? kHelperList[row].description : "");
    };
    describe();
    int chosen = -1;
    dialog.OnNotification(Ctl::FunctionHelper::SelectAFunctionList, LBN_SELCHANGE, describe);
    dialog.OnNotification(Ctl::FunctionHelper::SelectAFunctionList, LBN_DBLCLK,
                          [&] { SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0); });
    dialog.OnButton(IDOK, [&] {
        chosen = list->GetCurSel();
        dialog.Accept();
    });
    SetFocus(list->Handle());
    return dialog.Run() == IDOK ? chosen : -1;
}

} // namespace

bool PromptFunctionArguments(int function, zString& call, TreeWindow* tree)
{
    if (function == BuiltinDistSamp) {
        if (tree == nullptr) {
            ShowErrorBox(nullptr, "Sampling distributions may only be used in trees.", 0);
            return false;
        }
        return ChooseDistributionCall(tree, call);
    }
    std::string arguments;
    if (function != BuiltinPi && function != BuiltinInf) {
        const Prompt* prompt = FindPrompt(function);
        if (prompt == nullptr || !RunPrompt(*prompt, function, tree, arguments))
            return false;
    }
    call = (std::string(kBuiltinFunctions[function].name) + "(" + arguments + ")").c_str();
    return true;
}

bool RunFunctionHelper(zString& call, TreeWindow* tree)
{
    const int row = ChooseFunction();
    return row >= 0 && PromptFunctionArguments(kHelperList[row].function, call, tree);
}

bool InsertFunctionFromMenu(unsigned command, TreeWindow* tree, HWND edit)
{
    zString text;
    if (command == Cmd::FunctionsHelper) {
        if (!RunFunctionHelper(text, tree))
            return true;
    } else if (TheShell().FunctionsMenu() == nullptr || !TheShell().FunctionsMenu()->ItemText(command, text)) {
        return false;
    }
    if (edit == nullptr)
        return true;
    std::string inserted = text.Text();
    if (command != Cmd::FunctionsHelper)
        inserted = inserted.substr(0, 50) + "()";
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(inserted.c_str()));
    // The caret goes back between the parentheses.
    if (command != Cmd::FunctionsHelper)
        PostMessageA(edit, WM_KEYDOWN, VK_LEFT, 0);
    SetFocus(edit);
    return true;
}
