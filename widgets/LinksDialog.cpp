#include "widgets/LinksDialog.h"

#include "widgets/ClipboardReader.h"
#include "widgets/DocumentWindow.h"
#include "widgets/ClipboardWriter.h"
#include "widgets/FilePathDialogs.h"
#include "widgets/MultiSelectListBox.h"
#include "widgets/RangeValidator.h"
#include "widgets/Shell.h"
#include "widgets/ProgramDialog.h"
#include "foundation/ArchiveTransfer.h"
#include "foundation/FilePath.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringHelpers.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/window/Clipboard.h"
#include "model/DocumentLink.h"
#include "model/TreeDocument.h"
#include "widgets/DdeLinkManager.h"
#include "widgets/DocumentLinks.h"
#include "widgets/SpreadsheetLinksDialog.h"

#include "CommandIds.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace LinkPropertiesIds = Ctl::LinkProperties;
namespace LinksIds = Ctl::Links;
namespace ReplaceDirectoriesIds = Ctl::ReplaceDirectories;

namespace {

const ClipboardFormat& LinkPasserFormat()
{
    static const ClipboardFormat format = ClipboardFormat::Register("LinkPasser");
    return format;
}

// One link as the "LinkPasser" form carries it, both ways.
struct PassedLink {
    int16_t index = 0;
    zString application;
    zString topic;
    zString item;
    zString description;

    void Transfer(Archive& stream)
    {
        TransferShort(stream, index);
        for (zString* text : {&application, &topic, &item, &description})
            TransferString(stream, *text);
    }
};

// The number of links the clipboard offers; with out, the links themselves (none from a damaged form).
int ReadPassedLinks(std::vector<PassedLink>* out)
{
    Clipboard clipboard = MainWindowClipboard();
    if (!clipboard.HasFormat(LinkPasserFormat()))
        return 0;
    ClipboardReader reader(clipboard, LinkPasserFormat());
    Archive* stream = reader.Stream();
    int16_t count = 0;
    if (stream != nullptr)
        TransferShort(*stream, count);
    for (int i = 0; out != nullptr && i < count && !stream->Failed(); ++i) {
        out->emplace_back();
        out->back().Transfer(*stream);
    }
    if (out != nullptr && stream != nullptr && stream->Failed())
        out->clear();
    return std::max<int>(count, 0);
}

// A static keeps its text when it would not change, so that the timer's refresh does not flicker.
void SetStaticText(ProgramDialog& dialog, unsigned id, const char* text)
{
    char shown[1024] = {};
    GetDlgItemTextA(dialog.Handle(), static_cast<int>(id), shown, sizeof shown);
    if (std::strcmp(shown, text) != 0)
        dialog.SetItemText(id, text);
}

// The details of the one selected link; empty with none or several. The preview reads a side file.
void ShowDetails(ProgramDialog& dialog, const DocumentLink* link)
{
    const bool dde = link != nullptr && link->kind == DocumentLink::DdeKind;
    zString preview;
    if (link != nullptr)
        link->GetItemText(preview);
    SetStaticText(dialog, LinksIds::TypeText, dde ? link->application.Text() : "");
    SetStaticText(dialog, LinksIds::SourceDocText, dde ? link->topic.Text() : "");
    SetStaticText(dialog, LinksIds::ItemText, dde ? link->item.Text() : "");
    SetStaticText(dialog, LinksIds::PreviewText, preview.Text());
}

void ShowOnScreen(LinksDialog& links)
{
    ProgramDialog dialog(DialogRes::Links);
    MultiSelectListBox selection(&dialog, LinksIds::DescriptionList);
    ListBoxCtrl& list = *selection.Box();
    const int tabStops[] = {25, 40, 65};
    list.SetTabStops(tabStops, 3);
    dialog.EnableItem(LinksIds::BiDirectionalLinks, links.IsTree());
    auto refresh = [&] {
        const int count = selection.ReadSelection();
        const int offered = links.LinksOnClipboard();
        dialog.SetItemText(LinksIds::CopyLink, count >= 2 ? "&Copy Links" : "&Copy Link");
        dialog.EnableItem(LinksIds::CopyLink, count > 0);
        dialog.SetItemText(LinksIds::PasteLink, offered >= 2 ? "P&aste Links" : "P&aste Link");
        dialog.EnableItem(LinksIds::PasteLink, offered > 0);
        dialog.EnableItem(LinksIds::Replace, links.Count() > 0);
        dialog.EnableItem(LinksIds::Delete, count > 0);
        dialog.EnableItem(LinksIds::Properties, count == 1);
        ShowDetails(dialog, count == 1 ? links.At(selection.SelectedAt(0)) : nullptr);
    };
    auto refill = [&](const std::vector<int>& select) {
        list.Clear();
        for (int i = 0; i < links.Count(); ++i)
            list.AddString(links.RowText(i));
        for (int row : select)
            selection.Select(row, false);
        refresh();
    };
    refill({});
    // What the clipboard offers changes while the dialog is open.
    dialog.Every(1000, refresh);
    dialog.OnNotification(LinksIds::DescriptionList, LBN_SELCHANGE, refresh);
    dialog.OnButton(LinksIds::Properties, [&] {
        if (selection.ReadSelection() != 1)
            return;
        const int row = links.Edit(selection.SelectedAt(0));
        if (row >= 0)
            refill({row});
    });
    auto selectedRows = [&selection] {
        const int count = selection.ReadSelection();
        return std::vector<int>(selection.Selection, selection.Selection + count);
    };
    dialog.OnButton(LinksIds::CopyLink, [&] {
        links.Copy(selectedRows());
        refresh();
    });
    dialog.OnButton(LinksIds::BiDirectionalLinks, [&] {
        // The workbook's program may have come forward meanwhile: the person goes on in this dialog.
        links.EditSpreadsheetLinks();
        dialog.ComeToFront();
    });
    dialog.OnButton(LinksIds::PasteLink, [&] { refill(links.Paste()); });
    dialog.OnButton(LinksIds::Delete, [&] {
        links.Delete(selectedRows());
        refill({});
    });
    dialog.OnButton(LinksIds::Replace, [&] {
        const std::vector<int> rows = selectedRows();
        int onlySelected = rows.empty() ? 0 : 1;
        zString search;
        zString replacement;
        ProgramDialog replace(DialogRes::ReplaceDirectories);
        EditCtrl::FromTemplate(&replace, ReplaceDirectoriesIds::SearchEdit, &search);
        EditCtrl::FromTemplate(&replace, ReplaceDirectoriesIds::ReplaceEdit, &replacement, CtrlWindowCL::MayBeEmpty);
        CheckBoxCtrl::FromTemplate(&replace, ReplaceDirectoriesIds::ReplaceOnlyWithinSelectedItems, &onlySelected);
        replace.EnableItem(ReplaceDirectoriesIds::ReplaceOnlyWithinSelectedItems, !rows.empty());
        if (replace.Run() == IDOK)
            refill(links.ReplaceInSources(search, replacement, onlySelected != 0 ? rows : std::vector<int>()));
    });
    dialog.Run();
}

int ShowOnScreen(LinkSourceDialog& source)
{
    ProgramDialog dialog(DialogRes::LinkProperties);
    IntegerEdit::FromTemplate(&dialog, LinkPropertiesIds::IndexEdit, new IntegerRangeValidator(1, 32000, 1), 0,
                              &source.index);
    for (auto field : {std::make_pair(LinkPropertiesIds::SourceDocEdit, &source.topic),
                       std::make_pair(LinkPropertiesIds::ItemEdit, &source.item),
                       std::make_pair(LinkPropertiesIds::DescriptionEdit, &source.description)})
        EditCtrl::FromTemplate(&dialog, field.first, field.second, CtrlWindowCL::MayBeEmpty);
    SendDlgItemMessageA(dialog.Handle(), LinkPropertiesIds::DescriptionEdit, EM_LIMITTEXT, 256, 0);
    CheckBoxCtrl::FromTemplate(&dialog, LinkPropertiesIds::InvokesBiDirectionalLink, &source.biDirectional);
    dialog.OnButton(LinkPropertiesIds::Browse, [&dialog] {
        const char* const filters[] = {"All Files (*.*)", "*.*", nullptr};
        FilePath path;
        if (ChooseOpenPath(dialog.Handle(), filters, "Select Source Document", nullptr, path))
            dialog.SetItemText(LinkPropertiesIds::SourceDocEdit, path.FullPath().Text());
    });
    dialog.OnButton(IDOK, [&] {
        if (dialog.ValidateAndStore() && source.CheckIndex())
            dialog.EndModal();
        else
            dialog.SelectField(LinkPropertiesIds::IndexEdit);
    });
    dialog.SelectField(LinkPropertiesIds::IndexEdit);
    return dialog.Run();
}

} // namespace

bool LinksDialog::Run()
{
    if (HasPresenter())
        Present();
    else
        ShowOnScreen(*this);
    return changed_;
}

DocumentLink* LinksDialog::At(int row) const
{
    return links_.At(row);
}

bool LinksDialog::Copy(const std::vector<int>& rows) const
{
    std::vector<PassedLink> passed;
    for (int row : rows)
        if (const DocumentLink* link = links_.At(row))
            passed.push_back({link->index, link->application, link->topic, link->item, link->description});
    if (passed.empty())
        return false;
    Clipboard clipboard = MainWindowClipboard();
    ClipboardWriter writer(clipboard, LinkPasserFormat(), true);
    int16_t count = static_cast<int16_t>(passed.size());
    TransferShort(*writer.Stream(), count);
    for (PassedLink& link : passed)
        link.Transfer(*writer.Stream());
    return writer.Flush() != 0;
}

bool LinksDialog::CanPasteProgramLink() const
{
    return window_ != nullptr && TheShell().CanPasteLink();
}

int LinksDialog::LinksOnClipboard() const
{
    return CanPasteProgramLink() ? 1 : ReadPassedLinks(nullptr);
}

std::vector<int> LinksDialog::Paste()
{
    if (CanPasteProgramLink()) {
        zString formula;
        DdeLinkManager& links = *TheShell().Links();
        const DocumentLink* link = links_.Find(PasteLinkFromClipboard(links, links_, *window_, formula, 0));
        if (link == nullptr)
            return {};
        changed_ = true;
        return {links_.IndexOf(link)};
    }
    std::vector<PassedLink> offered;
    ReadPassedLinks(&offered);
    std::vector<DocumentLink*> pasted;
    for (const PassedLink& passed : offered) {
        DocumentLink* link = links_.Find(CreateDdeLink(links_, passed.application.Text(), passed.topic.Text(),
                                                       passed.item.Text(), ""));
        if (link == nullptr)
            continue;
        link->description = passed.description;
        pasted.push_back(link);
        changed_ = true;
    }
    std::vector<int> rows;
    for (DocumentLink* link : pasted)
        rows.push_back(links_.IndexOf(link));
    return rows;
}

std::vector<int> LinksDialog::ReplaceInSources(const zString& search, const zString& replacement,
                                               std::vector<int> rows)
{
    if (rows.empty())
        for (int row = 0; row < Count(); ++row)
            rows.push_back(row);
    std::vector<int> changed;
    for (int row : rows) {
        DocumentLink* link = links_.At(row);
        if (link == nullptr || search.IsEmpty())
            continue;
        zString topic = link->topic;
        if (ReplaceAll(topic, search.Text(), replacement.Text(), false, true, 0, true) > 0) {
            zString value;
            link->GetItemText(value);
            link->SetSource(link->application.Text(), topic.Text(), link->item.Text(), value.Text());
            changed.push_back(row);
        }
    }
    if (tree_ != nullptr && !search.IsEmpty() &&
        ReplaceAll(tree_->Links.WorkbookPath(), search.Text(), replacement.Text(), false, true, 0, true) > 0)
        changed_ = true;
    changed_ = changed_ || !changed.empty();
    if (window_ != nullptr)
        window_->InvalidateAll();
    return changed;
}

int LinksDialog::Edit(int row)
{
    DocumentLink* link = links_.At(row);
    if (link == nullptr || !LinkSourceDialog(links_, *link).Run())
        return -1;
    changed_ = true;
    return links_.IndexOf(link);
}

bool LinksDialog::EditSpreadsheetLinks()
{
    if (tree_ == nullptr)
        return false;
    SpreadsheetLinksDialog spreadsheet(*tree_);
    const bool stored = spreadsheet.Run();
    changed_ = changed_ || stored;
    return stored;
}

int LinksDialog::Count() const
{
    return links_.Count();
}

zString LinksDialog::RowText(int row) const
{
    const DocumentLink& link = *links_.At(row);
    const DocumentLinkFeed* feed = TheDocumentLinkFeed();
    const bool connected = feed != nullptr && feed->IsConnected(link);
    const std::string text = std::to_string(link.index) + "\t" + (connected ? "+" : "") + "\t" + (link.biDirectional != 0 ? "Y" : "") + "\t" +
                             link.description.Text();
    return zString(text.c_str());
}

void LinksDialog::Delete(const std::vector<int>& rows)
{
    std::vector<int> doomed;
    for (int row : rows)
        if (row >= 0 && row < Count() && std::find(doomed.begin(), doomed.end(), row) == doomed.end())
            doomed.push_back(row);
    if (doomed.empty())
        return;
    const char* which = doomed.size() == 1 ? "this link" : "these links";
    const std::string question = std::string("If you cancel ") + which +
                                 ", unresolved references to it may remain in the tree.\n\nAre you sure you want "
                                 "to cancel " + which + "?";
    if (AskYesNo(nullptr, question.c_str(), 0) != 1)
        return;
    std::sort(doomed.begin(), doomed.end());
    for (auto row = doomed.rbegin(); row != doomed.rend(); ++row)
        links_.DeleteAt(*row);
    changed_ = true;
}

LinkSourceDialog::LinkSourceDialog(DocumentLinkList& links, DocumentLink& link)
    : index(link.index), topic(link.topic), item(link.item), description(link.description),
      biDirectional(link.biDirectional), links_(links), link_(link)
{
}

bool LinkSourceDialog::Run()
{
    DocumentLinkList& links = links_;
    DocumentLink& link = link_;
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this);
    accepted = answer == IDOK && index >= 1 && index <= 32000 && (!HasPresenter() || CheckIndex());
    if (!accepted)
        return false;
    link.description = description;
    if (!(link.topic == topic) || !(link.item == item)) {
        zString value;
        link.GetItemText(value);
        link.SetSource(link.application.Text(), topic.Text(), item.Text(), value.Text());
    }
    link.biDirectional = static_cast<int16_t>(biDirectional != 0);
    if (index != link.index) {
        link.index = static_cast<int16_t>(index);
        links.RemovePtr(&link);
        links.InsertSorted(&link);
    }
    return true;
}

bool LinkSourceDialog::CheckIndex() const
{
    if (index == link_.index)
        return true;
    const DocumentLink* other = links_.Find(index);
    if (other != nullptr && other != &link_) {
        ShowErrorBox(nullptr, "This index is being used by another subscriber.", 0);
        return false;
    }
    ShowInfoBox(nullptr,
                "You have changed this subscriber's index. This may leave unresolved references to the old index.", 0);
    return true;
}
