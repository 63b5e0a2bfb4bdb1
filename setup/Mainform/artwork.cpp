#include "Mainform/artwork.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace varnoksetup {

PictureLabel::PictureLabel(const QPixmap& picture, QWidget* parent) : QLabel(parent) {
    setPixmap(picture);
    setAlignment(Qt::AlignCenter);
}

void PictureLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void PictureLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}

namespace {

void drawKeyRows(QPainter& p, QRectF area, int rows, int keysPerRow) {
    const qreal pitch = area.width() / keysPerRow;
    const qreal rowHeight = area.height() / rows;
    p.setPen(QColor(20, 20, 24));
    for (int row = 0; row < rows; ++row) {
        qreal indent = row * pitch / 3;
        for (int key = 0; key < keysPerRow - (row > 0 ? 1 : 0); ++key) {
            QRectF cap(area.left() + indent + key * pitch, area.top() + row * rowHeight, pitch - 2,
                       rowHeight - 2);
            p.setBrush(QColor(70, 70, 78));
            p.drawRoundedRect(cap, 1.5, 1.5);
        }
    }
    // The space bar and the four cursor keys in their diamond on the right.
    p.setBrush(QColor(70, 70, 78));
    p.drawRoundedRect(QRectF(area.left() + 3 * pitch, area.bottom() + 1, 8 * pitch, rowHeight - 2), 1.5, 1.5);
}

}  // namespace

QPixmap paintComputerPicture() {
    QPixmap picture(220, 130);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    QPainterPath body;
    body.moveTo(10, 112);
    body.lineTo(24, 40);
    body.lineTo(196, 40);
    body.lineTo(210, 112);
    body.closeSubpath();
    QLinearGradient shade(0, 40, 0, 112);
    shade.setColorAt(0, QColor(64, 64, 72));
    shade.setColorAt(1, QColor(28, 28, 34));
    p.setPen(QPen(QColor(10, 10, 12), 1.5));
    p.setBrush(shade);
    p.drawPath(body);
    p.setBrush(QColor(18, 18, 22));
    p.drawRect(QRectF(10, 112, 200, 8));

    // A colour stripe across the back edge, one band per palette hue.
    const QColor stripe[] = {QColor(220, 60, 50), QColor(240, 150, 40), QColor(240, 220, 60),
                             QColor(80, 180, 80), QColor(60, 120, 220)};
    for (int i = 0; i < 5; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(stripe[i]);
        p.drawRect(QRectF(28 + i * 10, 44, 9, 6));
    }

    QFont font(QStringLiteral("DejaVu Sans"), 11, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(font);
    p.setPen(QColor(230, 230, 236));
    p.drawText(QRectF(90, 40, 100, 14), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("VARNOK"));

    drawKeyRows(p, QRectF(30, 58, 150, 40), 4, 14);
    // The cursor keys beside the main block.
    p.setBrush(QColor(150, 150, 160));
    p.setPen(QColor(20, 20, 24));
    const QPointF cursor[] = {{190, 66}, {182, 76}, {198, 76}, {190, 86}};
    for (QPointF c : cursor) p.drawRoundedRect(QRectF(c.x() - 4, c.y() - 4, 8, 8), 1.5, 1.5);
    return picture;
}

QPixmap paintSecretPicture() {
    QPixmap picture(240, 150);
    picture.fill(QColor(24, 90, 50));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // Board traces.
    p.setPen(QPen(QColor(200, 170, 80), 2));
    for (int y = 20; y < 150; y += 22) p.drawLine(0, y, 240, y + 10);

    // The chip with two rows of 24 legs.
    QRectF chip(40, 45, 160, 60);
    p.setPen(QColor(180, 180, 190));
    p.setBrush(QColor(190, 190, 196));
    for (int i = 0; i < 24; ++i) {
        qreal x = chip.left() + 4 + i * (chip.width() - 8) / 24;
        p.drawRect(QRectF(x, chip.top() - 6, 3, 6));
        p.drawRect(QRectF(x, chip.bottom(), 3, 6));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 34));
    p.drawRoundedRect(chip, 3, 3);
    p.setBrush(QColor(60, 60, 66));
    p.drawEllipse(QRectF(chip.left() + 6, chip.center().y() - 5, 10, 10));

    p.setPen(QColor(235, 235, 240));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 12, QFont::Bold));
    p.drawText(chip.adjusted(0, 4, 0, -22), Qt::AlignCenter, QStringLiteral("TED"));
    p.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 8));
    p.drawText(chip.adjusted(0, 26, 0, 0), Qt::AlignCenter, QStringLiteral("VARNOK 1984"));
    return picture;
}

}  // namespace varnoksetup
