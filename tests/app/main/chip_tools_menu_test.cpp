// The command menu's chip tool item: the tuning dialog for SIC7999, the HDX+ configuration
// dialog for TI HDX+, each with the window's connection, nothing for the other types, and no
// cyclic tick on the connection while a tool is open.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "dialogs/hdx_plus_config_dlg.h"
#include "dialogs/tuning_dlg.h"
#include "reader_window_fixture.h"
#include "resources/hdx_plus_config_dialog_ids.h"
#include "resources/tuning_dialog_ids.h"

namespace kx::app::testing {
namespace {

using ChipToolItem = ReaderWindow;

TEST_F(ChipToolItem, OpensTheToolOfTheTypeWithTheWindowsConnection) {
  kxemu::Transponder sic = kxemu::MakeTransponder(38);
  sic.ctune = 33;
  OpenConnected(sic);
  ChooseType(6);
  QString shown;
  QTimer::singleShot(0, [&] {
    auto* tuning = qobject_cast<dialogs::CTuningDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(tuning, nullptr);
    shown = tuning->windowTitle();
    QTest::mouseClick(tuning->Item(res::tuning_dialog::kRead), Qt::LeftButton);
    EXPECT_EQ(tuning->ItemText(res::tuning_dialog::kCtune), "33");
    tuning->EndDialog(ui::kIdCancel);
  });
  ASSERT_TRUE(ChooseMenuItem(*dialog, mw::kCmdChipTool));
  EXPECT_EQ(shown, "SIC7999 Tuning");
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{0xC4, 38, 2}}));

  model->SetTransponder(kxemu::MakeTransponder(35));
  model->ClearReceivedRequests();
  ChooseType(3);
  shown.clear();
  QTimer::singleShot(0, [&] {
    auto* config = qobject_cast<dialogs::CHDXPlusConfigDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(config, nullptr);
    shown = config->windowTitle();
    QTest::mouseClick(config->Item(res::hdx_plus_config_dialog::kRead), Qt::LeftButton);
    config->EndDialog(ui::kIdCancel);
  });
  ASSERT_TRUE(ChooseMenuItem(*dialog, mw::kCmdChipTool));
  EXPECT_EQ(shown, "TMS37190 (HDX+) Config");
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{0xC4, 35, 1}}));
  EXPECT_FALSE(dialog->ReaderBusy());
}

TEST_F(ChipToolItem, OtherTypesOpenNothing) {
  OpenConnected(std::nullopt);
  for (int type : {0, 1, 2, 4, 5, 7}) {
    ChooseType(type);
    // A window that opened would hold the menu item until closed: close it and fail.
    QTimer::singleShot(0, [type] {
      if (auto* opened = qobject_cast<ui::Dialog*>(QApplication::activeModalWidget())) {
        ADD_FAILURE() << "type " << type << " opened " << opened->windowTitle().toStdString();
        opened->EndDialog(ui::kIdCancel);
      }
    });
    ASSERT_TRUE(ChooseMenuItem(*dialog, mw::kCmdChipTool));
    QApplication::processEvents();
  }
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ChipToolItem, NoCyclicReadRunsWhileAToolIsOpen) {
  OpenConnected(kxemu::MakeTransponder(38));
  ChooseType(6);
  Click(mw::kReadCyclic);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Commands().empty(); }));
  size_t whileOpen = 0;
  QTimer::singleShot(0, [&] {
    auto* tuning = qobject_cast<ui::Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(tuning, nullptr);
    model->ClearReceivedRequests();
    QTest::qWait(150);  // several cycle periods
    whileOpen = Commands().size();
    tuning->EndDialog(ui::kIdCancel);
  });
  ASSERT_TRUE(ChooseMenuItem(*dialog, mw::kCmdChipTool));
  EXPECT_EQ(whileOpen, 0u);
  Click(mw::kReadCyclic);
}

}  // namespace
}  // namespace kx::app::testing
