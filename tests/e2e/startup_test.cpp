// Starting and ending: one instance per session, and a clean end when the window closes.
#include "driver.h"

namespace e2e {
namespace {

using StartupTest = TernavoTest;

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(StartupTest, SecondInstanceLeavesQuietlyAndLeavesTheFirstAlone) {
  const HWND main = program().MainWindow();
  RECT before{};
  ASSERT_TRUE(GetWindowRect(main, &before));

  Program second(Config().work_folder);
  bool showed_window = false;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND hwnd : TopLevelWindows(second.Pid())) showed_window = showed_window || IsWindowVisible(hwnd);
    return !second.Running();
  })) << "the second instance did not end by itself";
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_FALSE(showed_window);

  EXPECT_TRUE(program().Running());
  EXPECT_TRUE(IsWindowVisible(main));
  RECT after{};
  ASSERT_TRUE(GetWindowRect(main, &after));
  EXPECT_TRUE(SameRect(before, after));
  EXPECT_EQ(TernavoMainWindows(), std::vector<HWND>{main});
}

TEST_F(StartupTest, ClosingTheWindowEndsWithZeroAndAllowsANewStart) {
  ASSERT_TRUE(PostMessageW(program().MainWindow(), WM_CLOSE, 0, 0));
  const auto exit_code = program().WaitForExit();
  ASSERT_TRUE(exit_code) << "the program did not end";
  EXPECT_EQ(*exit_code, 0u);

  // The instance lock went with the process.
  program_ = std::make_unique<Program>(Config().work_folder);
  EXPECT_NE(program().WaitForMainWindow(), nullptr);
}

}  // namespace
}  // namespace e2e
