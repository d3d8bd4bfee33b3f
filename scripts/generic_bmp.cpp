// Draws the default picture of the configuration tool's splash screen and About box
// (data/Generic.bmp): the system's name on a plain navy ground beside a forecourt camera on its
// pole, written as a paletted 8-bit BMP to keep the shipped file small. Run by
// scripts/draw-generic-bmp; its output is committed, so builds never need this program.

#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 250;

const QColor kGround(0x12, 0x35, 0x5B);
const QColor kGroundDeep(0x0C, 0x26, 0x42);
const QColor kAccent(0xF2, 0x8C, 0x28);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kPale(0xBF, 0xD7, 0xEA);
const QColor kMuted(0x6F, 0x93, 0xB5);

QFont font(const QString &family, int pixels)
{
    QFont chosen(family);
    chosen.setPixelSize(pixels);
    chosen.setBold(true);
    chosen.setHintingPreference(QFont::PreferFullHinting);
    return chosen;
}

// A camera on a bracket at the top of a pole, looking down at the forecourt.
void drawCamera(QPainter &painter)
{
    painter.setPen(Qt::NoPen);
    // What it sees: a pale fan from the lens down to the ground.
    QColor view = kPale;
    view.setAlpha(40);
    painter.setBrush(view);
    QPolygonF fan;
    fan << QPointF(142, 85) << QPointF(250, 214) << QPointF(146, 214);
    painter.drawPolygon(fan);
    painter.setBrush(kMuted);
    painter.drawRect(QRectF(66, 92, 8, 118)); // the pole
    painter.drawRect(QRectF(54, 208, 32, 6)); // its foot
    painter.drawRect(QRectF(70, 92, 30, 6));  // the bracket
    painter.setBrush(kPale);
    QPainterPath body;
    body.addRoundedRect(QRectF(84, 70, 60, 30), 6, 6);
    painter.drawPath(body);
    painter.setBrush(kWhite);
    painter.drawRect(QRectF(80, 64, 68, 8)); // the hood
    painter.setBrush(kGroundDeep);
    painter.drawEllipse(QPointF(142, 85), 11, 11); // the lens
    painter.setBrush(kAccent);
    painter.drawEllipse(QPointF(142, 85), 4, 4);
}

void drawText(QPainter &painter, const QString &family)
{
    painter.setPen(kWhite);
    painter.setFont(font(family, 56));
    painter.drawText(QRectF(176, 58, 210, 64), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Orvex"));
    painter.fillRect(QRectF(178, 124, 150, 4), kAccent);
    painter.setPen(kPale);
    painter.setFont(font(family, 15));
    painter.drawText(QRectF(178, 134, 210, 40), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     QStringLiteral("Forecourt Watch Director"));
}

// The image with at most 256 colours: the most frequent ones (the flat areas and the common
// edge shades), every other pixel taking the nearest of them.
QImage paletted(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    std::vector<std::pair<int, QRgb>> byCount;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        byCount.emplace_back(it.value(), it.key());
    std::sort(byCount.begin(), byCount.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    QList<QRgb> table;
    for (const auto &[count, colour] : byCount) {
        if (table.size() == 256)
            break;
        table << colour;
    }
    const auto nearest = [&table](QRgb colour) {
        int best = 0;
        int bestDistance = 1 << 30;
        for (int i = 0; i < table.size(); ++i) {
            const int dr = qRed(colour) - qRed(table[i]);
            const int dg = qGreen(colour) - qGreen(table[i]);
            const int db = qBlue(colour) - qBlue(table[i]);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        return best;
    };
    QImage out(image.size(), QImage::Format_Indexed8);
    out.setColorTable(table);
    QHash<QRgb, int> index;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y);
            auto found = index.find(colour);
            if (found == index.end())
                found = index.insert(colour, nearest(colour));
            out.setPixel(x, y, static_cast<uint>(found.value()));
        }
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: generic_bmp <font.ttf> <out.bmp>\n");
        return 2;
    }
    const int id = QFontDatabase::addApplicationFont(QString::fromLocal8Bit(argv[1]));
    if (id < 0) {
        std::fprintf(stderr, "generic_bmp: cannot load the font %s\n", argv[1]);
        return 1;
    }
    const QString family = QFontDatabase::applicationFontFamilies(id).value(0);

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kGround);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(QRectF(0, 214, kWidth, kHeight - 214), kGroundDeep);
        painter.fillRect(QRectF(0, 214, kWidth, 3), kAccent);
        drawCamera(painter);
        drawText(painter, family);
    }
    if (!paletted(image).save(QString::fromLocal8Bit(argv[2]), "BMP")) {
        std::fprintf(stderr, "generic_bmp: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
