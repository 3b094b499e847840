// A main window over an in-memory settings store and scripted prompts, and the operator's ways of
// working it.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <memory>

#include "framework/resources.h"
#include "framework/services.h"
#include "framework/testing/scripted_prompts.h"
#include "main_dialog.h"
#include "memory_settings_store.h"
#include "reader_doubles.h"
#include "resources/builtin.h"
#include "resources/ids.h"

namespace kx::app::testing {

namespace mw = res::main_window;

inline constexpr char kProgramDirectory[] = "/opt/vantrel/";

// Fires an item of the window's command menu as the operator's choice would. False when the
// menu has no such item.
bool ChooseMenuItem(ui::Dialog& dialog, int commandId);

// Opens the command menu, so that it brings its items up to date, and closes it again.
void OpenAndCloseMenu(ui::Dialog& dialog);

// Runs the dialog modally; act runs once it shows.
int RunModal(ui::Dialog& dialog, std::function<void()> act);

class MainWindow : public ::testing::Test {
 protected:
  void TearDown() override;

  // Makes the window from the store and shows it. The stored interface has no reader: the window
  // reports that and works on without a connection; that message is cleared.
  CKX_M71_VantrelDlg& Open();
  // A window over the fixture's store, interfaces and beeper, not yet shown.
  std::unique_ptr<CKX_M71_VantrelDlg> MakeWindow();
  // Takes the window down as closing it would; the settings go into the store.
  void Close();

  void Click(int id);
  void ChooseType(int typeIndex) { Click(mw::kTypeRadios[typeIndex]); }
  void ChooseFormat(int format) { Click(mw::kFormatRadios[format]); }
  // Types the length into its edit and leaves it.
  void EnterLength(const QString& text);
  // The write edit that the window shows for its format.
  int WriteEdit() const;
  QString WriteText() const { return dialog->ItemText(WriteEdit()); }
  void SetWriteText(const QString& text) { dialog->SetItemText(WriteEdit(), text); }
  QString Stored(const char* section, const char* key) const;

  ui::testing::ScriptedPrompts prompts;
  ui::Resources resources{res::BuiltInResources()};
  ui::Services services{resources, prompts};
  MemorySettingsStore store;
  ScriptedInterfaces interfaces;
  RecordingBeeper beeper;
  std::unique_ptr<CKX_M71_VantrelDlg> dialog;
};

}  // namespace kx::app::testing
