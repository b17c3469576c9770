// Draws the toolbar and menu images of the graph windows into <n>.png (n = image index).
// Not part of the build; rerun after changing a drawing:
//   g++ -std=c++20 -fPIC DibujarIconos.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/dibujar &&
//   /tmp/dibujar .

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

constexpr int kLado = 20;
const QColor kTinta(40, 40, 40);
const QColor kAzul(30, 90, 200);
const QColor kVerde(20, 140, 60);
const QColor kRojo(200, 40, 40);

void Flecha(QPainter& p, bool derecha, int x, const QColor& color) {
    QPainterPath t;
    if (derecha) {
        t.moveTo(x, 4);
        t.lineTo(x + 8, 10);
        t.lineTo(x, 16);
    } else {
        t.moveTo(x + 8, 4);
        t.lineTo(x, 10);
        t.lineTo(x + 8, 16);
    }
    t.closeSubpath();
    p.fillPath(t, color);
}

void Lupa(QPainter& p) {
    p.setPen(QPen(kTinta, 2));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QRectF(2, 2, 11, 11));
    p.setPen(QPen(kTinta, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 12), QPointF(17, 17));
}

void Hoja(QPainter& p, const QColor& fondo) {
    p.setPen(QPen(kTinta, 1));
    p.setBrush(fondo);
    p.drawRect(QRectF(3.5, 1.5, 12, 16));
}

const std::function<void(QPainter&)> kDibujos[] = {
    // 0 print: a printer with a sheet
    [](QPainter& p) {
        p.setPen(QPen(kTinta, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 1.5, 9, 7));
        p.setBrush(QColor(150, 150, 160));
        p.drawRect(QRectF(1.5, 8.5, 17, 7));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 13.5, 9, 5));
    },
    // 1 export to BMP: a picture with an arrow out
    [](QPainter& p) {
        p.setPen(QPen(kTinta, 1));
        p.setBrush(QColor(190, 225, 255));
        p.drawRect(QRectF(1.5, 3.5, 13, 11));
        p.fillRect(QRectF(2, 10, 12.5, 4.5), kVerde);
        p.setBrush(Qt::yellow);
        p.drawEllipse(QRectF(9, 5, 3, 3));
        p.setPen(QPen(kRojo, 2));
        p.drawLine(12, 16, 18, 16);
        p.drawLine(15, 13, 18, 16);
        p.drawLine(15, 19, 18, 16);
    },
    // 2 clipboard
    [](QPainter& p) {
        p.setPen(QPen(kTinta, 1));
        p.setBrush(QColor(180, 130, 70));
        p.drawRect(QRectF(3.5, 2.5, 13, 16));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 5.5, 9, 11));
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(QRectF(7.5, 1.5, 5, 3));
        for (int y = 8; y <= 14; y += 3)
            p.drawLine(7, y, 13, y);
    },
    // 3 setup: a gear
    [](QPainter& p) {
        p.translate(10, 10);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 90, 100));
        for (int i = 0; i < 8; ++i) {
            p.drawRect(QRectF(-1.5, -9, 3, 5));
            p.rotate(45);
        }
        p.drawEllipse(QPointF(0, 0), 6, 6);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(0, 0), 2.5, 2.5);
    },
    // 4 previous interval
    [](QPainter& p) { Flecha(p, false, 6, kAzul); },
    // 5 next interval
    [](QPainter& p) { Flecha(p, true, 6, kAzul); },
    // 6 group (divide into finer intervals): a bar split in parts
    [](QPainter& p) {
        p.setPen(QPen(kTinta, 1));
        for (int i = 0; i < 3; ++i) {
            p.setBrush(i % 2 ? QColor(120, 180, 255) : QColor(60, 130, 230));
            p.drawRect(QRectF(1.5 + i * 6, 6.5, 5, 7));
        }
    },
    // 7 ungroup (join into coarser intervals): one bar with outward marks
    [](QPainter& p) {
        p.setPen(QPen(kTinta, 1));
        p.setBrush(QColor(60, 130, 230));
        p.drawRect(QRectF(1.5, 6.5, 17, 7));
        p.setPen(QPen(Qt::white, 1, Qt::DotLine));
        p.drawLine(7, 8, 7, 12);
        p.drawLine(13, 8, 13, 12);
    },
    // 8 zoom out: magnifier with a minus
    [](QPainter& p) {
        Lupa(p);
        p.setPen(QPen(kRojo, 2));
        p.drawLine(5, 7, 10, 7);
    },
    // 9 properties: sliders
    [](QPainter& p) {
        p.setPen(QPen(kTinta, 1));
        for (int i = 0; i < 3; ++i)
            p.drawLine(3, 4 + i * 6, 17, 4 + i * 6);
        p.setBrush(kRojo);
        p.drawRect(QRectF(5.5, 2, 3, 4));
        p.drawRect(QRectF(11.5, 8, 3, 4));
        p.drawRect(QRectF(7.5, 14, 3, 4));
    },
    // 10 fast go back
    [](QPainter& p) {
        Flecha(p, false, 2, kAzul);
        Flecha(p, false, 9, kAzul);
    },
    // 11 fast go forward
    [](QPainter& p) {
        Flecha(p, true, 2, kAzul);
        Flecha(p, true, 9, kAzul);
    },
    // 12 last zoom: magnifier with a back arrow
    [](QPainter& p) {
        Lupa(p);
        p.setPen(QPen(kVerde, 2));
        p.drawLine(5, 7, 10, 7);
        p.drawLine(5, 7, 7, 5);
        p.drawLine(5, 7, 7, 9);
    },
    // 13 list: a table
    [](QPainter& p) {
        p.setPen(QPen(kTinta, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 2.5, 17, 15));
        p.fillRect(QRectF(2, 3, 16.5, 3.5), QColor(60, 130, 230));
        for (int y = 9; y <= 15; y += 3)
            p.drawLine(2, y, 18, y);
        p.drawLine(8, 3, 8, 17);
    },
    // 14 export to TXT: a page with lines and "T"
    [](QPainter& p) {
        Hoja(p, Qt::white);
        p.setPen(QPen(kTinta, 1));
        for (int y = 9; y <= 15; y += 2)
            p.drawLine(6, y, 13, y);
        p.setPen(QPen(kAzul, 2));
        p.drawLine(6, 4, 13, 4);
        p.drawLine(9, 4, 9, 7);
    },
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir destino(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    int indice = 0;
    for (const auto& dibujo : kDibujos) {
        QImage imagen(kLado, kLado, QImage::Format_ARGB32);
        imagen.fill(Qt::transparent);
        QPainter p(&imagen);
        p.setRenderHint(QPainter::Antialiasing);
        dibujo(p);
        p.end();
        if (!imagen.save(destino.filePath(QStringLiteral("%1.png").arg(indice++))))
            return 1;
    }
    return 0;
}
