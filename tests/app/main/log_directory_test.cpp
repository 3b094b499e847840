// Where the default logs go: beside the program when it may write there, else in the user's
// data directory.
#include "log_directory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "kx_fake_ftd2xx/scoped_env.h"

namespace kx::app {
namespace {

using kxfake::ScopedEnv;

class LogDirectory : public ::testing::Test {
 protected:
  QString DataDirectoryIn(const QString& base) const {
    return base + "/Orv Applikationen/KX-M71 Vantrel/";
  }

  QTemporaryDir program;
  QTemporaryDir home;
  ScopedEnv homeEnv{"HOME", home.path().toStdString()};
};

TEST_F(LogDirectory, IsTheProgramDirectoryWhileItIsWritable) {
  ScopedEnv xdg("XDG_DATA_HOME", home.filePath("data").toStdString());
  EXPECT_EQ(DefaultLogDirectory(program.path()), program.path() + "/");
  EXPECT_EQ(DefaultLogDirectory(program.path() + "/"), program.path() + "/");
  EXPECT_FALSE(QFileInfo::exists(home.filePath("data"))) << "nothing is made in the data home";
}

TEST_F(LogDirectory, IsTheUsersDataDirectoryOtherwiseAndIsMade) {
  ScopedEnv xdg("XDG_DATA_HOME", home.filePath("data").toStdString());
  const QString missing = program.filePath("not/there");
  const QString expected = DataDirectoryIn(home.filePath("data"));
  EXPECT_EQ(DefaultLogDirectory(missing), expected);
  EXPECT_TRUE(QFileInfo(expected).isDir());
  // A second start finds it made.
  EXPECT_EQ(DefaultLogDirectory(missing), expected);

  if (geteuid() != 0) {  // root may write anywhere
    ASSERT_TRUE(QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_EQ(DefaultLogDirectory(program.path()), expected);
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
}

TEST_F(LogDirectory, FallsBackToTheHomesDataDirectoryWithoutAnAbsoluteXdgDataHome) {
  const QString missing = program.filePath("not/there");
  const QString expected = DataDirectoryIn(home.filePath(".local/share"));
  for (const std::optional<std::string>& xdg :
       {std::optional<std::string>(), std::optional<std::string>(""),
        std::optional<std::string>("relative/data")}) {
    ScopedEnv unset("XDG_DATA_HOME", xdg);
    EXPECT_EQ(DefaultLogDirectory(missing), expected) << xdg.value_or("(unset)");
  }
  EXPECT_FALSE(QFileInfo::exists(program.filePath("relative")));
}

}  // namespace
}  // namespace kx::app
