// The interface dialog over the SDK's own lists of recorded machines (tests/data/sysfs) and the
// test build of the D2XX library: what an operator with a real reader meets.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <memory>
#include <optional>
#include <string>

#include "dialogs/port_dlg.h"
#include "dialogs/port_sdk.h"
#include "framework/resources.h"
#include "framework/services.h"
#include "framework/testing/scripted_prompts.h"
#include "kx_fake_ftd2xx/scoped_env.h"
#include "memory_settings_store.h"
#include "resources/builtin.h"
#include "resources/port_dialog_ids.h"

namespace kx::dialogs::testing {
namespace {

namespace pd = res::port_dialog;
using kxfake::ScopedEnv;

const std::string kTrees = KX_SYSFS_TREES;
constexpr const char* kReaderLink =
    "/dev/serial/by-id/usb-Orv_Applikationen_Orv_KX-M71_Reader_7731-0017-if00 [Orv Virtual COM]";

class RecordedMachine : public ::testing::Test {
 protected:
  void TearDown() override { Close(); }

  // A dialog on the machine of the tree, as the program builds it.
  CPortDlg& Open(const std::string& kernel) {
    Close();
    root_.emplace("KXLF_SYSFS_ROOT", kTrees + "/" + kernel);
    dialog_ = std::make_unique<CPortDlg>(services_, store_, sdk_, nullptr);
    EXPECT_TRUE(dialog_->Create());
    dialog_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    QCoreApplication::sendPostedEvents();  // the refresh right after the start
    return *dialog_;
  }
  void Close() {
    if (dialog_ != nullptr && dialog_->HasWindow())
      dialog_->Destroy();
    dialog_.reset();
    root_.reset();
  }
  QStringList Entries() const {
    QStringList entries;
    for (int row = 0; row < dialog_->ListCount(pd::kInterfaceList); ++row)
      entries.append(dialog_->ListText(pd::kInterfaceList, row));
    return entries;
  }
  QString Selected() const {
    const int row = dialog_->ListCurrent(pd::kInterfaceList);
    return row < 0 ? QString() : dialog_->ListText(pd::kInterfaceList, row);
  }
  void Select(int row) {
    dialog_->ListSetCurrent(pd::kInterfaceList, row);
    dialog_->SendCommand(pd::kInterfaceList, ui::Notification::kSelChange);
  }
  void Ok() { dialog_->SendCommand(ui::kIdOk); }
  QString StoredName() const {
    return store_.Raw("Port", QStringLiteral("Name")).value_or("<absent>");
  }

  ScopedEnv library_{"KXLF_FTD2XX_LIBRARY", KX_FAKE_FTD2XX_FILE};
  std::optional<ScopedEnv> root_;
  KxLfPortSdk sdk_;
  ui::testing::ScriptedPrompts prompts_;
  ui::Resources resources_{res::BuiltInResources()};
  ui::Services services_{resources_, prompts_};
  app::MemorySettingsStore store_;
  std::unique_ptr<CPortDlg> dialog_;
};

// The virtual COM reader shows its short kernel name and the description that enables
// "HID Mode"; the FTDI reader beside it, driven through the library, raises no driver question.
TEST_F(RecordedMachine, VirtualComReaderIsRecognisedAndNobodyIsAskedForDrivers) {
  Open("kernel-6.1");
  EXPECT_EQ(Entries(),
            (QStringList{"/dev/ttyACM0 [Orv Virtual COM]", "/dev/ttyS0", "/dev/ttyUSB0"}));
  Select(0);
  EXPECT_TRUE(dialog_->IsItemEnabled(pd::kHidMode));
  EXPECT_TRUE(dialog_->IsItemEnabled(pd::kVirtualCom));
  EXPECT_EQ(dialog_->IsChecked(pd::kVirtualCom), 1);
  Select(2);
  EXPECT_FALSE(dialog_->IsItemEnabled(pd::kHidMode)) << "a plain adapter";
  EXPECT_TRUE(prompts_.messages().empty()) << prompts_.MessageTexts().join('|').toStdString();
}

TEST_F(RecordedMachine, WithoutTheD2xxLibraryTheFtdiReaderLacksItsDriver) {
  ScopedEnv library("KXLF_FTD2XX_LIBRARY", "/nonexistent/libftd2xx.so");
  Open("kernel-6.1");
  ASSERT_EQ(prompts_.messages().size(), 1u);
  EXPECT_TRUE(prompts_.MessageTexts().front().startsWith(resources_.LoadString(pd::kNoFtdiDriver)));
}

// The reader is stored by its stable link. At the next start another device has taken its
// kernel name: the dialog still selects the reader, and the open call gets the link.
TEST_F(RecordedMachine, TheStoredReaderIsFoundAgainUnderANewKernelName) {
  Open("kernel-6.1");
  Select(0);
  Ok();
  EXPECT_EQ(StoredName(), kReaderLink);

  Open("kernel-6.6");
  EXPECT_EQ(Entries(), (QStringList{"/dev/ttyACM0", "/dev/ttyACM1 [Orv Virtual COM]", "/dev/ttyS0",
                                    "/dev/ttyUSB0"}));
  EXPECT_EQ(Selected(), "/dev/ttyACM1 [Orv Virtual COM]");
  EXPECT_EQ(dialog_->GetConnectionName(), QString(kReaderLink) + ":1");
  EXPECT_TRUE(prompts_.messages().empty()) << prompts_.MessageTexts().join('|').toStdString();
}

// Settings of older versions hold the kernel name; it still selects the port that shows it,
// and OK stores the stable name from then on.
TEST_F(RecordedMachine, AKernelNameFromOlderSettingsIsStillAccepted) {
  store_.SetString("Port", "Name", "/dev/ttyACM0 [Orv Virtual COM]");
  Open("kernel-6.1");
  EXPECT_EQ(Selected(), "/dev/ttyACM0 [Orv Virtual COM]");
  Ok();
  EXPECT_EQ(StoredName(), kReaderLink);
}

}  // namespace
}  // namespace kx::dialogs::testing
