// The window's command menu: its items for each language setting, the chip tool item that
// follows the transponder type, and the language commands.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "dialogs/beep_time_dlg.h"
#include "framework/system_menu.h"
#include "main_window_fixture.h"
#include "resources/beep_time_dialog_ids.h"

namespace kx::app::testing {
namespace {

using SystemMenu = MainWindow;
using ui::sys_cmd::kClose;

std::vector<int> ItemsFor(const std::vector<int>& languages) {
  std::vector<int> items = {kClose, 0, mw::kCmdSettings, mw::kCmdInterface, mw::kCmdChipTool, 0};
  items.insert(items.end(), languages.begin(), languages.end());
  items.insert(items.end(), {0, mw::kCmdAbout});
  return items;
}

TEST_F(SystemMenu, OffersTheLanguageNotInUse) {
  const std::pair<QString, std::vector<int>> cases[] = {
      {"<absent>", {mw::kCmdEnglish}},
      {"0", {mw::kCmdEnglish}},
      {"1", {mw::kCmdGerman}},
      {"2", {mw::kCmdGerman, mw::kCmdEnglish}},
      {"-1", {mw::kCmdGerman, mw::kCmdEnglish}},
  };
  for (const auto& [language, items] : cases) {
    store.Remove("Settings", "Sprache");
    if (language != "<absent>")
      store.SetString("Settings", "Sprache", language);
    Open();
    EXPECT_EQ(dialog->GetSystemMenu().Items(), ItemsFor(items)) << language.toStdString();
    Close();
  }
}

TEST_F(SystemMenu, HasTheTextsOfTheStringTable) {
  store.SetInt("Settings", "Sprache", 7);
  Open();
  const ui::SystemMenu& menu = dialog->GetSystemMenu();
  EXPECT_EQ(menu.Text(mw::kCmdSettings), "Einstellungen");
  EXPECT_EQ(menu.Text(mw::kCmdInterface), "Schnittstelle wählen");
  EXPECT_EQ(menu.Text(mw::kCmdChipTool), "Set Tuning SIC7999");
  EXPECT_EQ(menu.Text(mw::kCmdGerman), "Deutsch");
  EXPECT_EQ(menu.Text(mw::kCmdEnglish), "Englisch");
  EXPECT_EQ(menu.Text(mw::kCmdAbout), "Inf&o über Vantrel ...");
}

TEST_F(SystemMenu, TheChipToolItemFollowsTheTransponderType) {
  Open();
  const struct {
    int type;
    const char* text;
    bool enabled;
  } cases[] = {
      {3, "Set Config TI HDX+", true}, {7, "Set Tuning SIC7999", false},
      {6, "Set Tuning SIC7999", true}, {0, "Set Tuning SIC7999", false},
      {3, "Set Config TI HDX+", true}, {5, "Set Tuning SIC7999", false},
  };
  for (const auto& c : cases) {
    ChooseType(c.type);
    OpenAndCloseMenu(*dialog);
    EXPECT_EQ(dialog->GetSystemMenu().Text(mw::kCmdChipTool), c.text) << c.type;
    EXPECT_EQ(dialog->GetSystemMenu().IsEnabled(mw::kCmdChipTool), c.enabled) << c.type;
  }
}

TEST_F(SystemMenu, ALanguageCommandStoresTheLanguageAndEndsWithTen) {
  dialog = MakeWindow();
  EXPECT_EQ(RunModal(*dialog, [this] { EXPECT_TRUE(ChooseMenuItem(*dialog, mw::kCmdEnglish)); }),
            kEndLanguageSwitch);
  EXPECT_EQ(Stored(section::kSettings, key::kLanguage), "1");
  EXPECT_EQ(RunModal(*dialog, [this] { EXPECT_TRUE(ChooseMenuItem(*dialog, mw::kCmdGerman)); }),
            kEndLanguageSwitch);
  EXPECT_EQ(Stored(section::kSettings, key::kLanguage), "0");
}

TEST_F(SystemMenu, TheAboutItemShowsTheAboutDialogAndCloseCloses) {
  dialog = MakeWindow();
  const int code = RunModal(*dialog, [this] {
    // The About dialog shows; closing it leaves the window as it was.
    QTimer::singleShot(0, [] {
      QWidget* about = QApplication::activeModalWidget();
      ASSERT_NE(about, nullptr);
      EXPECT_EQ(about->windowTitle(), "Info über KX-M71 Vantrel");
      about->close();
    });
    EXPECT_TRUE(ChooseMenuItem(*dialog, mw::kCmdAbout));
    EXPECT_TRUE(dialog->isVisible());
    ChooseMenuItem(*dialog, kClose);
  });
  EXPECT_EQ(code, 2);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Fehler beim Port öffnen"})
      << "only the stored interface's";
}

// Answers the settings dialog once it shows: the two texts, then OK or Cancel.
void AnswerSettings(const QString& beepTime, const QString& cycleTime, bool ok) {
  QTimer::singleShot(0, [=] {
    auto* settings = qobject_cast<dialogs::CBeepTimeDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(settings, nullptr);
    settings->SetItemText(res::beep_time_dialog::kBeepTime, beepTime);
    settings->SetItemText(res::beep_time_dialog::kCycleTime, cycleTime);
    const int button = ok ? res::beep_time_dialog::kOk : res::beep_time_dialog::kCancel;
    QTest::mouseClick(settings->Item(button), Qt::LeftButton);
  });
}

TEST_F(SystemMenu, TheSettingsItemOpensTheSettingsAndTheWindowTakesTheTimesOver) {
  Open();
  EXPECT_EQ(dialog->state().beepTimeMs, 300) << "the window's own default";
  AnswerSettings("0", "1000", true);
  ASSERT_TRUE(ChooseMenuItem(*dialog, mw::kCmdSettings));
  EXPECT_EQ(dialog->state().beepTimeMs, 0);
  EXPECT_EQ(dialog->state().cycleTimeMs, 1000);

  AnswerSettings("500", "200", false);
  ASSERT_TRUE(ChooseMenuItem(*dialog, mw::kCmdSettings));
  EXPECT_EQ(dialog->state().beepTimeMs, 0);
  EXPECT_EQ(Stored("Settings", "ZyklusZeit"), "1000");

  // Keys removed meanwhile take the window's defaults again, which are stored.
  store.Remove("Settings", "BeepTime");
  AnswerSettings("0", "1000", false);
  ASSERT_TRUE(ChooseMenuItem(*dialog, mw::kCmdSettings));
  EXPECT_EQ(dialog->state().beepTimeMs, 300);
  EXPECT_EQ(Stored("Settings", "BeepTime"), "300");
}

}  // namespace
}  // namespace kx::app::testing
