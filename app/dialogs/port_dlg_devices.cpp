// The interface lists and what keeps them current: enumeration, device-change notifications,
// the refresh timer, the USB personality switch and the question for missing drivers.
#include <chrono>
#include <thread>
#include <vector>

#include "dialogs/ip_list_dlg.h"
#include "dialogs/lan_entries.h"
#include "dialogs/port_dlg.h"
#include "dialogs/port_entries.h"
#include "framework/wait_cursor.h"
#include "resources/port_dialog_ids.h"

namespace kx::dialogs {

namespace {

namespace id = res::port_dialog;

// The SDK's list calls write into a buffer of this size.
constexpr int kListBufferSize = 2500;

// The open call for a personality switch: the reader is asked only this one command.
constexpr int kSwitchBaudRate = 19200;
constexpr int kSwitchTimeoutMs = 100;
constexpr int kUsbModeHid = 1;
constexpr int kUsbModeVirtualCom = 2;
// The reader leaves the bus after the switch; listing at once would still find it.
constexpr auto kAfterSwitch = std::chrono::milliseconds(1000);
// The browser needs a moment before the operator comes back to the dialog.
constexpr auto kAfterDriverPage = std::chrono::milliseconds(2000);

constexpr int kRefreshRepeats = 5;

bool ChangesDevices(intptr_t event) {
  return event == device_event::kArrival || event == device_event::kNodesChanged;
}

}  // namespace

std::list<std::string>& CPortDlg::ListOf(ListKind kind) {
  switch (kind) {
    case ListKind::kUsb:
      return usbList_;
    case ListKind::kLan:
      return lanList_;
    case ListKind::kCom:
      break;
  }
  return comList_;
}

bool CPortDlg::UpdatePortList(ListKind kind) {
  std::vector<char> buffer(kListBufferSize, '\0');
  int result = 0;
  switch (kind) {
    case ListKind::kCom:
      result = sdk_.ListComPorts(buffer.data(), kListBufferSize);
      break;
    case ListKind::kUsb:
      result = sdk_.ListUsbReaders(buffer.data(), kListBufferSize);
      break;
    case ListKind::kLan:
      result = sdk_.FindLanReaders(buffer.data(), kListBufferSize);
      break;
  }
  return MergeStringList(ListOf(kind), ParseStringList(buffer.data(), kListBufferSize, result));
}

void CPortDlg::UpdateModeButtons(const QString& name) {
  const bool hid = name.startsWith(QLatin1String(kUsbPrefix)) && IsSwitchableHidReader(name);
  const bool virtualCom = !hid && IsMakersVirtualComPort(name);
  for (int button : {id::kHidMode, id::kVirtualCom})
    EnableItem(button, hid || virtualCom);
  CheckButton(id::kHidMode, hid);
  CheckButton(id::kVirtualCom, virtualCom);
}

void CPortDlg::OnListSelection() {
  const int selected = ListCurrent(id::kInterfaceList);
  if (selected < 0) {
    UpdateModeButtons(QString());
    return;
  }
  name_ = EntryName(selected);
  EnableSerialParameters();
  UpdateModeButtons(name_);
}

void CPortDlg::OnHidMode() {
  ui::WaitCursor wait;
  const int selected = ListCurrent(id::kInterfaceList);
  if (selected >= 0) {
    name_ = EntryName(selected);
    if (IsMakersVirtualComPort(name_))
      SwitchUsbInterface(name_, kUsbModeHid);
  }
  UpdateModeButtons(name_);
}

void CPortDlg::OnVirtualCom() {
  ui::WaitCursor wait;
  const int selected = ListCurrent(id::kInterfaceList);
  if (selected >= 0) {
    name_ = EntryName(selected);
    const QString usbPrefix = QLatin1String(kUsbPrefix);
    if (name_.startsWith(usbPrefix) && IsSwitchableHidReader(name_)) {
      if (sdk_.IsVcomDriverInstalled() != 0) {
        SwitchUsbInterface(name_.mid(usbPrefix.size()), kUsbModeVirtualCom);
      } else {
        const QString question =
            LoadString(id::kNoVirtualComDriver) + u'\n' + LoadString(id::kLoadDriver) + u'\n';
        if (MessageBox(question, ui::Buttons::kYesNo, ui::Icon::kQuestion) == ui::Answer::kYes)
          OpenDriverPage();
      }
    }
  }
  UpdateModeButtons(name_);
}

void CPortDlg::SwitchUsbInterface(const QString& portName, int mode) {
  const int handle =
      sdk_.Open(portName.toLocal8Bit().constData(), kSwitchBaudRate, 0, kSwitchTimeoutMs);
  if (handle < 1)
    return;
  sdk_.SetUsbInterface(handle, mode);
  sdk_.CommandF6(handle, 0, 0);
  sdk_.Close(handle);
  name_.clear();
  std::this_thread::sleep_for(kAfterSwitch);
}

void CPortDlg::OnEthernetActive() {
  UpdateData(true);
  PostMessage(kDeviceChangeMessage, device_event::kConfigChanged);
  ShowItem(id::kIpList, ethernetActive_ != 0);
}

void CPortDlg::OnIpList() {
  if (ethernetActive_ == 0)
    return;
  // The list dialog searches the network itself; a refresh of this dialog's lists meanwhile
  // would start a second search inside the first. The notification below brings it afterwards.
  const bool wasBusy = deviceChangeBusy_;
  deviceChangeBusy_ = true;
  CIPAddrSuche readers(services(), this);
  readers.DoModal();
  deviceChangeBusy_ = wasBusy;
  const QString chosen = readers.resultText();
  if (!chosen.isEmpty())
    name_ = QLatin1String(kLanPrefix) + ReaderNameOf(chosen);
  PostMessage(kDeviceChangeMessage, device_event::kConfigChanged);
}

bool CPortDlg::OnMessage(int message, intptr_t first, intptr_t) {
  if (message != kDeviceChangeMessage)
    return false;
  OnDeviceChange(first);
  return true;
}

void CPortDlg::OnDeviceChange(intptr_t event) {
  // A question box or a LAN search lets notifications in while one is handled; those are lost.
  if (deviceChangeBusy_)
    return;
  deviceChangeBusy_ = true;
  RefreshLists(event);
  if (PromptForMissingDrivers())
    RefreshLists(event);
  deviceChangeBusy_ = false;
  UpdateModeButtons(name_);

  if (ChangesDevices(event)) {
    SetTimer(kRefreshTimerId, kRefreshTimerMs);
    rearmCount_ = 1;
  } else if (rearmCount_ >= 1 && rearmCount_ < kRefreshRepeats) {
    SetTimer(kRefreshTimerId, kRefreshTimerMs);
    ++rearmCount_;
  } else {
    rearmCount_ = 0;
  }
}

void CPortDlg::RefreshLists(intptr_t event) {
  if (!ChangesDevices(event) && event != device_event::kConfigChanged)
    return;
  bool changed = false;
  if (ethernetActive_ != 0) {
    changed = UpdatePortList(ListKind::kLan);
  } else if (!lanList_.empty()) {
    lanList_.clear();
    changed = true;
  }
  const bool usbChanged = UpdatePortList(ListKind::kUsb);
  const bool comChanged = UpdatePortList(ListKind::kCom);
  if (changed || usbChanged || comChanged)
    FillList();
  const int match = FindEntry(name_);
  if (match >= 0)
    ListSetCurrent(id::kInterfaceList, match);
}

void CPortDlg::OnTimer(int timer) {
  // One tick only: the refresh it posts decides whether another follows.
  if (timer != kRefreshTimerId || !KillTimer(timer))
    return;
  PostMessage(kDeviceChangeMessage, device_event::kConfigChanged);
}

bool CPortDlg::PromptForMissingDrivers() {
  const int missing = sdk_.CheckUsbDrivers();
  if (missing == 0)
    return false;
  QString question;
  if (missing & 1)
    question += LoadString(id::kNoFtdiDriver) + u'\n';
  if (missing & 2)
    question += LoadString(id::kNoVirtualComDriver) + u'\n';
  question += LoadString(id::kLoadDriver) + u'\n';
  if (MessageBox(question, ui::Buttons::kYesNo, ui::Icon::kQuestion) == ui::Answer::kYes)
    OpenDriverPage();
  return true;
}

void CPortDlg::OpenDriverPage() {
  services().Open(LoadString(id::kDriverPage));
  std::this_thread::sleep_for(kAfterDriverPage);
}

}  // namespace kx::dialogs
