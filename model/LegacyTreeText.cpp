#include "model/LegacyTreeText.h"

#include <cctype>
#include <cstring>
#include <vector>

size_t FindIgnoringCase(const std::string& text, const char* key)
{
    const size_t keyLength = std::strlen(key);
    if (keyLength == 0 || keyLength > text.size())
        return std::string::npos;
    for (size_t i = 0; i + keyLength <= text.size(); ++i) {
        size_t k = 0;
        while (k < keyLength && std::toupper(static_cast<unsigned char>(text[i + k])) ==
                                    std::toupper(static_cast<unsigned char>(key[k])))
            ++k;
        if (k == keyLength)
            return i;
    }
    return std::string::npos;
}

std::string TrimBlanks(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

size_t FindNodeTypeMark(const std::string& text)
{
    for (size_t i = 0; i + 2 < text.size(); ++i) {
        if (text[i] == '(' && text[i + 2] == ')' && text[i + 1] != '\0' && std::strchr("DCTMLB", text[i + 1]))
            return i;
    }
    return std::string::npos;
}

bool SplitDualPair(const std::string& text, std::string& first, std::string& second)
{
    const size_t at = FindIgnoringCase(text, "Dual");
    if (at == std::string::npos)
        return false;
    size_t i = at + 4;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i >= text.size() || text[i] != '(')
        return false;
    std::vector<std::string> arguments(1);
    int depth = 0;
    for (++i; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(' || c == '[') {
            ++depth;
        } else if (c == ')' || c == ']') {
            if (depth == 0) {
                if (c != ')' || arguments.size() != 2)
                    return false;
                first = TrimBlanks(arguments[0]);
                second = TrimBlanks(arguments[1]);
                return true;
            }
            --depth;
        } else if ((c == ',' || c == ';') && depth == 0) {
            arguments.emplace_back();
            continue;
        }
        arguments.back() += c;
    }
    return false;
}

bool IsPlainNumber(const std::string& text)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        const size_t exponentStart = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        if (i == exponentStart)
            return false;
    }
    return i == text.size();
}

std::string NegateFormula(const std::string& formula)
{
    const std::string trimmed = TrimBlanks(formula);
    if (IsPlainNumber(trimmed)) {
        if (trimmed[0] == '-')
            return trimmed.substr(1);
        return "-" + (trimmed[0] == '+' ? trimmed.substr(1) : trimmed);
    }
    return "-(" + trimmed + ")";
}
