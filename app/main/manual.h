// The PDF manual that lies beside the program, opened by F1.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace kx::ui {
class Services;
}

namespace kx::app {

// The first file with the extension "pdf" (any case) that the directory listing reports; the
// listing is not sorted.
std::optional<QString> FindManual(const QString& directory);

// Opens the manual of the directory with the desktop's PDF viewer. No manual: nothing happens.
// A manual that cannot be opened gives a message box.
void OpenManual(const ui::Services& services, QWidget* parent, const QString& directory);

}  // namespace kx::app
