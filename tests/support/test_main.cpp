// The main of every test executable.
#include <gtest/gtest.h>

#include "tests/support/test_environment.h"

int main(int argc, char** argv) {
  BrovisTest::KeepToTheTestMachine();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// Cairo's font lookup (fontconfig) keeps caches for the life of the process, which the leak
// checker of sanitized builds would report when a test draws a display's title.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
