// Whole-file reads and writes for the document files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/ClassInfo.h"

class QIODevice;

namespace tsb {

// The file's bytes; raises "Cannot open file %s" when it cannot be read.
TBytes ReadFileBytes(const std::string& fileName);

// Writes the bytes to a new file beside the target and renames it over the
// target once complete, so the target is never left half-written. Raises
// "Cannot create file %s" when the file cannot be created and "Stream write
// error" when writing or replacing fails; the old file is then untouched.
void WriteFileBytes(const std::string& fileName, const TBytes& data);

// The same for a file made piece by piece: produce hands its bytes to the
// writer it is given as it makes them. When produce raises, the target is
// left untouched and the error passes on.
void WriteFileStreamed(
    const std::string& fileName,
    const std::function<void(const std::function<void(const std::uint8_t*, std::size_t)>&)>&
        produce);

// The same for a file written through a device: write gets the new file,
// open for writing. Whatever write puts there replaces the target only when
// write returns and every byte reached the file.
void WriteFileThrough(const std::string& fileName, const std::function<void(QIODevice&)>& write);

} // namespace tsb
