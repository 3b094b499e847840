#include "product_version.h"

namespace kx::app {

QString ProductVersionText(std::string_view version) {
  constexpr size_t kLongestVersion = 19;
  if (version.empty() || version.size() > kLongestVersion)
    return QStringLiteral("1.xx");
  return QString::fromLatin1(version.data(), static_cast<qsizetype>(version.size()));
}

QString GetProductVersionText() {
  return ProductVersionText(KX_PRODUCT_VERSION);
}

}  // namespace kx::app
