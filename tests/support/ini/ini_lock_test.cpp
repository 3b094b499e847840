// Open and Save wait for a file that another object or process holds, and give up in the end.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "ini/ini_ex.h"
#include "temp_dir.h"

namespace kx::ini {
namespace {

using namespace std::chrono_literals;

// Holds the lock on a file the way another program's INI object does.
class Holder {
 public:
  explicit Holder(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT, 0644)) {
    EXPECT_GE(fd_, 0);
    EXPECT_EQ(::flock(fd_, LOCK_EX), 0);
  }
  ~Holder() { Release(); }
  void Release() {
    if (fd_ >= 0)
      ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

using IniLock = TempDirTest;

TEST_F(IniLock, OpenGivesUpOnAFileHeldTooLong) {
  const std::string path = PathOf("held.ini");
  WriteFile(path, "[S]\r\nk=v\r\n");
  Holder holder(path);
  CPrivateProfile ini(150ms);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ini.Open(path));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
  EXPECT_TRUE(ini.Sections().empty());
}

TEST_F(IniLock, OpenWaitsForTheHolderToFinish) {
  const std::string path = PathOf("held.ini");
  WriteFile(path, "[S]\r\nk=v\r\n");
  Holder holder(path);
  std::thread release([&] {
    std::this_thread::sleep_for(50ms);
    holder.Release();
  });
  CPrivateProfile ini(5s);
  EXPECT_TRUE(ini.Open(path));
  release.join();
  EXPECT_EQ(ini.GetString("S", "k"), "v");
}

TEST_F(IniLock, OpenReadsTheFileTheHolderPutInPlace) {
  // The holder saves by renaming a new file over the old one; the waiting reader must see the
  // new content, not the old file it first opened.
  const std::string path = PathOf("held.ini");
  WriteFile(path, "[S]\r\nk=old\r\n");
  Holder holder(path);
  std::thread replace([&] {
    std::this_thread::sleep_for(50ms);
    WriteFile(path + ".new", "[S]\r\nk=new\r\n");
    std::rename((path + ".new").c_str(), path.c_str());
    holder.Release();
  });
  CPrivateProfile ini(5s);
  EXPECT_TRUE(ini.Open(path));
  replace.join();
  EXPECT_EQ(ini.GetString("S", "k"), "new");
}

TEST_F(IniLock, SaveGivesUpAndKeepsItsChanges) {
  const std::string path = PathOf("held.ini");
  CPrivateProfile ini(100ms);
  ASSERT_TRUE(ini.Open(path));
  ini.SetString("S", "k", "v");
  {
    Holder holder(path);
    EXPECT_FALSE(ini.Save());
    EXPECT_TRUE(ini.IsModified());
  }
  EXPECT_TRUE(ini.Save());
  EXPECT_EQ(ReadFile(path), "[S]\r\nk=v\r\n");
}

}  // namespace
}  // namespace kx::ini
