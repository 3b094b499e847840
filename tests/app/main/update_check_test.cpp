// The main window's update check against the loopback HTTPS server: started with the window when
// switched on, the About dialog opened when a newer release exists, item 16 of the command menu,
// and the end of the application that the About dialog asks for.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "dialogs/about_dlg.h"
#include "main_settings.h"
#include "main_window_fixture.h"
#include "resources/about_dialog_ids.h"
#include "update_fixture.h"

namespace kx::app::testing {
namespace {

namespace about = res::about_dialog;
using update::testing::kVersionFilePath;

constexpr char kNewer[] = "[KX_M71_Vantrel]\nVersion=1.1\nBuild=2026-11-30\n";
constexpr char kSame[] = "[KX_M71_Vantrel]\nVersion=1.0\nBuild=2025-11-30\n";

class UpdateCheckWindow : public MainWindow, public update::testing::UpdateServerSetup {
 protected:
  void TearDown() override {
    MainWindow::TearDown();
    answerer_.stop();
  }

  void Publish(const char* versionFile) {
    server_->Serve(kVersionFilePath, {200, versionFile});
    checker_ = MakeChecker(server_->Address(kVersionFilePath));
  }
  std::unique_ptr<CKX_M71_VantrelDlg> Window() {
    return std::make_unique<CKX_M71_VantrelDlg>(services, store, QString(kProgramDirectory),
                                                &interfaces, &beeper, checker_.get());
  }
  // Every About dialog that shows is read once its status line has answered, then closed with OK.
  void AnswerAboutDialogs() {
    answerer_.setInterval(20);
    QObject::connect(&answerer_, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<dialogs::CAboutDlg*>(QApplication::activeModalWidget());
      if (dialog == nullptr || dialog->ItemText(about::kStatus) == "Nach Update suchen")
        return;
      statusLines_.append(dialog->ItemText(about::kStatus));
      QTest::mouseClick(dialog->Item(about::kOk), Qt::LeftButton);
    });
    answerer_.start();
  }
  // Lets the window run until the check has answered and its messages have been handled.
  void SettleCheck() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return checker_->Done(); }, 10000));
    QTest::qWait(50);
  }

  std::unique_ptr<update::UpdateChecker> checker_;
  QTimer answerer_;
  QStringList statusLines_;
};

TEST_F(UpdateCheckWindow, NewerReleaseFoundAtStartUpOpensTheAboutDialog) {
  Publish(kNewer);
  AnswerAboutDialogs();
  dialog = Window();
  const int code = RunModal(*dialog, [this] {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !statusLines_.isEmpty(); }, 10000));
    dialog->EndDialog(2);
  });
  EXPECT_EQ(code, 2);
  EXPECT_EQ(statusLines_, QStringList{"Neue Version:KX-M71 Vantrel V 1.1 (2026-11-30)"});
  EXPECT_EQ(Stored(section::kVersion, key::kUpdateCheck), "1") << "written back, then kept";
  EXPECT_EQ(server_->Requests(kVersionFilePath), 1);
}

TEST_F(UpdateCheckWindow, CurrentReleaseOpensNothingAndItem16ShowsTheResultWithoutAFetch) {
  Publish(kSame);
  AnswerAboutDialogs();
  dialog = Window();
  RunModal(*dialog, [this] {
    SettleCheck();
    EXPECT_TRUE(statusLines_.isEmpty());
    EXPECT_TRUE(ChooseMenuItem(*dialog, mw::kCmdAbout));
    dialog->EndDialog(2);
  });
  EXPECT_EQ(statusLines_.size(), 1);
  EXPECT_EQ(statusLines_.value(0), "KX-M71 Vantrel ist aktuell");
  EXPECT_EQ(server_->Requests(kVersionFilePath), 1);
}

TEST_F(UpdateCheckWindow, CheckSwitchedOffFetchesOnlyWhenTheAboutDialogAsks) {
  Publish(kNewer);
  store.SetInt(section::kVersion, key::kUpdateCheck, 0);
  AnswerAboutDialogs();
  dialog = Window();
  RunModal(*dialog, [this] {
    QTest::qWait(300);
    EXPECT_EQ(server_->Requests(kVersionFilePath), 0);
    EXPECT_FALSE(checker_->Done());
    ChooseMenuItem(*dialog, mw::kCmdAbout);
    dialog->EndDialog(2);
  });
  EXPECT_EQ(statusLines_, QStringList{"Neue Version:KX-M71 Vantrel V 1.1 (2026-11-30)"});
  EXPECT_EQ(server_->Requests(kVersionFilePath), 1);
  EXPECT_EQ(Stored(section::kVersion, key::kUpdateCheck), "0") << "the About dialog kept it";
}

TEST_F(UpdateCheckWindow, AboutItemWithoutACheckerSaysThereIsNoConnection) {
  AnswerAboutDialogs();
  dialog = Window();
  RunModal(*dialog, [this] {
    ChooseMenuItem(*dialog, mw::kCmdAbout);
    dialog->EndDialog(2);
  });
  EXPECT_EQ(statusLines_, QStringList{"Keine Internet Verbindung: Update Prüfung nicht möglich!"});
}

TEST_F(UpdateCheckWindow, EndOfTheApplicationClosesTheWindow) {
  dialog = Window();
  const int code = RunModal(*dialog, [this] {
    dialog->PostMessage(ui::msg::kCommand,
                        ui::CommandParam(ui::cmd::kAppExit, ui::Notification::kClicked));
  });
  EXPECT_EQ(code, 2);
}

}  // namespace
}  // namespace kx::app::testing
