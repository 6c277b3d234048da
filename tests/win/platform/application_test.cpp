#include "platform/application.h"

#include <gtest/gtest.h>

#include <functional>

#include "support.h"

namespace {

constexpr UINT kFirst = WM_APP + 1;
constexpr UINT kSecond = WM_APP + 2;

// Counts what reaches it; the first message runs the test's reaction.
class RecordingWindow : public wintest::TestWindow {
 public:
  RecordingWindow() : TestWindow("TernavoTestRecording") {}

  std::function<void()> on_first;
  int first = 0;
  int second = 0;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kFirst) {
      ++first;
      if (on_first) on_first();
      return 0;
    }
    if (message == kSecond) {
      ++second;
      return 0;
    }
    return DefaultProc(message, wparam, lparam);
  }
};

TEST(Application, OnePassHandlesWhatIsPostedDuringIt) {
  platform::TApplication app;
  RecordingWindow window;
  window.on_first = [&] { (void)PostMessageA(window.Handle(), kSecond, 0, 0); };
  ASSERT_TRUE(PostMessageA(window.Handle(), kFirst, 0, 0));

  app.ProcessMessages();
  EXPECT_EQ(window.first, 1);
  EXPECT_EQ(window.second, 1);
  EXPECT_FALSE(app.Terminated());
}

TEST(Application, PassMeetingQuitSetsTerminated) {
  platform::TApplication app;
  RecordingWindow window;
  window.on_first = [&] {
    app.Terminate();
    (void)PostMessageA(window.Handle(), kSecond, 0, 0);
  };
  ASSERT_TRUE(PostMessageA(window.Handle(), kFirst, 0, 0));

  app.ProcessMessages();
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(window.first, 1);
  EXPECT_EQ(window.second, 1);
}

// Terminate from a handler ends the loop once the handler has returned.
TEST(Application, RunEndsAfterTheHandlerThatTerminates) {
  platform::TApplication app;
  RecordingWindow window;
  window.on_first = [&] { app.Terminate(); };
  ASSERT_TRUE(PostMessageA(window.Handle(), kFirst, 0, 0));

  app.Run();
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(window.first, 1);
}

}  // namespace
