// The file that a catalogue path names, as opposed to how the path is spelled. Ownership is
// decided by the file: an entry that lists "C:\Korvane/Shared\kv.tmp" and one that lists
// "C:\KORVANE\SHARED\KV.TMP" share one file, and so do a pattern and each of its matches.
#pragma once
#include <vector>

#include "framework/String.h"

// The text by which two paths are compared: two paths name the same file when their
// identities are equal without regard to case (CString::CompareNoCase, _mbsicmp). Only
// absolute paths (a drive letter, a colon and a separator, or two leading separators) are
// brought to one form:
// - the full path form as the platform builds it when it opens a file: both separators
//   become backslashes, doubled separators collapse, "." and ".." parts are resolved, and
//   trailing dots and blanks of names are dropped;
// - a trailing separator is dropped, except after a drive root;
// - the "\\?\" and "\\.\" prefixes of a drive path ("\\?\C:\...") or of a network path
//   ("\\?\UNC\server\share\...") are dropped and the rest is brought to the same form. On
//   the platform such a path reaches the file system without that processing, so its dot
//   parts and trailing dots name nothing that exists, or the same file; either way treating
//   it like the plain form can only keep more files, never fewer;
// - a drive path that holds a "~" and exists is taken in its long form, so an 8.3 short
//   name and the long name are one file (a network path is not looked up: that would wait
//   for the server).
// Other device paths, relative paths and paths too long for the full form keep their text:
// what a relative path names depends on the current directory, which the removal moves.
// The identity depends on the disk only through the short-name lookup, never on the current
// directory.
CString PathIdentity(const char* path);

// Whether the platform's search takes the path as a pattern: it holds a wildcard ("*", "?",
// or one of the search's "<", ">" and '"', which no file name may hold) behind any "\\?\"
// or "\\.\" prefix.
bool IsPathPattern(const char* path);

// The full paths of what an absolute pattern matches on disk now, files and directories, in
// the search's order: the same search as the deletion's, without the "." and ".." entries.
// Empty for a relative pattern, which names nothing that the catalogue can know.
std::vector<CString> PatternMatches(const char* pattern);

// The identities of the files that one listed value names: its own and, when patterns count
// and the value is a pattern, those of its matches on disk now.
std::vector<CString> NamedIdentities(const char* value, bool patternsCount);
