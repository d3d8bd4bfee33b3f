#include "configtool/window/splash_screen.h"

#include "configtool/window/branding.h"

#include <QPixmap>

namespace configtool {

std::unique_ptr<QSplashScreen> makeSplashScreen(const Branding &branding)
{
    const QPixmap picture = Branding::loadPicture(branding.splashImage());
    if (picture.isNull())
        return nullptr;
    auto splash = std::make_unique<QSplashScreen>(picture, Qt::WindowStaysOnTopHint);
    splash->setObjectName(QStringLiteral("FormSplashScreen"));
    return splash;
}

} // namespace configtool
