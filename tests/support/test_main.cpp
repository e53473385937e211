// Test runner: registers the platform components linked into the tests, as
// a front end does at start-up, then runs every test.
#include <gtest/gtest.h>

#include "platform/components.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  suozhi::platform::RegisterRegExpComponent();
  suozhi::platform::RegisterScriptComponent();
  return RUN_ALL_TESTS();
}
