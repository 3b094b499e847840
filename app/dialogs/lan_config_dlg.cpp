#include "dialogs/lan_config_dlg.h"

#include <utility>

#include "dialogs/lan_entries.h"
#include "flows/lan_settings.h"
#include "framework/progress_bar.h"
#include "framework/wait_cursor.h"
#include "resources/lan_dialogs_ids.h"

namespace kx::dialogs {

namespace {

namespace id = res::lan_config_dialog;

// The texts that the SDK fills: "[NAME]-port", "a.b.c.d-port" and two dotted addresses.
constexpr int kNameTextSize = 25;
constexpr int kAddressTextSize = 25;
constexpr int kDottedTextSize = 16;

constexpr int kHighestPort = 65535;
constexpr int kProgressStep = 10;

}  // namespace

CLanConfig::CLanConfig(ui::Services& services, LanSdk& sdk, QString readerName, WaitClock& clock,
                       QWidget* parent)
    : Dialog(services, id::kDialog, parent),
      sdk_(sdk),
      clock_(clock),
      readerName_(std::move(readerName)) {
  BindClicked(id::kDhcpMode, [this] { OnModeChosen(); });
  BindClicked(id::kFixedMode, [this] { OnModeChosen(); });
}

bool CLanConfig::OnInitDialog() {
  // The controls stay empty until the reader's settings are read: no base exchange of the
  // members' first values.
  writing_ = false;
  Load();
  return true;
}

void CLanConfig::Load() {
  char name[kNameTextSize] = {};
  char address[kAddressTextSize] = {};
  char mask[kDottedTextSize] = {};
  char gateway[kDottedTextSize] = {};
  const QByteArray reader = readerName_.toLocal8Bit();
  if (sdk_.GetNetworkConfig(reader.constData(), name, address, mask, gateway) != 0)
    return;
  const flows::LanSettings settings = flows::SettingsFromConfigTexts(name, address, mask, gateway);
  mode_ = settings.dhcp ? kDhcpMode : kFixedMode;
  fixedAddress_ = QString::fromLocal8Bit(settings.address);
  port_ = settings.port;
  dhcpName_ = QString::fromLocal8Bit(settings.dhcpName);
  subnetMask_ = QString::fromLocal8Bit(settings.mask);
  gateway_ = QString::fromLocal8Bit(settings.gateway);
  UpdateData(false);
}

void CLanConfig::DoDataExchange(ui::DataExchange& dx) {
  dx.Radio(id::kDhcpMode, mode_);
  dx.Text(id::kDhcpName, dhcpName_);
  dx.MaxChars(dhcpName_, static_cast<int>(flows::kLongestDhcpName));
  // Both port edits show the one port; only the edit of the mode in use counts.
  if (dx.Saving()) {
    dx.Text(mode_ == kDhcpMode ? id::kDhcpPort : id::kAddressPort, port_);
  } else {
    dx.Text(id::kDhcpPort, port_);
    dx.Text(id::kAddressPort, port_);
  }
  // The reader keeps its port in 16 bits; a larger number would silently become another port.
  dx.MinMax(port_, 0, kHighestPort);
  dx.IpAddress(id::kAddress, fixedAddress_);
  dx.IpAddress(id::kSubnetMask, subnetMask_);
  dx.IpAddress(id::kGateway, gateway_);
  EnableForMode();
}

void CLanConfig::OnModeChosen() {
  // The exchange ends with the enabling of the mode taken over.
  UpdateData(true);
}

void CLanConfig::EnableForMode() {
  // Before a mode is known both sets of fields stay open.
  const bool dhcp = mode_ != kFixedMode;
  const bool fixed = mode_ != kDhcpMode;
  EnableItem(id::kDhcpName, dhcp);
  EnableItem(id::kDhcpPort, dhcp);
  EnableItem(id::kAddress, fixed);
  EnableItem(id::kAddressPort, fixed);
}

void CLanConfig::OnOK() {
  if (writing_ || !UpdateData(true))
    return;
  flows::LanSettings wanted;
  wanted.dhcp = mode_ == kDhcpMode;
  wanted.port = port_;
  if (wanted.dhcp) {
    wanted.dhcpName = dhcpName_.toLocal8Bit().toStdString();
  } else {
    // Without a mode chosen only a fixed address says where the reader is to be.
    if (!IsUsableFixedAddress(fixedAddress_)) {
      MessageBox(LoadString(id::kInvalidAddress));
      FocusItem(id::kAddress);
      return;
    }
    wanted.address = fixedAddress_.toLocal8Bit().toStdString();
  }
  const QString addressText = QString::fromLocal8Bit(flows::AddressText(wanted));

  ui::WaitCursor wait;
  ShowWriting(true);
  const QByteArray reader = readerName_.toLocal8Bit();
  const QByteArray address = addressText.toLocal8Bit();
  const QByteArray mask = subnetMask_.toLocal8Bit();
  const QByteArray gateway = gateway_.toLocal8Bit();
  if (sdk_.SetNetworkConfig(reader.constData(), address.constData(), mask.constData(),
                            gateway.constData()) != 0) {
    MessageBox(LoadString(id::kWriteFailed));
    Load();
    ShowWriting(false);
    return;
  }
  readerName_ = addressText;
  auto* progress = ItemAs<ui::ProgressBar>(id::kProgress);
  readerReturned_ = WaitForReaderReturn(
      clock_, [&] { return sdk_.ProbeLanReader(address.constData()) >= 1; },
      [progress](int elapsedMs) { progress->SetPos(elapsedMs); });
  ShowWriting(false);
  EndDialog(ui::kIdOk);
}

void CLanConfig::ShowWriting(bool writing) {
  writing_ = writing;
  setEnabled(!writing);
  ShowItem(id::kOk, !writing);
  ShowItem(id::kCancel, !writing);
  if (writing) {
    auto* progress = ItemAs<ui::ProgressBar>(id::kProgress);
    progress->SetRange(0, kReturnWaitMs);
    progress->SetStep(kProgressStep);
    progress->SetPos(0);
  }
  ShowItem(id::kProgress, writing);
}

void CLanConfig::OnCancel() {
  // The reader is being written: closing now would leave it half configured and unawaited.
  if (writing_)
    return;
  Dialog::OnCancel();
}

}  // namespace kx::dialogs
