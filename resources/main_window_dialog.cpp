// Template 102: the main window. Controls in tab order; rectangles in dialog units.
#include <iterator>

#include "resources/ids.h"
#include "resources/language.h"
#include "resources/tables.h"

namespace kx::res {

namespace {

using namespace main_window;
using namespace ui::res::style;
using ui::res::ControlKind;
using ui::res::ControlTemplate;
using ui::res::kNoId;

constexpr ControlKind kGroupBox = ControlKind::kGroupBox;
constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kLine = ControlKind::kHorizontalLine;
constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kButton = ControlKind::kButton;
constexpr ControlKind kCheckBox = ControlKind::kCheckBox;
constexpr ControlKind kRadio = ControlKind::kRadioButton;

constexpr ControlTemplate kControls[] = {
    {kNoId, kGroupBox, 0, {5, 5, 310, 45}, KX_TEXT("Transpondertyp", "Transponder type")},
    {kTypeReadOnly, kRadio, kPushLike | kGroup, {10, 15, 70, 14}, "Read Only"},
    {kTypeTiReadWrite, kRadio, kPushLike, {87, 15, 70, 14}, "TI Read / Write"},
    {kTypeTiMultiPage, kRadio, kPushLike, {164, 15, 70, 14}, "TI Multi Page"},
    {kTypeTiHdxPlus, kRadio, kPushLike, {240, 15, 70, 14}, "TI HDX+"},
    {kTypeIncideHdx, kRadio, kPushLike, {10, 30, 70, 14}, "Incide HDX"},
    {kTypeSic7900, kRadio, kPushLike, {87, 30, 70, 14}, "SIC7900"},
    {kTypeSic7999, kRadio, kPushLike, {164, 30, 70, 14}, "SIC7999 / SIC279"},
    {kTypeEm4017, kRadio, kPushLike, {240, 30, 70, 14}, "EM4017"},

    {kNoId, kGroupBox, 0, {5, 51, 112, 36}, KX_TEXT("Parameter", "Parameters")},
    {kNoId, kLabel, 0, {10, 58, 45, 12}, KX_TEXT("Startblock", "Start block")},
    {kStartBlock, kEdit, kDigitsOnly, {80, 58, 30, 12}, ""},
    {kNoId, kLabel, 0, {10, 71, 63, 12}, KX_TEXT("Länge in Bytes", "Length in bytes")},
    {kByteCount, kEdit, kDigitsOnly, {80, 71, 30, 12}, ""},

    {kNoId, kGroupBox, 0, {121, 51, 194, 36}, KX_TEXT("Datenformat", "Data format")},
    {kFormatHexBinary,
     kRadio,
     kGroup,
     {124, 59, 90, 9},
     KX_TEXT("Hexadezimalzahl binär", "Hexadecimal binary")},
    {kFormatHexAscii,
     kRadio,
     0,
     {215, 59, 90, 9},
     KX_TEXT("Hexadezimalzahl ASCII", "Hexadecimal ASCII")},
    {kFormatDecimalBinary,
     kRadio,
     0,
     {124, 68, 90, 9},
     KX_TEXT("Dezimalzahl binär", "Decimal binary")},
    {kFormatDecimalAscii,
     kRadio,
     0,
     {215, 68, 90, 9},
     KX_TEXT("Dezimalzahl ASCII", "Decimal ASCII")},
    {kFormatDataBinary, kRadio, 0, {124, 77, 90, 9}, KX_TEXT("Daten binär", "Data binary")},
    {kFormatDataAscii, kRadio, 0, {215, 77, 90, 9}, KX_TEXT("Daten ASCII", "Data ASCII")},

    // The read group's height follows the read display in use.
    {kReadGroup, kGroupBox, 0, {5, 90, 150, 67}, KX_TEXT("Lesen", "Read")},
    {kReadCyclic, kCheckBox, kPushLike, {10, 101, 55, 15}, KX_TEXT("Zyklisch ", "Cyclic ")},
    {kReadOnce, kButton, 0, {10, 119, 55, 15}, KX_TEXT("Einmalig", "Once")},
    {kReadUid, kButton, 0, {76, 101, 55, 15}, KX_TEXT("UID Lesen", "Read UID")},
    {kKeepLastValue,
     kCheckBox,
     kMultiLine,
     {95, 118, 55, 18},
     KX_TEXT("letzten Wert beibehalten", "keep last value")},
    {kReadDisplay, kEdit, kReadOnly, {10, 139, 140, 12}, ""},
    {kReadDisplayMultiLine,
     kEdit,
     kReadOnly | kMultiLine | kVScroll | kHidden,
     {10, 139, 140, 38},
     ""},
    {kCopyReadToWrite, kButton, 0, {154, 138, 12, 12}, ">>"},

    // The write group's height follows the write edit in use.
    {kWriteGroup, kGroupBox, 0, {165, 90, 150, 67}, KX_TEXT("Schreiben", "Write")},
    {kWriteCyclic, kCheckBox, kPushLike, {170, 101, 55, 15}, KX_TEXT("Zyklisch", "Cyclic")},
    {kWriteOnce, kButton, 0, {170, 119, 55, 15}, KX_TEXT("Einmalig", "Once")},
    {kAutoIncrement, kCheckBox, 0, {234, 99, 76, 12}, "Auto increment"},
    {kLeadingZeros, kCheckBox, 0, {234, 111, 76, 12}, KX_TEXT("Führende Nullen", "Leading zeros")},
    {kExtraText,
     kCheckBox,
     0,
     {234, 123, 76, 12},
     KX_TEXT("Zusatztext zulassen", "Allow extra text")},
    {kWriteEdit, kEdit, 0, {170, 139, 140, 12}, ""},
    {kWriteEditMultiLine, kEdit, kMultiLine | kVScroll | kHidden, {170, 139, 140, 38}, ""},

    {kNoId, kGroupBox, 0, {5, 183, 310, 65}, KX_TEXT("Logdateien", "Log files")},
    {kLogWrites,
     kCheckBox,
     0,
     {10, 190, 110, 12},
     KX_TEXT("Schreiben protokollieren", "Log writes")},
    {kWriteLogName, kLabel, kSunken, {10, 202, 285, 12}, ""},
    {kChooseWriteLog, kButton, 0, {298, 202, 12, 12}, "..."},
    {kNoId, kLine, 0, {10, 216, 300, 1}, ""},
    {kLogReads, kCheckBox, 0, {10, 220, 90, 12}, KX_TEXT("Lesen protokollieren", "Log reads")},
    {kReadLogName, kLabel, kSunken, {10, 232, 285, 12}, ""},
    {kChooseReadLog, kButton, 0, {298, 232, 12, 12}, "..."},

    {kNoId, kLabel, 0, {5, 250, 50, 8}, "Status"},
    {kStatus, kEdit, kReadOnly | kMultiLine | kVScroll, {5, 259, 310, 51}, ""},
    {kResetStatus, kButton, 0, {5, 315, 55, 15}, KX_TEXT("Reset Status", "Reset status")},
    {kLoadRecord, kButton, 0, {80, 315, 80, 15}, KX_TEXT("Datensatz lesen", "Load record")},
    {kSaveRecord, kButton, 0, {160, 315, 80, 15}, KX_TEXT("Datensatz schreiben", "Save record")},
    {kClose, kButton, 0, {260, 315, 55, 15}, KX_TEXT("Schliessen", "Close")},
    {kNoId,
     kLabel,
     0,
     {5, 333, 310, 9},
     KX_TEXT("Drücken Sie F1, um die Bedienungsanleitung zu öffnen",
             "Press F1 to open the manual")},
};

}  // namespace

extern const ui::res::DialogTemplate kMainWindowDialog = {
    kDialog,
    "KX-M71 Vantrel",
    320,
    343,
    "System",
    10,
    ui::res::dialog_style::kSystemMenu | ui::res::dialog_style::kAppWindow,
    kControls,
    std::size(kControls),
};

}  // namespace kx::res
