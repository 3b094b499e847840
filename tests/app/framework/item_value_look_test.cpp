// Item values of list and combo boxes, and the list that draws marked items italic and red.
#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QTest>

#include "framework/item_value_look.h"
#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

class ItemValues : public GuiTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog.Create());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  }

  // The list as drawn, cut to one row.
  QImage Row(int id, int index) {
    auto* list = dialog.ItemAs<QListWidget>(id);
    const QRect row = list->visualItemRect(list->item(index));
    return list->viewport()->grab(row).toImage().convertToFormat(QImage::Format_RGB32);
  }

  static int RedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor pixel = image.pixelColor(x, y);
        count += pixel.red() > 160 && pixel.green() < 90 && pixel.blue() < 90;
      }
    }
    return count;
  }

  RecordingDialog dialog{services, net::kDialog};
};

TEST_F(ItemValues, ValuesStayWithTheirItems) {
  const int first = dialog.ListAdd(net::kReaders, "[LAB01]");
  const int second = dialog.ListAdd(net::kReaders, "192.168.1.20-10001");
  EXPECT_EQ(dialog.ListItemValue(net::kReaders, first), 0) << "until set";
  EXPECT_TRUE(dialog.ListSetItemValue(net::kReaders, first, 1));
  EXPECT_TRUE(dialog.ListSetItemValue(net::kReaders, second, 2));
  EXPECT_FALSE(dialog.ListSetItemValue(net::kReaders, 2, 1));
  EXPECT_FALSE(dialog.ListSetItemValue(net::kReaders, -1, 1));
  EXPECT_EQ(dialog.ListItemValue(net::kReaders, 5), 0);

  // Replacing an entry in its place: the one after it keeps its value.
  ASSERT_TRUE(dialog.ListDelete(net::kReaders, first));
  EXPECT_EQ(dialog.ListInsert(net::kReaders, first, "[LAB01]192.168.1.33-10001"), 0);
  EXPECT_EQ(dialog.ListItemValue(net::kReaders, 0), 0) << "a new item starts without one";
  EXPECT_EQ(dialog.ListItemValue(net::kReaders, 1), 2);
  EXPECT_EQ(dialog.ListText(net::kReaders, 1), "192.168.1.20-10001");
  EXPECT_EQ(dialog.ListInsert(net::kReaders, 7, "192.168.1.50-10001"), 2) << "past the end";
  EXPECT_FALSE(dialog.ListDelete(net::kReaders, 3));

  EXPECT_EQ(dialog.ListFindExact(net::kReaders, "[lab01]192.168.1.33-10001"), -1);
  EXPECT_EQ(dialog.ListFindExact(net::kReaders, "[lab01]192.168.1.33-10001", Qt::CaseInsensitive),
            0);
  EXPECT_EQ(dialog.ListFindExact(net::kReaders, "[LAB01]", Qt::CaseInsensitive), -1)
      << "the whole text";

  dialog.ListReset(net::kReaders);
  dialog.ListAdd(net::kReaders, "neu");
  EXPECT_EQ(dialog.ListItemValue(net::kReaders, 0), 0) << "values go with a reset";
}

TEST_F(ItemValues, ComboBoxesCarryValuesToo) {
  RecordingDialog controlsDialog{services, controls::kDialog};
  ASSERT_TRUE(controlsDialog.Create());
  EXPECT_TRUE(controlsDialog.ListSetItemValue(controls::kCombo, 1, 7));
  EXPECT_EQ(controlsDialog.ListItemValue(controls::kCombo, 1), 7);
  EXPECT_EQ(controlsDialog.ListInsert(controls::kCombo, 0, "null"), 0);
  EXPECT_EQ(controlsDialog.ListItemValue(controls::kCombo, 2), 7);
  EXPECT_TRUE(controlsDialog.ListDelete(controls::kCombo, 0));
  EXPECT_EQ(controlsDialog.ListText(controls::kCombo, 0), "eins");
}

TEST_F(ItemValues, MarkedItemsAreItalicAndRedUntilSelected) {
  for (int id : {net::kReaders, net::kPlain}) {
    dialog.ListAdd(id, "[LAB01]192.168.1.33-10001");
    dialog.ListAdd(id, "192.168.1.50-10001");
    dialog.ListSetItemValue(id, 0, 1);
    dialog.ListSetItemValue(id, 1, kMarkedItemValue);
  }
  EXPECT_EQ(RedPixels(Row(net::kReaders, 0)), 0) << "a confirmed entry in the normal colour";
  EXPECT_GT(RedPixels(Row(net::kReaders, 1)), 0);
  EXPECT_EQ(RedPixels(Row(net::kPlain, 1)), 0) << "only the list with the style marks items";

  // Drawn as the same text would be with an italic red font of its own.
  auto* plain = dialog.ItemAs<QListWidget>(net::kPlain);
  QFont italic = plain->font();
  italic.setItalic(true);
  plain->item(1)->setForeground(kMarkedItemColour);
  const QImage uprightRed = Row(net::kPlain, 1);
  plain->item(1)->setFont(italic);
  EXPECT_EQ(Row(net::kReaders, 1), Row(net::kPlain, 1));
  EXPECT_NE(Row(net::kReaders, 1), uprightRed) << "italic";

  dialog.ListSetCurrent(net::kReaders, 1);
  const QImage selected = Row(net::kReaders, 1);
  EXPECT_EQ(RedPixels(selected), 0) << "the highlight colours, not red";
  EXPECT_NE(selected.pixelColor(1, 1), Row(net::kReaders, 0).pixelColor(1, 1))
      << "the highlight background";
}

}  // namespace
}  // namespace kx::ui::testing
