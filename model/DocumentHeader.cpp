#include "model/DocumentHeader.h"

#include "foundation/Archive.h"
#include "foundation/DocumentFileHeader.h"
#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "formula/RunOutcome.h"

int ReadDocumentHeader(Archive& archive)
{
    const bool failedBefore = archive.HasFormatError();
    const int kind = ReadFileHeader(archive);
    const char* refusal = failedBefore ? nullptr : FileHeaderMessage(archive.FormatError());
    if (kind == 0 && refusal != nullptr)
        ReportFailure(OutcomeCode::FileRefused, nullptr, nullptr, refusal, 0);
    return kind;
}

void ReportFileRefusal(OutcomeCode code, const char* path, const std::string& text, const char* reason)
{
    std::string message = text + "\n\n\"" + path + "\"";
    if (reason != nullptr)
        message += std::string("\n\n") + reason;
    ReportFailure(code, nullptr, nullptr, message.c_str(), 0);
}

void ReportRefusedHeader(const char* path)
{
    FileStream stream(path, false);
    if (!stream.IsOpen() && FilePath(path).Exists()) {
        ReportFileRefusal(OutcomeCode::FileInUse, path, "This file is in use by another program, and cannot be read.");
        return;
    }
    const int kind = ReadFileHeader(stream);
    const char* refusal = FileHeaderMessage(kind == 0 ? stream.FormatError() : HeaderNotADocument);
    if (refusal != nullptr) {
        ReportFileRefusal(OutcomeCode::FileRefused, path, refusal);
        return;
    }
    // A good mark, then a version record that is damaged or cut short.
    const uint32_t code = FileDamageCode(stream);
    ReportFileRefusal(OutcomeCode::FileDamaged, path,
                      "This file is damaged, and cannot be read. Error code = " + std::to_string(code) + ".",
                      FileDamageReason(code, stream.RanOutFromDamage()));
}

uint32_t FileDamageCode(const Archive& stream)
{
    return stream.State() != 0 ? kFileCutShortCode : stream.FormatError();
}

const char* FileDamageReason(uint32_t code, bool ranOutFromDamage)
{
    if (code == kFileCutShortCode && !ranOutFromDamage)
        return "The file is cut short: it was not saved or copied completely. Open a copy saved earlier.";
    if (code == Archive::FormatVersionRecord)
        return "A version record inside it is damaged. Open a copy saved earlier.";
    return "Part of its contents is damaged. Open a copy saved earlier.";
}
