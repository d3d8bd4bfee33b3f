#include "configtool/window/about_dialog.h"

#include "configtool/window/branding.h"
#include "configtool/window/dialog_buttons.h"
#include "configtool/window/version_number_reader.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace configtool {

namespace {

constexpr QSize kPlaceholderSize(320, 200);

} // namespace

AboutDialog::AboutDialog(const Branding &branding, const VersionNumberReader &versions,
                         QWidget *parent)
    : QDialog(parent), m_versions(versions), m_picture(new QLabel(this)), m_grid(nullptr)
{
    setObjectName(QStringLiteral("FrmAbout"));
    const QString productName = branding.productName();
    setWindowTitle(tr("About ") + productName);

    m_picture->setObjectName(QStringLiteral("ImageAbout"));
    m_picture->setAlignment(Qt::AlignCenter);
    const QPixmap pixmap = Branding::loadPicture(branding.aboutImage());
    m_hasPicture = !pixmap.isNull();
    if (m_hasPicture) {
        m_picture->setPixmap(pixmap);
        m_picture->setFixedSize(pixmap.size());
    } else {
        m_picture->setText(productName);
        m_picture->setWordWrap(true);
        m_picture->setFrameShape(QFrame::Panel);
        m_picture->setFrameShadow(QFrame::Sunken);
        QFont font = m_picture->font();
        font.setPointSize(16);
        font.setBold(true);
        m_picture->setFont(font);
        m_picture->setFixedSize(kPlaceholderSize);
    }
    m_picture->installEventFilter(this);

    // The versions lie over the picture while they are shown.
    m_grid = new QTableWidget(0, 2, m_picture);
    m_grid->setObjectName(QStringLiteral("GridVersions"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setGeometry(8, 8, qMin(m_picture->width() - 16, 280),
                        qMin(m_picture->height() - 16, 140));
    m_grid->setColumnWidth(0, 120);
    m_grid->hide();

    const DialogButtons buttons = makeDialogButtons(*this, false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_picture, 0, Qt::AlignHCenter);
    layout->addWidget(buttons.box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::showEvent(QShowEvent *event)
{
    m_grid->hide();
    m_grid->setRowCount(m_versions.count());
    for (int row = 0; row < m_versions.count(); ++row) {
        m_grid->setItem(row, 0, new QTableWidgetItem(m_versions.name(row)));
        m_grid->setItem(row, 1, new QTableWidgetItem(m_versions.version(row)));
    }
    QDialog::showEvent(event);
}

bool AboutDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_picture
        && (event->type() == QEvent::MouseButtonRelease
            || event->type() == QEvent::MouseButtonDblClick))
        showVersions();
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::showVersions()
{
    m_grid->show();
    m_grid->raise();
}

void AboutDialog::accept()
{
    m_grid->hide();
    QDialog::accept();
}

} // namespace configtool
