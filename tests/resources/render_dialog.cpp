// Renders a dialog template into a PNG file, to look at its layout:
//   render_dialog <template id> <picture.png> [language library]
#include <QApplication>
#include <QPixmap>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "framework/dialog.h"
#include "framework/qt_prompt_service.h"
#include "framework/resources.h"
#include "resources/builtin.h"
#include "resources/ids.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <template id> <picture.png> [language library]\n", argv[0]);
    return 2;
  }
  kx::ui::Resources resources(kx::res::BuiltInResources());
  if (argc > 3 && !resources.UseLibrary(argv[3])) {
    std::fprintf(stderr, "%s\n", resources.LoadError().c_str());
    return 1;
  }
  kx::ui::QtPromptService prompts(resources);
  kx::ui::Services services(resources, prompts);
  kx::ui::Dialog dialog(services, std::atoi(argv[1]));
  if (!dialog.Create()) {
    std::fprintf(stderr, "no template %s\n", argv[1]);
    return 1;
  }
  dialog.setWindowIcon(resources.Icon(kx::res::icon::kApplication));
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog))
    return 1;
  return dialog.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
