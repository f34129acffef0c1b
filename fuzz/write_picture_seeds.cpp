// Writes small valid photographs of each kind the row readers take, one folder a format,
// into the folder given as argument: the seeds their fuzzers start from.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

#include <iostream>

namespace {

QImage pattern(QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgba(x * 37 % 256, y * 11 % 256, x * y % 256, (x + y) * 9 % 256));
    return image;
}

bool save(const QString& path, const QImage& image, const char* format, int compression = -1)
{
    QImageWriter writer(path, format);
    if (compression >= 0)
        writer.setCompression(compression);
    return writer.write(image);
}

// An 8-bit BMP of 6 x 4 pixels in runs: the one compression Qt does not write.
QByteArray rle8Bmp()
{
    QByteArray bytes = QByteArray::fromHex("424d000000000000000036040000" // file header
                                           "280000000600000004000000010008000100000000000000"
                                           "00000000000000000000000000000000");
    for (int i = 0; i < 256; ++i)
        bytes += QByteArray::fromHex("00000000").replace(0, 3, QByteArray(3, char(i)));
    // A run, three indices as they are, an end of line; a row of one run; a move right and
    // up; the end of the picture.
    bytes += QByteArray::fromHex("0305000301020300000006070000000201010409020a0001");
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: write_picture_seeds <folder>\n";
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const char* format : {"png", "bmp", "tiff"})
        folder.mkpath(format);
    const QImage base = pattern({13, 7});
    bool ok = true;
    const std::pair<const char*, QImage> kinds[] = {
        {"rgb", base.convertToFormat(QImage::Format_RGB32)},
        {"rgba", base},
        {"grey", base.convertToFormat(QImage::Format_Grayscale8)},
        {"grey16", base.convertToFormat(QImage::Format_Grayscale16)},
        {"rgba64", base.convertToFormat(QImage::Format_RGBA64)},
        {"palette", base.convertToFormat(QImage::Format_Indexed8)},
        {"mono", base.convertToFormat(QImage::Format_Mono)},
    };
    for (const auto& [name, image] : kinds) {
        const QString stem = QString::fromLatin1(name);
        ok = save(folder.filePath("png/" + stem + ".png"), image, "png") && ok;
        ok = save(folder.filePath("bmp/" + stem + ".bmp"), image, "bmp") && ok;
        ok = save(folder.filePath("tiff/" + stem + ".tiff"), image, "tiff") && ok;
        ok = save(folder.filePath("tiff/" + stem + "-lzw.tiff"), image, "tiff", 1) && ok;
    }
    QFile rle(folder.filePath("bmp/rle8.bmp"));
    ok = rle.open(QIODevice::WriteOnly) && rle.write(rle8Bmp()) > 0 && ok;
    if (!ok) {
        std::cerr << "write_picture_seeds: cannot write into " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
