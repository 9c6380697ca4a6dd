#pragma once
// The check a firmware file must pass before the board takes it: a well-formed Intel HEX file.

#include <string>

namespace boardlink {

// Every non-blank line a record ":LLAAAATT<data>CC" of hex digits with a matching length and
// checksum and a known type (00 to 05); exactly one end-of-file record (01), as the last one.
bool IsWellFormedIntelHex(const std::string& text);
bool IsWellFormedIntelHexFile(const std::string& path);

}  // namespace boardlink
