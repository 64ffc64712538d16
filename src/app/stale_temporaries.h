#pragma once
// The temporary files an atomic replace writes next to its target, and the removal of those a
// killed writer left behind. A writer holds an exclusive flock on its temporary file from the
// moment it exists until it has been renamed, so a temporary file nobody holds locked belongs to
// a writer that died; the lock goes with the process, whatever killed it.

#include <filesystem>
#include <string>

namespace velmark {

// The mkstemp pattern of the temporary file for `name`: ".name.XXXXXX".
std::string TemporaryPattern(const std::string& name);

// True when `entry` is a name TemporaryPattern(name) can produce.
bool IsTemporaryOf(const std::string& entry, const std::string& name);

// Removes folder's temporary files of `name` that are regular files of this user and that no
// live writer holds. Anything else (other names, links, folders, locked files) is left alone.
// Returns how many were removed.
int RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& name);

}  // namespace velmark
