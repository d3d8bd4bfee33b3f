#pragma once
// The branding file "fwd.dat" of the install folder, section [Branding]: the product name (the
// main window's caption, the About box's) and the pictures of the About box and the splash
// screen. Each read writes the value it found back, so that the defaults appear in the file
// after the first run; a file that cannot be written is only read. Pictures are looked up in
// the install folder. User-interface thread only.

#include <QPixmap>
#include <QString>

namespace configtool {

// The application's own title, whatever the branding says: the caption of its boxes.
inline QString applicationTitle()
{
    return QStringLiteral("Forecourt Watch Director");
}

class Branding
{
public:
    explicit Branding(QString installFolder);

    [[nodiscard]] QString productName() const;
    // Full paths of the pictures.
    [[nodiscard]] QString aboutImage() const;
    [[nodiscard]] QString splashImage() const;

    // The picture of a plain file at `path`; a null picture for anything else (a FIFO, which
    // would hold the tool at start, a device, a folder) and for what is no picture.
    [[nodiscard]] static QPixmap loadPicture(const QString &path);

private:
    [[nodiscard]] QString readBack(const char *key, const QString &defaultValue) const;
    [[nodiscard]] QString picturePath(const char *key) const;

    QString m_installFolder;
};

} // namespace configtool
