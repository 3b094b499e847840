#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "ini/ini_ex.h"
#include "temp_dir.h"

namespace kx::ini {
namespace {

using IniFile = TempDirTest;

TEST_F(IniFile, OpeningAMissingFileCreatesItEmpty) {
  const std::string path = PathOf("new.HWDat");
  {
    CPrivateProfile ini;
    EXPECT_TRUE(ini.Open(path));
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_TRUE(std::filesystem::exists(path));
  }
  EXPECT_EQ(ReadFile(path), "");
}

TEST_F(IniFile, DataRecordIsWrittenWhenTheObjectGoes) {
  const std::string path = PathOf("record.HWDat");
  {
    CPrivateProfile ini;
    ASSERT_TRUE(ini.Open(path));
    ini.SetString("Settings", "LastData", "ID-0099-X");
    ini.SetInt("Settings", "Byteanzahl", 9);
  }
  EXPECT_EQ(ReadFile(path), "[Settings]\r\nLastData=ID-0099-X\r\nByteanzahl=9\r\n");

  CPrivateProfile again;
  ASSERT_TRUE(again.Open(path));
  EXPECT_EQ(again.GetString("Settings", "LastData"), "ID-0099-X");
  EXPECT_EQ(again.GetString("Settings", "Byteanzahl"), "9");
}

TEST_F(IniFile, SavingKeepsOtherSectionsAndReadsLfFiles) {
  const std::string path = PathOf("record.HWDat");
  WriteFile(path, "[Other]\nkeep=me\n[Settings]\nByteanzahl=4\nLastData=1\n");
  {
    CPrivateProfile ini;
    ASSERT_TRUE(ini.Open(path));
    ini.SetString("Settings", "LastData", "2");
    ini.SetInt("Settings", "Startblock", 3);
  }
  EXPECT_EQ(
      ReadFile(path),
      "[Other]\r\nkeep=me\r\n[Settings]\r\nByteanzahl=4\r\nLastData=2\r\n\r\nStartblock=3\r\n");
}

TEST_F(IniFile, AFileThatIsOnlyReadIsNotTouched) {
  const std::string path = PathOf("read.ini");
  WriteFile(path, "[S]\nk=v");
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  {
    CPrivateProfile ini;
    ASSERT_TRUE(ini.Open(path));
    EXPECT_EQ(ini.GetString("S", "k"), "v");
    ini.SetString("S", "k", "V");  // letter case only
  }
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(ReadFile(path), "[S]\nk=v");
}

TEST_F(IniFile, OpenFailsOnADirectoryAndInAMissingDirectory) {
  std::filesystem::create_directory(PathOf("dir"));
  CPrivateProfile ini;
  EXPECT_FALSE(ini.Open(PathOf("dir")));
  EXPECT_FALSE(ini.Open(PathOf("missing/record.HWDat")));
  EXPECT_TRUE(ini.Path().empty());
  // Changes after a failed open have nowhere to go.
  ini.SetString("S", "k", "v");
  EXPECT_FALSE(ini.Save());
}

TEST_F(IniFile, OpeningAnotherFileSavesTheFirst) {
  const std::string first = PathOf("first.ini");
  const std::string second = PathOf("second.ini");
  WriteFile(second, "[B]\r\nb=2\r\n");
  CPrivateProfile ini;
  ASSERT_TRUE(ini.Open(first));
  ini.SetString("A", "a", "1");
  ASSERT_TRUE(ini.Open(second));
  EXPECT_EQ(ReadFile(first), "[A]\r\na=1\r\n");
  EXPECT_EQ(ini.FindSection("A"), -1);
  EXPECT_EQ(ini.GetString("B", "b"), "2");
  EXPECT_FALSE(ini.IsModified());
}

TEST_F(IniFile, SaveReplacesTheFileWholeAndLeavesNothingBeside) {
  const std::string path = PathOf("record.HWDat");
  WriteFile(path, "[S]\r\nk=old\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  {
    CPrivateProfile ini;
    ASSERT_TRUE(ini.Open(path));
    ini.SetString("S", "k", "new");
    EXPECT_TRUE(ini.Save());
    EXPECT_FALSE(ini.IsModified());
  }
  EXPECT_EQ(ReadFile(path), "[S]\r\nk=new\r\n\r\n");
  EXPECT_EQ(EntriesInDir(), 1u);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(IniFile, SaveThroughASymbolicLinkReplacesItsTarget) {
  const std::string target = PathOf("target.ini");
  const std::string link = PathOf("link.ini");
  WriteFile(target, "[S]\r\nk=old\r\n");
  std::filesystem::create_symlink(target, link);
  {
    CPrivateProfile ini;
    ASSERT_TRUE(ini.Open(link));
    ini.SetString("S", "k", "new");
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(target), "[S]\r\nk=new\r\n\r\n");
}

TEST_F(IniFile, AFailedWriteKeepsTheOldContent) {
  const std::string path = PathOf("record.HWDat");
  const std::string old = "[S]\r\nk=old\r\n";
  WriteFile(path, old);
  // The child may write at most 16 bytes per file, so the new content cannot be written whole.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{16, 16};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    CPrivateProfile ini;
    if (!ini.Open(path))
      ::_exit(2);
    ini.SetString("S", "k", std::string(1000, 'x'));
    ::_exit(ini.Save() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "Save reported success";
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(IniFile, SaveFailsWhenThePathHasBecomeADirectory) {
  const std::string path = PathOf("record.HWDat");
  CPrivateProfile ini;
  ASSERT_TRUE(ini.Open(path));
  ini.SetString("S", "k", "v");
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  EXPECT_FALSE(ini.Save());
  EXPECT_TRUE(ini.IsModified());
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(IniFile, ReadOnlyFileIsNeitherOpenedNorReplaced) {
  if (::geteuid() == 0)
    GTEST_SKIP() << "root may write any file";
  const std::string path = PathOf("locked.ini");
  WriteFile(path, "[S]\r\nk=v\r\n");
  CPrivateProfile ini;
  ASSERT_TRUE(ini.Open(path));
  ini.SetString("S", "k", "changed");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_FALSE(ini.Save());
  EXPECT_EQ(ReadFile(path), "[S]\r\nk=v\r\n");
  CPrivateProfile other;
  EXPECT_FALSE(other.Open(path));
}

TEST_F(IniFile, GarbageFileIsSavedWithCrLfLinesAndLoadsBack) {
  std::string garbage;
  for (int i = 0; i < 8192; ++i)
    garbage += static_cast<char>((i * 104729 + i / 7) % 256);
  const std::string path = PathOf("garbage.ini");
  WriteFile(path, garbage);
  {
    CPrivateProfile ini;
    ASSERT_TRUE(ini.Open(path));
    ini.SetString("Settings", "LastData", "x");
  }
  const std::string saved = ReadFile(path);
  for (size_t i = 0; i < saved.size(); ++i) {
    if (saved[i] == '\n') {
      ASSERT_TRUE(i > 0 && saved[i - 1] == '\r') << i;
    }
    if (saved[i] == '\r') {
      ASSERT_TRUE(i + 1 < saved.size() && saved[i + 1] == '\n') << i;
    }
  }
  CPrivateProfile again;
  ASSERT_TRUE(again.Open(path));
  EXPECT_EQ(again.GetString("Settings", "LastData"), "x");
}

}  // namespace
}  // namespace kx::ini
