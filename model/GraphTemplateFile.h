#pragma once
// The graph templates of the program, kept in the file "GTempl.dat" beside the program, and the default size
// of new graphs. The list lives only between a read and the next write: each use reads the file, works on
// the list and writes it back, which empties the list. A file that cannot be read is never written over: the
// read reports it and the caller stops; a write goes to a file beside the target that then replaces it.

#include "foundation/PtrArray.h"

#include <string>

class GraphTemplate;

class GraphTemplateList : public PtrArray {
public:
    GraphTemplateList() : PtrArray(4, true) {}
    ~GraphTemplateList() override { Clear(); }

    GraphTemplate* Template(int index) const { return static_cast<GraphTemplate*>(At(index)); }
    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};

// The program's list of templates.
GraphTemplateList& GraphTemplates();

// The program's directory joined with "GTempl.dat".
std::string TemplateFilePath();

enum class TemplateFileRead { Read, Missing, Failed };
// Stored form of the file (little-endian; read byte-swapped as a whole when the mark reads 0x4400):
//   byte-order mark 68                          i16
//   current version record                      3 bytes
//   the list (PtrArray form: version record, growth step, owning flag, count, marker 213), each item a
//   template record (GraphTemplate::Serialize)
// Reading replaces the list with the file's templates. A missing file leaves the list as it was; a file that
// is damaged, cut short or of a newer version empties the list and gives Failed, with the reason in message.
TemplateFileRead ReadGraphTemplates(std::string& message);
// Writes the list and empties it; false, with the reason in message, when the file could not be written (the
// older file then stays as it was).
bool WriteGraphTemplates(std::string& message);
// True when the list holds a template or the file exists.
bool TemplatesAvailable();

// The size of new graphs in inches.
struct DefaultGraphSize {
    float width;
    float height;
};
// "w,h" gives both, one number gives a square; no text, another text or a size of 0 or less gives 2 x 2.
DefaultGraphSize ParseDefaultGraphSize(const char* text);
// The "DefaultGraphSize" value of the "Preferences" section.
DefaultGraphSize ReadDefaultGraphSize();
void WriteDefaultGraphSize(float width, float height);
