// Taking the values over: the start block, the length and the write text of every format, each
// refusal with its message box, the focus on its field, and nothing else changed.
#include <QLineEdit>

#include "main_window_fixture.h"

namespace kx::app::testing {
namespace {

class Validation : public MainWindow {
 protected:
  void SetUp() override {
    store.SetString("Settings", "LastData", "12");
    Open();
  }

  // Type and format by their radios, then the entries as the operator typed them.
  void Enter(int type, int format, const QString& startBlock, const QString& length,
             const QString& text) {
    ChooseType(type);
    ChooseFormat(format);
    prompts.Clear();
    dialog->SetItemText(mw::kStartBlock, startBlock);
    dialog->SetItemText(mw::kByteCount, length);
    SetWriteText(text);
  }

  void ExpectAccepted(const std::string& trace) {
    SCOPED_TRACE(trace);
    prompts.Clear();
    EXPECT_TRUE(dialog->UpdateData(true));
    EXPECT_TRUE(prompts.messages().empty()) << prompts.MessageTexts().join("|").toStdString();
  }

  void ExpectRefused(const QString& message, int field, const std::string& trace) {
    SCOPED_TRACE(trace);
    const MainSettings before = dialog->state();
    const int type = dialog->transponderType();
    prompts.Clear();
    EXPECT_FALSE(dialog->UpdateData(true));
    ASSERT_EQ(prompts.MessageTexts(), QStringList{message});
    EXPECT_EQ(prompts.messages().front().caption, "KX-M71 Vantrel");
    EXPECT_EQ(prompts.messages().front().icon, ui::Icon::kExclamation);
    if (dialog->IsItemEnabled(field)) {
      EXPECT_EQ(dialog->focusWidget(), dialog->Item(field));
    }
    // Only what comes before the failing field is taken over.
    const MainSettings& after = dialog->state();
    EXPECT_EQ(after.writeText, before.writeText);
    if (field == mw::kStartBlock) {
      EXPECT_EQ(after.startBlock, before.startBlock);
      EXPECT_EQ(after.byteCount, before.byteCount);
    }
    if (field == mw::kByteCount) {
      EXPECT_EQ(after.byteCount, before.byteCount);
    }
    EXPECT_EQ(dialog->transponderType(), type);
    EXPECT_EQ(after.dataFormat, before.dataFormat);
  }
};

TEST_F(Validation, StartBlockWithinTheTypesRange) {
  struct Case {
    int type;
    QString entry;
    QString message;  // empty: accepted
  };
  const QString positive = "Geben Sie eine positive ganze Zahl ein.";
  const auto between = [](int highest) {
    return QString("Geben Sie eine ganze Zahl zwischen 0 und %1 ein.").arg(highest);
  };
  const Case cases[] = {
      {2, "", positive},           {2, "x", positive}, {2, "-1", positive},      {2, "17", ""},
      {2, "18", between(17)},      {3, "15", ""},      {3, "16", between(15)},   {4, "7", ""},
      {4, "8", between(7)},        {5, "32", ""},      {6, "33", between(32)},   {7, "4", ""},
      {7, "5", between(4)},        {0, "255", ""},     {1, "256", between(255)}, {2, "0", ""},
      {2, "4294967296", positive},
  };
  for (const Case& c : cases) {
    Enter(c.type, 0, c.entry, "4", "12");
    const std::string trace = "type " + std::to_string(c.type) + " '" + c.entry.toStdString() + "'";
    if (c.message.isEmpty()) {
      ExpectAccepted(trace);
      EXPECT_EQ(dialog->state().startBlock, c.entry.toUInt());
    } else {
      ExpectRefused(c.message, mw::kStartBlock, trace);
    }
  }
}

TEST_F(Validation, LengthWithinTheFormatsRange) {
  struct Case {
    int format;
    QString entry;
    QString message;
  };
  const QString positive = "Geben Sie eine positive ganze Zahl ein.";
  const QString upTo1023 = "Geben Sie eine ganze Zahl zwischen 1 und 1023 ein.";
  const Case cases[] = {
      {0, "", positive},
      {0, "vier", positive},
      {0, "0", upTo1023},
      {0, "1024", upTo1023},
      {0, "1023", ""},
      {1, "1", ""},
      {2, "8", ""},
      {2, "9", "Geben Sie eine ganze Zahl zwischen 1 und 8 ein."},
      {3, "1024", upTo1023},
      {4, "0", upTo1023},
      {5, "99999999999", upTo1023},
  };
  for (const Case& c : cases) {
    Enter(2, c.format, "1", c.entry, "1");
    const std::string trace =
        "format " + std::to_string(c.format) + " '" + c.entry.toStdString() + "'";
    if (c.message.isEmpty()) {
      ExpectAccepted(trace);
      EXPECT_EQ(dialog->state().byteCount, c.entry.toInt());
    } else {
      ExpectRefused(c.message, mw::kByteCount, trace);
    }
  }
}

TEST_F(Validation, ReadOnlyAndTiReadWriteTakeEightWhateverTheLengthSays) {
  for (int type : {0, 1}) {
    Enter(type, 0, "1", "", "12");
    ExpectAccepted("type " + std::to_string(type));
    EXPECT_EQ(dialog->state().byteCount, 8);
    EXPECT_EQ(dialog->ItemText(mw::kByteCount), "8");
  }
}

TEST_F(Validation, WriteTextOfEveryFormat) {
  struct Case {
    int format;
    QString length;
    QString text;
    QString message;
  };
  const auto atMost = [](int count) {
    return QString("Geben Sie höchstens %1 Zeichen ein.").arg(count);
  };
  const QString noHex = "Keine Hex-Eingabe";
  const QString noDecimal = "Keine Dezimal-Eingabe";
  const Case cases[] = {
      {0, "4", "1a2B3c4D", ""},
      {0, "4", "1a2B3c4D5", atMost(8)},
      {0, "4", "12G4", noHex},
      {0, "2", "12 4", noHex},
      {1, "4", "00FF", ""},
      {1, "4", "00FFF", atMost(4)},
      {1, "4", "0x1", noHex},
      {2, "8", "-5", noDecimal},
      {2, "8", "12a", noDecimal},
      {2, "8", "123456789012345678901", atMost(20)},
      {2, "1", "256", ""},  // too large for one byte: the write says so, not the take-over
      {3, "30", "0099", ""},
      {3, "30", "ID-0099", noDecimal},
      {3, "30", "123456789012345678901", atMost(20)},
      {4, "3", "01 02 03", ""},
      {4, "3", "010203", ""},
      {4, "3", "01 02 03 04", atMost(9)},
      {4, "3", "01020304", "Datenfeld enthält mehr Daten als erlaubt sind."},
      {4, "3", "01,02", noHex},
      {5, "4", "äöü!", ""},
      {5, "4", "Hallo", atMost(4)},
  };
  for (const Case& c : cases) {
    Enter(2, c.format, "1", c.length, c.text);
    const std::string trace =
        "format " + std::to_string(c.format) + " '" + c.text.toStdString() + "'";
    if (c.message.isEmpty()) {
      ExpectAccepted(trace);
      EXPECT_EQ(dialog->state().writeText, c.text);
    } else {
      ExpectRefused(c.message, WriteEdit(), trace);
      EXPECT_EQ(dialog->state().byteCount, c.length.toInt()) << "the length came first";
    }
  }
}

TEST_F(Validation, ExtraTextLiftsTheContentRulesOfTheAsciiNumbers) {
  Enter(2, 3, "1", "30", "0099");
  Click(mw::kExtraText);
  ASSERT_EQ(dialog->state().extraText, 1);
  SetWriteText("Seriennummer ID-0099-X");
  ExpectAccepted("decimal ASCII takes any characters");
  ChooseFormat(1);
  ASSERT_EQ(dialog->state().extraText, 1) << "hex ASCII keeps it";
  SetWriteText("x-1F");
  ExpectAccepted("hex ASCII takes any characters");
  SetWriteText(QString(31, u'x'));
  ExpectRefused("Geben Sie höchstens 30 Zeichen ein.", mw::kWriteEdit, "but keeps its length");
}

}  // namespace
}  // namespace kx::app::testing
