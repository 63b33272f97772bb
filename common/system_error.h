#pragma once

#include <cerrno>
#include <system_error>

namespace towngen {

// The system's reason for the call that has just failed, as a value to carry;
// an I/O error when the call left no reason. Read it at once, before any
// other call can change errno.
inline std::error_code lastSystemError() {
  const int error = errno;
  return error != 0 ? std::error_code(error, std::generic_category())
                    : std::make_error_code(std::errc::io_error);
}

}  // namespace towngen
