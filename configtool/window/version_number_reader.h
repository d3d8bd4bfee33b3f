#pragma once
// The component versions the About box lists: fixed texts and the versions of the suite's files.
// A file's version is the text "ORVEX-FILE-VERSION=a.b.c.d" that the build puts into every
// deliverable; a file is looked up in each base folder in turn (beside the tool, then the
// library folders of an install). User-interface thread only.

#include <QString>
#include <QStringList>

#include <vector>

namespace configtool {

// "a.b.c.d" from the file's version marker; empty when the file is missing, unreadable or has
// no marker.
[[nodiscard]] QString ReadFileVersion(const QString &fileName);

class VersionNumberReader
{
public:
    void setBaseFolders(const QStringList &folders) { m_baseFolders = folders; }
    // The folders a version is looked up in for the running program.
    [[nodiscard]] static QStringList programFolders();

    void add(const QString &name, const QString &version);
    // The version of the first base folder that holds the file; empty when none does.
    void addFile(const QString &name, const QString &fileName);

    [[nodiscard]] int count() const { return static_cast<int>(m_entries.size()); }
    [[nodiscard]] QString name(int index) const { return m_entries.at(index).name; }
    [[nodiscard]] QString version(int index) const { return m_entries.at(index).version; }

private:
    struct Entry
    {
        QString name;
        QString version;
    };

    QStringList m_baseFolders;
    std::vector<Entry> m_entries;
};

// The entries of the tool and of the service's components, in the About box's order.
void RegisterComponentVersions(VersionNumberReader &reader);

} // namespace configtool
