#pragma once
// Hand-built files of the foreign tree format for the importer's tests: big-endian numbers, length-prefixed
// strings, the header, the tree prefix and node records.

#include "foundation/MemoryStream.h"
#include "model/ForeignTreeImporter.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "model/TreeDocument.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace foreign_test {

using Bytes = std::vector<uint8_t>;

// Hand-built files in the foreign program's big-endian layout.
class BigEndian {
public:
    BigEndian& U8(int value)
    {
        bytes.push_back(static_cast<uint8_t>(value));
        return *this;
    }
    BigEndian& I16(int value) { return U8(value >> 8).U8(value); }
    BigEndian& I32(long value) { return I16(static_cast<int>(value >> 16)).I16(static_cast<int>(value)); }
    BigEndian& F64(double value)
    {
        uint8_t raw[8];
        std::memcpy(raw, &value, 8);
        for (int i = 7; i >= 0; --i)
            U8(raw[i]);
        return *this;
    }
    BigEndian& Raw(const std::string& text)
    {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    BigEndian& Str(const std::string& text) { return U8(static_cast<int>(text.size())).Raw(text); }
    BigEndian& Fixed(const std::string& text, size_t size)
    {
        Str(text);
        bytes.insert(bytes.end(), size - 1 - text.size(), 0);
        return *this;
    }
    BigEndian& Zeros(size_t count)
    {
        bytes.insert(bytes.end(), count, 0);
        return *this;
    }
    BigEndian& Append(const Bytes& more)
    {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }

    Bytes bytes;
};

// The 152-byte header with its tags.
inline BigEndian Header(const char* ego = "EGO!", const char* tree = "TREE")
{
    BigEndian file;
    file.I16(0).I32(0).I16(5).Raw(ego).I16(1).I16(2).Raw(tree).Zeros(152 - 20);
    return file;
}

inline void Prefix(BigEndian& file, int flags, long value2, int digits1, int digits2, int border, int style)
{
    file.I16(flags).I32(0).I32(value2).U8(digits1).U8(digits2).U8(border).U8(0).I16(style);
}

// A node record of the newer variants: texts, kind, payoffs, skipped values, ids, clone, Markov, bindings.
inline void Node205(BigEndian& file, const std::string& text, const std::string& probability, int kind,
             const std::vector<std::string>& payoffs, int clone, int children,
             const std::vector<std::pair<std::string, std::string>>& bindings = {}, int markov = 0,
             const std::vector<std::string>& markovTexts = {})
{
    file.Str(text).Str(probability).U8(kind);
    if (kind == TerminalNode) {
        file.U8(static_cast<int>(payoffs.size()));
        for (const std::string& payoff : payoffs)
            file.Fixed(payoff, 256);
    }
    file.Zeros(12).U8(0).I16(0).I16(0).I16(0).I16(0).I16(0).I16(clone).U8(markov);
    for (const std::string& markovText : markovTexts)
        file.Str(markovText);
    file.I16(static_cast<int>(bindings.size()));
    for (const auto& binding : bindings)
        file.Str(binding.first).Str(binding.second);
    file.U8(children);
}

// Everything of a headerless file before the root node; border 7 gives 0x205, -7 gives 0x206.
inline BigEndian FileStart205(int border, const std::string& payoffsName, long linked, bool nonConstant = false)
{
    BigEndian file;
    Prefix(file, 0x0002 | 0x0020 | 0x0100 | 0x2000, 0, 3, 2, border, 3);
    for (int i = 0; i < 3; ++i)
        file.I16(4).I16(1).I16(6).U8(1).U8(5);
    file.U8(1).Str("0.25").U8(0).U8(1).U8(nonConstant ? 1 : 0).U8(0);
    if (border > 0) {
        file.Zeros(16 * 6 * 4);
    } else {
        for (int i = 0; i < 16; ++i)
            file.F64(i * 10.0).F64(i / 16.0);
    }
    file.I16(0).I16(0).I16(0);
    file.Str(payoffsName).I32(linked).I16(0);
    file.I16(1).Str("rate");
    file.I16(1).I32(0).I16(72).I16(36).I16(144).I16(108).Fixed(std::string("Note \x8A"), 256).I16(0).I16(0).I16(0);
    return file;
}

// Root "Start" (decision) with a terminal "A" and a chance node "B" over a terminal copy "C"; clone master B
// is named by the path "bn".
inline BigEndian Sample205(int border = 7, const std::string& payoffsName = "", long linked = 0, bool nonConstant = false)
{
    BigEndian file = FileStart205(border, payoffsName, linked, nonConstant);
    Node205(file, "Start", "", DecisionNode, {}, 0, 2, {{"rate", "0.1"}});
    Node205(file, std::string("A\x8A\xD2"), "0.4", TerminalNode, {"10", "rate * 2"}, 0, 0);
    Node205(file, "B", "#", MarkovNode, {}, 0, 1, {}, 1, {"_stage > 5"});
    Node205(file, "C", "", TerminalNode, {"5"}, 3, 0);
    file.I16(1).Str("Master").Str("bn");
    return file;
}

// Variant 0x100: root "Start" (decision, binding cost) over the terminal "Leaf" and "Other", each node's texts
// in one string.
inline BigEndian Sample100()
{
    BigEndian file = Header();
    Prefix(file, 0x0040, 0, 2, 9, 1, 9);
    file.Str("");
    file.Str(std::string("Start\\0.5\\") + '\x02' + "xDx");
    file.U8(4).Raw("cost").Str("12").U8('\\');
    file.Str(std::string("Leaf\x8A\\0.3\\") + '\x00' + "xTx" + "7*rate\\");
    file.U8('\\');
    file.Str(std::string("Other\\#\\") + '\x00' + "xTx" + "\\");
    file.U8('\\');
    return file;
}

// Variant 0x200: the chance root "Root" (link id 5) over the terminal "End", which binds alpha.
inline BigEndian Sample200()
{
    BigEndian file = Header();
    Prefix(file, 0, -1, 1, 0, 1, 0);
    file.I16(0).I16(0).I16(0).Str("").I32(0).I16(0);
    file.I16(2).Str("alpha").Str("beta");
    file.I16(0);
    file.Str("Root").Str(std::string("\\") + '\x01' + "xCx").Zeros(12).I16(5);
    file.U8('\\');
    file.Str("End").Str(std::string("1\\") + '\x00' + "xTx3\\").Zeros(12).I16(0);
    file.U8(5).Raw("alpha").Str("beta + 1").U8('\\');
    return file;
}

struct ImportResult {
    std::unique_ptr<TreeDocument> document = std::make_unique<TreeDocument>();
    bool ok = false;
    uint32_t formatError = 0;
    uint32_t state = 0;
};

inline ImportResult Import(Bytes bytes)
{
    ImportResult result;
    MemoryStream stream(bytes.empty() ? nullptr : bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    result.ok = ImportForeignTree(stream, result.document.get());
    result.formatError = stream.FormatError();
    result.state = stream.State();
    return result;
}

inline std::string Payoff(TreeNode* node, int i)
{
    zString text;
    node->GetPayoffText(text, i);
    return text.Text();
}

inline std::string Binding(const TreeNode* node, const char* upperName)
{
    const VariableDefinition* binding = node->FindBinding(upperName, true);
    return binding ? binding->definition.Text().Text() : "<none>";
}

}  // namespace foreign_test
