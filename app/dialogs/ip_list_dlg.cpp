#include "dialogs/ip_list_dlg.h"

#include <QResizeEvent>
#include <algorithm>
#include <vector>

#include "dialogs/lan_config_dlg.h"
#include "dialogs/lan_entries.h"
#include "dialogs/port_entries.h"
#include "framework/resources.h"
#include "framework/wait_cursor.h"
#include "resources/lan_dialogs_ids.h"

namespace kx::dialogs {

namespace {

namespace id = res::ip_list_dialog;

// The SDK's list calls write into a buffer of this size.
constexpr int kListBufferSize = 2500;

constexpr int kStartSearchMessage = ui::msg::kUser + 1;

EventLoopClock& ProgramClock() {
  static EventLoopClock clock;
  return clock;
}

// The SDK reports a list of no entries as its single closing NUL byte.
std::list<std::string> Found(int result, const std::vector<char>& buffer) {
  if (result <= 1)
    return {};
  return ParseStringList(buffer.data(), static_cast<int>(buffer.size()), result);
}

}  // namespace

CIPAddrSuche::CIPAddrSuche(ui::Services& services, QWidget* parent)
    : CIPAddrSuche(services, ProgramLanSdk(), ProgramClock(), parent) {}

CIPAddrSuche::CIPAddrSuche(ui::Services& services, LanSdk& sdk, WaitClock& clock, QWidget* parent)
    : Dialog(services, id::kDialog, parent), sdk_(sdk), clock_(clock) {
  Bind(id::kList, ui::Notification::kSelChange, [this] { OnSelectionChange(); });
}

bool CIPAddrSuche::OnInitDialog() {
  Dialog::OnInitDialog();
  resultText_.clear();
  startRects_.clear();
  for (int control : {id::kList, id::kChangeAddress, id::kClose})
    startRects_[control] = ItemRect(control);
  // The size at start is the smallest the window may get.
  const ui::res::DialogTemplate* dialog = services().resources().FindDialog(templateId());
  minimumSize_ = units().ToPixels(dialog->width, dialog->height);
  setMinimumSize(minimumSize_);
  // The first search runs once the window shows, so that the operator sees it busy.
  setEnabled(false);
  EnableItem(id::kChangeAddress, false);
  PostMessage(kStartSearchMessage);
  return true;
}

bool CIPAddrSuche::OnMessage(int message, intptr_t, intptr_t) {
  if (message != kStartSearchMessage)
    return false;
  if (!Search())
    EndDialog(ui::kIdCancel);
  return true;
}

bool CIPAddrSuche::Search() {
  for (;;) {
    SearchOnce();
    if (ListCount(id::kList) > 0)
      break;
    const ui::Answer answer = services().prompts().ShowMessage(
        this, {LoadString(id::kNothingFound), LoadString(id::kListCaption),
               ui::Buttons::kRetryCancel, ui::Icon::kExclamation});
    if (answer != ui::Answer::kRetry) {
      setEnabled(true);
      return false;
    }
  }
  setEnabled(true);
  EnableItem(id::kChangeAddress, ListCurrent(id::kList) >= 0);
  return true;
}

void CIPAddrSuche::SearchOnce() {
  searching_ = true;
  ++searches_;
  ui::WaitCursor wait;
  setEnabled(false);
  ListReset(id::kList);
  EnableItem(id::kChangeAddress, false);

  std::vector<char> buffer(kListBufferSize, '\0');
  const std::list<std::string> readers =
      Found(sdk_.FindLanReaders(buffer.data(), kListBufferSize), buffer);
  std::fill(buffer.begin(), buffer.end(), '\0');
  const std::list<std::string> devices =
      Found(sdk_.FindLanDevices(buffer.data(), kListBufferSize), buffer);
  for (const FoundEntry& entry : MergeFoundEntries(readers, devices)) {
    const int index = ListAdd(id::kList, entry.text);
    ListSetItemValue(id::kList, index, entry.value);
  }
  searching_ = false;
}

void CIPAddrSuche::OnSelectionChange() {
  EnableItem(id::kChangeAddress, ListCurrent(id::kList) >= 0);
}

void CIPAddrSuche::OnOK() {
  const int selected = ListCurrent(id::kList);
  if (searching_ || selected < 0)
    return;
  CLanConfig config(services(), sdk_, ListText(id::kList, selected), clock_, this);
  if (config.DoModal() != ui::kIdOk)
    return;
  // The window waits as it searches: nothing may close it before the search has run.
  setEnabled(false);
  searching_ = true;
  clock_.Pause(kSearchAfterChangeMs);
  if (!Search())
    EndDialog(ui::kIdCancel);
}

void CIPAddrSuche::OnCancel() {
  if (searching_)
    return;
  const int selected = ListCurrent(id::kList);
  if (selected >= 0 && ListItemValue(id::kList, selected) == kConfirmedReader)
    resultText_ = ListText(id::kList, selected);
  EndDialog(ui::kIdCancel);
}

void CIPAddrSuche::resizeEvent(QResizeEvent* event) {
  Dialog::resizeEvent(event);
  if (!HasWindow() || startRects_.empty() || minimumSize_.isEmpty())
    return;
  const int wider = std::max(0, event->size().width() - minimumSize_.width());
  const int taller = std::max(0, event->size().height() - minimumSize_.height());
  SetItemRect(id::kList, startRects_[id::kList].adjusted(0, 0, wider, taller));
  SetItemRect(id::kChangeAddress, startRects_[id::kChangeAddress].translated(0, taller));
  SetItemRect(id::kClose, startRects_[id::kClose].translated(wider, taller));
}

}  // namespace kx::dialogs
