// A table's pairs as text: one "index TAB value" line each, for the clipboard and for pasting.

#include "foundation/Host.h"
#include "formula/LookupTable.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"

namespace {

constexpr int16_t kTextDigits = -9;

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Reads "index TAB value" from the line at p (up to its line end); false when it is not such a pair.
bool ParsePair(const char*& p, double& index, double& value)
{
    const char* tab = p;
    while (*tab && *tab != '\t' && !IsLineEnd(*tab))
        ++tab;
    if (*tab != '\t')
        return false;
    const char* end = tab + 1;
    while (*end && !IsLineEnd(*end))
        ++end;
    zString indexText(p);
    indexText.Truncate(static_cast<uint32_t>(tab - p));
    zString valueText(tab + 1);
    valueText.Truncate(static_cast<uint32_t>(end - tab - 1));
    int error = 0;
    ParseNumber(indexText.Text(), index, error);
    if (error)
        return false;
    ParseNumber(valueText.Text(), value, error);
    if (error)
        return false;
    p = end;
    return true;
}

}  // namespace

void LookupTable::ToText(zString& out)
{
    out.Clear();
    LoadIfNeeded();
    for (int i = 0; i < entries.Count(); ++i) {
        const TableEntry* entry = entries.EntryAt(i);
        AppendFormattedNumber(out, entry->index, kTextDigits);
        out += '\t';
        AppendFormattedNumber(out, entry->value, kTextDigits);
        out += "\r\n";
    }
}

bool LookupTable::PasteText(const char* text, bool replace)
{
    // The pairs are merged into a copy, so that a question answered with Cancel leaves the table as it was.
    LookupTable merged;
    merged.SetLoaded(true);
    if (!replace) {
        // The pasted pairs join the pairs of the file, which must be read first. A file that cannot be read
        // leaves the table not loaded, so that saving cannot replace the file by the pasted pairs alone.
        LoadIfNeeded();
        merged.ReplaceEntries(*this);
    }
    bool asked = false;
    Host::PasteChoice choice = Host::SumEntries;
    const char* p = text != nullptr ? text : "";
    for (;;) {
        while (IsLineEnd(*p))
            ++p;
        double index = 0.0;
        double value = 0.0;
        if (*p == '\0' || !ParsePair(p, index, value))
            break;
        const int existing = merged.FindExact(index);
        if (existing >= 0) {
            if (!asked) {
                choice = TheHost().ChoosePasteMerge();
                asked = true;
                if (choice == Host::CancelPaste)
                    return false;
            }
            const double stored = merged.entries.EntryAt(existing)->value;
            if (choice == Host::KeepFirstEntry)
                value = stored;
            else if (choice == Host::SumEntries)
                value += stored;
        }
        merged.SetEntry(index, value);
    }
    ReplaceEntries(merged);
    if (replace)
        loaded = 1;
    return true;
}
