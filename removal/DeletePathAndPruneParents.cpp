// Deletes what an absolute path names (a file, a directory tree without files, or every match
// of a wildcard pattern) and then each parent directory that this leaves without files.
#include "app/UninstallApp.h"

#include "framework/FileFind.h"
#include "framework/PathText.h"
#include "removal/AbsolutePath.h"
#include "removal/DeleteFoundFile.h"
#include "removal/DirectoryLink.h"
#include "removal/PlainPathForm.h"
#include "removal/VolumeTop.h"

void CUninstallApp::DeletePathAndPruneParents(CString path)
{
    DeletePathAndPruneParents(path, nullptr);
}

void CUninstallApp::DeletePathAndPruneParents(CString path, const std::function<bool(const CString&)>& keep)
{
    // A relative path would be resolved against whatever directory is current: the one the
    // program was started in, or wherever an earlier walk left it. The catalogue is
    // machine-wide, so such a path names nothing that belongs to the entry.
    if (!IsAbsolutePath(path))
        return;
    // A device path is worked on in its plain form, so that the walk ends where it ends for
    // the plain path; the walk's parents come back through here as well.
    path = PlainPathForm(path);

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
            if (keep && keep(path))
                lastSucceeded = FALSE;  // another owner's: stays, like a file that cannot be deleted
            else if (IsDirectoryLink(find))
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
