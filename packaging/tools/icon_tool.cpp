// Turns the application icon, kept as XPM beside the tiles, into the PNG files of the icon
// theme. Scaling is by whole multiples without smoothing, so the pixel drawing stays crisp.
#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "Usage: icon-tool INPUT.xpm FACTOR OUTPUT.png\n");
        return 2;
    }
    QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull()) {
        std::fprintf(stderr, "icon-tool: cannot read %s\n", argv[1]);
        return 1;
    }
    const int factor = QString::fromLocal8Bit(argv[2]).toInt();
    if (factor < 1) {
        std::fprintf(stderr, "icon-tool: the factor must be a whole number of 1 or more\n");
        return 2;
    }
    if (factor > 1)
        icon = icon.scaled(icon.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!icon.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "icon-tool: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
