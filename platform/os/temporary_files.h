// SPDX-License-Identifier: MIT
// The temporary files a file is replaced through: their names, how an unnamed one gets its
// name, and what writers that were killed left of them.
#pragma once

#include <string>

namespace os {

// The part of a temporary's name that stands for the file `name` in the open folder `folder`:
// the name itself, or, where a temporary's name would then pass the folder's limit on names,
// its first bytes (cut where a UTF-8 character starts). Every name the folder takes has a stem.
std::string TemporaryStem(int folder, const std::string& name);

// A new temporary's name, ".<stem>.<pid>-<counter>-<clock>.tmp": unique among processes and
// threads now, and the process id says whose it is.
std::string TemporaryName(const std::string& stem);

// Removes from `folder` the temporaries of the file `name` (of this version's form, or the
// longer one of earlier versions) that a writer which is gone left: regular files whose name has
// exactly that form, whose process no longer runs, and whose lock is free (every writer holds
// one on its temporary, see LockTemporary, so that one in another PID namespace or on another
// machine is never taken for gone). Anything else stays, however much it looks like one.
void RemoveStaleTemporaries(int folder, const std::string& name);

// Marks the open temporary `fd` as in use for as long as the descriptor, or a duplicate of it,
// stays open. Where the file system has no locks, the process id alone tells.
void LockTemporary(int fd);

// How an unnamed file (O_TMPFILE) can be given a name.
enum class UnnamedLink {
    None,          // not at all: the file could never be put in place
    ThroughProc,   // by its /proc/self/fd entry
    ByDescriptor,  // by the descriptor itself, where /proc is missing (older kernels allow
                   // that only to CAP_DAC_READ_SEARCH)
};

// How the unnamed file `fd` can be given a name. Looking changes nothing.
UnnamedLink HowToLinkUnnamed(int fd);

// Gives the unnamed file `fd` the name `name` in the open folder `folder`, the way `how`. False,
// with errno, when it cannot (EEXIST when the name is taken).
bool LinkUnnamed(int fd, UnnamedLink how, int folder, const std::string& name);

}  // namespace os
