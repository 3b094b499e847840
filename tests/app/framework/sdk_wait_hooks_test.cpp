// The SDK's wait for a reader answer with the window layer's hooks: events keep running, and the
// window is locked for the wait unless the connection keeps it enabled.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "framework/sdk_wait_hooks.h"
#include "kxemu/pty_server.h"
#include "kxemu/reader_model.h"
#include "kxlf.h"
#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

class SdkWaitHooks : public GuiTest {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(server.Start({}, &error)) << error;
    ASSERT_TRUE(dialog.Create());
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.FocusItem(form::kName);
    RegisterSdkWaitHooks();
    handle = KxLfOpen(server.DevicePath().c_str(), 19200, 0, 1000);
    ASSERT_GT(handle, 0);
    kxemu::Faults slow;
    slow.answerDelay = std::chrono::milliseconds(300);
    model.SetFaults(slow);
  }
  void TearDown() override {
    if (handle > 0)
      KxLfClose(handle);
    UnregisterSdkWaitHooks();
  }

  // Runs a reader command and looks at the window while the SDK waits for the answer.
  void CommandWhileWatching() {
    QTimer::singleShot(100, &dialog, [this] {
      tickedDuringWait = true;
      enabledDuringWait = dialog.isEnabled();
    });
    unsigned char version[4];
    char model[30];
    EXPECT_EQ(KxLfGetVersion(handle, version, sizeof version, model, sizeof model), 4);
  }

  kxemu::ReaderModel model;
  kxemu::PtyServer server{model};
  RecordingDialog dialog{services, form::kDialog};
  int handle = 0;
  bool tickedDuringWait = false;
  bool enabledDuringWait = true;
};

TEST_F(SdkWaitHooks, TheWindowIsLockedDuringTheWaitAndGetsItsFocusBack) {
  CommandWhileWatching();
  EXPECT_TRUE(tickedDuringWait) << "the GUI's events ran while the SDK waited";
  EXPECT_FALSE(enabledDuringWait);
  EXPECT_TRUE(dialog.isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), dialog.Item(form::kName));
}

TEST_F(SdkWaitHooks, AConnectionThatKeepsItsWindowEnabledOnlyPumps) {
  ASSERT_EQ(KxLfSetKeepWindowEnabled(handle, 1), 1);
  CommandWhileWatching();
  EXPECT_TRUE(tickedDuringWait);
  EXPECT_TRUE(enabledDuringWait);
}

}  // namespace
}  // namespace kx::ui::testing
