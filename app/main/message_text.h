// The text of a message of the value conversions in the language of the resources in use.
#pragma once

#include <QString>

#include "convert/messages.h"

namespace kx::ui {
class Services;
}

namespace kx::app {

QString MessageText(const ui::Services& services, const convert::Message& message);

}  // namespace kx::app
