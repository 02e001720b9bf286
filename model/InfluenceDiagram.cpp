#include "model/InfluenceDiagram.h"

#include "foundation/Archive.h"
#include "foundation/DocumentFileHeader.h"
#include "foundation/FileStream.h"
#include "foundation/MemoryReserve.h"
#include "formula/RunOutcome.h"
#include "model/DocumentHeader.h"
#include "model/NoteBox.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

InfluenceDiagram::~InfluenceDiagram()
{
    for (InfluenceArc* arc : arcs)
        delete arc;
    for (InfluenceNodeRecord* node : nodes)
        delete node;
}

InfluenceNodeRecord* InfluenceDiagram::AddNode(InfluenceNodeRecord* node)
{
    nodes.push_back(node);
    return node;
}

InfluenceArc* InfluenceDiagram::AddArc(InfluenceArc* arc)
{
    arcs.push_back(arc);
    return arc;
}

void InfluenceDiagram::ForEachNode(const std::function<void(InfluenceNodeRecord&)>& visit, bool descend)
{
    for (InfluenceNodeRecord* node : nodes)
        visit(*node);
    if (!descend)
        return;
    for (InfluenceNodeRecord* node : nodes)
        if (node->kind == InfluenceKind::SubModel && node->subDiagram)
            node->subDiagram->ForEachNode(visit, true);
}

void InfluenceDiagram::SetPrintScale(double scale)
{
    const double percent = std::floor(scale * 100 + 0.5);
    printFactor = static_cast<int16_t>(std::min(std::max(percent, 1.0), 32767.0));
}

void InfluenceDiagram::RemoveAllItems()
{
    nodes.clear();
    arcs.clear();
    notes.RemoveAll();
}

InfluenceDocument::InfluenceDocument() = default;

InfluenceDocument::~InfluenceDocument() = default;

void InfluenceDocument::ForEachNode(const std::function<void(InfluenceNodeRecord&)>& visit)
{
    diagram.ForEachNode(visit, true);
}

void InfluenceDocument::LayoutAll()
{
    ForEachNode([](InfluenceNodeRecord& node) { node.Layout(); });
}

void InfluenceDocument::Clear()
{
    diagram.notes.Clear();
    for (InfluenceArc* arc : diagram.arcs)
        delete arc;
    for (InfluenceNodeRecord* node : diagram.nodes)
        delete node;
    diagram.RemoveAllItems();
    links.Clear();
    zoom = 1.0;
    diagram.printOffsetX = 0;
    diagram.printOffsetY = 0;
    diagram.printFactor = 100;
    diagram.pageSetup = PrinterSetupRecord();
}

bool InfluenceDocument::ReadFile(const char* path)
{
    try {
        FileStream stream(path, false);
        if (Read(stream))
            return true;
        // The header's refusals have been told.
        if (stream.FormatError() >= HeaderFileMissing && stream.FormatError() <= HeaderNewerVersion)
            return false;
        const uint32_t code = FileDamageCode(stream);
        if (code == kFormatPlaceTooFar) {
            ReportFileRefusal(OutcomeCode::FileDamaged, path,
                              "This influence diagram file places a node, an arc or a note farther than 8,000 "
                              "inches from the corner of the page, or at no number, and cannot be read.");
            return false;
        }
        ReportFileRefusal(OutcomeCode::FileDamaged, path,
                          "This influence diagram file is damaged, and cannot be read. Error code = " +
                              std::to_string(code) + ".",
                          FileDamageReason(code, stream.RanOutFromDamage()));
    } catch (const std::bad_alloc&) {
        Clear();
        RestoreMemoryReserve();
        ReportFailure(OutcomeCode::NotEnoughMemory, nullptr, nullptr,
                      (std::string("There is not enough memory to open this influence diagram. Please try "
                                   "closing other applications or documents.\n\n\"") +
                       path + "\"")
                          .c_str(),
                      0);
    }
    return false;
}
