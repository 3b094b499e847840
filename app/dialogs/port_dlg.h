// The interface dialog (template 109): the operator chooses the serial port, USB reader or LAN
// reader through which the reader is reached, and its serial parameters, answer timeout and
// device address. Everything lives in the settings section "Port"; only OK writes it.
//
// The dialog keeps its list current while devices come and go: a device-change notification
// refreshes the three interface lists and, after an arrival, the refresh timer repeats that for
// five seconds, since a port may show up some time after its device.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>

#include "dialogs/device_change.h"
#include "dialogs/port_sdk.h"
#include "framework/dialog.h"
#include "main/main_settings.h"

namespace kx::dialogs {

// The timer that repeats the refresh after a device arrived.
inline constexpr int kRefreshTimerId = 1000;
inline constexpr int kRefreshTimerMs = 1000;

class CPortDlg : public ui::Dialog {
  Q_OBJECT

 public:
  enum class ListKind { kCom, kUsb, kLan };

  // The SDK and the udev monitor of the program.
  CPortDlg(ui::Services& services, app::SettingsStore& store, QWidget* parent = nullptr);
  // Reads the "Port" settings and settles the stored name against the readers attached now.
  CPortDlg(ui::Services& services, app::SettingsStore& store, PortSdk& sdk,
           std::unique_ptr<DeviceChangeMonitor> monitor, QWidget* parent = nullptr);
  ~CPortDlg() override;

  // The name for the open call: the stored name without its kind prefix, ":" and the device
  // address.
  QString GetConnectionName() const;

  // Enumerates one kind of interface into its list; true when the list changed.
  bool UpdatePortList(ListKind kind);
  // Enables and sets the two USB personality buttons for the interface name.
  void UpdateModeButtons(const QString& name);
  // Asks to fetch missing USB drivers; true when a driver is missing.
  bool PromptForMissingDrivers();

  const QString& name() const { return name_; }
  int baudCode() const { return baudCode_; }
  uint32_t timeoutMs() const { return timeoutMs_; }
  int ethernetActive() const { return ethernetActive_; }
  int deviceAddress() const { return deviceAddress_; }
  int rearmCount() const { return rearmCount_; }
  // Whether any interface dialog is handling a device change right now.
  static bool DeviceChangeBusy() { return deviceChangeBusy_; }

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange& dx) override;
  void OnOK() override;
  void OnTimer(int id) override;
  bool OnMessage(int message, intptr_t first, intptr_t second) override;
  void OnDestroy() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void SettleStoredName();
  void SettleAgainstList(ListKind kind, const QString& prefix);
  void StoreName();
  void SelectBaudCode();
  void FillList();
  // The name behind a list entry, which is stored and opened; the list shows a shorter text for
  // ports under a stable link.
  QString EntryName(int index) const;
  // The first entry whose name begins with `name` (letter case ignored); -1 for none.
  int FindEntry(const QString& name) const;
  void SelectStoredName();
  void EnableSerialParameters();
  bool IsSelectionSwitchable() const;
  void OnListSelection();
  void OnHidMode();
  void OnVirtualCom();
  void SwitchUsbInterface(const QString& portName, int mode);
  void OnEthernetActive();
  void OnIpList();
  void OnDeviceChange(intptr_t event);
  void RefreshLists(intptr_t event);
  void OpenDriverPage();
  std::list<std::string>& ListOf(ListKind kind);

  app::SettingsStore& store_;
  PortSdk& sdk_;
  std::unique_ptr<DeviceChangeMonitor> monitor_;

  QString name_;
  int baudCode_ = app::kDefaultBaudCode;
  uint32_t timeoutMs_ = 1000;
  int ethernetActive_ = 0;
  int deviceAddress_ = 1;
  std::list<std::string> comList_;
  std::list<std::string> usbList_;
  std::list<std::string> lanList_;
  QStringList entryNames_;  // parallel to the list box
  int rearmCount_ = 0;
  QSize minimumSize_;
  std::map<int, QRect> startRects_;  // control rectangles at the smallest size

  static bool deviceChangeBusy_;
};

}  // namespace kx::dialogs
