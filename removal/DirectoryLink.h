// How the removal tells a directory link (a junction or a symbolic link to a directory) from
// a directory of its own.
#pragma once
#include <windows.h>

#include "framework/FileFind.h"

// A link carries the directory bit of its target; the reparse bit gives it away. The removal
// never looks behind a link: what lies there belongs to wherever the link points.
inline bool IsDirectoryLink(const CFileFind& match)
{
    return match.MatchesMask(FILE_ATTRIBUTE_DIRECTORY) && match.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT);
}
