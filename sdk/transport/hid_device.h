// A reader that presents itself as a USB HID device, reached through hidapi (hidraw backend).
// Reader frames travel in reports of the layout
//   [0] report id 0   [1] number n of data bytes   [2 .. 2+n) data   then 0x00 to the end,
// lengths counted with the report id byte. hidraw takes the id as the first byte of a write
// but returns a report of a device without numbered reports without it; this object hides that.
//
// Every call runs on the caller's thread; only IsOpen may be asked from any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "transport/hid_report_descriptor.h"
#include "transport/hidapi_library.h"

namespace kxlf {

class CHidDevice {
 public:
  CHidDevice() = default;
  ~CHidDevice() { CloseHidDevice(); }
  CHidDevice(const CHidDevice&) = delete;
  CHidDevice& operator=(const CHidDevice&) = delete;

  // Opens the accepted device whose name (HidReaderName) equals `name`. False when HID is not
  // usable, no such device is attached, it cannot be opened or its reports do not fit.
  bool OpenHidDevice(const std::string& name);
  void CloseHidDevice();
  bool IsOpen() const { return open_.load(std::memory_order_acquire); }
  const std::string& Name() const { return name_; }
  HidReportLengths ReportLengths() const { return lengths_; }

  // The control report 0x00 0x82 0x10 value, padded to the output report length.
  bool SendControlReport(uint8_t value);
  // The bytes as data reports of the output report length, in order. A count of 0 sends nothing.
  bool WriteFrame(const uint8_t* bytes, size_t count);
  // The data bytes of one input report, at most `capacity` of them (the rest of that report is
  // dropped). Waits up to `waitMs` for a report to arrive (0: looks only). A read error closes
  // the device. 0 when nothing arrived.
  int ReadInput(uint8_t* buffer, int capacity, int waitMs = 0);

  // Appends the names of all attached accepted devices that the list does not hold yet.
  static void ListHidReaders(std::vector<std::string>& list);

 private:
  const HidapiTable* api_ = nullptr;  // the binding the device was opened with
  hidapi::hid_device* device_ = nullptr;
  std::atomic<bool> open_{false};
  std::string name_;
  HidReportLengths lengths_ = kDefaultHidReportLengths;
};

// The name under which a device is opened and listed: its USB serial number in 8-bit
// characters (Latin-1; others become '?'), or "7731-????" without one, followed by " HID".
std::string HidReaderName(const wchar_t* serialNumber);

}  // namespace kxlf
