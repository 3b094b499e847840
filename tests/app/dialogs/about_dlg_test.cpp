// The About dialog offscreen against the loopback HTTPS server: the four states of its status
// line with their colours and clickability, the links, the switch of the check at start-up, and
// the update run from the click to the desktop's opener with a verified installer.
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "dialogs/about_dlg.h"
#include "framework/resources.h"
#include "framework/services.h"
#include "framework/testing/scripted_prompts.h"
#include "main/main_settings.h"
#include "memory_settings_store.h"
#include "resources/about_dialog_ids.h"
#include "resources/builtin.h"
#include "update_fixture.h"

namespace kx::dialogs {
namespace {

namespace id = res::about_dialog;
using update::testing::kVersionFilePath;

constexpr char kInstallerPath[] = "/rfid/software/kx-vantrel_1.1_amd64.deb";
constexpr char kNewVersionLine[] = "Neue Version:KX-M71 Vantrel V 1.1 (2026-11-30)";
const QColor kRed(255, 0, 0);
const QColor kDarkRed(192, 0, 0);
const QColor kGrey(128, 128, 128);

// Receives what the About dialog sends its owner.
class OwnerWindow : public ui::Dialog {
 public:
  using Dialog::Dialog;
  std::vector<int> commands;

 protected:
  bool OnMessage(int message, intptr_t first, intptr_t) override {
    if (message == ui::msg::kCommand)
      commands.push_back(ui::CommandId(first));
    return true;
  }
};

class AboutDialog : public update::testing::UpdateTest {
 protected:
  std::unique_ptr<update::UpdateChecker> Checker(const std::string& versionFile) {
    server_->Serve(kVersionFilePath, {200, versionFile});
    return MakeChecker(server_->Address(kVersionFilePath));
  }
  std::unique_ptr<CAboutDlg> Open(update::UpdateChecker* checker, QWidget* parent = nullptr) {
    auto about = std::make_unique<CAboutDlg>(services, store, checker, parent);
    EXPECT_TRUE(about->Create());
    return about;
  }
  QLabel* Label(const CAboutDlg& about, int labelId) const { return about.ItemAs<QLabel>(labelId); }
  // Waits until the status line has left its first text.
  static bool Answered(const CAboutDlg& about) {
    return QTest::qWaitFor(
        [&] { return about.ItemText(id::kStatus) != QStringLiteral("Nach Update suchen"); }, 10000);
  }
  static QColor Colour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }
  static bool Clickable(const CAboutDlg& about, int labelId) {
    return (about.ItemStyle(labelId) & ui::res::style::kNotify) != 0;
  }

  ui::testing::ScriptedPrompts prompts;
  ui::Resources resources{res::BuiltInResources()};
  ui::Services services{resources, prompts};
  app::MemorySettingsStore store;
};

TEST_F(AboutDialog, StatusLineShowsEachStateInItsColour) {
  struct Case {
    std::string versionFile;
    QString text;
    QColor colour;
    bool clickable;
  };
  const Case cases[] = {
      {"[KX_M71_Vantrel]\nVersion=1.1\nBuild=2026-11-30\n", kNewVersionLine, kDarkRed, true},
      {"[KX_M71_Vantrel]\nVersion=1.0\nBuild=2025-12-01\n", "KX-M71 Vantrel ist aktuell", kGrey,
       false},
      {"[KX_M71_Vantrel]\nVersion=1.1\n", "Keine Datei gefunden: Update Prüfung nicht möglich!",
       kRed, false},
      {"no ini at all", "Keine Datei gefunden: Update Prüfung nicht möglich!", kRed, false},
  };
  for (const Case& c : cases) {
    const auto checker = Checker(c.versionFile);
    const auto about = Open(checker.get());
    const QLabel* status = Label(*about, id::kStatus);
    EXPECT_EQ(Colour(status), kGrey);
    EXPECT_TRUE(status->font().italic());
    ASSERT_TRUE(Answered(*about)) << c.versionFile;
    EXPECT_EQ(status->text(), c.text);
    EXPECT_EQ(Colour(status), c.colour) << c.versionFile;
    EXPECT_EQ(Clickable(*about, id::kStatus), c.clickable) << c.versionFile;
    EXPECT_EQ(about->status().shownCursor(),
              c.clickable ? std::optional(Qt::PointingHandCursor) : std::nullopt);
    about->Destroy();
  }
}

TEST_F(AboutDialog, NoServerSaysThereIsNoConnection) {
  const auto checker = MakeChecker("https://127.0.0.1:1" + std::string(kVersionFilePath));
  const auto about = Open(checker.get());
  ASSERT_TRUE(Answered(*about));
  EXPECT_EQ(about->ItemText(id::kStatus),
            "Keine Internet Verbindung: Update Prüfung nicht möglich!");
  EXPECT_EQ(Colour(Label(*about, id::kStatus)), kRed);
  EXPECT_FALSE(Clickable(*about, id::kStatus));
  // Clicking the line in this state does nothing.
  QTest::mouseClick(Label(*about, id::kStatus), Qt::LeftButton);
  EXPECT_TRUE(prompts.opened().isEmpty());
  EXPECT_TRUE(about->HasWindow());
}

TEST_F(AboutDialog, ProductLineAndLinks) {
  const auto checker = Checker("[KX_M71_Vantrel]\nVersion=1.0\nBuild=2025-12-01\n");
  const auto about = Open(checker.get());
  EXPECT_EQ(about->ItemText(id::kProductLine), "KX-M71 Vantrel V 1.0  (2026-01-01)");
  for (const int link : {id::kWebLink, id::kMailLink}) {
    const QLabel* label = Label(*about, link);
    EXPECT_EQ(Colour(label), QColor(0, 0, 255));
    EXPECT_TRUE(label->font().underline());
    EXPECT_TRUE(Clickable(*about, link));
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
  }
  QTest::mouseClick(Label(*about, id::kWebLink), Qt::LeftButton);
  QTest::mouseClick(Label(*about, id::kMailLink), Qt::LeftButton);
  ASSERT_EQ(prompts.opened().size(), 2);
  EXPECT_TRUE(prompts.opened()[0].startsWith("https://"));
  EXPECT_TRUE(prompts.opened()[1].startsWith("mailto:"));
  const QPixmap logo = Label(*about, id::kLogo)->pixmap();
  EXPECT_EQ(logo.size(), QSize(128, 128));
}

TEST_F(AboutDialog, SecondDialogShowsTheResultWithoutASecondFetch) {
  const auto checker = Checker("[KX_M71_Vantrel]\nVersion=1.1\nBuild=2026-11-30\n");
  const auto first = Open(checker.get());
  ASSERT_TRUE(Answered(*first));
  first->Destroy();
  const auto second = Open(checker.get());
  ASSERT_TRUE(Answered(*second));
  EXPECT_EQ(second->ItemText(id::kStatus), kNewVersionLine);
  EXPECT_EQ(server_->Requests(kVersionFilePath), 1);
}

TEST_F(AboutDialog, CheckSwitchedOffStillChecksOnceAndBothWaysOutStoreTheBox) {
  store.SetInt(app::section::kVersion, app::key::kUpdateCheck, 0);
  const auto checker = Checker("[KX_M71_Vantrel]\nVersion=1.1\nBuild=2026-11-30\n");
  const auto about = Open(checker.get());
  EXPECT_EQ(about->IsChecked(id::kAutoCheck), 0);
  ASSERT_TRUE(Answered(*about));
  EXPECT_EQ(server_->Requests(kVersionFilePath), 1);

  about->CheckButton(id::kAutoCheck, true);
  about->close();  // the close box
  EXPECT_EQ(store.GetInt(app::section::kVersion, app::key::kUpdateCheck, -1), 1);
  about->Destroy();

  store.SetInt(app::section::kVersion, app::key::kUpdateCheck, 7);
  const auto again = Open(checker.get());
  EXPECT_EQ(again->updateCheckSwitch(), 1) << "anything but 0 is on";
  again->CheckButton(id::kAutoCheck, false);
  QTest::mouseClick(again->Item(id::kOk), Qt::LeftButton);
  EXPECT_EQ(store.GetInt(app::section::kVersion, app::key::kUpdateCheck, -1), 0);
}

TEST_F(AboutDialog, ClickOnTheNewVersionOpensTheVerifiedInstallerAndEndsTheApplication) {
  const std::string installer(200000, 'i');
  const auto checker = Checker(PublishInstaller(kInstallerPath, installer));
  OwnerWindow owner(services, id::kDialog);
  ASSERT_TRUE(owner.Create());
  CAboutDlg about(services, store, checker.get(), &owner);
  QStringList shownTexts;
  QTimer::singleShot(0, &about, [&] {
    ASSERT_TRUE(Answered(about));
    QTest::mouseClick(about.Item(id::kStatus), Qt::LeftButton);
  });
  EXPECT_EQ(about.DoModal(), ui::kIdCancel);

  ASSERT_EQ(prompts.opened().size(), 1) << "the installer only, not the status text";
  const std::filesystem::path opened = prompts.opened().front().toStdString();
  EXPECT_EQ(opened.filename(), "kx-vantrel_1.1_amd64.deb");
  EXPECT_EQ(std::filesystem::file_size(opened), installer.size());
  EXPECT_TRUE(prompts.MessageTexts().isEmpty());
  QTest::qWait(0);
  EXPECT_EQ(owner.commands, std::vector<int>{ui::cmd::kAppExit});
  owner.Destroy();
}

TEST_F(AboutDialog, InstallerThatFailsItsCheckIsNotOpenedAndTheDialogSaysWhy) {
  const std::string versionFile = PublishInstaller(kInstallerPath, "published");
  server_->Serve(kInstallerPath, {200, "something else"});
  const auto checker = Checker(versionFile);
  OwnerWindow owner(services, id::kDialog);
  ASSERT_TRUE(owner.Create());
  const auto about = Open(checker.get(), &owner);
  ASSERT_TRUE(Answered(*about));
  QTest::mouseClick(Label(*about, id::kStatus), Qt::LeftButton);
  const QString why =
      "Update abgebrochen: Das geladene Installationsprogramm ist nicht das veröffentlichte "
      "(Prüfsumme falsch).";
  EXPECT_EQ(prompts.MessageTexts(), QStringList{why});
  EXPECT_EQ(about->ItemText(id::kStatus), why);
  EXPECT_FALSE(Clickable(*about, id::kStatus));
  EXPECT_TRUE(prompts.opened().isEmpty());
  EXPECT_TRUE(about->HasWindow());
  QTest::qWait(0);
  EXPECT_TRUE(owner.commands.empty());
  EXPECT_TRUE(DownloadDirectories().empty());
  about->Destroy();
  owner.Destroy();
}

TEST_F(AboutDialog, FailedDownloadPutsTheNewVersionLineBack) {
  const std::string versionFile = PublishInstaller(kInstallerPath, "published");
  server_->Serve(kInstallerPath, {404, "gone"});
  const auto checker = Checker(versionFile);
  const auto about = Open(checker.get());
  ASSERT_TRUE(Answered(*about));
  QTest::mouseClick(Label(*about, id::kStatus), Qt::LeftButton);
  EXPECT_EQ(about->ItemText(id::kStatus), kNewVersionLine);
  EXPECT_TRUE(Clickable(*about, id::kStatus));
  EXPECT_TRUE(prompts.MessageTexts().isEmpty());
  EXPECT_TRUE(prompts.opened().isEmpty());
}

TEST_F(AboutDialog, InstallerWithoutAHandlerIsReportedAndTheApplicationStillEnds) {
  const auto checker = Checker(PublishInstaller(kInstallerPath, "published"));
  prompts.QueueOpenResult(ui::OpenResult::kFailed);
  const auto about = Open(checker.get());
  ASSERT_TRUE(Answered(*about));
  QTest::mouseClick(Label(*about, id::kStatus), Qt::LeftButton);
  ASSERT_EQ(prompts.MessageTexts().size(), 1);
  EXPECT_TRUE(prompts.MessageTexts()[0].startsWith("Die Datei\n\""));
  EXPECT_TRUE(
      prompts.MessageTexts()[0].endsWith("kann nicht gestartet werden!\n"
                                         "Kein Programm zum Öffnen gefunden."));
  EXPECT_FALSE(about->isVisible());
}

TEST_F(AboutDialog, EnglishTexts) {
  ASSERT_TRUE(resources.UseLibrary(KX_ENGLISH_LIBRARY_FILE)) << resources.LoadError();
  const auto checker = Checker("[KX_M71_Vantrel]\nVersion=1.1\nBuild=2026-11-30\n");
  const auto about = Open(checker.get());
  EXPECT_EQ(about->windowTitle(), "About KX-M71 Vantrel");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return about->ItemText(id::kStatus).startsWith("New version:"); }, 10000));
  EXPECT_EQ(about->ItemText(id::kStatus), "New version:KX-M71 Vantrel V 1.1 (2026-11-30)");
}

}  // namespace
}  // namespace kx::dialogs
