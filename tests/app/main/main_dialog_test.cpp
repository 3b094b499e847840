// The main window over its settings: what it shows at the start, what it enables and shows for
// each transponder type and data format, the format switch through the real controls, the
// check box and button handlers, and what it saves when it closes.
#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "main_window_fixture.h"

namespace kx::app::testing {
namespace {

using Start = MainWindow;

TEST_F(Start, TheFirstStartShowsEveryDefault) {
  Open();
  EXPECT_EQ(dialog->RadioIndex(mw::kTypeReadOnly), 0);
  EXPECT_EQ(dialog->RadioIndex(mw::kFormatHexBinary), 0);
  EXPECT_EQ(dialog->ItemText(mw::kStartBlock), "1");
  EXPECT_EQ(dialog->ItemText(mw::kByteCount), "4");
  EXPECT_EQ(dialog->ItemText(mw::kWriteEdit), "0");
  EXPECT_EQ(dialog->IsChecked(mw::kAutoIncrement), 1);
  EXPECT_EQ(dialog->IsChecked(mw::kLeadingZeros), 0);
  EXPECT_EQ(dialog->IsChecked(mw::kExtraText), 0);
  EXPECT_EQ(dialog->IsChecked(mw::kLogWrites), 0);
  EXPECT_EQ(dialog->IsChecked(mw::kLogReads), 0);
  EXPECT_EQ(dialog->ItemText(mw::kWriteLogName), "/opt/vantrel/Protokoll_S.txt");
  EXPECT_EQ(dialog->ItemText(mw::kReadLogName), "/opt/vantrel/Protokoll_L.txt");
  EXPECT_EQ(dialog->windowTitle(), "KX-M71 Vantrel V1.0.0 <>") << "no reader at the stored port";
  EXPECT_EQ(dialog->appTitle(), "KX-M71 Vantrel");
  EXPECT_FALSE(dialog->windowIcon().isNull());
  EXPECT_EQ(dialog->TextLimit(mw::kWriteEdit), 8) << "2n hex digits";
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Start, StoredValuesComeBackAndTheTypeIsAlwaysReadOnly) {
  store.SetInt("Settings", "Datenformat", 3);
  store.SetInt("Settings", "Startblock", 0);
  store.SetInt("Settings", "Byteanzahl", 6);
  store.SetString("Settings", "LastData", "ID-0099-X");
  store.SetInt("Settings", "PrefixZulassen", 1);
  store.SetInt("Settings", "AutoNull", 1);
  store.SetInt("Protokoll", "LogFileEnableLesen", 1);
  Open();
  EXPECT_EQ(dialog->RadioIndex(mw::kTypeReadOnly), 0);
  EXPECT_EQ(dialog->RadioIndex(mw::kFormatHexBinary), 3);
  EXPECT_EQ(dialog->ItemText(mw::kStartBlock), "1") << "a stored 0 becomes 1";
  EXPECT_EQ(dialog->ItemText(mw::kByteCount), "6");
  EXPECT_EQ(dialog->ItemText(mw::kWriteEdit), "ID-0099-X");
  EXPECT_EQ(dialog->IsChecked(mw::kExtraText), 1);
  EXPECT_EQ(dialog->IsChecked(mw::kLeadingZeros), 1);
  EXPECT_EQ(dialog->IsChecked(mw::kLogReads), 1);
  EXPECT_EQ(dialog->TextLimit(mw::kWriteEdit), 20);
}

using Layout = MainWindow;

// The ready state of every type and format, as the operator reaches it with the radios.
TEST_F(Layout, EnablingAndVisibilityFollowTypeAndFormat) {
  Open();
  for (int type = 0; type < 8; ++type) {
    ChooseType(type);
    for (int format = 0; format < 6; ++format) {
      ChooseFormat(format);
      SCOPED_TRACE(::testing::Message() << "type " << type << ", format " << format);
      const bool writable = type > 0;
      const bool number = format <= 3;
      const bool asciiNumber = format == 1 || format == 3;
      EXPECT_EQ(dialog->IsItemEnabled(mw::kAutoIncrement), number && writable);
      EXPECT_EQ(dialog->IsItemEnabled(mw::kLeadingZeros), asciiNumber && writable);
      EXPECT_EQ(dialog->IsItemEnabled(mw::kExtraText), asciiNumber && writable);
      for (int id : {mw::kCopyReadToWrite, mw::kWriteCyclic, mw::kWriteOnce})
        EXPECT_EQ(dialog->IsItemEnabled(id), writable) << id;
      for (int id : {mw::kStartBlock, mw::kByteCount})
        EXPECT_EQ(dialog->IsItemEnabled(id), type >= 2) << id;
      for (int id : {mw::kReadCyclic, mw::kReadOnce, mw::kReadUid, mw::kKeepLastValue,
                     mw::kLogWrites, mw::kLogReads, mw::kResetStatus, mw::kClose})
        EXPECT_TRUE(dialog->IsItemEnabled(id)) << id;
      for (int id : mw::kTypeRadios)
        EXPECT_TRUE(dialog->IsItemEnabled(id)) << id;
      for (int id : mw::kFormatRadios)
        EXPECT_TRUE(dialog->IsItemEnabled(id)) << id;
      EXPECT_EQ(dialog->IsItemShown(mw::kReadDisplay), number);
      EXPECT_EQ(dialog->IsItemShown(mw::kWriteEdit), number && writable);
      EXPECT_EQ(dialog->IsItemShown(mw::kReadDisplayMultiLine), !number);
      EXPECT_EQ(dialog->IsItemShown(mw::kWriteEditMultiLine), !number);
      EXPECT_EQ(dialog->RadioIndex(mw::kTypeReadOnly), type);
      EXPECT_EQ(dialog->state().dataFormat, format);
    }
  }
  EXPECT_TRUE(prompts.messages().empty()) << prompts.MessageTexts().join(" | ").toStdString();
}

TEST_F(Layout, ReadOnlyShowsEightBytesAndNoWay) {
  Open();
  ChooseType(2);
  EnterLength("5");
  ChooseType(0);
  EXPECT_EQ(dialog->ItemText(mw::kByteCount), "8");
  EXPECT_EQ(dialog->state().byteCount, 8);
  EXPECT_FALSE(dialog->IsItemEnabled(mw::kByteCount));
  EXPECT_FALSE(dialog->IsItemEnabled(mw::kStartBlock));
  EXPECT_FALSE(dialog->IsItemShown(mw::kWriteEdit));
  for (int id : {mw::kWriteCyclic, mw::kWriteOnce, mw::kCopyReadToWrite, mw::kAutoIncrement})
    EXPECT_FALSE(dialog->IsItemEnabled(id)) << id;
}

TEST_F(Layout, ATypeChangeThatFailsValidationStillFollowsTheNewType) {
  Open();
  ChooseType(2);
  dialog->SetItemText(mw::kStartBlock, "");
  ChooseType(0);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Geben Sie eine positive ganze Zahl ein."});
  EXPECT_EQ(dialog->transponderType(), 0);
  for (int id : {mw::kWriteCyclic, mw::kWriteOnce, mw::kCopyReadToWrite, mw::kStartBlock})
    EXPECT_FALSE(dialog->IsItemEnabled(id)) << id;
  EXPECT_FALSE(dialog->IsItemShown(mw::kWriteEdit));
}

TEST_F(Layout, TheDataFormatsTurnOffWhatTheyCannotUse) {
  store.SetInt("Settings", "Datenformat", 1);
  store.SetInt("Settings", "AutoNull", 1);
  store.SetInt("Settings", "PrefixZulassen", 1);
  Open();
  ChooseType(2);
  ChooseFormat(1);
  EXPECT_EQ(dialog->IsChecked(mw::kExtraText), 1);
  ChooseFormat(0);
  EXPECT_EQ(dialog->IsChecked(mw::kExtraText), 0) << "hex binary has no extra text";
  EXPECT_EQ(dialog->state().extraText, 0);
  EXPECT_EQ(dialog->IsChecked(mw::kLeadingZeros), 1);
  ChooseFormat(5);
  for (int id : {mw::kLeadingZeros, mw::kAutoIncrement, mw::kExtraText})
    EXPECT_EQ(dialog->IsChecked(id), 0) << id;
  EXPECT_EQ(dialog->state().leadingZeros, 0);
  EXPECT_EQ(dialog->state().autoIncrement, 0);
}

TEST_F(Layout, TheReadAndWriteGroupsEndTenPixelsBelowTheirEdit) {
  Open();
  ChooseType(2);
  const auto bottom = [this](int id) {
    const QRect r = dialog->ItemRect(id);
    return r.y() + r.height();
  };
  for (int format : {4, 0, 5, 3}) {
    ChooseFormat(format);
    const bool number = format <= 3;
    EXPECT_EQ(bottom(mw::kReadGroup),
              bottom(number ? mw::kReadDisplay : mw::kReadDisplayMultiLine) + 10);
    EXPECT_EQ(bottom(mw::kWriteGroup),
              bottom(number ? mw::kWriteEdit : mw::kWriteEditMultiLine) + 10);
    EXPECT_EQ(dialog->ItemRect(mw::kReadGroup).y(), dialog->ItemRect(mw::kWriteGroup).y());
  }
}

using FormatSwitch = MainWindow;

TEST_F(FormatSwitch, ReExpressesTheWriteTextAsTheExamplesSay) {
  Open();
  ChooseType(2);
  ChooseFormat(1);
  EnterLength("4");
  SetWriteText("1234");
  ChooseFormat(0);
  EXPECT_EQ(WriteText(), "34333231");
  EXPECT_EQ(dialog->TextLimit(mw::kWriteEdit), 8);
  ChooseFormat(1);
  EXPECT_EQ(WriteText(), "1234");
  ChooseFormat(4);
  EXPECT_EQ(dialog->ItemText(mw::kWriteEditMultiLine), "31 32 33 34");
  EXPECT_EQ(dialog->TextLimit(mw::kWriteEditMultiLine), 12);
  ChooseFormat(5);
  EXPECT_EQ(dialog->ItemText(mw::kWriteEditMultiLine), "1234");
  ChooseFormat(2);
  EXPECT_EQ(WriteText(), "875770417") << "'1234' as a little-endian number";
  EXPECT_EQ(dialog->TextLimit(mw::kWriteEdit), 20);
  EXPECT_EQ(dialog->state().writeText, "875770417");
  EXPECT_TRUE(dialog->ItemText(mw::kStatus).isEmpty());
}

TEST_F(FormatSwitch, ConversionFailuresBecomeStatusLinesAndTheReadDisplaysAreCleared) {
  Open();
  ChooseType(2);
  SetWriteText("");
  dialog->SetItemText(mw::kReadDisplay, "00001A2B");
  ChooseFormat(1);
  EXPECT_EQ(dialog->ItemText(mw::kStatus), "Keine Daten vorhanden!\n");
  EXPECT_EQ(dialog->ItemText(mw::kReadDisplay), "");
  EXPECT_EQ(WriteText(), "");

  Click(mw::kResetStatus);
  EXPECT_EQ(dialog->ItemText(mw::kStatus), "");
  EnterLength("9");
  SetWriteText("1");
  ChooseFormat(2);
  EXPECT_EQ(dialog->ItemText(mw::kStatus),
            "Bytanzahl größer 8 kann im Dezimal-Modus nicht bearbeitetet werden\n");
  EXPECT_EQ(WriteText(), "");
}

TEST_F(FormatSwitch, LeavingTheLengthEditRenewsTheLimit) {
  Open();
  ChooseType(2);
  EnterLength("16");
  EXPECT_EQ(dialog->state().byteCount, 16);
  EXPECT_EQ(dialog->TextLimit(mw::kWriteEdit), 32);
  EnterLength("x");
  EXPECT_EQ(dialog->state().byteCount, 0) << "no number counts as 0";
  EXPECT_EQ(dialog->TextLimit(mw::kWriteEdit), 0);
  EnterLength("-3");
  EXPECT_EQ(dialog->state().byteCount, -3);
}

using Handlers = MainWindow;

TEST_F(Handlers, LeadingZerosPadOrStripTheWriteText) {
  Open();
  ChooseType(2);
  ChooseFormat(1);
  EnterLength("6");
  SetWriteText("12");
  Click(mw::kLeadingZeros);
  EXPECT_EQ(WriteText(), "000012");
  Click(mw::kLeadingZeros);
  EXPECT_EQ(WriteText(), "12");
  ChooseFormat(3);
  SetWriteText("0070");
  Click(mw::kExtraText);
  EXPECT_EQ(WriteText(), "70");
  EXPECT_EQ(dialog->state().extraText, 1);
}

TEST_F(Handlers, LeadingZerosLeaveAnInvalidTextAlone) {
  Open();
  ChooseType(2);
  ChooseFormat(3);
  SetWriteText("12a");
  Click(mw::kLeadingZeros);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Keine Dezimal-Eingabe"});
  EXPECT_EQ(WriteText(), "12a");
}

TEST_F(Handlers, CopyTakesTheReadDisplaysIntoTheWriteEdits) {
  Open();
  ChooseType(2);
  dialog->SetItemText(mw::kReadDisplay, "00001A2B");
  dialog->SetItemText(mw::kReadDisplayMultiLine, "01 02 A0");
  Click(mw::kCopyReadToWrite);
  EXPECT_EQ(dialog->ItemText(mw::kWriteEdit), "00001A2B");
  EXPECT_EQ(dialog->ItemText(mw::kWriteEditMultiLine), "01 02 A0");
}

TEST_F(Handlers, StatusLinesGoToTheEndAndResetEmptiesTheBox) {
  Open();
  dialog->AppendStatusLine("eins");
  dialog->AppendStatusLine("zwei");
  EXPECT_EQ(dialog->ItemText(mw::kStatus), "eins\nzwei\n");
  // 1000 lines, counting the empty one after the last line break.
  for (int i = 0; i < 997; ++i)
    dialog->AppendStatusLine(QString::number(i));
  dialog->AppendStatusLine("tausend");
  EXPECT_TRUE(dialog->ItemText(mw::kStatus).endsWith("996\ntausend\n"));
  dialog->AppendStatusLine("neu");
  EXPECT_EQ(dialog->ItemText(mw::kStatus), "neu\n") << "a full box starts again";
  Click(mw::kResetStatus);
  EXPECT_EQ(dialog->ItemText(mw::kStatus), "");
}

using Closing = MainWindow;

TEST_F(Closing, SavesWhatTheOperatorSet) {
  Open();
  ChooseType(2);
  ChooseFormat(3);
  dialog->SetItemText(mw::kStartBlock, "5");
  EnterLength("6");
  SetWriteText("0042");
  Click(mw::kAutoIncrement);
  Click(mw::kLogWrites);
  Close();
  EXPECT_TRUE(prompts.messages().empty());
  EXPECT_EQ(Stored(section::kSettings, key::kDataFormat), "3");
  EXPECT_EQ(Stored(section::kSettings, key::kStartBlock), "5");
  EXPECT_EQ(Stored(section::kSettings, key::kByteCount), "6");
  EXPECT_EQ(Stored(section::kSettings, key::kLastData), "0042");
  EXPECT_EQ(Stored(section::kSettings, key::kAutoIncrement), "0");
  EXPECT_EQ(Stored(section::kProtocol, key::kLogWrites), "1");
  EXPECT_EQ(Stored(section::kProtocol, key::kLogReads), "0");
  EXPECT_EQ(Stored(section::kSettings, key::kCycleTime), "250");
}

TEST_F(Closing, AFailedTakeOverIsShownAndTheRestIsSavedAsItWas) {
  store.SetString("Settings", "LastData", "1A");
  Open();
  ChooseType(2);
  dialog->SetItemText(mw::kStartBlock, "99");
  SetWriteText("FF");
  Close();
  EXPECT_EQ(prompts.MessageTexts(),
            QStringList{"Geben Sie eine ganze Zahl zwischen 0 und 17 ein."});
  EXPECT_EQ(Stored(section::kSettings, key::kStartBlock), "1");
  EXPECT_EQ(Stored(section::kSettings, key::kLastData), "1A");
}

// A window that a reader connection was handed to.
class ConnectedWindow : public CKX_M71_VantrelDlg {
 public:
  using CKX_M71_VantrelDlg::CKX_M71_VantrelDlg;
  void SetConnection(int handle) { connection_ = handle; }
};

TEST_F(Closing, AConnectionThatCannotBeClosedIsReported) {
  ConnectedWindow window(services, store, QString(kProgramDirectory), &interfaces);
  ASSERT_TRUE(window.Create());
  prompts.Clear();             // the stored interface has no reader
  window.SetConnection(4711);  // the SDK knows no such connection
  window.Destroy();
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Fehler beim Port öffnen"});
  EXPECT_EQ(prompts.messages().front().caption, "KX-M71 Vantrel");
  EXPECT_EQ(Stored(section::kSettings, key::kByteCount), "8") << "saved first; Read Only has 8";
}

TEST_F(Closing, EscapeAndTheCloseButtonEndWithTwoAndEnterWithOne) {
  dialog = MakeWindow();
  EXPECT_EQ(RunModal(*dialog, [this] { Click(mw::kClose); }), 2);
  EXPECT_EQ(RunModal(*dialog, [this] { QTest::keyClick(dialog.get(), Qt::Key_Escape); }), 2);
  EXPECT_EQ(RunModal(*dialog, [this] { QTest::keyClick(dialog.get(), Qt::Key_Return); }), 1);
  const int refused = RunModal(*dialog, [this] {
    ChooseType(2);
    dialog->SetItemText(mw::kStartBlock, "18");
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible()) << "the values did not pass";
    dialog->SetItemText(mw::kStartBlock, "17");
    QTest::keyClick(dialog.get(), Qt::Key_Return);
  });
  EXPECT_EQ(refused, 1);
  EXPECT_EQ(Stored(section::kSettings, key::kStartBlock), "17");
}

using AbsurdSettings = MainWindow;

TEST_F(AbsurdSettings, AreShownAndMeetTheRulesAtTheNextTakeOver) {
  store.SetString("Settings", "Byteanzahl", "-7");
  store.SetString("Settings", "Datenformat", "9");
  store.SetString("Settings", "Startblock", "4000000000");
  store.SetString("Settings", "AutoIncrement", "-3");
  store.SetString("Settings", "ZyklusZeit", "sehr schnell");
  store.SetString("Settings", "LastData", QString(20000, u'F'));
  Open();
  EXPECT_EQ(dialog->RadioIndex(mw::kFormatHexBinary), 0);
  EXPECT_EQ(dialog->ItemText(mw::kStartBlock), "1");
  EXPECT_EQ(dialog->ItemText(mw::kByteCount), "-7");
  EXPECT_EQ(dialog->IsChecked(mw::kAutoIncrement), 1);
  EXPECT_EQ(Stored(section::kSettings, key::kCycleTime), "250");
  EXPECT_EQ(WriteText().size(), 20000);

  ChooseType(2);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Geben Sie eine positive ganze Zahl ein."});
  EXPECT_EQ(dialog->focusWidget(), dialog->Item(mw::kByteCount));
  EXPECT_EQ(dialog->state().byteCount, -7) << "a refused value changes nothing";
  for (int format = 0; format < 6; ++format)
    ChooseFormat(format);
  EXPECT_EQ(dialog->state().dataFormat, 5);
}

TEST_F(AbsurdSettings, AHugeLengthNeitherCrashesNorAllocatesItsSize) {
  store.SetInt("Settings", "Byteanzahl", 2000000000);
  store.SetString("Settings", "LastData", "1234");
  Open();
  ChooseType(3);
  for (int format : {1, 0, 2, 3, 4, 5, 0})
    ChooseFormat(format);
  EXPECT_EQ(dialog->TextLimit(mw::kWriteEdit), 2 * 1023);
  prompts.Clear();
  EXPECT_FALSE(dialog->UpdateData(true));
  EXPECT_EQ(prompts.MessageTexts(),
            QStringList{"Geben Sie eine ganze Zahl zwischen 1 und 1023 ein."});
}

}  // namespace
}  // namespace kx::app::testing
