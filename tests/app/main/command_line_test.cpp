// kx-vantrel's own options, and what --files finds in a program directory.
#include "command_line.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "framework/resources.h"
#include "resources/builtin.h"

namespace kx::app {
namespace {

TEST(StartRequest, TheFirstOwnOptionDecidesAndQtsArePassedOn) {
  EXPECT_EQ(ReadStartRequest({}), StartRequest::kRun);
  EXPECT_EQ(ReadStartRequest({"-platform", "offscreen"}), StartRequest::kRun);
  EXPECT_EQ(ReadStartRequest({"-platform", "offscreen", "--files"}), StartRequest::kFiles);
  EXPECT_EQ(ReadStartRequest({"--version", "--help"}), StartRequest::kVersion);
  EXPECT_EQ(ReadStartRequest({"--help", "--files"}), StartRequest::kHelp);
  EXPECT_EQ(ReadStartRequest({"--helpme"}), StartRequest::kRun);
}

class Files : public ::testing::Test {
 protected:
  int Report() {
    report.clear();
    const int code = ReportFiles({dir.path(), "/home/op/.config/x.conf"}, resources, report);
    EXPECT_FALSE(resources.UsesLibrary()) << "the window starts German as before";
    return code;
  }
  bool Says(const QString& text) const { return QString::fromStdString(report).contains(text); }

  QTemporaryDir dir;
  ui::Resources resources{res::BuiltInResources()};
  std::string report;
};

TEST_F(Files, AnInstalledProgramFindsItsEnglishTextsAndItsManual) {
  ASSERT_TRUE(QFile::link(KX_ENGLISH_LIBRARY_FILE, dir.filePath("KX_M71_VantrelEng.so")));
  QFile manual(dir.filePath("Anleitung.pdf"));
  ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
  manual.close();
  EXPECT_EQ(Report(), 0) << report;
  EXPECT_TRUE(Says("English texts      " + dir.filePath("KX_M71_VantrelEng.so") + "\n")) << report;
  EXPECT_TRUE(Says("manual             " + dir.filePath("Anleitung.pdf") + "\n")) << report;
  EXPECT_TRUE(Says("default logs       " + dir.path() + "/\n")) << report;
  EXPECT_TRUE(Says("settings           /home/op/.config/x.conf\n")) << report;
}

TEST_F(Files, AMissingLibraryOrManualIsAFailure) {
  EXPECT_EQ(Report(), 1);
  EXPECT_TRUE(Says("KX_M71_VantrelEng.so (does not load: ")) << report;
  EXPECT_TRUE(Says("manual             (none)\n")) << report;

  QFile broken(dir.filePath("KX_M71_VantrelEng.so"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a library");
  broken.close();
  QFile manual(dir.filePath("Anleitung.pdf"));
  ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
  manual.close();
  EXPECT_EQ(Report(), 1) << "a library that does not load is no English text";
}

}  // namespace
}  // namespace kx::app
