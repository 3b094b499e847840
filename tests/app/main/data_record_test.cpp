// Data record files on disk: what a save writes, what survives in files that hold more, and how
// loading reads damaged, partial and foreign files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

#include "data_record.h"
#include "temp_dir.h"

namespace kx::app {
namespace {

namespace fs = std::filesystem;

// Data records are INI files; the INI tests' directory fixture serves them too.
class DataRecordFile : public ini::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    path = PathOf("job.HWDat");
  }
  void Write(const std::string& text) const { WriteFile(path, text); }
  std::string Contents() const { return ReadFile(path); }

  const fs::path& dir = dir_;
  std::string path;
};

DataRecord Job() {
  DataRecord record;
  record.writeText = "Los 0042/B";
  record.autoIncrement = 1;
  record.leadingZeros = 1;
  record.extraText = 1;
  record.dataFormat = 3;
  record.startBlock = 5;
  record.byteCount = 12;
  return record;
}

void ExpectSame(const DataRecord& loaded, const DataRecord& saved) {
  EXPECT_EQ(loaded.writeText, saved.writeText);
  EXPECT_EQ(loaded.autoIncrement, saved.autoIncrement);
  EXPECT_EQ(loaded.leadingZeros, saved.leadingZeros);
  EXPECT_EQ(loaded.extraText, saved.extraText);
  EXPECT_EQ(loaded.dataFormat, saved.dataFormat);
  EXPECT_EQ(loaded.startBlock, saved.startBlock);
  EXPECT_EQ(loaded.byteCount, saved.byteCount);
}

TEST_F(DataRecordFile, ANewFileHoldsTheSevenKeysInOrderAndReadsBackWhole) {
  ASSERT_TRUE(SaveDataRecord(path, Job()));
  EXPECT_EQ(Contents(),
            "[Settings]\r\nLastData=Los 0042/B\r\nAutoIncrement=1\r\nAutoNull=1\r\n"
            "PrefixZulassen=1\r\nDatenformat=3\r\nStartblock=5\r\nByteanzahl=12\r\n");
  const std::optional<DataRecord> loaded = ReadDataRecord(path);
  ASSERT_TRUE(loaded);
  ExpectSame(*loaded, Job());

  DataRecord other = Job();
  other.writeText = "";
  other.dataFormat = 0;
  other.startBlock = 0;
  ASSERT_TRUE(SaveDataRecord(path, other));
  ExpectSame(*ReadDataRecord(path), other);
}

TEST_F(DataRecordFile, SavingIntoAFileWithMoreKeepsItsSectionsEntriesAndOrder) {
  Write(
      "; Auftrag 17\n[Kunde]\nName=Hof Meier\n[Settings]\nByteanzahl=4\nNotiz=bleibt\n"
      "LastData=alt\n[Ende]\nx=1\n");
  ASSERT_TRUE(SaveDataRecord(path, Job()));
  EXPECT_EQ(Contents(),
            "; Auftrag 17\r\n[Kunde]\r\nName=Hof Meier\r\n[Settings]\r\nByteanzahl=12\r\n"
            "Notiz=bleibt\r\nLastData=Los 0042/B\r\nAutoIncrement=1\r\nAutoNull=1\r\n"
            "PrefixZulassen=1\r\nDatenformat=3\r\nStartblock=5\r\n[Ende]\r\nx=1\r\n"
            // The end of a loaded text is an empty entry of the last section.
            "\r\n");
}

TEST_F(DataRecordFile, AWriteTextThatDiffersOnlyInLetterCaseIsStillSaved) {
  DataRecord lower = Job();
  lower.dataFormat = 5;
  lower.writeText = "abc";
  ASSERT_TRUE(SaveDataRecord(path, lower));
  DataRecord upper = lower;
  upper.writeText = "ABC";
  ASSERT_TRUE(SaveDataRecord(path, upper));
  EXPECT_EQ(ReadDataRecord(path)->writeText, "ABC");
}

TEST_F(DataRecordFile, MissingKeysReadAsEmptyAndZeroAndLineEndsMayBeEither) {
  Write("[Settings]\nLastData=0099\r\nAutoNull=1\nDatenformat=3\r\n");
  const std::optional<DataRecord> loaded = ReadDataRecord(path);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->writeText, "0099");
  EXPECT_EQ(loaded->leadingZeros, 1);
  EXPECT_EQ(loaded->dataFormat, 3);
  EXPECT_EQ(loaded->startBlock, 0) << "not the settings' default of 1";
  EXPECT_EQ(loaded->byteCount, 0);
  EXPECT_EQ(loaded->autoIncrement, 0);

  Write("[Andere]\nLastData=fremd\nByteanzahl=9\n");
  ExpectSame(*ReadDataRecord(path), DataRecord{});
}

TEST_F(DataRecordFile, KeysAreFoundWhateverTheirLetterCase) {
  Write("[SETTINGS]\nlastdata=x\nBYTEANZAHL=7\n");
  EXPECT_EQ(ReadDataRecord(path)->writeText, "x");
  EXPECT_EQ(ReadDataRecord(path)->byteCount, 7);
}

TEST_F(DataRecordFile, DamagedFilesLoadWithoutHarm) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i)
    garbage += static_cast<char>((i * 131 + 7) % 256);
  Write(garbage);
  EXPECT_TRUE(ReadDataRecord(path));

  Write(
      "[Settings]\nDatenformat=99\nStartblock=-3\nByteanzahl=99999999999999999999\n"
      "AutoNull=ja\n");
  const std::optional<DataRecord> loaded = ReadDataRecord(path);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->dataFormat, 99) << "range checks are the window's";
  EXPECT_EQ(loaded->startBlock, -3);
  EXPECT_EQ(loaded->byteCount, INT_MAX);
  EXPECT_EQ(loaded->leadingZeros, 0);
}

TEST_F(DataRecordFile, LoadingNeitherCreatesNorReadsWhatIsNoRecordFile) {
  EXPECT_FALSE(ReadDataRecord(path));
  EXPECT_FALSE(fs::exists(path));
  EXPECT_FALSE(ReadDataRecord(dir.string()));
}

TEST_F(DataRecordFile, ASaveThatCannotWriteReportsItAndKeepsTheFile) {
  EXPECT_FALSE(SaveDataRecord((dir / "fehlt" / "job.HWDat").string(), Job()));
  if (::geteuid() == 0)
    GTEST_SKIP() << "permissions do not bind root";
  Write("[Settings]\nLastData=alt\n");
  fs::permissions(path, fs::perms::owner_read);
  EXPECT_FALSE(SaveDataRecord(path, Job()));
  EXPECT_EQ(Contents(), "[Settings]\nLastData=alt\n");
}

TEST(RecordInteger, ReadsAsTheCLibraryDoes) {
  EXPECT_EQ(RecordInteger(""), 0);
  EXPECT_EQ(RecordInteger("17"), 17);
  EXPECT_EQ(RecordInteger("  \t-42abc"), -42);
  EXPECT_EQ(RecordInteger("+8"), 8);
  EXPECT_EQ(RecordInteger("x5"), 0);
  EXPECT_EQ(RecordInteger("- 5"), 0);
  EXPECT_EQ(RecordInteger("0x1F"), 0);
  EXPECT_EQ(RecordInteger("2147483647"), INT_MAX);
  EXPECT_EQ(RecordInteger("2147483648"), INT_MAX);
  EXPECT_EQ(RecordInteger("-2147483648"), INT_MIN);
  EXPECT_EQ(RecordInteger("-99999999999999999999999"), INT_MIN);
}

}  // namespace
}  // namespace kx::app
