// The benchmarks' main. The browser starts on its public home page: before anything starts it,
// the system proxy is pointed at a closed loopback port, so nothing leaves this machine.
#include <benchmark/benchmark.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  ::setenv("all_proxy", "http://127.0.0.1:9", 1);
  for (const char* name : {"http_proxy", "https_proxy", "no_proxy", "HTTP_PROXY", "HTTPS_PROXY",
                           "NO_PROXY", "ALL_PROXY"})
    ::unsetenv(name);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
