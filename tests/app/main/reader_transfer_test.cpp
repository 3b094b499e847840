// Reading and writing from the main window against the emulated reader: the bytes that reach the
// transponder in every format, the selection of the SIC types, TI HDX+ block numbers, the cycles
// with their status lines, and one command at a time on the connection.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "reader_window_fixture.h"

namespace kx::app::testing {
namespace {

using namespace std::chrono_literals;

// Memory counting up from 0x10, so that every block reads back differently.
kxemu::Transponder Numbered(int code) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(code);
  for (size_t i = 0; i < transponder.memory.size(); ++i)
    transponder.memory[i] = static_cast<uint8_t>(0x10 + i);
  return transponder;
}

class Transfer : public ReaderWindow {
 protected:
  void SetUp() override {
    ReaderWindow::SetUp();
    store.SetInt(section::kSettings, key::kAutoIncrement, 0);
  }
  // Type, format and length as the operator sets them.
  void Choose(int type, int format, int n, int startBlock = 1) {
    ChooseType(type);
    ChooseFormat(format);
    dialog->SetItemText(mw::kStartBlock, QString::number(startBlock));
    EnterLength(QString::number(n));
  }
  QString ReadDisplay() const {
    return dialog->ItemText(dialog->state().dataFormat >= 4 ? mw::kReadDisplayMultiLine
                                                            : mw::kReadDisplay);
  }
  Bytes Block(size_t first, size_t size) const {
    const Bytes memory = Memory();
    return Bytes(memory.begin() + static_cast<long>(first),
                 memory.begin() + static_cast<long>(first + size));
  }
};

TEST_F(Transfer, ASingleReadShowsEveryFormat) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(33);
  const Bytes value = {'4', '2', 'A', 'b', 0x01, 0x02, 0x03, 0x04, 'x', 'y', 'z', 0, 0, 0, 0, 0};
  std::copy(value.begin(), value.end(), transponder.memory.begin() + 8);
  OpenConnected(transponder);
  struct Case {
    int format;
    int n;
    std::vector<Bytes> commands;  // TI Multi Page from start block 1
    QString text;
  };
  const Case cases[] = {
      {0, 4, {{kBlockRead, 33, 1, 1}}, "62413234"},
      {1, 4, {{kBlockRead, 33, 1, 1}}, "42Ab"},
      {2, 8, {{kBlockRead, 33, 1, 1}}, "289077006048506420"},
      {3, 2, {{kBlockRead, 33, 1, 1}}, "42"},
      {4, 11, {{kBlockRead, 33, 1, 1}, {kBlockRead, 33, 2, 1}}, "34 32 41 62 01 02 03 04 78 79 7A"},
      {5, 4, {{kBlockRead, 33, 1, 1}}, "42Ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    Choose(2, c.format, c.n);
    model->ClearReceivedRequests();
    Click(mw::kReadOnce);
    EXPECT_EQ(Commands(), c.commands);
    EXPECT_EQ(ReadDisplay(), c.text);
    EXPECT_EQ(dialog->lastReadValue(), c.text);
  }
  EXPECT_TRUE(StatusLines().isEmpty()) << "reads have no success line";
  EXPECT_TRUE(beeper.tones.empty());
}

TEST_F(Transfer, ASingleWriteSendsEveryFormatAndNormalisesTheText) {
  OpenConnected(kxemu::MakeTransponder(33));
  struct Case {
    int format;
    int n;
    QString text;
    Bytes block;  // block 1 afterwards
    QString shown;
    QString line;
  };
  const Case cases[] = {
      {0, 4, "1a2b", {0x2B, 0x1A, 0, 0, 0, 0, 0, 0}, "1A2B", "Wert <1A2B> erfolgreich geschrieben"},
      {1,
       4,
       "12ab",
       {'1', '2', 'a', 'b', 0, 0, 0, 0},
       "12ab",
       "Wert <12ab> erfolgreich geschrieben"},
      {2, 2, "00258", {0x02, 0x01, 0, 0, 0, 0, 0, 0}, "258", "Wert <258> erfolgreich geschrieben"},
      {3, 4, "42", {'4', '2', 0, 0, 0, 0, 0, 0}, "42", "Wert <42> erfolgreich geschrieben"},
      {4,
       3,
       "01 a2 03",
       {0x01, 0xA2, 0x03, 0, 0, 0, 0, 0},
       "01 A2 03",
       "<0001> Daten erfolgreich geschrieben!"},
      {5,
       5,
       "Hallo",
       {'H', 'a', 'l', 'l', 'o', 0, 0, 0},
       "Hallo",
       "<0001> Daten erfolgreich geschrieben!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    Choose(2, c.format, c.n);
    SetWriteText(c.text);
    Click(mw::kWriteOnce);
    EXPECT_EQ(Block(8, 8), c.block);
    EXPECT_EQ(WriteText(), c.shown);
    ASSERT_FALSE(StatusLines().isEmpty());
    EXPECT_EQ(StatusLines().last(), c.line);
  }
  EXPECT_EQ(beeper.tones, std::vector<RecordingBeeper::Tone>(6, {440, 300}));
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Transfer, AFailedTakeOverOrWriteChangesNothing) {
  OpenConnected(kxemu::MakeTransponder(33));
  Choose(2, 0, 4);
  SetWriteText("XYZ");
  Click(mw::kWriteOnce);
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Keine Hex-Eingabe"});
  EXPECT_EQ(StatusLines(), QStringList{"OnSchreiben UpdateData Fehler"});
  EXPECT_TRUE(Commands().empty());

  model->SetTransponder(std::nullopt);
  SetWriteText("12");
  Click(mw::kWriteOnce);
  EXPECT_EQ(StatusLines().last(), "Kein Transponder vorhanden");
  EXPECT_EQ(WriteText(), "12");
  EXPECT_TRUE(beeper.tones.empty());
}

TEST_F(Transfer, SicTypesAreSelectedByTheirUidBeforeReadingAndWriting) {
  const kxemu::Transponder transponder = Numbered(36);
  OpenConnected(transponder);
  const Bytes select = [&] {
    Bytes command{kWholeWrite, 36};
    command.insert(command.end(), transponder.uid.begin(), transponder.uid.end());
    return command;
  }();
  Choose(5, 0, 4, 3);
  Click(mw::kReadOnce);
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kWholeRead, 36, 0}, select, {kBlockRead, 36, 3, 1}}));
  model->ClearReceivedRequests();
  SetWriteText("01020304");
  Click(mw::kWriteOnce);
  EXPECT_EQ(Commands(),
            (std::vector<Bytes>{{kWholeRead, 36, 0}, select, {kBlockWrite, 36, 3, 4, 3, 2, 1}}));
}

TEST_F(Transfer, TiHdxPlusReadsEveryOtherBlockAndWritesBlockAfterBlock) {
  OpenConnected(Numbered(35));
  Choose(3, 4, 16, 2);
  Click(mw::kReadOnce);
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kBlockRead, 35, 2, 1}, {kBlockRead, 35, 4, 1}}));
  model->ClearReceivedRequests();
  SetWriteText("01");
  Click(mw::kWriteOnce);
  ASSERT_EQ(Commands().size(), 2u);
  EXPECT_EQ(Commands()[0][2], 2);
  EXPECT_EQ(Commands()[1][2], 3);
}

TEST_F(Transfer, TheUidIsShownInTheFormatWithoutAStatusLine) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(34);
  transponder.uid = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0xF8};
  OpenConnected(transponder);
  Choose(4, 4, 8);
  Click(mw::kReadUid);
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kWholeRead, 34, 0}}));
  EXPECT_EQ(ReadDisplay(), "01 02 03 04 05 06 07 F8");
  model->SetTransponder(std::nullopt);
  Click(mw::kReadUid);
  EXPECT_EQ(ReadDisplay(), "");
  EXPECT_TRUE(StatusLines().isEmpty());
}

TEST_F(Transfer, ACyclicWriteWithAutoIncrementWritesSuccessiveValues) {
  store.SetInt(section::kSettings, key::kAutoIncrement, 1);
  OpenConnected(kxemu::MakeTransponder(33));
  Choose(2, 3, 4);
  SetWriteText("7");
  Click(mw::kWriteCyclic);
  EXPECT_FALSE(dialog->IsItemEnabled(mw::kWriteOnce));
  EXPECT_TRUE(dialog->IsItemEnabled(mw::kWriteCyclic));
  EXPECT_TRUE(QTest::qWaitFor([this] { return StatusLines().size() >= 3; }, 5000));
  Click(mw::kWriteCyclic);
  EXPECT_TRUE(dialog->IsItemEnabled(mw::kWriteOnce));
  const QStringList lines = StatusLines();
  EXPECT_EQ(lines.mid(0, 3),
            (QStringList{"Wert <7> erfolgreich geschrieben", "Wert <8> erfolgreich geschrieben",
                         "Wert <9> erfolgreich geschrieben"}));
  const QByteArray last = QString::number(7 + lines.size() - 1).toLatin1();
  EXPECT_EQ(Block(8, static_cast<size_t>(last.size())), Bytes(last.begin(), last.end()));
  EXPECT_EQ(WriteText(), QString::number(7 + lines.size()));
}

TEST_F(Transfer, ADataCycleCountsItsWritesAndASingleWriteStartsAtOne) {
  OpenConnected(kxemu::MakeTransponder(33));
  Choose(2, 5, 4);
  SetWriteText("abcd");
  Click(mw::kWriteCyclic);
  EXPECT_TRUE(QTest::qWaitFor([this] { return StatusLines().size() >= 2; }, 5000));
  Click(mw::kWriteCyclic);
  EXPECT_EQ(StatusLines().mid(0, 2), (QStringList{"<0001> Daten erfolgreich geschrieben!",
                                                  "<0002> Daten erfolgreich geschrieben!"}));
  Click(mw::kWriteOnce);
  EXPECT_EQ(StatusLines().last(), "<0001> Daten erfolgreich geschrieben!");
}

TEST_F(Transfer, ACyclicReadWithoutATransponderSaysSoOnceUntilTheStatusIsReset) {
  OpenConnected(std::nullopt);
  Choose(2, 0, 4);
  Click(mw::kReadCyclic);
  EXPECT_TRUE(QTest::qWaitFor([this] { return Commands().size() >= 4; }, 5000));
  EXPECT_EQ(StatusLines(), QStringList{"Kein Transponder vorhanden"});
  Click(mw::kResetStatus);
  EXPECT_TRUE(StatusLines().isEmpty());
  model->ClearReceivedRequests();
  EXPECT_TRUE(QTest::qWaitFor([this] { return Commands().size() >= 4; }, 5000));
  EXPECT_EQ(StatusLines(), QStringList{"Kein Transponder vorhanden"});

  // A success ends the suppression: the next empty field is reported again.
  model->SetTransponder(kxemu::MakeTransponder(33));
  EXPECT_TRUE(QTest::qWaitFor([this] { return ReadDisplay() == "00000000"; }, 5000));
  model->SetTransponder(std::nullopt);
  EXPECT_TRUE(QTest::qWaitFor([this] { return StatusLines().size() == 2; }, 5000));
  // The UID button stays usable during the cycle; its take-over must not free the other cycle.
  Click(mw::kReadUid);
  EXPECT_FALSE(dialog->IsItemEnabled(mw::kWriteCyclic));
  Click(mw::kReadCyclic);
  EXPECT_TRUE(dialog->IsItemEnabled(mw::kReadOnce));
}

// A record loaded while a cycle runs brings its values, but the controls stay as the cycle set
// them until it ends.
TEST_F(Transfer, ARecordLoadedDuringACycleLeavesTheControlsAsTheCycleSetThem) {
  OpenConnected(kxemu::MakeTransponder(33));
  Choose(2, 3, 4);
  QTemporaryDir records;
  const QString record = records.filePath("job.HWDat");
  {
    QFile file(record);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "[Settings]\r\nLastData=0042\r\nAutoIncrement=1\r\nAutoNull=1\r\n"
        "Datenformat=3\r\nStartblock=1\r\nByteanzahl=4\r\n");
  }
  for (int cycle : {mw::kReadCyclic, mw::kWriteCyclic}) {
    Click(cycle);
    ASSERT_FALSE(dialog->IsItemEnabled(mw::kAutoIncrement));
    prompts.QueueFileName(record);
    Click(mw::kLoadRecord);
    EXPECT_EQ(dialog->IsChecked(mw::kAutoIncrement), 1) << "the record's value";
    EXPECT_FALSE(dialog->IsItemEnabled(mw::kAutoIncrement)) << cycle;
    EXPECT_FALSE(dialog->IsItemEnabled(mw::kLeadingZeros)) << cycle;
    EXPECT_TRUE(dialog->IsItemEnabled(cycle)) << "the cycle can still be stopped";
    Click(cycle);
    EXPECT_TRUE(dialog->IsItemEnabled(mw::kAutoIncrement));
    EXPECT_TRUE(dialog->IsItemEnabled(mw::kLeadingZeros));
  }
}

TEST_F(Transfer, ASecondCommandIsRefusedWhileTheFirstWaits) {
  OpenConnected(kxemu::MakeTransponder(33));
  Choose(2, 0, 4);
  kxemu::Faults slow;
  slow.answerDelay = 300ms;
  model->SetFaults(slow);
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
  ticker.start(20);
  bool busySeen = false;
  QTimer::singleShot(100, dialog.get(), [&] {
    busySeen = dialog->ReaderBusy();
    for (int id : {mw::kReadOnce, mw::kReadUid, mw::kWriteOnce})
      Click(id);
    EXPECT_TRUE(ChooseMenuItem(*dialog, mw::kCmdInterface));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
  });
  Click(mw::kReadOnce);
  EXPECT_TRUE(busySeen);
  EXPECT_GE(ticks, 5) << "timers ran while the reader took its time";
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kBlockRead, 33, 1, 1}}));
  EXPECT_EQ(interfaces.shown, 0);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_GT(dialog->connection(), 0);
  EXPECT_FALSE(dialog->ReaderBusy());
}

TEST_F(Transfer, AReaderUnpluggedDuringACycleEndsInStatusLinesAndAnInterfaceChoiceRecovers) {
  OpenConnected(kxemu::MakeTransponder(33));
  Choose(2, 0, 4);
  Click(mw::kReadCyclic);
  EXPECT_TRUE(QTest::qWaitFor([this] { return !ReadDisplay().isEmpty(); }, 5000));
  server.reset();
  EXPECT_TRUE(QTest::qWaitFor([this] { return !StatusLines().isEmpty(); }, 5000));
  Click(mw::kReadCyclic);
  EXPECT_FALSE(dialog->ReaderBusy());

  StartReader([] {
    kxemu::ReaderConfig config;
    config.transponder = kxemu::MakeTransponder(33);
    return config;
  }());
  interfaces.choices = {server->DevicePath()};
  ASSERT_TRUE(ChooseMenuItem(*dialog, mw::kCmdInterface));
  dialog->SetItemText(mw::kReadDisplay, QString());
  Click(mw::kReadOnce);
  EXPECT_EQ(ReadDisplay(), "00000000");
}

TEST_F(Transfer, TickedLogsRecordTheWrittenTextBeforeUpperCaseAndTheReadValue) {
  QTemporaryDir logs;
  const QString writeLog = logs.filePath("S.txt");
  const QString readLog = logs.filePath("L.txt");
  store.SetString(section::kProtocol, key::kWriteLogName, writeLog);
  store.SetString(section::kProtocol, key::kReadLogName, readLog);
  OpenConnected(kxemu::MakeTransponder(33));
  Choose(2, 0, 4, 3);
  SetWriteText("ab");
  Click(mw::kWriteOnce);
  EXPECT_FALSE(QFile::exists(writeLog)) << "not ticked";
  dialog->CheckButton(mw::kLogWrites, true);
  dialog->CheckButton(mw::kLogReads, true);
  SetWriteText("ab");
  Click(mw::kWriteOnce);
  Click(mw::kReadOnce);
  const auto contents = [](const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
  };
  EXPECT_TRUE(contents(writeLog).startsWith("     1\t"));
  EXPECT_TRUE(contents(writeLog).endsWith("\tHEX BIN\t   3\t   4\tab\r\n"))
      << contents(writeLog).toStdString();
  EXPECT_TRUE(contents(readLog).endsWith("\tHEX BIN\t   3\t   4\t000000AB\r\n"))
      << contents(readLog).toStdString();
}

TEST_F(Transfer, ACycleReportsALogItCannotWriteOnceAndKeepsReading) {
  QTemporaryDir logs;
  const QString missing = logs.filePath("fehlt/L.txt");
  store.SetString(section::kProtocol, key::kReadLogName, missing);
  store.SetInt(section::kProtocol, key::kLogReads, 1);
  OpenConnected(kxemu::MakeTransponder(33));
  Choose(2, 0, 4);
  Click(mw::kReadCyclic);
  EXPECT_TRUE(QTest::qWaitFor([this] { return Commands().size() >= 4; }, 5000));
  Click(mw::kReadCyclic);
  EXPECT_EQ(StatusLines(),
            QStringList{"Logdatei " + missing +
                        " konnte nicht geschrieben werden: das Verzeichnis existiert nicht"});
  EXPECT_EQ(ReadDisplay(), "00000000");
}

}  // namespace
}  // namespace kx::app::testing
