// Status lines of the read and write flows, by string id of the resource string table. The
// flows report ids only; the window and the command-line tool choose the language.
#pragma once

namespace kx::flows {

// The reader's answer status for an empty field, kept as the connection's error code like the
// SDK's own codes.
constexpr int kNoTransponderStatus = 21;

enum class StatusMessage : int {
  kPortOpenFailed = 180,      // "Fehler beim Port öffnen"
  kTimeout = 104,             // "Timeout"
  kBlockLengthWrong = 165,    // "Blocklänge ist nicht korrekt"
  kWrongDataCount = 112,      // "Fehler: Falsche Datenanzahl"
  kNoSendData = 188,          // "Keine Sendedaten"
  kNoReaderAtPort = 129,      // "An diesem Port ist kein Leser angeschlossen. ..."
  kNoTransponder = 220,       // "Kein Transponder vorhanden"
  kUnknownError = 117,        // "Unbekannter Fehler ist aufgetreten"
  kReaderNotSupported = 231,  // the connected reader's type code is not accepted
  kValueWritten = 32850,      // "Wert <%s> erfolgreich geschrieben"
  kDataWritten = 32860,       // "<%04d> Daten erfolgreich geschrieben!"
};

// The status line for an SDK error code of a connection (KxLfGetLastError).
StatusMessage ErrorMessageId(int sdkErrorCode);

}  // namespace kx::flows
