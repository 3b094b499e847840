// Connecting the main window: the caption that names the reader, the refused models, the
// interface dialog at the start until a reader answers, and "Schnittstelle wählen".
#include "product_version.h"
#include "reader_window_fixture.h"

namespace kx::app::testing {
namespace {

using Connection = ReaderWindow;

TEST_F(Connection, AnAcceptedReaderIsNamedInTheCaption) {
  OpenConnected(std::nullopt);
  EXPECT_EQ(Caption().toStdString(),
            "KX-M71 Vantrel V1.0.0 <KX-P71D " + server->DevicePath() + "  FW V1.10>");
  EXPECT_TRUE(prompts.messages().empty());
  EXPECT_EQ(interfaces.shown, 0) << "the stored interface is tried without asking";
  EXPECT_EQ(model->ReaderMode(), 0);
}

TEST_F(Connection, AReaderOfAnotherTypeIsRefusedAndTheInterfaceIsAskedFor) {
  kxemu::ReaderConfig config;
  config.versionText = "0394";
  StartReader(config);
  OpenWindow();
  EXPECT_EQ(prompts.MessageTexts(),
            QStringList{"Für dieses Programm wird ein KX-P71D benötigt!!!"});
  EXPECT_EQ(prompts.messages().front().caption, "KX-M71 Vantrel");
  EXPECT_EQ(dialog->connection(), 0);
  EXPECT_EQ(interfaces.shown, 1);
  EXPECT_EQ(Caption(), "KX-M71 Vantrel V1.0.0 <>");
}

TEST_F(Connection, TheStartAsksForTheInterfaceUntilAReaderAnswers) {
  StartReader();
  const std::string readerPort = server->DevicePath();
  interfaces.stored = kNoSuchPort;
  interfaces.choices = {std::string(kNoSuchPort), readerPort};
  OpenWindow();
  EXPECT_EQ(prompts.MessageTexts(), QStringList(2, "Fehler beim Port öffnen"));
  EXPECT_EQ(interfaces.shown, 2);
  EXPECT_GT(dialog->connection(), 0);
  EXPECT_TRUE(Caption().contains(QString::fromStdString(readerPort)));
}

TEST_F(Connection, ChoosingTheInterfaceClosesTheConnectionAndConnectsTheChoice) {
  OpenConnected(std::nullopt);
  // Cancelled: the old connection is gone all the same, and commands fail with code 6.
  ASSERT_TRUE(ChooseMenuItem(*dialog, mw::kCmdInterface));
  EXPECT_EQ(dialog->connection(), 0);
  EXPECT_EQ(interfaces.shown, 1);
  Click(mw::kReadOnce);
  EXPECT_EQ(StatusLines(), QStringList{"Fehler beim Port öffnen"});

  interfaces.choices = {server->DevicePath()};
  ASSERT_TRUE(ChooseMenuItem(*dialog, mw::kCmdInterface));
  EXPECT_GT(dialog->connection(), 0);
  EXPECT_TRUE(prompts.messages().empty());
}

TEST(ProductVersion, OnlyAVersionOfOneToNineteenCharactersIsShown) {
  EXPECT_EQ(ProductVersionText("2.3.1"), "2.3.1");
  EXPECT_EQ(ProductVersionText("1234567890123456789"), "1234567890123456789");
  EXPECT_EQ(ProductVersionText("12345678901234567890"), "1.xx");
  EXPECT_EQ(ProductVersionText(""), "1.xx");
}

}  // namespace
}  // namespace kx::app::testing
