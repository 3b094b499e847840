// The progress bar: range, step, position clamped into the range, stepping round.
#include <QTest>

#include "framework/progress_bar.h"
#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

class Progress : public GuiTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog.Create());
    bar = dialog.ItemAs<ProgressBar>(net::kProgress);
    ASSERT_NE(bar, nullptr);
  }

  RecordingDialog dialog{services, net::kDialog};
  ProgressBar* bar = nullptr;
};

TEST_F(Progress, TemplateGivesAHiddenVerticalBarThatTheDialogShows) {
  EXPECT_FALSE(dialog.IsItemShown(net::kProgress));
  EXPECT_EQ(bar->orientation(), Qt::Vertical);
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 100);
  EXPECT_EQ(bar->Step(), 10);
  EXPECT_EQ(bar->Pos(), 0);
  dialog.ShowItem(net::kProgress, true);
  EXPECT_TRUE(dialog.IsItemShown(net::kProgress));
}

TEST_F(Progress, PositionIsClampedIntoTheRange) {
  bar->SetRange(0, 25000);
  EXPECT_EQ(bar->SetStep(10), 10);
  EXPECT_EQ(bar->SetPos(0), 0);
  EXPECT_EQ(bar->SetPos(12345), 0) << "the previous position";
  EXPECT_EQ(bar->Pos(), 12345);
  bar->SetPos(25107);  // elapsed time overshoots the end
  EXPECT_EQ(bar->Pos(), 25000);
  bar->SetPos(-3);
  EXPECT_EQ(bar->Pos(), 0);

  bar->SetPos(80);
  bar->SetRange(0, 50);
  EXPECT_EQ(bar->Pos(), 50) << "a narrower range keeps the bar full, not empty";
  bar->SetRange(100, 10);
  EXPECT_EQ(bar->minimum(), 100);
  EXPECT_EQ(bar->maximum(), 100);
}

TEST_F(Progress, StepItAdvancesAndStartsAgainPastTheEnd) {
  bar->SetRange(0, 25000);
  bar->SetStep(10);
  EXPECT_EQ(bar->StepIt(), 0);
  EXPECT_EQ(bar->StepIt(), 10);
  EXPECT_EQ(bar->Pos(), 20);

  bar->SetRange(0, 100);
  bar->SetPos(95);
  EXPECT_EQ(bar->StepIt(), 95);
  EXPECT_EQ(bar->Pos(), 5);
  bar->SetPos(90);
  bar->StepIt();
  EXPECT_EQ(bar->Pos(), 100) << "reaching the end exactly is no wrap";

  bar->SetStep(-30);
  bar->SetPos(10);
  bar->StepIt();
  EXPECT_EQ(bar->Pos(), 80) << "backwards past the start comes round from the end";

  bar->SetRange(0, 2147483647);
  bar->SetStep(2147483647);
  bar->SetPos(2147483000);
  bar->StepIt();
  EXPECT_GE(bar->Pos(), 0) << "no overflow";
}

}  // namespace
}  // namespace kx::ui::testing
