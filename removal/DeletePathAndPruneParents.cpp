// Deletes what a path names (a file, a directory tree without files, or every match of a
// wildcard pattern) and then each parent directory that this leaves without files.
#include "app/UninstallApp.h"

#include "framework/FileFind.h"
#include "framework/PathText.h"
#include "removal/DeleteFoundFile.h"
#include "removal/DirectoryLink.h"
#include "removal/VolumeTop.h"

void CUninstallApp::DeletePathAndPruneParents(CString path)
{
    // The walk ends below the top of the volume. A bare "C:" would name the drive's current
    // directory, wherever earlier removals left it, so it is never searched either.
    if (IsVolumeTop(path))
        return;
    // Nor is a pattern ever let loose on the top of a volume, where it would reach every
    // top-level folder of the drive.
    if (IsPatternAtVolumeTop(path))
        return;

    // Only the last match decides whether the walk goes on; the earlier ones are deleted or
    // not, and their outcome is lost.
    BOOL lastSucceeded = FALSE;
    {
        CFileFind find;
        BOOL more = find.FindFile(path);
        if (!more)
            return;
        while (more) {
            more = find.FindNextFile();
            // A pattern such as "dir\*" also matches the directory itself and its parent.
            if (find.IsDots())
                continue;
            path = find.GetFilePath();
            if (IsDirectoryLink(find))
                lastSucceeded = FALSE;  // stays, like a file that cannot be deleted
            else if (find.MatchesMask(FILE_ATTRIBUTE_DIRECTORY))
                lastSucceeded = RemoveEmptyDirectoryTree(path);
            else
                lastSucceeded = DeleteFoundFile(path, find.MatchesMask(FILE_ATTRIBUTE_READONLY), m_leftBehind);
        }
    }  // the search ends before its directory can be removed by the walk

    if (!lastSucceeded)
        return;

    // The match's full path is absolute with backslashes, whatever form the caller gave.
    const char* separator = LastPathSeparator(path);
    if (!separator)
        return;
    DeletePathAndPruneParents(CString(path.GetString(), static_cast<size_t>(separator - path.GetString())));
}
