#include "configtool/window/branding.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"
#include "platform/regular_file.h"

#include <QFile>

namespace configtool {

namespace {

// Far beyond any picture for a dialog.
constexpr std::size_t kLargestPicture = std::size_t{64} << 20;

} // namespace

Branding::Branding(QString installFolder) : m_installFolder(std::move(installFolder)) {}

QString Branding::readBack(const char *key, const QString &defaultValue) const
{
    ProfileFile file(JoinPath(m_installFolder.toStdString(), "fwd.dat"));
    const std::string value = file.readString("Branding", key, defaultValue.toStdString());
    (void)file.writeString("Branding", key, value);
    return QString::fromStdString(value);
}

QString Branding::picturePath(const char *key) const
{
    const QString name = readBack(key, QStringLiteral("Generic.bmp"));
    return QString::fromStdString(JoinPath(m_installFolder.toStdString(), name.toStdString()));
}

QPixmap Branding::loadPicture(const QString &path)
{
    std::string bytes;
    QPixmap picture;
    if (ReadRegularFile(QFile::encodeName(path).toStdString(), kLargestPicture, &bytes) == 0)
        picture.loadFromData(reinterpret_cast<const uchar *>(bytes.data()),
                             static_cast<uint>(bytes.size()));
    return picture;
}

QString Branding::productName() const
{
    return readBack("ProductName", applicationTitle());
}

QString Branding::aboutImage() const
{
    return picturePath("AboutImage");
}

QString Branding::splashImage() const
{
    return picturePath("SplashImage");
}

} // namespace configtool
