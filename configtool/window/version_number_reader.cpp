#include "configtool/window/version_number_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <string_view>

namespace configtool {

namespace {

constexpr std::string_view kMarker = "ORVEX-FILE-VERSION=";

// Four dot-separated numbers at the start of `text`, or empty.
QString versionAt(std::string_view text)
{
    std::size_t end = 0;
    int numbers = 0;
    while (numbers < 4) {
        const std::size_t start = end;
        while (end < text.size() && end - start < 5 && text[end] >= '0' && text[end] <= '9')
            ++end;
        if (end == start)
            return QString();
        ++numbers;
        if (numbers == 4)
            break;
        if (end >= text.size() || text[end] != '.')
            return QString();
        ++end;
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(end));
}

} // namespace

QString ReadFileVersion(const QString &fileName)
{
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly) || file.size() == 0)
        return QString();
    // Mapping keeps a large program (a sanitizer build runs to tens of megabytes) out of memory.
    const uchar *data = file.map(0, file.size());
    if (data == nullptr)
        return QString();
    const std::string_view text(reinterpret_cast<const char *>(data),
                                static_cast<std::size_t>(file.size()));
    const auto found
        = std::search(text.begin(), text.end(),
                      std::boyer_moore_horspool_searcher(kMarker.begin(), kMarker.end()));
    QString version;
    if (found != text.end())
        version = versionAt(
            text.substr(static_cast<std::size_t>(found - text.begin()) + kMarker.size()));
    file.unmap(const_cast<uchar *>(data));
    return version;
}

QStringList VersionNumberReader::programFolders()
{
    const QString own = QCoreApplication::applicationDirPath();
    return {own, QDir::cleanPath(own + QStringLiteral("/../lib/orvex")),
            QDir::cleanPath(own + QStringLiteral("/../lib"))};
}

void VersionNumberReader::add(const QString &name, const QString &version)
{
    m_entries.push_back({name, version});
}

void VersionNumberReader::addFile(const QString &name, const QString &fileName)
{
    for (const QString &folder : m_baseFolders) {
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo::exists(path)) {
            add(name, ReadFileVersion(path));
            return;
        }
    }
    add(name, QString());
}

void RegisterComponentVersions(VersionNumberReader &reader)
{
    reader.add(QStringLiteral("GUI"), QStringLiteral("2.5.1.1"));
    reader.addFile(QStringLiteral("Transport"), QStringLiteral("libDeviceCourier.so"));
    reader.addFile(QStringLiteral("Storage"), QStringLiteral("libOrvexConfigPDS.so"));
    reader.addFile(QStringLiteral("Services"), QStringLiteral("OrvexServices"));
    reader.addFile(QStringLiteral("Recorder Bridge"), QStringLiteral("libRecorderBridge.so"));
}

} // namespace configtool
