#include "transport/hid_device.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

#include "debug_log.h"
#include "transport/com_port_list.h"
#include "transport/usb_reader_ids.h"

namespace kxlf {
namespace {

constexpr uint8_t kControlReportCode = 0x82;
constexpr uint8_t kControlReportSubcode = 0x10;
constexpr size_t kControlReportMinimum = 4;
// Offsets in a report counted with its id byte.
constexpr size_t kCountOffset = 1;
constexpr size_t kDataOffset = 2;
// Descriptors are at most 4096 bytes long (HID_MAX_DESCRIPTOR_SIZE of the kernel).
constexpr size_t kMaxDescriptorSize = 4096;

std::string Narrow(const wchar_t* text) {
  std::string narrow;
  for (; *text != L'\0'; ++text) {
    const auto code = static_cast<unsigned long>(*text);
    narrow.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
  }
  return narrow;
}

std::string LibraryReason(const HidapiTable& api, hidapi::hid_device* device) {
  if (api.hid_error == nullptr)
    return {};
  const wchar_t* reason = api.hid_error(device);
  return reason == nullptr ? std::string() : ": " + Narrow(reason);
}

std::optional<HidReportLengths> DescriptorLengths(const HidapiTable& api,
                                                  hidapi::hid_device* device,
                                                  const std::string& path) {
  std::vector<uint8_t> descriptor(kMaxDescriptorSize);
  if (api.hid_get_report_descriptor != nullptr) {
    const int size = api.hid_get_report_descriptor(device, descriptor.data(), descriptor.size());
    if (size > 0)
      return ParseReportDescriptor(descriptor.data(), static_cast<size_t>(size));
  }
  const std::string file = HidrawDescriptorFile(path, SysfsRoot().string());
  if (file.empty())
    return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in)
    return std::nullopt;
  in.read(reinterpret_cast<char*>(descriptor.data()),
          static_cast<std::streamsize>(descriptor.size()));
  if (in.gcount() <= 0)
    return std::nullopt;
  return ParseReportDescriptor(descriptor.data(), static_cast<size_t>(in.gcount()));
}

// The enumeration's accepted devices, in its order: name and path.
std::vector<std::pair<std::string, std::string>> AcceptedDevices(const HidapiTable& api) {
  std::vector<std::pair<std::string, std::string>> devices;
  hidapi::hid_device_info* all = api.hid_enumerate(0, 0);
  for (const hidapi::hid_device_info* info = all; info != nullptr; info = info->next) {
    if (info->path == nullptr ||
        !IsUsbReader(UsbReaderKind::kHid, info->vendor_id, info->product_id))
      continue;
    devices.emplace_back(HidReaderName(info->serial_number), info->path);
  }
  if (all != nullptr)
    api.hid_free_enumeration(all);
  return devices;
}

}  // namespace

std::string HidReaderName(const wchar_t* serialNumber) {
  // hidraw gives an empty text for a device without a serial number string.
  std::string name =
      serialNumber != nullptr && *serialNumber != L'\0' ? Narrow(serialNumber) : "7731-????";
  return name + " HID";
}

bool CHidDevice::OpenHidDevice(const std::string& name) {
  CloseHidDevice();
  const HidapiTable* api = BoundHidapi();
  if (api == nullptr)
    return false;
  std::string path;
  for (const auto& [deviceName, devicePath] : AcceptedDevices(*api)) {
    if (deviceName == name) {
      path = devicePath;
      break;
    }
  }
  if (path.empty())
    return false;
  hidapi::hid_device* device = api->hid_open_path(path.c_str());
  if (device == nullptr) {
    DebugLog("Fehler: Kann " + path + " nicht öffnen" + LibraryReason(*api, nullptr));
    return false;
  }
  const std::optional<HidReportLengths> lengths = DescriptorLengths(*api, device, path);
  if (!lengths)
    DebugLog("Berichtsbeschreibung von " + path + " nicht lesbar, 9-Byte-Berichte angenommen");
  const HidReportLengths used = lengths.value_or(kDefaultHidReportLengths);
  if (!HidReportLengthsSupported(used)) {
    DebugLog("Fehler: " + path + " hat Berichte von " + std::to_string(used.input) + " / " +
             std::to_string(used.output) + " Byte, nicht unterstützt");
    api->hid_close(device);
    return false;
  }
  api_ = api;
  device_ = device;
  lengths_ = used;
  name_ = name;
  open_.store(true, std::memory_order_release);
  return true;
}

void CHidDevice::CloseHidDevice() {
  if (device_ == nullptr)
    return;
  open_.store(false, std::memory_order_release);
  api_->hid_close(device_);
  device_ = nullptr;
  api_ = nullptr;
}

bool CHidDevice::SendControlReport(uint8_t value) {
  if (device_ == nullptr)
    return false;
  std::vector<uint8_t> report(std::max<size_t>(lengths_.output, kControlReportMinimum), 0);
  report[1] = kControlReportCode;
  report[2] = kControlReportSubcode;
  report[3] = value;
  return api_->hid_write(device_, report.data(), report.size()) == static_cast<int>(report.size());
}

bool CHidDevice::WriteFrame(const uint8_t* bytes, size_t count) {
  if (device_ == nullptr)
    return false;
  const size_t piece = static_cast<size_t>(lengths_.output) - kDataOffset;
  std::vector<uint8_t> report(static_cast<size_t>(lengths_.output));
  for (size_t sent = 0; sent < count; sent += piece) {
    const size_t n = std::min(piece, count - sent);
    std::fill(report.begin(), report.end(), 0);
    report[kCountOffset] = static_cast<uint8_t>(n);
    std::copy_n(bytes + sent, n, report.begin() + kDataOffset);
    if (api_->hid_write(device_, report.data(), report.size()) != static_cast<int>(report.size())) {
      DebugLog("Fehler: Schreiben auf " + name_ + " gescheitert" + LibraryReason(*api_, device_));
      return false;
    }
  }
  return true;
}

int CHidDevice::ReadInput(uint8_t* buffer, int capacity, int waitMs) {
  if (device_ == nullptr)
    return 0;
  // hidraw returns the report without its id byte: what arrives starts at the count byte.
  std::array<uint8_t, kMaxHidInputReport> report{};
  const int received = api_->hid_read_timeout(device_, report.data(),
                                              static_cast<size_t>(lengths_.input - 1), waitMs);
  if (received < 0) {
    DebugLog("Fehler: Lesen von " + name_ + " gescheitert" + LibraryReason(*api_, device_));
    CloseHidDevice();
    return 0;
  }
  const int transferred = received + 1;
  if (received == 0 || transferred < lengths_.input)
    return 0;
  // A count byte that claims more than the report holds delivers what is there.
  const int present = std::min<int>(report[0], transferred - static_cast<int>(kDataOffset));
  const int copied = std::clamp(present, 0, std::max(capacity, 0));
  std::copy_n(report.begin() + 1, copied, buffer);
  return copied;
}

void CHidDevice::ListHidReaders(std::vector<std::string>& list) {
  const HidapiTable* api = BoundHidapi();
  if (api == nullptr)
    return;
  for (const auto& [name, path] : AcceptedDevices(*api)) {
    if (std::find(list.begin(), list.end(), name) == list.end())
      list.push_back(name);
  }
}

}  // namespace kxlf
