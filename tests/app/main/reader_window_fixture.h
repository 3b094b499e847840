// A main window connected to an emulated reader on a pseudo-terminal, with the SDK running the
// window's events while it waits, as in the program.
#pragma once

#include <QStringList>
#include <memory>
#include <vector>

#include "kxemu/pty_server.h"
#include "kxemu/reader_model.h"
#include "kxemu/transponder.h"
#include "main_window_fixture.h"

namespace kx::app::testing {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t kWholeRead = 0xC0;
inline constexpr uint8_t kWholeWrite = 0xC1;
inline constexpr uint8_t kBlockRead = 0xC2;
inline constexpr uint8_t kBlockWrite = 0xC3;

class ReaderWindow : public MainWindow {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the emulated reader and makes its port the stored interface.
  void StartReader(kxemu::ReaderConfig config = {});
  // Opens the window with a reader whose field holds the transponder (none: an empty field);
  // the reader's log starts after the connection.
  void OpenConnected(std::optional<kxemu::Transponder> transponder);
  // Makes and shows the window, whatever its connection attempts bring.
  void OpenWindow();

  // Requests since the connection, as command code followed by parameters.
  std::vector<Bytes> Commands() const;
  Bytes Memory() const { return model->CurrentTransponder().value().memory; }
  QStringList StatusLines() const;
  QString Caption() const { return dialog->windowTitle(); }

  std::unique_ptr<kxemu::ReaderModel> model;
  std::unique_ptr<kxemu::PtyServer> server;
};

}  // namespace kx::app::testing
