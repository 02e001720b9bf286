#include "treewin/DistributionPicker.h"

#include "treewin/DistributionParameterRow.h"
#include "treewin/FormulaEditorDialog.h"
#include "treewin/NodeValueWindow.h"
#include "widgets/ProgramDialog.h"
#include "formula/Distribution.h"
#include "formula/TableDirectory.h"
#include "foundation/NameList.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/draw/Bitmap.h"
#include "framework/draw/GdiScopes.h"
#include "framework/window/ResourceId.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace Ids = Ctl::Distribution;

namespace {

enum : unsigned {
    kFirstPicture = 2461,
    kLastPicture = 2479,
    kPlaceholderOffset = 2450,
};
constexpr int kTableType = 16;
// A picture button takes its placeholder's place; its face is the button less its pressed border.
constexpr int kFaceBorder = 8;

// The pictures in the order they are made: type index and the label under it.
struct Picture {
    int type;
    const char* label;
};
const Picture kPictures[] = {{1, "Normal"},  {2, "Uniform"},   {17, "Triangular"}, {3, "Beta"},
                             {4, "Chi"},     {5, "ChiSquared"}, {6, "Erlang"},     {7, "Exponential"},
                             {8, "Gamma"},   {9, "HyperExp"},  {10, "Laplace"},    {11, "Logistic"},
                             {12, "LogNormal"}, {13, "Maxwell"}, {14, "Rayleigh"}, {15, "Weibull"},
                             {18, "Poisson"}, {19, "Binomial"}, {16, "Table"}};

// The face of a picture button: the type's bitmap over its label, on the button face colour. A disabled
// button's face the system draws embossed from its dark pixels on white: the picture's outline and the
// label in black on white, so that both stay readable.
Bitmap* PictureFace(unsigned id, const char* label, HFONT font, int width, int height, bool disabled)
{
    ScopedWindowDC screen(nullptr);
    auto face = std::make_unique<Bitmap>(CreateCompatibleBitmap(screen.Get(), width, height));
    ScopedMemoryDC dc(screen.Get());
    ScopedSelection drawn(dc.Get(), face->Handle());
    RECT all{0, 0, width, height};
    FillRect(dc.Get(), &all, disabled ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)) : GetSysColorBrush(COLOR_BTNFACE));
    int textTop = 2;
    const Bitmap picture(ResourceId(id, nullptr));
    if (picture.Handle() != nullptr) {
        const SIZE size = picture.Size();
        ScopedMemoryDC source(screen.Get());
        ScopedSelection shown(source.Get(), picture.Handle());
        const int left = (width - size.cx) / 2;
        if (disabled) {
            // In black, the picture's pixels that are neither its button face background nor white.
            auto mask = std::make_unique<Bitmap>(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
            ScopedMemoryDC monochrome(screen.Get());
            ScopedSelection masked(monochrome.Get(), mask->Handle());
            for (const COLORREF paper : {GetSysColor(COLOR_BTNFACE), RGB(255, 255, 255)}) {
                SetBkColor(source.Get(), paper);
                BitBlt(monochrome.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
                BitBlt(dc.Get(), left, 2, size.cx, size.cy, monochrome.Get(), 0, 0,
                       paper == RGB(255, 255, 255) ? SRCPAINT : SRCCOPY);
            }
        } else {
            BitBlt(dc.Get(), left, 2, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
        }
        textTop += size.cy + 2;
    }
    ScopedSelection typeface(dc.Get(), font);
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), disabled ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNTEXT));
    RECT text{0, textTop, width, height};
    DrawTextA(dc.Get(), label, -1, &text, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    return face.release();
}

class PickerScreen {
public:
    explicit PickerScreen(DistributionPicker& picker)
        : picker(picker), dialog(DialogRes::Distribution),
          rows{Row(Ids::FirstParameterLabel, Ids::FirstParameterEdit, Ids::FirstParameterButton, 0),
               Row(Ids::SecondParameterLabel, Ids::SecondParameterEdit, Ids::SecondParameterButton, 1),
               Row(Ids::ThirdParameterLabel, Ids::ThirdParameterEdit, Ids::ThirdParameterButton, 2)}
    {
        NameList tables(4, true);
        ListTableNames(tables);
        const HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog.Handle(), WM_GETFONT, 0, 0));
        for (const Picture& picture : kPictures) {
            const unsigned id = kFirstPicture + picture.type - 1;
            HWND area = dialog.Control(id - kPlaceholderOffset);
            if (area == nullptr)
                continue;
            RECT place{};
            GetWindowRect(area, &place);
            MapWindowPoints(nullptr, dialog.Handle(), reinterpret_cast<POINT*>(&place), 2);
            ShowWindow(area, SW_HIDE);
            // A push-like radio button stays pressed while its type is the current one; its text is the
            // label drawn in its face.
            HWND button = CreateWindowExA(0, "BUTTON", picture.label, WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                          BS_AUTORADIOBUTTON | BS_PUSHLIKE | BS_BITMAP, place.left, place.top,
                                          place.right - place.left, place.bottom - place.top, dialog.Handle(),
                                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
            SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
            const bool disabled = picture.type == kTableType && (!picker.allowTable || tables.Count() == 0);
            faces.emplace_back(PictureFace(id, picture.label, font, place.right - place.left - kFaceBorder,
                                           place.bottom - place.top - kFaceBorder, disabled));
            SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(faces.back()->Handle()));
            if (disabled)
                EnableWindow(button, FALSE);
            dialog.OnButton(id, [this, picture] { Choose(picture.type); });
        }
        if (ListBoxCtrl* list = NotifyListCtrl::FromTemplateText(&dialog, Ids::TableList, &tableName, 0)) {
            for (int i = 0; i < tables.Count(); ++i)
                list->AddString(*tables.At(i));
        }
        for (unsigned id : {unsigned(Ids::FirstMode), unsigned(Ids::SecondMode)})
            dialog.OnButton(id, [this, id] {
                current->SetVariant(static_cast<int32_t>(id - Ids::FirstMode + 1));
                Refresh(false);
            });
        dialog.OnButton(IDOK, [this] { Ok(); });
        // The picker works on its own copy: the caller's distribution stays as it was until it takes the
        // one handed back on OK.
        if (picker.current != nullptr) {
            current.reset(picker.current->Clone());
        } else {
            current.reset(MakeDistribution(1));
            current->SetOwner(Owner());
        }
        Refresh(true);
        // The current type's picture has the focus when the dialog opens.
        SetFocus(dialog.Control(kFirstPicture + static_cast<unsigned>(current->TypeCode()) - 1));
    }

    // A new distribution, the one picked, or null after Cancel.
    Distribution* Run() { return dialog.Run() == IDOK ? current.release() : nullptr; }

private:
    std::unique_ptr<DistributionParameterRow> Row(unsigned label, unsigned field, unsigned button, int i)
    {
        return std::make_unique<DistributionParameterRow>(
            &dialog, label, field, button, &texts[i], [this, label](EditCtrl& edit) {
                // The editor shows the row's label without its mnemonic mark.
                std::string name = dialog.ItemText(label).Text();
                name.erase(std::remove(name.begin(), name.end(), '&'), name.end());
                RunFormulaEditor(picker.window, edit, name.c_str(), nullptr, nullptr, nullptr);
            });
    }

    FormulaDocument* Owner() const { return picker.window != nullptr ? &picker.window->Document() : nullptr; }

    void Choose(int type)
    {
        if (current->TypeCode() == type)
            return;
        current.reset(MakeDistribution(type));
        current->SetOwner(Owner());
        Refresh(true);
    }

    // The rows, list and modes of the current type; with texts the rows take the type's parameter texts.
    void Refresh(bool withTexts)
    {
        const bool table = current->TypeCode() == kTableType;
        CheckRadioButton(dialog.Handle(), kFirstPicture, kLastPicture,
                         static_cast<int>(kFirstPicture + current->TypeCode() - 1));
        // A hidden list is disabled too, so that OK does not ask it for a choice.
        dialog.ShowItem(Ids::TableList, table);
        dialog.EnableItem(Ids::TableList, table);
        const bool modes = !table && current->HasVariants();
        for (int32_t mode : {1, 2}) {
            const unsigned radio = Ids::FirstMode + static_cast<unsigned>(mode) - 1;
            dialog.ShowItem(radio, modes);
            dialog.SetItemText(radio, current->VariantName(mode));
            dialog.CheckItem(radio, current->Variant() == mode);
        }
        for (int i = 0; i < 3; ++i) {
            const bool shown = !table && i < current->ParameterCount();
            if (shown && withTexts) {
                texts[i] = current->Parameter(i)->Text();
                SetWindowTextA(rows[i]->Field()->Handle(), texts[i].Text());
            }
            rows[i]->SetLabel(shown ? current->ParameterLabel(i) : "");
            rows[i]->Show(shown);
        }
        if (table) {
            tableName = current->Parameter(0) != nullptr ? current->Parameter(0)->Text() : zString();
            SendDlgItemMessageA(dialog.Handle(), Ids::TableList, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(tableName.Text()));
        } else {
            dialog.SelectField(Ids::FirstParameterEdit);
        }
    }

    void Ok()
    {
        if (!dialog.ValidateAndStore())
            return;
        Expression values[4];
        values[0].SetText(std::to_string(current->Variant()).c_str());
        if (current->TypeCode() == kTableType) {
            if (tableName.IsEmpty())
                return;
            values[1].SetText(tableName.Text());
        } else {
            for (int i = 0; i < current->ParameterCount() && i < 3; ++i) {
                if (!NodeValueWindow::Parses(texts[i], rows[i]->Field(), nullptr))
                    return;
                values[i + 1].SetText(texts[i].Text());
            }
        }
        current->SetParameters(values);
        dialog.Accept();
    }

    DistributionPicker& picker;
    zString texts[3];
    zString tableName;
    std::vector<std::unique_ptr<Bitmap>> faces;
    ProgramDialog dialog;
    std::unique_ptr<DistributionParameterRow> rows[3];
    std::unique_ptr<Distribution> current;
};

} // namespace

Distribution* RunDistributionPicker(TreeWindow* window, Distribution* current, bool allowTable)
{
    DistributionPicker picker(window, current, allowTable);
    if (!DistributionPicker::HasPresenter())
        return PickerScreen(picker).Run();
    if (picker.Present() != IDOK) {
        delete picker.chosen;
        return nullptr;
    }
    return picker.chosen;
}
