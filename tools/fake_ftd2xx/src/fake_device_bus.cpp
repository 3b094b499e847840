#include "fake_device_bus.h"

#include <algorithm>
#include <cstring>

namespace kxfake {

using namespace kxlf::d2xx;

namespace {

constexpr const char* kDefaultSerial = "FT123456";
constexpr const char* kDefaultDescription = "KX Reader USB";
// What an FT232R reports in a device list record.
constexpr ULONG kDeviceType232R = 5;
constexpr ULONG kFlagOpened = 1;

// The ids the library finds without being told: FTDI's own converters.
constexpr DWORD kFtdiVendor = 0x0403;
constexpr DWORD kBuiltInProducts[] = {0x6001, 0x6006, 0x6010, 0x6011, 0x6014, 0x6015};

FT_HANDLE ToHandle(uintptr_t id) {
  return reinterpret_cast<FT_HANDLE>(id);
}

// A converter fresh from the factory runs 9600 baud, 8 data bits, no parity, one stop bit.
FTDCB FactoryLineSettings() {
  FTDCB dcb{};
  dcb.DCBlength = sizeof(FTDCB);
  dcb.BaudRate = 9600;
  dcb.fBinary = 1;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  return dcb;
}

}  // namespace

FakeDevice::FakeDevice(std::string serialNumber, std::string productDescription, DWORD vendor,
                       DWORD product, const kxemu::ReaderConfig& config)
    : serial(std::move(serialNumber)),
      description(std::move(productDescription)),
      vendorId(vendor),
      productId(product),
      model(config) {
  settings.dcb = FactoryLineSettings();
}

void FakeDevice::Feed(const uint8_t* data, size_t size) {
  Clock::time_point due = std::max(Clock::now(), lastDue);
  for (kxemu::AnswerPiece& piece : model.Receive(data, size)) {
    due += piece.pauseBefore;
    pending.push_back({due, std::move(piece.bytes)});
  }
  lastDue = due;
}

void FakeDevice::DeliverDue() {
  const Clock::time_point now = Clock::now();
  while (!pending.empty() && pending.front().due <= now) {
    received.insert(received.end(), pending.front().bytes.begin(), pending.front().bytes.end());
    pending.pop_front();
  }
}

FakeDeviceBus& FakeDeviceBus::Instance() {
  static FakeDeviceBus bus;
  return bus;
}

FakeDeviceBus::FakeDeviceBus() {
  AddDefaultDevice();
}

void FakeDeviceBus::AddDefaultDevice() {
  devices_.push_back(
      std::make_shared<FakeDevice>(kDefaultSerial, kDefaultDescription, KX_FAKE_FTDI_READER_VENDOR,
                                   KX_FAKE_FTDI_READER_PRODUCT, kxemu::ReaderConfig{}));
}

bool FakeDeviceBus::Visible(const FakeDevice& device) const {
  if (device.vendorId == namedVendor_ && device.productId == namedProduct_)
    return true;
  return device.vendorId == kFtdiVendor &&
         std::find(std::begin(kBuiltInProducts), std::end(kBuiltInProducts), device.productId) !=
             std::end(kBuiltInProducts);
}

std::vector<FakeDevice*> FakeDeviceBus::VisibleDevices() const {
  std::vector<FakeDevice*> visible;
  for (const auto& device : devices_) {
    if (Visible(*device))
      visible.push_back(device.get());
  }
  return visible;
}

FT_STATUS FakeDeviceBus::SetVidPid(DWORD vendor, DWORD product) {
  std::lock_guard<std::mutex> lock(mutex_);
  namedVendor_ = vendor;
  namedProduct_ = product;
  return FT_OK;
}

FT_STATUS FakeDeviceBus::GetVidPid(DWORD* vendor, DWORD* product) {
  if (vendor == nullptr || product == nullptr)
    return FT_INVALID_PARAMETER;
  std::lock_guard<std::mutex> lock(mutex_);
  *vendor = namedVendor_;
  *product = namedProduct_;
  return FT_OK;
}

FakeDevice* FakeDeviceBus::Find(FT_HANDLE handle) {
  auto it = handles_.find(reinterpret_cast<uintptr_t>(handle));
  return it == handles_.end() ? nullptr : it->second.get();
}

FakeDevice* FakeDeviceBus::FindPlugged(const std::string& serial) {
  auto it = std::find_if(devices_.rbegin(), devices_.rend(),
                         [&](const auto& device) { return device->serial == serial; });
  return it == devices_.rend() ? nullptr : it->get();
}

FT_HANDLE FakeDeviceBus::Open(const char* serial, const KxFakeFtdiSettings& openArguments) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (serial == nullptr || *serial == '\0' ||
      (openArguments.openFlags & FT_OPEN_BY_SERIAL_NUMBER) == 0) {
    lastOpenError_ = FT_INVALID_PARAMETER;
    return InvalidHandleValue();
  }
  auto it = std::find_if(devices_.begin(), devices_.end(), [&](const auto& device) {
    return device->serial == serial && Visible(*device);
  });
  if (it == devices_.end()) {
    lastOpenError_ = FT_DEVICE_NOT_FOUND;
    return InvalidHandleValue();
  }
  FakeDevice& device = **it;
  if (device.handle != 0) {  // nobody shares an open converter
    lastOpenError_ = FT_DEVICE_NOT_OPENED;
    return InvalidHandleValue();
  }
  device.handle = nextHandle_;
  nextHandle_ += 0x10;
  device.settings.open = true;
  device.settings.openAccess = openArguments.openAccess;
  device.settings.openShareMode = openArguments.openShareMode;
  device.settings.openCreation = openArguments.openCreation;
  device.settings.openFlags = openArguments.openFlags;
  device.pending.clear();
  device.received.clear();
  device.lastError = 0;
  handles_[device.handle] = *it;
  return ToHandle(device.handle);
}

bool FakeDeviceBus::Close(FT_HANDLE handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = handles_.find(reinterpret_cast<uintptr_t>(handle));
  if (it == handles_.end())
    return false;
  it->second->handle = 0;
  it->second->settings.open = false;
  handles_.erase(it);
  return true;
}

DWORD FakeDeviceBus::LastError(FT_HANDLE handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (handle == InvalidHandleValue())
    return lastOpenError_;
  FakeDevice* device = Find(handle);
  return device == nullptr ? FT_INVALID_HANDLE : device->lastError;
}

FT_STATUS FakeDeviceBus::CreateDeviceInfoList(DWORD* count) {
  if (count == nullptr)
    return FT_INVALID_PARAMETER;
  std::lock_guard<std::mutex> lock(mutex_);
  listedCount_ = static_cast<DWORD>(VisibleDevices().size());
  *count = listedCount_;
  return FT_OK;
}

FT_STATUS FakeDeviceBus::GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* records, DWORD* count) {
  if (records == nullptr || count == nullptr)
    return FT_INVALID_PARAMETER;
  std::lock_guard<std::mutex> lock(mutex_);
  // The caller sized its array from the last FT_CreateDeviceInfoList; devices plugged in since
  // then wait for the next one.
  const std::vector<FakeDevice*> visible = VisibleDevices();
  const DWORD filled = std::min(listedCount_, static_cast<DWORD>(visible.size()));
  for (DWORD i = 0; i < filled; ++i) {
    const FakeDevice& device = *visible[i];
    FT_DEVICE_LIST_INFO_NODE& record = records[i];
    record = FT_DEVICE_LIST_INFO_NODE{};
    record.Flags = device.handle != 0 ? kFlagOpened : 0;
    record.Type = kDeviceType232R;
    record.ID = (device.vendorId << 16) | device.productId;
    record.LocId = 0x1000 + i;
    // Like the converter's own field: a 16-character serial number leaves no room for a NUL.
    std::strncpy(record.SerialNumber, device.serial.c_str(), sizeof(record.SerialNumber));
    std::strncpy(record.Description, device.description.c_str(), sizeof(record.Description) - 1);
    record.ftHandle = device.handle != 0 ? ToHandle(device.handle) : nullptr;
  }
  *count = filled;
  return FT_OK;
}

void FakeDeviceBus::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& [id, device] : handles_)
    device->plugged = false;
  handles_.clear();
  devices_.clear();
  listedCount_ = 0;
  lastOpenError_ = 0;
  namedVendor_ = 0;
  namedProduct_ = 0;
  AddDefaultDevice();
}

bool FakeDeviceBus::AddDevice(const std::string& serial, const std::string& description,
                              DWORD vendor, DWORD product, const kxemu::ReaderConfig& config) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!serial.empty() && FindPlugged(serial) != nullptr)
    return false;
  devices_.push_back(std::make_shared<FakeDevice>(serial, description, vendor, product, config));
  return true;
}

bool FakeDeviceBus::Unplug(const std::string& serial) {
  std::lock_guard<std::mutex> lock(mutex_);
  FakeDevice* device = FindPlugged(serial);
  if (device == nullptr)
    return false;
  device->plugged = false;
  devices_.erase(std::find_if(devices_.begin(), devices_.end(),
                              [&](const auto& entry) { return entry.get() == device; }));
  return true;
}

kxemu::ReaderModel* FakeDeviceBus::Model(const std::string& serial) {
  std::lock_guard<std::mutex> lock(mutex_);
  FakeDevice* device = FindPlugged(serial);
  return device == nullptr ? nullptr : &device->model;
}

bool FakeDeviceBus::Settings(const std::string& serial, KxFakeFtdiSettings& settings) {
  std::lock_guard<std::mutex> lock(mutex_);
  FakeDevice* device = FindPlugged(serial);
  if (device == nullptr)
    return false;
  settings = device->settings;
  return true;
}

}  // namespace kxfake
