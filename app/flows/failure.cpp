#include "flows/failure.h"

#include "kxlf.h"

namespace kx::flows {

Failure ReaderFailure(int handle) {
  const int code = KxLfGetLastError(handle);
  return Failure{ErrorMessageId(code), code};
}

}  // namespace kx::flows
