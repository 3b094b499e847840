// Our declarations of the D2XX library interface: the types, structures, constants and function
// signatures of the FT_ and FT_W32_ calls, as the library for Linux defines them. The SDK binds
// the library at run time, so only function-pointer types are needed there; the test build of
// the library uses the same declarations to export the functions with matching signatures.
//
// Sizes follow the library's Linux type definitions, not Windows': DWORD, ULONG, BOOL and
// FT_STATUS are 32 bits wide even on 64-bit machines, while handles are pointers.
#pragma once

#include <cstdint>

namespace kxlf::d2xx {

using DWORD = uint32_t;
using ULONG = uint32_t;
using WORD = uint16_t;
using BYTE = uint8_t;
using UCHAR = uint8_t;
using BOOL = int32_t;
using LPCSTR = const char*;

using FT_HANDLE = void*;
using FT_STATUS = ULONG;

constexpr BOOL kFalse = 0;
constexpr BOOL kTrue = 1;

// Status values of the FT_ functions (the ones this system meets).
constexpr FT_STATUS FT_OK = 0;
constexpr FT_STATUS FT_INVALID_HANDLE = 1;
constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
constexpr FT_STATUS FT_IO_ERROR = 4;
constexpr FT_STATUS FT_INVALID_PARAMETER = 6;

// FT_W32_CreateFile arguments.
constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FT_OPEN_BY_SERIAL_NUMBER = 1;
inline FT_HANDLE InvalidHandleValue() {
  return reinterpret_cast<FT_HANDLE>(~uintptr_t{0});
}

// FT_W32_PurgeComm masks.
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;

// FT_W32_SetCommMask events.
constexpr DWORD EV_RXCHAR = 0x0001;
constexpr DWORD EV_TXEMPTY = 0x0004;
constexpr DWORD EV_CTS = 0x0008;
constexpr DWORD EV_DSR = 0x0010;
constexpr DWORD EV_RLSD = 0x0020;
constexpr DWORD EV_BREAK = 0x0040;
constexpr DWORD EV_ERR = 0x0080;
constexpr DWORD EV_RING = 0x0100;

// FT_W32_GetCommModemStatus bits.
constexpr DWORD MS_CTS_ON = 0x0010;
constexpr DWORD MS_DSR_ON = 0x0020;
constexpr DWORD MS_RING_ON = 0x0040;
constexpr DWORD MS_RLSD_ON = 0x0080;

// FTDCB field values.
constexpr DWORD DTR_CONTROL_ENABLE = 1;
constexpr DWORD RTS_CONTROL_ENABLE = 1;
constexpr BYTE NOPARITY = 0;
constexpr BYTE ODDPARITY = 1;
constexpr BYTE EVENPARITY = 2;
constexpr BYTE ONESTOPBIT = 0;
constexpr BYTE TWOSTOPBITS = 2;

constexpr DWORD MAXDWORD = 0xFFFFFFFFu;

struct FTDCB {
  DWORD DCBlength;
  DWORD BaudRate;
  DWORD fBinary : 1;
  DWORD fParity : 1;
  DWORD fOutxCtsFlow : 1;
  DWORD fOutxDsrFlow : 1;
  DWORD fDtrControl : 2;
  DWORD fDsrSensitivity : 1;
  DWORD fTXContinueOnXoff : 1;
  DWORD fOutX : 1;
  DWORD fInX : 1;
  DWORD fErrorChar : 1;
  DWORD fNull : 1;
  DWORD fRtsControl : 2;
  DWORD fAbortOnError : 1;
  DWORD fDummy2 : 17;
  WORD wReserved;
  WORD XonLim;
  WORD XoffLim;
  BYTE ByteSize;
  BYTE Parity;
  BYTE StopBits;
  char XonChar;
  char XoffChar;
  char ErrorChar;
  char EofChar;
  char EvtChar;
  WORD wReserved1;
};
static_assert(sizeof(FTDCB) == 28, "FTDCB must keep the library's layout");

struct FTCOMSTAT {
  DWORD fCtsHold : 1;
  DWORD fDsrHold : 1;
  DWORD fRlsdHold : 1;
  DWORD fXoffHold : 1;
  DWORD fXoffSent : 1;
  DWORD fEof : 1;
  DWORD fTxim : 1;
  DWORD fReserved : 25;
  DWORD cbInQue;
  DWORD cbOutQue;
};
static_assert(sizeof(FTCOMSTAT) == 12, "FTCOMSTAT must keep the library's layout");

struct FTTIMEOUTS {
  DWORD ReadIntervalTimeout;
  DWORD ReadTotalTimeoutMultiplier;
  DWORD ReadTotalTimeoutConstant;
  DWORD WriteTotalTimeoutMultiplier;
  DWORD WriteTotalTimeoutConstant;
};

// One record of FT_GetDeviceInfoList. On 64-bit Linux the handle is 8 bytes wide, so a record
// takes 104 bytes there rather than the 100 of 32-bit Windows.
struct FT_DEVICE_LIST_INFO_NODE {
  ULONG Flags;
  ULONG Type;
  ULONG ID;
  DWORD LocId;
  char SerialNumber[16];
  char Description[64];
  FT_HANDLE ftHandle;
};

// The library does not use the security attributes and the overlapped structures in the calls
// this system makes; they travel as opaque pointers.
struct SecurityAttributes;
struct Overlapped;

extern "C" {
using FT_SetBaudRate_t = FT_STATUS (*)(FT_HANDLE, ULONG);
using FT_SetLatencyTimer_t = FT_STATUS (*)(FT_HANDLE, UCHAR);
using FT_SetUSBParameters_t = FT_STATUS (*)(FT_HANDLE, ULONG, ULONG);
using FT_ListDevices_t = FT_STATUS (*)(void*, void*, DWORD);
using FT_CreateDeviceInfoList_t = FT_STATUS (*)(DWORD*);
using FT_GetDeviceInfoList_t = FT_STATUS (*)(FT_DEVICE_LIST_INFO_NODE*, DWORD*);
using FT_GetDeviceInfoDetail_t = FT_STATUS (*)(DWORD, DWORD*, DWORD*, DWORD*, DWORD*, void*, void*,
                                               FT_HANDLE*);
using FT_ResetDevice_t = FT_STATUS (*)(FT_HANDLE);
using FT_W32_CreateFile_t = FT_HANDLE (*)(LPCSTR, DWORD, DWORD, SecurityAttributes*, DWORD, DWORD,
                                          void*);
using FT_W32_CloseHandle_t = BOOL (*)(FT_HANDLE);
using FT_W32_ReadFile_t = BOOL (*)(FT_HANDLE, void*, DWORD, DWORD*, Overlapped*);
using FT_W32_WriteFile_t = BOOL (*)(FT_HANDLE, void*, DWORD, DWORD*, Overlapped*);
using FT_W32_GetLastError_t = DWORD (*)(FT_HANDLE);
using FT_W32_GetOverlappedResult_t = BOOL (*)(FT_HANDLE, Overlapped*, DWORD*, BOOL);
using FT_W32_ClearCommBreak_t = BOOL (*)(FT_HANDLE);
using FT_W32_ClearCommError_t = BOOL (*)(FT_HANDLE, DWORD*, FTCOMSTAT*);
using FT_W32_EscapeCommFunction_t = BOOL (*)(FT_HANDLE, DWORD);
using FT_W32_GetCommModemStatus_t = BOOL (*)(FT_HANDLE, DWORD*);
using FT_W32_GetCommState_t = BOOL (*)(FT_HANDLE, FTDCB*);
using FT_W32_GetCommTimeouts_t = BOOL (*)(FT_HANDLE, FTTIMEOUTS*);
using FT_W32_PurgeComm_t = BOOL (*)(FT_HANDLE, DWORD);
using FT_W32_SetCommBreak_t = BOOL (*)(FT_HANDLE);
using FT_W32_SetCommMask_t = BOOL (*)(FT_HANDLE, ULONG);
using FT_W32_SetCommState_t = BOOL (*)(FT_HANDLE, FTDCB*);
using FT_W32_SetCommTimeouts_t = BOOL (*)(FT_HANDLE, FTTIMEOUTS*);
using FT_W32_SetupComm_t = BOOL (*)(FT_HANDLE, DWORD, DWORD);
using FT_W32_WaitCommEvent_t = BOOL (*)(FT_HANDLE, ULONG*, Overlapped*);
// Only the library for Linux and macOS has these: it sees the vendor and product ids of its own
// table and the one further pair named here.
using FT_SetVIDPID_t = FT_STATUS (*)(DWORD, DWORD);
using FT_GetVIDPID_t = FT_STATUS (*)(DWORD*, DWORD*);
}

}  // namespace kxlf::d2xx
