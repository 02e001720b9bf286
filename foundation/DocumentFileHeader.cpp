#include "foundation/DocumentFileHeader.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"

namespace {

constexpr int16_t kMark = 34;
constexpr int16_t kSwappedMark = 0x2200;

int Refuse(Archive& archive, uint32_t code)
{
    archive.SetFormatError(code);
    return 0;
}

} // namespace

const char* FileHeaderMessage(uint32_t code)
{
    switch (code) {
    case HeaderFileMissing:
        return "File not found, or the file is empty.";
    case HeaderNotADocument:
        return "This file was not created by KIVO. It cannot be read.";
    case HeaderNewerVersion:
        return "The file you have opened cannot be read by this version of KIVO. Please call Morlund "
               "Software at (555) 010-4477 or visit our web site at www.morlund.example  to update your copy of "
               "the program.";
    default:
        return nullptr;
    }
}

int ReadFileHeader(Archive& archive)
{
    if (archive.State() != 0 || archive.BytesLeft() == 0)
        return Refuse(archive, HeaderFileMissing);
    int16_t mark = 0;
    archive.ReadShort(mark);
    if (mark == kSwappedMark) {
        archive.SetSwapping(true);
        mark = kMark;
    }
    if (mark != kMark || archive.State() != 0)
        return Refuse(archive, HeaderNotADocument);
    VersionRecord version;
    version.Serialize(archive);
    int16_t kind = 0;
    archive.ReadShort(kind);
    if (archive.State() != 0)
        return Refuse(archive, HeaderNotADocument);
    if (archive.HasFormatError())
        return 0;
    if (version.IsNewerThanRecord(VersionRecord::Current()))
        return Refuse(archive, HeaderNewerVersion);
    return kind;
}

bool WriteFileHeader(Archive& archive, DocumentKind kind)
{
    archive.WriteShort(kMark);
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    archive.WriteShort(kind);
    if (archive.State() == 0)
        return true;
    archive.SetFormatError(HeaderNotWritten);
    return false;
}
