#pragma once
// A file's extended attributes (a POSIX ACL is one of them, system.posix_acl_access), given to
// another file, so that a file written anew can stand in for an old one.

namespace platform {

// Gives the open file `to` exactly the extended attributes of the file `from` names: those it
// has are set to their values, those it lacks removed. False when any of it fails (an
// attribute that is not ours to set, a file system that holds none while `from` has some), and
// `to` then holds some of them.
bool CopyAttributes(const char* from, int to);

}  // namespace platform
