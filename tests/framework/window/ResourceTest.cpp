#include "framework/window/IconResource.h"
#include "framework/window/ResourceId.h"
#include "framework/window/ResourceLibrary.h"
#include "framework/window/ResourceModule.h"
#include "framework/window/ScrollBarState.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

namespace {

TEST(ResourceId, LibraryZeroAndAllOnesBothMeanTheProgram)
{
    ScopedApplication app;
    const ResourceId byDefault(103, nullptr);
    const ResourceId itself(103, ResourceId::ProgramItself);
    EXPECT_EQ(byDefault.Library(), nullptr);
    EXPECT_EQ(itself.Library(), nullptr);
    EXPECT_EQ(byDefault.NameOrId(), MAKEINTRESOURCEA(103));
    ResourceModule module(itself);
    EXPECT_TRUE(module.IsValid());
    EXPECT_EQ(module.Handle(), GetModuleHandleA(nullptr));
}

TEST(ResourceId, NumericIdKeepsItsLow16BitsAndANameIsUsedForIdZero)
{
    EXPECT_EQ(ResourceId(0x12345u, nullptr).NameOrId(), MAKEINTRESOURCEA(0x2345));
    const ResourceId named("TOOLBAR");
    EXPECT_STREQ(named.NameOrId(), "TOOLBAR");
}

TEST(ResourceId, CopyOfAnOwnedNameSurvivesTheOriginal)
{
    auto* original = new ResourceId("SPLASH");
    ResourceId copy(*original);
    ResourceId assigned(1, nullptr);
    assigned = *original;
    EXPECT_NE(copy.Name(), original->Name());
    delete original;
    EXPECT_STREQ(copy.Name(), "SPLASH");
    EXPECT_STREQ(assigned.Name(), "SPLASH");
    assigned = assigned;
    EXPECT_STREQ(assigned.Name(), "SPLASH");
}

TEST(ResourceModule, LibraryThatDoesNotLoadGivesNoModule)
{
    ResourceModule module(ResourceId(1, "no_such_kivo_library.dll"));
    EXPECT_FALSE(module.IsValid());
}

TEST(IconResource, MissingIconsLeaveNoHandle)
{
    ScopedApplication app;
    IconResource missing(ResourceId(4711, nullptr));
    IconResource fromBadLibrary(ResourceId(1, "no_such_kivo_library.dll"));
    EXPECT_EQ(missing.Handle(), nullptr);
    EXPECT_EQ(fromBadLibrary.Handle(), nullptr);
}

TEST(ResourceLibrary, EmptyRegistryFindsNothingAndFreesNothing)
{
    EXPECT_EQ(ResourceLibrary::Find("custom.dll"), nullptr);
    EXPECT_EQ(ResourceLibrary::Find(nullptr), nullptr);
    ResourceLibrary::FreeAll();
    EXPECT_EQ(ResourceLibrary::Count(), 0);
}

TEST(ResourceLibrary, FindIsExactAndCaseSensitive)
{
    ResourceLibrary::Add("Custom.dll", nullptr);
    EXPECT_NE(ResourceLibrary::Find("Custom.dll"), nullptr);
    EXPECT_EQ(ResourceLibrary::Find("custom.dll"), nullptr);
    ResourceLibrary::FreeAll();
    EXPECT_EQ(ResourceLibrary::Count(), 0);
}

TEST(ScrollBarState, PositionsAreClampedAndThePreviousOneKept)
{
    struct Row {
        int start;
        int requested;
        int position;
    };
    const Row rows[] = {{20, 150, 100}, {20, -5, 0}, {20, 60, 60}};
    for (const Row& row : rows) {
        ScrollBarState state(nullptr);
        state.SetPos(row.start);
        state.SetPos(row.requested);
        EXPECT_EQ(state.position, row.position);
        EXPECT_EQ(state.previous, row.start);
    }
}

TEST(ScrollBarState, ThumbTrackingLeavesThePreviousPosition)
{
    ScrollBarState state(nullptr);
    state.SetPos(10);
    state.SetPosClamped(40);
    EXPECT_EQ(state.position, 40);
    EXPECT_EQ(state.previous, 0);
}

} // namespace
