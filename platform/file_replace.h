#pragma once
// Replacing a file as a whole: the new content goes to a file of its own in the same folder and
// takes the old file's place in one rename once it is complete, so a failure half-way (a full
// disk, a pulled stick) leaves the old file as it was. Failures throw CFileException*.

#include <string>

namespace platform {

// Makes a new, empty file in the folder of `path` under a name no other file has, and returns
// that name.
std::string CreateFileBeside(const std::string& path);

// Puts `temp` in the place of `path`: its data reaches the disk first, it gets the permissions
// `path` had (a new file those of any new file), then one rename replaces `path`.
void ReplaceFileWith(const std::string& temp, const std::string& path);

// Removes a file and ignores any failure: the clean-up after a failed replacement.
void RemoveQuietly(const std::string& path);

}  // namespace platform
