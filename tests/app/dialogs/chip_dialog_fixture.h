// The chip tool dialogs' tests: an emulated reader on a pseudo-terminal connected as the main
// window connects, the services with scripted prompts, and the commands the reader received.
#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

#include "flows/connect.h"
#include "framework/dialog.h"
#include "framework/resources.h"
#include "framework/services.h"
#include "framework/testing/scripted_prompts.h"
#include "kxemu/pty_server.h"
#include "kxemu/reader_model.h"
#include "kxemu/transponder.h"
#include "kxlf.h"
#include "link/frame_codec.h"
#include "resources/builtin.h"

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '[' << texts.join(", ").toStdString() << ']';
}

namespace kx::dialogs::testing {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t kSpecial = 0xC4;

class ChipDialogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (handle_ > 0)
      KxLfClose(handle_);
  }

  // A fresh reader and connection; an earlier one is closed first.
  void Connect(std::optional<kxemu::Transponder> transponder) {
    if (handle_ > 0)
      KxLfClose(handle_);
    handle_ = 0;
    server_.reset();
    kxemu::ReaderConfig config;
    config.transponder = std::move(transponder);
    model_ = std::make_unique<kxemu::ReaderModel>(config);
    server_ = std::make_unique<kxemu::PtyServer>(*model_);
    std::string error;
    ASSERT_TRUE(server_->Start({}, &error)) << error;
    const flows::ConnectResult connected = flows::Connect(server_->DevicePath(), 19200, 500);
    ASSERT_TRUE(connected.ok());
    handle_ = connected.handle;
    model_->ClearReceivedRequests();
  }

  // Every request since the connection or the last call, as command code and parameters.
  std::vector<Bytes> TakeCommands() {
    std::vector<Bytes> commands;
    for (const Bytes& frame : model_->ReceivedRequests()) {
      const kxlf::DecodedFrame decoded = kxlf::DecodeFrame(kxlf::FrameMode::kXor, frame);
      Bytes command{decoded.code};
      command.insert(command.end(), decoded.data.begin(), decoded.data.end());
      commands.push_back(command);
    }
    model_->ClearReceivedRequests();
    return commands;
  }

  kxemu::Transponder Chip() const { return *model_->CurrentTransponder(); }
  void ChangeChip(const std::function<void(kxemu::Transponder&)>& change) {
    kxemu::Transponder chip = Chip();
    change(chip);
    model_->SetTransponder(chip);
  }

  // Runs the dialog modally; act runs once it shows, and the dialog is closed afterwards if act
  // left it open.
  static int RunModal(ui::Dialog& dialog, const std::function<void()>& act) {
    QTimer::singleShot(0, &dialog, [&] {
      act();
      if (dialog.isVisible())
        dialog.EndDialog(ui::kIdCancel);
    });
    return dialog.DoModal();
  }

  ui::testing::ScriptedPrompts prompts;
  ui::Resources resources{res::BuiltInResources()};
  ui::Services services{resources, prompts};
  std::unique_ptr<kxemu::ReaderModel> model_;
  std::unique_ptr<kxemu::PtyServer> server_;
  int handle_ = 0;
};

// Every text must be readable: each control lies inside the window, none overlaps another, and
// no label is cut.
inline void ExpectTidyLayout(const ui::Dialog& dialog, const ui::res::DialogTemplate& form) {
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

}  // namespace kx::dialogs::testing
