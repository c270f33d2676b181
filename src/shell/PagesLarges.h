#pragma once

// Large pages for the heap. A large directory is held in a few hundred MB of small blocks; with
// 4 KB pages the kernel takes a fault for each page first touched, a quarter of the run of a
// 50,000-account file. glibc's allocator asks for transparent huge pages when its tunable
// "glibc.malloc.hugetlb" is 1, and tunables are read only when a program starts: so the
// program starts itself again once, with the tunable set, before doing anything else.

#include <optional>
#include <string>

namespace arbrix {

// The GLIBC_TUNABLES to start again with, given the current ones (nullptr when unset) and the
// kernel's "transparent_hugepage/enabled" text; nullopt when there is no reason to: the kernel
// gives no huge pages, or the tunable is already set (by this program's first start, or by
// the user, whose choice stands).
std::optional<std::string> TunablesPagesLarges(const char* actuels, const std::string& modeNoyau);

// Starts the program again with the tunable when worth it; returns only when it does not (not
// glibc, a sanitizer's allocator, or the start failed, in which case the run goes on as is).
// In the new start it puts GLIBC_TUNABLES back as it was, so that no child inherits the tunable.
void RelanceAvecPagesLarges(char* argv[]);

} // namespace arbrix
