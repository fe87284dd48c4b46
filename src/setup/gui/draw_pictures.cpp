// Draws the wizard's pictures into the given folder: setup_pictures <folder>. Run by hand
// when a picture changes; the PNG files are kept in the sources.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

const QColor kDeep(0x12, 0x2f, 0x5c);
const QColor kBlue(0x2d, 0x62, 0xa8);
const QColor kLight(0xdc, 0xe8, 0xf6);
const QColor kAccent(0xf0, 0xa2, 0x1c);

QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void drawLogo(QPainter& painter, const QRectF& box) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    painter.drawRoundedRect(box, box.width() / 5, box.width() / 5);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(box.height() * 0.72));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, QStringLiteral("P"));
}

QImage header() {
    QImage image = canvas(567, 77);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 567, 0);
    gradient.setColorAt(0, kDeep);
    gradient.setColorAt(1, kBlue);
    painter.fillRect(image.rect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 255, 255, 40), 14));
    for (int x = 380; x < 620; x += 44) {
        painter.drawEllipse(QPointF(x, 90), 70, 70);
    }
    drawLogo(painter, QRectF(18, 14, 49, 49));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(26);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(82, 10, 400, 34), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("PENDRA"));
    font.setBold(false);
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(kLight);
    painter.drawText(QRect(83, 42, 400, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Installation und Wartung"));
    return image;
}

QImage separator() {
    QImage image = canvas(567, 2);
    QPainter painter(&image);
    painter.fillRect(0, 0, 567, 1, QColor(0x80, 0x80, 0x80));
    painter.fillRect(0, 1, 567, 1, Qt::white);
    return image;
}

// The side pictures share a background and differ in their emblem.
void sideBackground(QPainter& painter, const QImage& image) {
    QLinearGradient gradient(0, 0, 0, 283);
    gradient.setColorAt(0, kBlue);
    gradient.setColorAt(1, kDeep);
    painter.fillRect(image.rect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 255, 255, 28), 2));
    for (int y = -200; y < 283; y += 18) {
        painter.drawLine(0, y, 226, y + 200);
    }
}

void drawCaption(QPainter& painter, const QString& text) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(15);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 226, 226, 30), Qt::AlignCenter, text);
}

QImage sideChoice() {
    QImage image = canvas(226, 283);
    QPainter painter(&image);
    sideBackground(painter, image);
    painter.setPen(QPen(Qt::white, 3));
    for (int i = 0; i < 3; ++i) {
        const QRectF box(48 + i * 22, 60 + i * 40, 90, 60);
        painter.setBrush(i == 2 ? kAccent : kBlue.lighter(130));
        painter.drawRoundedRect(box, 8, 8);
    }
    drawCaption(painter, QStringLiteral("Komponenten"));
    return image;
}

QImage sideDatev() {
    QImage image = canvas(226, 283);
    QPainter painter(&image);
    sideBackground(painter, image);
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(kLight);
    painter.drawRect(QRectF(40, 50, 80, 104));
    painter.setPen(QPen(kBlue, 3));
    for (int y = 72; y < 150; y += 14) {
        painter.drawLine(52, y, 108, y);
    }
    painter.setPen(QPen(kAccent, 8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(128, 150, 184, 150);
    painter.drawLine(168, 134, 184, 150);
    painter.drawLine(168, 166, 184, 150);
    drawCaption(painter, QStringLiteral("Schnittstelle"));
    return image;
}

QImage sideOnline() {
    QImage image = canvas(226, 283);
    QPainter painter(&image);
    sideBackground(painter, image);
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(Qt::NoBrush);
    const QPointF centre(113, 120);
    painter.drawEllipse(centre, 70, 70);
    painter.drawEllipse(centre, 30, 70);
    painter.drawLine(QPointF(43, 120), QPointF(183, 120));
    painter.drawLine(QPointF(113, 50), QPointF(113, 190));
    painter.setBrush(kAccent);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(170, 172), 20, 20);
    drawCaption(painter, QStringLiteral("Online"));
    return image;
}

QImage sideWork() {
    QImage image = canvas(226, 283);
    QPainter painter(&image);
    sideBackground(painter, image);
    QPainterPath folder;
    folder.moveTo(36, 80);
    folder.lineTo(86, 80);
    folder.lineTo(98, 94);
    folder.lineTo(190, 94);
    folder.lineTo(190, 180);
    folder.lineTo(36, 180);
    folder.closeSubpath();
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(kAccent);
    painter.drawPath(folder);
    painter.setBrush(kLight);
    painter.drawRect(QRectF(36, 108, 154, 72));
    drawCaption(painter, QStringLiteral("Installation"));
    return image;
}

QImage marker(bool present) {
    QImage image(12, 12, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(present ? QColor(0x1d, 0x7a, 0x2e) : QColor(0x90, 0x90, 0x90), 1));
    painter.setBrush(present ? QColor(0x3c, 0xb0, 0x4f) : QColor(0xee, 0xee, 0xee));
    painter.drawEllipse(QRectF(0.5, 0.5, 11, 11));
    if (present) {
        painter.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(3, 6.2), QPointF(5.2, 8.4));
        painter.drawLine(QPointF(5.2, 8.4), QPointF(9, 3.8));
    }
    return image;
}

QImage icon() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawLogo(painter, QRectF(1, 1, 30, 30));
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: setup_pictures <folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const std::pair<const char*, QImage> pictures[] = {
        {"header.png", header()},
        {"separator.png", separator()},
        {"side-choice.png", sideChoice()},
        {"side-datev.png", sideDatev()},
        {"side-online.png", sideOnline()},
        {"side-work.png", sideWork()},
        {"marker-absent.png", marker(false)},
        {"marker-present.png", marker(true)},
        {"icon.png", icon()},
    };
    bool ok = true;
    for (const auto& [name, image] : pictures) {
        ok = image.save(out.filePath(QString::fromLatin1(name))) && ok;
    }
    return ok ? 0 : 1;
}
