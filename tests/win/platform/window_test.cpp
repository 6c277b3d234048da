#include "platform/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error_display.h"
#include "platform/errors.h"
#include "support.h"

namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kAnswer = WM_APP + 2;
constexpr LRESULT kAnswerValue = 42;

class ThrowingWindow : public wintest::TestWindow {
 public:
  ThrowingWindow() : TestWindow("TernavoTestThrowing") {}

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kThrow) throw platform::Exception("处理失败: " + std::to_string(wparam));
    if (message == kAnswer) return kAnswerValue;
    return DefaultProc(message, wparam, lparam);
  }
};

class ExceptionBoundary : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = platform::SetErrorSink([this](const std::string& m) { messages_.push_back(m); });
  }
  void TearDown() override { (void)platform::SetErrorSink(previous_); }

  std::vector<std::string> messages_;
  platform::ErrorSink previous_;
};

// Whether the message comes sent or through the queue, the exception stops at the window
// procedure, its message goes to the error sink and the window goes on answering.
TEST_F(ExceptionBoundary, HandlerErrorGoesToTheSinkAndTheWindowLivesOn) {
  ThrowingWindow window;
  const HWND hwnd = window.Handle();

  EXPECT_NO_THROW((void)SendMessageA(hwnd, kThrow, 1, 0));
  ASSERT_TRUE(PostMessageA(hwnd, kThrow, 2, 0));
  EXPECT_NO_THROW(wintest::PumpUntil([&] { return messages_.size() >= 2; }, 5000));

  EXPECT_EQ(messages_, (std::vector<std::string>{"处理失败: 1", "处理失败: 2"}));
  EXPECT_EQ(SendMessageA(hwnd, kAnswer, 0, 0), kAnswerValue);
  EXPECT_TRUE(IsWindow(hwnd));
}

}  // namespace
