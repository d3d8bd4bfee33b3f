#pragma once
// The About box: "About " and the product name, the branding picture, and behind it the version
// of each component of the suite, shown when the picture is clicked. The picture is the
// branding file's AboutImage in the install folder; without a readable picture the box shows
// the product name in its place, which still opens the versions. User-interface thread only.

#include <QDialog>

class QLabel;
class QTableWidget;

namespace configtool {

class Branding;
class VersionNumberReader;

class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    AboutDialog(const Branding &branding, const VersionNumberReader &versions,
                QWidget *parent = nullptr);

    [[nodiscard]] QTableWidget *versionGrid() const { return m_grid; }
    [[nodiscard]] QLabel *picture() const { return m_picture; }
    [[nodiscard]] bool hasPicture() const { return m_hasPicture; }

    // A click on the picture.
    void showVersions();
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const VersionNumberReader &m_versions;
    QLabel *m_picture;
    QTableWidget *m_grid;
    bool m_hasPicture = false;
};

} // namespace configtool
