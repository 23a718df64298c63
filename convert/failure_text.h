// The converter's German message for a file it could not read or write:
// the file, why (from the Failure the file system reported), and what the
// user can do about it.
#pragma once

#include <string>

#include "platform/failure.h"

namespace zl {

std::string readFailureText(const std::string& input, const Failure& failure);
std::string writeFailureText(const std::string& output, const Failure& failure);

}  // namespace zl
