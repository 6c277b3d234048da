// Start-up figures of Ternavo.exe beside a bare one-window program, timed alternately in the
// same run: time to the first painted window, private memory after start, executable size.
//   startup_bench <Ternavo.exe> <bare_window.exe> [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Sample {
  double ms;
  SIZE_T private_bytes;
};

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  (void)GetWindowThreadProcessId(hwnd, &pid);
  RECT r{};
  (void)GetWindowRect(hwnd, &r);
  if (pid == search->pid && IsWindowVisible(hwnd) && r.right - r.left > 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Committed private memory, region by region: Wine leaves the process counters' private
// usage at 0.
SIZE_T PrivateBytes(HANDLE process) {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
  }
  return total;
}

double Ms(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

// Starts the program, waits until it has a visible window whose thread has painted it (an
// answered WM_NULL behind a synchronous UpdateWindow), then closes it.
bool Measure(const std::string& exe, Sample* sample) {
  std::string command = "\"" + exe + "\"";
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  Search search{pi.dwProcessId, nullptr};
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (!search.found && GetTickCount64() < deadline) {
    (void)EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(1);
  }
  DWORD_PTR answer = 0;
  const bool ok = search.found && SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer);
  QueryPerformanceCounter(&end);
  sample->ms = Ms(start, end);
  sample->private_bytes = PrivateBytes(pi.hProcess);
  if (search.found) (void)PostMessageA(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) (void)TerminateProcess(pi.hProcess, 1);
  (void)CloseHandle(pi.hThread);
  (void)CloseHandle(pi.hProcess);
  return ok;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench <Ternavo.exe> <bare_window.exe> [rounds]\n");
    return 2;
  }
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
  std::vector<double> program_ms, bare_ms;
  SIZE_T program_private = 0, bare_private = 0;
  for (int round = 0; round < rounds; ++round) {
    Sample a{}, b{};
    if (!Measure(argv[1], &a) || !Measure(argv[2], &b)) {
      std::fprintf(stderr, "a start did not show its window\n");
      return 1;
    }
    program_ms.push_back(a.ms);
    bare_ms.push_back(b.ms);
    program_private = a.private_bytes;
    bare_private = b.private_bytes;
  }
  const double program = Median(program_ms), bare = Median(bare_ms);
  std::printf("start-up to first painted window, median of %d alternating rounds:\n", rounds);
  std::printf("  Ternavo.exe      %8.1f ms\n  bare window      %8.1f ms\n  ratio            %8.2f\n", program, bare,
              program / bare);
  std::printf("private memory after start: Ternavo %llu KiB, bare window %llu KiB\n",
              static_cast<unsigned long long>(program_private / 1024),
              static_cast<unsigned long long>(bare_private / 1024));
  std::printf("executable size: Ternavo.exe %lld bytes\n", FileSize(argv[1]));
  return 0;
}
