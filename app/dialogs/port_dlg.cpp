// Construction with the stored settings, the dialog's start, OK, the connection name and the
// layout when the window grows.
#include "dialogs/port_dlg.h"

#include <QResizeEvent>
#include <algorithm>

#include "dialogs/port_entries.h"
#include "dialogs/udev_device_monitor.h"
#include "framework/resources.h"
#include "main/main_settings.h"
#include "main/settings_store.h"
#include "resources/port_dialog_ids.h"

namespace kx::dialogs {

namespace {

namespace id = res::port_dialog;

namespace key = app::key;
constexpr const char* kSection = app::section::kPort;

constexpr int kLowestTimeoutMs = 10;
constexpr int kHighestTimeoutMs = 300000;
constexpr int kLowestAddress = 1;
constexpr int kHighestAddress = 255;

PortSdk& ProgramSdk() {
  static KxLfPortSdk sdk;
  return sdk;
}

// What the window's growth does to each control.
constexpr int kGrowing[] = {id::kInterfaceGroup, id::kInterfaceList};
constexpr int kMovingDown[] = {
    id::kEthernetActive, id::kHidMode, id::kBaudRateLabel,      id::kBaudRate,
    id::kParityLabel,    id::kParity,  id::kStopBitsLabel,      id::kStopBits,
    id::kTimeoutLabel,   id::kTimeout, id::kDeviceAddressLabel, id::kDeviceAddress};
constexpr int kMovingDownAndRight[] = {id::kIpList, id::kVirtualCom};

}  // namespace

bool CPortDlg::deviceChangeBusy_ = false;

CPortDlg::CPortDlg(ui::Services& services, app::SettingsStore& store, QWidget* parent)
    : CPortDlg(services, store, ProgramSdk(), std::make_unique<UdevDeviceMonitor>(), parent) {}

CPortDlg::CPortDlg(ui::Services& services, app::SettingsStore& store, PortSdk& sdk,
                   std::unique_ptr<DeviceChangeMonitor> monitor, QWidget* parent)
    : Dialog(services, id::kDialog, parent),
      store_(store),
      sdk_(sdk),
      monitor_(std::move(monitor)) {
  // The members' first values are the defaults of absent keys.
  name_ = store_.GetString(kSection, key::kPortName, QString());
  baudCode_ = store_.GetInt(kSection, key::kBaudCode, baudCode_);
  timeoutMs_ =
      static_cast<uint32_t>(store_.GetInt(kSection, key::kTimeout, static_cast<int>(timeoutMs_)));
  ethernetActive_ = store_.GetInt(kSection, key::kEthernetActive, ethernetActive_);
  deviceAddress_ = store_.GetInt(kSection, key::kDeviceAddress, deviceAddress_);
  SettleStoredName();

  Bind(id::kInterfaceList, ui::Notification::kSelChange, [this] { OnListSelection(); });
  BindClicked(id::kHidMode, [this] { OnHidMode(); });
  BindClicked(id::kVirtualCom, [this] { OnVirtualCom(); });
  BindClicked(id::kEthernetActive, [this] { OnEthernetActive(); });
  BindClicked(id::kIpList, [this] { OnIpList(); });
}

CPortDlg::~CPortDlg() = default;

void CPortDlg::SettleStoredName() {
  const QString usbPrefix = QLatin1String(kUsbPrefix);
  const QString lanPrefix = QLatin1String(kLanPrefix);
  if (name_.isEmpty()) {
    name_ = QLatin1String(app::kDefaultPortName);
    StoreName();
  } else if (name_.startsWith(usbPrefix)) {
    SettleAgainstList(ListKind::kUsb, usbPrefix);
  } else if (name_.startsWith(lanPrefix) && ethernetActive_ != 0) {
    // A LAN reader that answers where it was stored needs no search.
    const QByteArray stored = name_.mid(lanPrefix.size()).toLocal8Bit();
    if (sdk_.ProbeLanReader(stored.constData()) < 1)
      SettleAgainstList(ListKind::kLan, lanPrefix);
  }
}

// The stored reader stays when the list has it; else the list's first reader, or none.
void CPortDlg::SettleAgainstList(ListKind kind, const QString& prefix) {
  UpdatePortList(kind);
  const std::list<std::string>& readers = ListOf(kind);
  const std::string stored = name_.mid(prefix.size()).toLocal8Bit().toStdString();
  if (readers.empty())
    name_.clear();
  else if (std::find(readers.begin(), readers.end(), stored) == readers.end())
    name_ = prefix + QString::fromLocal8Bit(readers.front());
  else
    return;
  StoreName();
}

void CPortDlg::StoreName() {
  store_.SetString(kSection, key::kPortName, name_);
}

QString CPortDlg::GetConnectionName() const {
  return ConnectionName(name_, deviceAddress_);
}

bool CPortDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  SelectBaudCode();

  if (ethernetActive_ != 0) {
    if (lanList_.empty())
      UpdatePortList(ListKind::kLan);
  } else {
    lanList_.clear();
  }
  if (usbList_.empty())
    UpdatePortList(ListKind::kUsb);
  if (comList_.empty())
    UpdatePortList(ListKind::kCom);
  FillList();

  const int match = FindEntry(name_);
  if (match >= 0) {
    ListSetCurrent(id::kInterfaceList, match);
  } else if (ListCount(id::kInterfaceList) == 1) {
    ListSetCurrent(id::kInterfaceList, 0);
    name_ = EntryName(0);
  } else {
    name_.clear();
  }
  EnableSerialParameters();
  UpdateModeButtons(name_);
  ShowItem(id::kIpList, ethernetActive_ != 0);

  const ui::res::DialogTemplate* dialog = services().resources().FindDialog(templateId());
  minimumSize_ = units().ToPixels(dialog->width, dialog->height);
  setMinimumSize(minimumSize_);
  startRects_.clear();
  for (int control : kGrowing)
    startRects_[control] = ItemRect(control);
  for (int control : kMovingDown)
    startRects_[control] = ItemRect(control);
  for (int control : kMovingDownAndRight)
    startRects_[control] = ItemRect(control);

  if (monitor_ != nullptr)
    monitor_->Start(Target());
  PostMessage(kDeviceChangeMessage, device_event::kConfigChanged);
  return true;
}

void CPortDlg::SelectBaudCode() {
  const BaudSetting setting = SplitBaudCode(baudCode_);
  ListSetCurrent(id::kParity, setting.parityIndex);
  ListSetCurrent(id::kStopBits, setting.stopBitsIndex);
  ListSetCurrent(id::kBaudRate, ListFindExact(id::kBaudRate, QString::number(setting.rate)));
}

void CPortDlg::FillList() {
  ListReset(id::kInterfaceList);
  for (const QString& text : EntryTexts(comList_, usbList_, lanList_))
    ListAdd(id::kInterfaceList, text);
  entryNames_ = EntryNames(comList_, usbList_, lanList_);
}

QString CPortDlg::EntryName(int index) const {
  return entryNames_.value(index);
}

int CPortDlg::FindEntry(const QString& name) const {
  if (name.isEmpty())
    return -1;
  for (int index = 0; index < entryNames_.size(); ++index) {
    if (entryNames_[index].startsWith(name, Qt::CaseInsensitive))
      return index;
  }
  // A kernel name stored by an older version still finds the port that shows it.
  return ListFindPrefix(id::kInterfaceList, name);
}

void CPortDlg::EnableSerialParameters() {
  const bool serial = HasSerialParameters(name_);
  for (int combo : {id::kBaudRate, id::kParity, id::kStopBits})
    EnableItem(combo, serial);
}

void CPortDlg::DoDataExchange(ui::DataExchange& dx) {
  dx.Text(id::kTimeout, timeoutMs_);
  dx.MinMax(timeoutMs_, static_cast<uint32_t>(kLowestTimeoutMs),
            static_cast<uint32_t>(kHighestTimeoutMs));
  dx.Check(id::kEthernetActive, ethernetActive_);
  dx.Text(id::kDeviceAddress, deviceAddress_);
  dx.MinMax(deviceAddress_, kLowestAddress, kHighestAddress);
}

void CPortDlg::OnOK() {
  if (!UpdateData(true))
    return;
  const int selected = ListCurrent(id::kInterfaceList);
  if (selected >= 0) {
    name_ = EntryName(selected);
    StoreName();
  }
  baudCode_ = app::kDefaultBaudCode;
  const int rate = ListCurrent(id::kBaudRate);
  if (rate >= 0) {
    baudCode_ = ComposeBaudCode(ListText(id::kBaudRate, rate).toInt(), ListCurrent(id::kParity),
                                ListCurrent(id::kStopBits));
    store_.SetInt(kSection, key::kBaudCode, baudCode_);
  }
  store_.SetInt(kSection, key::kTimeout, static_cast<int>(timeoutMs_));
  store_.SetInt(kSection, key::kDeviceAddress, deviceAddress_);
  store_.SetInt(kSection, key::kEthernetActive, ethernetActive_);
  EndDialog(ui::kIdOk);
}

void CPortDlg::OnDestroy() {
  if (monitor_ != nullptr)
    monitor_->Stop();
  // The window's timers end with it, and with them any pending refresh.
  rearmCount_ = 0;
}

void CPortDlg::resizeEvent(QResizeEvent* event) {
  Dialog::resizeEvent(event);
  if (!HasWindow() || startRects_.empty())
    return;
  const int wider = std::max(0, event->size().width() - minimumSize_.width());
  const int taller = std::max(0, event->size().height() - minimumSize_.height());
  for (int control : kGrowing)
    SetItemRect(control, startRects_[control].adjusted(0, 0, wider, taller));
  for (int control : kMovingDown)
    SetItemRect(control, startRects_[control].translated(0, taller));
  for (int control : kMovingDownAndRight)
    SetItemRect(control, startRects_[control].translated(wider, taller));
}

}  // namespace kx::dialogs
