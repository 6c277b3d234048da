#include "platform/files.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "support.h"

namespace {

using platform::TStringList;

TStringList ListOf(const std::vector<std::string>& lines) {
  TStringList list;
  for (const auto& line : lines) list.Add(line);
  return list;
}

struct SavedCase {
  const char* name;
  std::vector<std::string> lines;
  std::string bytes;
  friend void PrintTo(const SavedCase& c, std::ostream* os) { *os << c.name; }
};

class SaveToFileWrites : public testing::TestWithParam<SavedCase> {};

// Whatever was there before, longer or not, the file ends up holding exactly the lines.
TEST_P(SaveToFileWrites, EachLineWithCrLfReplacingAnyLongerFile) {
  wintest::ScratchFolder folder;
  const std::string path = folder / "R.bat";
  for (const bool existed : {false, true}) {
    if (existed) wintest::WriteFileBytes(path, std::string(4096, 'x') + "\r\n");
    ListOf(GetParam().lines).SaveToFile(path);
    EXPECT_EQ(wintest::ReadFileBytes(path), GetParam().bytes) << "file existed: " << existed;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveToFileWrites,
    testing::Values(
        SavedCase{"Lines",
                  {"@echo off", "ipconfig /release", "", "arp -d *", "网络修复"},
                  "@echo off\r\nipconfig /release\r\n\r\narp -d *\r\n网络修复\r\n"},
        SavedCase{"Empty", {}, ""},
        // No line ending of its own is added or dropped inside a line.
        SavedCase{"TrailingBlank", {"echo a ", "x\ty"}, "echo a \r\nx\ty\r\n"}),
    [](const testing::TestParamInfo<SavedCase>& info) { return std::string(info.param.name); });

// The ways creating the file fails. Each names the system error expected from Windows.
struct RefusedCase {
  const char* name;
  DWORD error;
  // Prepares the refusal and returns the path to save to; a handle it leaves in `hold` stays
  // open during the save.
  std::function<std::string(const wintest::ScratchFolder&, HANDLE& hold)> prepare;
  friend void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }
};

constexpr char kOldContent[] = "old content\r\n";

class SaveToFileRefused : public testing::TestWithParam<RefusedCase> {};

TEST_P(SaveToFileRefused, RaisesCreateErrorNamingPathAndReasonAndLeavesFile) {
  wintest::ScratchFolder folder;
  HANDLE hold = INVALID_HANDLE_VALUE;
  const std::string path = GetParam().prepare(folder, hold);
  if (GetParam().error == ERROR_ACCESS_DENIED) {
    // Wine running as root writes read-only files anyway; tests/win/run-as-user.sh runs this
    // case as an ordinary user.
    const HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
      (void)CloseHandle(probe);
      GTEST_SKIP() << "read-only files are writable here (Wine as root); run through run-as-user.sh";
    }
  }

  std::string message;
  try {
    ListOf({"@echo off", "ipconfig /renew"}).SaveToFile(path);
    ADD_FAILURE() << "no error";
  } catch (const platform::EFCreateError& e) {
    message = e.what();
  }
  if (hold != INVALID_HANDLE_VALUE) (void)CloseHandle(hold);

  // `Cannot create file "<path>". <reason>`: the reason is the system's text for the error,
  // without what ends it as a sentence (blanks, line breaks, full stops of either width).
  const std::string head = "Cannot create file \"" + path + "\". ";
  ASSERT_EQ(message.substr(0, head.size()), head) << message;
  const std::string reason = message.substr(head.size());
  const std::string system = wintest::SystemText(GetParam().error);
  ASSERT_FALSE(reason.empty()) << message;
  EXPECT_EQ(system.substr(0, reason.size()), reason) << "system text: " << system;
  const std::string rest = system.substr(reason.size());
  EXPECT_EQ(rest.find_first_not_of(" .\r\n\t\xA1\xA3"), std::string::npos)
      << "only blanks and full stops may be cut: [" << rest << "]";
  const unsigned char last = static_cast<unsigned char>(reason.back());
  EXPECT_TRUE(last > ' ' && last != '.') << message;
  EXPECT_NE(reason.substr(reason.size() - std::min<size_t>(2, reason.size())), "\xA1\xA3")
      << message;

  if (GetParam().error != ERROR_PATH_NOT_FOUND) {
    EXPECT_EQ(wintest::ReadFileBytes(path), kOldContent);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveToFileRefused,
    testing::Values(
        RefusedCase{"HeldOpenUnshared", ERROR_SHARING_VIOLATION,
                    [](const wintest::ScratchFolder& folder, HANDLE& hold) {
                      const std::string path = folder / "R.bat";
                      wintest::WriteFileBytes(path, kOldContent);
                      hold = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                         nullptr);
                      EXPECT_NE(hold, INVALID_HANDLE_VALUE);
                      return path;
                    }},
        RefusedCase{"FolderMissing", ERROR_PATH_NOT_FOUND,
                    [](const wintest::ScratchFolder& folder, HANDLE&) {
                      return folder / "no such folder\\R.bat";
                    }},
        RefusedCase{"ReadOnly", ERROR_ACCESS_DENIED,
                    [](const wintest::ScratchFolder& folder, HANDLE&) {
                      const std::string path = folder / "R.bat";
                      wintest::WriteFileBytes(path, kOldContent);
                      EXPECT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
                      return path;
                    }}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

TEST(Files, FileExistsOnlyForFiles) {
  wintest::ScratchFolder folder;
  wintest::WriteFileBytes(folder / "R.bat", "x");
  EXPECT_TRUE(platform::FileExists(folder / "R.bat"));
  EXPECT_FALSE(platform::FileExists(folder / "missing.bat"));
  EXPECT_FALSE(platform::FileExists(folder.Path()));
}

}  // namespace
