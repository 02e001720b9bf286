// The help file beside the program: every dialog template and every menu command of the program's resources,
// and every help context a message of the program gives, opens a topic of its own.

#include "widgets/HelpTopics.h"
#include "widgets/OnlineHelp.h"
#include "app/StartProgram.h"
#include "foundation/FilePath.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>
#include <string>

namespace {

BOOL CALLBACK CollectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<int>*>(ids)->insert(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

std::set<int> ResourceIds(LPCSTR type)
{
    std::set<int> ids;
    EnumResourceNamesA(nullptr, type, CollectId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

// The command ids of a menu and its pop-ups, each with the menu it was found in.
void CollectCommands(HMENU menu, int menuId, std::map<int, int>& commands)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU popup = GetSubMenu(menu, i))
            CollectCommands(popup, menuId, commands);
        else if (!(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR))
            commands.emplace(static_cast<int>(GetMenuItemID(menu, i)), menuId);
    }
}

TEST(HelpTopics, EveryDialogMenuCommandAndMessageContextHasItsTopic)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    zString directory;
    FilePath(path).GetDirectory(directory);
    TheProgram()->SetDirectory(directory);
    HelpTopics help;
    ASSERT_TRUE(help.Read(FilePath(HelpDirectory(), HelpFileName).FullPath().Text()));
    TheProgram()->SetDirectory("");

    std::string missing;
    for (int dialog : ResourceIds(RT_DIALOG))
        if (help.ForContext(dialog) < 0)
            missing += " dialog " + std::to_string(dialog) + ";";
    std::map<int, int> commands;
    for (int menuId : ResourceIds(RT_MENU)) {
        HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
        CollectCommands(menu, menuId, commands);
        DestroyMenu(menu);
    }
    EXPECT_GT(commands.size(), 200u);
    for (const auto& [command, menuId] : commands)
        if (help.ForContext(command) < 0)
            missing += " command " + std::to_string(command) + " of menu " + std::to_string(menuId) + ";";
    // The contexts of the program's message boxes and prompts.
    for (int context = 30000; context <= 30016; ++context)
        if (help.ForContext(context) < 0)
            missing += " message " + std::to_string(context) + ";";
    for (int context : {3340, 3475, 4341})
        if (help.ForContext(context) < 0)
            missing += " message " + std::to_string(context) + ";";
    EXPECT_EQ(missing, "") << "without a help topic";

    // Lines that read alike in the contents or the index would not say which topic each opens.
    std::set<std::string> titles, keys;
    for (const HelpTopic& topic : help.Topics())
        EXPECT_TRUE(titles.insert(topic.title).second) << "two topics titled \"" << topic.title << "\"";
    for (const HelpIndexEntry& entry : help.Index())
        EXPECT_TRUE(keys.insert(entry.key).second) << "two index entries \"" << entry.key << "\"";

    // A context that two topics claim would leave the second one unreachable.
    std::map<int, std::string> claimed;
    for (const HelpTopic& topic : help.Topics())
        for (int context : topic.contexts)
            EXPECT_TRUE(claimed.emplace(context, topic.title).second)
                << context << " opens \"" << claimed[context] << "\" and \"" << topic.title << "\"";
}

// The topic file's form: chapters, several contexts, key words, paragraphs, list items and lines shown as
// written.
TEST(HelpTopics, FileFormGivesContentsIndexAndText)
{
    HelpTopics help;
    help.Parse("# comment\n== Chapter\n@12,13 First\n! alpha; Beta \nOne\nline.\n\n- item\n- next\n"
               "@14 second\n! alpha\ntext\nExample:\n    !Goto(end)  \n    :end\nafter\n\n    !Return\n");
    ASSERT_EQ(help.Topics().size(), 2u);
    EXPECT_EQ(help.ForContext(13), 0);
    EXPECT_EQ(help.ForContext(14), 1);
    EXPECT_EQ(help.ForContext(15), -1);
    EXPECT_EQ(help.Topics()[0].text, "One line.\r\n\r\n- item\r\n- next");
    ASSERT_EQ(help.Contents().size(), 3u);
    EXPECT_EQ(help.Contents()[0].topic, -1);
    std::string index;
    for (const HelpIndexEntry& entry : help.Index())
        index += entry.key + "=" + std::to_string(entry.topic) + " ";
    EXPECT_EQ(index, "alpha, First=0 alpha, second=1 Beta=0 First=0 second=1 ");
    EXPECT_EQ(help.Topics()[1].text, "text Example:\r\n    !Goto(end)\r\n    :end\r\nafter\r\n\r\n    !Return");
    EXPECT_EQ(help.IndexPosition("BE"), 2);
    EXPECT_EQ(help.Search("LINE one"), std::vector<int>{0});
    EXPECT_EQ(help.Search("second text"), std::vector<int>{1});
}

} // namespace
