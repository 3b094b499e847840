#include "flows/failure.h"

#include "flows/transponder_types.h"
#include "kxlf.h"

namespace kx::flows {

Failure ReaderFailure(int handle) {
  const int code = KxLfGetLastError(handle);
  return Failure{ErrorMessageId(code), code};
}

Failure UnknownTypeFailure() {
  return Failure{convert::StandardMessage{convert::StandardMessageId::kEnterIntegerBetween, 0,
                                          kTransponderTypeCount - 1},
                 0};
}

}  // namespace kx::flows
