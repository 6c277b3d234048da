#include "repair/repair.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support.h"

namespace {

std::string Child(int code, int sleep_ms = 0) {
  std::string line = repair::QuotedForCommandLine(wintest::ChildPath()) + " " + std::to_string(code);
  if (sleep_ms > 0) line += " " + std::to_string(sleep_ms);
  return line;
}

TEST(RunCommandWait, ReturnsTheChildsExitCode) {
  for (const int code : {3, 0, 255}) {
    EXPECT_EQ(repair::RunCommandWait(Child(code), SW_HIDE), std::optional<DWORD>(code)) << code;
  }
}

TEST(RunCommandWait, NothingWhenNoProcessStarts) {
  wintest::ScratchFolder folder;
  EXPECT_EQ(repair::RunCommandWait(repair::QuotedForCommandLine(folder / "missing.exe"), SW_HIDE),
            std::nullopt);
}

// The process and thread handles of each child are closed: the count stays where it was
// after the first run, however many runs follow.
TEST(RunCommandWait, ClosesTheChildsHandles) {
  ASSERT_EQ(repair::RunCommandWait(Child(0), SW_HIDE), std::optional<DWORD>(0));
  const long after_one = wintest::OwnHandleCount();
  ASSERT_GT(after_one, 0) << "system handle table not readable";
  for (int i = 0; i < 20; ++i) ASSERT_EQ(repair::RunCommandWait(Child(0), SW_HIDE), std::optional<DWORD>(0));
  EXPECT_LE(wintest::OwnHandleCount(), after_one + 5);
}

std::vector<std::string> ReportLines(const std::string& path) {
  std::istringstream in(wintest::ReadFileBytes(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class ChildReport : public testing::Test {
 protected:
  void SetUp() override {
    report_ = folder_ / "report.txt";
    ASSERT_TRUE(SetEnvironmentVariableA("TERNAVO_CHILD_REPORT", report_.c_str()));
    // The program sits in a folder whose name has a blank; "a.exe" beside that folder is
    // what Windows would run for the unquoted line.
    target_ = folder_ / "a b\\child_exit.exe";
    decoy_ = folder_ / "a.exe";
    ASSERT_TRUE(CreateDirectoryA((folder_ / "a b").c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(wintest::ChildPath().c_str(), target_.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(wintest::ChildPath().c_str(), decoy_.c_str(), FALSE));
  }
  void TearDown() override { (void)SetEnvironmentVariableA("TERNAVO_CHILD_REPORT", nullptr); }

  wintest::ScratchFolder folder_;
  std::string report_, target_, decoy_;
};

TEST_F(ChildReport, QuotedPathWithBlankIsOneArgument) {
  ASSERT_EQ(repair::RunCommandWait(repair::QuotedForCommandLine(target_) + " 7", SW_HIDE),
            std::optional<DWORD>(7));
  const auto lines = ReportLines(report_);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_STRCASEEQ(lines[0].c_str(), target_.c_str()) << "the program that ran";
  EXPECT_EQ(lines[1], "2");
  EXPECT_EQ(lines[2], target_);
  EXPECT_EQ(lines[3], "7");
}

// The same line unquoted runs the decoy: the case above would notice a quote going missing.
TEST_F(ChildReport, UnquotedPathWithBlankRunsThePrefixProgram) {
  (void)repair::RunCommandWait(target_ + " 7", SW_HIDE);
  const auto lines = ReportLines(report_);
  ASSERT_FALSE(lines.empty());
  EXPECT_STRCASEEQ(lines[0].c_str(), decoy_.c_str());
}

}  // namespace
