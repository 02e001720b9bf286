// The ".tbl" file of a lookup table.

#include "formula/LookupTable.h"

#include "formula/RunOutcome.h"
#include "formula/TableDirectory.h"
#include "foundation/Archive.h"
#include "foundation/FileHelpers.h"
#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "foundation/StoredString.h"
#include "foundation/StringHelpers.h"
#include "foundation/VersionRecord.h"

LookupTable::LookupTable(const FilePath& path) { ReadFile(path, true); }

// Table file, in stream order (numbers in the archive's byte order):
//   version record           3 bytes   always
//   byte-order mark 68       2 bytes   3.0.b4 and later (read as 0x4400: swap every later number)
//   name                     stored string
//   comment                  stored string   3.0 and later (3.0 ranks below its betas)
//   method                   2 bytes
//   off-edge flag            2 bytes   newer than 3.0.b9
//   entries                  TableEntryList (list header with marker 213 from 2.6 on, then the pairs)
// headerOnly stops before the entries.
void LookupTable::Serialize(Archive& archive, bool headerOnly)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    if (archive.IsStoring()) {
        version.Serialize(archive);
        SerializeByteOrderMark(archive);
        StoreString(archive, name);
        StoreString(archive, comment);
        archive.WriteShort(static_cast<int16_t>(method));
        archive.WriteShort(offEdgeIsError);
        if (!headerOnly)
            entries.Serialize(archive);
        return;
    }
    version.Serialize(archive);
    if (archive.Failed())
        return;
    if (version.IsAtLeast(KnownVersion::k3_0_Beta4) && !SerializeByteOrderMark(archive)) {
        archive.SetState(archive.State() | Archive::StateIoFailure);
        return;
    }
    zString text;
    LoadString(archive, text);
    SetName(text.Text());
    comment.Clear();
    if (version.IsAtLeast(KnownVersion::k3_0))
        LoadString(archive, comment);
    int16_t storedMethod = Interpolation;
    archive.ReadShort(storedMethod);
    method = storedMethod;
    offEdgeIsError = 0;
    if (version.IsNewerThan(KnownVersion::k3_0_Beta9))
        archive.ReadShort(offEdgeIsError);
    ClearCaches();
    if (headerOnly || archive.Failed())
        return;
    entries.Serialize(archive);
}

bool LookupTable::ReadFile(const FilePath& path, bool headerOnly)
{
    std::unique_ptr<FileStream> stream = path.OpenStream(false);
    if (stream->State() != 0)
        return false;
    Serialize(*stream, headerOnly);
    const bool ok = !stream->Failed();
    if (!headerOnly) {
        if (!ok)
            entries.Clear();
        loaded = ok ? 1 : 0;
    }
    return ok;
}

bool LookupTable::WriteFile(const FilePath& path)
{
    zString message;
    return SaveFileBeside(path.FullPath().Text(), [this](FileStream& stream) {
        Serialize(stream, false);
        return !stream.Failed();
    }, message);
}

bool LookupTable::Load()
{
    const TableDirEntry* entry = FindEntryOfTable(this);
    if (!entry)
        return false;
    return ReadFile(entry->path, false);
}

bool LookupTable::Save()
{
    const TableDirEntry* entry = FindEntryOfTable(this);
    if (!entry)
        return false;
    if (loaded && WriteFile(entry->path))
        return true;
    zString message("The table \"$1\" could not be saved to the file \"$2\".");
    SubstituteArgs(message, name.Text(), entry->path.FullPath().Text());
    ReportFailure(OutcomeCode::TableNotSaved, nullptr, nullptr, message.Text(), -1);
    return false;
}
