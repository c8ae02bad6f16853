// The main of every test executable. Before anything starts a browser, the system proxy is
// pointed at a closed loopback port, so that no page (the home page included) can reach
// anything but this machine, however the tests are started; loopback addresses stay direct.
#include <gtest/gtest.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  ::setenv("all_proxy", "http://127.0.0.1:9", 1);
  for (const char* name : {"http_proxy", "https_proxy", "no_proxy", "HTTP_PROXY", "HTTPS_PROXY",
                           "NO_PROXY", "ALL_PROXY"})
    ::unsetenv(name);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// Cairo's font lookup (fontconfig) keeps caches for the life of the process, which the leak
// checker of sanitized builds would report when a test draws a display's title.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
