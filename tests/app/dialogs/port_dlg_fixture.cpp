#include "port_dlg_fixture.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <cstring>

namespace kx::dialogs::testing {

namespace {

int WriteList(const std::vector<std::string>& entries, char* buffer, int size) {
  int at = 0;
  for (const std::string& entry : entries) {
    const int length = static_cast<int>(entry.size()) + 1;
    if (at + length + 1 > size)
      break;
    std::memcpy(buffer + at, entry.c_str(), length);
    at += length;
  }
  buffer[at] = '\0';
  return at + 1;
}

}  // namespace

int FakePortSdk::ListComPorts(char* buffer, int size) {
  ++listCalls;
  return WriteList(com, buffer, size);
}

int FakePortSdk::ListUsbReaders(char* buffer, int size) {
  ++listCalls;
  return WriteList(usb, buffer, size);
}

int FakePortSdk::FindLanReaders(char* buffer, int size) {
  ++listCalls;
  return WriteList(lan, buffer, size);
}

int FakePortSdk::ProbeLanReader(const char* name) {
  probed.emplace_back(name);
  return lanReachable;
}

int FakePortSdk::CheckUsbDrivers() {
  ++driverChecks;
  return missingDrivers;
}

int FakePortSdk::Open(const char* portName, int baudRate, int options, int timeoutMs) {
  opened.emplace_back(portName);
  if (refuseOpen)
    return -15;
  return KxLfPortSdk::Open(portName, baudRate, options, timeoutMs);
}

void PortDialog::TearDown() {
  if (dialog != nullptr && dialog->HasWindow())
    dialog->Destroy();
}

CPortDlg& PortDialog::Make() {
  dialog = std::make_unique<CPortDlg>(services, store, sdk,
                                      std::make_unique<FakeMonitor>(watcherTarget));
  return *dialog;
}

CPortDlg& PortDialog::Open() {
  if (dialog == nullptr)
    Make();
  EXPECT_TRUE(dialog->Create());
  dialog->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  ProcessPosted();
  return *dialog;
}

int PortDialog::RunModal(std::function<void()> act) {
  if (dialog == nullptr)
    Make();
  QTimer::singleShot(0, dialog.get(), [this, act = std::move(act)] {
    ProcessPosted();
    act();
    if (dialog->isVisible())
      dialog->EndDialog(ui::kIdCancel);
  });
  return dialog->DoModal();
}

void PortDialog::Click(int id) {
  QWidget* control = dialog->Item(id);
  ASSERT_NE(control, nullptr) << id;
  QTest::mouseClick(control, Qt::LeftButton);
}

void PortDialog::Select(int row) {
  dialog->ListSetCurrent(pd::kInterfaceList, row);
  dialog->SendCommand(pd::kInterfaceList, ui::Notification::kSelChange);
}

void PortDialog::Notify(intptr_t event) {
  ASSERT_NE(watcherTarget, nullptr);
  watcherTarget->Post(kDeviceChangeMessage, event);
  ProcessPosted();
}

void PortDialog::ProcessPosted() {
  QCoreApplication::sendPostedEvents();
}

QStringList PortDialog::Entries() const {
  QStringList entries;
  for (int row = 0; row < dialog->ListCount(pd::kInterfaceList); ++row)
    entries.append(dialog->ListText(pd::kInterfaceList, row));
  return entries;
}

QString PortDialog::Stored(const char* key) const {
  return store.Raw("Port", QString::fromLatin1(key)).value_or("<absent>");
}

}  // namespace kx::dialogs::testing
