#include "transport/ftdi_line.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "debug_log.h"

namespace kxlf {

using namespace d2xx;

namespace {

// What the system's GetLastError reports for a call on a handle that is not open.
constexpr int kErrorInvalidHandle = 6;

// The worker only polls and never waits for comm events; the mask still names the events it
// watches, as it does for a COM port.
constexpr DWORD kWatchedEvents =
    EV_RXCHAR | EV_TXEMPTY | EV_CTS | EV_DSR | EV_RLSD | EV_BREAK | EV_ERR | EV_RING;

bool ParityByte(char parity, BYTE& value) {
  switch (std::toupper(static_cast<unsigned char>(parity))) {
    case 'N':
      value = NOPARITY;
      return true;
    case 'E':
      value = EVENPARITY;
      return true;
    case 'O':
      value = ODDPARITY;
      return true;
    default:
      return false;
  }
}

// Applies baud rate, parity, data and stop bits the way the system applies a definition text
// "baud=.. parity=.. data=.. stop=..". False, leaving the structure alone, for values that
// such a text could not carry.
bool ApplyLineSettings(const LineSettings& settings, FTDCB& dcb) {
  BYTE parity = NOPARITY;
  if (settings.baudRate <= 0 || !ParityByte(settings.parity, parity) || settings.dataBits < 5 ||
      settings.dataBits > 8 || (settings.stopBits != 1 && settings.stopBits != 2)) {
    return false;
  }
  dcb.BaudRate = static_cast<DWORD>(settings.baudRate);
  dcb.Parity = parity;
  dcb.fParity = parity != NOPARITY;
  dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
  dcb.StopBits = settings.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
  return true;
}

void DisableFlowControl(FTDCB& dcb) {
  dcb.fBinary = 1;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fOutxCtsFlow = 0;
  dcb.fOutxDsrFlow = 0;
  dcb.fDsrSensitivity = 0;
  dcb.fTXContinueOnXoff = 1;
  dcb.fOutX = 0;
  dcb.fInX = 0;
  dcb.fNull = 0;
  dcb.fAbortOnError = 0;
}

}  // namespace

FtdiLine::~FtdiLine() {
  Close();
}

bool FtdiLine::Open(const std::string& device) {
  Close();
  FT_HANDLE handle =
      d2xx_.FT_W32_CreateFile(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FT_OPEN_BY_SERIAL_NUMBER, nullptr);
  if (handle == nullptr || handle == InvalidHandleValue())
    return false;
  handle_.store(handle);
  // A short latency timer hands small answers over at once instead of after the default 16 ms.
  d2xx_.FT_SetLatencyTimer(handle, 2);
  return true;
}

bool FtdiLine::Configure(const LineSettings& settings) {
  FT_HANDLE handle = handle_.load();
  if (handle == nullptr)
    return false;
  bool applied = true;

  // Reads return at once with what is waiting; writes block until the driver has the bytes.
  FTTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
  applied &= d2xx_.FT_W32_SetCommTimeouts(handle, &timeouts) != kFalse;
  applied &= d2xx_.FT_W32_SetCommMask(handle, kWatchedEvents) != kFalse;

  FTDCB dcb{};
  if (d2xx_.FT_W32_GetCommState(handle, &dcb) == kFalse) {
    applied = false;
  } else {
    dcb.DCBlength = sizeof(FTDCB);
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    const bool valid = ApplyLineSettings(settings, dcb);
    if (valid)
      DisableFlowControl(dcb);
    if (!valid || d2xx_.FT_W32_SetCommState(handle, &dcb) == kFalse) {
      // The line keeps its previous settings; the reader's answer decides whether they do.
      DebugLog("Fehler: Baudrate " + std::to_string(settings.baudRate) +
               " wird vom Treiber abgelehnt");
      applied = false;
    }
  }

  applied &= d2xx_.FT_W32_PurgeComm(handle, PURGE_TXCLEAR | PURGE_RXCLEAR) != kFalse;
  return applied;
}

void FtdiLine::Close() {
  FT_HANDLE handle = handle_.exchange(nullptr);
  if (handle != nullptr)
    d2xx_.FT_W32_CloseHandle(handle);
}

bool FtdiLine::QueryStatus(LineStatus& status) {
  FT_HANDLE handle = handle_.load();
  if (handle == nullptr)
    return false;
  DWORD errors = 0;
  FTCOMSTAT comStat{};
  if (d2xx_.FT_W32_ClearCommError(handle, &errors, &comStat) == kFalse)
    return false;
  status.errors = errors;
  status.bytesWaiting = comStat.cbInQue;
  status.bytesQueued = comStat.cbOutQue;
  return true;
}

bool FtdiLine::QueryModemLines(uint32_t& lines) {
  FT_HANDLE handle = handle_.load();
  if (handle == nullptr)
    return false;
  DWORD modemStatus = 0;
  if (d2xx_.FT_W32_GetCommModemStatus(handle, &modemStatus) == kFalse)
    return false;
  lines = modemStatus & (kModemCts | kModemDsr | kModemRing | kModemRlsd);
  return true;
}

int FtdiLine::Read(uint8_t* buffer, size_t size, int& errorCode) {
  FT_HANDLE handle = handle_.load();
  if (handle == nullptr) {
    errorCode = kErrorInvalidHandle;
    return -1;
  }
  // The result is an int, so one read never asks for more than an int can count.
  const DWORD wanted = static_cast<DWORD>(std::min<size_t>(size, 0x7FFFFFFF));
  DWORD got = 0;
  if (d2xx_.FT_W32_ReadFile(handle, buffer, wanted, &got, nullptr) == kFalse) {
    errorCode = static_cast<int>(d2xx_.FT_W32_GetLastError(handle));
    return -1;
  }
  return static_cast<int>(std::min(got, wanted));
}

WriteOutcome FtdiLine::Write(const uint8_t* data, size_t size) {
  WriteOutcome outcome;
  FT_HANDLE handle = handle_.load();
  while (outcome.written < size) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - outcome.written, MAXDWORD));
    DWORD written = 0;
    // The library takes a non-const buffer but only reads from it.
    if (handle == nullptr ||
        d2xx_.FT_W32_WriteFile(handle, const_cast<uint8_t*>(data + outcome.written), chunk,
                               &written, nullptr) == kFalse ||
        written == 0) {
      outcome.failed = true;
      break;
    }
    outcome.written += std::min(written, chunk);
  }
  return outcome;
}

}  // namespace kxlf
