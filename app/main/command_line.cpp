#include "command_line.h"

#include <filesystem>
#include <optional>

#include "framework/resources.h"
#include "log_directory.h"
#include "manual.h"
#include "product_version.h"
#include "resources/ids.h"

namespace kx::app {

StartRequest ReadStartRequest(const QStringList& arguments) {
  for (const QString& argument : arguments) {
    if (argument == u"--help")
      return StartRequest::kHelp;
    if (argument == u"--version")
      return StartRequest::kVersion;
    if (argument == u"--files")
      return StartRequest::kFiles;
  }
  return StartRequest::kRun;
}

std::string HelpText() {
  return R"(Usage: kx-vantrel [--files | --help | --version] [Qt options]

Reads and writes 134.2 kHz RFID transponders through a KX reader: once or cyclically, in six
data formats, with auto increment, two log files and data record files (*.HWDat). The window is
German; "Englisch" in its "System" menu switches to English. F1 opens the manual.

Options:
  --files     print where the program finds its English texts, its manual, its default log
              files and its settings, then end (exit code 1 when the English texts or the
              manual are missing)
  --help      print this text and end
  --version   print the version and end

Qt's own options (for example -platform offscreen) are passed on to Qt.

Files:
  ~/.config/Orv Applikationen/KX-M71 Vantrel.conf
              the settings, kept when the program ends
  Protokoll_S.txt, Protokoll_L.txt
              the default write and read logs, beside the program when it may write there,
              else in $XDG_DATA_HOME/Orv Applikationen/KX-M71 Vantrel/ (~/.local/share/...)

Environment:
  KXLF_DEBUG  set to 1 for the reader library's diagnostic texts on standard error
)";
}

std::string VersionText() {
  return "kx-vantrel " + GetProductVersionText().toStdString() + "\n";
}

int ReportFiles(const InstalledFiles& files, ui::Resources& resources, std::string& report) {
  const auto line = [&report](const char* what, const QString& value) {
    report += std::string(what) + value.toStdString() + "\n";
  };
  line("program directory  ", files.programDirectory);

  const std::filesystem::path english =
      std::filesystem::path(files.programDirectory.toStdString()) / res::kEnglishLibraryFileName;
  const bool englishLoads = resources.UseLibrary(english);
  line("English texts      ",
       QString::fromStdString(english.string()) +
           (englishLoads
                ? QString()
                : QString::fromStdString(" (does not load: " + resources.LoadError() + ")")));
  resources.UseBuiltIn();

  const std::optional<QString> manual = FindManual(files.programDirectory);
  line("manual             ", manual.value_or(QStringLiteral("(none)")));
  line("default logs       ", DefaultLogDirectory(files.programDirectory));
  line("settings           ", files.settingsFile);
  return englishLoads && manual ? 0 : 1;
}

}  // namespace kx::app
