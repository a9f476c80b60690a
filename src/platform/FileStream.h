// Whole-file reads and writes for the document files.
#pragma once

#include <string>

#include "platform/ClassInfo.h"

namespace tsb {

// The file's bytes; raises "Cannot open file %s" when it cannot be read.
TBytes ReadFileBytes(const std::string& fileName);

// Writes the bytes to a new file beside the target and renames it over the
// target once complete, so the target is never left half-written. Raises
// "Cannot create file %s" when the file cannot be created and "Stream write
// error" when writing or replacing fails; the old file is then untouched.
void WriteFileBytes(const std::string& fileName, const TBytes& data);

} // namespace tsb
