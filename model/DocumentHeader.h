#pragma once
// The header of a document file being opened: as ReadFileHeader, and a refusal (missing or empty file, not a
// document of ours, written by a newer version) is reported as a FileRefused outcome with the header's text.

class Archive;

int ReadDocumentHeader(Archive& archive);
