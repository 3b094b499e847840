// Puts numbered arguments into a resource text: "%1" becomes the first argument, and so on up to
// "%9". Arguments are put in as they are, so a "%2" inside the first one stays. A number without
// an argument, and every other "%", stay unchanged.
#pragma once

#include <QString>
#include <QStringList>

namespace kx::ui {

QString FormatText(const QString& pattern, const QStringList& arguments);

}  // namespace kx::ui
