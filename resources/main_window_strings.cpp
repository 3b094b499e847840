// Strings of the main window, its command menu, the value conversions, the reader connection,
// the log and data record files, and the manual.
#include <iterator>

#include "resources/ids.h"
#include "resources/language.h"
#include "resources/tables.h"

namespace kx::res {

namespace {

using namespace str;
using ui::res::StringEntry;

// The download addresses of the PDF reader named in kHelpNoPdfReader.
#define KX_PDF_READER_PAGE_DE "https://get.adobe.com/de/reader/"
#define KX_PDF_READER_PAGE_2_DE "https://www.adobe.com/de/acrobat/pdf-reader.html"
#define KX_PDF_READER_PAGE_EN "https://get.adobe.com/reader/"
#define KX_PDF_READER_PAGE_2_EN "https://www.adobe.com/acrobat/pdf-reader.html"

constexpr StringEntry kEntries[] = {
    {kAppTitle, "KX-M71 Vantrel"},

    {kMenuAbout, KX_TEXT("Inf&o über Vantrel ...", "Ab&out Vantrel ...")},
    {kMenuGerman, KX_TEXT("Deutsch", "German")},
    {kMenuEnglish, KX_TEXT("Englisch", "English")},
    {kMenuInterface, KX_TEXT("Schnittstelle wählen", "Select interface")},
    {kMenuSettings, KX_TEXT("Einstellungen", "Settings")},
    {kMenuTuningSic7999, "Set Tuning SIC7999"},
    {kMenuConfigTiHdxPlus, "Set Config TI HDX+"},

    {kNoHexInput, KX_TEXT("Keine Hex-Eingabe", "No hex input")},
    {kNoDecimalInput, KX_TEXT("Keine Dezimal-Eingabe", "No decimal input")},
    {kByteCountTooSmall, KX_TEXT("Byteanzahl ist zu klein", "Byte count is too small")},
    // The typos are the text as operators know it.
    {kDecimalByteCountAbove8,
     KX_TEXT("Bytanzahl größer 8 kann im Dezimal-Modus nicht bearbeitetet werden",
             "A byte count above 8 cannot be handled in decimal mode")},
    {kNoData, KX_TEXT("Keine Daten vorhanden!", "No data available!")},
    {kDataFieldTooLong, KX_TEXT("Datenfeld enthält mehr Daten als erlaubt sind.",
                                "The data field holds more data than allowed.")},

    {kErrorPortOpen, KX_TEXT("Fehler beim Port öffnen", "Error opening the port")},
    {kErrorTimeout, "Timeout"},
    {kErrorBlockLength, KX_TEXT("Blocklänge ist nicht korrekt", "The block length is not correct")},
    {kErrorDataCount, KX_TEXT("Fehler: Falsche Datenanzahl", "Error: wrong data count")},
    {kErrorNoSendData, KX_TEXT("Keine Sendedaten", "No data to send")},
    {kErrorNoReader,
     KX_TEXT("An diesem Port ist kein Leser angeschlossen.\n"
             "Bitte wählen sie eine andere Schnittstelle.",
             "No reader is connected to this port.\nPlease choose another interface.")},
    {kErrorNoTransponder, KX_TEXT("Kein Transponder vorhanden", "No transponder present")},
    {kErrorUnknown, KX_TEXT("Unbekannter Fehler ist aufgetreten", "An unknown error occurred")},
    {kReaderNotSupported, KX_TEXT("Für dieses Programm wird ein KX-P71D benötigt!!!",
                                  "This program needs a KX-P71D!!!")},
    {kValueWritten,
     KX_TEXT("Wert <%1> erfolgreich geschrieben", "Value <%1> written successfully")},
    {kDataWritten,
     KX_TEXT("<%1> Daten erfolgreich geschrieben!", "<%1> Data written successfully!")},
    {kFirmwareText, "FW V%d.%02d"},

    {kChooseWriteLogTitle,
     KX_TEXT("Logdatei \"Schreiben\" wählen", "Choose the \"write\" log file")},
    {kChooseReadLogTitle, KX_TEXT("Logdatei \"Lesen\" wählen", "Choose the \"read\" log file")},
    {kLogChooserOk, "OK"},
    {kLogChooserCancel, KX_TEXT("Abbrechen", "Cancel")},
    {kLogNotWritten, KX_TEXT("Logdatei %1 konnte nicht geschrieben werden: %2",
                             "Could not write the log file %1: %2")},
    {kLogReasonNoFileName, KX_TEXT("kein Dateiname", "no file name")},
    {kLogReasonDirectoryMissing,
     KX_TEXT("das Verzeichnis existiert nicht", "the directory does not exist")},
    {kLogReasonAccessDenied, KX_TEXT("keine Schreibberechtigung", "permission denied")},
    {kLogReasonNotAFile, KX_TEXT("der Pfad ist keine Datei", "the path is not a file")},
    {kLogReasonLocked, KX_TEXT("die Datei ist von einem anderen Programm gesperrt",
                               "the file is locked by another program")},
    {kLogReasonOpenFailed,
     KX_TEXT("die Datei lässt sich nicht öffnen", "the file cannot be opened")},
    {kLogReasonReadFailed, KX_TEXT("die Zeilen der Datei lassen sich nicht zählen",
                                   "the lines of the file cannot be counted")},
    {kLogReasonWriteFailed,
     KX_TEXT("die Zeile ließ sich nicht schreiben", "the line could not be written")},
    {kRecordNotSaved, KX_TEXT("Der Datensatz konnte nicht in %1 gespeichert werden.",
                              "The data record could not be saved to %1.")},
    {kRecordNotLoaded, KX_TEXT("Der Datensatz %1 konnte nicht gelesen werden.",
                               "The data record %1 could not be read.")},
    {kRecordTextHasLineBreaks,
     KX_TEXT("Ein Schreibwert mit Zeilenumbrüchen kann nicht in einem Datensatz gespeichert "
             "werden.",
             "A write value with line breaks cannot be saved in a data record.")},

    {kHelpNoResources,
     KX_TEXT("Nicht genügend Systemresourcen vorhanden!", "Not enough system resources!")},
    {kHelpNoPdfReader,
     KX_TEXT("Zur Ausführung der Hilfe muss der Adobe Acrobat Reader installiert sein.\n"
             "Sie können den Adobe Acrobat Reader von\n" KX_PDF_READER_PAGE_DE "\n"
             "oder\n" KX_PDF_READER_PAGE_2_DE "\n"
             "laden.",
             "Adobe Acrobat Reader must be installed to show the help.\n"
             "You can download Adobe Acrobat Reader from\n" KX_PDF_READER_PAGE_EN "\n"
             "or\n" KX_PDF_READER_PAGE_2_EN)},
    {kHelpUnknownError, KX_TEXT("Unbekannter Fehler %d", "Unknown error %d")},
};

}  // namespace

extern const ui::res::StringTable kMainWindowStrings = {kEntries, std::size(kEntries)};

}  // namespace kx::res
