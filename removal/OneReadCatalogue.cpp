#include "removal/OneReadCatalogue.h"

#include "removal/PathIdentity.h"

namespace removal {

namespace {

bool At(const catalogue::ValueList& list, int n, catalogue::ListedValue& value)
{
    if (n < 1 || static_cast<size_t>(n) > list.size())
        return false;
    value = list[static_cast<size_t>(n) - 1];
    return true;
}

}  // namespace

OneReadCatalogue::OneReadCatalogue(CUninstallDlg& dialog, const CString& productKey, const CString& entryKey)
    : m_productKey(productKey), m_entryKey(entryKey), m_fallback(dialog, entryKey)
{
}

bool OneReadCatalogue::Open()
{
    // Armed before the first read, so that a change during the read is seen too.
    if (!m_watch.Arm(m_productKey))
        return false;
    Read();
    return true;
}

void OneReadCatalogue::Read()
{
    m_lists = catalogue::ReadRemovalLists(m_productKey, m_entryKey);
    m_ownFiles.Clear();
    for (const catalogue::ListedValue& file : m_lists.files)
        m_ownFiles.Add(file.text, true);
    m_otherFiles.Clear();
    for (const catalogue::ValueList& list : m_lists.otherFiles) {
        for (const catalogue::ListedValue& file : list)
            m_otherFiles.Add(file.text, true);
    }
    // A Link value lists a shortcut whatever the shortcut points at; it is never a pattern
    // that the removal would search.
    m_otherLinks.Clear();
    for (const catalogue::ValueList& list : m_lists.otherLinks) {
        for (const catalogue::ListedValue& link : list)
            m_otherLinks.Add(link.text, false);
    }
}

bool OneReadCatalogue::ChangedSinceRead()
{
    if (m_perValue || !m_watch.Changed())
        return false;
    if (!m_watch.Rearm()) {
        m_perValue = true;
        return true;
    }
    Read();
    return true;
}

bool OneReadCatalogue::Link(int n, catalogue::ListedValue& value)
{
    return m_perValue ? m_fallback.Link(n, value) : At(m_lists.links, n, value);
}

bool OneReadCatalogue::File(int n, catalogue::ListedValue& value)
{
    return m_perValue ? m_fallback.File(n, value) : At(m_lists.files, n, value);
}

bool OneReadCatalogue::ListedInEntry(const CString& path)
{
    return m_perValue ? m_fallback.ListedInEntry(path) : m_ownFiles.Contains(PathIdentity(path));
}

bool OneReadCatalogue::ListedByOtherEntry(const CString& path)
{
    return m_perValue ? m_fallback.ListedByOtherEntry(path) : m_otherFiles.Contains(PathIdentity(path));
}

bool OneReadCatalogue::ShortcutListedByOtherEntry(const CString& linkPath)
{
    if (m_perValue)
        return m_fallback.ShortcutListedByOtherEntry(linkPath);
    const CString identity = PathIdentity(linkPath);
    return m_otherFiles.Contains(identity) || m_otherLinks.Contains(identity);
}

}  // namespace removal
