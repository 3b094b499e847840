// kx-vantrel's own command-line options. Everything else on the command line is Qt's (-platform,
// -style, ...).
#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace kx::ui {
class Resources;
}

namespace kx::app {

enum class StartRequest {
  kRun,      // show the main window
  kHelp,     // --help: print HelpText
  kVersion,  // --version: print the version
  kFiles,    // --files: print ReportFiles
};

// The first of --help, --version and --files decides; without any of them the window starts.
StartRequest ReadStartRequest(const QStringList& arguments);

// What --help prints; the manual page is made from it.
std::string HelpText();
// "kx-vantrel <version>".
std::string VersionText();

struct InstalledFiles {
  QString programDirectory;  // GetProgramDirectory
  QString settingsFile;
};

// Where the program finds its English texts, its manual, its default logs and its settings, as
// the window would: the English library is loaded (and released again) and the manual is
// looked for as F1 does. The text goes to report; the result is the exit code, 0 when the English
// texts load and a manual is there, else 1.
int ReportFiles(const InstalledFiles& files, ui::Resources& resources, std::string& report);

}  // namespace kx::app
