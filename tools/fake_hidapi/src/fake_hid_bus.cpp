#include "fake_hid_bus.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kxfake {
namespace {

constexpr const char* kLocalPathPrefix = "kxfake:";
constexpr size_t kPacketCapacity = 256;

// The serial number as hidraw gives it: a wide string, decoded from UTF-8.
std::wstring Widen(const std::string& text) {
  std::wstring wide;
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    uint32_t code = extra == 0 ? byte : byte & (0x3F >> extra);
    ++i;
    for (; extra > 0 && i < text.size(); --extra, ++i)
      code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    wide.push_back(static_cast<wchar_t>(code));
  }
  return wide;
}

wchar_t* CopyWide(const std::wstring& text) {
  auto* copy = static_cast<wchar_t*>(std::calloc(text.size() + 1, sizeof(wchar_t)));
  std::copy(text.begin(), text.end(), copy);
  return copy;
}

hid_device_info* NewInfo(const std::string& path, const kxemu::HidIdentity& identity) {
  auto* info = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
  info->path = strdup(path.c_str());
  info->vendor_id = identity.vendorId;
  info->product_id = identity.productId;
  // Like hidraw: an empty text for a device without a serial number string.
  info->serial_number = CopyWide(identity.serial ? Widen(*identity.serial) : std::wstring());
  info->manufacturer_string = CopyWide(L"Orv");
  info->product_string = CopyWide(L"KX reader");
  info->usage_page = 0xFF00;
  info->usage = 1;
  info->interface_number = 0;
  return info;
}

std::string BusFolder() {
  const char* folder = std::getenv("KX_FAKE_HID_BUS");
  return folder != nullptr ? folder : "";
}

std::optional<kxemu::HidIdentity> ReadIdentity(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return in ? kxemu::ParseHidIdentity(text.str()) : std::nullopt;
}

}  // namespace

std::string LocalHidDevice::Path() const {
  return hidrawNode >= 0 ? "/dev/hidraw" + std::to_string(hidrawNode)
                         : kLocalPathPrefix + std::to_string(id);
}

FakeHidBus& FakeHidBus::Instance() {
  static FakeHidBus bus;
  return bus;
}

FakeHidBus::FakeHidBus() {
  AddFromEnvironment();
}

void FakeHidBus::AddFromEnvironment() {
  const char* readers = std::getenv("KX_FAKE_HID_READERS");
  if (readers == nullptr)
    return;
  std::stringstream list(readers);
  std::string serial;
  while (std::getline(list, serial, ',')) {
    kxemu::HidIdentity identity;
    if (!serial.empty())
      identity.serial = serial;
    devices_.push_back(
        std::make_shared<LocalHidDevice>(nextId_++, identity, kxemu::ReaderConfig{}));
  }
}

hid_device_info* FakeHidBus::Enumerate(unsigned short vendor, unsigned short product) {
  std::vector<hid_device_info*> found;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& device : devices_)
      found.push_back(NewInfo(device->Path(), device->identity));
  }
  const std::string folder = BusFolder();
  if (!folder.empty()) {
    std::error_code error;
    std::vector<std::filesystem::path> infos;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
      if (it->path().extension() == ".info")
        infos.push_back(it->path());
    }
    std::sort(infos.begin(), infos.end());
    for (const auto& info : infos) {
      if (const std::optional<kxemu::HidIdentity> identity = ReadIdentity(info)) {
        std::filesystem::path socket = info;
        socket.replace_extension(".sock");
        found.push_back(NewInfo(socket.string(), *identity));
      }
    }
  }
  hid_device_info* first = nullptr;
  hid_device_info** next = &first;
  for (hid_device_info* info : found) {
    if ((vendor != 0 && info->vendor_id != vendor) ||
        (product != 0 && info->product_id != product)) {
      FreeEnumeration(info);
      continue;
    }
    *next = info;
    next = &info->next;
  }
  return first;
}

void FakeHidBus::FreeEnumeration(hid_device_info* devices) {
  while (devices != nullptr) {
    hid_device_info* next = devices->next;
    std::free(devices->path);
    std::free(devices->serial_number);
    std::free(devices->manufacturer_string);
    std::free(devices->product_string);
    std::free(devices);
    devices = next;
  }
}

OpenHid* FakeHidBus::Open(const char* path) {
  if (path == nullptr)
    return nullptr;
  const std::string text = path;
  if (text.rfind(kLocalPathPrefix, 0) == 0 || text.rfind("/dev/hidraw", 0) == 0) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = std::find_if(devices_.begin(), devices_.end(),
                                    [&](const auto& device) { return device->Path() == text; });
    if (found == devices_.end())
      return nullptr;
    const std::shared_ptr<LocalHidDevice> device = *found;
    auto* handle = new OpenHid;
    handle->local = device;
    handle->identity = device->identity;
    ++device->openCount;
    open_.push_back(handle);
    return handle;
  }
  std::filesystem::path info = text;
  info.replace_extension(".info");
  const std::optional<kxemu::HidIdentity> identity = ReadIdentity(info);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (!identity || text.size() >= sizeof(address.sun_path))
    return nullptr;
  std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return nullptr;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return nullptr;
  }
  auto* handle = new OpenHid;
  handle->remote = fd;
  handle->identity = *identity;
  return handle;
}

void FakeHidBus::Close(OpenHid* handle) {
  if (handle == nullptr)
    return;
  if (handle->remote >= 0) {
    close(handle->remote);
  } else {
    std::lock_guard<std::mutex> lock(mutex_);
    --handle->local->openCount;
    open_.erase(std::remove(open_.begin(), open_.end(), handle), open_.end());
  }
  delete handle;
}

int FakeHidBus::Write(OpenHid* handle, const unsigned char* data, size_t length) {
  if (handle == nullptr || data == nullptr)
    return -1;
  const kxemu::OutputReport report =
      kxemu::ParseOutputReport(data, length, handle->identity.outputLength);
  if (handle->remote >= 0) {
    if (report.kind == kxemu::OutputReport::Kind::kInvalid)
      return -1;
    const ssize_t sent = send(handle->remote, data, length, MSG_NOSIGNAL);
    return sent == static_cast<ssize_t>(length) ? static_cast<int>(length) : -1;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  LocalHidDevice& device = *handle->local;
  if (!device.plugged) {
    handle->lastError = L"No such device";
    return -1;
  }
  switch (report.kind) {
    case kxemu::OutputReport::Kind::kInvalid:
      // hidraw passes on what it gets; the reader's endpoint refuses a report of another size.
      handle->lastError = L"Broken pipe";
      return -1;
    case kxemu::OutputReport::Kind::kControl:
      if (device.faults.failControl) {
        handle->lastError = L"Input/output error";
        return -1;
      }
      device.controlValues.push_back(report.controlValue);
      return static_cast<int>(length);
    case kxemu::OutputReport::Kind::kData:
      break;
  }
  if (device.faults.failWrites) {
    handle->lastError = L"Input/output error";
    return -1;
  }
  Clock::time_point due = std::max(Clock::now(), device.lastDue);
  for (kxemu::AnswerPiece& piece : device.model.Receive(report.data.data(), report.data.size())) {
    due += piece.pauseBefore;
    device.pending.push_back({due, std::move(piece.bytes)});
  }
  device.lastDue = due;
  changed_.notify_all();
  return static_cast<int>(length);
}

void FakeHidBus::DeliverDue(LocalHidDevice& device) {
  const Clock::time_point now = Clock::now();
  while (!device.pending.empty() && device.pending.front().due <= now) {
    for (const kxemu::Bytes& report :
         kxemu::InputReports(device.pending.front().bytes, device.identity.inputLength,
                             device.faults.countExcess)) {
      for (OpenHid* handle : open_) {
        if (handle->local.get() == &device)
          handle->reports.push_back(report);
      }
    }
    device.pending.pop_front();
  }
}

int FakeHidBus::Read(OpenHid* handle, unsigned char* data, size_t length, int milliseconds) {
  if (handle == nullptr || data == nullptr)
    return -1;
  if (handle->remote >= 0)
    return ReadRemote(*handle, data, length, milliseconds);
  std::unique_lock<std::mutex> lock(mutex_);
  return ReadLocal(lock, *handle, data, length, milliseconds);
}

int FakeHidBus::ReadLocal(std::unique_lock<std::mutex>& lock, OpenHid& handle, unsigned char* data,
                          size_t length, int milliseconds) {
  const Clock::time_point deadline = milliseconds < 0
                                         ? Clock::time_point::max()
                                         : Clock::now() + std::chrono::milliseconds(milliseconds);
  LocalHidDevice& device = *handle.local;
  for (;;) {
    if (!device.plugged || device.faults.failReads) {
      handle.lastError = device.plugged ? L"Input/output error" : L"No such device";
      return -1;
    }
    DeliverDue(device);
    if (!handle.reports.empty()) {
      const kxemu::Bytes& report = handle.reports.front();
      const size_t count = std::min(length, report.size());
      std::copy_n(report.begin(), count, data);
      handle.reports.pop_front();
      return static_cast<int>(count);
    }
    const Clock::time_point now = Clock::now();
    if (now >= deadline)
      return 0;
    Clock::time_point wake = deadline;
    if (!device.pending.empty())
      wake = std::min(wake, device.pending.front().due);
    changed_.wait_until(lock, wake);
  }
}

int FakeHidBus::ReadRemote(OpenHid& handle, unsigned char* data, size_t length, int milliseconds) {
  if (handle.reports.empty()) {
    pollfd fd{handle.remote, POLLIN, 0};
    const int ready = poll(&fd, 1, milliseconds);
    if (ready < 0)
      return -1;
    if (ready == 0)
      return 0;
    kxemu::Bytes packet(kPacketCapacity);
    const ssize_t size = recv(handle.remote, packet.data(), packet.size(), 0);
    if (size <= 0) {
      handle.lastError = L"No such device";
      return -1;
    }
    packet.resize(static_cast<size_t>(size));
    handle.reports.push_back(std::move(packet));
  }
  const kxemu::Bytes& report = handle.reports.front();
  const size_t count = std::min(length, report.size());
  std::copy_n(report.begin(), count, data);
  handle.reports.pop_front();
  return static_cast<int>(count);
}

int FakeHidBus::Descriptor(OpenHid* handle, unsigned char* buffer, size_t size) {
  if (handle == nullptr || buffer == nullptr)
    return -1;
  const kxemu::Bytes descriptor =
      kxemu::ReaderReportDescriptor(handle->identity.inputLength, handle->identity.outputLength);
  if (size < descriptor.size())
    return -1;
  std::copy(descriptor.begin(), descriptor.end(), buffer);
  return static_cast<int>(descriptor.size());
}

const wchar_t* FakeHidBus::Error(OpenHid* handle) {
  if (handle == nullptr)
    return L"Success";
  return handle->lastError.empty() ? L"Success" : handle->lastError.c_str();
}

std::shared_ptr<LocalHidDevice> FakeHidBus::Find(int device) {
  for (const auto& entry : devices_) {
    if (entry->id == device)
      return entry;
  }
  return nullptr;
}

void FakeHidBus::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& device : devices_)
    device->plugged = false;
  devices_.clear();
  AddFromEnvironment();
  changed_.notify_all();
}

int FakeHidBus::Add(const KxFakeHidDevice& device) {
  kxemu::HidIdentity identity;
  identity.vendorId = device.vendorId;
  identity.productId = device.productId;
  if (device.serial != nullptr)
    identity.serial = device.serial;
  identity.inputLength = device.inputReportLength;
  identity.outputLength = device.outputReportLength;
  std::lock_guard<std::mutex> lock(mutex_);
  const int id = nextId_++;
  devices_.push_back(std::make_shared<LocalHidDevice>(
      id, identity, device.config != nullptr ? *device.config : kxemu::ReaderConfig{}));
  devices_.back()->hidrawNode = device.hidrawNode;
  return id;
}

bool FakeHidBus::Unplug(int device) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::shared_ptr<LocalHidDevice> found = Find(device);
  if (!found)
    return false;
  found->plugged = false;
  devices_.erase(std::remove(devices_.begin(), devices_.end(), found), devices_.end());
  changed_.notify_all();
  return true;
}

kxemu::ReaderModel* FakeHidBus::Model(int device) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::shared_ptr<LocalHidDevice> found = Find(device);
  return found ? &found->model : nullptr;
}

bool FakeHidBus::SetFaults(int device, const KxFakeHidFaults& faults) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::shared_ptr<LocalHidDevice> found = Find(device);
  if (!found)
    return false;
  found->faults = faults;
  changed_.notify_all();
  return true;
}

int FakeHidBus::ControlValues(int device, uint8_t* values, int capacity) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::shared_ptr<LocalHidDevice> found = Find(device);
  if (!found)
    return -1;
  const int count = static_cast<int>(found->controlValues.size());
  std::copy_n(found->controlValues.begin(), std::clamp(count, 0, std::max(capacity, 0)), values);
  return count;
}

int FakeHidBus::OpenCount(int device) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::shared_ptr<LocalHidDevice> found = Find(device);
  return found ? found->openCount : -1;
}

}  // namespace kxfake
