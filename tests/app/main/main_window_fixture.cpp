#include "main_window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "framework/system_menu.h"

namespace kx::app::testing {

bool ChooseMenuItem(ui::Dialog& dialog, int commandId) {
  for (QAction* action : dialog.GetSystemMenu().menu()->actions()) {
    if (!action->isSeparator() && ui::SystemMenu::CommandOf(action) == commandId) {
      action->trigger();
      return true;
    }
  }
  return false;
}

void OpenAndCloseMenu(ui::Dialog& dialog) {
  dialog.OpenSystemMenu();
  dialog.GetSystemMenu().menu()->hide();
}

int RunModal(ui::Dialog& dialog, std::function<void()> act) {
  QTimer::singleShot(0, &dialog, std::move(act));
  return dialog.DoModal();
}

void MainWindow::TearDown() {
  if (dialog != nullptr && dialog->HasWindow())
    dialog->Destroy();
}

std::unique_ptr<CKX_M71_VantrelDlg> MainWindow::MakeWindow() {
  return std::make_unique<CKX_M71_VantrelDlg>(services, store, QString(kProgramDirectory),
                                              &interfaces, &beeper);
}

CKX_M71_VantrelDlg& MainWindow::Open() {
  dialog = MakeWindow();
  EXPECT_TRUE(dialog->Create());
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Fehler beim Port öffnen"});
  prompts.Clear();
  dialog->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  return *dialog;
}

void MainWindow::Close() {
  dialog->Destroy();
}

void MainWindow::Click(int id) {
  QWidget* control = dialog->Item(id);
  ASSERT_NE(control, nullptr) << id;
  QTest::mouseClick(control, Qt::LeftButton);
}

void MainWindow::EnterLength(const QString& text) {
  dialog->FocusItem(mw::kByteCount);
  dialog->SetItemText(mw::kByteCount, text);
  dialog->FocusItem(mw::kStatus);
}

int MainWindow::WriteEdit() const {
  return dialog->state().dataFormat >= 4 ? mw::kWriteEditMultiLine : mw::kWriteEdit;
}

QString MainWindow::Stored(const char* section, const char* key) const {
  return store.Raw(QString::fromUtf8(section), QString::fromUtf8(key)).value_or("<absent>");
}

}  // namespace kx::app::testing
