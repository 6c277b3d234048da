#include "platform/blocking_wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/window.h"
#include "repair/repair.h"
#include "support.h"

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr WPARAM kCommandId = 4321;

class WaitingWindow : public wintest::TestWindow {
 public:
  WaitingWindow() : TestWindow("TernavoTestWaiting", "waiting") {}

  int pings_in_wait = 0;
  int commands = 0;
  int commands_in_wait = 0;
  WPARAM command_id = 0;
  int texts_in_wait = 0;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    const bool in_wait = platform::InBlockingWait();
    switch (message) {
      case kPing:
        pings_in_wait += in_wait;
        return 1;
      case WM_COMMAND:
        ++commands;
        commands_in_wait += in_wait;
        command_id = wparam;
        return 0;
      case WM_GETTEXT:
        texts_in_wait += in_wait;
        break;
    }
    return DefaultProc(message, wparam, lparam);
  }
};

// What another thread sends during the wait: a handler's message is put off until the
// queue is read again; a question about the window is answered at once.
TEST(BlockingWait, DefersHandlerMessagesAndAnswersOthersMeanwhile) {
  WaitingWindow window;
  const HWND hwnd = window.Handle();

  struct Results {
    LRESULT ping = 0, command = 0, text = 0;
    wchar_t buffer[64] = {};
  } results;
  std::atomic<bool> sender_done{false};
  std::thread sender([&] {
    DWORD_PTR answer = 0;
    // Answered only once the test thread reads sent messages, that is inside the wait.
    results.ping = SendMessageTimeoutW(hwnd, kPing, 0, 0, SMTO_NORMAL, 20000, &answer);
    results.command = SendMessageTimeoutW(hwnd, WM_COMMAND, kCommandId, 0, SMTO_NORMAL, 20000, &answer);
    results.text = SendMessageTimeoutW(hwnd, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(results.buffer),
                                       SMTO_NORMAL, 1000, &answer);
    sender_done = true;
  });

  const std::string child =
      repair::QuotedForCommandLine(wintest::ChildPath()) + " 0 2000";
  EXPECT_EQ(repair::RunCommandWait(child, SW_HIDE), std::optional<DWORD>(0));
  EXPECT_EQ(window.commands, 0) << "the command ran during the wait";

  // The sender's calls are answered by this thread; keep reading until it is through.
  EXPECT_TRUE(wintest::PumpUntil([&] { return sender_done.load(); }, 30000));
  sender.join();
  EXPECT_NE(results.ping, 0);
  EXPECT_EQ(window.pings_in_wait, 1);
  EXPECT_NE(results.command, 0);
  EXPECT_NE(results.text, 0) << "WM_GETTEXT not answered within 1 s during the wait";
  EXPECT_STREQ(results.buffer, L"waiting");
  EXPECT_EQ(window.texts_in_wait, 1);

  EXPECT_TRUE(wintest::PumpUntil([&] { return window.commands > 0; }, 5000));
  wintest::PumpFor(100);
  EXPECT_EQ(window.commands, 1);
  EXPECT_EQ(window.commands_in_wait, 0);
  EXPECT_EQ(window.command_id, kCommandId);
}

}  // namespace
