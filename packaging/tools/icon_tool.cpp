// Makes the icon theme's files from the application icon's one pixel drawing (XPM, beside the
// tiles): a PNG of a given size through the same whole-pixel scaling the window's icon uses, or
// a scalable SVG of the same squares, one rectangle per run of equal pixels in a row.
#include "PixelIcon.h"

#include <QFile>
#include <QImage>
#include <QString>
#include <QTextStream>

#include <cstdio>

namespace {

QString colourName(QRgb pixel) {
    return QStringLiteral("#%1").arg(pixel & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

// Crisp edges keep a renderer from smoothing the seams between the squares at any size.
QString svgOf(const QImage& drawing) {
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << drawing.width() << "\" height=\""
        << drawing.height() << "\" viewBox=\"0 0 " << drawing.width() << ' ' << drawing.height()
        << "\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < drawing.height(); ++y) {
        for (int x = 0; x < drawing.width();) {
            const QRgb pixel = drawing.pixel(x, y);
            int run = 1;
            while (x + run < drawing.width() && drawing.pixel(x + run, y) == pixel)
                ++run;
            if (qAlpha(pixel) == 255)
                out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << run
                    << "\" height=\"1\" fill=\"" << colourName(pixel) << "\"/>\n";
            x += run;
        }
    }
    out << "</svg>\n";
    return svg;
}

bool writeText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size() && file.flush();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "Usage: icon-tool INPUT.xpm (SIZE OUTPUT.png | svg OUTPUT.svg)\n");
        return 2;
    }
    const QImage drawing =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
    if (drawing.isNull()) {
        std::fprintf(stderr, "icon-tool: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString kind = QString::fromLocal8Bit(argv[2]);
    const QString output = QString::fromLocal8Bit(argv[3]);
    bool written = false;
    if (kind == QStringLiteral("svg")) {
        written = writeText(output, svgOf(drawing));
    } else {
        const int size = kind.toInt();
        if (size < drawing.width() || size < drawing.height()) {
            std::fprintf(stderr, "icon-tool: the size must hold the whole drawing\n");
            return 2;
        }
        written = krelwin::pixelIconAt(drawing, size).save(output, "PNG");
    }
    if (!written) {
        std::fprintf(stderr, "icon-tool: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
