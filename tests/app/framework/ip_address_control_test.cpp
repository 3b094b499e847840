// The address control: dotted text in and out, blank apart from 0.0.0.0, the operator's keys, and
// the address in the data exchange.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <vector>

#include "framework/ip_address_control.h"
#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

class AddressControl : public GuiTest {
 protected:
  void SetUp() override {
    dialog.exchange = [this](DataExchange& dx) {
      dx.IpAddress(net::kAddress, address);
      dx.IpAddress(net::kMask, mask);
      dx.Text(net::kPort, port);
    };
    ASSERT_TRUE(dialog.Create());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    control = dialog.ItemAs<IpAddressControl>(net::kAddress);
    ASSERT_NE(control, nullptr);
    prompts.Clear();
  }

  // Keys go where the focus is, which moves as the operator types.
  QWidget* Focused() const { return QApplication::focusWidget(); }
  void Type(const char* keys) {
    for (const char* key = keys; *key != 0; ++key)
      QTest::keyClick(Focused(), *key);
  }
  void Press(Qt::Key key) { QTest::keyClick(Focused(), key); }
  RecordingDialog dialog{services, net::kDialog};
  IpAddressControl* control = nullptr;
  QString address = "198.18.0.7";
  QString mask;
  int port = 10001;
};

TEST_F(AddressControl, DottedTextGoesInAndComesOutAndBlankIsNotZero) {
  EXPECT_EQ(dialog.ItemText(net::kAddress), "198.18.0.7") << "put in at the start";
  EXPECT_TRUE(dialog.ItemAs<IpAddressControl>(net::kMask)->IsBlank());
  EXPECT_EQ(dialog.ItemText(net::kMask), "");

  dialog.SetItemText(net::kAddress, "0.0.0.0");
  EXPECT_EQ(dialog.ItemText(net::kAddress), "0.0.0.0");
  EXPECT_FALSE(control->IsBlank());
  dialog.SetItemText(net::kAddress, "255.255.255.0");
  EXPECT_EQ(control->FieldValue(3), 0);
  EXPECT_EQ(control->FieldValue(0), 255);
  dialog.SetItemText(net::kAddress, "010.001.000.007");
  EXPECT_EQ(dialog.ItemText(net::kAddress), "10.1.0.7") << "leading zeros dropped";

  EXPECT_TRUE(control->SetAddress(""));
  EXPECT_TRUE(control->IsBlank());
  EXPECT_EQ(control->FieldValue(0), -1);
  EXPECT_EQ(control->Address(), "");
}

TEST_F(AddressControl, TextThatIsNoAddressLeavesTheControlBlank) {
  for (const char* text :
       {"256.1.1.1", "1.2.3", "1.2.3.4.5", "1..3.4", "a.b.c.d", "garbage", " 1.2.3.4", "1.2.3.4 ",
        "-1.2.3.4", "1.2.3.4-10001", "1234.1.1.1", "1.2.3."}) {
    ASSERT_TRUE(control->SetAddress("198.18.0.7"));
    EXPECT_FALSE(control->SetAddress(text)) << text;
    EXPECT_TRUE(control->IsBlank()) << text;
    EXPECT_FALSE(IsDottedAddress(text)) << text;
  }
  EXPECT_TRUE(IsDottedAddress("0.0.0.0"));
  EXPECT_TRUE(IsDottedAddress("198.19.255.254"));
}

TEST_F(AddressControl, TypedAddressMovesFromFieldToField) {
  dialog.SetItemText(net::kAddress, "");
  dialog.FocusItem(net::kAddress);
  Type("198.18.0.7");
  EXPECT_EQ(control->Address(), "198.18.0.7") << "the third digit and each dot move on";

  dialog.SetItemText(net::kAddress, "");
  dialog.FocusItem(net::kAddress);
  Type("19218..0");
  EXPECT_EQ(control->FieldValue(0), 192);
  EXPECT_EQ(control->FieldValue(1), 18);
  EXPECT_EQ(control->FieldValue(2), 0) << "a second dot on an empty field stays there";
  EXPECT_EQ(control->FieldValue(3), -1);
  EXPECT_TRUE(control->IsPartial());

  dialog.SetItemText(net::kAddress, "");
  dialog.FocusItem(net::kAddress);
  Type(".x-1 a,2");
  control->FocusField(1);
  Type(".3");
  EXPECT_EQ(control->FieldValue(0), 1) << "a leading dot, letters and blanks are refused";
  EXPECT_EQ(control->FieldValue(1), 2) << "a comma moves on like a dot";
  EXPECT_EQ(control->FieldValue(2), 3) << "a dot on a selected number moves on too";
}

TEST_F(AddressControl, NumbersAbove255BecomeTheHighest) {
  dialog.SetItemText(net::kAddress, "");
  dialog.FocusItem(net::kAddress);
  Type("300999256");
  EXPECT_EQ(control->FieldValue(0), 255);
  EXPECT_EQ(control->FieldValue(1), 255);
  EXPECT_EQ(control->FieldValue(2), 255);
  Type("2555");
  EXPECT_EQ(control->FieldValue(3), 255) << "the last field takes no fourth digit";
  EXPECT_EQ(control->Address(), "255.255.255.255");
}

TEST_F(AddressControl, FullFieldPassesTheDigitOnAndBackspaceGoesBack) {
  dialog.SetItemText(net::kAddress, "123.45.6.7");
  dialog.FocusItem(net::kAddress);
  Press(Qt::Key_End);
  Type("9");
  EXPECT_EQ(control->Address(), "123.9.6.7") << "the digit replaces the next field's number";
  Press(Qt::Key_Home);
  Press(Qt::Key_Backspace);
  Press(Qt::Key_Backspace);
  EXPECT_EQ(control->Address(), "12.9.6.7") << "back into the first field, at its end";
  Press(Qt::Key_Right);
  Type("8");
  EXPECT_EQ(control->Address(), "12.89.6.7") << "Right at the end enters the next field";
}

TEST_F(AddressControl, WholeAddressCanBePasted) {
  dialog.SetItemText(net::kAddress, "");
  QApplication::clipboard()->setText(" 198.18.4.2 ");
  dialog.FocusItem(net::kAddress);
  QTest::keySequence(Focused(), QKeySequence::Paste);
  EXPECT_EQ(control->Address(), "198.18.4.2");
  QApplication::clipboard()->setText("1.2.3");
  dialog.FocusItem(net::kAddress);
  QTest::keySequence(Focused(), QKeySequence::Paste);
  EXPECT_EQ(control->Address(), "198.18.4.2") << "a field takes no dots";
}

TEST_F(AddressControl, ChangesAreReportedOnceAndOnlyWhenSomethingChanged) {
  int changes = 0;
  dialog.Bind(net::kAddress, Notification::kChange, [&changes] { ++changes; });
  dialog.SetItemText(net::kAddress, "198.18.0.8");
  EXPECT_EQ(changes, 1);
  dialog.SetItemText(net::kAddress, "198.18.0.8");
  EXPECT_EQ(changes, 1);
  dialog.FocusItem(net::kAddress);
  Type("1");
  EXPECT_EQ(changes, 2);
}

TEST_F(AddressControl, DisabledControlTakesNoKeysAndTabLeavesItWhole) {
  dialog.EnableItem(net::kAddress, false);
  EXPECT_FALSE(dialog.IsItemEnabled(net::kAddress));
  for (QLineEdit* field : control->findChildren<QLineEdit*>())
    EXPECT_FALSE(field->isEnabled());
  dialog.EnableItem(net::kAddress, true);

  dialog.FocusItem(net::kAddress);
  EXPECT_TRUE(control->hasFocus());
  Press(Qt::Key_Tab);
  EXPECT_TRUE(dialog.Item(net::kMask)->hasFocus()) << "one tab stop per control";
  control->FocusField(2);
  Press(Qt::Key_Tab);
  EXPECT_TRUE(dialog.Item(net::kMask)->hasFocus()) << "from any field";
  dialog.ItemAs<IpAddressControl>(net::kMask)->FocusField(3);
  Press(Qt::Key_Backtab);
  EXPECT_TRUE(control->isAncestorOf(Focused())) << "back out of the mask from its last field";
}

TEST_F(AddressControl, FocusIsReportedForTheControlNotForEachField) {
  std::vector<Notification> heard;
  dialog.FocusItem(net::kMask);
  for (Notification notification : {Notification::kSetFocus, Notification::kKillFocus}) {
    dialog.Bind(net::kAddress, notification,
                [&heard, notification] { heard.push_back(notification); });
  }
  dialog.FocusItem(net::kAddress);
  Type("198.18.");
  control->FocusField(3);
  Press(Qt::Key_Backspace);
  EXPECT_EQ(heard, std::vector<Notification>{Notification::kSetFocus});
  Press(Qt::Key_Tab);
  EXPECT_EQ(heard, (std::vector<Notification>{Notification::kSetFocus, Notification::kKillFocus}));
}

TEST_F(AddressControl, EnterInAFieldIsTheDialogsEnter) {
  int okClicks = 0;
  dialog.BindClicked(kIdOk, [&okClicks] { ++okClicks; });
  control->FocusField(2);
  Press(Qt::Key_Return);
  EXPECT_EQ(okClicks, 1);
}

TEST_F(AddressControl, ExchangeTakesCompleteOrBlankAndRefusesHalfTypedAddresses) {
  // Putting in: a value that is no address leaves its control blank, the others still filled.
  address = "256.1.1.1";
  mask = "255.255.0.0";
  port = 10002;
  ASSERT_TRUE(dialog.UpdateData(false));
  EXPECT_TRUE(control->IsBlank());
  EXPECT_EQ(dialog.ItemText(net::kMask), "255.255.0.0");
  EXPECT_EQ(dialog.ItemText(net::kPort), "10002");

  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(address, "") << "a blank control gives an empty text";
  EXPECT_EQ(mask, "255.255.0.0");

  dialog.SetItemText(net::kAddress, "0.0.0.0");
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(address, "0.0.0.0");

  dialog.SetItemText(net::kAddress, "");
  dialog.FocusItem(net::kAddress);
  Type("1.2.3");
  dialog.SetItemText(net::kPort, "7");
  EXPECT_FALSE(dialog.UpdateData(true));
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Geben Sie eine vollständige IP-Adresse ein."});
  EXPECT_EQ(address, "0.0.0.0") << "left as it was";
  EXPECT_EQ(port, 10002) << "what follows the failure is not taken over";
  EXPECT_TRUE(control->hasFocus());
}

}  // namespace
}  // namespace kx::ui::testing
