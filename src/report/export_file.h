#pragma once
// Writing an exported text. Exports are written in place, without waiting for the disk: they
// are made again in a moment if a crash ever cut one short, and a set of eight must stay quick.

#include <string>

namespace velmark {

// Creates or replaces `path` with `text`; the error text, empty on success.
std::string WriteExportFile(const std::string& path, const std::string& text);

}  // namespace velmark
