// Removes a directory with all its subdirectories, as long as no file lies anywhere inside.
#include "app/UninstallApp.h"

#include "framework/FileFind.h"
#include "removal/DirectoryLink.h"

BOOL CUninstallApp::RemoveEmptyDirectoryTree(CString dir)
{
    if (dir.IsEmpty())
        return FALSE;

    {
        CFileFind find;
        BOOL more = find.FindFile(dir + "/*.*");
        while (more) {
            more = find.FindNextFile();
            if (find.IsDots())
                continue;
            // A file keeps the directory, and so does a link: it is treated like a file, so
            // nothing behind it is touched. Subdirectories removed before this point stay
            // removed; the tree removal is not atomic.
            if (!find.MatchesMask(FILE_ATTRIBUTE_DIRECTORY) || IsDirectoryLink(find))
                return FALSE;
            if (!RemoveEmptyDirectoryTree(find.GetFilePath()))
                return FALSE;
        }
    }  // the search ends before the directory goes

    // A directory cannot be removed while it is the current one; the parent becomes current
    // and stays so.
    ::SetCurrentDirectoryA(dir + "/..");
    return ::RemoveDirectoryA(dir);
}
