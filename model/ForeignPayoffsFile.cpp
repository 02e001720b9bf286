// The payoffs file (".pay") linked to a foreign tree:
//   byte 0 of value 0             a header: entries start at offset 24
//   entries                        a length byte and the name (trailing CR and LF dropped), then the
//                                  formula as a length-prefixed string
//   length byte 0x5C ('\')         the end

#include "model/ForeignTreeImporter.h"

#include "formula/RunOutcome.h"
#include "model/ForeignStreamReader.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <string>

bool ReadForeignPayoffsFile(Archive& archive, TreeDocument* document, const char* name)
{
    ForeignStreamReader reader(archive);
    uint8_t length = reader.Byte();
    if (reader.Good() && length == 0) {
        reader.Skip(23);
        length = reader.Byte();
    }
    while (reader.Good() && length != '\\') {
        std::string variable = reader.Characters(length, true);
        const std::string formula = reader.String(true);
        if (!reader.Good())
            break;
        while (!variable.empty() && (variable.back() == '\r' || variable.back() == '\n'))
            variable.pop_back();
        if (!variable.empty() && document && document->Root) {
            document->EnsureVariable(variable.c_str(), nullptr);
            zString upper(variable.c_str());
            upper.MakeUpper();
            if (document->Root->FindBinding(upper.Text(), true) == nullptr)
                document->Root->SetBinding(variable.c_str(), formula.c_str(), false);
        }
        length = reader.Byte();
    }
    if (reader.Good())
        return true;
    const std::string message = std::string("The linked payoffs file \"") + (name ? name : "") +
                                "\" ends before its last entry; only the variables before that point were read.";
    ReportFailure(OutcomeCode::LinkedFileIncomplete, nullptr, nullptr, message.c_str(), -1);
    return false;
}
