// The window's command menu: items by id, the update before it opens, its commands.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "framework/system_menu.h"
#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

class CommandMenu : public GuiTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog.Create());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  }
  QAction* ActionOf(int id) {
    for (QAction* action : dialog.GetSystemMenu().menu()->actions()) {
      if (SystemMenu::CommandOf(action) == id && !action->isSeparator())
        return action;
    }
    return nullptr;
  }
  RecordingDialog dialog{services, form::kDialog};
};

TEST_F(CommandMenu, ADialogWithoutMenuHasNoMenuBar) {
  EXPECT_FALSE(dialog.HasSystemMenu());
  EXPECT_EQ(dialog.findChild<QMenuBar*>(), nullptr);
  dialog.OpenSystemMenu();
  EXPECT_EQ(dialog.menuOpenings, 0);
}

TEST_F(CommandMenu, ItemsAreAppendedAfterTheCloseItemAndChangedById) {
  SystemMenu& menu = dialog.GetSystemMenu();
  EXPECT_TRUE(dialog.HasSystemMenu());
  menu.AppendSeparator();
  menu.Append(1001, "Einstellungen");
  menu.Append(1002, "Set Tuning SIC7999");
  menu.AppendSeparator();
  menu.Append(16, "Inf&o über Vantrel ...");
  EXPECT_EQ(menu.Items(), (std::vector<int>{sys_cmd::kClose, 0, 1001, 1002, 0, 16}));
  EXPECT_EQ(menu.Text(sys_cmd::kClose), "&Schließen");
  EXPECT_EQ(menu.menu()->title(), "&System");

  EXPECT_TRUE(menu.SetText(1002, "Set Config TI HDX+"));
  EXPECT_TRUE(menu.Enable(1002, false));
  EXPECT_EQ(menu.Text(1002), "Set Config TI HDX+");
  EXPECT_FALSE(menu.IsEnabled(1002));
  EXPECT_TRUE(menu.IsEnabled(1001));
  EXPECT_FALSE(menu.SetText(4711, "x"));
  EXPECT_FALSE(menu.Enable(4711, true));
  EXPECT_FALSE(menu.Contains(4711));
}

TEST_F(CommandMenu, TheMenuBarStandsAboveTheControls) {
  const QSize before = dialog.size();
  dialog.GetSystemMenu();
  QCoreApplication::processEvents();
  auto* bar = dialog.findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisible());
  const QPoint firstControl = dialog.Item(form::kNumber)->mapTo(&dialog, QPoint(0, 0));
  EXPECT_GE(firstControl.y(), bar->geometry().bottom());
  EXPECT_GT(dialog.height(), before.height());
}

TEST_F(CommandMenu, TheDialogUpdatesTheItemsEachTimeTheMenuOpens) {
  SystemMenu& menu = dialog.GetSystemMenu();
  menu.Append(1002, "Set Tuning SIC7999");
  bool configMode = true;
  dialog.onMenuOpening = [&] {
    menu.SetText(1002, configMode ? "Set Config TI HDX+" : "Set Tuning SIC7999");
    menu.Enable(1002, configMode);
    EXPECT_FALSE(menu.menu()->isVisible()) << "the update comes before the menu shows";
  };
  dialog.OpenSystemMenu();
  EXPECT_EQ(dialog.menuOpenings, 1);
  EXPECT_TRUE(menu.menu()->isVisible());
  EXPECT_EQ(menu.Text(1002), "Set Config TI HDX+");
  menu.menu()->hide();

  configMode = false;
  QTest::keyClick(&dialog, Qt::Key_Space, Qt::AltModifier);
  EXPECT_EQ(dialog.menuOpenings, 2);
  EXPECT_FALSE(menu.IsEnabled(1002));
  menu.menu()->hide();
}

TEST_F(CommandMenu, ChosenItemsArriveAsSystemCommands) {
  SystemMenu& menu = dialog.GetSystemMenu();
  menu.Append(171, "Deutsch");
  ActionOf(171)->trigger();
  EXPECT_EQ(dialog.sysCommands, std::vector<int>{171});
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(GuiTest, TheCloseItemEndsTheDialogLikeTheCloseBox) {
  RecordingDialog dialog(services, form::kDialog);
  QTimer::singleShot(0, &dialog, [&] {
    for (QAction* action : dialog.GetSystemMenu().menu()->actions()) {
      if (SystemMenu::CommandOf(action) == sys_cmd::kClose)
        action->trigger();
    }
  });
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
  EXPECT_EQ(dialog.sysCommands, std::vector<int>{sys_cmd::kClose});
}

}  // namespace
}  // namespace kx::ui::testing
