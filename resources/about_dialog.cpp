// Template 100: the About dialog with the maker's address, links and logo and the state of the
// update check; and the texts of the update check. Controls in tab order; rectangles in dialog
// units.
#include <iterator>

#include "resources/about_dialog_ids.h"
#include "resources/language.h"
#include "resources/tables.h"

namespace kx::res {

namespace {

using namespace about_dialog;
using namespace str;
using namespace ui::res::style;
using ui::res::ControlKind;
using ui::res::ControlTemplate;
using ui::res::kNoId;
using ui::res::StringEntry;

constexpr ControlKind kLabel = ControlKind::kLabel;

// The maker's links; the web page is the product's page on the maker's site.
#define KX_MAKER_WEB "https://www.orv-rfid.de/produkte/kx-m71-vantrel"
#define KX_MAKER_MAIL "mailto:info@orv-rfid.de"

constexpr ControlTemplate kControls[] = {
    {kLogo, ControlKind::kPicture, 0, {10, 10, 90, 84}, "129"},
    {kProductLine, kLabel, 0, {108, 10, 172, 10}, "KX-M71 Vantrel V"},
    {kNoId,
     kLabel,
     0,
     {108, 26, 172, 18},
     KX_TEXT("Orv Identifikationssysteme GmbH\nGeschäftsbereich Lesegeräte",
             "Orv Identifikationssysteme GmbH\nReader division")},
    {kNoId,
     kLabel,
     0,
     {108, 46, 172, 18},
     KX_TEXT("Am Beispielhafen 12\n20000 Musterstadt",
             "Am Beispielhafen 12\n20000 Musterstadt, Germany")},
    {kNoId, kLabel, 0, {108, 66, 172, 18}, "Tel.: +49 (0)40 000 000-0\nFax: +49 (0)40 000 000-99"},
    {kWebLink, kLabel, 0, {108, 86, 172, 10}, KX_MAKER_WEB},
    {kMailLink, kLabel, 0, {108, 98, 172, 10}, KX_MAKER_MAIL},
    {kNoId,
     kLabel,
     0,
     {10, 114, 270, 10},
     KX_TEXT("Copyright © 2026 Orv Identifikationssysteme GmbH. Alle Rechte vorbehalten.",
             "Copyright © 2026 Orv Identifikationssysteme GmbH. All rights reserved.")},
    {kNoId, ControlKind::kHorizontalLine, 0, {10, 127, 270, 1}, ""},
    {kStatus,
     kLabel,
     0,
     {10, 132, 270, 10},
     KX_TEXT("Nach Update suchen", "Looking for an update")},
    {kAutoCheck,
     ControlKind::kCheckBox,
     0,
     {10, 150, 200, 10},
     KX_TEXT("automatisch auf neue Version prüfen", "check for a new version automatically")},
    {kOk, ControlKind::kButton, kDefault, {230, 148, 50, 14}, "OK"},
};

constexpr StringEntry kEntries[] = {
    {kUpdateNewVersion, KX_TEXT("Neue Version:", "New version:")},
    {kUpdateIsCurrent, KX_TEXT(" ist aktuell", " is up to date")},
    {kUpdateNoConnection, KX_TEXT("Keine Internet Verbindung: Update Prüfung nicht möglich!",
                                  "No internet connection: cannot check for an update!")},
    {kUpdateNoVersionFile, KX_TEXT("Keine Datei gefunden: Update Prüfung nicht möglich!",
                                   "No file found: cannot check for an update!")},
    {kUpdateStarting,
     KX_TEXT("Update wird gestartet, bitte warten!", "Starting the update, please wait!")},
    {kUpdateNotSigned,
     KX_TEXT("Update abgebrochen: Die Versionsdatei enthält keine Prüfsumme und Signatur des "
             "Installationsprogramms.",
             "Update stopped: the version file carries no checksum and signature of the "
             "installer.")},
    {kUpdateDigestWrong,
     KX_TEXT("Update abgebrochen: Das geladene Installationsprogramm ist nicht das "
             "veröffentlichte (Prüfsumme falsch).",
             "Update stopped: the downloaded installer is not the published one (wrong "
             "checksum).")},
    {kUpdateSignatureWrong,
     KX_TEXT("Update abgebrochen: Die Signatur des Installationsprogramms ist ungültig.",
             "Update stopped: the installer's signature is not valid.")},
    {kUpdateUnsafeName,
     KX_TEXT("Update abgebrochen: Der Dateiname des Installationsprogramms ist unzulässig.",
             "Update stopped: the installer's file name is not allowed.")},
    {kInstallerMissing,
     KX_TEXT("Die Datei\n\"%1\"\nexistiert nicht!", "The File\n\"%1\"\ndoes not exist!")},
    {kInstallerNotStarted,
     KX_TEXT("Die Datei\n\"%1\"\nkann nicht gestartet werden!\nKein Programm zum Öffnen gefunden.",
             "The File\n\"%1\"\ncan not be started!\nNo program found to open it.")},
    {kUpdateProgress,
     KX_TEXT("Update wird geladen: %1 von %2 kB", "Loading the update: %1 of %2 kB")},
    {kUpdateProgressUnknownSize,
     KX_TEXT("Update wird geladen: %1 kB", "Loading the update: %1 kB")},
};

}  // namespace

extern const ui::res::DialogTemplate kAboutDialog = {
    kDialog,
    KX_TEXT("Info über KX-M71 Vantrel", "About KX-M71 Vantrel"),
    290,
    170,
    "MS Shell Dlg",
    8,
    ui::res::dialog_style::kSystemMenu,
    kControls,
    std::size(kControls),
};

extern const ui::res::StringTable kAboutDialogStrings = {kEntries, std::size(kEntries)};

}  // namespace kx::res
