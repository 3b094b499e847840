// kx-window-pictures: draws the main window and the interface dialog into one-page vector PDF
// files for the operator's manual. It runs during the build without a display and without a
// reader: settings live in memory, message boxes answer themselves, and the interface dialog
// lists a fixed set of ports instead of the machine's own.
#include <QAbstractButton>
#include <QApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "dialogs/port_dlg.h"
#include "dialogs/port_sdk.h"
#include "framework/resources.h"
#include "framework/services.h"
#include "framework/testing/scripted_prompts.h"
#include "main_dialog.h"
#include "main_settings.h"
#include "memory_settings_store.h"
#include "resources/builtin.h"
#include "resources/ids.h"

namespace {

namespace mw = kx::res::main_window;
namespace section = kx::app::section;
namespace key = kx::app::key;

// Caption height and frame of the drawn window, in points.
constexpr int kCaptionHeight = 18;
constexpr int kFrame = 1;

// A device path that cannot exist, so that the main window's connection attempt fails at once.
constexpr char kNoReaderPort[] = "/nonexistent/kx-manual-reader";

// Copies a string list in the SDK's form (each entry ended by NUL, one more NUL at the end).
int WriteStringList(char* buffer, int size, std::initializer_list<const char*> entries) {
  int used = 0;
  for (const char* entry : entries) {
    const int length = static_cast<int>(std::strlen(entry)) + 1;
    if (used + length + 1 > size)
      break;
    std::memcpy(buffer + used, entry, static_cast<size_t>(length));
    used += length;
  }
  if (used < size)
    buffer[used++] = '\0';
  return used;
}

// The ports of a typical workstation with one USB reader in virtual COM mode.
class ExamplePorts : public kx::dialogs::PortSdk {
 public:
  int ListComPorts(char* buffer, int size) override {
    return WriteStringList(buffer, size,
                           {"/dev/ttyS0", "/dev/ttyACM0 [Orv Virtual COM]", "/dev/ttyUSB0"});
  }
  int ListUsbReaders(char* buffer, int size) override { return WriteStringList(buffer, size, {}); }
  int FindLanReaders(char* buffer, int size) override { return WriteStringList(buffer, size, {}); }
  int ProbeLanReader(const char*) override { return 0; }
  int CheckUsbDrivers() override { return 0; }
  int IsVcomDriverInstalled() override { return 1; }
  int Open(const char*, int, int, int) override { return -1; }
  int SetUsbInterface(int, int) override { return -1; }
  int CommandF6(int, int, int) override { return -1; }
  int Close(int) override { return -1; }
};

// A drawing does not watch for devices.
class NoDeviceChanges : public kx::dialogs::DeviceChangeMonitor {
 public:
  bool Start(std::shared_ptr<kx::ui::MessageTarget>) override { return false; }
  void Stop() override {}
};

// Draws the window with a plain frame and caption bar, 1 point per pixel, on a page of its size.
bool DrawWindow(QWidget& window, const QString& file) {
  QApplication::processEvents();
  const QSize client = window.size();
  const QSize page(client.width() + 2 * kFrame, client.height() + kCaptionHeight + 2 * kFrame);
  QPdfWriter writer(file);
  writer.setCreator(QStringLiteral("kx-window-pictures"));
  writer.setResolution(72);
  writer.setPageLayout(QPageLayout(QPageSize(QSizeF(page), QPageSize::Point), QPageLayout::Portrait,
                                   QMarginsF(), QPageLayout::Point));
  QPainter painter;
  if (!painter.begin(&writer))
    return false;
  const QRect outline(0, 0, page.width() - 1, page.height() - 1);
  painter.fillRect(outline, QColor(0x3c, 0x5a, 0x82));
  painter.setPen(Qt::white);
  QFont captionFont = window.font();
  captionFont.setBold(true);
  painter.setFont(captionFont);
  painter.drawText(QRect(kFrame + 6, kFrame, client.width() - 12, kCaptionHeight),
                   Qt::AlignVCenter | Qt::AlignLeft, window.windowTitle());
  window.render(&painter, QPoint(kFrame, kFrame + kCaptionHeight));
  return painter.end();
}

void Click(kx::ui::Dialog& dialog, int id) {
  if (auto* button = dialog.ItemAs<QAbstractButton>(id))
    button->click();
}

// The main window after a value was written to a TI Multi Page transponder and read back.
bool DrawMainWindow(kx::ui::Services& services, const QString& file) {
  kx::app::MemorySettingsStore store;
  store.SetString(section::kPort, key::kPortName, kNoReaderPort);
  store.SetString(section::kSettings, key::kLastData, QStringLiteral("1A2C"));
  kx::app::CKX_M71_VantrelDlg window(services, store, QStringLiteral("/opt/kx-vantrel/"));
  if (!window.Create())
    return false;
  Click(window, mw::kTypeRadios[2]);
  window.CheckButton(mw::kLogWrites, true);
  window.SetItemText(mw::kReadDisplay, QStringLiteral("00001A2B"));
  window.AppendStatusLine(QStringLiteral("Wert <1A2B> erfolgreich geschrieben"));
  window.AppendStatusLine(QStringLiteral("Kein Transponder vorhanden"));
  window.AppendStatusLine(QStringLiteral("Wert <1A2B> erfolgreich geschrieben"));
  window.setWindowTitle(window.appTitle() +
                        QStringLiteral(" V1.0.0 <KX-P71D /dev/ttyACM0:1  FW V1.10>"));
  window.show();
  const bool drawn = DrawWindow(window, file);
  window.Destroy();
  return drawn;
}

// The interface dialog with the virtual COM reader chosen.
bool DrawInterfaceDialog(kx::ui::Services& services, const QString& file) {
  kx::app::MemorySettingsStore store;
  store.SetString(section::kPort, key::kPortName, QStringLiteral("/dev/ttyACM0 [Orv Virtual COM]"));
  store.SetInt(section::kPort, key::kBaudCode, 19200);
  store.SetInt(section::kPort, key::kTimeout, 1000);
  ExamplePorts ports;
  kx::dialogs::CPortDlg dialog(services, store, ports, std::make_unique<NoDeviceChanges>());
  if (!dialog.Create())
    return false;
  dialog.show();
  const bool drawn = DrawWindow(dialog, file);
  dialog.Destroy();
  return drawn;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kx-window-pictures MAIN_WINDOW.pdf INTERFACE_DIALOG.pdf\n");
    return 2;
  }
  QApplication application(argc, argv);
  kx::ui::Resources resources(kx::res::BuiltInResources());
  kx::ui::testing::ScriptedPrompts prompts;
  kx::ui::Services services(resources, prompts);
  if (!DrawMainWindow(services, QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "kx-window-pictures: cannot draw the main window into %s\n", argv[1]);
    return 1;
  }
  if (!DrawInterfaceDialog(services, QString::fromLocal8Bit(argv[2]))) {
    std::fprintf(stderr, "kx-window-pictures: cannot draw the interface dialog into %s\n", argv[2]);
    return 1;
  }
  return 0;
}
