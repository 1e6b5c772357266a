// Build tool: renders the program's SVG icon as a square PNG of the given size, for the desktops and
// software centres that draw no SVG.
//   orvanel_render_icon ICON.svg SIZE OUT.png
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <string>

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fputs("usage: orvanel_render_icon ICON.svg SIZE OUT.png\n", stderr);
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  const int size = std::stoi(argv[2]);
  if (!renderer.isValid() || size <= 0) return 1;
  QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  renderer.render(&painter);
  painter.end();
  return picture.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
