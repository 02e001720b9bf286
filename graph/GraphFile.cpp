// The graph file: the common part every kind of graph writes first, then the kind's own part.

#include "graph/DistributionGraph.h"
#include "graph/GraphWindow.h"
#include "graph/CEGraph.h"
#include "graph/CESensitivityGraph.h"
#include "graph/LineGraph.h"
#include "graph/OptionBarGraph.h"
#include "graph/ProbDistributionGraph.h"
#include "graph/RegionGraph.h"
#include "graph/SensitivityRegionGraphs.h"
#include "graph/TornadoGraph.h"

#include "foundation/Archive.h"
#include "foundation/DocumentFileHeader.h"
#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "foundation/MessageBoxes.h"
#include "foundation/PrinterSetupRecord.h"
#include "foundation/VersionRecord.h"
#include "formula/RunOutcome.h"
#include "model/DocumentHeader.h"

#include <algorithm>
#include <iterator>
#include <string>

// Common part, in file order (the reader's gates by the file version of item 3):
//   document header, kind 2                          mark, version, kind
//   type code                                        i16 (read and ignored)
//   file version                                     version record
//   title label, has-subtitle u8, subtitle label     check point 1 after the subtitle
//   vertical-axis label, horizontal-axis label       label records
//   horizontal axis, vertical axis                   axis records
//   legend texts, legend keys                        lists; check point 2
//   graph size rectangle, extent                     2 x 4 x f32; check point 3
//   two reserved words (0.0)                         2 x f32      from 2.6 (older files end here)
//   free labels                                      list         from 2.6
//   vertical-line flag, horizontal-line flag          2 x u8       from 2.6
//   vertical-line X, horizontal-line Y               2 x f64      from 2.6
//   print zoom (per cent)                            u8           from 2.6 beta 2
//   print offset x, y                                2 x f32      from 3.0 beta 2
//   has printer settings, printer settings           i16, record  from 3.0 build 9
//   bottom labels, side labels                       lists        newer than 3.5 beta 2
bool GraphWindow::StoreCommon(Archive& archive)
{
    if (!WriteFileHeader(archive))
        return false;
    archive.WriteShort(static_cast<int16_t>(TypeCode()));
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    title.Serialize(archive);
    archive.WriteByte(hasSubtitle);
    subtitle.Serialize(archive);
    verticalLabel.Serialize(archive);
    horizontalLabel.Serialize(archive);
    horizontalAxis.Serialize(archive);
    verticalAxis.Serialize(archive);
    legendTexts.Serialize(archive);
    legendKeys.Serialize(archive);
    SerializeElementRect(archive, graphRect);
    SerializeElementRect(archive, extent);
    archive.WriteFloat(0.0f).WriteFloat(0.0f);
    freeLabels.Serialize(archive);
    archive.WriteByte(verticalLineFlag).WriteByte(horizontalLineFlag);
    archive.WriteDouble(verticalLineX).WriteDouble(horizontalLineY);
    archive.WriteByte(printZoom);
    archive.WriteFloat(printOffsetX).WriteFloat(printOffsetY);
    archive.WriteShort(printerSettings_ ? 1 : 0);
    if (printerSettings_)
        printerSettings_->Serialize(archive, VersionRecord::Current());
    bottomLabels.Serialize(archive);
    sideLabels.Serialize(archive);
    return !archive.Failed();
}

bool GraphWindow::LoadCommon(Archive& archive)
{
    // A stored graph keeps its elements where they were saved.
    KeepPlacements();
    if (::ReadDocumentHeader(archive) != GraphDocumentKind)
        return false;
    int16_t typeCode = 0;
    archive.ReadShort(typeCode);
    VersionRecord version;
    version.Serialize(archive);
    title.Serialize(archive);
    archive.ReadByte(hasSubtitle);
    subtitle.Serialize(archive);
    if (archive.Failed())
        return false;
    verticalLabel.Serialize(archive);
    horizontalLabel.Serialize(archive);
    horizontalAxis.Serialize(archive);
    verticalAxis.Serialize(archive);
    legendTexts.Serialize(archive);
    legendKeys.Serialize(archive);
    if (archive.Failed())
        return false;
    SerializeElementRect(archive, graphRect);
    SerializeElementRect(archive, extent);
    if (archive.Failed())
        return false;
    if (version.IsOlderThan(KnownVersion::k2_6))
        return true;
    float reserved = 0.0f;
    archive.ReadFloat(reserved).ReadFloat(reserved);
    freeLabels.Serialize(archive);
    archive.ReadByte(verticalLineFlag).ReadByte(horizontalLineFlag);
    archive.ReadDouble(verticalLineX).ReadDouble(horizontalLineY);
    if (version.IsAtLeast(KnownVersion::k2_6_Beta2))
        archive.ReadByte(printZoom);
    if (version.IsAtLeast(KnownVersion::k3_0_Beta2))
        archive.ReadFloat(printOffsetX).ReadFloat(printOffsetY);
    if (!archive.Failed() && !IsPlaceable(LogicalRect{printOffsetX, printOffsetY, 0, 0}, kFarthestPagePlace))
        archive.SetFormatError(Archive::FormatPlaceTooFar);
    if (version.IsAtLeast(KnownVersion::k3_0_Build9)) {
        int16_t hasPrinter = 0;
        archive.ReadShort(hasPrinter);
        if (hasPrinter > 0) {
            printerSettings_ = std::make_unique<PrinterSetupRecord>();
            printerSettings_->Serialize(archive, version);
        }
    }
    if (version.IsNewerThan(KnownVersion::k3_5_Beta2)) {
        bottomLabels.Serialize(archive);
        sideLabels.Serialize(archive);
    }
    return !archive.Failed();
}

bool GraphWindow::WriteDocument(Archive& stream)
{
    if (!HasStoredForm() || !StoreCommon(stream))
        return false;
    StorePart(stream);
    return !stream.Failed();
}

bool GraphWindow::ReadDocument(Archive& stream, uint32_t)
{
    if (!LoadCommon(stream) || !LoadPart(stream))
        return false;
    return !stream.Failed();
}

namespace {

template <class Kind>
GraphWindow* OpenKind(const char* path)
{
    return new Kind(path);
}

}  // namespace

GraphWindow* ReadGraphFile(const char* path)
{
    const FilePath file(path);
    int16_t typeCode = 0;
    {
        // One answer for every way the file fails: the header is read without a word.
        std::unique_ptr<FileStream> stream = file.OpenStream(false);
        if (::ReadFileHeader(*stream) == GraphDocumentKind)
            stream->ReadShort(typeCode);
    }
    // Each kind reads its own file; the type code after the header says which.
    struct Kind {
        int16_t code;
        GraphWindow* (*open)(const char*);
    };
    static const Kind kinds[] = {
        {LineGraph::kTypeCode, &OpenKind<LineGraph>},
        {TwoWaySensGraph::kTypeCode, &OpenKind<TwoWaySensGraph>},
        {ProbDistributionGraph::kTypeCode, &OpenKind<ProbDistributionGraph>},
        {OptionBarGraph::kTypeCode, &OpenKind<OptionBarGraph>},
        {DistributionGraph::kTypeCode, &OpenKind<DistributionGraph>},
        {CESensitivityGraph::kTypeCode, &OpenKind<CESensitivityGraph>},
        {ThreeWaySensGraph::kTypeCode, &OpenKind<ThreeWaySensGraph>},
        {StrategyRegionGraph::kTypeCode, &OpenKind<StrategyRegionGraph>},
        {TornadoGraph::kTypeCode, &OpenKind<TornadoGraph>},
        {CEGraph::kTypeCode, &OpenKind<CEGraph>},
    };
    const Kind* kind = std::find_if(std::begin(kinds), std::end(kinds),
                                    [typeCode](const Kind& k) { return k.code == typeCode; });
    if (kind == std::end(kinds)) {
        const std::string text = std::string("Unable to read graph file.\n\n\"") + file.FullPath().Text() +
                                 "\"\n\nIts kind of graph is unknown to this version of KIVO, or the file is damaged.";
        ReportFailure(OutcomeCode::FileDamaged, nullptr, nullptr, text.c_str(), 0);
        return nullptr;
    }
    GraphWindow* graph = kind->open(path);
    if (graph->FilePathObject().IsEmpty()) {
        delete graph;
        return nullptr;
    }
    return graph;
}
