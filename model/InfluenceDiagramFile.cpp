// The influence-diagram file after the common header. Nodes and arcs are stored only through references
// numbered from 1 by one PointerIndexMap for the whole document: a short index (0: none), followed by the
// body the first time the index occurs.
//
// Diagram body:
//   notes                            NoteBoxList stored form
//   node count N                     i16; negative: the body is versioned, -N nodes
//   body version B                   version record, versioned bodies only
//   N node references
//   arc count A, A arc references    i16
//   printOffsetX, printOffsetY       2 x i32
//   printFactor                      i16, versioned only
//   page setup present               i16, versioned and B >= 3.0 final 9; then the PrinterSetupRecord
//
// Node body:
//   version record
//   name, variable name, annotation, formula            4 stored strings
//   kind                                                i16
//   left, top                                           2 x i32, thousandths of an inch
//   posX, posY                                          2 x float
//   font present, font                                  i16, FontRecord stored form
//   arcs in, arcs out                                   i16 count and arc references, each
//   noFormula, lowValue, highValue                      i16, 2 x double
//   neverDefine, hasSpecialArc                          2 x i16
//   valueText                                           stored string
//   isClone, clone master                               i16, node reference
//   clones                                              i16 count and node references
//   outcome names                                       NameList stored form
//   probability table present, table                    i16, DefinitionTreeNode stored form
//   value table present, table                          i16, DefinitionTreeNode stored form
//   sub-model present, diagram body                     i16 (1 when present)
//   parent sub-model                                    node reference
//
// Arc body:
//   version record
//   tailCentre, headCentre, start, end, middle          5 x 2 floats
//   curved                                              i16
//   commentOffset                                       2 floats
//   commentBox                                          4 floats
//   settings                                            ArcSettings stored form
//   tail, head                                          2 node references

#include "model/InfluenceDiagram.h"

#include "foundation/Archive.h"
#include "foundation/DocumentFileHeader.h"
#include "foundation/PointerIndexMap.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/DocumentHeader.h"
#include "model/NoteBox.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace {

constexpr float kPlaceUnit = 1000.0f;

int32_t StoredPlace(float value)
{
    return static_cast<int32_t>(std::lround(value * kPlaceUnit));
}

bool Placeable(float value)
{
    return IsPlaceable(value, InfluenceDocument::kFarthestPlace);
}

bool Placeable(DiagramPoint point)
{
    return Placeable(point.x) && Placeable(point.y);
}

bool Placeable(const LogicalRect& rect)
{
    return IsPlaceable(rect, InfluenceDocument::kFarthestPlace);
}

// What a node's file form places: its top left corner and its centre.
LogicalRect NodePlaces(const InfluenceNodeRecord& node)
{
    return LogicalRect{node.left, node.top, node.posX, node.posY};
}

// Every place the arc keeps.
bool Placeable(const InfluenceArc& arc)
{
    for (const DiagramPoint* point : {&arc.tailCentre, &arc.headCentre, &arc.start, &arc.end, &arc.middle,
                                      &arc.commentOffset})
        if (!Placeable(*point))
            return false;
    return Placeable(arc.commentBox);
}

bool NotesPlaceable(const NoteBoxList& notes)
{
    for (int i = 0; i < notes.Count(); ++i)
        if (!Placeable(notes.At(i)->frame))
            return false;
    return true;
}

// Reads a document body into objects it owns until the whole read succeeded; a failed read destroys them
// all, so nothing half-read reaches the document.
class DiagramReader {
public:
    DiagramReader(Archive& archive, InfluenceDocument& document) : archive_(archive), document_(document) {}
    ~DiagramReader()
    {
        // Sub-model diagrams hold pointers to objects of the pools: they are emptied before the pools go.
        for (auto& node : nodes_) {
            if (node->subDiagram) {
                node->subDiagram->nodes.clear();
                node->subDiagram->arcs.clear();
            }
        }
    }
    DiagramReader(const DiagramReader&) = delete;
    DiagramReader& operator=(const DiagramReader&) = delete;

    void ReadBody(InfluenceDiagram& diagram);
    // True when every node and arc read lies in exactly one diagram and every arc has both ends; the
    // diagrams then own them.
    bool Adopt(InfluenceDiagram& main);
    // The diagrams own what was read: the reader lets go of it.
    bool Release()
    {
        for (auto& node : nodes_)
            node.release();
        for (auto& arc : arcs_)
            arc.release();
        nodes_.clear();
        return true;
    }
    // The nodes of a block ("InfNodes") into the diagram, each once, with the arcs among them; true, and the
    // diagram owns them, when nothing else was read and every arc sits on the lists of its two ends.
    bool ReadBlock(InfluenceDiagram& into);

private:
    enum SlotKind : uint8_t { Free = 0, NodeSlot = 1, ArcSlot = 2 };
    struct Slot {
        SlotKind kind = Free;
        void* object = nullptr;
    };

    void Refuse() { archive_.SetFormatError(InfluenceDocument::kFormatBadDiagram); }
    void RefusePlace() { archive_.SetFormatError(InfluenceDocument::kFormatPlaceTooFar); }
    // A count of items of at least `itemBytes` each that the stream can still hold; else -1 (refused).
    int ReadCount(uint32_t itemBytes);
    void ReadText(zString& text);
    Slot* ReadIndex(bool& isNew);
    InfluenceNodeRecord* ReadNodeRef();
    InfluenceArc* ReadArcRef();
    void ReadNodeBody(InfluenceNodeRecord& node);
    void ReadArcBody(InfluenceArc& arc);
    void ReadTable(std::unique_ptr<DefinitionTreeNode>& table);
    static void ReadPoint(Archive& archive, DiagramPoint& point) { archive.ReadFloat(point.x).ReadFloat(point.y); }

    Archive& archive_;
    InfluenceDocument& document_;
    std::vector<Slot> slots_ = std::vector<Slot>(PtrArray::kMaxItems + 1);
    std::vector<std::unique_ptr<InfluenceNodeRecord>> nodes_;
    std::vector<std::unique_ptr<InfluenceArc>> arcs_;
    int nesting_ = 0;
};

int DiagramReader::ReadCount(uint32_t itemBytes)
{
    int16_t count = 0;
    archive_.ReadShort(count);
    if (archive_.Failed())
        return -1;
    if (count < 0 || static_cast<uint32_t>(count) * itemBytes > archive_.BytesLeft()) {
        Refuse();
        return -1;
    }
    return count;
}

void DiagramReader::ReadText(zString& text)
{
    LoadString(archive_, text);
    if (text.Length() >= InfluenceDocument::kLongestText)
        Refuse();
}

DiagramReader::Slot* DiagramReader::ReadIndex(bool& isNew)
{
    isNew = false;
    int16_t index = 0;
    archive_.ReadShort(index);
    if (archive_.Failed() || index == 0)
        return nullptr;
    if (index < 0) {
        Refuse();
        return nullptr;
    }
    Slot& slot = slots_[static_cast<size_t>(index)];
    isNew = slot.kind == Free;
    return &slot;
}

InfluenceNodeRecord* DiagramReader::ReadNodeRef()
{
    bool isNew = false;
    Slot* slot = ReadIndex(isNew);
    if (!slot)
        return nullptr;
    if (!isNew) {
        if (slot->kind == NodeSlot)
            return static_cast<InfluenceNodeRecord*>(slot->object);
        Refuse();
        return nullptr;
    }
    if (nesting_ >= InfluenceDocument::kMostNesting) {
        Refuse();
        return nullptr;
    }
    nodes_.push_back(std::make_unique<InfluenceNodeRecord>());
    InfluenceNodeRecord* node = nodes_.back().get();
    node->document = &document_;
    *slot = Slot{NodeSlot, node};
    ++nesting_;
    ReadNodeBody(*node);
    --nesting_;
    return node;
}

InfluenceArc* DiagramReader::ReadArcRef()
{
    bool isNew = false;
    Slot* slot = ReadIndex(isNew);
    if (!slot)
        return nullptr;
    if (!isNew) {
        if (slot->kind == ArcSlot)
            return static_cast<InfluenceArc*>(slot->object);
        Refuse();
        return nullptr;
    }
    arcs_.push_back(std::make_unique<InfluenceArc>());
    InfluenceArc* arc = arcs_.back().get();
    arc->document = &document_;
    *slot = Slot{ArcSlot, arc};
    ReadArcBody(*arc);
    return arc;
}

void DiagramReader::ReadTable(std::unique_ptr<DefinitionTreeNode>& table)
{
    int16_t present = 0;
    archive_.ReadShort(present);
    if (present == 0 || archive_.Failed())
        return;
    table = std::make_unique<DefinitionTreeNode>();
    table->Serialize(archive_);
}

void DiagramReader::ReadNodeBody(InfluenceNodeRecord& node)
{
    VersionRecord version;
    version.Serialize(archive_);
    ReadText(node.name);
    ReadText(node.variableName);
    ReadText(node.annotation);
    ReadText(node.formula);
    int16_t kind = 0;
    archive_.ReadShort(kind);
    node.kind = kind;
    int32_t left = 0;
    int32_t top = 0;
    archive_.ReadLong(left).ReadLong(top).ReadFloat(node.posX).ReadFloat(node.posY);
    node.left = node.right = left / kPlaceUnit;
    node.top = node.bottom = top / kPlaceUnit;
    if (!archive_.Failed() && !Placeable(NodePlaces(node)))
        RefusePlace();
    int16_t hasFont = 0;
    archive_.ReadShort(hasFont);
    if (hasFont != 0 && !archive_.Failed()) {
        node.font = std::make_unique<FontRecord>();
        node.font->Serialize(archive_);
    }
    for (std::vector<InfluenceArc*>* list : {&node.arcsIn, &node.arcsOut}) {
        const int count = ReadCount(2);
        for (int i = 0; i < count && !archive_.Failed(); ++i)
            if (InfluenceArc* arc = ReadArcRef())
                list->push_back(arc);
    }
    archive_.ReadShort(node.noFormula).ReadDouble(node.lowValue).ReadDouble(node.highValue);
    archive_.ReadShort(node.neverDefine).ReadShort(node.hasSpecialArc);
    ReadText(node.valueText);
    archive_.ReadShort(node.isClone);
    node.cloneMaster = ReadNodeRef();
    const int clones = ReadCount(2);
    for (int i = 0; i < clones && !archive_.Failed(); ++i)
        if (InfluenceNodeRecord* clone = ReadNodeRef())
            node.clones.push_back(clone);
    if (!archive_.Failed())
        node.outcomeNames.Serialize(archive_);
    ReadTable(node.definitionA);
    ReadTable(node.definitionB);
    int16_t hasSubModel = 0;
    archive_.ReadShort(hasSubModel);
    if (hasSubModel > 0 && !archive_.Failed()) {
        node.subDiagram = std::make_unique<InfluenceDiagram>();
        ReadBody(*node.subDiagram);
    }
    node.parentSubModel = ReadNodeRef();
}

void DiagramReader::ReadArcBody(InfluenceArc& arc)
{
    if (archive_.HasFormatError())
        return;
    VersionRecord version;
    version.Serialize(archive_);
    for (DiagramPoint* point : {&arc.tailCentre, &arc.headCentre, &arc.start, &arc.end, &arc.middle})
        ReadPoint(archive_, *point);
    archive_.ReadShort(arc.curved);
    ReadPoint(archive_, arc.commentOffset);
    archive_.ReadFloat(arc.commentBox.left).ReadFloat(arc.commentBox.top);
    archive_.ReadFloat(arc.commentBox.right).ReadFloat(arc.commentBox.bottom);
    if (!archive_.Failed() && !Placeable(arc))
        RefusePlace();
    if (!archive_.Failed())
        arc.settings.Serialize(archive_);
    arc.tail = ReadNodeRef();
    arc.head = ReadNodeRef();
    if (arc.tail)
        arc.tail->UpdateSpecialArcFlag();
}

void DiagramReader::ReadBody(InfluenceDiagram& diagram)
{
    if (archive_.Failed())
        return;
    diagram.notes.Serialize(archive_);
    if (!archive_.Failed() && !NotesPlaceable(diagram.notes))
        RefusePlace();
    int16_t stored = 0;
    archive_.ReadShort(stored);
    const bool versioned = stored < 0;
    VersionRecord bodyVersion;
    if (versioned)
        bodyVersion.Serialize(archive_);
    const int count = versioned ? -static_cast<int>(stored) : stored;
    if (static_cast<uint32_t>(count) * 2 > archive_.BytesLeft())
        Refuse();
    for (int i = 0; i < count && !archive_.Failed(); ++i)
        if (InfluenceNodeRecord* node = ReadNodeRef())
            diagram.nodes.push_back(node);
    const int arcs = ReadCount(2);
    for (int i = 0; i < arcs && !archive_.Failed(); ++i)
        if (InfluenceArc* arc = ReadArcRef())
            diagram.arcs.push_back(arc);
    archive_.ReadLong(diagram.printOffsetX).ReadLong(diagram.printOffsetY);
    if (!versioned)
        return;
    archive_.ReadShort(diagram.printFactor);
    if (bodyVersion.IsOlderThan(KnownVersion::k3_0_Build9) || archive_.Failed())
        return;
    int16_t hasPageSetup = 0;
    archive_.ReadShort(hasPageSetup);
    if (hasPageSetup != 0 && !archive_.Failed())
        diagram.pageSetup.Serialize(archive_, bodyVersion);
}

bool DiagramReader::Adopt(InfluenceDiagram& main)
{
    if (archive_.Failed())
        return false;
    std::set<const void*> placed;
    bool sound = true;
    std::vector<InfluenceDiagram*> levels{&main};
    for (size_t i = 0; i < levels.size() && sound; ++i) {
        for (InfluenceNodeRecord* node : levels[i]->nodes) {
            sound = sound && placed.insert(node).second;
            if (node->subDiagram)
                levels.push_back(node->subDiagram.get());
        }
        for (InfluenceArc* arc : levels[i]->arcs)
            sound = sound && placed.insert(arc).second && arc->tail && arc->head;
    }
    if (!sound || placed.size() != nodes_.size() + arcs_.size()) {
        Refuse();
        return false;
    }
    return Release();
}

bool DiagramReader::ReadBlock(InfluenceDiagram& into)
{
    int32_t count = 0;
    archive_.ReadLong(count);
    if (archive_.Failed() || count < 0 || static_cast<uint32_t>(count) > archive_.BytesLeft() / 2) {
        Refuse();
        return false;
    }
    std::set<InfluenceNodeRecord*> listed;
    for (int32_t i = 0; i < count && !archive_.Failed(); ++i) {
        InfluenceNodeRecord* node = ReadNodeRef();
        if (node == nullptr || !listed.insert(node).second)
            Refuse();
        else
            into.nodes.push_back(node);
    }
    bool sound = !archive_.Failed() && listed.size() == nodes_.size();
    // Each arc is on its tail's outgoing and its head's incoming list, once.
    std::map<const InfluenceArc*, int> seen;
    for (InfluenceNodeRecord* node : into.nodes) {
        for (InfluenceArc* arc : node->arcsIn)
            seen[arc] += arc->head == node && arc->tail != nullptr ? 1 : 100;
        for (InfluenceArc* arc : node->arcsOut)
            seen[arc] += arc->tail == node && arc->head != nullptr ? 1000 : 100;
    }
    for (const auto& entry : seen)
        sound = sound && entry.second == 1001;
    sound = sound && seen.size() == arcs_.size();
    if (!sound) {
        into.nodes.clear();
        Refuse();
        return false;
    }
    for (InfluenceNodeRecord* node : into.nodes) {
        for (const std::vector<InfluenceArc*>* list : {&node->arcsIn, &node->arcsOut})
            for (InfluenceArc* arc : *list)
                if (std::find(into.arcs.begin(), into.arcs.end(), arc) == into.arcs.end())
                    into.arcs.push_back(arc);
        // Nodes travel without clone or sub-model relations.
        node->isClone = 0;
        node->cloneMaster = nullptr;
        node->clones.clear();
        node->parentSubModel = nullptr;
        node->subDiagram.reset();
    }
    return Release();
}

class DiagramWriter {
public:
    explicit DiagramWriter(Archive& archive) : archive_(archive) {}

    void WriteBody(InfluenceDiagram& diagram);
    void WriteBlock(const std::vector<InfluenceNodeRecord*>& nodes);
    bool Succeeded() const { return sound_ && !archive_.Failed(); }

private:
    // The index of the object (0 for null), and whether its body follows; an object the map cannot number
    // fails the write.
    int16_t WriteIndex(const void* object, bool& isNew);
    void WriteNodeRef(InfluenceNodeRecord* node);
    void WriteArcRef(InfluenceArc* arc);
    void WriteNodeBody(InfluenceNodeRecord& node);
    void WriteArcBody(InfluenceArc& arc);
    void WriteTable(DefinitionTreeNode* table);
    static void WritePoint(Archive& archive, const DiagramPoint& point)
    {
        archive.WriteFloat(point.x).WriteFloat(point.y);
    }

    Archive& archive_;
    PointerIndexMap map_;
    int nesting_ = 0;
    bool sound_ = true;
};

int16_t DiagramWriter::WriteIndex(const void* object, bool& isNew)
{
    const int16_t index = map_.IndexFor(object, isNew);
    if (object && index == 0 && !map_.IsSkipped(object))
        sound_ = false;
    archive_.WriteShort(index);
    return index;
}

void DiagramWriter::WriteNodeRef(InfluenceNodeRecord* node)
{
    bool isNew = false;
    WriteIndex(node, isNew);
    if (!isNew || !sound_)
        return;
    // The reader refuses deeper nesting: such a file is not written.
    if (nesting_ >= InfluenceDocument::kMostNesting) {
        sound_ = false;
        return;
    }
    ++nesting_;
    WriteNodeBody(*node);
    --nesting_;
}

void DiagramWriter::WriteArcRef(InfluenceArc* arc)
{
    bool isNew = false;
    WriteIndex(arc, isNew);
    if (isNew && sound_)
        WriteArcBody(*arc);
}

void DiagramWriter::WriteTable(DefinitionTreeNode* table)
{
    archive_.WriteShort(table ? 1 : 0);
    if (table)
        table->Serialize(archive_);
}

void DiagramWriter::WriteNodeBody(InfluenceNodeRecord& node)
{
    // A place farther than a file may say would be refused when read (or overflow its stored form).
    if (!Placeable(NodePlaces(node)))
        sound_ = false;
    VersionRecord version;
    version.Serialize(archive_);
    for (const zString* text : {&node.name, &node.variableName, &node.annotation, &node.formula})
        StoreString(archive_, *text);
    archive_.WriteShort(static_cast<int16_t>(node.kind));
    archive_.WriteLong(StoredPlace(node.left)).WriteLong(StoredPlace(node.top));
    archive_.WriteFloat(node.posX).WriteFloat(node.posY);
    archive_.WriteShort(node.font ? 1 : 0);
    if (node.font)
        node.font->Serialize(archive_);
    for (const std::vector<InfluenceArc*>* list : {&node.arcsIn, &node.arcsOut}) {
        archive_.WriteShort(static_cast<int16_t>(list->size()));
        for (InfluenceArc* arc : *list)
            WriteArcRef(arc);
    }
    archive_.WriteShort(node.noFormula).WriteDouble(node.lowValue).WriteDouble(node.highValue);
    archive_.WriteShort(node.neverDefine).WriteShort(node.hasSpecialArc);
    StoreString(archive_, node.valueText);
    archive_.WriteShort(node.isClone);
    WriteNodeRef(node.cloneMaster);
    archive_.WriteShort(static_cast<int16_t>(node.clones.size()));
    for (InfluenceNodeRecord* clone : node.clones)
        WriteNodeRef(clone);
    node.outcomeNames.Serialize(archive_);
    WriteTable(node.definitionA.get());
    WriteTable(node.definitionB.get());
    archive_.WriteShort(node.subDiagram ? 1 : 0);
    if (node.subDiagram)
        WriteBody(*node.subDiagram);
    WriteNodeRef(node.parentSubModel);
}

void DiagramWriter::WriteArcBody(InfluenceArc& arc)
{
    if (!Placeable(arc))
        sound_ = false;
    VersionRecord version;
    version.Serialize(archive_);
    for (const DiagramPoint* point : {&arc.tailCentre, &arc.headCentre, &arc.start, &arc.end, &arc.middle})
        WritePoint(archive_, *point);
    archive_.WriteShort(arc.curved);
    WritePoint(archive_, arc.commentOffset);
    archive_.WriteFloat(arc.commentBox.left).WriteFloat(arc.commentBox.top);
    archive_.WriteFloat(arc.commentBox.right).WriteFloat(arc.commentBox.bottom);
    arc.settings.Serialize(archive_);
    WriteNodeRef(arc.tail);
    WriteNodeRef(arc.head);
}

void DiagramWriter::WriteBody(InfluenceDiagram& diagram)
{
    if (!NotesPlaceable(diagram.notes))
        sound_ = false;
    diagram.notes.Serialize(archive_);
    const bool versioned = !diagram.nodes.empty();
    archive_.WriteShort(static_cast<int16_t>(-static_cast<int>(diagram.nodes.size())));
    if (versioned) {
        VersionRecord version;
        version.Serialize(archive_);
    }
    for (InfluenceNodeRecord* node : diagram.nodes)
        WriteNodeRef(node);
    archive_.WriteShort(static_cast<int16_t>(diagram.arcs.size()));
    for (InfluenceArc* arc : diagram.arcs)
        WriteArcRef(arc);
    archive_.WriteLong(diagram.printOffsetX).WriteLong(diagram.printOffsetY);
    if (!versioned)
        return;
    archive_.WriteShort(diagram.printFactor);
    archive_.WriteShort(1);
    VersionRecord current;
    diagram.pageSetup.Serialize(archive_, current);
}

void DiagramWriter::WriteBlock(const std::vector<InfluenceNodeRecord*>& nodes)
{
    const std::set<const InfluenceNodeRecord*> copied(nodes.begin(), nodes.end());
    const auto skip = [&](const InfluenceNodeRecord* node) {
        if (node != nullptr && copied.count(node) == 0)
            map_.AddSkipped(node);
    };
    for (const InfluenceNodeRecord* node : nodes) {
        skip(node->cloneMaster);
        skip(node->parentSubModel);
        for (const InfluenceNodeRecord* clone : node->clones)
            skip(clone);
        for (const std::vector<InfluenceArc*>* list : {&node->arcsIn, &node->arcsOut})
            for (const InfluenceArc* arc : *list)
                if (copied.count(arc->tail) == 0 || copied.count(arc->head) == 0)
                    map_.AddSkipped(arc);
    }
    archive_.WriteLong(static_cast<int32_t>(nodes.size()));
    for (InfluenceNodeRecord* node : nodes)
        WriteNodeRef(node);
}

} // namespace

bool WriteNodeBlock(Archive& archive, const std::vector<InfluenceNodeRecord*>& nodes)
{
    DiagramWriter writer(archive);
    writer.WriteBlock(nodes);
    return writer.Succeeded();
}

bool ReadNodeBlock(Archive& archive, InfluenceDocument& document, InfluenceDiagram& into)
{
    DiagramReader reader(archive, document);
    return reader.ReadBlock(into);
}

bool InfluenceDocument::Read(Archive& archive)
{
    Clear();
    if (ReadDocumentHeader(archive) != InfluenceDocumentKind) {
        archive.SetFormatError(HeaderNotADocument);
        return false;
    }
    const InfDiagPrefs kept = prefs;
    VersionRecord version;
    version.Serialize(archive);
    links.Serialize(archive);
    if (version.IsAtLeast(KnownVersion::k3_0_Beta2)) {
        SerializeWithVersion(prefs, archive);
        if (version.IsAtLeast(KnownVersion::k3_0_Beta7))
            archive.ReadDouble(zoom);
        // A zoom that is no number would make every drawing meaningless.
        if (!std::isfinite(zoom) || zoom <= 0)
            zoom = 1.0;
    }
    {
        DiagramReader reader(archive, *this);
        reader.ReadBody(diagram);
        if (!reader.Adopt(diagram)) {
            diagram.nodes.clear();
            diagram.arcs.clear();
            Clear();
            prefs = kept;
            return false;
        }
    }
    MakeVariableNamesUnique(*this);
    LayoutAll();
    return true;
}

bool InfluenceDocument::Write(Archive& archive)
{
    if (!WriteFileHeader(archive, InfluenceDocumentKind))
        return false;
    VersionRecord version;
    version.Serialize(archive);
    links.Serialize(archive);
    SerializeWithVersion(prefs, archive);
    archive.WriteDouble(zoom);
    DiagramWriter writer(archive);
    writer.WriteBody(diagram);
    return writer.Succeeded();
}
