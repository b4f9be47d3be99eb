// Simple timers: starting and stopping rules, ticks delivered through the shared handler window, and
// ticks of timers that no longer exist.
#include <gtest/gtest.h>

#include <memory>

#include "SimpleTimer.h"

namespace {

void Tick(UINT_PTR id) { SendMessageA(TSimpleTimer::HandlerWindow(), WM_TIMER, id, 0); }

TEST(SimpleTimer, DefaultsAndStartRules) {
  struct Case {
    unsigned interval;
    bool startResult;
  };
  const Case cases[] = {{0, false}, {1, true}, {1000, true}, {60000, true}};
  for (const Case& c : cases) {
    TSimpleTimer t;
    EXPECT_EQ(t.GetInterval(), 1000u);
    EXPECT_FALSE(t.GetEnabled());
    t.SetInterval(c.interval);
    EXPECT_EQ(t.Start(), c.startResult) << c.interval;
    EXPECT_EQ(t.GetEnabled(), c.startResult) << c.interval;
    // A running timer has a system timer to kill; a refused one has none.
    EXPECT_EQ(t.Stop(true), c.startResult) << c.interval;
    EXPECT_FALSE(t.GetEnabled());
  }
}

TEST(SimpleTimer, TickFiresOnTimerWithTheTimerAsSender) {
  TObject* sender = nullptr;
  int ticks = 0;
  TSimpleTimer t(500, [&](TObject* s) {
    sender = s;
    ++ticks;
  });
  t.SetEnabled(true);
  Tick(t.TimerId());
  Tick(t.TimerId());
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(sender, &t);
}

TEST(SimpleTimer, TicksOfFreedTimersAreIgnored) {
  int ticks = 0;
  TSimpleTimer keeper;  // keeps the handler window alive
  auto gone = std::make_unique<TSimpleTimer>(100, [&](TObject*) { ++ticks; });
  gone->Start();
  UINT_PTR staleId = gone->TimerId();
  gone.reset();
  TSimpleTimer next(100, [&](TObject*) { ++ticks; });  // never takes the freed timer's identifier
  EXPECT_NE(next.TimerId(), staleId);
  Tick(staleId);
  EXPECT_EQ(ticks, 0);
}

TEST(SimpleTimer, IntervalAndEventChangesWhileEnabled) {
  struct Case {
    const char* name;
    void (*change)(TSimpleTimer&);
    bool enabledAfter;
    bool systemTimerAfter;  // whether Stop finds a system timer to kill
  };
  const Case cases[] = {
      {"new interval restarts", [](TSimpleTimer& t) { t.SetInterval(250); }, true, true},
      {"same interval keeps", [](TSimpleTimer& t) { t.SetInterval(1000); }, true, true},
      {"interval 0 kills but stays enabled", [](TSimpleTimer& t) { t.SetInterval(0); }, true, false},
      {"empty event kills but stays enabled", [](TSimpleTimer& t) { t.SetOnTimer(nullptr); }, true, false},
      {"other event keeps", [](TSimpleTimer& t) { t.SetOnTimer([](TObject*) {}); }, true, true},
      {"disable", [](TSimpleTimer& t) { t.SetEnabled(false); }, false, false},
  };
  for (const Case& c : cases) {
    TSimpleTimer t(1000, [](TObject*) {});
    ASSERT_TRUE(t.Start());
    c.change(t);
    EXPECT_EQ(t.GetEnabled(), c.enabledAfter) << c.name;
    EXPECT_EQ(t.Stop(true), c.systemTimerAfter) << c.name;
  }
}

TEST(SimpleTimer, HandlerWindowLivesWithTheTimers) {
  ASSERT_EQ(TSimpleTimer::HandlerWindow(), nullptr);
  {
    TSimpleTimer a, b;
    HWND h = TSimpleTimer::HandlerWindow();
    EXPECT_TRUE(IsWindow(h));
    {
      TSimpleTimer c;
      EXPECT_EQ(TSimpleTimer::HandlerWindow(), h);
    }
    EXPECT_EQ(TSimpleTimer::HandlerWindow(), h);
  }
  EXPECT_EQ(TSimpleTimer::HandlerWindow(), nullptr);
}

}  // namespace
