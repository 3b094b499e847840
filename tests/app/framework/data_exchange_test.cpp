// The data exchange in both directions, its standard messages and the focus on the failing field.
#include <QLineEdit>
#include <QTest>

#include "framework/framework_strings.h"
#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

struct Members {
  int number = 5;
  uint32_t count = 7;
  QString name = "Anfang";
  QString notes = "Zeile 1\nZeile 2";
  int enabled = 1;
  int choice = 2;
  bool flag = false;
};

class Exchange : public GuiTest {
 protected:
  void SetUp() override {
    dialog.exchange = [this](DataExchange& dx) {
      dx.Text(form::kNumber, m.number);
      dx.MinMax(m.number, -10, 10);
      dx.Text(form::kCount, m.count);
      dx.MinMax(m.count, 1u, 17u);
      dx.Text(form::kName, m.name);
      dx.MaxChars(m.name, 6);
      dx.Text(form::kNotes, m.notes);
      dx.Check(form::kEnabled, m.enabled);
      dx.Radio(form::kChoice, m.choice);
      exchanges++;
    };
    ASSERT_TRUE(dialog.Create());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    prompts.Clear();
  }

  // Takes the values over; expects exactly the one message, and the focus on the field.
  void ExpectRefused(const QString& message, int field) {
    prompts.Clear();
    const Members before = m;
    EXPECT_FALSE(dialog.UpdateData(true));
    ASSERT_EQ(prompts.MessageTexts(), QStringList{message});
    EXPECT_EQ(prompts.messages().front().caption, "KX-M71 Vantrel");
    EXPECT_EQ(prompts.messages().front().icon, Icon::kExclamation);
    EXPECT_EQ(prompts.messages().front().buttons, Buttons::kOk);
    EXPECT_EQ(dialog.focusWidget(), dialog.Item(field));
    if (auto* edit = dialog.ItemAs<QLineEdit>(field)) {
      EXPECT_EQ(edit->selectedText(), edit->text()) << "the whole entry is selected";
    }
    // What comes after the failing field is not taken over.
    EXPECT_EQ(m.enabled, before.enabled);
    EXPECT_EQ(m.choice, before.choice);
  }

  Members m;
  int exchanges = 0;
  RecordingDialog dialog{services, form::kDialog};
};

TEST_F(Exchange, MembersGoIntoTheControlsAtStart) {
  EXPECT_EQ(dialog.ItemText(form::kNumber), "5");
  EXPECT_EQ(dialog.ItemText(form::kCount), "7");
  EXPECT_EQ(dialog.ItemText(form::kName), "Anfang");
  EXPECT_EQ(dialog.ItemText(form::kNotes), "Zeile 1\nZeile 2");
  EXPECT_EQ(dialog.IsChecked(form::kEnabled), 1);
  EXPECT_EQ(dialog.RadioIndex(form::kChoice), 2);
  EXPECT_EQ(dialog.TextLimit(form::kName), 6) << "MaxChars limits the edit when filling it";
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Exchange, ValuesComeBackFromTheControls) {
  dialog.SetItemText(form::kNumber, " -3 ");
  dialog.SetItemText(form::kCount, "+17");
  dialog.SetItemText(form::kName, "neu");
  dialog.SetItemText(form::kNotes, "x");
  dialog.CheckButton(form::kEnabled, false);
  dialog.SetRadioIndex(form::kChoice, -1);
  EXPECT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(m.number, -3);
  EXPECT_EQ(m.count, 17u);
  EXPECT_EQ(m.name, "neu");
  EXPECT_EQ(m.notes, "x");
  EXPECT_EQ(m.enabled, 0);
  EXPECT_EQ(m.choice, -1);
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Exchange, ANonNumberInAnIntegerField) {
  for (const char* entry : {"", "abc", "1.5", "3x", "2147483648", "--1"}) {
    dialog.SetItemText(form::kNumber, entry);
    ExpectRefused("Geben Sie eine ganze Zahl ein.", form::kNumber);
  }
  dialog.SetItemText(form::kNumber, "-2147483648");
  EXPECT_FALSE(dialog.UpdateData(true)) << "a whole number, but out of range";
  EXPECT_EQ(prompts.MessageTexts().back(), "Geben Sie eine ganze Zahl zwischen -10 und 10 ein.");
}

TEST_F(Exchange, ANegativeOrNonNumberInAnUnsignedField) {
  for (const char* entry : {"", "-1", "abc", "4294967296", "12 3"}) {
    dialog.SetItemText(form::kCount, entry);
    ExpectRefused("Geben Sie eine positive ganze Zahl ein.", form::kCount);
  }
  EXPECT_EQ(m.count, 7u);
}

TEST_F(Exchange, ANumberOutsideItsRange) {
  dialog.SetItemText(form::kNumber, "11");
  ExpectRefused("Geben Sie eine ganze Zahl zwischen -10 und 10 ein.", form::kNumber);
  EXPECT_EQ(m.number, 11) << "the value is taken before the range is checked";
  m.number = 5;
  dialog.SetItemText(form::kNumber, "10");
  dialog.SetItemText(form::kCount, "0");
  ExpectRefused("Geben Sie eine ganze Zahl zwischen 1 und 17 ein.", form::kCount);
  EXPECT_EQ(m.number, 10);
  EXPECT_EQ(m.name, "Anfang") << "fields after the failing one keep their values";
}

TEST_F(Exchange, ATextLongerThanAllowed) {
  dialog.SetItemText(form::kName, "sieben!");
  ExpectRefused("Geben Sie höchstens 6 Zeichen ein.", form::kName);
  dialog.SetItemText(form::kName, "sechs!");
  EXPECT_TRUE(dialog.UpdateData(true));
}

TEST_F(Exchange, ARuleOfTheDialogsOwnFocusesThePreparedField) {
  dialog.exchange = [this](DataExchange& dx) {
    dx.Text(form::kName, m.name);
    dx.PrepareControl(form::kNotes);
    if (dx.Saving())
      dx.Fail("Keine Hex-Eingabe");
    dx.Check(form::kEnabled, m.enabled);
    EXPECT_FALSE(dx.Ok());
  };
  dialog.CheckButton(form::kEnabled, false);
  ExpectRefused("Keine Hex-Eingabe", form::kNotes);
  EXPECT_EQ(m.enabled, 1);

  prompts.Clear();
  dialog.exchange = [](DataExchange& dx) {
    dx.PrepareControl(form::kCount);
    dx.Fail();
  };
  EXPECT_FALSE(dialog.UpdateData(true));
  EXPECT_TRUE(prompts.messages().empty()) << "the caller showed its own message";
  EXPECT_EQ(dialog.focusWidget(), dialog.Item(form::kCount));
}

TEST_F(Exchange, CheckBoxesToBoolAndAnyNonZeroChecks) {
  dialog.exchange = [this](DataExchange& dx) {
    dx.Check(form::kEnabled, m.flag);
    dx.Check(form::kEnabled, m.enabled);
  };
  m.flag = true;
  m.enabled = 255;
  dialog.UpdateData(false);
  EXPECT_EQ(dialog.IsChecked(form::kEnabled), 1);
  dialog.CheckButton(form::kEnabled, true);
  EXPECT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(m.enabled, 1);
  EXPECT_TRUE(m.flag);
}

TEST_F(Exchange, StandardMessagesPutTheirNumbersIn) {
  dialog.exchange = [](DataExchange& dx) {
    EXPECT_EQ(dx.StandardMessage(strings::kEnterIntegerBetween, {"0", "255"}),
              "Geben Sie eine ganze Zahl zwischen 0 und 255 ein.");
    EXPECT_EQ(dx.StandardMessage(strings::kEnterAtMostChars, {"20"}),
              "Geben Sie höchstens 20 Zeichen ein.");
  };
  dialog.UpdateData(true);
}

}  // namespace
}  // namespace kx::ui::testing
