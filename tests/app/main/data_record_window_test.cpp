// Data record files from the main window: saving the job, loading it back into the controls, and
// what the window does with partial, odd or unreadable records.
#include <QFile>
#include <QTemporaryDir>

#include "main_window_fixture.h"

namespace kx::app::testing {
namespace {

class DataRecords : public MainWindow {
 protected:
  QString RecordPath(const char* name = "job.HWDat") const {
    return dir.filePath(QString::fromLatin1(name));
  }
  void WriteRecord(const QString& path, const QByteArray& text) const {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  QByteArray Contents(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  bool Checked(int id) const { return dialog->IsChecked(id) != 0; }

  QTemporaryDir dir;
};

TEST_F(DataRecords, ASavedJobComesBackWholeAndTheTransponderTypeStays) {
  Open();
  ChooseType(2);
  ChooseFormat(3);
  dialog->SetItemText(mw::kStartBlock, "5");
  EnterLength("8");
  dialog->CheckButton(mw::kLeadingZeros, true);
  dialog->CheckButton(mw::kAutoIncrement, true);
  SetWriteText("00001234");
  prompts.QueueFileName(RecordPath());
  Click(mw::kSaveRecord);
  ASSERT_EQ(prompts.fileRequests().size(), 1u);
  const ui::FileRequest& asked = prompts.fileRequests()[0];
  EXPECT_EQ(asked.mode, ui::FileRequest::Mode::kSave);
  EXPECT_EQ(asked.filter, "Data Files (*.HWDat);;All Files (*)");
  EXPECT_EQ(asked.defaultSuffix, "HWDat");
  EXPECT_TRUE(asked.initialPath.isEmpty());
  EXPECT_EQ(Contents(RecordPath()),
            "[Settings]\r\nLastData=00001234\r\nAutoIncrement=1\r\nAutoNull=1\r\n"
            "PrefixZulassen=0\r\nDatenformat=3\r\nStartblock=5\r\nByteanzahl=8\r\n");

  ChooseType(3);
  ChooseFormat(0);
  dialog->SetItemText(mw::kStartBlock, "2");
  EnterLength("4");
  dialog->CheckButton(mw::kAutoIncrement, false);
  prompts.QueueFileName(RecordPath());
  Click(mw::kLoadRecord);
  EXPECT_EQ(prompts.fileRequests().back().mode, ui::FileRequest::Mode::kOpen);
  EXPECT_EQ(dialog->transponderType(), 3);
  EXPECT_TRUE(Checked(mw::kTypeTiHdxPlus));
  EXPECT_TRUE(Checked(mw::kFormatDecimalAscii));
  EXPECT_EQ(WriteText(), "00001234");
  EXPECT_EQ(dialog->ItemText(mw::kStartBlock), "5");
  EXPECT_EQ(dialog->ItemText(mw::kByteCount), "8");
  EXPECT_TRUE(Checked(mw::kLeadingZeros));
  EXPECT_TRUE(Checked(mw::kAutoIncrement));
  EXPECT_FALSE(Checked(mw::kExtraText));
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(DataRecords, AFailedTakeOverStopsTheSaveBeforeTheFileDialog) {
  Open();
  ChooseType(2);
  ChooseFormat(0);
  EnterLength("4");
  SetWriteText("XYZ");
  Click(mw::kSaveRecord);
  EXPECT_TRUE(prompts.fileRequests().empty());
  EXPECT_EQ(prompts.MessageTexts(), QStringList{"Keine Hex-Eingabe"});
}

TEST_F(DataRecords, AWriteTextWithLineBreaksIsRefusedRatherThanSavedInPieces) {
  Open();
  ChooseType(2);
  ChooseFormat(5);
  EnterLength("16");
  SetWriteText("Zeile 1\nZeile 2");
  Click(mw::kSaveRecord);
  EXPECT_TRUE(prompts.fileRequests().empty());
  EXPECT_EQ(prompts.MessageTexts(),
            QStringList{"Ein Schreibwert mit Zeilenumbrüchen kann nicht in einem Datensatz "
                        "gespeichert werden."});
}

TEST_F(DataRecords, ADataFormatRecordShowsTheMultiLineEditAndSwitchesTheNumberOptionsOff) {
  WriteRecord(RecordPath(),
              "[Settings]\r\nLastData=01 02 03\r\nAutoIncrement=1\r\nAutoNull=1\r\n"
              "PrefixZulassen=1\r\nDatenformat=4\r\nStartblock=1\r\nByteanzahl=3\r\n");
  Open();
  ChooseType(2);
  ASSERT_TRUE(dialog->LoadDataRecord(RecordPath()));
  EXPECT_TRUE(dialog->Item(mw::kWriteEditMultiLine)->isVisible());
  EXPECT_FALSE(dialog->Item(mw::kWriteEdit)->isVisible());
  EXPECT_EQ(dialog->ItemText(mw::kWriteEditMultiLine), "01 02 03");
  for (int id : {mw::kAutoIncrement, mw::kLeadingZeros, mw::kExtraText}) {
    EXPECT_FALSE(Checked(id)) << id;
    EXPECT_FALSE(dialog->IsItemEnabled(id)) << id;
  }
}

TEST_F(DataRecords, PartialAndOddRecordsLoadAsTheyStand) {
  WriteRecord(RecordPath(), "[Settings]\nLastData=0099\nAutoNull=1\nDatenformat=3\n");
  Open();
  ChooseType(2);
  ASSERT_TRUE(dialog->LoadDataRecord(RecordPath()));
  EXPECT_EQ(WriteText(), "0099") << "shown as saved, not converted";
  EXPECT_TRUE(Checked(mw::kLeadingZeros));
  EXPECT_EQ(dialog->ItemText(mw::kStartBlock), "0") << "a missing start block is 0";
  EXPECT_EQ(dialog->ItemText(mw::kByteCount), "0");
  // The byte count of 0 meets the window's rules at the next take-over.
  Click(mw::kWriteOnce);
  EXPECT_FALSE(prompts.messages().empty());
  prompts.Clear();

  WriteRecord(RecordPath(), "[Settings]\nLastData=AB\nDatenformat=17\nByteanzahl=4\n");
  ASSERT_TRUE(dialog->LoadDataRecord(RecordPath()));
  EXPECT_TRUE(Checked(mw::kFormatHexBinary)) << "a format the window does not know";
  EXPECT_EQ(dialog->state().dataFormat, 0);
  EXPECT_EQ(WriteText(), "AB");
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(DataRecords, AnUnreadableRecordIsReportedAndChangesNothing) {
  Open();
  ChooseType(2);
  ChooseFormat(1);
  SetWriteText("41");
  const QString missing = RecordPath("weg.HWDat");
  EXPECT_FALSE(dialog->LoadDataRecord(missing));
  EXPECT_EQ(prompts.MessageTexts(),
            QStringList{"Der Datensatz " + missing + " konnte nicht gelesen werden."});
  EXPECT_FALSE(QFile::exists(missing));
  EXPECT_EQ(WriteText(), "41");
  EXPECT_TRUE(Checked(mw::kFormatHexAscii));

  prompts.Clear();
  prompts.QueueFileName(RecordPath("fehlt/job.HWDat"));
  Click(mw::kSaveRecord);
  EXPECT_EQ(prompts.MessageTexts(),
            QStringList{"Der Datensatz konnte nicht in " + RecordPath("fehlt/job.HWDat") +
                        " gespeichert werden."});
}

}  // namespace
}  // namespace kx::app::testing
