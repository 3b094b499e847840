// The application: the loop of main windows with its end codes, the language switch with the
// English library beside the program, the manual on F1, and the program directory.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "framework/framework_strings.h"
#include "main_window_fixture.h"
#include "program_directory.h"
#include "vantrel_app.h"

namespace kx::app::testing {
namespace {

using Step = std::function<void(CKX_M71_VantrelDlg&)>;

// Hands each main window that shows to the next step; a window without a step is closed.
class WindowSteps : public QObject {
 public:
  explicit WindowSteps(std::deque<Step> steps) : steps_(std::move(steps)) {
    qApp->installEventFilter(this);
  }
  ~WindowSteps() override { qApp->removeEventFilter(this); }
  int shown() const { return shown_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = qobject_cast<CKX_M71_VantrelDlg*>(watched);
    if (window != nullptr && event->type() == QEvent::Show) {
      ++shown_;
      Step step = [](CKX_M71_VantrelDlg& w) { w.EndDialog(2); };
      if (!steps_.empty()) {
        step = std::move(steps_.front());
        steps_.pop_front();
      }
      QTimer::singleShot(0, window, [window, step] { step(*window); });
    }
    return false;
  }

 private:
  std::deque<Step> steps_;
  int shown_ = 0;
};

// What a window looked like when its step ran.
struct Seen {
  QString closeButton;
  std::vector<int> languageItems;
  int type = -1;
};

class Application : public ::testing::Test {
 protected:
  void InstallEnglishLibrary() {
    ASSERT_TRUE(QFile::link(KX_ENGLISH_LIBRARY_FILE, dir.filePath("KX_M71_VantrelEng.so")));
  }

  CKX_M71_VantrelApp& App() {
    if (app == nullptr)
      app =
          std::make_unique<CKX_M71_VantrelApp>(resources, prompts, store, dir.path(), &interfaces);
    return *app;
  }

  // Runs the application; returns how many main windows it showed.
  int Run(std::deque<Step> steps) {
    WindowSteps driver(std::move(steps));
    EXPECT_FALSE(App().InitInstance());
    return driver.shown();
  }

  // A step that notes what the window shows, then does what `then` does.
  Step Look(std::function<void(CKX_M71_VantrelDlg&)> then) {
    return [this, then](CKX_M71_VantrelDlg& window) {
      Seen seen;
      seen.closeButton = window.ItemText(mw::kClose);
      seen.type = window.transponderType();
      for (int id : {mw::kCmdGerman, mw::kCmdEnglish}) {
        if (window.GetSystemMenu().Contains(id))
          seen.languageItems.push_back(id);
      }
      looks.push_back(seen);
      then(window);
    };
  }

  static void Choose(CKX_M71_VantrelDlg& window, int commandId) {
    EXPECT_TRUE(ChooseMenuItem(window, commandId)) << commandId;
  }

  QTemporaryDir dir;
  ui::testing::ScriptedPrompts prompts;
  ui::Resources resources{res::BuiltInResources()};
  MemorySettingsStore store;
  ScriptedInterfaces interfaces;
  std::unique_ptr<CKX_M71_VantrelApp> app;
  std::vector<Seen> looks;
};

TEST_F(Application, SwitchesToEnglishAndBackWithoutEnding) {
  InstallEnglishLibrary();
  const int shown = Run({
      Look([](auto& w) { Choose(w, mw::kCmdEnglish); }),
      Look([](auto& w) {
        QTest::mouseClick(w.Item(mw::kTypeRadios[3]), Qt::LeftButton);
        Choose(w, mw::kCmdGerman);
      }),
      Look([](auto& w) { Choose(w, mw::kCmdEnglish); }),
      Look([](auto& w) { QTest::mouseClick(w.Item(mw::kClose), Qt::LeftButton); }),
  });
  EXPECT_EQ(shown, 4);
  ASSERT_EQ(looks.size(), 4u);
  EXPECT_EQ(looks[0].closeButton, "Schliessen");
  EXPECT_EQ(looks[1].closeButton, "Close");
  EXPECT_EQ(looks[2].closeButton, "Schliessen");
  EXPECT_EQ(looks[3].closeButton, "Close") << "the library loads again";
  EXPECT_EQ(looks[0].languageItems, std::vector<int>{mw::kCmdEnglish});
  EXPECT_EQ(looks[1].languageItems, std::vector<int>{mw::kCmdGerman});
  for (const Seen& seen : looks)
    EXPECT_EQ(seen.type, 0) << "every new window starts with Read Only";
  EXPECT_TRUE(resources.UsesLibrary());
  EXPECT_EQ(store.GetInt("Settings", "Sprache", -1), 1);
}

TEST_F(Application, AnEnglishRunStartsTheNextInEnglish) {
  InstallEnglishLibrary();
  store.SetInt("Settings", "Sprache", 1);
  EXPECT_EQ(Run({Look([](auto& w) { w.EndDialog(2); })}), 1);
  EXPECT_EQ(looks.at(0).closeButton, "Close");
  EXPECT_EQ(resources.LoadString(ui::strings::kEnterPositiveInteger),
            "Please enter a positive integer.");
}

TEST_F(Application, AMissingOrBrokenLibraryLeavesGerman) {
  store.SetInt("Settings", "Sprache", 1);
  EXPECT_EQ(Run({Look([](auto& w) { w.EndDialog(2); })}), 1);
  EXPECT_EQ(looks.at(0).closeButton, "Schliessen");
  EXPECT_EQ(looks.at(0).languageItems, std::vector<int>{mw::kCmdGerman})
      << "the store still says English";

  QFile broken(dir.filePath("KX_M71_VantrelEng.so"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("no library at all");
  broken.close();
  EXPECT_EQ(Run({Look([](auto& w) { Choose(w, mw::kCmdGerman); }),
                 Look([](auto& w) { Choose(w, mw::kCmdEnglish); }),
                 Look([](auto& w) { w.EndDialog(2); })}),
            3);
  for (size_t i = 1; i < looks.size(); ++i)
    EXPECT_EQ(looks[i].closeButton, "Schliessen") << i;
  EXPECT_FALSE(resources.UsesLibrary());
  EXPECT_EQ(prompts.MessageTexts(), QStringList(4, "Fehler beim Port öffnen"))
      << "no message about the language, only each window's about the stored interface";
}

TEST_F(Application, EnterShowsAFreshWindowWithTheSavedSettings) {
  const int shown = Run({
      [](CKX_M71_VantrelDlg& w) {
        QTest::mouseClick(w.Item(mw::kTypeRadios[2]), Qt::LeftButton);
        w.SetItemText(mw::kStartBlock, "9");
        QTest::keyClick(&w, Qt::Key_Return);
      },
      [](CKX_M71_VantrelDlg& w) {
        EXPECT_EQ(w.ItemText(mw::kStartBlock), "9");
        EXPECT_EQ(w.transponderType(), 0);
        w.EndDialog(2);
      },
  });
  EXPECT_EQ(shown, 2);
}

TEST_F(Application, AnyOtherEndCodeEndsTheProgram) {
  EXPECT_EQ(Run({[](auto& w) { w.EndDialog(0); }}), 1);
  EXPECT_EQ(Run({[](auto& w) { w.EndDialog(-1); }}), 1);
}

class Help : public Application {
 protected:
  void Put(const QString& name) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  void PressF1() { App().services().ShowHelp(nullptr); }
};

TEST_F(Help, WithoutAManualF1DoesNothing) {
  Put("liesmich.txt");
  ASSERT_TRUE(QDir(dir.path()).mkdir("alt.pdf"));
  PressF1();
  EXPECT_TRUE(prompts.opened().isEmpty());
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Help, F1OpensTheManualBesideTheProgram) {
  Put("Handbuch.PDF");
  Put("liesmich.txt");
  PressF1();
  EXPECT_EQ(prompts.opened(), QStringList{dir.filePath("Handbuch.PDF")});
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Help, AManualThatCannotBeShownGivesItsMessage) {
  Put("Handbuch.pdf");
  prompts.QueueOpenResult(ui::OpenResult::kFailed);
  prompts.QueueOpenResult(ui::OpenResult::kNotFound);
  PressF1();
  PressF1();
  const QStringList texts = prompts.MessageTexts();
  ASSERT_EQ(texts.size(), 2);
  EXPECT_TRUE(texts[0].startsWith(
      "Zur Ausführung der Hilfe muss der Adobe Acrobat Reader installiert sein.\n"));
  EXPECT_EQ(texts[1], "Unbekannter Fehler 2");
  EXPECT_EQ(prompts.messages().front().caption, "KX-M71 Vantrel");
}

TEST_F(Help, F1InTheMainWindowOpensTheManual) {
  Put("Handbuch.pdf");
  Run({[](auto& w) {
    QTest::keyClick(&w, Qt::Key_F1);
    w.EndDialog(2);
  }});
  EXPECT_EQ(prompts.opened(), QStringList{dir.filePath("Handbuch.pdf")});
}

// An installed program may not write beside itself: its default logs go to the user's data
// directory, and names the operator chose stay as they are.
TEST_F(Application, DefaultLogsOfAnInstalledProgramGoToTheDataDirectory) {
  const QString data = dir.filePath("data");
  qputenv("XDG_DATA_HOME", data.toUtf8());
  app = std::make_unique<CKX_M71_VantrelApp>(resources, prompts, store, dir.filePath("no/such"),
                                             &interfaces);
  Run({});
  qunsetenv("XDG_DATA_HOME");
  const QString logs = data + "/Orv Applikationen/KX-M71 Vantrel/";
  EXPECT_EQ(store.GetString("Protokoll", "LogFileNameSchreiben", ""), logs + "Protokoll_S.txt");
  EXPECT_EQ(store.GetString("Protokoll", "LogFileNameLesen", ""), logs + "Protokoll_L.txt");

  store.SetString("Protokoll", "LogFileNameLesen", "/srv/Lesen.txt");
  app = std::make_unique<CKX_M71_VantrelApp>(resources, prompts, store, dir.path(), &interfaces);
  Run({});
  EXPECT_EQ(store.GetString("Protokoll", "LogFileNameLesen", ""), "/srv/Lesen.txt");
  EXPECT_EQ(store.GetString("Protokoll", "LogFileNameSchreiben", ""), logs + "Protokoll_S.txt");
}

TEST(ProgramDirectory, IsWhereTheRunningProgramLies) {
  EXPECT_EQ(GetProgramDirectory(), QCoreApplication::applicationDirPath());
  EXPECT_FALSE(GetProgramDirectory().endsWith(u'/'));
}

}  // namespace
}  // namespace kx::app::testing
