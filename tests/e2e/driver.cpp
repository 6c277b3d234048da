// The black-box driver: starts the real Ternavo.exe and works it from outside.
#include "driver.h"

#include "handle_count.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace e2e {
namespace {

Setup g_setup;

// A sent message that gets no answer in this long means the program hangs.
constexpr UINT kAnswerMs = 10000;
constexpr DWORD kPollMs = 5;

// Under Wine, build paths arrive as Unix paths; Wine itself knows their drive form.
std::wstring WindowsPath(const char* path) {
  if (path[0] != '/') return Wide(path);
  using ToDos = WCHAR*(CDECL*)(LPCSTR);
  const auto to_dos = reinterpret_cast<ToDos>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (to_dos) {
    if (WCHAR* dos = to_dos(path)) {
      std::wstring result(dos);
      (void)HeapFree(GetProcessHeap(), 0, dos);
      return result;
    }
  }
  std::wstring result = L"Z:" + Wide(path);
  std::replace(result.begin(), result.end(), L'/', L'\\');
  return result;
}

std::optional<LRESULT> TrySend(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_NORMAL, kAnswerMs, &result)) return std::nullopt;
  return static_cast<LRESULT>(result);
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto result = TrySend(hwnd, message, wparam, lparam);
  if (!result) {
    throw std::runtime_error("window " + std::to_string(reinterpret_cast<std::uintptr_t>(hwnd)) +
                             " gave no answer to message " + std::to_string(message));
  }
  return *result;
}

// Nothing when the window is gone or does not answer.
std::optional<std::string> TryTextOf(HWND hwnd) {
  const auto length = TrySend(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (!length) return std::nullopt;
  std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
  const auto copied = TrySend(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  if (!copied) return std::nullopt;
  text.resize(static_cast<std::size_t>(*copied));
  return Gbk(text);
}

// Memory in the program's process, for control messages whose buffer Wine hands over as a
// bare address (those above WM_USER are not copied between processes).
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, std::size_t size)
      : process_(process), size_(size),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
    if (!address_) throw std::runtime_error("no memory in the program's process");
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer() { (void)VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }

  LPARAM Address(std::size_t offset = 0) const {
    return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
  }
  void Write(const void* data, std::size_t size) const {
    SIZE_T done = 0;
    if (!WriteProcessMemory(process_, address_, data, size, &done) || done != size) {
      throw std::runtime_error("cannot write the program's memory");
    }
  }
  std::vector<char> Read() const {
    std::vector<char> data(size_);
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_, address_, data.data(), size_, &done) || done != size_) {
      throw std::runtime_error("cannot read the program's memory");
    }
    return data;
  }

 private:
  HANDLE process_;
  std::size_t size_;
  void* address_;
};

std::wstring ImageFileName(DWORD pid) {
  const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return {};
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (!QueryFullProcessImageNameW(process.Get(), 0, path, &size)) return {};
  const std::wstring full(path, size);
  return full.substr(full.find_last_of(L"\\/") + 1);
}

// Window enumeration takes a plain callback (stdcall on 32-bit Windows), not a lambda.
BOOL CALLBACK VisitWindow(HWND hwnd, LPARAM param) {
  (*reinterpret_cast<const std::function<void(HWND)>*>(param))(hwnd);
  return TRUE;
}

// Each top-level window, or each descendant of `parent`.
void ForEachWindow(HWND parent, const std::function<void(HWND)>& visit) {
  const auto param = reinterpret_cast<LPARAM>(&visit);
  if (parent) {
    (void)EnumChildWindows(parent, &VisitWindow, param);
  } else {
    (void)EnumWindows(&VisitWindow, param);
  }
}

}  // namespace

void Configure(const char* program, const char* slow_tool) {
  g_setup.program = WindowsPath(program);
  g_setup.slow_tool = WindowsPath(slow_tool);
  g_setup.work_folder = L"C:\\ternavo-e2e";
  (void)CreateDirectoryW(g_setup.work_folder.c_str(), nullptr);
}

const Setup& Config() { return g_setup; }

std::string Gbk(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(size), '\0');
  (void)WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
  return result;
}

std::wstring Wide(std::string_view gbk) {
  if (gbk.empty()) return {};
  const int size = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring result(static_cast<std::size_t>(size), L'\0');
  (void)MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), result.data(), size);
  return result;
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find("\r\n");
    lines.emplace_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 2);
  }
  return lines;
}

bool WaitUntil(const std::function<bool()>& done, DWORD deadline_ms) {
  const ULONGLONG deadline = GetTickCount64() + deadline_ms;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  return std::wstring(name, static_cast<std::size_t>(GetClassNameW(hwnd, name, 256)));
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  (void)GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

std::string TextOf(HWND hwnd) {
  const auto text = TryTextOf(hwnd);
  if (!text) {
    throw std::runtime_error("window " + std::to_string(reinterpret_cast<std::uintptr_t>(hwnd)) +
                             " gave no text");
  }
  return *text;
}

std::vector<HWND> TopLevelWindows(DWORD pid, std::wstring_view class_name) {
  std::vector<HWND> found;
  ForEachWindow(nullptr, [&](HWND hwnd) {
    if (ProcessOf(hwnd) == pid && (class_name.empty() || ClassOf(hwnd) == class_name)) found.push_back(hwnd);
  });
  return found;
}

std::vector<HWND> Descendants(HWND parent, std::wstring_view class_name) {
  std::vector<HWND> found;
  ForEachWindow(parent, [&](HWND hwnd) {
    if (class_name.empty() || ClassOf(hwnd) == class_name) found.push_back(hwnd);
  });
  return found;
}

RECT RectInParent(HWND hwnd) {
  RECT rect{};
  (void)GetWindowRect(hwnd, &rect);
  (void)MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void Click(HWND button) {
  if (!PostMessageW(button, BM_CLICK, 0, 0)) throw std::runtime_error("cannot post a click");
}

std::vector<HWND> TernavoMainWindows() {
  std::vector<HWND> found;
  ForEachWindow(nullptr, [&](HWND hwnd) {
    if (ClassOf(hwnd) == L"TForm1" && IsWindowVisible(hwnd) &&
        CompareStringOrdinal(ImageFileName(ProcessOf(hwnd)).c_str(), -1, L"Ternavo.exe", -1, TRUE) == CSTR_EQUAL) {
      found.push_back(hwnd);
    }
  });
  return found;
}

std::string ReadBytes(const std::wstring& path) {
  const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string bytes;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  return bytes;
}

void WriteBytes(const std::wstring& path, std::string_view bytes) {
  const UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file || !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    throw std::runtime_error("cannot write " + Gbk(path));
  }
}

std::wstring TemplatesFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_TEMPLATES, nullptr, SHGFP_TYPE_CURRENT, path))) {
    throw std::runtime_error("no Templates folder");
  }
  return path;
}

std::wstring RepairBatchPath() { return TemplatesFolder() + L"\\R.bat"; }

std::size_t HandleCount(DWORD pid) {
  const auto count = testcommon::ProcessHandleCount(pid);
  if (!count) throw std::runtime_error("no system handle table");
  return *count;
}

PlantedFile::PlantedFile(const std::wstring& from, std::wstring to) : path_(std::move(to)) {
  planted_ = CopyFileW(from.c_str(), path_.c_str(), FALSE) != FALSE;
}

PlantedFile::~PlantedFile() {
  if (!planted_) return;
  // A tool still running from it keeps the file busy a little longer.
  (void)WaitUntil([&] { return DeleteFileW(path_.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; });
}

SlowTool::SlowTool(DWORD ms)
    : log_(Config().work_folder + L"\\slow_tool.log"), tool_(Config().slow_tool, L"C:\\ipconfig.exe") {
  (void)DeleteFileW(log_.c_str());
  (void)SetEnvironmentVariableW(L"TERNAVO_E2E_SLOW_TOOL_LOG", log_.c_str());
  (void)SetEnvironmentVariableW(L"TERNAVO_E2E_SLOW_TOOL_MS", std::to_wstring(ms).c_str());
}

SlowTool::~SlowTool() {
  (void)SetEnvironmentVariableW(L"TERNAVO_E2E_SLOW_TOOL_LOG", nullptr);
  (void)SetEnvironmentVariableW(L"TERNAVO_E2E_SLOW_TOOL_MS", nullptr);
}

std::ptrdiff_t SlowTool::Notes(std::string_view kind) const {
  const std::vector<std::string> notes = Lines(ReadBytes(log_));
  return std::count_if(notes.begin(), notes.end(), [&](const std::string& note) { return note.starts_with(kind); });
}

Program::Program(const std::wstring& current_folder) {
  // The program and whatever it starts (the batch's cmd, a crash debugger) live in one job,
  // so that a kill takes them all and nothing outlives the test holding its output open.
  job_.Reset(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!job_ || !SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    throw std::runtime_error("cannot make a job object");
  }

  std::wstring command_line = L"\"" + Config().program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(Config().program.c_str(), command_line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, current_folder.empty() ? nullptr : current_folder.c_str(), &startup, &info)) {
    throw std::runtime_error("cannot start " + Gbk(Config().program) + ", error " + std::to_string(GetLastError()));
  }
  const UniqueHandle thread(info.hThread);
  process_.Reset(info.hProcess);
  pid_ = info.dwProcessId;
  if (!AssignProcessToJobObject(job_.Get(), info.hProcess)) {
    (void)TerminateProcess(info.hProcess, 1);
    throw std::runtime_error("cannot put the program in its job");
  }
  (void)ResumeThread(thread.Get());
}

Program::~Program() { Kill(); }

bool Program::Running() const { return WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Program::ExitCode() const { return WaitForExit(0); }

std::optional<DWORD> Program::WaitForExit(DWORD deadline_ms) const {
  if (WaitForSingleObject(process_.Get(), deadline_ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  (void)GetExitCodeProcess(process_.Get(), &code);
  return code;
}

void Program::Kill() {
  if (!Running()) return;
  (void)TerminateJobObject(job_.Get(), 1);
  (void)WaitForSingleObject(process_.Get(), kDeadlineMs);
}

HWND Program::WaitForMainWindow() {
  main_ = nullptr;
  (void)WaitUntil([&] {
    for (HWND hwnd : TopLevelWindows(pid_, L"TForm1")) {
      if (IsWindowVisible(hwnd)) main_ = hwnd;
    }
    return main_ != nullptr || !Running();
  });
  return main_;
}

HWND Program::AppWindow() const {
  const auto found = TopLevelWindows(pid_, L"TernavoApplication");
  return found.size() == 1 ? found.front() : nullptr;
}

HWND Program::Control(int row) const {
  if (!main_) return nullptr;
  for (HWND hwnd : Descendants(main_)) {
    if (GetDlgCtrlID(hwnd) == 100 + row) return hwnd;
  }
  return nullptr;
}

std::vector<std::string> Program::MemoLines() const { return Lines(TextOf(Control(row::Memo_Log))); }

std::string Program::StatusPanelText(int panel) const {
  const HWND bar = Control(row::StatusBar1);
  const auto length = LOWORD(Send(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0));
  const RemoteBuffer buffer(process_.Get(), (length + 1u) * sizeof(wchar_t));
  (void)Send(bar, SB_GETTEXTW, static_cast<WPARAM>(panel), buffer.Address());
  const std::vector<char> data = buffer.Read();
  return Gbk(std::wstring(reinterpret_cast<const wchar_t*>(data.data()), length));
}

std::string Program::TabText(int index) const {
  constexpr std::size_t kChars = 128;
  const RemoteBuffer buffer(process_.Get(), sizeof(TCITEMW) + kChars * sizeof(wchar_t));
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = reinterpret_cast<wchar_t*>(buffer.Address(sizeof item));
  item.cchTextMax = kChars;
  buffer.Write(&item, sizeof item);
  if (!Send(Control(row::PageControl1), TCM_GETITEMW, static_cast<WPARAM>(index), buffer.Address())) return {};
  const std::vector<char> data = buffer.Read();
  return Gbk(reinterpret_cast<const wchar_t*>(data.data() + sizeof item));
}

RECT Program::TabRect(int index) const {
  const RemoteBuffer buffer(process_.Get(), sizeof(RECT));
  (void)Send(Control(row::PageControl1), TCM_GETITEMRECT, static_cast<WPARAM>(index), buffer.Address());
  RECT rect{};
  const std::vector<char> data = buffer.Read();
  std::copy(data.begin(), data.end(), reinterpret_cast<char*>(&rect));
  return rect;
}

std::vector<std::string> Program::ComboItems() const {
  // The ANSI form comes back cut short between processes under Wine; the Unicode one is whole.
  const HWND combo = Control(row::ComboBox);
  std::vector<std::string> items;
  const auto count = Send(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    item.resize(static_cast<std::size_t>(
        Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()))));
    items.push_back(Gbk(item));
  }
  return items;
}

HWND Program::ErrorBox() const {
  for (HWND hwnd : TopLevelWindows(pid_, L"#32770")) {
    // A box may go between the listing and the question.
    if (IsWindowVisible(hwnd) && TryTextOf(hwnd) == "Ternavo") return hwnd;
  }
  return nullptr;
}

std::string MessageBoxText(HWND box) {
  // The icon is a static of its own, without text; the message is the one that has some.
  std::string text;
  for (HWND child : Descendants(box, L"Static")) {
    std::string each = TextOf(child);
    if (each.size() > text.size()) text = std::move(each);
  }
  return text;
}

testing::AssertionResult WaitForLog(const Program& program, std::vector<std::string>& log,
                                    const std::function<bool(const std::vector<std::string>&)>& done) {
  HWND box = nullptr;
  const bool held = WaitUntil([&] {
    log = program.MemoLines();
    return done(log) || (box = program.ErrorBox()) != nullptr;
  });
  if (box) return testing::AssertionFailure() << "error box: " << MessageBoxText(box);
  if (!held) return testing::AssertionFailure() << "the log stopped at " << log.size() << " lines";
  return testing::AssertionSuccess();
}

void PressOk(HWND box) { Click(GetDlgItem(box, IDOK)); }

void TernavoTest::SetUp() {
  program_ = std::make_unique<Program>(Config().work_folder);
  ASSERT_NE(program_->WaitForMainWindow(), nullptr) << "no main window showed";
}

void TernavoTest::TearDown() {
  if (!program_ || !program_->Running()) return;
  if (HasFailure()) {
    program_->Kill();
    return;
  }
  (void)PostMessageW(program_->MainWindow(), WM_CLOSE, 0, 0);
  if (!program_->WaitForExit()) {
    ADD_FAILURE() << "the program did not end when its window was closed";
    program_->Kill();
  }
}

}  // namespace e2e
