// Helper child of the Win32 tests: `child_exit CODE [SLEEP_MS]` sleeps, then exits with CODE.
// When TERNAVO_CHILD_REPORT names a file, it first writes there which program ran and the
// arguments it got (module path, argc, then one argument a line).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  char report[MAX_PATH + 1] = {};
  if (GetEnvironmentVariableA("TERNAVO_CHILD_REPORT", report, sizeof report) > 0) {
    if (FILE* out = std::fopen(report, "wb")) {
      char self[MAX_PATH + 1] = {};
      (void)GetModuleFileNameA(nullptr, self, sizeof self);
      std::fprintf(out, "%s\n%d\n", self, argc);
      for (int i = 0; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
      std::fclose(out);
    }
  }
  if (argc > 2) Sleep(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
  return argc > 1 ? std::atoi(argv[1]) : 0;
}
