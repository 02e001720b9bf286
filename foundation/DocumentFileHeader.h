#pragma once
// The header that begins every document file (tree, graph, influence diagram):
//   mark      i16, 34 (read as 0x2200 it switches the stream to byte swapping for the rest of the file)
//   version   version record of the program that wrote the file (3 bytes)
//   kind      i16: 1 tree, 2 graph, 3 influence diagram

#include <cstdint>

class Archive;

enum DocumentKind : int16_t { TreeDocumentKind = 1, GraphDocumentKind = 2, InfluenceDocumentKind = 3 };

// Error codes recorded in the archive (unless it has one already).
enum : uint32_t {
    HeaderFileMissing = 1,
    HeaderNotADocument = 4,
    HeaderNewerVersion = 5,
    HeaderNotWritten = 6,
};

// Reads the header: the document kind, or 0 with the error code recorded (missing or empty file, not a
// document, written by a newer version; FileHeaderMessage gives its text). Nothing is shown. A file whose mark is wrong is not read further.
// A good mark with a damaged version record gives 0 with the archive's version error and no box.
int ReadFileHeader(Archive& archive);
// The person's text for a header error code (1, 4 or 5); null for any other code.
const char* FileHeaderMessage(uint32_t code);
// Writes the header with the current version; false (code 6) when the stream reports an error.
bool WriteFileHeader(Archive& archive, DocumentKind kind);
