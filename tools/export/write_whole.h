// A file written whole or not at all.
#pragma once

#include <string>

namespace tools {

// Writes text to path through a temporary file in the same folder and a
// rename, so that a failure leaves no partial file behind and an old file
// at path stays as it was; false with `error` saying why.
bool writeWhole(const std::string& path, const std::string& text, std::string& error);

}  // namespace tools
