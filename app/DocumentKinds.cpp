// Which window a document file opens as: the shell knows every kind of document window.

#include "widgets/DocumentWindow.h"

#include "foundation/DocumentFileHeader.h"
#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "graph/GraphWindow.h"
#include "influence/InfluenceDiagramWindow.h"
#include "treewin/TreeWindow.h"

#include <memory>

DocumentWindow* DocumentWindow::OpenDocument(const char* path, bool* reported)
{
    if (reported != nullptr)
        *reported = false;
    const FilePath file(path);
    int kind = 0;
    {
        // Whatever the header says, the user hears one answer when no window takes the file.
        std::unique_ptr<FileStream> stream = file.OpenStream(false);
        kind = ReadFileHeader(*stream);
    }
    DocumentWindow* window = nullptr;
    if (kind == TreeDocumentKind)
        window = new TreeWindow(file.FullPath().Text());
    else if (kind == InfluenceDocumentKind)
        window = new InfluenceDiagramWindow(file.FullPath().Text());
    else if (kind == GraphDocumentKind)
        window = ReadGraphFile(file.FullPath().Text());
    else
        return nullptr;
    if (reported != nullptr)
        *reported = true;
    return DropUnread(window);
}
