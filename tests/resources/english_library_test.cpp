// The English resource library: complete against the German tables, loaded and released at run
// time, and refused when missing or broken, which leaves the language in use.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/resources.h"
#include "framework/shared_library.h"
#include "framework/testing/scripted_prompts.h"
#include "module_inspection.h"
#include "resources/builtin.h"
#include "resources/ids.h"

namespace kx::res::testing {
namespace {

const std::filesystem::path kEnglishLibrary = KX_ENGLISH_LIBRARY_FILE;
const std::filesystem::path kStaleLibrary = KX_STALE_LIBRARY_FILE;

class EnglishLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    file = ui::SharedLibrary::Open(kEnglishLibrary);
    ASSERT_TRUE(file.IsOpen()) << file.Error();
    auto entry =
        reinterpret_cast<ui::res::ModuleEntryPoint>(file.Symbol(ui::res::kModuleEntryPoint));
    ASSERT_NE(entry, nullptr);
    english = entry();
    ASSERT_NE(english, nullptr);
  }

  ui::SharedLibrary file;
  const ui::res::Module* english = nullptr;
};

// %1, %2, %d, %s, %04d: what a caller puts into a text.
QStringList Placeholders(const QString& text) {
  static const QRegularExpression placeholder(QStringLiteral("%(\\d|0?\\d*[ds])"));
  QStringList found;
  for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
    found.append(match.captured());
  found.sort();
  return found;
}

TEST_F(EnglishLibrary, IsBuiltBesideTheProgramUnderItsName) {
  EXPECT_EQ(kEnglishLibrary.filename(), kEnglishLibraryFileName);
  EXPECT_EQ(kEnglishLibrary.parent_path().filename(), "main");
  EXPECT_EQ(english->abiVersion, ui::res::kAbiVersion);
  EXPECT_STREQ(english->language, "en");
}

TEST_F(EnglishLibrary, HasEveryGermanStringWithTheSamePlaceholders) {
  const std::map<int, QString> german = StringsOf(BuiltInResources());
  const std::map<int, QString> translated = StringsOf(*english);
  EXPECT_EQ(StringCount(*english), translated.size()) << "no id twice";
  for (const auto& [id, text] : german) {
    ASSERT_EQ(translated.count(id), 1u) << "string " << id;
    EXPECT_FALSE(translated.at(id).isEmpty()) << "string " << id;
    EXPECT_EQ(Placeholders(translated.at(id)), Placeholders(text)) << "string " << id;
  }
  EXPECT_EQ(translated.size(), german.size()) << "no string only in English";
}

TEST_F(EnglishLibrary, HasEveryGermanDialogWithTheSameControls) {
  const auto german = DialogsOf(BuiltInResources());
  const auto translated = DialogsOf(*english);
  EXPECT_EQ(translated.size(), german.size());
  for (const auto& [id, dialog] : german) {
    ASSERT_EQ(translated.count(id), 1u) << "dialog " << id;
    const ui::res::DialogTemplate& other = *translated.at(id);
    EXPECT_EQ(other.width, dialog->width);
    EXPECT_EQ(other.height, dialog->height);
    EXPECT_EQ(other.style, dialog->style);
    ASSERT_EQ(other.controlCount, dialog->controlCount) << "dialog " << id;
    for (size_t i = 0; i < dialog->controlCount; ++i) {
      const ui::res::ControlTemplate& mine = dialog->controls[i];
      const ui::res::ControlTemplate& theirs = other.controls[i];
      EXPECT_EQ(theirs.id, mine.id) << "dialog " << id << " control " << i;
      EXPECT_EQ(theirs.kind, mine.kind) << "dialog " << id << " control " << i;
      EXPECT_EQ(theirs.style, mine.style) << "dialog " << id << " control " << i;
      EXPECT_EQ(QString(theirs.text).isEmpty(), QString(mine.text).isEmpty())
          << "dialog " << id << " control " << i;
    }
  }
  EXPECT_EQ(IconsOf(*english), IconsOf(BuiltInResources()));
}

class Language : public ::testing::Test {
 protected:
  ui::Resources resources{BuiltInResources()};
};

TEST_F(Language, SwitchesToEnglishAndBackAndAgain) {
  EXPECT_EQ(resources.LoadString(str::kMenuEnglish), "Englisch");
  ASSERT_TRUE(resources.UseLibrary(kEnglishLibrary)) << resources.LoadError();
  EXPECT_TRUE(resources.UsesLibrary());
  EXPECT_EQ(resources.LoadString(str::kMenuEnglish), "English");
  EXPECT_STREQ(resources.FindDialog(main_window::kDialog)->controls[0].text, "Transponder type");
  EXPECT_FALSE(resources.Icon(icon::kApplication).isNull());

  resources.UseBuiltIn();
  EXPECT_FALSE(resources.UsesLibrary());
  EXPECT_EQ(resources.LoadString(str::kMenuEnglish), "Englisch");
  EXPECT_STREQ(resources.FindDialog(main_window::kDialog)->controls[0].text, "Transpondertyp");

  ASSERT_TRUE(resources.UseLibrary(kEnglishLibrary));
  EXPECT_EQ(resources.LoadString(str::kMenuGerman), "German");
  ASSERT_TRUE(resources.UseLibrary(kEnglishLibrary)) << "loading it while in use";
  EXPECT_EQ(resources.LoadString(str::kMenuGerman), "German");
}

TEST_F(Language, AMissingLibraryLeavesTheLanguageInUse) {
  EXPECT_FALSE(resources.UseLibrary(kEnglishLibrary.parent_path() / "nothing.so"));
  EXPECT_FALSE(resources.LoadError().empty());
  EXPECT_EQ(resources.LoadString(str::kMenuEnglish), "Englisch");

  ASSERT_TRUE(resources.UseLibrary(kEnglishLibrary));
  EXPECT_FALSE(resources.UseLibrary("/nonexistent/KX_M71_VantrelEng.so"));
  EXPECT_EQ(resources.LoadString(str::kMenuEnglish), "English");
}

TEST_F(Language, ABrokenLibraryLeavesGerman) {
  QTemporaryDir directory;
  const std::filesystem::path garbage = directory.filePath("KX_M71_VantrelEng.so").toStdString();
  std::ofstream(garbage) << "not a library";
  EXPECT_FALSE(resources.UseLibrary(garbage));
  EXPECT_EQ(resources.LoadString(str::kMenuEnglish), "Englisch");

  // A library without the entry point: the test program's own libraries have none.
  EXPECT_FALSE(resources.UseLibrary("libc.so.6"));
  EXPECT_NE(resources.LoadError().find(ui::res::kModuleEntryPoint), std::string::npos);

  // A library built for tables of another shape.
  EXPECT_FALSE(resources.UseLibrary(kStaleLibrary));
  EXPECT_EQ(resources.LoadString(str::kMenuEnglish), "Englisch");
  EXPECT_FALSE(resources.UsesLibrary());
}

TEST_F(Language, TheWindowLayerSpeaksTheLanguageInUse) {
  ASSERT_TRUE(resources.UseLibrary(kEnglishLibrary));
  ui::testing::ScriptedPrompts prompts;
  ui::Services services(resources, prompts);

  struct Dialog : ui::Dialog {
    using ui::Dialog::Dialog;
    uint32_t startBlock = 1;
    void DoDataExchange(ui::DataExchange& dx) override {
      dx.Text(main_window::kStartBlock, startBlock);
      dx.MinMax(startBlock, 0u, 17u);
    }
  } dialog(services, main_window::kDialog);
  ASSERT_TRUE(dialog.Create());
  EXPECT_EQ(dialog.ItemText(main_window::kClose), "Close");
  EXPECT_EQ(dialog.ItemText(main_window::kKeepLastValue), "keep last value");

  dialog.SetItemText(main_window::kStartBlock, "18");
  EXPECT_FALSE(dialog.UpdateData(true));
  dialog.SetItemText(main_window::kStartBlock, "");
  EXPECT_FALSE(dialog.UpdateData(true));
  EXPECT_EQ(prompts.MessageTexts(), (QStringList{"Please enter an integer between 0 and 17.",
                                                 "Please enter a positive integer."}));
  EXPECT_EQ(dialog.GetSystemMenu().Text(ui::sys_cmd::kClose), "&Close");
}

}  // namespace
}  // namespace kx::res::testing
