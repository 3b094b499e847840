// The label with its own colour, font and cursor that opens its text, and the picture with white
// as its transparent colour.
#include <QImage>
#include <QLabel>
#include <QTest>

#include "framework/bitmap_static.h"
#include "framework/label.h"
#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

class CustomControls : public GuiTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog.Create());
    dialog.BindClicked(custom::kWebLink, [this] { ++webClicks; });
    dialog.BindClicked(custom::kMailLink, [this] { ++mailClicks; });
  }
  void TearDown() override { dialog.Destroy(); }

  QLabel* LabelOf(int id) const { return dialog.ItemAs<QLabel>(id); }
  // What the control shows over a dialog background of the given colour.
  QImage Shown(int id, const QColor& background) {
    QWidget* control = dialog.Item(id);
    QImage image(control->size(), QImage::Format_RGB32);
    image.fill(background);
    control->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
  }

  RecordingDialog dialog{services, custom::kDialog};
  int webClicks = 0;
  int mailClicks = 0;
};

TEST_F(CustomControls, LabelOpensItsAddressOnlyWithTheNotifyStyle) {
  CLabel web;
  CLabel mail;
  ASSERT_TRUE(web.Attach(dialog, custom::kWebLink));
  ASSERT_TRUE(mail.Attach(dialog, custom::kMailLink));
  web.SetHoverCursor(Qt::PointingHandCursor);
  mail.SetHoverCursor(Qt::PointingHandCursor);
  EXPECT_EQ(web.shownCursor(), Qt::PointingHandCursor);
  EXPECT_EQ(mail.shownCursor(), std::nullopt) << "no notify style, no hover cursor";

  QTest::mouseClick(LabelOf(custom::kWebLink), Qt::LeftButton);
  QTest::mouseClick(LabelOf(custom::kMailLink), Qt::LeftButton);
  EXPECT_EQ(prompts.opened(), QStringList{"https://www.example.invalid/produkt"});
  EXPECT_EQ(webClicks, 1);
  EXPECT_EQ(mailClicks, 0);

  mail.SetNotify(true);
  EXPECT_EQ(mail.shownCursor(), Qt::PointingHandCursor);
  QTest::mouseClick(LabelOf(custom::kMailLink), Qt::LeftButton);
  EXPECT_EQ(prompts.opened().back(), "mailto:info@example.invalid");
  EXPECT_EQ(mailClicks, 1);

  web.SetNotify(false);
  EXPECT_EQ(web.shownCursor(), std::nullopt);
  QTest::mouseClick(LabelOf(custom::kWebLink), Qt::LeftButton);
  EXPECT_EQ(webClicks, 1);
  EXPECT_EQ(prompts.opened().size(), 2);
}

TEST_F(CustomControls, TextThatIsNoAddressOpensNothingButStillClicks) {
  CLabel status;
  ASSERT_TRUE(status.Attach(dialog, custom::kWebLink));
  for (const char* text : {"Neue Version:KX-M71 Vantrel V 1.1 (2026-11-30)", "/etc/passwd",
                           "file:///etc/passwd", "mailto:"}) {
    status.SetLabelText(text);
    EXPECT_EQ(LabelOf(custom::kWebLink)->text(), text);
    QTest::mouseClick(LabelOf(custom::kWebLink), Qt::LeftButton);
  }
  EXPECT_TRUE(prompts.opened().isEmpty());
  EXPECT_EQ(webClicks, 4);
}

TEST_F(CustomControls, LabelColourAndFontReachTheControl) {
  CLabel status;
  status.SetTextColour(QColor(128, 128, 128));
  ASSERT_TRUE(status.Attach(dialog, custom::kStatus));
  EXPECT_EQ(status.font(), dialog.font()) << "the dialog's font until one is set";
  EXPECT_EQ(LabelOf(custom::kStatus)->palette().color(QPalette::WindowText), QColor(128, 128, 128));

  status.SetFaceName(dialog.font().family());
  status.SetFontHeight(17);
  status.SetItalic(true);
  const QFont shown = LabelOf(custom::kStatus)->font();
  EXPECT_TRUE(shown.italic());
  EXPECT_EQ(shown.pixelSize(), 17);
  EXPECT_FALSE(shown.underline());

  QFont underlined = dialog.font();
  underlined.setUnderline(true);
  status.SetLogFont(underlined);
  status.SetTextColour(QColor(255, 0, 0));
  EXPECT_TRUE(LabelOf(custom::kStatus)->font().underline());
  EXPECT_FALSE(LabelOf(custom::kStatus)->font().italic()) << "the whole font is replaced";

  // The text is drawn in the label's colour over its own background.
  status.SetLabelText("WWWWWWWWWWWWWWWW");
  const QImage image = Shown(custom::kStatus, Qt::black);
  bool red = false;
  for (int y = 0; y < image.height() && !red; ++y) {
    for (int x = 0; x < image.width() && !red; ++x)
      red = QColor(image.pixel(x, y)).red() > 200 && QColor(image.pixel(x, y)).green() < 80;
  }
  EXPECT_TRUE(red);
  EXPECT_EQ(QColor(image.pixel(image.width() - 1, image.height() - 1)), status.backgroundColour());
}

TEST_F(CustomControls, LabelKeepsItsSettingsForTheNextWindow) {
  CLabel status;
  ASSERT_TRUE(status.Attach(dialog, custom::kStatus));
  status.SetTextColour(QColor(192, 0, 0));
  status.SetLabelText("zweites Fenster");
  dialog.Destroy();
  ASSERT_TRUE(dialog.Create());
  ASSERT_TRUE(status.Attach(dialog, custom::kStatus));
  EXPECT_EQ(LabelOf(custom::kStatus)->text(), "zweites Fenster");
  EXPECT_EQ(LabelOf(custom::kStatus)->palette().color(QPalette::WindowText), QColor(192, 0, 0));
  EXPECT_FALSE(status.Attach(dialog, 999));
}

TEST_F(CustomControls, TransparentPictureLeavesWhiteOut) {
  const QColor background(10, 20, 30);
  EXPECT_EQ(QColor(Shown(custom::kPicture, background).pixel(0, 0)), QColor(Qt::white))
      << "drawn as it is without transparency";

  CBitmapStatic picture;
  ASSERT_TRUE(picture.Attach(dialog, custom::kPicture));
  picture.SetTransparent(true);
  const QImage shown = Shown(custom::kPicture, background);
  EXPECT_EQ(QColor(shown.pixel(0, 0)), background);
  EXPECT_EQ(QColor(shown.pixel(7, 7)), background);
  EXPECT_EQ(QColor(shown.pixel(3, 3)), QColor(Qt::red));
  EXPECT_EQ(QColor(shown.pixel(5, 2)), QColor(Qt::red));
  EXPECT_EQ(QColor(shown.pixel(20, 20)), background) << "outside the picture";

  CBitmapStatic white;
  ASSERT_TRUE(white.Attach(dialog, custom::kWhite));
  white.SetTransparent(true);
  const QImage nothing = Shown(custom::kWhite, background);
  for (int y = 0; y < nothing.height(); ++y) {
    for (int x = 0; x < nothing.width(); ++x)
      ASSERT_EQ(QColor(nothing.pixel(x, y)), background) << x << "," << y;
  }

  CBitmapStatic missing;
  ASSERT_TRUE(missing.Attach(dialog, custom::kNoPicture));
  missing.SetTransparent(true);
  EXPECT_EQ(QColor(Shown(custom::kNoPicture, background).pixel(3, 3)), background);
  EXPECT_FALSE(missing.Attach(dialog, custom::kStatus + 100));
}

}  // namespace
}  // namespace kx::ui::testing
