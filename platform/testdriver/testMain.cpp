// The main of every test executable: the layer starts once, in test mode, before the tests.
#include <gtest/gtest.h>

#include "testdriver.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    td::startLayer(argc, argv);
    return RUN_ALL_TESTS();
}
