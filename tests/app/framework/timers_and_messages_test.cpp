// Window timers by id and posted messages, from the dialog's thread and from others.
#include <QTest>
#include <algorithm>
#include <thread>

#include "framework/message_target.h"
#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

class TimersAndMessages : public GuiTest {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.Create()); }
  RecordingDialog dialog{services, form::kDialog};
};

TEST_F(TimersAndMessages, TimersTickWithTheirIdsUntilKilled) {
  EXPECT_EQ(dialog.SetTimer(1, 20), 1);
  EXPECT_EQ(dialog.SetTimer(2, 20), 2);
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.ticks.size() >= 6; }, 2000));
  EXPECT_GE(std::count(dialog.ticks.begin(), dialog.ticks.end(), 1), 2);
  EXPECT_GE(std::count(dialog.ticks.begin(), dialog.ticks.end(), 2), 2);

  EXPECT_TRUE(dialog.KillTimer(1));
  EXPECT_FALSE(dialog.KillTimer(1));
  EXPECT_FALSE(dialog.IsTimerRunning(1));
  dialog.ticks.clear();
  QTest::qWait(100);
  EXPECT_EQ(std::count(dialog.ticks.begin(), dialog.ticks.end(), 1), 0);
  EXPECT_GE(std::count(dialog.ticks.begin(), dialog.ticks.end(), 2), 2);
}

TEST_F(TimersAndMessages, SettingARunningTimerAgainChangesItsPeriod) {
  dialog.SetTimer(1, 10000);
  dialog.SetTimer(1, 20);
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.ticks.size() >= 3; }, 1000));
  dialog.KillTimer(1);
  EXPECT_FALSE(dialog.IsTimerRunning(1));
}

TEST_F(TimersAndMessages, ATimerHandlerMayKillItsOwnTimer) {
  dialog.onTimer = [&](int id) { dialog.KillTimer(id); };
  dialog.SetTimer(7, 10);
  QTest::qWait(150);
  EXPECT_EQ(dialog.ticks, std::vector<int>{7});
}

TEST_F(TimersAndMessages, TimersEndWithTheWindow) {
  dialog.SetTimer(1, 10);
  dialog.Destroy();
  EXPECT_FALSE(dialog.IsTimerRunning(1));
  QTest::qWait(60);
  EXPECT_TRUE(dialog.ticks.empty());
}

TEST_F(TimersAndMessages, PostedMessagesArriveLaterInOrderWithTheirArguments) {
  EXPECT_TRUE(dialog.PostMessage(msg::kUser + 10, 1034, 0));
  EXPECT_TRUE(dialog.PostMessage(msg::kUser + 11, -1, 42));
  EXPECT_TRUE(dialog.messages.empty()) << "posting does not wait for the handler";
  QCoreApplication::processEvents();
  const std::vector<std::tuple<int, intptr_t, intptr_t>> expected = {{msg::kUser + 10, 1034, 0},
                                                                     {msg::kUser + 11, -1, 42}};
  EXPECT_EQ(dialog.messages, expected);
}

TEST_F(TimersAndMessages, APostedCommandRunsItsHandler) {
  int runs = 0;
  dialog.BindClicked(1034, [&] { ++runs; });
  dialog.PostMessage(msg::kCommand, CommandParam(1034, Notification::kClicked));
  dialog.PostMessage(msg::kCommand, CommandParam(1034, Notification::kChange));
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(CommandId(CommandParam(1034, Notification::kKillFocus)), 1034);
  EXPECT_EQ(CommandNotification(CommandParam(1034, Notification::kKillFocus)),
            Notification::kKillFocus);
}

TEST_F(TimersAndMessages, OtherThreadsPostThroughTheTarget) {
  std::shared_ptr<MessageTarget> target = dialog.Target();
  std::thread worker([target] {
    for (int i = 0; i < 100; ++i)
      target->Post(msg::kUser, i, 0);
  });
  worker.join();
  QCoreApplication::processEvents();
  ASSERT_EQ(dialog.messages.size(), 100u);
  EXPECT_EQ(std::get<1>(dialog.messages.back()), 99);
}

TEST_F(TimersAndMessages, MessagesToAClosedWindowAreDropped) {
  std::shared_ptr<MessageTarget> target = dialog.Target();
  dialog.PostMessage(msg::kUser, 1, 0);  // still queued when the window goes
  dialog.Destroy();
  EXPECT_FALSE(target->Post(msg::kUser, 2, 0));
  EXPECT_FALSE(dialog.PostMessage(msg::kUser, 3, 0));
  QCoreApplication::processEvents();
  EXPECT_TRUE(dialog.messages.empty());

  // A new window has a new target; the old one stays dead.
  ASSERT_TRUE(dialog.Create());
  EXPECT_FALSE(target->Post(msg::kUser, 4, 0));
  EXPECT_TRUE(dialog.Target()->Post(msg::kUser, 5, 0));
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.messages.size(), 1u);
}

}  // namespace
}  // namespace kx::ui::testing
