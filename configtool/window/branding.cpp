#include "configtool/window/branding.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"

namespace configtool {

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
