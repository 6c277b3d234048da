#include "platform/timer.h"

#include <gtest/gtest.h>

#include <functional>

#include "support.h"

namespace {

using platform::TTimer;

// Long enough for a stuck timer to have ticked many times over.
constexpr DWORD kQuietMs = 600;
constexpr DWORD kDeadlineMs = 10000;

struct Counted {
  int ticks = 0;
  void Attach(TTimer& timer) {
    timer.SetOnTimer([this](platform::TObject*) { ++ticks; });
  }
};

// A timer missing one of its conditions stays silent; supplying it makes it tick.
struct SilentCase {
  const char* name;
  std::function<void(TTimer&, Counted&)> silence;  // leaves one condition unmet
  std::function<void(TTimer&, Counted&)> wake;     // meets it
  friend void PrintTo(const SilentCase& c, std::ostream* os) { *os << c.name; }
};

class TimerSilentWhile : public testing::TestWithParam<SilentCase> {};

TEST_P(TimerSilentWhile, ConditionUnmetThenTicksOnceMet) {
  TTimer timer;
  Counted counted;
  GetParam().silence(timer, counted);
  wintest::PumpFor(kQuietMs);
  EXPECT_EQ(counted.ticks, 0);

  GetParam().wake(timer, counted);
  EXPECT_TRUE(wintest::PumpUntil([&] { return counted.ticks > 0; }, kDeadlineMs));
}

INSTANTIATE_TEST_SUITE_P(
    Timer, TimerSilentWhile,
    testing::Values(
        SilentCase{"Disabled",
                   [](TTimer& t, Counted& c) {
                     t.SetEnabled(false);
                     t.SetInterval(20);
                     c.Attach(t);
                   },
                   [](TTimer& t, Counted&) { t.SetEnabled(true); }},
        SilentCase{"IntervalZero",
                   [](TTimer& t, Counted& c) {
                     t.SetInterval(0);
                     c.Attach(t);
                   },
                   [](TTimer& t, Counted&) { t.SetInterval(20); }},
        SilentCase{"NoHandler", [](TTimer& t, Counted&) { t.SetInterval(20); },
                   [](TTimer& t, Counted& c) { c.Attach(t); }},
        SilentCase{"DisabledAfterRunning",
                   [](TTimer& t, Counted& c) {
                     t.SetInterval(20);
                     c.Attach(t);
                     t.SetEnabled(false);
                   },
                   [](TTimer& t, Counted&) { t.SetEnabled(true); }}),
    [](const testing::TestParamInfo<SilentCase>& info) { return std::string(info.param.name); });

// Re-setting, every few tens of milliseconds, what the timer already holds must not restart
// its period: the tick still comes.
TEST(Timer, ResettingHeldValuesLeavesThePeriodRunning) {
  TTimer timer;
  Counted counted;
  timer.SetInterval(300);
  counted.Attach(timer);

  ULONGLONG last = GetTickCount64();
  EXPECT_TRUE(wintest::PumpUntil([&] { return counted.ticks > 0; }, kDeadlineMs, [&] {
    if (GetTickCount64() - last < 50) return;
    last = GetTickCount64();
    timer.SetEnabled(true);
    timer.SetInterval(300);
  }));
}

// Changing a value restarts the period: flipping between two values faster than the period
// keeps the tick away; once the flipping stops, it comes.
struct FlipCase {
  const char* name;
  std::function<void(TTimer&, bool)> flip;
  friend void PrintTo(const FlipCase& c, std::ostream* os) { *os << c.name; }
};

class TimerChangedValue : public testing::TestWithParam<FlipCase> {};

TEST_P(TimerChangedValue, RestartsThePeriod) {
  constexpr UINT kPeriod = 600;
  TTimer timer;
  Counted counted;
  timer.SetInterval(kPeriod);
  counted.Attach(timer);

  bool phase = false;
  ULONGLONG last = GetTickCount64();
  wintest::PumpFor(4 * kPeriod, [&] {
    if (GetTickCount64() - last < 40) return;
    last = GetTickCount64();
    phase = !phase;
    GetParam().flip(timer, phase);
  });
  GetParam().flip(timer, false);  // back to the running state
  EXPECT_EQ(counted.ticks, 0);

  EXPECT_TRUE(wintest::PumpUntil([&] { return counted.ticks > 0; }, kDeadlineMs));
}

INSTANTIATE_TEST_SUITE_P(
    Timer, TimerChangedValue,
    testing::Values(FlipCase{"Interval",
                             [](TTimer& t, bool phase) { t.SetInterval(phase ? 601 : 600); }},
                    FlipCase{"Enabled", [](TTimer& t, bool phase) { t.SetEnabled(!phase); }}),
    [](const testing::TestParamInfo<FlipCase>& info) { return std::string(info.param.name); });

}  // namespace
