// The simulated USB bus behind the test build of the D2XX library: FTDI devices with a serial
// number, each with an emulated reader behind it, and the handles open on them. Every exported
// function goes through the one bus object under its lock, so the SDK's worker thread and the
// test's thread may call in at the same time.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "kx_fake_ftd2xx/fake_ftdi_control.h"
#include "kxemu/reader_model.h"
#include "transport/ftd2xx_api.h"

namespace kxfake {

namespace d2xx = kxlf::d2xx;
using Clock = std::chrono::steady_clock;

struct FakeDevice {
  FakeDevice(std::string serialNumber, std::string productDescription, d2xx::DWORD vendor,
             d2xx::DWORD product, const kxemu::ReaderConfig& config);

  // Hands host bytes to the reader and schedules its answer pieces after their pauses. An
  // answer never overtakes bytes that are still due from an earlier one.
  void Feed(const uint8_t* data, size_t size);
  // Moves the answer bytes whose time has come into the receive queue.
  void DeliverDue();

  std::string serial;
  std::string description;
  d2xx::DWORD vendorId;
  d2xx::DWORD productId;
  kxemu::ReaderModel model;
  bool plugged = true;
  uintptr_t handle = 0;  // 0 while nobody has the device open
  d2xx::DWORD lastError = 0;
  KxFakeFtdiSettings settings;

  struct DuePiece {
    Clock::time_point due;
    kxemu::Bytes bytes;
  };
  std::deque<DuePiece> pending;
  std::deque<uint8_t> received;  // arrived at the host side, not read yet
  Clock::time_point lastDue{};
};

class FakeDeviceBus {
 public:
  static FakeDeviceBus& Instance();

  FakeDeviceBus();

  // Runs `action(device)` under the lock for the device open on `handle` and returns its
  // result. An unknown handle gives `unknownHandle`; a handle on an unplugged device gives
  // `unplugged` and leaves FT_IO_ERROR as the device's last error.
  template <typename Result, typename Action>
  Result OnOpenDevice(d2xx::FT_HANDLE handle, Result unknownHandle, Result unplugged,
                      Action&& action) {
    std::lock_guard<std::mutex> lock(mutex_);
    FakeDevice* device = Find(handle);
    if (device == nullptr)
      return unknownHandle;
    if (!device->plugged) {
      device->lastError = d2xx::FT_IO_ERROR;
      return unplugged;
    }
    return action(*device);
  }
  template <typename Result, typename Action>
  Result OnOpenDevice(d2xx::FT_HANDLE handle, Result failed, Action&& action) {
    return OnOpenDevice(handle, failed, failed, std::forward<Action>(action));
  }

  d2xx::FT_HANDLE Open(const char* serial, const KxFakeFtdiSettings& openArguments);
  bool Close(d2xx::FT_HANDLE handle);
  d2xx::DWORD LastError(d2xx::FT_HANDLE handle);
  d2xx::FT_STATUS CreateDeviceInfoList(d2xx::DWORD* count);
  d2xx::FT_STATUS GetDeviceInfoList(d2xx::FT_DEVICE_LIST_INFO_NODE* records, d2xx::DWORD* count);
  d2xx::FT_STATUS SetVidPid(d2xx::DWORD vendor, d2xx::DWORD product);
  d2xx::FT_STATUS GetVidPid(d2xx::DWORD* vendor, d2xx::DWORD* product);

  void Reset();
  bool AddDevice(const std::string& serial, const std::string& description, d2xx::DWORD vendor,
                 d2xx::DWORD product, const kxemu::ReaderConfig& config);
  bool Unplug(const std::string& serial);
  kxemu::ReaderModel* Model(const std::string& serial);
  bool Settings(const std::string& serial, KxFakeFtdiSettings& settings);

 private:
  FakeDevice* Find(d2xx::FT_HANDLE handle);
  FakeDevice* FindPlugged(const std::string& serial);
  void AddDefaultDevice();
  // Like the vendor's library: a device is seen only when its ids are in the library's own
  // table or are the pair named last with FT_SetVIDPID.
  bool Visible(const FakeDevice& device) const;
  std::vector<FakeDevice*> VisibleDevices() const;

  std::mutex mutex_;
  std::vector<std::shared_ptr<FakeDevice>> devices_;  // plugged in, in plug order
  // Handles stay valid after an unplug (calls on them fail) until they are closed.
  std::map<uintptr_t, std::shared_ptr<FakeDevice>> handles_;
  uintptr_t nextHandle_ = 0x1000;
  d2xx::DWORD listedCount_ = 0;    // devices counted by the last FT_CreateDeviceInfoList
  d2xx::DWORD lastOpenError_ = 0;  // what a failed open leaves for FT_W32_GetLastError
  d2xx::DWORD namedVendor_ = 0;    // FT_SetVIDPID's pair; none after loading
  d2xx::DWORD namedProduct_ = 0;
};

}  // namespace kxfake
