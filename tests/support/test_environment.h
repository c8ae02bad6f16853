#pragma once
// What the main of every test and benchmark executable sets up before anything starts a
// browser. Its children (browsers, the cockpit program) inherit it.
#include <stdlib.h>

namespace BrovisTest {

// Points the system proxy at a closed loopback port, so that no page (the home page included)
// can reach anything but this machine, however the tests are started; loopback addresses stay
// direct. Gives every font lookup the tests' own configuration (BROVIS_TEST_FONTS), so that
// pages lay out and draw the same whatever fonts the machine has.
inline void KeepToTheTestMachine() {
  ::setenv("all_proxy", "http://127.0.0.1:9", 1);
  for (const char* name : {"http_proxy", "https_proxy", "no_proxy", "HTTP_PROXY", "HTTPS_PROXY",
                           "NO_PROXY", "ALL_PROXY"})
    ::unsetenv(name);
  ::setenv("FONTCONFIG_FILE", BROVIS_TEST_FONTS, 1);
}

}  // namespace BrovisTest
