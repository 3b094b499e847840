// The program's built-in German resources: the main window's template, the string table and the
// ids the program and the conversions rely on.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QRect>
#include <set>
#include <vector>

#include "convert/messages.h"
#include "framework/dialog.h"
#include "framework/framework_strings.h"
#include "framework/resources.h"
#include "framework/testing/scripted_prompts.h"
#include "module_inspection.h"
#include "resources/builtin.h"
#include "resources/ids.h"

namespace kx::res::testing {
namespace {

using ui::res::ControlKind;
namespace style = ui::res::style;
namespace mw = main_window;

const ui::res::Module& German() {
  return BuiltInResources();
}

const ui::res::DialogTemplate& MainWindow() {
  return *DialogsOf(German()).at(mw::kDialog);
}

TEST(BuiltInResources, AreTheGermanTablesOfThisBuild) {
  EXPECT_EQ(German().abiVersion, ui::res::kAbiVersion);
  EXPECT_STREQ(German().language, "de");
}

TEST(BuiltInResources, IdsAreUniquePerDialogAndAcrossTheStringTables) {
  EXPECT_EQ(StringsOf(German()).size(), StringCount(German()));
  EXPECT_EQ(DialogsOf(German()).size(), German().dialogCount);
  for (const auto& [id, dialog] : DialogsOf(German())) {
    std::set<int> ids;
    for (size_t i = 0; i < dialog->controlCount; ++i) {
      const int control = dialog->controls[i].id;
      EXPECT_TRUE(control == ui::res::kNoId || ids.insert(control).second)
          << "dialog " << id << " control " << control;
    }
  }
}

TEST(MainWindowTemplate, HasTheWindowsSizeFontAndStyle) {
  const ui::res::DialogTemplate& dialog = MainWindow();
  EXPECT_EQ(dialog.width, 320);
  EXPECT_EQ(dialog.height, 343);
  EXPECT_STREQ(dialog.fontName, "System");
  EXPECT_EQ(dialog.fontPointSize, 10);
  EXPECT_STREQ(dialog.caption, "KX-M71 Vantrel");
  EXPECT_EQ(dialog.style, ui::res::dialog_style::kSystemMenu | ui::res::dialog_style::kAppWindow)
      << "no minimise or maximise box";
}

TEST(MainWindowTemplate, HoldsEveryNamedControlAndNoOther) {
  std::set<int> expected(std::begin(mw::kTypeRadios), std::end(mw::kTypeRadios));
  expected.insert(std::begin(mw::kFormatRadios), std::end(mw::kFormatRadios));
  expected.insert({mw::kStartBlock,      mw::kByteCount,     mw::kReadGroup,
                   mw::kReadCyclic,      mw::kReadOnce,      mw::kReadUid,
                   mw::kKeepLastValue,   mw::kReadDisplay,   mw::kReadDisplayMultiLine,
                   mw::kCopyReadToWrite, mw::kWriteGroup,    mw::kWriteCyclic,
                   mw::kWriteOnce,       mw::kAutoIncrement, mw::kLeadingZeros,
                   mw::kExtraText,       mw::kWriteEdit,     mw::kWriteEditMultiLine,
                   mw::kLogWrites,       mw::kWriteLogName,  mw::kChooseWriteLog,
                   mw::kLogReads,        mw::kReadLogName,   mw::kChooseReadLog,
                   mw::kStatus,          mw::kResetStatus,   mw::kLoadRecord,
                   mw::kSaveRecord,      mw::kClose});
  std::set<int> present;
  int unnamed = 0;
  for (size_t i = 0; i < MainWindow().controlCount; ++i) {
    const int id = MainWindow().controls[i].id;
    if (id == ui::res::kNoId)
      ++unnamed;
    else
      present.insert(id);
  }
  EXPECT_EQ(present, expected);
  EXPECT_EQ(unnamed, 9) << "4 group boxes, 4 labels, 1 line";
}

// The styles the window's behaviour depends on.
TEST(MainWindowTemplate, ControlsHaveTheKindsAndStylesTheWindowNeeds) {
  struct Expected {
    int id;
    ControlKind kind;
    uint32_t styles;
  };
  const Expected table[] = {
      {mw::kTypeReadOnly, ControlKind::kRadioButton, style::kPushLike | style::kGroup},
      {mw::kTypeEm4017, ControlKind::kRadioButton, style::kPushLike},
      {mw::kFormatHexBinary, ControlKind::kRadioButton, style::kGroup},
      {mw::kStartBlock, ControlKind::kEdit, style::kDigitsOnly},
      {mw::kByteCount, ControlKind::kEdit, style::kDigitsOnly},
      {mw::kReadCyclic, ControlKind::kCheckBox, style::kPushLike},
      {mw::kWriteCyclic, ControlKind::kCheckBox, style::kPushLike},
      {mw::kKeepLastValue, ControlKind::kCheckBox, style::kMultiLine},
      {mw::kReadDisplay, ControlKind::kEdit, style::kReadOnly},
      {mw::kReadDisplayMultiLine, ControlKind::kEdit,
       style::kReadOnly | style::kMultiLine | style::kVScroll | style::kHidden},
      {mw::kWriteEdit, ControlKind::kEdit, 0},
      {mw::kWriteEditMultiLine, ControlKind::kEdit,
       style::kMultiLine | style::kVScroll | style::kHidden},
      {mw::kStatus, ControlKind::kEdit, style::kReadOnly | style::kMultiLine | style::kVScroll},
      {mw::kWriteLogName, ControlKind::kLabel, style::kSunken},
      {mw::kReadLogName, ControlKind::kLabel, style::kSunken},
      {mw::kReadGroup, ControlKind::kGroupBox, 0},
      {mw::kWriteGroup, ControlKind::kGroupBox, 0},
      {mw::kClose, ControlKind::kButton, 0},
  };
  for (const Expected& expected : table) {
    const ui::res::ControlTemplate* found = nullptr;
    for (size_t i = 0; i < MainWindow().controlCount; ++i) {
      if (MainWindow().controls[i].id == expected.id)
        found = &MainWindow().controls[i];
    }
    ASSERT_NE(found, nullptr) << expected.id;
    EXPECT_EQ(found->kind, expected.kind) << expected.id;
    EXPECT_EQ(found->style, expected.styles) << expected.id;
  }
}

// Controls shown at the same time must not cover one another (group boxes frame them).
TEST(MainWindowTemplate, VisibleControlsLieInsideTheWindowWithoutOverlapping) {
  const ui::res::DialogTemplate& dialog = MainWindow();
  const QRect window(0, 0, dialog.width, dialog.height);
  std::vector<std::pair<int, QRect>> placed;
  for (size_t i = 0; i < dialog.controlCount; ++i) {
    const ui::res::ControlTemplate& control = dialog.controls[i];
    const QRect rect(control.rect.x, control.rect.y, control.rect.width, control.rect.height);
    EXPECT_TRUE(window.contains(rect)) << "control " << i;
    if (control.kind == ControlKind::kGroupBox || (control.style & style::kHidden))
      continue;
    for (const auto& [other, otherRect] : placed)
      EXPECT_FALSE(rect.intersects(otherRect)) << "controls " << other << " and " << i;
    placed.emplace_back(static_cast<int>(i), rect);
  }
}

class MainWindowRadios : public ::testing::Test {
 protected:
  ui::testing::ScriptedPrompts prompts;
  ui::Resources resources{German()};
  ui::Services services{resources, prompts};
  ui::Dialog dialog{services, mw::kDialog};
};

// The index of a radio in its group is the transponder type and the data format.
TEST_F(MainWindowRadios, GroupsFollowTheTypeAndFormatOrder) {
  ASSERT_TRUE(dialog.Create());
  for (int type = 0; type < 8; ++type) {
    dialog.SetRadioIndex(mw::kTypeReadOnly, type);
    EXPECT_EQ(dialog.IsChecked(mw::kTypeRadios[type]), 1) << type;
  }
  for (int format = 0; format < 6; ++format) {
    dialog.SetRadioIndex(mw::kFormatHexBinary, format);
    EXPECT_EQ(dialog.IsChecked(mw::kFormatRadios[format]), 1) << format;
    EXPECT_EQ(dialog.RadioIndex(mw::kTypeReadOnly), 7) << "the type group is left alone";
  }
  EXPECT_EQ(dialog.ItemAs<QAbstractButton>(mw::kReadCyclic)->text(), "Zyklisch ");
}

TEST(GermanStrings, HoldEveryIdOfTheMainWindowConversionsAndHelp) {
  const std::map<int, QString> strings = StringsOf(German());
  const std::pair<int, const char*> expected[] = {
      {str::kAppTitle, "KX-M71 Vantrel"},
      {str::kMenuInterface, "Schnittstelle wählen"},
      {str::kMenuAbout, "Inf&o über Vantrel ..."},
      {str::kMenuSettings, "Einstellungen"},
      {str::kMenuTuningSic7999, "Set Tuning SIC7999"},
      {str::kMenuConfigTiHdxPlus, "Set Config TI HDX+"},
      {str::kMenuGerman, "Deutsch"},
      {str::kMenuEnglish, "Englisch"},
      {str::kHelpNoResources, "Nicht genügend Systemresourcen vorhanden!"},
      {str::kHelpUnknownError, "Unbekannter Fehler %d"},
  };
  for (const auto& [id, text] : expected)
    EXPECT_EQ(strings.at(id), QString::fromUtf8(text)) << id;
  const QStringList help = strings.at(str::kHelpNoPdfReader).split(u'\n');
  ASSERT_EQ(help.size(), 6);
  EXPECT_EQ(help[0], "Zur Ausführung der Hilfe muss der Adobe Acrobat Reader installiert sein.");
  EXPECT_EQ(help[1], "Sie können den Adobe Acrobat Reader von");
  EXPECT_TRUE(help[2].startsWith("https://"));
  EXPECT_EQ(help[3], "oder");
  EXPECT_TRUE(help[4].startsWith("https://"));
  EXPECT_EQ(help[5], "laden.");
}

TEST(GermanStrings, HoldTheReaderConnectionErrors) {
  const std::map<int, QString> strings = StringsOf(German());
  const std::pair<int, const char*> expected[] = {
      {str::kErrorPortOpen, "Fehler beim Port öffnen"},
      {str::kErrorTimeout, "Timeout"},
      {str::kErrorBlockLength, "Blocklänge ist nicht korrekt"},
      {str::kErrorDataCount, "Fehler: Falsche Datenanzahl"},
      {str::kErrorNoSendData, "Keine Sendedaten"},
      {str::kErrorNoReader,
       "An diesem Port ist kein Leser angeschlossen.\nBitte wählen sie eine andere Schnittstelle."},
      {str::kErrorNoTransponder, "Kein Transponder vorhanden"},
      {str::kErrorUnknown, "Unbekannter Fehler ist aufgetreten"},
      {str::kFirmwareText, "FW V%d.%02d"},  // the caption once connected
  };
  for (const auto& [id, text] : expected) {
    ASSERT_EQ(strings.count(id), 1u) << id;
    EXPECT_EQ(strings.at(id), QString::fromUtf8(text)) << id;
  }
}

// The conversion library reports ids and knows their German texts; the table must agree.
TEST(GermanStrings, AgreeWithTheConversionLibrarysMessages) {
  const std::map<int, QString> strings = StringsOf(German());
  using convert::MessageId;
  for (MessageId id :
       {MessageId::kNoHexInput, MessageId::kNoDecimalInput, MessageId::kByteCountTooSmall,
        MessageId::kDecimalByteCountAbove8, MessageId::kNoData, MessageId::kDataFieldTooLong}) {
    const int number = static_cast<int>(id);
    ASSERT_EQ(strings.count(number), 1u) << number;
    EXPECT_EQ(strings.at(number).toStdString(), convert::GermanText(id)) << number;
  }
  using convert::StandardMessageId;
  const std::pair<int, StandardMessageId> standard[] = {
      {ui::strings::kEnterPositiveInteger, StandardMessageId::kEnterPositiveInteger},
      {ui::strings::kEnterIntegerBetween, StandardMessageId::kEnterIntegerBetween},
      {ui::strings::kEnterAtMostChars, StandardMessageId::kEnterAtMostChars},
  };
  for (const auto& [number, id] : standard)
    EXPECT_EQ(strings.at(number).toStdString(), convert::GermanText(id)) << number;
  EXPECT_EQ(strings.at(ui::strings::kEnterInteger), "Geben Sie eine ganze Zahl ein.");
}

TEST(GermanStrings, HoldEveryStringTheWindowLayerLoads) {
  const std::map<int, QString> strings = StringsOf(German());
  for (int id : ui::strings::kAll) {
    ASSERT_EQ(strings.count(id), 1u) << id;
    EXPECT_FALSE(strings.at(id).isEmpty()) << id;
  }
}

TEST(Icons, TheApplicationIconIsThere) {
  ui::Resources resources(German());
  const QIcon icon = resources.Icon(icon::kApplication);
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.availableSizes().value(0), QSize(32, 32));
  EXPECT_TRUE(resources.Icon(4711).isNull());
}

}  // namespace
}  // namespace kx::res::testing
