#pragma once
// The splash screen of the start: the branding file's SplashImage, frameless, on top, centred.
// None when the picture cannot be read: the start goes on without one. User-interface thread.

#include <QSplashScreen>

#include <memory>

namespace configtool {

class Branding;

[[nodiscard]] std::unique_ptr<QSplashScreen> makeSplashScreen(const Branding &branding);

} // namespace configtool
