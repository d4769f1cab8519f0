#include "app/frmInicio.h"

#include "ui_frmInicio.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The program's emblem: a sheet with a pipe-separated record, a seal and the version.
QPixmap emblem(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 128.0;
    p.scale(s, s);
    p.setPen(QPen(QColor(0x1f, 0x4e, 0x79), 3));
    p.setBrush(QColor(0xf4, 0xf7, 0xfb));
    QPainterPath sheet;
    sheet.moveTo(24, 8);
    sheet.lineTo(84, 8);
    sheet.lineTo(104, 28);
    sheet.lineTo(104, 120);
    sheet.lineTo(24, 120);
    sheet.closeSubpath();
    p.drawPath(sheet);
    p.setPen(QPen(QColor(0x7f, 0x9c, 0xb8), 4, Qt::SolidLine, Qt::RoundCap));
    for (int y = 36; y <= 72; y += 12) {
        p.drawLine(36, y, 92, y);
        p.drawLine(56, y - 4, 56, y + 4);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0b, 0x6e, 0x4f));
    p.drawEllipse(QPointF(84, 98), 18, 18);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(20);
    p.setFont(font);
    p.drawText(QRectF(66, 80, 36, 36), Qt::AlignCenter, QStringLiteral("3"));
    return pixmap;
}

} // namespace

frmInicio::frmInicio(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmInicio>()) {
    ui->setupUi(this);
    ui->Picture1->setPixmap(emblem(128));
    connect(ui->cmdInicio, &QPushButton::clicked, this, &QDialog::accept);
}

frmInicio::~frmInicio() = default;
