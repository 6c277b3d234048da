// While the batch runs, the window stays alive, and a click made meanwhile waits its turn.
// The batch's "cd\" moves to the root of the program's current drive, where cmd finds a
// planted ipconfig.exe before the system's: a tool that takes a few seconds and notes its
// start and end.
#include <algorithm>

#include "driver.h"

namespace e2e {
namespace {

class SlowRepairTest : public TernavoTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tool_.Planted()) << "cannot plant the slow tool";
    TernavoTest::SetUp();
  }
  std::ptrdiff_t ToolNotes(std::string_view kind) const { return tool_.Notes(kind); }

  SlowTool tool_;
};

TEST_F(SlowRepairTest, WindowAnswersDuringTheRunAndASecondClickWaitsItsTurn) {
  const HWND main = program().MainWindow();
  const HWND repair = Control(row::ButtonNetRepair);

  Click(repair);
  ASSERT_TRUE(WaitUntil([&] { return ToolNotes("start") == 1; })) << "the batch did not run the planted tool";

  // Inside the wait: another program's message gets its answer.
  wchar_t caption[64] = {};
  DWORD_PTR copied = 0;
  EXPECT_NE(SendMessageTimeoutW(main, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(caption), SMTO_ABORTIFHUNG, 1000, &copied),
            0)
      << "the window did not answer during the run";
  EXPECT_EQ(Gbk(caption), "Ternavo1.0.20100528");
  EXPECT_EQ(program().MemoLines(), std::vector<std::string>{std::string(kWaitLine)});

  Click(repair);
  ASSERT_EQ(ToolNotes("end"), 0) << "the tool ended before the second click went in; too slow to tell";

  // The outcome is logged only after the run ended: read the tool's notes after the line.
  std::vector<std::string> log;
  ASSERT_TRUE(WaitForLog(program(), log, [](const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) { return line.starts_with(kSuccessLine); });
  }));
  EXPECT_GE(ToolNotes("end"), 1) << "the outcome was logged while the batch still ran";

  ASSERT_TRUE(WaitForLog(program(), log, [](const std::vector<std::string>& lines) { return lines.size() >= 4; }));
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0], kWaitLine);
  EXPECT_TRUE(log[1].starts_with(kSuccessLine)) << log[1];
  EXPECT_EQ(log[2], kWaitLine);
  EXPECT_TRUE(log[3].starts_with(kSuccessLine)) << log[3];
  EXPECT_EQ(ToolNotes("start"), 2);
  EXPECT_EQ(ToolNotes("end"), 2);
}

}  // namespace
}  // namespace e2e
