// "Liste aller gefundenen IP-Adressen" (template 163): searches the local networks for readers,
// lists the confirmed readers and the other devices that answered, hands the reader chosen with
// "Schliessen" to the interface dialog (resultText) and opens the network settings of the
// selected entry with "IP-Adresse ändern".
//
// A search runs through the SDK, which keeps the windows painted while it waits; the dialog is
// disabled under the wait cursor meanwhile, so no second search or change can start. The first
// search starts right after the window shows.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <map>

#include "dialogs/lan_sdk.h"
#include "dialogs/reader_return_wait.h"
#include "framework/dialog.h"

namespace kx::dialogs {

// The pause between a successful change and the next search: the reader is back, but its list
// entry may still be the old one for a moment.
inline constexpr int kSearchAfterChangeMs = 300;

class CIPAddrSuche : public ui::Dialog {
  Q_OBJECT

 public:
  // The SDK and the steady clock of the program.
  explicit CIPAddrSuche(ui::Services& services, QWidget* parent = nullptr);
  // `clock` times the pause before the search after a change and the wait in the settings dialog.
  CIPAddrSuche(ui::Services& services, LanSdk& sdk, WaitClock& clock, QWidget* parent = nullptr);

  // The confirmed reader selected when the dialog was closed; empty for none.
  const QString& resultText() const { return resultText_; }
  bool Searching() const { return searching_; }
  int Searches() const { return searches_; }

 protected:
  bool OnInitDialog() override;
  // The first search, posted from the start.
  bool OnMessage(int message, intptr_t first, intptr_t second) override;
  // "IP-Adresse ändern".
  void OnOK() override;
  // "Schliessen", Escape and the close box.
  void OnCancel() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Searches until something is found; false when the operator gave up, which closes the dialog.
  bool Search();
  void SearchOnce();
  void OnSelectionChange();

  LanSdk& sdk_;
  WaitClock& clock_;
  QString resultText_;
  bool searching_ = false;
  int searches_ = 0;
  QSize minimumSize_;
  std::map<int, QRect> startRects_;
};

}  // namespace kx::dialogs
