// render-icon SVG PNG SIZE: draws the program's SVG icon as a square PNG of SIZE pixels, for the icon
// themes that want a bitmap beside the scalable one. Uses Qt's SVG image plugin, as the program does.
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: render-icon SVG PNG SIZE\n");
    return 2;
  }
  const int size = std::atoi(argv[3]);
  QImageReader reader(QString::fromLocal8Bit(argv[1]));
  reader.setScaledSize(QSize(size, size));
  const QImage image = reader.read();
  if (image.isNull()) {
    std::fprintf(stderr, "render-icon: %s: %s\n", argv[1], qPrintable(reader.errorString()));
    return 1;
  }
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "render-icon: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
