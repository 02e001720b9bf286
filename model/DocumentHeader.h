#pragma once
// The header of a document file being opened: as ReadFileHeader, and a refusal (missing or empty file, not a
// document of ours, written by a newer version) is reported as a FileRefused outcome with the header's text.

#include "formula/RunOutcome.h"

#include <string>

class Archive;

int ReadDocumentHeader(Archive& archive);

// Every refusal of a file names it (several files may be opened at once), then says what the person can do
// (reason, when given).
void ReportFileRefusal(OutcomeCode code, const char* path, const std::string& text, const char* reason = nullptr);
// Reads the file's header without a word; when the header refuses the file (missing or empty, not a
// document, written by a newer version), or another program holds it, that is reported as a refusal naming
// the file, and true returned.
bool ReportRefusedHeader(const char* path);
