// The prompt service: scripted answers and what was shown, the Qt service's boxes, the wait
// cursor.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "framework/qt_prompt_service.h"
#include "framework/text_format.h"
#include "framework/wait_cursor.h"
#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

using Prompts = GuiTest;

TEST_F(Prompts, DialogsShowTheirMessagesWithTheApplicationTitle) {
  RecordingDialog dialog(services, form::kDialog);
  ASSERT_TRUE(dialog.Create());
  prompts.QueueAnswer(Answer::kOk);
  prompts.QueueAnswer(Answer::kYes);
  prompts.QueueAnswer(Answer::kRetry);
  EXPECT_EQ(dialog.MessageBox("Fehler beim Port öffnen"), Answer::kOk);
  EXPECT_EQ(dialog.MessageBox("Treiber laden?", Buttons::kYesNo, Icon::kQuestion), Answer::kYes);
  EXPECT_EQ(dialog.MessageBox("Nochmal?", Buttons::kRetryCancel), Answer::kRetry);
  EXPECT_TRUE(prompts.ScriptUsedUp());

  ASSERT_EQ(prompts.messages().size(), 3u);
  for (const MessageRequest& shown : prompts.messages())
    EXPECT_EQ(shown.caption, "KX-M71 Vantrel");
  EXPECT_EQ(prompts.messages()[0].icon, Icon::kExclamation);
  EXPECT_EQ(prompts.messages()[0].buttons, Buttons::kOk);
  EXPECT_EQ(prompts.messages()[1].icon, Icon::kQuestion);
  EXPECT_EQ(prompts.messages()[1].buttons, Buttons::kYesNo);
  EXPECT_EQ(prompts.MessageTexts(),
            (QStringList{"Fehler beim Port öffnen", "Treiber laden?", "Nochmal?"}));
}

TEST_F(Prompts, FileDialogsAndOpenedAddressesAreRecordedAndUnscriptedAnswersChangeLeast) {
  prompts.QueueFileName(QString("/tmp/Protokoll_S.txt"));
  prompts.QueueOpenResult(OpenResult::kFailed);
  FileRequest request;
  request.mode = FileRequest::Mode::kSave;
  request.filter = "Textdateien (*.txt);;Alle Dateien (*)";
  EXPECT_EQ(services.AskFileName(nullptr, request), QString("/tmp/Protokoll_S.txt"));
  EXPECT_EQ(services.AskFileName(nullptr, {}), std::nullopt);
  EXPECT_EQ(services.Open("/opt/manual.pdf"), OpenResult::kFailed);
  EXPECT_EQ(services.Open("mailto:info@example.invalid"), OpenResult::kOpened);
  EXPECT_EQ(services.MessageBox(nullptr, "a", Buttons::kYesNo), Answer::kNo);
  EXPECT_EQ(services.MessageBox(nullptr, "b", Buttons::kRetryCancel), Answer::kCancel);

  ASSERT_EQ(prompts.fileRequests().size(), 2u);
  EXPECT_EQ(prompts.fileRequests()[0].mode, FileRequest::Mode::kSave);
  EXPECT_EQ(prompts.fileRequests()[0].filter, request.filter);
  EXPECT_EQ(prompts.opened(), (QStringList{"/opt/manual.pdf", "mailto:info@example.invalid"}));
}

// The real message box, answered by clicking one of its buttons once it shows.
TEST_F(Prompts, TheQtServiceShowsLocalisedButtonsAndReportsTheClickedOne) {
  QtPromptService real(resources);
  QStringList buttonTexts;
  QString caption;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->text(), "Treiber laden und installieren?");
    for (QAbstractButton* button : box->buttons())
      buttonTexts.append(button->text());
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == "&Nein")
        button->click();
    }
  });
  Services realServices(resources, real);
  EXPECT_EQ(realServices.MessageBox(nullptr, "Treiber laden und installieren?", Buttons::kYesNo,
                                    Icon::kQuestion),
            Answer::kNo);
  EXPECT_EQ(caption, "KX-M71 Vantrel");
  buttonTexts.sort();
  EXPECT_EQ(buttonTexts, (QStringList{"&Ja", "&Nein"}));
}

TEST_F(Prompts, TheQtServiceReportsAMissingFileWithoutOpeningAnything) {
  QtPromptService real(resources);
  EXPECT_EQ(real.Open("/nonexistent/KX-M71 Vantrel.pdf"), OpenResult::kNotFound);
  EXPECT_EQ(real.Open("file:///nonexistent/manual.pdf"), OpenResult::kNotFound);
}

TEST(WaitCursor, ShowsWhileAliveAndCanBeRestored) {
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  {
    WaitCursor wait;
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::changeOverrideCursor(Qt::ArrowCursor);
    wait.Restore();
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    { WaitCursor inner; }
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(FormatText, PutsNumberedArgumentsInOnce) {
  EXPECT_EQ(FormatText("zwischen %1 und %2", {"0", "17"}), "zwischen 0 und 17");
  EXPECT_EQ(FormatText("%2-%1", {"a", "b"}), "b-a");
  EXPECT_EQ(FormatText("%1", {"%2"}), "%2") << "arguments are not searched again";
  EXPECT_EQ(FormatText("%1 %3 100% %d", {"x"}), "x %3 100% %d");
  EXPECT_EQ(FormatText("Ende %", {}), "Ende %");
}

}  // namespace
}  // namespace kx::ui::testing
