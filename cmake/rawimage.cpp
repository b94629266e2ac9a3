// Turns a PNG into the pixels Qt draws from, for the program's own pictures: its width and
// height as two little-endian 32-bit numbers, then its rows of premultiplied ARGB, 32 bits a
// pixel in the build machine's byte order. Read back with no decoder at all, so start-up does
// not pay for inflating and filtering a PNG.
//
//   rawimage INPUT.png OUTPUT.raw

#include <QFile>
#include <QImage>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    const QImage image = QImage(QString::fromLocal8Bit(argv[1]))
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (image.isNull() || !out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "rawimage: cannot turn %s into %s\n", argv[1], argv[2]);
        return 1;
    }
    const quint32 size[2] = {quint32(image.width()), quint32(image.height())};
    for (const quint32 side : size)
        for (int byte = 0; byte < 4; ++byte)
            out.putChar(char(side >> (8 * byte)));
    for (int y = 0; y < image.height(); ++y)
        out.write(reinterpret_cast<const char *>(image.constScanLine(y)), image.width() * 4);
    return out.error() == QFile::NoError ? 0 : 1;
}
