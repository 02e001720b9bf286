#include "widgets/UndoHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Adds or removes its number in a list, and notes its deletion.
class ListAction : public UndoAction {
public:
    ListAction(int number, std::vector<int>& list, std::vector<int>& deleted)
        : UndoAction(nullptr, ("Add " + std::to_string(number)).c_str()), number_(number), list_(list),
          deleted_(deleted)
    {
    }
    ~ListAction() override { deleted_.push_back(number_); }
    void Do() override { list_.push_back(number_); }
    void Undo() override { list_.pop_back(); }

private:
    int number_;
    std::vector<int>& list_;
    std::vector<int>& deleted_;
};

struct Fixture {
    std::vector<int> list;
    std::vector<int> deleted;
    UndoHistory history;
    void Add(int number) { history.Add(new ListAction(number, list, deleted)); }
};

TEST(UndoHistory, KeepsTheLastTenActions)
{
    Fixture f;
    for (int i = 1; i <= 11; ++i)
        f.Add(i);
    EXPECT_EQ(f.deleted, (std::vector<int>{1}));
    EXPECT_EQ(f.history.Count(), 10);
    EXPECT_EQ(f.history.Position(), 10);
    // All ten can be taken back; the eleventh Undo finds nothing.
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(f.history.Undo());
    EXPECT_FALSE(f.history.Undo());
    EXPECT_EQ(f.list, (std::vector<int>{1}));
    EXPECT_EQ(std::string(f.history.UndoMenuText().Text()), "&Undo \tCtrl+Z");
    EXPECT_EQ(std::string(f.history.RedoMenuText().Text()), "Re&do Add 2\tCtrl+Shift+Z");
}

TEST(UndoHistory, NewActionDropsTheRedoTailAndNullClearsAll)
{
    Fixture f;
    f.Add(1);
    f.Add(2);
    f.Add(3);
    ASSERT_TRUE(f.history.Undo());
    ASSERT_TRUE(f.history.Undo());
    ASSERT_TRUE(f.history.Redo());
    EXPECT_EQ(f.list, (std::vector<int>{1, 2}));
    EXPECT_EQ(std::string(f.history.UndoMenuText().Text()), "&Undo Add 2\tCtrl+Z");
    f.Add(4);
    EXPECT_EQ(f.deleted, (std::vector<int>{3}));
    EXPECT_EQ(f.history.NextRedo(), nullptr);
    EXPECT_FALSE(f.history.Redo());
    EXPECT_EQ(f.list, (std::vector<int>{1, 2, 4}));
    f.history.Clear();
    EXPECT_EQ(f.history.Count(), 0);
    EXPECT_EQ(f.history.Current(), nullptr);
    EXPECT_EQ(f.deleted, (std::vector<int>{3, 1, 2, 4}));
}

} // namespace
