#pragma once
// Replacing a file as a whole: the new content goes to a file of its own in the same folder and
// takes the old file's place in one rename once it is complete, so a failure half-way (a full
// disk, a pulled stick) leaves the old file as it was. Failures throw CFileException*.

#include <string>
#include <string_view>

namespace platform {

// What a replace that threw left under the name.
struct LeftBehind {
    // A file (or something else) was there before.
    bool fileWasThere = false;
    // The name holds what it held before: that file as it was, or nothing. False only when even
    // putting that back failed.
    bool kept = true;
};

// Puts `text` in the place of the file `path` names. A symbolic link is followed to the file it
// leads to, which is the one replaced; the link stays, and so does the old file's mode. Only a
// regular file is replaced. Where no new file can be made in that file's folder (a folder the
// user may not create files in), the file is overwritten in place, and a failure half-way puts
// back what was overwritten. When it throws, `left` says what the name holds.
void WriteFileReplacing(const std::string& path, std::string_view text, LeftBehind& left);

}  // namespace platform
