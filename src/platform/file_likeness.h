#pragma once
// Making a freshly written file what another file was, so it can take that
// file's place without the user noticing anything but the new content.
#include <sys/stat.h>

namespace tvx {

// Gives the file open as To the owner, group, mode (setuid, setgid and sticky
// bits included) and every extended attribute (access lists among them) of
// the file open as From, whose status is FromStatus. False when the system
// refuses any of it (another user's file saved by someone other than root, a
// group the user is not in, an attribute only root may set), or when From may
// carry attributes this process cannot even see (the trusted ones, to anyone
// but root): To is then not the same file and must not replace From.
bool MakeLike(int To, int From, const struct stat& FromStatus);

// Gives the file open as To the mode a new file gets from a plain open
// (0666 less the process's umask). False when the system refuses.
bool GiveNewFileMode(int To);

} // namespace tvx
