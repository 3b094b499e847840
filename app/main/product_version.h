// The product version shown in the window caption.
#pragma once

#include <QString>
#include <string_view>

namespace kx::app {

// version when it has 1 to 19 characters, else "1.xx".
QString ProductVersionText(std::string_view version);

// The version this program was built as.
QString GetProductVersionText();

}  // namespace kx::app
