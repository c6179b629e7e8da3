#pragma once
// The selection file through which long lists reach the selection dialog
// ("dlgSrch.htm"): <installation path>\Temp\mySelect.txt, a UTF-16 text file
// (little-endian, with a byte-order mark) replaced on every write.
//
// On this system "\" in that path is the directory separator: the file written is
// <installation path>/Temp/mySelect.txt, and the Temp folder is created when it
// is missing (the installation folder itself must exist).

#include <filesystem>
#include <string>
#include <string_view>

#include "integration/components.h"

namespace cn {

// The file for an installation path as the settings store holds it.
std::filesystem::path SelectionFilePath(std::string_view installation_path);

// The UTF-16LE bytes of a UTF-8 text, byte-order mark first. A byte that is not
// part of valid UTF-8 becomes U+FFFD.
std::string EncodeUtf16File(std::string_view text);

// The UTF-8 text of a file's UTF-16LE bytes (a leading byte-order mark skipped). An unpaired
// surrogate, or an odd last byte, becomes U+FFFD.
std::string DecodeUtf16File(std::string_view bytes);

// The content of the selection file of an installation path; nothing when there is none.
// A file that exists but cannot be read throws RuntimeFailure.
std::string ReadSelectionFile(std::string_view installation_path);

// Reads the installation path from the settings store and writes `text` unchanged
// as the whole content of the file. An empty installation path, or a file that
// cannot be written, throws RuntimeFailure.
void WriteSelectionFile(const Components& components, std::string_view text);

}  // namespace cn
