#include "model/GraphTemplateFile.h"

#include "foundation/Archive.h"
#include "foundation/FileHelpers.h"
#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "foundation/PreferencesStore.h"
#include "foundation/VersionRecord.h"
#include "model/GraphTemplate.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr const char* kTemplateFileName = "GTempl.dat";
constexpr float kFallbackGraphSide = 2.0f;

// Mark, version and list, in the file's order.
void SerializeTemplateFile(Archive& archive, VersionRecord& version)
{
    if (!SerializeByteOrderMark(archive)) {
        archive.SetState(Archive::StateIoFailure);
        return;
    }
    version.Serialize(archive);
    if (archive.IsLoading() && version.IsNewerThanRecord(VersionRecord::Current()))
        archive.SetFormatError(Archive::FormatVersionRecord);
    if (!archive.Failed())
        GraphTemplates().Serialize(archive);
}

}  // namespace

void GraphTemplateList::StoreItem(Archive& archive, void* item)
{
    static_cast<GraphTemplate*>(item)->Serialize(archive);
}

void* GraphTemplateList::LoadItem(Archive& archive)
{
    auto* graphTemplate = new GraphTemplate;
    graphTemplate->Serialize(archive);
    return graphTemplate;
}

void* GraphTemplateList::CloneItem(void* item)
{
    auto* copy = new GraphTemplate;
    copy->Assign(*static_cast<GraphTemplate*>(item));
    return copy;
}

void GraphTemplateList::DeleteItem(void* item)
{
    delete static_cast<GraphTemplate*>(item);
}

GraphTemplateList& GraphTemplates()
{
    static GraphTemplateList list;
    return list;
}

std::string TemplateFilePath()
{
    zString directory;
    RunningProgramDirectory(directory);
    return FilePath(directory.Text(), kTemplateFileName).FullPath().Text();
}

TemplateFileRead ReadGraphTemplates(std::string& message)
{
    const std::string path = TemplateFilePath();
    if (!FilePath(path.c_str()).Exists())
        return TemplateFileRead::Missing;
    FileStream stream(path.c_str(), false);
    VersionRecord version;
    if (stream.IsOpen())
        SerializeTemplateFile(stream, version);
    if (stream.IsOpen() && !stream.Failed())
        return TemplateFileRead::Read;
    GraphTemplates().Clear();
    message = "The graph templates file \"" + path + "\" could not be read";
    message += version.IsNewerThanRecord(VersionRecord::Current()) ? ": it was written by a newer version of KIVO."
                                                                     : ": it is damaged or incomplete.";
    message += " It was left as it was.";
    return TemplateFileRead::Failed;
}

bool WriteGraphTemplates(std::string& message)
{
    zString failure;
    const bool written = SaveFileBeside(TemplateFilePath().c_str(),
                                        [](FileStream& stream) {
                                            VersionRecord version;
                                            SerializeTemplateFile(stream, version);
                                            return !stream.Failed();
                                        },
                                        failure);
    GraphTemplates().Clear();
    if (!written)
        message = failure.Text();
    return written;
}

bool TemplatesAvailable()
{
    return GraphTemplates().Count() > 0 || FilePath(TemplateFilePath().c_str()).Exists();
}

DefaultGraphSize ParseDefaultGraphSize(const char* text)
{
    double width = 0.0;
    double height = 0.0;
    switch (text ? std::sscanf(text, "%lf,%lf", &width, &height) : 0) {
    case 1:
        height = width;
        break;
    case 2:
        break;
    default:
        return {kFallbackGraphSide, kFallbackGraphSide};
    }
    // A size of nothing or less would make a graph nobody can see or grab.
    if (!(width > 0.0) || !(height > 0.0) || !std::isfinite(width) || !std::isfinite(height))
        return {kFallbackGraphSide, kFallbackGraphSide};
    return {static_cast<float>(width), static_cast<float>(height)};
}

DefaultGraphSize ReadDefaultGraphSize()
{
    zString text;
    ReadProfileString("Preferences", "DefaultGraphSize", text, 100, false);
    return ParseDefaultGraphSize(text.Text());
}

void WriteDefaultGraphSize(float width, float height)
{
    char text[64];
    std::snprintf(text, sizeof text, "%lf,%lf", static_cast<double>(width), static_cast<double>(height));
    WriteProfileString("Preferences", "DefaultGraphSize", text, false);
}
