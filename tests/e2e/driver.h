// The black-box driver: starts the real Ternavo.exe and works it only through window messages
// and the file system, as another program on the same desktop would.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// Waits are loops with a generous deadline: the machine is shared and at times slow.
inline constexpr DWORD kDeadlineMs = 20000;

// Rows of the main window's layout table; a control's id is 100 + its row (pages have none).
namespace row {
inline constexpr int Label5 = 0;
inline constexpr int PageControl1 = 1;
inline constexpr int TabSheet1 = 2;
inline constexpr int GroupBox1 = 3;
inline constexpr int Label6 = 4;
inline constexpr int ComboBox = 5;
inline constexpr int Button_Start = 6;
inline constexpr int ButtonNetRepair = 7;
inline constexpr int Memo_Log = 8;
inline constexpr int Button_Stop = 9;
inline constexpr int TabSheet2 = 10;
inline constexpr int GroupBox2 = 11;
inline constexpr int Label1 = 12;
inline constexpr int Label2 = 13;
inline constexpr int Label3 = 14;
inline constexpr int Label4 = 15;
inline constexpr int Label7 = 16;
inline constexpr int EditVer = 17;
inline constexpr int StatusBar1 = 18;
inline constexpr int Button1 = 19;
inline constexpr int Button2 = 20;
}  // namespace row

// The log lines of a repair, in the program's code page.
inline constexpr std::string_view kWaitLine = "请稍候正在修复网络连接.";
inline constexpr std::string_view kSuccessLine = "网络连接修复成功.";

struct Setup {
  std::wstring program;      // Ternavo.exe
  std::wstring slow_tool;    // stand-in for a network tool that takes a few seconds
  std::wstring work_folder;  // the program's current folder, on drive C:
};
// From the command line: the paths of Ternavo.exe and of the slow tool (Unix paths allowed).
void Configure(const char* program, const char* slow_tool);
const Setup& Config();

std::string Gbk(std::wstring_view text);
std::wstring Wide(std::string_view gbk);
std::vector<std::string> Lines(std::string_view text);  // split at CRLF, no empty last line

// Polls until done() holds; false when the deadline passed first.
bool WaitUntil(const std::function<bool()>& done, DWORD deadline_ms = kDeadlineMs);

// ---- Windows of other processes ----
std::wstring ClassOf(HWND hwnd);
DWORD ProcessOf(HWND hwnd);
// The window's text as Unicode, converted to GBK; throws when the window does not answer.
std::string TextOf(HWND hwnd);
std::vector<HWND> TopLevelWindows(DWORD pid, std::wstring_view class_name = {});
std::vector<HWND> Descendants(HWND parent, std::wstring_view class_name = {});
// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd);
// A click as the button's own click message, posted: the handler may run for a long time.
void Click(HWND button);
// Visible top-level TForm1 windows of every running Ternavo.exe.
std::vector<HWND> TernavoMainWindows();

// ---- Files and the system ----
std::string ReadBytes(const std::wstring& path);  // empty when missing
void WriteBytes(const std::wstring& path, std::string_view bytes);
std::wstring TemplatesFolder();
std::wstring RepairBatchPath();
// Handles the process holds, from the system handle table (the process API says 0 under Wine).
std::size_t HandleCount(DWORD pid);

class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = nullptr) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }
  HANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(HANDLE handle = nullptr) {
    if (handle_) (void)CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_;
};

// A file put somewhere for the length of a test and taken away after it, even when a process
// still has it open for a while.
class PlantedFile {
 public:
  PlantedFile(const std::wstring& from, std::wstring to);
  PlantedFile(const PlantedFile&) = delete;
  PlantedFile& operator=(const PlantedFile&) = delete;
  ~PlantedFile();
  bool Planted() const { return planted_; }

 private:
  std::wstring path_;
  bool planted_ = false;
};

// The stand-in network tool planted as C:\ipconfig.exe, where the batch's "cd\" makes cmd find
// it before the system's. Told through the environment, which the program and cmd hand down,
// it takes `ms` and notes each start and end in its log. Make one before the program starts.
class SlowTool {
 public:
  explicit SlowTool(DWORD ms = 3000);
  SlowTool(const SlowTool&) = delete;
  SlowTool& operator=(const SlowTool&) = delete;
  ~SlowTool();
  bool Planted() const { return tool_.Planted(); }
  // How many runs of the tool have noted `kind` ("start" or "end") so far.
  std::ptrdiff_t Notes(std::string_view kind) const;

 private:
  const std::wstring log_;
  PlantedFile tool_;
};

// One running Ternavo.exe.
class Program {
 public:
  explicit Program(const std::wstring& current_folder);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program();  // the program and what it started are terminated when still running

  DWORD Pid() const { return pid_; }
  bool Running() const;
  std::optional<DWORD> ExitCode() const;  // once ended
  std::optional<DWORD> WaitForExit(DWORD deadline_ms = kDeadlineMs) const;
  void Kill();

  // The visible main window (class TForm1); nullptr when none showed before the deadline.
  HWND WaitForMainWindow();
  HWND MainWindow() const { return main_; }
  HWND AppWindow() const;  // class TernavoApplication
  // A control of the main window by its layout row; nullptr when there is none.
  HWND Control(int row) const;

  std::vector<std::string> MemoLines() const;
  std::string StatusPanelText(int panel) const;
  std::string TabText(int index) const;
  RECT TabRect(int index) const;
  std::vector<std::string> ComboItems() const;

  // The program's visible error box ("#32770" captioned "Ternavo"), or nullptr.
  HWND ErrorBox() const;

 private:
  UniqueHandle job_;
  UniqueHandle process_;
  DWORD pid_ = 0;
  HWND main_ = nullptr;
};

// Waits until done() holds for the memo's lines, left in log; an error box or the deadline
// coming first is a failure.
testing::AssertionResult WaitForLog(const Program& program, std::vector<std::string>& log,
                                    const std::function<bool(const std::vector<std::string>&)>& done);

// The message of a message box, and its OK button pressed.
std::string MessageBoxText(HWND box);
void PressOk(HWND box);

// Every test starts its own instance in the work folder and ends it; a test that failed
// midway has it killed, so that no instance leaks into the next test.
class TernavoTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  Program& program() { return *program_; }
  HWND Control(int row) const { return program_->Control(row); }

  std::unique_ptr<Program> program_;
};

}  // namespace e2e
