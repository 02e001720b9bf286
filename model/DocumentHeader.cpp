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

bool ReportRefusedHeader(const char* path)
{
    FileStream stream(path, false);
    if (!stream.IsOpen() && FilePath(path).Exists()) {
        ReportFileRefusal(OutcomeCode::FileInUse, path, "This file is in use by another program, and cannot be read.");
        return true;
    }
    if (ReadFileHeader(stream) != 0)
        return false;
    const char* refusal = FileHeaderMessage(stream.FormatError());
    if (refusal == nullptr)
        return false;
    ReportFileRefusal(OutcomeCode::FileRefused, path, refusal);
    return true;
}
