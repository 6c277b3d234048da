// Handles the running program holds after one repair and after many, through the e2e driver.
//   repair_handles_bench <Ternavo.exe> [repairs]
#include <cstdio>
#include <cstdlib>

#include "driver.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: repair_handles_bench <Ternavo.exe> [repairs]\n");
    return 2;
  }
  const int repairs = argc > 2 ? std::atoi(argv[2]) : 200;
  e2e::Configure(argv[1], argv[1]);
  e2e::Program program(e2e::Config().work_folder);
  if (!program.WaitForMainWindow()) return 1;

  const HWND button = program.Control(e2e::row::ButtonNetRepair);
  std::size_t after_first = 0;
  for (int run = 1; run <= repairs; ++run) {
    e2e::Click(button);
    const std::size_t lines = static_cast<std::size_t>(run) * 2;
    if (!e2e::WaitUntil([&] { return program.MemoLines().size() >= lines; }, 60000)) {
      std::fprintf(stderr, "repair %d did not finish\n", run);
      return 1;
    }
    if (run == 1) after_first = e2e::HandleCount(program.Pid());
  }
  const std::size_t after_all = e2e::HandleCount(program.Pid());
  std::printf("handles of Ternavo.exe: %zu after 1 repair, %zu after %d repairs; log lines %zu\n", after_first,
              after_all, repairs, program.MemoLines().size());
  (void)PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
  return program.WaitForExit().value_or(1) == 0 ? 0 : 1;
}
