// Strings that the window layer loads itself: message box buttons, the data exchange's standard
// messages, the window's command menu.
#include <iterator>

#include "framework/framework_strings.h"
#include "resources/language.h"
#include "resources/tables.h"

namespace kx::res {

namespace {

using namespace ui::strings;
using ui::res::StringEntry;

constexpr StringEntry kEntries[] = {
    {kEnterInteger, KX_TEXT("Geben Sie eine ganze Zahl ein.", "Please enter an integer.")},
    {kEnterIntegerBetween, KX_TEXT("Geben Sie eine ganze Zahl zwischen %1 und %2 ein.",
                                   "Please enter an integer between %1 and %2.")},
    {kEnterAtMostChars,
     KX_TEXT("Geben Sie höchstens %1 Zeichen ein.", "Please enter no more than %1 characters.")},
    {kEnterPositiveInteger,
     KX_TEXT("Geben Sie eine positive ganze Zahl ein.", "Please enter a positive integer.")},
    {kEnterIpAddress,
     KX_TEXT("Geben Sie eine vollständige IP-Adresse ein.", "Please enter a complete IP address.")},

    {kButtonOk, "OK"},
    {kButtonCancel, KX_TEXT("Abbrechen", "Cancel")},
    {kButtonYes, KX_TEXT("&Ja", "&Yes")},
    {kButtonNo, KX_TEXT("&Nein", "&No")},
    {kButtonRetry, KX_TEXT("&Wiederholen", "&Retry")},

    {kSystemMenuTitle, "&System"},
    {kSystemMenuClose, KX_TEXT("&Schließen", "&Close")},
};

}  // namespace

extern const ui::res::StringTable kWindowLayerStrings = {kEntries, std::size(kEntries)};

}  // namespace kx::res
