// Entry of the headless program: GoogleTest's plain start once its own thread runs.

#include "tests/support/AssertionWatcher.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    StartAssertionWatcher();
    return RUN_ALL_TESTS();
}
