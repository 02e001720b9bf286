// Influence diagrams in their windows: saved and opened through the program's File commands, laid out
// from texts measured on the window's display, and painted.

#include "widgets/CommandLine.h"
#include "widgets/MainToolbar.h"
#include "app/MainFrame.h"
#include "app/OpenFileByName.h"
#include "app/StartProgram.h"
#include "widgets/ZoomPane.h"
#include "foundation/FileStream.h"
#include "foundation/PreferencesStore.h"
#include "foundation/RecentFileList.h"
#include "framework/draw/Bitmap.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/MultiLineText.h"
#include "influence/DiagramPainter.h"
#include "influence/DiagramPane.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/DocumentLink.h"
#include "widgets/DocumentLinks.h"
#include "widgets/LinksDialog.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/support/MessageBoxRecorder.h"

#include "CommandIds.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/SampleDiagram.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string TempPath(const std::string& name)
{
    const char* temp = std::getenv("TEMP");
    return std::string(temp ? temp : ".") + "\\" + name;
}

std::vector<char> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), {});
}

void ExpectCellsEqual(const DefinitionTreeNode* expected, const DefinitionTreeNode* actual)
{
    for (; expected && actual; expected = expected->next.get(), actual = actual->next.get()) {
        EXPECT_EQ(expected->name, actual->name.Text());
        EXPECT_EQ(expected->state, actual->state);
        ASSERT_EQ(expected->cell != nullptr, actual->cell != nullptr);
        if (expected->cell) {
            EXPECT_EQ(expected->cell->formula, actual->cell->formula.Text());
            EXPECT_EQ(expected->cell->expression, actual->cell->expression.Text());
            EXPECT_EQ(expected->cell->number, actual->cell->number);
            EXPECT_EQ(expected->cell->kind, actual->cell->kind);
        }
        ExpectCellsEqual(expected->down.get(), actual->down.get());
    }
    EXPECT_EQ(expected == nullptr, actual == nullptr);
}

void ExpectDiagramsEqual(InfluenceDiagram& expected, InfluenceDiagram& actual)
{
    ASSERT_EQ(expected.nodes.size(), actual.nodes.size());
    for (size_t i = 0; i < expected.nodes.size(); ++i) {
        const InfluenceNodeRecord& a = *expected.nodes[i];
        const InfluenceNodeRecord& b = *actual.nodes[i];
        EXPECT_EQ(a.name, b.name.Text());
        EXPECT_EQ(a.variableName, b.variableName.Text());
        EXPECT_EQ(a.formula, b.formula.Text());
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.isClone, b.isClone);
        EXPECT_EQ(a.lowValue, b.lowValue);
        EXPECT_EQ(a.highValue, b.highValue);
        ASSERT_EQ(a.OutcomeCount(), b.OutcomeCount());
        for (int k = 0; k < a.OutcomeCount(); ++k)
            EXPECT_EQ(*a.outcomeNames.At(k), b.outcomeNames.At(k)->Text());
        ExpectCellsEqual(a.definitionA.get(), b.definitionA.get());
        ExpectCellsEqual(a.definitionB.get(), b.definitionB.get());
        EXPECT_EQ(a.NodeRect().right, b.NodeRect().right);
        ASSERT_EQ(a.subDiagram != nullptr, b.subDiagram != nullptr);
        if (a.subDiagram)
            ExpectDiagramsEqual(*a.subDiagram, *b.subDiagram);
    }
    ASSERT_EQ(expected.arcs.size(), actual.arcs.size());
    for (size_t i = 0; i < expected.arcs.size(); ++i) {
        const InfluenceArc& a = *expected.arcs[i];
        const InfluenceArc& b = *actual.arcs[i];
        EXPECT_EQ(a.tail->name, b.tail->name.Text());
        EXPECT_EQ(a.head->name, b.head->name.Text());
        EXPECT_EQ(a.curved, b.curved);
        EXPECT_EQ(a.middle.x, b.middle.x);
        EXPECT_EQ(a.commentBox.right, b.commentBox.right);
        EXPECT_EQ(a.settings.comment, b.settings.comment.Text());
        EXPECT_EQ(a.settings.hidden, b.settings.hidden);
        ASSERT_EQ(a.settings.rows.size(), b.settings.rows.size());
        for (size_t r = 0; r < a.settings.rows.size(); ++r) {
            EXPECT_EQ(a.settings.rows[r].affectsProbabilities, b.settings.rows[r].affectsProbabilities);
            EXPECT_EQ(a.settings.rows[r].influenceType, b.settings.rows[r].influenceType);
            EXPECT_EQ(a.settings.rows[r].targetState, b.settings.rows[r].targetState);
        }
    }
    EXPECT_EQ(expected.notes.Count(), actual.notes.Count());
    EXPECT_EQ(expected.printFactor, actual.printFactor);
}

void ExpectDocumentsEqual(InfluenceDocument& expected, InfluenceDocument& actual)
{
    ExpectDiagramsEqual(expected.diagram, actual.diagram);
    EXPECT_EQ(expected.zoom, actual.zoom);
    EXPECT_EQ(expected.prefs.arcFont, actual.prefs.arcFont);
    EXPECT_EQ(expected.prefs.noteEdge, actual.prefs.noteEdge);
    EXPECT_EQ(expected.prefs.verticalInf, actual.prefs.verticalInf);
    ASSERT_EQ(expected.links.Count(), actual.links.Count());
    EXPECT_EQ(expected.links.At(0)->topic, actual.links.At(0)->topic.Text());
    EXPECT_EQ(expected.links.At(0)->value, actual.links.At(0)->value.Text());
    InfluenceNodeRecord* clone = actual.diagram.nodes[4];
    EXPECT_EQ(clone->cloneMaster, actual.diagram.nodes[1]);
    EXPECT_EQ(actual.diagram.nodes[3]->subDiagram->nodes[0]->parentSubModel, actual.diagram.nodes[3]);
}

class DiagramFiles : public ::testing::Test {
protected:
    DiagramFiles()
    {
        for (int i = 1; i <= 6; ++i)
            saved.push_back(std::make_unique<SavedRegistryValue>("RecentFiles", ("File" + std::to_string(i)).c_str()));
        previousList = TheProgram()->ReplaceRecentFiles(std::make_unique<RecentFileList>());
        frame = new MainFrame;
        frame->EndStartup();
        MoveWindow(frame->Handle(), 0, 0, 800, 600, TRUE);
    }
    ~DiagramFiles() override
    {
        delete frame;
        TheProgram()->ReplaceRecentFiles(std::move(previousList));
        for (const std::string& path : files)
            std::remove(path.c_str());
    }
    std::string File(const std::string& name)
    {
        files.push_back(TempPath(name));
        std::remove(files.back().c_str());
        return files.back();
    }
    // A window with the sample diagram, shown at zoom 1.25.
    InfluenceDiagramWindow* SampleWindow()
    {
        auto* window = new InfluenceDiagramWindow();
        BuildSampleDiagram(window->document);
        window->Pane()->SetZoom(1.25);
        window->Show(SW_SHOWNORMAL);
        return window;
    }

    // The focus lock before the store's, in the order every other fixture takes them, so that no two tests
    // wait on each other.
    FocusTestLock focus;
    StoreTestLock lock;
    std::vector<std::unique_ptr<SavedRegistryValue>> saved;
    ScopedApplication app;
    std::unique_ptr<RecentFileList> previousList;
    MainFrame* frame;
    std::vector<std::string> files;
    MessageBoxRecorder boxes;
};

} // namespace

// Edit > Links in a diagram window works on the diagram's links; a diagram has no spreadsheet links.
TEST_F(DiagramFiles, TheLinksDialogEditsTheDiagramsLinks)
{
    InfluenceDiagramWindow* window = SampleWindow();
    CreateDdeLink(window->document.links, "KIVO_Node", "C:\\models\\a.tre", "DDE_1", "0.5");
    const int count = window->document.links.Count();
    window->SetModified(0);
    auto saved = LinksDialog::SetPresenter([this, count](LinksDialog& d) {
        EXPECT_EQ(d.Count(), count);
        EXPECT_FALSE(d.EditSpreadsheetLinks());
        boxes.Answer(IDYES);
        d.Delete({count - 1});
        return IDCANCEL;
    });
    window->OnCommand(Cmd::EditLinks);
    LinksDialog::SetPresenter(saved);
    EXPECT_EQ(window->document.links.Count(), count - 1);
    EXPECT_TRUE(window->IsModified());
}

TEST_F(DiagramFiles, ASavedDiagramReopensIdenticalAlsoFromTheOtherByteOrder)
{
    const std::string first = File("kivo_sample.ind");
    InfluenceDiagramWindow* window = SampleWindow();
    ASSERT_EQ(window->SaveAs(first.c_str()), 1);
    ASSERT_EQ(window->SaveAs(File("kivo_sample_kept.ind").c_str()), 1);

    auto* opened = dynamic_cast<InfluenceDiagramWindow*>(OpenFileByName(first.c_str()));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->FullPath(), first.c_str());
    EXPECT_STREQ(opened->Text(), "kivo_sample");
    EXPECT_DOUBLE_EQ(opened->Pane()->Zoom(), 1.25);
    ExpectDocumentsEqual(window->document, opened->document);
    const std::string again = File("kivo_sample_again.ind");
    ASSERT_EQ(opened->SaveAs(again.c_str()), 1);
    EXPECT_EQ(FileBytes(again), FileBytes(first));

    const std::string swapped = File("kivo_sample_swapped.ind");
    {
        FileStream stream(swapped.c_str(), true);
        stream.SetSwapping(true);
        ASSERT_TRUE(window->document.Write(stream));
    }
    ASSERT_NE(FileBytes(swapped), FileBytes(first));
    // As "kivo.exe sample.ind" opens it.
    ASSERT_EQ(RunStartupActionsText(swapped.c_str()), 1);
    InfluenceDiagramWindow* fromSwapped = nullptr;
    std::vector<WindowCL*> windows;
    frame->CollectWindows(windows);
    for (WindowCL* child : windows)
        if (auto* diagram = dynamic_cast<InfluenceDiagramWindow*>(child))
            fromSwapped = diagram->FullPath() == swapped.c_str() ? diagram : fromSwapped;
    ASSERT_NE(fromSwapped, nullptr);
    ExpectDocumentsEqual(window->document, fromSwapped->document);
    const std::string third = File("kivo_sample_third.ind");
    ASSERT_EQ(fromSwapped->SaveAs(third.c_str()), 1);
    EXPECT_EQ(FileBytes(third), FileBytes(first));
    EXPECT_EQ(boxes.Count(), 0u);
    frame->Show(SW_SHOWNOACTIVATE);
    ExpectScreenEqualsRepaint(fromSwapped->Handle());
}

TEST_F(DiagramFiles, ADamagedDiagramIsReportedOnceAndLeavesNoWindow)
{
    const std::string whole = File("kivo_whole.ind");
    InfluenceDiagramWindow* window = SampleWindow();
    ASSERT_EQ(window->SaveAs(whole.c_str()), 1);
    std::vector<char> bytes = FileBytes(whole);
    const std::string cut = File("kivo_cut.ind");
    std::ofstream(cut, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size() - 30));
    const int recent = TheProgram()->RecentFiles()->Count();

    EXPECT_EQ(OpenFileByName(cut.c_str()), nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text.rfind("This influence diagram file is damaged, and cannot be read.", 0), 0u);
    EXPECT_EQ(TheProgram()->RecentFiles()->Count(), recent);
}

// A node far out (7,999.125 inches) saves to the same bytes on every save after its reopening; a file that
// places it 2,147,483 inches out is refused with its name and why, and a diagram placing it beyond what a
// file may say is not saved.
TEST_F(DiagramFiles, PlacesSaveExactlyAndAFileOrDiagramPlacingFartherIsRefused)
{
    InfluenceDiagramWindow* window = SampleWindow();
    InfluenceNodeRecord* distant = window->document.diagram.nodes.at(2);
    distant->MoveBy(DiagramPoint{7999.125f - distant->left, 0});
    const std::string first = File("kivo_far.ind");
    ASSERT_EQ(window->SaveAs(first.c_str()), 1);
    ASSERT_EQ(window->SaveAs(File("kivo_far_kept.ind").c_str()), 1);
    // Laid out anew on reading, the centres and arcs may move by a rounding once, then never again.
    std::string saved = first;
    std::vector<std::vector<char>> versions;
    for (int round = 0; round < 3; ++round) {
        auto* opened = dynamic_cast<InfluenceDiagramWindow*>(OpenFileByName(saved.c_str()));
        ASSERT_NE(opened, nullptr);
        saved = File("kivo_far_" + std::to_string(round) + ".ind");
        ASSERT_EQ(opened->SaveAs(saved.c_str()), 1);
        versions.push_back(FileBytes(saved));
        delete opened;
    }
    EXPECT_EQ(versions[1], versions[0]);
    EXPECT_EQ(versions[2], versions[0]);

    // The stored corner, 7999125 thousandths, made 2147483000.
    std::vector<char> bytes = FileBytes(first);
    const char stored[] = {'\x95', '\x0E', '\x7A', '\x00'};
    const auto at = std::search(bytes.begin(), bytes.end(), std::begin(stored), std::end(stored));
    ASSERT_NE(at, bytes.end());
    const char farther[] = {'\x78', '\xFE', '\xFF', '\x7F'};
    std::copy(std::begin(farther), std::end(farther), at);
    const std::string damaged = File("kivo_farther.ind");
    std::ofstream(damaged, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    // Refused: no window is left for it, and the box names the file.
    EXPECT_EQ(OpenFileByName(damaged.c_str()), nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text.rfind("This influence diagram file places a node, an arc or a note farther than "
                                      "8,000 inches from the corner of the page, or at no number, and cannot be "
                                      "read.",
                                      0),
              0u);
    EXPECT_NE(boxes.Last().text.find(damaged), std::string::npos);

    distant->MoveBy(DiagramPoint{8388.0f - distant->left, 0});
    EXPECT_EQ(window->SaveAs(File("kivo_too_far.ind").c_str()), 0);
}

TEST_F(DiagramFiles, NodesAndCommentsTakeTheSizeOfTheirMeasuredTexts)
{
    auto* window = new InfluenceDiagramWindow();
    InfluenceDocument& document = window->document;
    InfluenceNodeRecord* chance = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "Side effects", 0.5f, 0.5f);
    InfluenceNodeRecord* decision = AddDiagramNode(document, document.diagram, InfluenceKind::Decision, "Side effects", 2.5f, 0.5f);
    InfluenceNodeRecord* tiny = AddDiagramNode(document, document.diagram, InfluenceKind::Decision, ".", 4.5f, 0.5f);
    SaveDrawingScale();
    SetCurrentDrawingScale(1.0f);
    const LogicalSize label = MeasureMultiLineText(*window->PaneDisplay(), "Side effects", &document.prefs.nodeFont,
                                                   true, true);
    const LogicalSize comment = MeasureMultiLineText(*window->PaneDisplay(), "One\nTwo", &document.prefs.arcFont,
                                                     true, true);
    RestoreDrawingScale();
    ASSERT_GT(label.width, 0.2f);
    EXPECT_NEAR(chance->right - chance->left, 1.4f * label.width + 0.2f, 1e-5);
    EXPECT_NEAR(chance->bottom - chance->top, 1.4f * label.height + 0.2f, 1e-5);
    EXPECT_NEAR(decision->right - decision->left, label.width + 0.2f, 1e-5);
    EXPECT_NEAR(tiny->right - tiny->left, 0.4f, 1e-5);

    // Centred at (1, 1) and (3, 1): the comment box lies below right of the middle.
    chance->SetRect(LogicalRect{0.5f, 0.5f, 1.5f, 1.5f});
    decision->SetRect(LogicalRect{2.5f, 0.5f, 3.5f, 1.5f});
    InfluenceArc* arc = AddDiagramArc(document.diagram, chance, decision);
    arc->settings.comment = "One\nTwo";
    arc->settings.showComment = 1;
    arc->Recompute();
    EXPECT_FLOAT_EQ(arc->middle.x, 2);
    EXPECT_FLOAT_EQ(arc->middle.y, 1);
    EXPECT_NEAR(arc->commentBox.left, 2.05f, 1e-5);
    EXPECT_NEAR(arc->commentBox.top, 1.05f, 1e-5);
    EXPECT_NEAR(arc->commentBox.bottom - arc->commentBox.top, comment.height + 0.06f, 1e-5);
    EXPECT_NEAR(arc->commentBox.right - arc->commentBox.left, comment.width + 0.06f, 1e-5);
    chance->MoveBy(DiagramPoint{1, 0});
    EXPECT_FLOAT_EQ(arc->middle.x, 2.5f);
    EXPECT_NEAR(arc->commentBox.left, 2.55f, 1e-5);
    delete window;
}

TEST(DiagramPainting, OutlinesTakeTheirKindsColoursAndHiddenArcsFollowThePreferences)
{
    InfluenceDiagramWindow window;
    InfluenceDocument& document = window.document;
    const SampleDiagram sample = BuildSampleDiagram(document);
    document.prefs.dotHidArcs = 0;
    BitmapDisplay display(700, 400);
    DisplayLock lock(display);
    const auto paint = [&] {
        DrawShape(display, RECT{0, 0, 699, 399}, RGB(255, 255, 255));
        PaintDiagram(document, document.diagram, display, nullptr);
    };
    const auto pixel = [&](DiagramPoint point) {
        return GetPixel(display.DeviceContext(), LogicalXToPixel(point.x, display), LogicalYToPixel(point.y, display));
    };
    // The middle of the top of each outline, where no arc meets it.
    const auto topMiddle = [&](const InfluenceNodeRecord* node) {
        const RECT r = LogicalRectToPixels(node->NodeRect(), display);
        return GetPixel(display.DeviceContext(), (r.left + r.right) / 2, r.top);
    };
    paint();
    EXPECT_EQ(topMiddle(sample.decision), RGB(0, 0, 255));
    EXPECT_EQ(topMiddle(sample.chance), RGB(0, 128, 0));
    EXPECT_EQ(topMiddle(sample.value), RGB(255, 0, 0));
    EXPECT_EQ(topMiddle(sample.subModel), RGB(0, 128, 128));
    EXPECT_EQ(topMiddle(sample.clone), RGB(192, 192, 192));
    const DiagramPoint hiddenMiddle = sample.hiddenArc->middle;
    EXPECT_EQ(pixel(hiddenMiddle), RGB(192, 192, 192));
    EXPECT_EQ(pixel(document.diagram.arcs[0]->middle), RGB(0, 0, 0));

    // The sub-model's link to the master of the clone inside it.
    const RECT from = LogicalRectToPixels(sample.subModel->NodeRect(), display);
    const RECT to = LogicalRectToPixels(sample.decision->NodeRect(), display);
    const int x = (from.left + from.right + to.left + to.right) / 4;
    const int y = (from.top + from.bottom + to.top + to.bottom) / 4;
    int greyNear = 0;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            greyNear += GetPixel(display.DeviceContext(), x + dx, y + dy) == RGB(192, 192, 192);
    EXPECT_GT(greyNear, 0);

    // A shown comment without a text is no box: not hit, so not dragged as an empty frame either.
    InfluenceArc& commented = *document.diagram.arcs[0];
    commented.settings.showComment = 1;
    commented.settings.comment = "Why";
    commented.ComputeCommentBox();
    const LogicalRect box = commented.commentBox;
    const DiagramPoint boxCorner{box.right, box.bottom};
    EXPECT_TRUE(ArcHit(document, commented, boxCorner, display));
    commented.settings.comment = "";
    EXPECT_FALSE(ArcHit(document, commented, boxCorner, display));
    commented.settings.showComment = 0;

    document.prefs.showHidArcs = 0;
    paint();
    EXPECT_EQ(pixel(hiddenMiddle), RGB(255, 255, 255));
    EXPECT_EQ(topMiddle(sample.decision), RGB(0, 0, 255));

    InfluenceDocument deterministic;
    InfluenceNodeRecord* node = AddDiagramNode(deterministic, deterministic.diagram, InfluenceKind::Deterministic, "", 1, 1);
    node->SetRect(LogicalRect{1, 1, 3, 2});
    DrawShape(display, RECT{0, 0, 699, 399}, RGB(255, 255, 255));
    PaintDiagram(deterministic, deterministic.diagram, display, nullptr);
    // Two ovals: the inner one 0.05 inside the outer.
    EXPECT_EQ(pixel(DiagramPoint{1, 1.5f}), RGB(128, 0, 128));
    EXPECT_EQ(GetPixel(display.DeviceContext(), LogicalXToPixel(1, display) + LogicalWidthToPixels(0.05, display),
                       LogicalYToPixel(1.5, display)),
              RGB(128, 0, 128));
    EXPECT_EQ(pixel(DiagramPoint{1.025f, 1.5f}), RGB(255, 255, 255));

    // Each drawing tool's picture is filled with the colour of the node it places.
    const struct {
        unsigned picture;
        int kind;
    } tools[] = {{32311, InfluenceKind::Decision}, {32310, InfluenceKind::Chance},
                 {32326, InfluenceKind::Deterministic}, {32312, InfluenceKind::Value}};
    for (const auto& tool : tools) {
        std::unique_ptr<Bitmap> picture(LoadToolbarPicture(tool.picture));
        ASSERT_NE(picture, nullptr);
        HDC memory = CreateCompatibleDC(display.DeviceContext());
        HGDIOBJ was = SelectObject(memory, picture->Handle());
        const COLORREF middle = GetPixel(memory, 11, 11);
        SelectObject(memory, was);
        DeleteDC(memory);
        EXPECT_EQ(middle, NodeKindColour(tool.kind, false).ToColorRef()) << tool.picture;
    }
}
