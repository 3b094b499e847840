// The main window's logs: choosing their files, numbering across appends and across other
// programs' edits, and the status line that reports a line the log could not take.
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "main_window_fixture.h"

namespace kx::app::testing {
namespace {

class LogFiles : public MainWindow {
 protected:
  QString LogPath(const char* name) const { return logs.filePath(QString::fromLatin1(name)); }
  void UseLogs(const QString& writeLog, const QString& readLog) {
    store.SetString(section::kProtocol, key::kWriteLogName, writeLog);
    store.SetString(section::kProtocol, key::kReadLogName, readLog);
  }
  static QStringList Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
      return {};
    return QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  }
  QStringList StatusLines() const {
    return dialog->ItemText(mw::kStatus).split(u'\n', Qt::SkipEmptyParts);
  }

  QTemporaryDir logs;
};

TEST_F(LogFiles, TheChoosersAskWithTheirTitlesAndButtonsAndStoreTheChoiceAtOnce) {
  Open();
  const QString chosen = LogPath("Charge_7.txt");
  prompts.QueueFileName(chosen);
  Click(mw::kChooseWriteLog);
  ASSERT_EQ(prompts.fileRequests().size(), 1u);
  const ui::FileRequest& asked = prompts.fileRequests()[0];
  EXPECT_EQ(asked.mode, ui::FileRequest::Mode::kSave);
  EXPECT_EQ(asked.title, "Logdatei \"Schreiben\" wählen");
  EXPECT_EQ(asked.acceptLabel, "OK");
  EXPECT_EQ(asked.rejectLabel, "Abbrechen");
  EXPECT_EQ(asked.initialPath, "/opt/vantrel/Protokoll_S.txt");
  EXPECT_EQ(asked.filter, "Log Files (*.txt);;All Files (*)");
  EXPECT_EQ(asked.defaultSuffix, "txt");
  EXPECT_FALSE(asked.confirmOverwrite) << "lines are appended; nothing is replaced";
  EXPECT_EQ(Stored(section::kProtocol, key::kWriteLogName), chosen) << "before the window closes";
  EXPECT_EQ(dialog->ItemText(mw::kWriteLogName), chosen);

  // Cancelled: the read log keeps its name.
  Click(mw::kChooseReadLog);
  ASSERT_EQ(prompts.fileRequests().size(), 2u);
  EXPECT_EQ(prompts.fileRequests()[1].title, "Logdatei \"Lesen\" wählen");
  EXPECT_EQ(prompts.fileRequests()[1].initialPath, "/opt/vantrel/Protokoll_L.txt");
  EXPECT_EQ(Stored(section::kProtocol, key::kReadLogName), "/opt/vantrel/Protokoll_L.txt");
  EXPECT_EQ(dialog->ItemText(mw::kReadLogName), "/opt/vantrel/Protokoll_L.txt");

  // The next record goes to the chosen file.
  dialog->AppendWriteLog("1A2B");
  EXPECT_EQ(Lines(chosen).size(), 1);
}

TEST_F(LogFiles, EachLogCountsItsOwnLinesAlsoWhenAnotherProgramEditsIt) {
  UseLogs(LogPath("S.txt"), LogPath("L.txt"));
  Open();
  for (const char* value : {"1", "2", "3"})
    dialog->AppendWriteLog(value);
  dialog->AppendReadLog("A");
  {
    QFile file(LogPath("S.txt"));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("von Hand ergänzt\r\n");
  }
  dialog->AppendWriteLog("4");
  const QStringList lines = Lines(LogPath("S.txt"));
  ASSERT_EQ(lines.size(), 5);
  EXPECT_TRUE(lines[2].startsWith("     3\t"));
  EXPECT_TRUE(lines[4].startsWith("     5\t")) << lines[4].toStdString();
  // The window starts on Read Only, whose transponders have no block to choose.
  EXPECT_TRUE(lines[4].endsWith("\tHEX BIN\t   0\t   4\t4")) << lines[4].toStdString();
  EXPECT_TRUE(Lines(LogPath("L.txt")).value(0).startsWith("     1\t"));

  // Another program shortens the log: the count follows the file.
  ASSERT_TRUE(QFile::resize(LogPath("S.txt"), 0));
  dialog->AppendWriteLog("5");
  EXPECT_TRUE(Lines(LogPath("S.txt")).value(0).startsWith("     1\t"));
  EXPECT_TRUE(StatusLines().isEmpty());
}

TEST_F(LogFiles, ALineTheLogCannotTakeLeavesAStatusLineAndTheNextGoodAppendCarriesOn) {
  const QString missing = LogPath("fehlt/S.txt");
  UseLogs(missing, LogPath("L.txt"));
  Open();
  dialog->AppendWriteLog("1A2B");
  EXPECT_EQ(StatusLines(),
            QStringList{"Logdatei " + missing +
                        " konnte nicht geschrieben werden: das Verzeichnis existiert nicht"});
  // Outside a cycle every failure is reported.
  dialog->AppendWriteLog("1A2B");
  EXPECT_EQ(StatusLines().size(), 2);

  ASSERT_TRUE(QDir(logs.path()).mkdir("fehlt"));
  dialog->AppendWriteLog("1A2B");
  EXPECT_EQ(StatusLines().size(), 2);
  EXPECT_TRUE(Lines(missing).value(0).startsWith("     1\t"));

  // A directory where the file should be.
  UseLogs(missing, LogPath("fehlt"));
  Close();
  Open();
  dialog->AppendReadLog("x");
  EXPECT_EQ(StatusLines().value(0),
            "Logdatei " + LogPath("fehlt") +
                " konnte nicht geschrieben werden: der Pfad ist keine Datei");
}

TEST_F(LogFiles, TheLinesAndChooserFollowTheLanguage) {
  ASSERT_TRUE(resources.UseLibrary(KX_ENGLISH_LIBRARY_FILE)) << resources.LoadError();
  const QString missing = LogPath("fehlt/L.txt");
  UseLogs(LogPath("S.txt"), missing);
  dialog = MakeWindow();
  ASSERT_TRUE(dialog->Create());
  prompts.Clear();
  dialog->AppendReadLog("x");
  EXPECT_EQ(StatusLines(), QStringList{"Could not write the log file " + missing +
                                       ": the directory does not exist"});
  Click(mw::kChooseReadLog);
  ASSERT_EQ(prompts.fileRequests().size(), 1u);
  EXPECT_EQ(prompts.fileRequests()[0].title, "Choose the \"read\" log file");
  EXPECT_EQ(prompts.fileRequests()[0].rejectLabel, "Cancel");
}

}  // namespace
}  // namespace kx::app::testing
