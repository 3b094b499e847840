// Resource ids: dialog templates, their controls, strings and icons. The ids are the contract
// between the program and its language libraries.
#pragma once

#include "convert/messages.h"
#include "flows/status_messages.h"
#include "framework/framework_strings.h"

namespace kx::res {

// The English resource library, beside the executable.
inline constexpr char kEnglishLibraryFileName[] = "KX_M71_VantrelEng.so";

namespace icon {
inline constexpr int kApplication = 128;
}  // namespace icon

// Template 102, the main window.
namespace main_window {
inline constexpr int kDialog = 102;

// Transponder type radios; the index in kTypeRadios is the transponder type.
inline constexpr int kTypeReadOnly = 1015;
inline constexpr int kTypeTiReadWrite = 1027;
inline constexpr int kTypeTiMultiPage = 1028;
inline constexpr int kTypeTiHdxPlus = 1030;
inline constexpr int kTypeIncideHdx = 1029;
inline constexpr int kTypeSic7900 = 1038;
inline constexpr int kTypeSic7999 = 1040;
inline constexpr int kTypeEm4017 = 1041;
inline constexpr int kTypeRadios[] = {kTypeReadOnly,  kTypeTiReadWrite, kTypeTiMultiPage,
                                      kTypeTiHdxPlus, kTypeIncideHdx,   kTypeSic7900,
                                      kTypeSic7999,   kTypeEm4017};

inline constexpr int kStartBlock = 1000;
inline constexpr int kByteCount = 1001;

// Data format radios; the index in kFormatRadios is the data format.
inline constexpr int kFormatHexBinary = 1004;
inline constexpr int kFormatHexAscii = 1002;
inline constexpr int kFormatDecimalBinary = 1005;
inline constexpr int kFormatDecimalAscii = 1003;
inline constexpr int kFormatDataBinary = 1018;
inline constexpr int kFormatDataAscii = 1013;
inline constexpr int kFormatRadios[] = {kFormatHexBinary,     kFormatHexAscii,
                                        kFormatDecimalBinary, kFormatDecimalAscii,
                                        kFormatDataBinary,    kFormatDataAscii};

inline constexpr int kReadGroup = 1024;
inline constexpr int kReadCyclic = 1010;
inline constexpr int kReadOnce = 1016;
inline constexpr int kReadUid = 1039;
inline constexpr int kKeepLastValue = 1037;
inline constexpr int kReadDisplay = 1012;           // formats 0..3
inline constexpr int kReadDisplayMultiLine = 1022;  // formats 4 and 5
inline constexpr int kCopyReadToWrite = 1021;

inline constexpr int kWriteGroup = 1025;
inline constexpr int kWriteCyclic = 1008;
inline constexpr int kWriteOnce = 1014;
inline constexpr int kAutoIncrement = 1009;
inline constexpr int kLeadingZeros = 1011;
inline constexpr int kExtraText = 1026;
inline constexpr int kWriteEdit = 1006;           // formats 0..3
inline constexpr int kWriteEditMultiLine = 1023;  // formats 4 and 5

inline constexpr int kLogWrites = 1035;
inline constexpr int kWriteLogName = 1033;
inline constexpr int kChooseWriteLog = 1031;
inline constexpr int kLogReads = 1036;
inline constexpr int kReadLogName = 1034;
inline constexpr int kChooseReadLog = 1032;

inline constexpr int kStatus = 1007;
inline constexpr int kResetStatus = 1017;
inline constexpr int kLoadRecord = 1019;
inline constexpr int kSaveRecord = 1020;
inline constexpr int kClose = 2;  // the dialog's cancel id

// Items of the window's command menu; each has the string of the same id as its text, except
// kCmdChipTool, which reads str::kMenuTuningSic7999 or str::kMenuConfigTiHdxPlus.
inline constexpr int kCmdAbout = 16;
inline constexpr int kCmdGerman = 171;
inline constexpr int kCmdEnglish = 172;
inline constexpr int kCmdInterface = 1000;
inline constexpr int kCmdSettings = 1001;
inline constexpr int kCmdChipTool = 1002;
}  // namespace main_window

namespace str {
inline constexpr int kAppTitle = ui::strings::kAppTitle;

// The main window's command menu.
inline constexpr int kMenuAbout = 101;
inline constexpr int kMenuGerman = 171;
inline constexpr int kMenuEnglish = 172;
inline constexpr int kMenuInterface = 1000;
inline constexpr int kMenuSettings = 1001;
inline constexpr int kMenuTuningSic7999 = 1002;
inline constexpr int kMenuConfigTiHdxPlus = 1003;

// Messages of the value conversions, under the ids the conversion library reports.
inline constexpr int kNoHexInput = static_cast<int>(convert::MessageId::kNoHexInput);
inline constexpr int kNoDecimalInput = static_cast<int>(convert::MessageId::kNoDecimalInput);
inline constexpr int kByteCountTooSmall = static_cast<int>(convert::MessageId::kByteCountTooSmall);
inline constexpr int kDecimalByteCountAbove8 =
    static_cast<int>(convert::MessageId::kDecimalByteCountAbove8);
inline constexpr int kNoData = static_cast<int>(convert::MessageId::kNoData);
inline constexpr int kDataFieldTooLong = static_cast<int>(convert::MessageId::kDataFieldTooLong);

// Errors of a reader connection, under the ids the flows report for the connection's SDK error
// codes (flows::ErrorMessageId): 6 (no such connection), 7, 8, 9, 11, 15, 21 (the reader's status
// for an empty field), and every other code.
inline constexpr int kErrorPortOpen = static_cast<int>(flows::StatusMessage::kPortOpenFailed);
inline constexpr int kErrorTimeout = static_cast<int>(flows::StatusMessage::kTimeout);
inline constexpr int kErrorBlockLength = static_cast<int>(flows::StatusMessage::kBlockLengthWrong);
inline constexpr int kErrorDataCount = static_cast<int>(flows::StatusMessage::kWrongDataCount);
inline constexpr int kErrorNoSendData = static_cast<int>(flows::StatusMessage::kNoSendData);
inline constexpr int kErrorNoReader = static_cast<int>(flows::StatusMessage::kNoReaderAtPort);
inline constexpr int kErrorNoTransponder = static_cast<int>(flows::StatusMessage::kNoTransponder);
inline constexpr int kErrorUnknown = static_cast<int>(flows::StatusMessage::kUnknownError);

// Opening the manual.
inline constexpr int kHelpNoResources = 10000;
inline constexpr int kHelpNoPdfReader = 10001;
inline constexpr int kHelpUnknownError = 10002;  // %d: the error number
}  // namespace str

}  // namespace kx::res

// The main window's reader connection and its write outcomes.
namespace kx::res::str {
// The reader's type code is not accepted.
inline constexpr int kReaderNotSupported =
    static_cast<int>(flows::StatusMessage::kReaderNotSupported);
// %1: the write text.
inline constexpr int kValueWritten = static_cast<int>(flows::StatusMessage::kValueWritten);
// %1: the write counter, four digits.
inline constexpr int kDataWritten = static_cast<int>(flows::StatusMessage::kDataWritten);
// The firmware in the caption: %d the major number 1, %02d the revision.
inline constexpr int kFirmwareText = 139;
}  // namespace kx::res::str

// The log files and the data record files of the main window.
namespace kx::res::str {
inline constexpr int kChooseWriteLogTitle = 32844;
inline constexpr int kChooseReadLogTitle = 32845;
inline constexpr int kLogChooserOk = 32846;
inline constexpr int kLogChooserCancel = 32847;
// %1: the log's path, %2: one of the reasons below.
inline constexpr int kLogNotWritten = 32861;
inline constexpr int kLogReasonNoFileName = 32862;
inline constexpr int kLogReasonDirectoryMissing = 32863;
inline constexpr int kLogReasonAccessDenied = 32864;
inline constexpr int kLogReasonNotAFile = 32865;
inline constexpr int kLogReasonLocked = 32866;
inline constexpr int kLogReasonOpenFailed = 32867;
inline constexpr int kLogReasonReadFailed = 32868;
inline constexpr int kLogReasonWriteFailed = 32869;
// %1: the data record file's path.
inline constexpr int kRecordNotSaved = 32870;
inline constexpr int kRecordNotLoaded = 32871;
inline constexpr int kRecordTextHasLineBreaks = 32872;
}  // namespace kx::res::str
