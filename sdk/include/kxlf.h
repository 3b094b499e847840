/*
 * kxlf.h - the reader SDK for the KX family of 134.2 kHz RFID readers.
 *
 * Every function returns an int. Functions that take a connection handle leave an error code
 * in the connection when they fail; KxLfGetLastError fetches it. Codes other than the
 * KXLF_ERR_ constants are the status byte of the reader's answer (21: no transponder).
 *
 * Byte buffers are unsigned char pointers with a separate int capacity: an answer longer than
 * the capacity fails with KXLF_ERR_BUFFER_TOO_SMALL and leaves the buffer untouched. List
 * functions write their entries one after another, each ended by a NUL byte, with one more NUL
 * byte after the last entry, and return the number of bytes written including it.
 *
 * Calls on different connections may come from different threads. Two calls on one
 * connection at the same time are not allowed.
 */
#ifndef KXLF_H
#define KXLF_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define KXLF_API __attribute__((visibility("default")))
#else
#define KXLF_API
#endif

#define KXLF_ERR_NO_CONNECTION 6    /* the handle names no connection (never stored) */
#define KXLF_ERR_TIMEOUT 7          /* no complete answer within the timeout */
#define KXLF_ERR_BUFFER_TOO_SMALL 8 /* the answer is longer than the caller's buffer */
#define KXLF_ERR_DATA_COUNT 9       /* wrong number of data bytes for the operation */
#define KXLF_ERR_PARAMETER 10       /* an argument outside its range */
#define KXLF_ERR_NO_SEND_DATA 11    /* the command to send was empty */
#define KXLF_ERR_BLOCK_NUMBER 12    /* block number outside the transponder type's range */
#define KXLF_ERR_CHECKSUM 14        /* the answer's XOR checksum or CRC is wrong */
#define KXLF_ERR_NO_READER 15       /* no reader answered (KxLfOpen returns it negated) */
#define KXLF_ERR_NO_ANSWER 16       /* nothing had been received when the answer was taken */
#define KXLF_ERR_MODE 18            /* reader mode outside its set */
#define KXLF_ERR_VERIFY 20          /* the read-back after a write differs */
#define KXLF_ERR_NOT_SUPPORTED 24   /* the transponder type has no such operation */

/* Options of KxLfOpen. */
#define KXLF_OPEN_NO_PARITY_1_STOP 0
#define KXLF_OPEN_EVEN_PARITY 1
#define KXLF_OPEN_ODD_PARITY 2
#define KXLF_OPEN_NO_PARITY_2_STOP 3
#define KXLF_OPEN_NO_CRC_MODE_TRIAL 0x40 /* never try the CRC frame mode */
#define KXLF_OPEN_KEEP_WINDOW_ENABLED 0x80

/* Option bits of the typeAndOptions argument of KxLfReadBlocks / KxLfWriteBlocks. */
#define KXLF_VERIFY 0x100       /* read back and compare after writing */
#define KXLF_VERIFY_TYPE3 0x200 /* type 3 only: read back inverted and compare */
#define KXLF_INVERT 0x400       /* invert every byte read */

/* Connections */
KXLF_API int KxLfOpen(const char* portName, int baudRate, int options, int timeoutMs);
KXLF_API int KxLfClose(int handle);
KXLF_API int KxLfGetLastError(int handle);
KXLF_API int KxLfSetKeepWindowEnabled(int handle, int keepEnabled);
KXLF_API int KxLfIsUsbConnection(int handle);

/* Reader commands */
KXLF_API int KxLfGetVersion(int handle, unsigned char* version, int versionSize, char* modelName,
                            int modelNameSize);
KXLF_API int KxLfSetReaderMode(int handle, int mode);
KXLF_API int KxLfSetUsbInterface(int handle, int mode);
KXLF_API int KxLfCommandF6(int handle, int value1, int value2);

/* Transponders */
KXLF_API int KxLfReadTransponder(int handle, int type, unsigned char* buffer, int bufferSize);
KXLF_API int KxLfWriteTransponder(int handle, int type, const unsigned char* data, int dataLength,
                                  unsigned char* answer, int answerSize);
KXLF_API int KxLfReadBlocks(int handle, int typeAndOptions, int startBlock, unsigned char* buffer,
                            int length);
KXLF_API int KxLfWriteBlocks(int handle, int typeAndOptions, int startBlock,
                             const unsigned char* data, int length, int lock);
KXLF_API int KxLfReadConfiguration(int handle, int type, unsigned char* buffer, int bufferSize);

/* Chip functions */
KXLF_API int KxLfReadChipConfig(int handle, int chipCode, int* value);
KXLF_API int KxLfWriteChipConfig(int handle, int chipCode, int value);
KXLF_API int KxLfMeasureFrequency(int handle, int type, int p1, int p2, int p3, int p4,
                                  int* result);

/* Ports, LAN readers and drivers */
KXLF_API int KxLfListComPorts(char* buffer, int bufferSize);
KXLF_API int KxLfListUsbReaders(char* buffer, int bufferSize);
KXLF_API int KxLfFindLanReaders(char* buffer, int bufferSize);
KXLF_API int KxLfFindLanDevices(char* buffer, int bufferSize);
KXLF_API int KxLfProbeLanReader(const char* name);
KXLF_API int KxLfGetNetworkConfig(const char* readerName, char* dhcpName, char* address,
                                  char* subnetMask, char* gateway);
KXLF_API int KxLfSetNetworkConfig(const char* readerName, const char* address,
                                  const char* subnetMask, const char* gateway);
KXLF_API int KxLfCheckUsbDrivers(void);
KXLF_API int KxLfIsVcomDriverInstalled(void);

/*
 * How an application keeps its windows alive while a command waits for its answer.
 * pump: processes the application's pending window events; called repeatedly while waiting.
 * lockWindow: disables the active window and takes the keyboard focus away; returns what
 *   unlockWindow needs to restore both. Called only for connections that do not keep their
 *   window enabled.
 * Any of them may be NULL; with no pump the wait simply blocks. Returns 0.
 */
typedef void (*KxLfPumpHook)(void* context);
typedef void* (*KxLfLockWindowHook)(void* context);
typedef void (*KxLfUnlockWindowHook)(void* context, void* state);
KXLF_API int KxLfSetWaitHooks(KxLfPumpHook pump, KxLfLockWindowHook lockWindow,
                              KxLfUnlockWindowHook unlockWindow, void* context);

#ifdef __cplusplus
}
#endif

#endif /* KXLF_H */
