#include "model/DocumentHeader.h"

#include "foundation/Archive.h"
#include "foundation/DocumentFileHeader.h"
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
