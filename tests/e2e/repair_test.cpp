// "Repair now": the batch it writes, the log lines, the error box when the batch cannot be
// written, and the handles a repair leaves behind.
#include <cstdio>

#include "driver.h"

namespace e2e {
namespace {

using RepairTest = TernavoTest;

constexpr std::string_view kBatch =
    "cd\\\r\nipconfig/release\r\nipconfig/renew\r\nipconfig/flushdns\r\nipconfig /registerdns\r\n"
    "arp -d\r\nNbtstat -R\r\nNbtstat -RR\r\n";

// Clicks "repair now" and waits for its two log lines; the whole log then.
std::vector<std::string> RepairOnce(const Program& program) {
  const std::size_t lines = program.MemoLines().size() + 2;
  Click(program.Control(row::ButtonNetRepair));
  std::vector<std::string> log;
  EXPECT_TRUE(WaitForLog(program, log, [&](const std::vector<std::string>& now) { return now.size() >= lines; }));
  return log;
}

TEST_F(RepairTest, WritesTheBatchAndLogsTheWaitAndTheOutcome) {
  const std::wstring batch = RepairBatchPath();
  struct Case {
    const char* before;
    std::optional<std::string> content;
  };
  const Case cases[] = {{"no batch yet", std::nullopt}, {"a bigger batch there", std::string(200, 'x')}};

  std::size_t lines = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    if (c.content) {
      WriteBytes(batch, *c.content);
    } else {
      (void)DeleteFileW(batch.c_str());
    }
    const std::vector<std::string> log = RepairOnce(program());
    lines += 2;
    ASSERT_EQ(log.size(), lines);
    EXPECT_EQ(log[lines - 2], kWaitLine);
    EXPECT_TRUE(log[lines - 1].starts_with(kSuccessLine)) << log[lines - 1];
    EXPECT_EQ(ReadBytes(batch), kBatch);
  }
}

TEST_F(RepairTest, BatchHeldOpenGivesAnErrorBoxAndNoLogLine) {
  const std::wstring batch = RepairBatchPath();
  UniqueHandle held(CreateFileW(batch.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);

  Click(Control(row::ButtonNetRepair));
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = program().ErrorBox()) != nullptr; })) << "no error box";
  const std::string text = MessageBoxText(box);
  const std::string opening = "Cannot create file \"" + Gbk(batch) + "\". ";
  EXPECT_TRUE(text.starts_with(opening)) << text;
  EXPECT_GT(text.size(), opening.size() + 1) << "the system's reason is missing: " << text;
  EXPECT_TRUE(text.ends_with(".")) << text;
  EXPECT_EQ(GetWindow(box, GW_OWNER), program().MainWindow());
  EXPECT_TRUE(program().MemoLines().empty());

  PressOk(box);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "OK did not close the box";
  EXPECT_TRUE(program().Running());
  EXPECT_TRUE(program().MemoLines().empty());

  held.Reset();
  const std::vector<std::string> log = RepairOnce(program());
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], kWaitLine);
  EXPECT_TRUE(log[1].starts_with(kSuccessLine)) << log[1];
  EXPECT_EQ(ReadBytes(batch), kBatch);
}

TEST_F(RepairTest, RepairsLeaveNoHandlesBehind) {
  (void)RepairOnce(program());
  const std::size_t after_one = HandleCount(program().Pid());
  for (int i = 0; i < 15 && !HasFailure(); ++i) (void)RepairOnce(program());
  ASSERT_FALSE(HasFailure());
  const std::size_t after_sixteen = HandleCount(program().Pid());
  std::printf("handles after 1 repair: %zu, after 16: %zu\n", after_one, after_sixteen);
  RecordProperty("handles_after_1", static_cast<int>(after_one));
  RecordProperty("handles_after_16", static_cast<int>(after_sixteen));
  EXPECT_GT(after_one, 0u) << "the system handle table shows none of the program's handles";
  EXPECT_LE(after_sixteen, after_one + 3);
}

}  // namespace
}  // namespace e2e
