#pragma once
// Replacing a file as a whole: the new content goes to a file of its own in the same folder and
// takes the old file's place in one rename once it is complete, so a failure half-way (a full
// disk, a pulled stick) leaves the old file as it was; where a new file cannot stand in for the
// old one, the old one is overwritten where it is. Failures throw CFileException*.

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
// leads to, which is the one replaced; the link stays. Only a regular file is replaced. The new
// file takes the old one's place only where it can carry all the old one had besides its
// content (owner, group, mode, extended attributes and with them an ACL) and the old file has
// no second name. Otherwise, and where no new file can be made in that file's folder, the file
// is overwritten in place, and a failure half-way puts back what was overwritten. When it
// throws, `left` says what the name holds.
void WriteFileReplacing(const std::string& path, std::string_view text, LeftBehind& left);

}  // namespace platform
