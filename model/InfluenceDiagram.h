#pragma once
// An influence diagram: the document (its display preferences, links, zoom and main diagram) and the
// diagrams it holds (the main one, and one folded into each sub-model node), each with its nodes, arcs,
// notes, print offset and scale and page setup. The file is the ".ind" document, kind 3.

#include "foundation/Archive.h"
#include "foundation/LogicalRect.h"
#include "foundation/PrinterSetupRecord.h"
#include "model/DocumentLink.h"
#include "model/InfDiagPrefs.h"
#include "model/InfluenceNode.h"
#include "model/NoteBoxList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Archive;

// What a diagram's layout needs from a display: the size of a text and the height of a line in a font,
// in inches. The program measures on its displays; without one every text measures nothing.
class DiagramMeasure {
public:
    virtual ~DiagramMeasure() = default;
    // The widest line and the height of all lines; an empty text measures (0, 0).
    virtual void TextSize(const char* text, const FontRecord& font, float& width, float& height) = 0;
    virtual float LineHeight(const FontRecord& font) = 0;
};

class InfluenceDiagram {
public:
    InfluenceDiagram() = default;
    // Destroys the arcs, nodes and notes.
    ~InfluenceDiagram();
    InfluenceDiagram(const InfluenceDiagram&) = delete;
    InfluenceDiagram& operator=(const InfluenceDiagram&) = delete;

    // Takes the node and the arc over (appended).
    InfluenceNodeRecord* AddNode(InfluenceNodeRecord* node);
    InfluenceArc* AddArc(InfluenceArc* arc);
    // Every node of this diagram in order, then, with descend, those of each sub-model in order.
    void ForEachNode(const std::function<void(InfluenceNodeRecord&)>& visit, bool descend);
    // Empties the lists without destroying the items.
    void RemoveAllItems();
    // The print scale the print factor gives (100 is 1.0, 33 is 0.33); a scale is stored rounded to a
    // percent, at least 1.
    double PrintScale() const { return printFactor / 100.0; }
    void SetPrintScale(double scale);

    std::vector<InfluenceNodeRecord*> nodes;
    std::vector<InfluenceArc*> arcs;
    NoteBoxList notes;
    int32_t printOffsetX = 0;
    int32_t printOffsetY = 0;
    int16_t printFactor = 100;
    PrinterSetupRecord pageSetup;
};

// Nodes on the clipboard of diagrams ("InfNodes"), numbers little-endian, no header:
//   node count N                     i32
//   N node references                as in the file, numbered by a map of the block's own
// Arcs that do not join two of the nodes, and the nodes' clones, masters and parent sub-models outside
// them, are entered in the map as skipped: written as null references, so only the nodes and the arcs
// among them travel. The nodes go in the order given.
bool WriteNodeBlock(Archive& archive, const std::vector<InfluenceNodeRecord*>& nodes);
// The block's nodes appended to `into` in their order and the arcs among them (each node's incoming, then
// outgoing arcs, each once), new records of the document without clone or sub-model relations. False, with
// nothing made, when the count, a reference or an arc's ends disagree with the block.
bool ReadNodeBlock(Archive& archive, InfluenceDocument& document, InfluenceDiagram& into);

class InfluenceDocument {
public:
    // Reading stops with this format error at a node reference nested deeper than kMostNesting, at a
    // reference of the wrong kind, a count or text length the stream cannot hold, or an arc without both
    // ends.
    static constexpr uint32_t kFormatBadDiagram = 40;
    // Every place of a diagram (a node's corner and centre, an arc's points, offset and comment box, a
    // note's frame) lies within this many inches of the page's corner, either way: the farthest at which a
    // place stored in thousandths of an inch reads back as the same number, and well inside what the
    // screen and the printers draw. A file placing anything farther, or at no number, is refused with
    // kFormatPlaceTooFar; a diagram placing anything farther is not written.
    static constexpr float kFarthestPlace = kFarthestPagePlace;
    static constexpr uint32_t kFormatPlaceTooFar = Archive::FormatPlaceTooFar;
    static constexpr int kMostNesting = 2000;  // not a resource id: a count
    static constexpr uint16_t kLongestText = 65535;  // not a resource id: a length

    InfluenceDocument();
    ~InfluenceDocument();
    InfluenceDocument(const InfluenceDocument&) = delete;
    InfluenceDocument& operator=(const InfluenceDocument&) = delete;

    // File after the common header:
    //   version record V                          3 bytes
    //   links                                     DocumentLinkList stored form
    //   preferences             V >= 3.0 beta 2   InfDiagPrefs with its version record
    //   zoom                    V >= 3.0 beta 7   double (else 1.0)
    //   main diagram                              diagram body (InfluenceDiagramFile.cpp)
    // A failed read leaves the document empty with the preferences it had; success lays every node out.
    bool Read(Archive& archive);
    // Header (kind 3) and the form above; false when a node cannot be numbered or is nested too deeply
    // for the reader, or the stream failed.
    bool Write(Archive& archive);
    // Reads the file, telling the user once what is wrong; false leaves the document empty.
    bool ReadFile(const char* path);

    // Every node of every level, sub-models included.
    void ForEachNode(const std::function<void(InfluenceNodeRecord&)>& visit);
    // Lays every node out again (every level).
    void LayoutAll();
    // Empties the document: no nodes, arcs, notes or links, zoom 1, print settings as new.
    void Clear();

    InfDiagPrefs prefs;
    DocumentLinkList links;
    double zoom = 1.0;
    InfluenceDiagram diagram;
    // Set by the window that shows the document; null headless.
    DiagramMeasure* measure = nullptr;
};
