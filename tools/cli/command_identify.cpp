// identify: who the reader at the port is.
#include "commands.h"
#include "connection.h"
#include "names.h"

namespace kx::cli {

int RunIdentify(const Context& context) {
  flows::ConnectResult connected;
  if (auto problem = ConnectReader(context.options, context.stored, connected))
    return context.out.Fail(*problem);
  const OpenConnection connection(connected);
  const flows::ReaderIdentity& reader = connection.Reader();
  const std::string port = TargetOf(context.options, context.stored).port;
  const std::string firmware = flows::FirmwareText(reader.firmwareRevision);
  JsonObject json = context.out.Begin();
  json.Add("port", port)
      .Add("model", reader.modelName)
      .Add("type_code", TypeCodeText(reader.typeCode))
      .Add("firmware", firmware)
      .Add("version", reader.versionText)
      .Add("usb", reader.usb);
  const std::string text = "port       " + port + "\nmodel      " + reader.modelName +
                           "\ntype code  " + TypeCodeText(reader.typeCode) + "\nfirmware   " +
                           firmware;
  context.out.Result(json, text);
  return kExitSuccess;
}

}  // namespace kx::cli
