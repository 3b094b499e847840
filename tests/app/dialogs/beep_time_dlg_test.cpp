// The settings dialog for the beep and the cycle time: what it shows at its start, OK with its
// validation and the order of its writes, Cancel, and its template in both languages.
#include <gtest/gtest.h>

#include <QLabel>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>

#include "dialogs/beep_time_dlg.h"
#include "framework/resources.h"
#include "framework/services.h"
#include "framework/testing/scripted_prompts.h"
#include "memory_settings_store.h"
#include "resources/beep_time_dialog_ids.h"
#include "resources/builtin.h"

// Readable texts in failure messages.
static void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
static void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '[' << texts.join(", ").toStdString() << ']';
}

namespace kx::dialogs::testing {
namespace {

namespace bd = res::beep_time_dialog;

// Keeps the order of the keys written.
class RecordingStore : public app::MemorySettingsStore {
 public:
  void SetInt(const QString& section, const QString& key, int value) override {
    written.append(section + "/" + key);
    MemorySettingsStore::SetInt(section, key, value);
  }
  QStringList written;
};

class BeepTimeDialog : public ::testing::Test {
 protected:
  // Runs a fresh dialog modally; act runs once it shows, and the dialog is cancelled afterwards
  // if act left it open.
  int RunModal(const std::function<void(CBeepTimeDlg&)>& act) {
    CBeepTimeDlg dialog(services, store);
    QTimer::singleShot(0, &dialog, [&] {
      act(dialog);
      if (dialog.isVisible())
        dialog.EndDialog(ui::kIdCancel);
    });
    return dialog.DoModal();
  }

  // Enters both texts and clicks OK.
  int Submit(const QString& beepTime, const QString& cycleTime) {
    return RunModal([&](CBeepTimeDlg& dialog) {
      dialog.SetItemText(bd::kBeepTime, beepTime);
      dialog.SetItemText(bd::kCycleTime, cycleTime);
      QTest::mouseClick(dialog.Item(bd::kOk), Qt::LeftButton);
    });
  }

  QString Stored(const char* key) const {
    return store.Raw("Settings", QString::fromLatin1(key)).value_or("<absent>");
  }

  ui::testing::ScriptedPrompts prompts;
  ui::Resources resources{res::BuiltInResources()};
  ui::Services services{resources, prompts};
  RecordingStore store;
};

using BeepTimeStart = BeepTimeDialog;
using BeepTimeOk = BeepTimeDialog;
using BeepTimeTemplate = BeepTimeDialog;

TEST_F(BeepTimeStart, WithoutKeysShowsTheDefaultsAndCancelLeavesThemAbsent) {
  QString title, beepTime, cycleTime;
  const int code = RunModal([&](CBeepTimeDlg& dialog) {
    title = dialog.windowTitle();
    beepTime = dialog.ItemText(bd::kBeepTime);
    cycleTime = dialog.ItemText(bd::kCycleTime);
    dialog.SetItemText(bd::kBeepTime, "20");
    dialog.SetItemText(bd::kCycleTime, "abc");
    QTest::mouseClick(dialog.Item(bd::kCancel), Qt::LeftButton);
  });
  EXPECT_EQ(code, ui::kIdCancel);
  EXPECT_EQ(title, "Einstellungen");
  EXPECT_EQ(beepTime, "150");
  EXPECT_EQ(cycleTime, "250");
  EXPECT_EQ(store.size(), 0u) << "neither the defaults nor the edits are written";
  EXPECT_TRUE(prompts.messages().empty()) << "Cancel does not validate";
}

// The values are read at each start, so a dialog shown again sees what was stored meanwhile.
TEST_F(BeepTimeStart, ShowsTheStoredValuesOfEachStart) {
  store.SetInt("Settings", "BeepTime", 0);
  store.SetInt("Settings", "ZyklusZeit", 20000);
  CBeepTimeDlg dialog(services, store);
  ASSERT_TRUE(dialog.Create());
  EXPECT_EQ(dialog.ItemText(bd::kBeepTime), "0");
  EXPECT_EQ(dialog.ItemText(bd::kCycleTime), "20000") << "out of range, shown as stored";
  dialog.Destroy();

  store.SetString("Settings", "BeepTime", "-1");
  store.SetString("Settings", "ZyklusZeit", "schnell");
  store.written.clear();
  ASSERT_TRUE(dialog.Create());
  EXPECT_EQ(dialog.ItemText(bd::kBeepTime), "150");
  EXPECT_EQ(dialog.ItemText(bd::kCycleTime), "250");
  dialog.Destroy();
  EXPECT_TRUE(store.written.isEmpty());
}

TEST_F(BeepTimeOk, WritesTheCycleTimeAndThenTheBeepTime) {
  EXPECT_EQ(Submit("0", "100"), ui::kIdOk);
  EXPECT_EQ(store.written, (QStringList{"Settings/ZyklusZeit", "Settings/BeepTime"}));
  EXPECT_EQ(Stored("BeepTime"), "0") << "0 switches the beep off";
  EXPECT_EQ(Stored("ZyklusZeit"), "100");

  EXPECT_EQ(Submit(" 1000 ", "10000"), ui::kIdOk);
  EXPECT_EQ(Stored("BeepTime"), "1000");
  EXPECT_EQ(Stored("ZyklusZeit"), "10000");
  EXPECT_TRUE(prompts.messages().empty());
}

// Each bad input shows one message, focuses its field, keeps the dialog open and writes nothing;
// the beep time is judged first.
TEST_F(BeepTimeOk, BadInputsKeepTheDialogOpen) {
  const QString beepBounds = "Geben Sie eine ganze Zahl zwischen 0 und 1000 ein.";
  const QString cycleBounds = "Geben Sie eine ganze Zahl zwischen 100 und 10000 ein.";
  const QString positive = "Geben Sie eine positive ganze Zahl ein.";
  struct Case {
    QString beepTime;
    QString cycleTime;
    QString message;
    int focused;
  };
  const Case cases[] = {
      {"1001", "250", beepBounds, bd::kBeepTime}, {"150", "99", cycleBounds, bd::kCycleTime},
      {"zehn", "250", positive, bd::kBeepTime},   {"-1", "250", positive, bd::kBeepTime},
      {"150", "1e3", positive, bd::kCycleTime},   {"1001", "99", beepBounds, bd::kBeepTime},
  };
  for (const Case& c : cases) {
    prompts.Clear();
    bool stayedOpen = false;
    bool fieldFocused = false;
    const int code = RunModal([&](CBeepTimeDlg& dialog) {
      dialog.SetItemText(bd::kBeepTime, c.beepTime);
      dialog.SetItemText(bd::kCycleTime, c.cycleTime);
      QTest::mouseClick(dialog.Item(bd::kOk), Qt::LeftButton);
      stayedOpen = dialog.isVisible();
      fieldFocused = dialog.focusWidget() == dialog.Item(c.focused);
    });
    const std::string inputs = (c.beepTime + " / " + c.cycleTime).toStdString();
    EXPECT_TRUE(stayedOpen) << inputs;
    EXPECT_EQ(code, ui::kIdCancel);
    EXPECT_EQ(prompts.MessageTexts(), QStringList{c.message}) << inputs;
    EXPECT_TRUE(fieldFocused) << inputs;
    EXPECT_TRUE(store.written.isEmpty()) << inputs;
  }
}

// Every text must be readable in both languages: each control lies inside the window, none
// overlaps another, and no label is cut.
void ExpectTidyLayout(const CBeepTimeDlg& dialog, const ui::res::DialogTemplate& form) {
  for (size_t i = 0; i < form.controlCount; ++i) {
    const ui::res::Rect& a = form.controls[i].rect;
    const QRect placed(a.x, a.y, a.width, a.height);
    EXPECT_TRUE(QRect(0, 0, form.width, form.height).contains(placed)) << form.controls[i].text;
    for (size_t j = i + 1; j < form.controlCount; ++j) {
      const ui::res::Rect& b = form.controls[j].rect;
      EXPECT_FALSE(placed.intersects(QRect(b.x, b.y, b.width, b.height)))
          << form.controls[i].text << " / " << form.controls[j].text;
    }
  }
  for (const QLabel* label : dialog.findChildren<QLabel*>())
    EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
}

TEST_F(BeepTimeTemplate, BothLanguagesHaveTheFieldsInATidyLayout) {
  {
    CBeepTimeDlg dialog(services, store);
    ASSERT_TRUE(dialog.Create());
    ExpectTidyLayout(dialog, *resources.FindDialog(bd::kDialog));
    dialog.Destroy();
  }
  ASSERT_TRUE(resources.UseLibrary(KX_ENGLISH_LIBRARY_FILE)) << resources.LoadError();
  store.SetInt("Settings", "BeepTime", 40);
  CBeepTimeDlg dialog(services, store);
  ASSERT_TRUE(dialog.Create());
  EXPECT_EQ(dialog.windowTitle(), "Settings");
  EXPECT_EQ(dialog.ItemText(bd::kBeepTime), "40");
  EXPECT_EQ(dialog.ItemText(bd::kCycleTime), "250");
  EXPECT_EQ(dialog.ItemText(bd::kCancel), "Cancel");
  QStringList labels;
  for (const QLabel* label : dialog.findChildren<QLabel*>())
    labels.append(label->text());
  EXPECT_TRUE(labels.contains("Beep time"));
  EXPECT_TRUE(labels.contains("( 0ms = beep off)"));
  EXPECT_TRUE(labels.contains("Cycle time"));
  ExpectTidyLayout(dialog, *resources.FindDialog(bd::kDialog));
  dialog.Destroy();
}

}  // namespace
}  // namespace kx::dialogs::testing
