#pragma once
// The header of a document file being opened: as ReadFileHeader, and a refusal (missing or empty file, not a
// document of ours, written by a newer version) is reported as a FileRefused outcome with the header's text.

#include "formula/RunOutcome.h"

#include <cstdint>
#include <string>

class Archive;

int ReadDocumentHeader(Archive& archive);

// Every refusal of a file names it (several files may be opened at once), then says what the person can do
// (reason, when given).
void ReportFileRefusal(OutcomeCode code, const char* path, const std::string& text, const char* reason = nullptr);
// Reads the file's header without a word and reports, naming the file, why it opens as no document:
// another program holds it; the header refuses it (missing or empty, not a document, written by a newer
// version); the header is cut short or damaged; or it names no kind of document.
void ReportRefusedHeader(const char* path);

// The damage code of a stream whose reading failed: 2 when it ran out, else its format error.
constexpr uint32_t kFileCutShortCode = 2;
uint32_t FileDamageCode(const Archive& stream);
// What a damage code means to the person who has the file: cut short (code 2, unless the stream ran out
// because of damage, Archive::RanOutFromDamage), a damaged version record, or damaged contents.
const char* FileDamageReason(uint32_t code, bool ranOutFromDamage);
