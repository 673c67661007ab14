// The simulated chat client as a program of its own.
#include <windows.h>

#include <cstdio>

#include "tools/clientsim/options.h"
#include "tools/clientsim/sim_client_win32.h"

int main(int argc, char** argv) {
  using namespace wendrel::clientsim;
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "clientsim: %s\n\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  return RunClient(options, GetModuleHandleA(nullptr));
}
