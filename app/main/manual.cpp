#include "manual.h"

#include <filesystem>
#include <system_error>

#include "framework/services.h"
#include "resources/ids.h"

namespace kx::app {

namespace {

// The error number of a file that is gone, as "Unbekannter Fehler %d" shows it.
constexpr int kFileNotFound = 2;

bool IsPdf(const std::filesystem::path& file) {
  return QString::fromStdString(file.extension().string()).compare(u".pdf", Qt::CaseInsensitive) ==
         0;
}

}  // namespace

std::optional<QString> FindManual(const QString& directory) {
  std::error_code error;
  std::filesystem::directory_iterator entry(directory.toStdString(), error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    std::error_code typeError;
    if (IsPdf(entry->path()) && entry->is_regular_file(typeError))
      return QString::fromStdString(entry->path().string());
  }
  return std::nullopt;
}

void OpenManual(const ui::Services& services, QWidget* parent, const QString& directory) {
  const std::optional<QString> manual = FindManual(directory);
  if (!manual)
    return;
  switch (services.Open(*manual)) {
    case ui::OpenResult::kOpened:
      return;
    case ui::OpenResult::kFailed:
      // The desktop has no program for PDF files.
      services.MessageBox(parent, services.LoadString(res::str::kHelpNoPdfReader));
      return;
    case ui::OpenResult::kNotFound:
      services.MessageBox(parent,
                          services.LoadString(res::str::kHelpUnknownError)
                              .replace(QStringLiteral("%d"), QString::number(kFileNotFound)));
      return;
  }
}

}  // namespace kx::app
