// artgen: draws every picture of Zelvano and writes it into a folder.
//
// The artwork is drawn here with QPainter (gradients, paths and text) so that
// it can be changed and rebuilt from source at any time. The program writes
// PNG and JPEG files through Qt's image writers and the start screen's
// animation through the small GIF89a encoder below, since Qt has no GIF
// writer.
//
// Usage: artgen <output folder>
// Without a display run it as: QT_QPA_PLATFORM=offscreen artgen <folder>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Colours

namespace pal {
const QColor navy(0x00, 0x00, 0x80);
const QColor navyDeep(0x00, 0x00, 0x58);
const QColor navyMid(0x1a, 0x2b, 0xa6);
const QColor navyLight(0x3d, 0x55, 0xc8);
const QColor navyPale(0xc9, 0xd3, 0xf2);
const QColor navyMist(0xe8, 0xed, 0xfa);
const QColor maroon(0x80, 0x00, 0x00);
const QColor maroonDeep(0x5e, 0x00, 0x00);
const QColor maroonLight(0xa8, 0x24, 0x24);
const QColor green(0x8f, 0xc7, 0x9a);
const QColor greenLight(0xc0, 0xdc, 0xc0);
const QColor greenPale(0xe3, 0xf1, 0xe3);
const QColor greenDark(0x3c, 0x8c, 0x58);
const QColor greenDeep(0x24, 0x6b, 0x3e);
const QColor ink(0x1c, 0x24, 0x4a);
const QColor grey(0x8a, 0x93, 0xab);
const QColor greyLight(0xc7, 0xcd, 0xdb);
const QColor paper(0xff, 0xff, 0xff);
const QColor paperShade(0xed, 0xf0, 0xf7);
const QColor kraft(0xd2, 0xa8, 0x6e);
const QColor kraftDark(0xb0, 0x84, 0x4c);
const QColor kraftLight(0xe6, 0xc5, 0x92);
const QColor gold(0xe0, 0xb0, 0x3a);
const QColor goldDark(0xa8, 0x7a, 0x14);
const QColor shadow(0x08, 0x0c, 0x30);
}  // namespace pal

QColor withAlpha(QColor c, int alpha) {
  c.setAlpha(alpha);
  return c;
}

// ---------------------------------------------------------------------------
// Drawing helpers

QImage blank(int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  return img;
}

void prepare(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QImage layer(int w, int h, const std::function<void(QPainter&)>& draw) {
  QImage img = blank(w, h);
  QPainter p(&img);
  prepare(p);
  draw(p);
  p.end();
  return img;
}

// Three box blurs of the alpha channel approximate a gaussian; the result is
// the layer's silhouette in one colour.
QImage silhouetteBlur(const QImage& src, int radius, const QColor& colour, qreal opacity) {
  const int w = src.width();
  const int h = src.height();
  std::vector<float> a(static_cast<size_t>(w) * h);
  std::vector<float> t(a.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) a[static_cast<size_t>(y) * w + x] = qAlpha(src.pixel(x, y)) / 255.0f;
  if (radius > 0) {
    const float norm = 1.0f / static_cast<float>(2 * radius + 1);
    for (int pass = 0; pass < 3; ++pass) {
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          float s = 0;
          for (int k = -radius; k <= radius; ++k) {
            const int xx = x + k;
            if (xx >= 0 && xx < w) s += a[static_cast<size_t>(y) * w + xx];
          }
          t[static_cast<size_t>(y) * w + x] = s * norm;
        }
      }
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          float s = 0;
          for (int k = -radius; k <= radius; ++k) {
            const int yy = y + k;
            if (yy >= 0 && yy < h) s += t[static_cast<size_t>(yy) * w + x];
          }
          a[static_cast<size_t>(y) * w + x] = s * norm;
        }
      }
    }
  }
  QImage out = blank(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const float v = std::clamp(a[static_cast<size_t>(y) * w + x] * static_cast<float>(opacity), 0.0f, 1.0f);
      if (v <= 0) continue;
      QColor c = colour;
      c.setAlphaF(v);
      out.setPixelColor(x, y, c);
    }
  }
  return out;
}

// The layer over its own soft shadow.
QImage withShadow(const QImage& img, int dx, int dy, int radius, qreal opacity,
                  const QColor& colour = pal::shadow) {
  QImage out = blank(img.width(), img.height());
  QPainter p(&out);
  p.drawImage(dx, dy, silhouetteBlur(img, radius, colour, opacity));
  p.drawImage(0, 0, img);
  p.end();
  return out;
}

// Draws with `draw` on a canvas the size of the painter's device and lays the
// result, shadowed, over what the painter holds.
void shadowed(QPainter& p, int dx, int dy, int radius, qreal opacity,
              const std::function<void(QPainter&)>& draw) {
  const QImage img = layer(p.device()->width(), p.device()->height(), draw);
  p.drawImage(0, 0, withShadow(img, dx, dy, radius, opacity));
}

QFont font(const char* family, int px, QFont::Weight weight = QFont::Normal, bool italic = false) {
  QFont f(QString::fromLatin1(family));
  f.setPixelSize(px);
  f.setWeight(weight);
  f.setItalic(italic);
  f.setStyleStrategy(QFont::PreferAntialias);
  f.setHintingPreference(px >= 20 ? QFont::PreferNoHinting : QFont::PreferVerticalHinting);
  return f;
}

const char* const kSans = "Liberation Sans";
const char* const kDisplay = "DejaVu Sans";

QLinearGradient vgrad(qreal y0, qreal y1, const QColor& c0, const QColor& c1) {
  QLinearGradient g(0, y0, 0, y1);
  g.setColorAt(0, c0);
  g.setColorAt(1, c1);
  return g;
}

QLinearGradient grad(QPointF a, QPointF b, const QColor& c0, const QColor& c1) {
  QLinearGradient g(a, b);
  g.setColorAt(0, c0);
  g.setColorAt(1, c1);
  return g;
}

QPainterPath rounded(const QRectF& r, qreal radius) {
  QPainterPath path;
  path.addRoundedRect(r, radius, radius);
  return path;
}

QPainterPath circle(QPointF c, qreal r) {
  QPainterPath path;
  path.addEllipse(c, r, r);
  return path;
}

// A sheet of paper with its top-right corner folded.
void drawPage(QPainter& p, const QRectF& r, qreal fold, qreal penWidth,
              const QColor& edge = QColor(0x9a, 0xa6, 0xc8)) {
  QPainterPath body;
  body.moveTo(r.left(), r.top());
  body.lineTo(r.right() - fold, r.top());
  body.lineTo(r.right(), r.top() + fold);
  body.lineTo(r.right(), r.bottom());
  body.lineTo(r.left(), r.bottom());
  body.closeSubpath();
  p.setPen(QPen(edge, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(vgrad(r.top(), r.bottom(), pal::paper, pal::paperShade));
  p.drawPath(body);
  QPainterPath corner;
  corner.moveTo(r.right() - fold, r.top());
  corner.lineTo(r.right() - fold, r.top() + fold);
  corner.lineTo(r.right(), r.top() + fold);
  corner.closeSubpath();
  p.setBrush(QColor(0xd3, 0xda, 0xec));
  p.drawPath(corner);
}

void drawLines(QPainter& p, qreal x, qreal y, qreal step, qreal thickness, const QColor& colour,
               std::initializer_list<qreal> widths) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  for (qreal w : widths) {
    p.drawRoundedRect(QRectF(x, y, w, thickness), thickness / 2, thickness / 2);
    y += step;
  }
}

// Maps the unit square onto the parallelogram origin + s*u + t*v.
QTransform faceTransform(QPointF origin, QPointF u, QPointF v) {
  return QTransform(u.x(), u.y(), v.x(), v.y(), origin.x(), origin.y());
}

// A carton seen from above at the usual isometric angles. `base` is the
// bottom corner nearest to the viewer.
struct Carton {
  QPointF base;
  qreal right;  // extent towards the right
  qreal left;   // extent towards the left
  qreal height;
  bool tape = true;
  bool label = false;
};

const qreal kPi = 3.14159265358979323846;
const qreal kIsoX = 0.866;
const qreal kIsoY = 0.5;

void drawCarton(QPainter& p, const Carton& c, const QColor& top = pal::kraftLight,
                const QColor& leftFace = pal::kraft, const QColor& rightFace = pal::kraftDark) {
  const QPointF up(0, -c.height);
  const QPointF r(c.right * kIsoX, -c.right * kIsoY);
  const QPointF l(-c.left * kIsoX, -c.left * kIsoY);
  const QPointF b = c.base;
  p.setPen(QPen(withAlpha(pal::shadow, 60), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(leftFace);
  p.drawPolygon(QPolygonF({b, b + l, b + l + up, b + up}));
  p.setBrush(rightFace);
  p.drawPolygon(QPolygonF({b, b + r, b + r + up, b + up}));
  p.setBrush(top);
  p.drawPolygon(QPolygonF({b + up, b + l + up, b + l + r + up, b + r + up}));
  if (c.tape) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf0, 0xdc, 0xb4));
    const qreal half = 0.09;
    p.save();
    p.setTransform(faceTransform(b + up, r, l), true);
    p.drawRect(QRectF(0, 0.5 - half, 1, 2 * half));
    p.restore();
    p.save();
    p.setTransform(faceTransform(b + up, l, -up), true);
    p.setBrush(QColor(0xe2, 0xc8, 0x98));
    p.drawRect(QRectF(0.5 - half, 0, 2 * half, 0.32));
    p.restore();
  }
  if (c.label) {
    p.save();
    p.setTransform(faceTransform(b + up, r, -up), true);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::paper);
    p.drawRect(QRectF(0.18, 0.34, 0.64, 0.4));
    p.setBrush(pal::ink);
    const std::array<qreal, 12> bars{0.02, 0.015, 0.03, 0.01, 0.02, 0.035, 0.012, 0.025, 0.01, 0.03, 0.015, 0.02};
    qreal x = 0.24;
    for (size_t i = 0; i < bars.size(); ++i) {
      if (i % 2 == 0) p.drawRect(QRectF(x, 0.4, bars[i], 0.2));
      x += bars[i] + 0.012;
    }
    p.setBrush(pal::maroon);
    p.drawRect(QRectF(0.24, 0.65, 0.3, 0.04));
    p.restore();
  }
}

// Head and shoulders of a person; `c` is the centre of the head.
void drawPerson(QPainter& p, QPointF c, qreal head, const QColor& colour, const QColor& ring,
                qreal ringWidth) {
  QPainterPath body;
  const qreal w = head * 2.1;
  const qreal top = c.y() + head * 1.25;
  const qreal bottom = c.y() + head * 3.0;
  body.moveTo(c.x() - w, bottom);
  body.cubicTo(c.x() - w, top, c.x() - w * 0.5, top - head * 0.15, c.x(), top - head * 0.15);
  body.cubicTo(c.x() + w * 0.5, top - head * 0.15, c.x() + w, top, c.x() + w, bottom);
  body.closeSubpath();
  QPainterPath whole = body.united(circle(c, head));
  if (ringWidth > 0) {
    p.setPen(QPen(ring, ringWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ring);
    p.drawPath(whole);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(grad(QPointF(c.x(), c.y() - head), QPointF(c.x(), bottom), colour.lighter(112),
                  colour.darker(108)));
  p.drawPath(body);
  p.drawPath(circle(c, head));
}

// The product mark: a navy tile with a white Z whose diagonal is green,
// standing on a maroon foot. Drawn in the square `r`.
void drawMark(QPainter& p, const QRectF& r) {
  p.save();
  p.translate(r.topLeft());
  p.scale(r.width() / 100.0, r.height() / 100.0);
  const QPainterPath tile = rounded(QRectF(0, 0, 100, 100), 22);
  p.setPen(Qt::NoPen);
  p.setBrush(grad(QPointF(10, 0), QPointF(90, 100), QColor(0x26, 0x3c, 0xc4), pal::navyDeep));
  p.drawPath(tile);
  p.save();
  p.setClipPath(tile);
  p.setBrush(pal::green);
  p.drawRect(QRectF(0, 83, 100, 3));
  p.setBrush(vgrad(86, 100, pal::maroonLight, pal::maroonDeep));
  p.drawRect(QRectF(0, 86, 100, 14));
  QRadialGradient gloss(QPointF(30, -10), 90);
  gloss.setColorAt(0, QColor(255, 255, 255, 70));
  gloss.setColorAt(1, QColor(255, 255, 255, 0));
  p.setBrush(gloss);
  p.drawRect(QRectF(0, 0, 100, 100));
  p.restore();
  // The Z: two white bars joined by a green diagonal of the same weight.
  p.setBrush(vgrad(16, 70, pal::paper, QColor(0xe2, 0xe8, 0xfa)));
  p.drawRoundedRect(QRectF(22, 16, 56, 14), 3, 3);
  p.drawRoundedRect(QRectF(22, 58, 56, 14), 3, 3);
  p.setBrush(grad(QPointF(78, 30), QPointF(22, 58), QColor(0xb6, 0xe6, 0xbe), QColor(0x5d, 0xb0, 0x74)));
  p.drawPolygon(QPolygonF({QPointF(56, 30), QPointF(78, 30), QPointF(44, 58), QPointF(22, 58)}));
  p.restore();
}

// "Zelvano" as a path, baseline at y = 0, starting at x = 0.
QPainterPath wordPath(const QString& text, const QFont& f) {
  QPainterPath path;
  path.addText(0, 0, f, text);
  return path;
}

// ---------------------------------------------------------------------------
// Output

struct Output {
  QDir dir;
  int files = 0;
  qint64 bytes = 0;
  bool ok = true;
};

void report(Output& out, const QString& name) {
  const qint64 size = QFileInfo(out.dir.filePath(name)).size();
  out.bytes += size;
  ++out.files;
  std::printf("  %-24s %7lld bytes\n", qPrintable(name), static_cast<long long>(size));
}

void fail(Output& out, const QString& why) {
  std::fprintf(stderr, "artgen: %s\n", qPrintable(why));
  out.ok = false;
}

void save(Output& out, const QString& name, const QImage& img, int w, int h) {
  if (img.width() != w || img.height() != h) {
    fail(out, QStringLiteral("%1 is %2x%3, expected %4x%5").arg(name).arg(img.width()).arg(img.height()).arg(w).arg(h));
    return;
  }
  const QString path = out.dir.filePath(name);
  bool written = false;
  if (name.endsWith(QLatin1String(".jpg"))) {
    QImage flat(img.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter p(&flat);
    p.drawImage(0, 0, img);
    p.end();
    written = flat.save(path, "JPG", 85);
  } else {
    written = img.convertToFormat(QImage::Format_ARGB32).save(path, "PNG", 0);
  }
  if (!written) {
    fail(out, QStringLiteral("cannot write %1").arg(path));
    return;
  }
  report(out, name);
}

// ---------------------------------------------------------------------------
// GIF89a writer: one global palette, LZW-compressed frames, endless loop.

class GifWriter {
 public:
  GifWriter(int width, int height, std::vector<QRgb> palette)
      : w_(width), h_(height), palette_(std::move(palette)) {
    bits_ = 1;
    while ((1 << bits_) < static_cast<int>(palette_.size())) ++bits_;
    palette_.resize(static_cast<size_t>(1) << bits_, qRgb(0, 0, 0));
  }

  // Appends a frame of palette indices, w*h of them, shown for `delay`
  // hundredths of a second.
  void addFrame(const std::vector<uint8_t>& indices, int delay) {
    frames_.push_back(indices);
    delays_.push_back(delay);
  }

  QByteArray encode() const {
    QByteArray out;
    out.append("GIF89a", 6);
    put16(out, w_);
    put16(out, h_);
    out.append(static_cast<char>(0x80 | 0x70 | (bits_ - 1)));  // global table, 8-bit colour
    out.append('\0');                                          // background colour
    out.append('\0');                                          // square pixels
    for (QRgb c : palette_) {
      out.append(static_cast<char>(qRed(c)));
      out.append(static_cast<char>(qGreen(c)));
      out.append(static_cast<char>(qBlue(c)));
    }
    // Application extension: loop forever.
    out.append("\x21\xFF\x0B", 3);
    out.append("NETSCAPE2.0", 11);
    out.append("\x03\x01", 2);
    put16(out, 0);
    out.append('\0');
    for (size_t i = 0; i < frames_.size(); ++i) {
      // Graphic control extension: keep the frame in place, no transparency.
      out.append("\x21\xF9\x04", 3);
      out.append(static_cast<char>(1 << 2));
      put16(out, delays_[i]);
      out.append('\0');
      out.append('\0');
      // Image descriptor covering the whole screen, no local table.
      out.append(static_cast<char>(0x2C));
      put16(out, 0);
      put16(out, 0);
      put16(out, w_);
      put16(out, h_);
      out.append('\0');
      const int minCode = std::max(2, bits_);
      out.append(static_cast<char>(minCode));
      const QByteArray data = lzw(frames_[i], minCode);
      for (int pos = 0; pos < data.size(); pos += 255) {
        const int n = std::min(255, static_cast<int>(data.size()) - pos);
        out.append(static_cast<char>(n));
        out.append(data.constData() + pos, n);
      }
      out.append('\0');
    }
    out.append(static_cast<char>(0x3B));
    return out;
  }

 private:
  static void put16(QByteArray& out, int v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
  }

  struct BitSink {
    QByteArray bytes;
    uint32_t acc = 0;
    int n = 0;
    void put(int code, int size) {
      acc |= static_cast<uint32_t>(code) << n;
      n += size;
      while (n >= 8) {
        bytes.append(static_cast<char>(acc & 0xFF));
        acc >>= 8;
        n -= 8;
      }
    }
    void flush() {
      if (n > 0) bytes.append(static_cast<char>(acc & 0xFF));
      acc = 0;
      n = 0;
    }
  };

  // Variable-length LZW as GIF wants it: codes grow from minCode + 1 bits up
  // to 12; a clear code restarts the table when it is full.
  static QByteArray lzw(const std::vector<uint8_t>& pixels, int minCode) {
    const int clear = 1 << minCode;
    const int eoi = clear + 1;
    QHash<uint32_t, int> table;
    int next = eoi + 1;
    int size = minCode + 1;
    BitSink sink;
    sink.put(clear, size);
    int current = -1;
    for (uint8_t px : pixels) {
      if (current < 0) {
        current = px;
        continue;
      }
      const uint32_t key = (static_cast<uint32_t>(current) << 8) | px;
      const auto found = table.constFind(key);
      if (found != table.constEnd()) {
        current = found.value();
        continue;
      }
      sink.put(current, size);
      if (next < 4096) {
        table.insert(key, next);
        if (next == (1 << size) && size < 12) ++size;
        ++next;
      }
      if (next >= 4096) {
        sink.put(clear, size);
        table.clear();
        next = eoi + 1;
        size = minCode + 1;
      }
      current = px;
    }
    if (current >= 0) sink.put(current, size);
    sink.put(eoi, size);
    sink.flush();
    return sink.bytes;
  }

  int w_;
  int h_;
  int bits_;
  std::vector<QRgb> palette_;
  std::vector<std::vector<uint8_t>> frames_;
  std::vector<int> delays_;
};

// One palette for a set of frames: the exact colours when there are at most
// 256 of them, otherwise a median cut weighted by how often each colour
// appears.
std::vector<QRgb> buildPalette(const std::vector<QImage>& frames) {
  QHash<QRgb, int> counts;
  for (const QImage& f : frames)
    for (int y = 0; y < f.height(); ++y)
      for (int x = 0; x < f.width(); ++x) ++counts[f.pixel(x, y) | 0xFF000000u];
  struct Entry {
    QRgb c;
    int n;
  };
  std::vector<Entry> all;
  for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) all.push_back({it.key(), it.value()});
  // Hash order changes from run to run; sorting keeps the output reproducible.
  std::sort(all.begin(), all.end(), [](const Entry& x, const Entry& y) { return x.c < y.c; });
  if (all.size() <= 256) {
    std::vector<QRgb> palette;
    for (const Entry& e : all) palette.push_back(e.c);
    std::sort(palette.begin(), palette.end());
    return palette;
  }
  using Box = std::pair<size_t, size_t>;  // [first, last) in `all`
  std::vector<Box> boxes{{0, all.size()}};
  auto channel = [](QRgb c, int ch) { return ch == 0 ? qRed(c) : ch == 1 ? qGreen(c) : qBlue(c); };
  while (boxes.size() < 256) {
    // Split the box with the widest channel range that can still be split.
    int best = -1;
    int bestRange = 0;
    int bestChannel = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].second - boxes[i].first < 2) continue;
      for (int ch = 0; ch < 3; ++ch) {
        int lo = 255, hi = 0;
        for (size_t k = boxes[i].first; k < boxes[i].second; ++k) {
          lo = std::min(lo, channel(all[k].c, ch));
          hi = std::max(hi, channel(all[k].c, ch));
        }
        if (hi - lo > bestRange) {
          bestRange = hi - lo;
          best = static_cast<int>(i);
          bestChannel = ch;
        }
      }
    }
    if (best < 0) break;
    Box box = boxes[static_cast<size_t>(best)];
    std::sort(all.begin() + static_cast<long>(box.first), all.begin() + static_cast<long>(box.second),
              [&](const Entry& a, const Entry& b) { return channel(a.c, bestChannel) < channel(b.c, bestChannel); });
    long total = 0;
    for (size_t k = box.first; k < box.second; ++k) total += all[k].n;
    long run = 0;
    size_t cut = box.first + 1;
    for (size_t k = box.first; k < box.second - 1; ++k) {
      run += all[k].n;
      cut = k + 1;
      if (run * 2 >= total) break;
    }
    boxes[static_cast<size_t>(best)] = {box.first, cut};
    boxes.push_back({cut, box.second});
  }
  std::vector<QRgb> palette;
  for (const Box& b : boxes) {
    double r = 0, g = 0, bl = 0, n = 0;
    for (size_t k = b.first; k < b.second; ++k) {
      r += qRed(all[k].c) * static_cast<double>(all[k].n);
      g += qGreen(all[k].c) * static_cast<double>(all[k].n);
      bl += qBlue(all[k].c) * static_cast<double>(all[k].n);
      n += all[k].n;
    }
    palette.push_back(qRgb(static_cast<int>(std::lround(r / n)), static_cast<int>(std::lround(g / n)),
                           static_cast<int>(std::lround(bl / n))));
  }
  return palette;
}

std::vector<uint8_t> toIndices(const QImage& frame, const std::vector<QRgb>& palette) {
  QHash<QRgb, uint8_t> cache;
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(frame.width()) * frame.height());
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const QRgb c = frame.pixel(x, y) | 0xFF000000u;
      auto it = cache.constFind(c);
      if (it == cache.constEnd()) {
        int best = 0;
        long bestDist = -1;
        for (size_t i = 0; i < palette.size(); ++i) {
          const long dr = qRed(c) - qRed(palette[i]);
          const long dg = qGreen(c) - qGreen(palette[i]);
          const long db = qBlue(c) - qBlue(palette[i]);
          const long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
          if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = static_cast<int>(i);
          }
        }
        it = cache.insert(c, static_cast<uint8_t>(best));
      }
      out.push_back(it.value());
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// Start screen

QImage logoMark() {
  QImage mark = layer(120, 90, [](QPainter& p) { drawMark(p, QRectF(21, 3, 78, 78)); });
  return withShadow(mark, 0, 3, 3, 0.45);
}

QImage wordmark() {
  return layer(420, 90, [](QPainter& p) {
    const QFont big = font(kDisplay, 62, QFont::Bold);
    QPainterPath word = wordPath(QStringLiteral("Zelvano"), big);
    const QRectF wb = word.boundingRect();
    const QFont small = font(kSans, 12, QFont::Bold);
    const QString tagline = QStringLiteral("CLIENTI  \u00B7  PRODOTTI  \u00B7  FORNITURE");
    QFont spaced = small;
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 1.6);
    const qreal tagWidth = QFontMetricsF(spaced).horizontalAdvance(tagline);
    const qreal width = std::max(wb.width(), tagWidth);
    const qreal x0 = (420 - width) / 2;
    const qreal baseline = 58;
    word.translate(x0 - wb.left() + (width - wb.width()) / 2, baseline);

    QImage text = layer(420, 90, [&](QPainter& q) {
      q.setPen(Qt::NoPen);
      q.setBrush(vgrad(baseline - 46, baseline, QColor(0x2a, 0x40, 0xc8), pal::navy));
      q.drawPath(word);
    });
    p.drawImage(0, 0, withShadow(text, 0, 2, 2, 0.28));

    // Rule under the name: maroon with a green end.
    const QRectF wr = word.boundingRect();
    const qreal ruleY = baseline + 6;
    p.setPen(Qt::NoPen);
    p.setBrush(pal::maroon);
    p.drawRoundedRect(QRectF(wr.left() + 2, ruleY, wr.width() * 0.78, 4), 2, 2);
    p.setBrush(pal::greenDark);
    p.drawRoundedRect(QRectF(wr.left() + 2 + wr.width() * 0.78 + 4, ruleY, wr.width() * 0.22 - 6, 4), 2, 2);

    p.setFont(spaced);
    p.setPen(QColor(0x4a, 0x55, 0x80));
    p.drawText(QPointF((420 - tagWidth) / 2, ruleY + 21), tagline);
  });
}

QImage startTile() {
  QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor(0xfb, 0xfc, 0xfe));
  QPainter p(&img);
  prepare(p);
  p.setPen(QPen(QColor(0xee, 0xf1, 0xf8), 1));
  // Fine diagonal weave.
  p.drawLine(QPointF(-1, 33), QPointF(33, -1));
  p.drawLine(QPointF(-1, 17), QPointF(17, -1));
  p.drawLine(QPointF(15, 33), QPointF(33, 15));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xe6, 0xea, 0xf5));
  p.drawEllipse(QPointF(8, 8), 0.9, 0.9);
  p.drawEllipse(QPointF(24, 24), 0.9, 0.9);
  p.end();
  return img;
}

// Round corner buttons of the start screen, 48x48.
QImage cornerButton(const QColor& top, const QColor& bottom, const std::function<void(QPainter&)>& glyph) {
  QImage img = layer(48, 48, [&](QPainter& p) {
    p.setPen(QPen(pal::paper, 2.5));
    p.setBrush(grad(QPointF(24, 4), QPointF(24, 42), top, bottom));
    p.drawEllipse(QPointF(24, 23), 19, 19);
    QRadialGradient gloss(QPointF(24, 8), 24);
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QPointF(24, 23), 18, 18);
    glyph(p);
  });
  return withShadow(img, 0, 2, 2, 0.4);
}

QImage infoButton() {
  return cornerButton(pal::navyLight, pal::navy, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(pal::paper);
    p.drawEllipse(QPointF(24, 14.5), 3, 3);
    QPainterPath stem;
    stem.moveTo(20, 20);
    stem.lineTo(26.5, 20);
    stem.lineTo(26.5, 31);
    stem.lineTo(29, 31);
    stem.lineTo(29, 34);
    stem.lineTo(19, 34);
    stem.lineTo(19, 31);
    stem.lineTo(21.5, 31);
    stem.lineTo(21.5, 23);
    stem.lineTo(20, 23);
    stem.closeSubpath();
    p.drawPath(stem);
  });
}

QImage guideButton() {
  return cornerButton(QColor(0x6c, 0xbf, 0x84), pal::greenDeep, [](QPainter& p) {
    // An open book.
    p.setPen(QPen(pal::greenDeep, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(pal::paper);
    QPainterPath left;
    left.moveTo(24, 16);
    left.cubicTo(20, 13.5, 15, 13.5, 12, 15);
    left.lineTo(12, 31);
    left.cubicTo(15, 29.5, 20, 29.5, 24, 32);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(24, 16);
    right.cubicTo(28, 13.5, 33, 13.5, 36, 15);
    right.lineTo(36, 31);
    right.cubicTo(33, 29.5, 28, 29.5, 24, 32);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(pal::greenLight, 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
      const qreal y = 19.5 + i * 3.5;
      p.drawLine(QPointF(15, y), QPointF(21.5, y + 0.8));
      p.drawLine(QPointF(26.5, y + 0.8), QPointF(33, y));
    }
  });
}

QImage copyrightButton() {
  return cornerButton(pal::maroonLight, pal::maroonDeep, [](QPainter& p) {
    p.setPen(QPen(pal::paper, 2.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(24, 23), 11, 11);
    QPainterPath c;
    c.arcMoveTo(QRectF(18.5, 17.5, 11, 11), 45);
    c.arcTo(QRectF(18.5, 17.5, 11, 11), 45, 270);
    p.setPen(QPen(pal::paper, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(c);
  });
}

QImage exitButton() {
  return cornerButton(pal::maroonLight, pal::maroonDeep, [](QPainter& p) {
    // Power symbol.
    QPainterPath arc;
    arc.arcMoveTo(QRectF(14.5, 14, 19, 19), 60);
    arc.arcTo(QRectF(14.5, 14, 19, 19), 60, -300);
    p.setPen(QPen(pal::paper, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.drawLine(QPointF(24, 11.5), QPointF(24, 22));
  });
}

// Common frame of the four large entry pictures: a navy card on white with a
// glow behind the drawing and a maroon foot.
QImage entryCard(const std::function<void(QPainter&)>& drawing) {
  QImage img(225, 256, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  prepare(p);
  const QRectF card(6, 4, 213, 242);
  const QPainterPath shape = rounded(card, 14);
  shadowed(p, 0, 3, 4, 0.35, [&](QPainter& q) {
    q.setPen(Qt::NoPen);
    q.setBrush(vgrad(card.top(), card.bottom(), QColor(0x1e, 0x30, 0xa8), QColor(0x00, 0x00, 0x62)));
    q.drawPath(shape);
  });
  p.save();
  p.setClipPath(shape);
  QRadialGradient glow(QPointF(112, 112), 112);
  glow.setColorAt(0, QColor(0x9d, 0xb4, 0xff, 110));
  glow.setColorAt(0.55, QColor(0x6a, 0x84, 0xf0, 40));
  glow.setColorAt(1, QColor(0x6a, 0x84, 0xf0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawRect(card);
  // Faint rings in the corner.
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 5; ++i) {
    p.setPen(QPen(QColor(255, 255, 255, 16), 1.2));
    p.drawEllipse(QPointF(222, 0), 30.0 + i * 18, 30.0 + i * 18);
  }
  // Foot: a green hairline over a maroon band.
  p.setPen(Qt::NoPen);
  p.setBrush(vgrad(card.bottom() - 12, card.bottom(), pal::maroonLight, pal::maroonDeep));
  p.drawRect(QRectF(card.left(), card.bottom() - 12, card.width(), 12));
  p.setBrush(pal::green);
  p.drawRect(QRectF(card.left(), card.bottom() - 14, card.width(), 2));
  // Top highlight.
  p.setBrush(vgrad(card.top(), card.top() + 50, QColor(255, 255, 255, 30), QColor(255, 255, 255, 0)));
  p.drawRect(QRectF(card.left(), card.top(), card.width(), 50));
  p.restore();
  // The drawing with its own shadow.
  QImage art = layer(225, 256, drawing);
  p.drawImage(0, 0, withShadow(art, 2, 4, 4, 0.5, QColor(0, 0, 0x20)));
  p.end();
  return img;
}

// Address book with two people in front of it. Drawn for a 225x256 frame.
void drawClients(QPainter& p) {
  const QRectF cover(52, 42, 112, 140);
  p.setPen(Qt::NoPen);
  p.setBrush(grad(cover.topLeft(), cover.bottomRight(), QColor(0xa8, 0x22, 0x22), pal::maroonDeep));
  p.drawRoundedRect(cover, 7, 7);
  // Index tabs.
  const std::array<QColor, 4> tabColours{pal::green, pal::paper, pal::navyPale, pal::greenLight};
  const std::array<const char*, 4> tabLetters{"A", "F", "M", "S"};
  p.setFont(font(kSans, 8, QFont::Bold));
  for (int i = 0; i < 4; ++i) {
    const QRectF tab(cover.right() - 6, 54 + i * 24, 17, 19);
    p.setPen(Qt::NoPen);
    p.setBrush(tabColours[static_cast<size_t>(i)]);
    p.drawRoundedRect(tab, 4, 4);
    p.setPen(pal::ink);
    p.drawText(tab.adjusted(5, 0, 0, 0), Qt::AlignCenter, QString::fromLatin1(tabLetters[static_cast<size_t>(i)]));
  }
  // Pages.
  const QRectF pages(cover.left() + 9, cover.top() + 6, cover.width() - 14, cover.height() - 12);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xdd, 0xe2, 0xee));
  p.drawRoundedRect(pages.translated(3, 2), 3, 3);
  p.setBrush(vgrad(pages.top(), pages.bottom(), pal::paper, pal::paperShade));
  p.drawRoundedRect(pages, 3, 3);
  // Spiral binding.
  for (int i = 0; i < 9; ++i) {
    const qreal y = cover.top() + 14 + i * 14.5;
    p.setPen(QPen(QColor(0xb8, 0xc0, 0xd6), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cover.left() - 4, y), QPointF(cover.left() + 12, y));
    p.setPen(QPen(QColor(0xe8, 0xec, 0xf6), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cover.left() - 3, y - 0.6), QPointF(cover.left() + 10, y - 0.6));
  }
  // A contact on the page.
  const QPointF avatar(pages.left() + 26, pages.top() + 28);
  p.setPen(Qt::NoPen);
  p.setBrush(pal::navyPale);
  p.drawEllipse(avatar, 16, 16);
  p.save();
  p.setClipPath(circle(avatar, 16));
  drawPerson(p, QPointF(avatar.x(), avatar.y() - 4), 6.5, pal::navyMid, Qt::transparent, 0);
  p.restore();
  drawLines(p, pages.left() + 48, pages.top() + 18, 9, 4.5, pal::navy, {44});
  drawLines(p, pages.left() + 48, pages.top() + 27, 8, 3.2, pal::greyLight, {40, 30});
  p.setPen(QPen(pal::greyLight, 1));
  p.drawLine(QPointF(pages.left() + 10, pages.top() + 54), QPointF(pages.right() - 10, pages.top() + 54));
  for (int i = 0; i < 4; ++i) {
    const qreal y = pages.top() + 64 + i * 13;
    p.setPen(Qt::NoPen);
    p.setBrush(i % 2 ? pal::maroonLight : pal::greenDark);
    p.drawEllipse(QPointF(pages.left() + 14, y + 1.6), 2.8, 2.8);
    drawLines(p, pages.left() + 22, y, 0, 3.2, pal::greyLight, {static_cast<qreal>(58 - (i % 3) * 12)});
  }
  // People in front.
  drawPerson(p, QPointF(176, 158), 14, QColor(0x9d, 0xb3, 0xf0), QColor(0x0e, 0x1c, 0x86), 2.5);
  drawPerson(p, QPointF(146, 168), 16, pal::green, QColor(0x0e, 0x1c, 0x86), 2.5);
}

// Cartons stacked on a pallet.
void drawProducts(QPainter& p) {
  const QPointF pallet(112, 226);
  const qreal size = 72;
  const QPointF r(size * kIsoX, -size * kIsoY), l(-size * kIsoX, -size * kIsoY);
  const QPointF lift(0, -10);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x8a, 0x6a, 0x48));
  p.drawPolygon(QPolygonF({pallet, pallet + r, pallet + r + lift, pallet + lift}));
  p.setBrush(QColor(0xa8, 0x84, 0x5c));
  p.drawPolygon(QPolygonF({pallet, pallet + l, pallet + l + lift, pallet + lift}));
  p.setBrush(QColor(0xc4, 0xa0, 0x74));
  p.drawPolygon(QPolygonF({pallet + lift, pallet + l + lift, pallet + l + r + lift, pallet + r + lift}));
  // Openings between the blocks.
  p.setBrush(QColor(0x4a, 0x36, 0x24));
  for (qreal s : {0.25, 0.75}) {
    for (const QPointF& side : {r, l}) {
      const QPointF a = pallet + side * s + QPointF(0, -2.5);
      p.drawPolygon(QPolygonF({a - side * 0.12, a + side * 0.12, a + side * 0.12 + QPointF(0, -5),
                               a - side * 0.12 + QPointF(0, -5)}));
    }
  }
  const QPointF deck = pallet + lift;
  const qreal half = size / 2 - 1;
  const QPointF hr = r * 0.5, hl = l * 0.5;
  // Back to front, then the carton on top.
  drawCarton(p, Carton{deck + hr + hl, half, half, 42, true, false});
  drawCarton(p, Carton{deck + hl, half, half, 42, true, false});
  drawCarton(p, Carton{deck + hr, half, half, 42, true, false});
  drawCarton(p, Carton{deck, half, half, 42, true, true});
  const Carton top{deck + hl + r * 0.22 + QPointF(0, -42), 38, 34, 34, true, false};
  drawCarton(p, top, QColor(0xee, 0xd2, 0xa4), pal::kraftLight, pal::kraft);
  // A price tag hanging from the top carton.
  const QPointF knot = top.base + QPointF(38 * kIsoX, -38 * kIsoY) * 0.8 + QPointF(0, -24);
  p.setPen(QPen(pal::paper, 1.2));
  p.drawLine(knot, knot + QPointF(16, 8));
  p.setPen(Qt::NoPen);
  p.setBrush(pal::greenDark);
  p.save();
  p.translate(knot + QPointF(16, 8));
  p.rotate(22);
  QPainterPath label;
  label.moveTo(0, 0);
  label.lineTo(8, -7);
  label.lineTo(32, -7);
  label.lineTo(32, 7);
  label.lineTo(8, 7);
  label.closeSubpath();
  p.drawPath(label);
  p.setBrush(pal::paper);
  p.drawEllipse(QPointF(7, 0), 1.8, 1.8);
  p.setFont(font(kSans, 10, QFont::Bold));
  p.setPen(pal::paper);
  p.drawText(QRectF(10, -7, 22, 14), Qt::AlignCenter, QStringLiteral("\u20AC"));
  p.restore();
}

// A new document with a green plus.
void drawNewDocument(QPainter& p) {
  // Sheet behind, slightly turned.
  p.save();
  p.translate(112, 118);
  p.rotate(-8);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xc9, 0xd3, 0xf2));
  p.drawRoundedRect(QRectF(-56, -76, 104, 138), 4, 4);
  p.restore();
  const QRectF page(66, 42, 100, 136);
  drawPage(p, page, 24, 1.4);
  // Heading and body.
  p.setPen(Qt::NoPen);
  p.setBrush(pal::navy);
  p.drawRoundedRect(QRectF(page.left() + 12, page.top() + 14, 46, 7), 3.5, 3.5);
  drawLines(p, page.left() + 12, page.top() + 30, 9, 3.4, pal::greyLight, {62, 70, 50});
  // Small table.
  const QRectF table(page.left() + 12, page.top() + 62, 76, 40);
  p.setBrush(pal::greenPale);
  p.drawRect(table);
  p.setBrush(pal::green);
  p.drawRect(QRectF(table.left(), table.top(), table.width(), 9));
  p.setPen(QPen(QColor(0x9c, 0xc4, 0xa4), 0.9));
  for (int i = 1; i < 4; ++i) p.drawLine(QPointF(table.left(), table.top() + 9 + i * 7.75), QPointF(table.right(), table.top() + 9 + i * 7.75));
  p.drawLine(QPointF(table.left() + 46, table.top()), QPointF(table.left() + 46, table.bottom()));
  drawLines(p, page.left() + 12, page.top() + 112, 9, 3.4, pal::greyLight, {36});
  // Plus badge.
  const QPointF c(page.right() - 4, page.bottom() - 8);
  p.setPen(Qt::NoPen);
  p.setBrush(pal::paper);
  p.drawEllipse(c, 31, 31);
  p.setBrush(grad(c + QPointF(0, -27), c + QPointF(0, 27), QColor(0x7c, 0xcc, 0x90), pal::greenDeep));
  p.drawEllipse(c, 27, 27);
  p.setBrush(pal::paper);
  p.drawRoundedRect(QRectF(c.x() - 15, c.y() - 4.5, 30, 9), 3, 3);
  p.drawRoundedRect(QRectF(c.x() - 4.5, c.y() - 15, 9, 30), 3, 3);
  // A pencil.
  p.save();
  p.translate(70, 196);
  p.rotate(-42);
  p.setBrush(pal::maroon);
  p.drawRect(QRectF(0, -5, 58, 10));
  p.setBrush(pal::maroonLight);
  p.drawRect(QRectF(0, -5, 58, 3.5));
  p.setBrush(pal::greyLight);
  p.drawRect(QRectF(-10, -5, 10, 10));
  p.setBrush(QColor(0xf2, 0xa0, 0xa8));
  p.drawRoundedRect(QRectF(-17, -5, 9, 10), 3, 3);
  p.setBrush(pal::kraftLight);
  p.drawPolygon(QPolygonF({QPointF(58, -5), QPointF(74, 0), QPointF(58, 5)}));
  p.setBrush(pal::ink);
  p.drawPolygon(QPolygonF({QPointF(69, -1.6), QPointF(74, 0), QPointF(69, 1.6)}));
  p.restore();
}

// A folder holding a checked list.
void drawSupplyFolder(QPainter& p) {
  const QRectF back(44, 58, 140, 122);
  QPainterPath b;
  b.moveTo(back.left(), back.top() + 12);
  b.quadTo(back.left(), back.top(), back.left() + 12, back.top());
  b.lineTo(back.left() + 50, back.top());
  b.lineTo(back.left() + 60, back.top() + 12);
  b.lineTo(back.right() - 8, back.top() + 12);
  b.quadTo(back.right(), back.top() + 12, back.right(), back.top() + 20);
  b.lineTo(back.right(), back.bottom());
  b.lineTo(back.left(), back.bottom());
  b.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(grad(back.topLeft(), back.bottomLeft(), pal::greenDark, pal::greenDeep));
  p.drawPath(b);
  // The list sheet.
  p.save();
  p.translate(118, 112);
  p.rotate(4);
  const QRectF sheet(-52, -74, 104, 120);
  p.setBrush(pal::paper);
  p.drawRoundedRect(sheet, 3, 3);
  p.setBrush(pal::navy);
  p.drawRoundedRect(QRectF(sheet.left() + 10, sheet.top() + 10, 52, 7), 3.5, 3.5);
  for (int i = 0; i < 4; ++i) {
    const qreal y = sheet.top() + 26 + i * 15;
    p.setPen(QPen(pal::grey, 1.2));
    p.setBrush(pal::paper);
    p.drawRoundedRect(QRectF(sheet.left() + 10, y, 10, 10), 2, 2);
    if (i < 3) {
      QPainterPath tick;
      tick.moveTo(sheet.left() + 12, y + 5);
      tick.lineTo(sheet.left() + 15, y + 8);
      tick.lineTo(sheet.left() + 22, y - 1);
      p.setPen(QPen(pal::greenDark, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPath(tick);
    }
    drawLines(p, sheet.left() + 26, y + 3.4, 0, 3.4, pal::greyLight, {static_cast<qreal>(i % 2 ? 44 : 60)});
  }
  p.restore();
  // Front flap, a little lower and wider at the bottom.
  QPainterPath front;
  front.moveTo(back.left() - 6, back.top() + 44);
  front.lineTo(back.right() + 6, back.top() + 44);
  front.lineTo(back.right() - 2, back.bottom() + 2);
  front.quadTo(back.right() - 3, back.bottom() + 8, back.right() - 10, back.bottom() + 8);
  front.lineTo(back.left() + 10, back.bottom() + 8);
  front.quadTo(back.left() + 3, back.bottom() + 8, back.left() + 2, back.bottom() + 2);
  front.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(grad(QPointF(0, back.top() + 44), QPointF(0, back.bottom() + 8), QColor(0xa6, 0xdc, 0xb0), QColor(0x6c, 0xb4, 0x7e)));
  p.drawPath(front);
  p.setBrush(QColor(255, 255, 255, 70));
  p.drawRect(QRectF(back.left() - 5, back.top() + 44, back.width() + 10, 2));
  // Label on the flap.
  const QRectF lab(back.left() + 34, back.top() + 70, 72, 26);
  p.setBrush(pal::paper);
  p.drawRoundedRect(lab, 4, 4);
  drawLines(p, lab.left() + 9, lab.top() + 7, 8, 3.4, pal::navy, {36});
  drawLines(p, lab.left() + 9, lab.top() + 15, 8, 3.0, pal::greyLight, {54});
  // Maroon bookmark ribbon.
  p.setBrush(pal::maroon);
  p.drawPolygon(QPolygonF({QPointF(160, 40), QPointF(174, 40), QPointF(174, 78), QPointF(167, 71), QPointF(160, 78)}));
  p.setBrush(pal::maroonLight);
  p.drawRect(QRectF(160, 40, 4, 34));
}

// A delivery van, facing right. Drawn for roughly 150x90 around (0,0)-(150,90).
void drawVan(QPainter& p) {
  p.setPen(Qt::NoPen);
  // Cargo box.
  p.setBrush(grad(QPointF(0, 0), QPointF(0, 62), pal::paper, QColor(0xd9, 0xdf, 0xee)));
  p.drawRoundedRect(QRectF(0, 0, 96, 62), 5, 5);
  p.setBrush(pal::maroon);
  p.drawRect(QRectF(0, 44, 96, 7));
  p.setBrush(pal::green);
  p.drawRect(QRectF(0, 41, 96, 3));
  drawMark(p, QRectF(10, 10, 24, 24));
  drawLines(p, 40, 14, 9, 4.5, pal::navy, {42});
  drawLines(p, 40, 24, 9, 3.2, pal::grey, {30});
  // Cab.
  QPainterPath cab;
  cab.moveTo(100, 62);
  cab.lineTo(100, 14);
  cab.quadTo(100, 10, 104, 10);
  cab.lineTo(124, 10);
  cab.quadTo(130, 10, 133, 16);
  cab.lineTo(144, 34);
  cab.quadTo(146, 37, 146, 42);
  cab.lineTo(146, 58);
  cab.quadTo(146, 62, 142, 62);
  cab.closeSubpath();
  p.setBrush(grad(QPointF(0, 10), QPointF(0, 62), pal::navyLight, pal::navy));
  p.drawPath(cab);
  QPainterPath window;
  window.moveTo(106, 16);
  window.lineTo(124, 16);
  window.quadTo(127, 16, 129, 19);
  window.lineTo(138, 34);
  window.lineTo(106, 34);
  window.closeSubpath();
  p.setBrush(grad(QPointF(106, 16), QPointF(138, 34), QColor(0xe4, 0xec, 0xff), QColor(0x9d, 0xb3, 0xf0)));
  p.drawPath(window);
  p.setBrush(pal::gold);
  p.drawRoundedRect(QRectF(140, 44, 6, 5), 1.5, 1.5);
  p.setBrush(QColor(0x55, 0x5c, 0x78));
  p.drawRoundedRect(QRectF(-2, 58, 150, 6), 3, 3);
  // Wheels.
  for (qreal x : {28.0, 118.0}) {
    p.setBrush(QColor(0x22, 0x26, 0x38));
    p.drawEllipse(QPointF(x, 64), 11, 11);
    p.setBrush(QColor(0xc8, 0xce, 0xde));
    p.drawEllipse(QPointF(x, 64), 5, 5);
  }
}

QImage entryTitle(const QString& text) {
  QImage img = layer(224, 42, [&](QPainter& p) {
    const QRectF r(2, 1, 220, 37);
    p.setPen(Qt::NoPen);
    p.setBrush(vgrad(r.top(), r.bottom(), QColor(0xa2, 0x1e, 0x1e), QColor(0x6a, 0x00, 0x00)));
    p.drawRoundedRect(r, 9, 9);
    p.setBrush(vgrad(r.top(), r.top() + 16, QColor(255, 255, 255, 55), QColor(255, 255, 255, 0)));
    p.drawRoundedRect(r.adjusted(1, 1, -1, -r.height() / 2), 8, 8);
    // Arrow disc at the right.
    const QPointF c(r.right() - 19, r.center().y());
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(c, 10, 10);
    QPainterPath arrow;
    arrow.moveTo(c.x() - 2.5, c.y() - 5);
    arrow.lineTo(c.x() + 3, c.y());
    arrow.lineTo(c.x() - 2.5, c.y() + 5);
    p.setPen(QPen(pal::maroon, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow);
    // The title.
    QFont f = font(kSans, 17, QFont::Bold);
    while (QFontMetricsF(f).horizontalAdvance(text) > 168 && f.pixelSize() > 11) f.setPixelSize(f.pixelSize() - 1);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 70));
    const QRectF tr(r.left() + 12, r.top(), r.width() - 48, r.height());
    p.drawText(tr.translated(0, 1), Qt::AlignVCenter | Qt::AlignLeft, text);
    p.setPen(pal::paper);
    p.drawText(tr, Qt::AlignVCenter | Qt::AlignLeft, text);
  });
  return withShadow(img, 0, 2, 2, 0.35);
}

struct Description {
  const char* file;
  QString heading;
  QStringList lines;
};

// Text layout of the description pictures: left edge of the heading and of
// the bulleted lines, and the right margin.
const qreal kDescLeft = 16.5;
const qreal kDescIndent = 9;
const qreal kDescRight = 218;

// The largest size at which every description fits, so all four match.
int descriptionFontSize(const std::vector<Description>& all) {
  int px = 13;
  for (;; --px) {
    bool fits = true;
    for (const Description& d : all) {
      if (kDescLeft + QFontMetricsF(font(kSans, px, QFont::Bold)).horizontalAdvance(d.heading) > kDescRight)
        fits = false;
      for (const QString& line : d.lines)
        if (kDescLeft + kDescIndent + QFontMetricsF(font(kSans, px)).horizontalAdvance(line) > kDescRight)
          fits = false;
    }
    if (fits || px <= 9) return px;
  }
}

QImage entryDescription(const Description& d, int px) {
  QImage img = layer(228, 105, [&](QPainter& p) {
    const QRectF r(1.5, 1.5, 225, 99);
    p.setPen(QPen(QColor(0xcc, 0xd5, 0xe8), 1));
    p.setBrush(vgrad(r.top(), r.bottom(), pal::paper, QColor(0xf4, 0xf7, 0xfc)));
    p.drawRoundedRect(r, 8, 8);
    p.save();
    p.setClipPath(rounded(r, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(vgrad(r.top(), r.bottom(), pal::green, pal::greenDark));
    p.drawRect(QRectF(r.left(), r.top(), 5, r.height()));
    p.restore();
    const qreal x = kDescLeft;
    qreal y = r.top() + 22;
    p.setFont(font(kSans, px, QFont::Bold));
    p.setPen(pal::navy);
    p.drawText(QPointF(x, y), d.heading);
    p.setPen(QPen(pal::maroon, 1.6));
    p.drawLine(QPointF(x, y + 6), QPointF(x + 28, y + 6));
    y += 25;
    p.setFont(font(kSans, px));
    for (const QString& line : d.lines) {
      p.setPen(Qt::NoPen);
      p.setBrush(pal::greenDark);
      p.drawEllipse(QPointF(x + 2, y - px * 0.33), 2, 2);
      p.setPen(pal::ink);
      p.drawText(QPointF(x + kDescIndent, y), line);
      y += px + 4.5;
    }
  });
  return img;
}

// The animation strip: a navy bar with light stripes that slide to the
// right; nine frames cover exactly one stripe period, so the loop is seamless.
QImage animationFrame(int frame) {
  QImage img(451, 10, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  prepare(p);
  const QRectF bar(0.5, 0.5, 450, 9);
  const QPainterPath shape = rounded(bar, 4.5);
  p.setPen(Qt::NoPen);
  QLinearGradient base(0, 0, 451, 0);
  base.setColorAt(0, pal::maroon);
  base.setColorAt(0.12, pal::navy);
  base.setColorAt(0.88, pal::navy);
  base.setColorAt(1, pal::maroon);
  p.setBrush(base);
  p.drawPath(shape);
  p.save();
  p.setClipPath(shape);
  const qreal period = 18;
  const qreal shift = frame * period / 9.0;
  for (qreal x = -2 * period + shift; x < 451 + period; x += period) {
    QPainterPath stripe;
    stripe.moveTo(x, 10);
    stripe.lineTo(x + 7, 0);
    stripe.lineTo(x + 14, 0);
    stripe.lineTo(x + 7, 10);
    stripe.closeSubpath();
    p.setBrush(QColor(0x6a, 0x84, 0xf0, 70));
    p.drawPath(stripe);
  }
  // Fade the stripes out towards the ends.
  QLinearGradient fade(0, 0, 451, 0);
  fade.setColorAt(0, QColor(pal::maroon));
  fade.setColorAt(0.06, withAlpha(pal::maroon, 0));
  fade.setColorAt(0.94, withAlpha(pal::maroon, 0));
  fade.setColorAt(1, QColor(pal::maroon));
  p.setBrush(fade);
  p.drawRect(bar);
  p.setBrush(vgrad(0, 5, QColor(255, 255, 255, 80), QColor(255, 255, 255, 0)));
  p.drawRect(QRectF(0, 0, 451, 5));
  p.restore();
  p.end();
  return img;
}

bool writeAnimation(Output& out, const QString& name) {
  std::vector<QImage> frames;
  for (int i = 0; i < 9; ++i) frames.push_back(animationFrame(i));
  const std::vector<QRgb> palette = buildPalette(frames);
  GifWriter gif(451, 10, palette);
  for (const QImage& f : frames) gif.addFrame(toIndices(f, palette), 5);
  QFile file(out.dir.filePath(name));
  if (!file.open(QIODevice::WriteOnly) || file.write(gif.encode()) < 0) {
    fail(out, QStringLiteral("cannot write %1").arg(file.fileName()));
    return false;
  }
  file.close();
  report(out, name);
  return true;
}

// ---------------------------------------------------------------------------
// Card screens: command icons 40x40, check 24x24, arrows 24x24

QImage icon(int size, const std::function<void(QPainter&)>& draw) {
  return withShadow(layer(size, size, draw), 0, 1, size >= 40 ? 2 : 1, 0.45);
}

void badge(QPainter& p, QPointF c, qreal r, const QColor& top, const QColor& bottom) {
  p.setPen(Qt::NoPen);
  p.setBrush(pal::paper);
  p.drawEllipse(c, r + 1.6, r + 1.6);
  p.setBrush(grad(c + QPointF(0, -r), c + QPointF(0, r), top, bottom));
  p.drawEllipse(c, r, r);
}

QImage cmdNuovo() {
  return icon(40, [](QPainter& p) {
    drawPage(p, QRectF(7.5, 3.5, 21, 29), 7, 1.2);
    drawLines(p, 11, 14, 4.5, 1.8, pal::greyLight, {13, 11, 9});
    badge(p, QPointF(28, 28), 8, QColor(0x7c, 0xcc, 0x90), pal::greenDeep);
    p.setBrush(pal::paper);
    p.drawRoundedRect(QRectF(23.5, 26.6, 9, 2.8), 1, 1);
    p.drawRoundedRect(QRectF(26.6, 23.5, 2.8, 9), 1, 1);
  });
}

QImage cmdSalva() {
  return icon(40, [](QPainter& p) {
    QPainterPath disk;
    disk.moveTo(6, 8);
    disk.quadTo(6, 5, 9, 5);
    disk.lineTo(29, 5);
    disk.lineTo(35, 11);
    disk.lineTo(35, 32);
    disk.quadTo(35, 35, 32, 35);
    disk.lineTo(9, 35);
    disk.quadTo(6, 35, 6, 32);
    disk.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(grad(QPointF(6, 5), QPointF(35, 35), pal::navyLight, pal::navy));
    p.drawPath(disk);
    p.setBrush(QColor(0xd9, 0xdf, 0xee));
    p.drawRoundedRect(QRectF(12, 5, 15, 10), 1.5, 1.5);
    p.setBrush(pal::navy);
    p.drawRect(QRectF(21, 7, 3.5, 6));
    p.setBrush(pal::paper);
    p.drawRoundedRect(QRectF(10, 19, 21, 14), 1.5, 1.5);
    p.setBrush(pal::maroon);
    p.drawRect(QRectF(10, 19, 21, 3));
    drawLines(p, 13, 25, 4, 1.6, pal::greyLight, {15, 11});
  });
}

void drawMagnifier(QPainter& p, QPointF c, qreal r, qreal ring, const QColor& rim, const QColor& handle,
                   qreal handleLength, qreal handleWidth) {
  const QPointF dir(0.7071, 0.7071);
  const QPointF h0 = c + dir * (r + ring * 0.2);
  const QPointF h1 = c + dir * (r + handleLength);
  p.setPen(QPen(handle, handleWidth, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(h0, h1);
  p.setPen(QPen(rim, ring));
  QRadialGradient lens(c + QPointF(-r * 0.35, -r * 0.35), r * 1.4);
  lens.setColorAt(0, QColor(255, 255, 255, 250));
  lens.setColorAt(1, QColor(0xc9, 0xd8, 0xff, 220));
  p.setBrush(lens);
  p.drawEllipse(c, r, r);
  QPainterPath shine;
  shine.arcMoveTo(QRectF(c.x() - r * 0.62, c.y() - r * 0.62, r * 1.24, r * 1.24), 110);
  shine.arcTo(QRectF(c.x() - r * 0.62, c.y() - r * 0.62, r * 1.24, r * 1.24), 110, 60);
  p.setPen(QPen(pal::paper, std::max(1.0, ring * 0.5), Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(shine);
}

QImage cmdRicerca() {
  return icon(40, [](QPainter& p) { drawMagnifier(p, QPointF(16.5, 16.5), 10.5, 3.6, pal::navy, pal::maroon, 12.5, 6); });
}

// Document with a lettered badge, for the office exports.
QImage officeIcon(const QString& letter, const QColor& top, const QColor& bottom, bool grid) {
  return icon(40, [=](QPainter& p) {
    drawPage(p, QRectF(12.5, 3.5, 22, 30), 7, 1.2);
    if (grid) {
      p.setPen(QPen(QColor(0x9c, 0xc4, 0xa4), 0.9));
      for (int i = 0; i < 4; ++i) p.drawLine(QPointF(16, 13 + i * 4.5), QPointF(31, 13 + i * 4.5));
      p.drawLine(QPointF(23, 13), QPointF(23, 26.5));
      p.drawLine(QPointF(16, 13), QPointF(16, 26.5));
      p.drawLine(QPointF(31, 13), QPointF(31, 26.5));
    } else {
      drawLines(p, 17, 13, 4.5, 1.8, pal::greyLight, {14, 14, 11, 14});
    }
    const QRectF b(4, 14, 19, 19);
    p.setPen(QPen(pal::paper, 1.6));
    p.setBrush(grad(b.topLeft(), b.bottomLeft(), top, bottom));
    p.drawRoundedRect(b, 3.5, 3.5);
    QFont f = font(kSans, 14, QFont::Bold);
    p.setFont(f);
    p.setPen(pal::paper);
    p.drawText(b.adjusted(0, 1, 0, 0), Qt::AlignCenter, letter);
  });
}

QImage cmdAllega() {
  return icon(40, [](QPainter& p) {
    drawPage(p, QRectF(7.5, 7.5, 21, 28), 6, 1.2);
    drawLines(p, 11, 18, 4.5, 1.8, pal::greyLight, {13, 11, 13});
    // Paper clip.
    QPainterPath clip;
    clip.moveTo(24, 14);
    clip.lineTo(24, 27);
    clip.arcTo(QRectF(24, 24.5, 5, 5), 180, 180);
    clip.lineTo(29, 8);
    clip.arcTo(QRectF(20.5, 3.5, 8.5, 8.5), 0, 180);
    clip.lineTo(20.5, 28);
    clip.arcTo(QRectF(20.5, 24, 12, 12), 180, 180);
    clip.lineTo(32.5, 14);
    p.setPen(QPen(pal::navy, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(clip);
  });
}

void drawFolder(QPainter& p, const QRectF& r, const QColor& backTop, const QColor& frontTop, const QColor& frontBottom) {
  const qreal tab = r.width() * 0.38;
  QPainterPath back;
  back.moveTo(r.left(), r.top() + 3);
  back.quadTo(r.left(), r.top(), r.left() + 3, r.top());
  back.lineTo(r.left() + tab, r.top());
  back.lineTo(r.left() + tab + 4, r.top() + 4);
  back.lineTo(r.right() - 2, r.top() + 4);
  back.quadTo(r.right(), r.top() + 4, r.right(), r.top() + 6);
  back.lineTo(r.right(), r.bottom());
  back.lineTo(r.left(), r.bottom());
  back.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(backTop);
  p.drawPath(back);
  p.setBrush(pal::paper);
  p.drawRect(QRectF(r.left() + 3, r.top() + 6, r.width() - 6, r.height() * 0.4));
  QPainterPath front;
  const qreal ft = r.top() + r.height() * 0.3;
  front.moveTo(r.left() - 1, ft);
  front.lineTo(r.right() + 1, ft);
  front.lineTo(r.right(), r.bottom() - 1.5);
  front.quadTo(r.right(), r.bottom(), r.right() - 1.5, r.bottom());
  front.lineTo(r.left() + 1.5, r.bottom());
  front.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - 1.5);
  front.closeSubpath();
  p.setBrush(vgrad(ft, r.bottom(), frontTop, frontBottom));
  p.drawPath(front);
}

QImage cmdAssocia() {
  return icon(40, [](QPainter& p) {
    drawFolder(p, QRectF(4, 7, 30, 24), pal::greenDark, QColor(0xa6, 0xdc, 0xb0), QColor(0x6c, 0xb4, 0x7e));
    badge(p, QPointF(29, 29), 7.5, pal::navyLight, pal::navy);
    // Chain link.
    p.setPen(QPen(pal::paper, 1.7));
    p.setBrush(Qt::NoBrush);
    p.save();
    p.translate(29, 29);
    p.rotate(-45);
    p.drawRoundedRect(QRectF(-5.5, -2.2, 6.5, 4.4), 2.2, 2.2);
    p.drawRoundedRect(QRectF(-1, -2.2, 6.5, 4.4), 2.2, 2.2);
    p.restore();
  });
}

QImage cmdGuida() {
  return icon(40, [](QPainter& p) {
    p.setPen(QPen(pal::green, 2));
    p.setBrush(grad(QPointF(20, 4), QPointF(20, 36), pal::navyLight, pal::navy));
    p.drawEllipse(QPointF(20, 19.5), 15, 15);
    p.setFont(font(kDisplay, 21, QFont::Bold));
    p.setPen(pal::paper);
    p.drawText(QRectF(5, 5, 30, 30), Qt::AlignCenter, QStringLiteral("?"));
  });
}

QImage cmdElimina() {
  return icon(40, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(pal::maroonDeep);
    p.drawRoundedRect(QRectF(15.5, 4, 9, 5), 1.5, 1.5);
    p.setBrush(pal::paper);
    p.drawRect(QRectF(17.5, 6, 5, 3));
    p.setBrush(grad(QPointF(0, 8), QPointF(0, 12), pal::maroonLight, pal::maroon));
    p.drawRoundedRect(QRectF(7.5, 8, 25, 4.5), 2, 2);
    QPainterPath body;
    body.moveTo(10, 14);
    body.lineTo(30, 14);
    body.lineTo(28, 34);
    body.quadTo(27.8, 36, 26, 36);
    body.lineTo(14, 36);
    body.quadTo(12.2, 36, 12, 34);
    body.closeSubpath();
    p.setBrush(grad(QPointF(10, 0), QPointF(30, 0), pal::maroonLight, pal::maroonDeep));
    p.drawPath(body);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15.5, 18), QPointF(16.2, 32));
    p.drawLine(QPointF(20, 18), QPointF(20, 32));
    p.drawLine(QPointF(24.5, 18), QPointF(23.8, 32));
  });
}

QImage cmdEsci() {
  return icon(40, [](QPainter& p) {
    // Door frame and open leaf.
    p.setPen(Qt::NoPen);
    p.setBrush(pal::navy);
    p.drawRoundedRect(QRectF(6, 4, 20, 32), 2, 2);
    p.setBrush(QColor(0xe4, 0xea, 0xfa));
    p.drawRect(QRectF(9, 7, 14, 29));
    QPainterPath leaf;
    leaf.moveTo(9, 7);
    leaf.lineTo(19, 10);
    leaf.lineTo(19, 37);
    leaf.lineTo(9, 36);
    leaf.closeSubpath();
    p.setBrush(grad(QPointF(9, 0), QPointF(19, 0), pal::maroonLight, pal::maroon));
    p.drawPath(leaf);
    p.setBrush(pal::gold);
    p.drawEllipse(QPointF(16.5, 22), 1.3, 1.3);
    // Arrow out.
    QPainterPath arrow;
    arrow.moveTo(22, 18);
    arrow.lineTo(29, 18);
    arrow.lineTo(29, 13.5);
    arrow.lineTo(37, 21);
    arrow.lineTo(29, 28.5);
    arrow.lineTo(29, 24);
    arrow.lineTo(22, 24);
    arrow.closeSubpath();
    p.setPen(QPen(pal::paper, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(grad(QPointF(0, 13), QPointF(0, 29), QColor(0x7c, 0xcc, 0x90), pal::greenDeep));
    p.drawPath(arrow);
  });
}

QImage cmdStampa() {
  return icon(40, [](QPainter& p) {
    p.setPen(QPen(pal::greyLight, 1));
    p.setBrush(pal::paper);
    p.drawRect(QRectF(11.5, 4.5, 17, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(grad(QPointF(0, 13), QPointF(0, 30), pal::navyLight, pal::navy));
    p.drawRoundedRect(QRectF(4, 13, 32, 16), 3.5, 3.5);
    p.setBrush(pal::navyDeep);
    p.drawRect(QRectF(9, 24, 22, 3));
    p.setBrush(QColor(0x7c, 0xe0, 0x90));
    p.drawEllipse(QPointF(30.5, 18), 1.6, 1.6);
    p.setPen(QPen(pal::greyLight, 1));
    p.setBrush(pal::paper);
    p.drawRect(QRectF(10.5, 24.5, 19, 12));
    drawLines(p, 13, 28, 3.5, 1.5, pal::grey, {14, 10});
  });
}

QImage cmdImporta() {
  return icon(40, [](QPainter& p) {
    // Tray.
    QPainterPath tray;
    tray.moveTo(4, 21);
    tray.lineTo(11, 21);
    tray.lineTo(14, 26);
    tray.lineTo(26, 26);
    tray.lineTo(29, 21);
    tray.lineTo(36, 21);
    tray.lineTo(36, 33);
    tray.quadTo(36, 36, 33, 36);
    tray.lineTo(7, 36);
    tray.quadTo(4, 36, 4, 33);
    tray.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(grad(QPointF(0, 21), QPointF(0, 36), pal::navyLight, pal::navy));
    p.drawPath(tray);
    // Arrow down into it.
    QPainterPath arrow;
    arrow.moveTo(16.5, 3);
    arrow.lineTo(23.5, 3);
    arrow.lineTo(23.5, 13);
    arrow.lineTo(29, 13);
    arrow.lineTo(20, 23);
    arrow.lineTo(11, 13);
    arrow.lineTo(16.5, 13);
    arrow.closeSubpath();
    p.setPen(QPen(pal::paper, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(grad(QPointF(0, 3), QPointF(0, 23), QColor(0x7c, 0xcc, 0x90), pal::greenDeep));
    p.drawPath(arrow);
  });
}

QImage cmdSospesi() {
  return icon(40, [](QPainter& p) {
    const QPointF c(16, 16);
    p.setPen(QPen(pal::navy, 3));
    p.setBrush(pal::paper);
    p.drawEllipse(c, 12, 12);
    p.setPen(QPen(pal::greyLight, 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
      const qreal a = i * kPi / 6;
      const QPointF d(std::cos(a), std::sin(a));
      p.drawLine(c + d * 8, c + d * 9.5);
    }
    p.setPen(QPen(pal::navy, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -7));
    p.setPen(QPen(pal::maroon, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(5, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(pal::maroon);
    p.drawEllipse(c, 1.6, 1.6);
    // Coin.
    const QPointF k(28, 28);
    p.setPen(QPen(pal::paper, 1.6));
    p.setBrush(grad(k + QPointF(0, -9), k + QPointF(0, 9), QColor(0xf6, 0xd2, 0x6a), pal::goldDark));
    p.drawEllipse(k, 9, 9);
    p.setPen(QPen(QColor(0xf8, 0xe4, 0xa8), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(k, 6.5, 6.5);
    p.setFont(font(kSans, 11, QFont::Bold));
    p.setPen(QColor(0x7a, 0x52, 0x08));
    p.drawText(QRectF(k.x() - 8, k.y() - 8, 16, 16), Qt::AlignCenter, QStringLiteral("\u20AC"));
  });
}

QImage cmdSottoscorta() {
  return icon(40, [](QPainter& p) {
    drawCarton(p, Carton{QPointF(17, 37), 15, 15, 15, true, false});
    // Level bars, the last one low.
    p.setPen(Qt::NoPen);
    badge(p, QPointF(29, 11), 8, pal::maroonLight, pal::maroonDeep);
    QPainterPath arrow;
    arrow.moveTo(27.5, 5.5);
    arrow.lineTo(30.5, 5.5);
    arrow.lineTo(30.5, 11);
    arrow.lineTo(33.5, 11);
    arrow.lineTo(29, 16.5);
    arrow.lineTo(24.5, 11);
    arrow.lineTo(27.5, 11);
    arrow.closeSubpath();
    p.setBrush(pal::paper);
    p.drawPath(arrow);
  });
}

QImage cmdWeb() {
  return icon(40, [](QPainter& p) {
    const QPointF c(17, 17);
    const qreal r = 13;
    p.setPen(Qt::NoPen);
    QRadialGradient sea(c + QPointF(-4, -5), r * 1.5);
    sea.setColorAt(0, pal::navyLight);
    sea.setColorAt(1, pal::navy);
    p.setBrush(sea);
    p.drawEllipse(c, r, r);
    p.save();
    p.setClipPath(circle(c, r));
    p.setBrush(pal::green);
    QPainterPath land;
    land.moveTo(7, 8);
    land.cubicTo(12, 4, 18, 6, 17, 11);
    land.cubicTo(16, 15, 11, 14, 12, 19);
    land.cubicTo(13, 24, 9, 26, 6, 22);
    land.closeSubpath();
    land.moveTo(21, 14);
    land.cubicTo(26, 12, 31, 15, 29, 21);
    land.cubicTo(27, 27, 22, 25, 22, 21);
    land.closeSubpath();
    p.drawPath(land);
    p.setPen(QPen(QColor(255, 255, 255, 120), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawLine(QPointF(c.x() - r, c.y() - 6.5), QPointF(c.x() + r, c.y() - 6.5));
    p.drawLine(QPointF(c.x() - r, c.y() + 6.5), QPointF(c.x() + r, c.y() + 6.5));
    p.restore();
    drawMagnifier(p, QPointF(27, 27), 6, 2.4, pal::maroon, pal::maroon, 6.5, 4);
  });
}

QImage cmdEmail() {
  return icon(40, [](QPainter& p) {
    const QRectF e(3.5, 7.5, 29, 20);
    p.setPen(QPen(pal::navy, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(vgrad(e.top(), e.bottom(), pal::paper, QColor(0xe4, 0xea, 0xfa)));
    p.drawRoundedRect(e, 2.5, 2.5);
    p.setPen(QPen(pal::greyLight, 1.2));
    p.drawLine(QPointF(e.left() + 2, e.bottom() - 1.5), QPointF(e.left() + 11, e.top() + 10));
    p.drawLine(QPointF(e.right() - 2, e.bottom() - 1.5), QPointF(e.right() - 11, e.top() + 10));
    QPainterPath flap;
    flap.moveTo(e.left() + 1, e.top() + 1);
    flap.lineTo(e.center().x(), e.top() + 12);
    flap.lineTo(e.right() - 1, e.top() + 1);
    p.setPen(QPen(pal::navy, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xd3, 0xda, 0xec));
    p.drawPath(flap);
    badge(p, QPointF(28.5, 28.5), 8, pal::maroonLight, pal::maroonDeep);
    p.setFont(font(kSans, 12, QFont::Bold));
    p.setPen(pal::paper);
    p.drawText(QRectF(20.5, 20, 16, 16), Qt::AlignCenter, QStringLiteral("@"));
  });
}

QImage cmdCheck() {
  return icon(24, [](QPainter& p) {
    p.setPen(QPen(pal::paper, 1.4));
    p.setBrush(grad(QPointF(0, 2), QPointF(0, 21), QColor(0x7c, 0xcc, 0x90), pal::greenDeep));
    p.drawEllipse(QPointF(12, 11.5), 9.6, 9.6);
    QPainterPath tick;
    tick.moveTo(7.4, 11.8);
    tick.lineTo(10.6, 15);
    tick.lineTo(16.6, 8.4);
    p.setPen(QPen(pal::paper, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
  });
}

// Navigation arrow: `dir` -1 points left, +1 right; `bar` adds the end stop.
QImage navArrow(int dir, bool bar) {
  return icon(24, [=](QPainter& p) {
    p.setPen(QPen(pal::paper, 1.2));
    p.setBrush(grad(QPointF(0, 2), QPointF(0, 21), pal::navyLight, pal::navy));
    p.drawEllipse(QPointF(12, 11.5), 10, 10);
    p.save();
    p.translate(12, 11.5);
    if (dir < 0) p.scale(-1, 1);
    const qreal x0 = bar ? -3.2 : -2.0;
    QPainterPath tri;
    tri.moveTo(x0, -5);
    tri.lineTo(x0 + 7, 0);
    tri.lineTo(x0, 5);
    tri.closeSubpath();
    p.setPen(QPen(pal::paper, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(pal::paper);
    p.drawPath(tri);
    if (bar) {
      p.setPen(Qt::NoPen);
      p.drawRoundedRect(QRectF(x0 + 7.6, -5.4, 2.4, 10.8), 1, 1);
    }
    p.restore();
  });
}

// A hand pointing right, at the button beside it: a cuff, a closed fist with
// its thumb on top, the index finger stretched out.
QImage pointingHand() {
  return icon(24, [](QPainter& p) {
    const QColor skin(0xf6, 0xd2, 0xa8), skinShade(0xe0, 0xaa, 0x78), outline(0x7a, 0x4a, 0x22);
    const QPen pen(outline, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(QPen(pal::paper, 1.0));
    p.setBrush(grad(QPointF(0, 7), QPointF(0, 20), pal::navyLight, pal::navy));
    p.drawRoundedRect(QRectF(0.8, 7.5, 4.6, 12.5), 1.2, 1.2);
    p.setPen(pen);
    p.setBrush(grad(QPointF(0, 8), QPointF(0, 20), skin, skinShade));
    p.drawRoundedRect(QRectF(5.2, 8.2, 8.6, 11.4), 3, 3);
    // The curled fingers, one above the other at the front of the fist.
    for (int i = 0; i < 3; ++i) p.drawRoundedRect(QRectF(10.4, 11.4 + 2.7 * i, 5.4, 2.7), 1.3, 1.3);
    p.setBrush(skin);
    p.drawRoundedRect(QRectF(11, 8.2, 11.8, 3.4), 1.7, 1.7);  // the index finger
    QPainterPath thumb;
    thumb.moveTo(6.4, 9.4);
    thumb.cubicTo(6.6, 5.6, 9.4, 4.6, 12.6, 6.6);
    thumb.cubicTo(13.6, 7.3, 13.2, 8.6, 12, 8.6);
    thumb.lineTo(9.6, 8.6);
    p.drawPath(thumb);
  });
}

// ---------------------------------------------------------------------------
// Card screen decorations

using Glyph = std::function<void(QPainter&, const QRectF&)>;

void glyphPerson(QPainter& p, const QRectF& r) {
  const qreal s = r.width() / 40.0;
  drawPerson(p, QPointF(r.center().x() + 6 * s, r.top() + 12 * s), 6 * s, QColor(0x9d, 0xb3, 0xf0), Qt::transparent, 0);
  drawPerson(p, QPointF(r.center().x() - 4 * s, r.top() + 15 * s), 7 * s, pal::green, pal::paper, 1.2 * s);
}

void glyphCarton(QPainter& p, const QRectF& r) {
  const qreal s = r.width() / 40.0;
  drawCarton(p, Carton{QPointF(r.center().x(), r.bottom() - 4 * s), 17 * s, 17 * s, 16 * s, true, false});
}

void glyphVan(QPainter& p, const QRectF& r) {
  p.save();
  const qreal s = r.width() / 156.0;
  p.translate(r.left() + 3 * s, r.center().y() - 40 * s);
  p.scale(s, s);
  drawVan(p);
  p.restore();
}

QImage decorBanner(const QString& title, const QString& subtitle, const Glyph& glyph) {
  QImage img(210, 56, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  prepare(p);
  const QRectF band(0, 0, 210, 56);
  QLinearGradient bg(0, 0, 210, 56);
  bg.setColorAt(0, QColor(0x1e, 0x30, 0xa8));
  bg.setColorAt(1, pal::navyDeep);
  p.setPen(Qt::NoPen);
  p.setBrush(bg);
  p.drawRect(band);
  for (int i = 0; i < 4; ++i) {
    p.setPen(QPen(QColor(255, 255, 255, 18), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(214, -6), 22.0 + i * 14, 22.0 + i * 14);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(pal::green);
  p.drawRect(QRectF(0, 48, 210, 2));
  p.setBrush(vgrad(50, 56, pal::maroonLight, pal::maroonDeep));
  p.drawRect(QRectF(0, 50, 210, 6));
  // Disc with the area's glyph.
  const QPointF c(27, 24.5);
  shadowed(p, 0, 1, 2, 0.5, [&](QPainter& q) {
    q.setPen(Qt::NoPen);
    q.setBrush(vgrad(c.y() - 18, c.y() + 18, pal::paper, pal::navyMist));
    q.drawEllipse(c, 18, 18);
    q.save();
    q.setClipPath(circle(c, 17));
    glyph(q, QRectF(c.x() - 14, c.y() - 14, 28, 28));
    q.restore();
  });
  p.setFont(font(kSans, 15, QFont::Bold));
  p.setPen(pal::paper);
  p.drawText(QPointF(54, 24), title);
  p.setFont(font(kSans, 10, QFont::Normal, true));
  p.setPen(pal::greenLight);
  p.drawText(QPointF(54, 39), subtitle);
  p.end();
  return img;
}

QImage panel(const QString& caption, const std::function<void(QPainter&)>& drawing) {
  QImage img(144, 265, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  prepare(p);
  const QRectF r(0, 0, 144, 265);
  p.setPen(Qt::NoPen);
  p.setBrush(vgrad(0, 265, QColor(0x1e, 0x30, 0xa8), QColor(0x00, 0x00, 0x5e)));
  p.drawRect(r);
  QRadialGradient glow(QPointF(72, 110), 90);
  glow.setColorAt(0, QColor(0x9d, 0xb4, 0xff, 100));
  glow.setColorAt(1, QColor(0x9d, 0xb4, 0xff, 0));
  p.setBrush(glow);
  p.drawRect(r);
  // Dotted grid in the upper part.
  p.setBrush(QColor(255, 255, 255, 26));
  for (int y = 10; y < 60; y += 10)
    for (int x = 10; x < 140; x += 10) p.drawEllipse(QPointF(x, y), 0.9, 0.9);
  for (int i = 0; i < 4; ++i) {
    p.setPen(QPen(QColor(255, 255, 255, 16), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 265), 40.0 + i * 22, 40.0 + i * 22);
  }
  p.drawImage(0, 0, withShadow(layer(144, 265, drawing), 1, 3, 3, 0.5, QColor(0, 0, 0x20)));
  // Caption on a maroon foot.
  p.setPen(Qt::NoPen);
  p.setBrush(pal::green);
  p.drawRect(QRectF(0, 224, 144, 2));
  p.setBrush(vgrad(226, 265, pal::maroonLight, pal::maroonDeep));
  p.drawRect(QRectF(0, 226, 144, 39));
  QFont f = font(kSans, 12, QFont::Bold);
  f.setLetterSpacing(QFont::AbsoluteSpacing, 2.2);
  p.setFont(f);
  p.setPen(pal::paper);
  p.drawText(QRectF(0, 226, 144, 39), Qt::AlignCenter, caption);
  p.end();
  return img;
}

QImage cardTile() {
  QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor(0xfa, 0xfc, 0xfa));
  QPainter p(&img);
  prepare(p);
  p.setPen(QPen(QColor(0xee, 0xf4, 0xee), 1));
  p.drawLine(QPointF(0, 15.5), QPointF(32, 15.5));
  p.drawLine(QPointF(15.5, 0), QPointF(15.5, 32));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xe2, 0xec, 0xe2));
  p.drawEllipse(QPointF(15.5, 15.5), 1.3, 1.3);
  p.setBrush(QColor(0xea, 0xee, 0xf8));
  p.drawEllipse(QPointF(0, 0), 1.1, 1.1);
  p.drawEllipse(QPointF(32, 0), 1.1, 1.1);
  p.drawEllipse(QPointF(0, 32), 1.1, 1.1);
  p.drawEllipse(QPointF(32, 32), 1.1, 1.1);
  p.end();
  return img;
}

// ---------------------------------------------------------------------------
// Login, help, application

QImage loginLogo() {
  QImage img = layer(260, 70, [](QPainter& p) {
    drawMark(p, QRectF(8, 10, 50, 50));
    QPainterPath word = wordPath(QStringLiteral("Zelvano"), font(kDisplay, 38, QFont::Bold));
    word.translate(68 - word.boundingRect().left(), 45);
    p.setPen(Qt::NoPen);
    p.setBrush(vgrad(17, 45, QColor(0x2a, 0x40, 0xc8), pal::navy));
    p.drawPath(word);
    const QRectF wb = word.boundingRect();
    p.setBrush(pal::maroon);
    p.drawRoundedRect(QRectF(wb.left() + 1, 51, wb.width() * 0.74, 3), 1.5, 1.5);
    p.setBrush(pal::greenDark);
    p.drawRoundedRect(QRectF(wb.left() + 1 + wb.width() * 0.74 + 3, 51, wb.width() * 0.26 - 4, 3), 1.5, 1.5);
    QFont f = font(kSans, 9, QFont::Bold);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    p.setFont(f);
    p.setPen(QColor(0x3a, 0x40, 0x60));
    p.drawText(QPointF(wb.left() + 1, 65), QStringLiteral("ACCESSO RISERVATO"));
  });
  return withShadow(img, 0, 1, 1, 0.3, QColor(0x30, 0x30, 0x30));
}

QImage helpLogo() {
  return layer(460, 70, [](QPainter& p) {
    QImage mark = layer(460, 70, [](QPainter& q) { drawMark(q, QRectF(10, 8, 52, 52)); });
    p.drawImage(0, 0, withShadow(mark, 0, 2, 2, 0.6, QColor(0, 0, 0x18)));
    QPainterPath word = wordPath(QStringLiteral("Zelvano"), font(kDisplay, 40, QFont::Bold));
    word.translate(76 - word.boundingRect().left(), 49);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::paper);
    p.drawPath(word);
    const qreal x = word.boundingRect().right() + 18;
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawRect(QRectF(x, 14, 1.5, 42));
    p.setFont(font(kSans, 26, QFont::Normal, true));
    p.setPen(pal::greenLight);
    p.drawText(QPointF(x + 18, 46), QStringLiteral("Guida in linea"));
  });
}

// A 16x16 PDF page, drawn pixel by pixel so it stays sharp.
QImage pdfIcon() {
  QImage img = blank(16, 16);
  QPainter p(&img);
  const QColor edge(0x8a, 0x93, 0xab);
  p.setPen(Qt::NoPen);
  p.fillRect(QRect(2, 0, 9, 16), pal::paper);
  p.fillRect(QRect(11, 4, 3, 12), pal::paper);
  p.fillRect(QRect(11, 1, 1, 3), pal::paper);
  p.fillRect(QRect(12, 2, 1, 2), pal::paper);
  p.fillRect(QRect(2, 0, 9, 1), edge);
  p.fillRect(QRect(2, 0, 1, 16), edge);
  p.fillRect(QRect(2, 15, 12, 1), edge);
  p.fillRect(QRect(13, 4, 1, 12), edge);
  p.fillRect(QRect(10, 0, 1, 4), edge);
  p.fillRect(QRect(10, 3, 4, 1), edge);
  p.fillRect(QRect(11, 1, 1, 1), edge);
  p.fillRect(QRect(12, 2, 1, 1), edge);
  p.fillRect(QRect(4, 3, 4, 1), pal::greyLight);
  p.fillRect(QRect(4, 5, 6, 1), pal::greyLight);
  // Maroon band with the letters.
  p.fillRect(QRect(0, 7, 15, 7), pal::maroon);
  static const char* const glyphs[3][5] = {
      {"###", "#.#", "###", "#..", "#.."},
      {"##.", "#.#", "#.#", "#.#", "##."},
      {"###", "#..", "##.", "#..", "#.."},
  };
  for (int g = 0; g < 3; ++g)
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 3; ++x)
        if (glyphs[g][y][x] == '#') img.setPixelColor(2 + g * 4 + x, 8 + y, pal::paper);
  p.end();
  return img;
}

QImage appIcon() {
  QImage mark = layer(256, 256, [](QPainter& p) { drawMark(p, QRectF(16, 12, 224, 224)); });
  return withShadow(mark, 0, 6, 6, 0.45);
}

// ---------------------------------------------------------------------------
// Identifier checks: one heading each, on the silver of its window: the
// identifier drawn at the left, its name and a line saying what is checked.

QImage checkLogo(const QString& title, const QString& subtitle, const std::function<void(QPainter&)>& glyph) {
  return layer(420, 56, [&](QPainter& p) {
    shadowed(p, 0, 2, 2, 0.45, glyph);
    p.setPen(Qt::NoPen);
    QPainterPath word = wordPath(title, font(kDisplay, 26, QFont::Bold));
    word.translate(84 - word.boundingRect().left(), 30);
    p.setBrush(vgrad(8, 30, QColor(0x2a, 0x40, 0xc8), pal::navy));
    p.drawPath(word);
    const QRectF wb = word.boundingRect();
    p.setBrush(pal::maroon);
    p.drawRoundedRect(QRectF(wb.left() + 1, 36, std::max<qreal>(wb.width(), 150) * 0.74, 3), 1.5, 1.5);
    p.setBrush(pal::greenDark);
    p.drawRoundedRect(QRectF(wb.left() + 1 + std::max<qreal>(wb.width(), 150) * 0.74 + 3, 36,
                             std::max<qreal>(wb.width(), 150) * 0.26 - 4, 3), 1.5, 1.5);
    QFont f = font(kSans, 9, QFont::Bold);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1.1);
    p.setFont(f);
    p.setPen(QColor(0x3a, 0x40, 0x60));
    p.drawText(QPointF(wb.left() + 1, 51), subtitle);
  });
}

// A plastic card in the glyph's 70x50 place at the left of the heading.
QPainterPath cardOutline() { return rounded(QRectF(4, 9, 66, 42), 5); }

void glyphTaxCard(QPainter& p) {
  const QPainterPath card = cardOutline();
  p.setPen(QPen(QColor(0x6e, 0x9c, 0x7c), 1));
  p.setBrush(grad(QPointF(4, 9), QPointF(70, 51), pal::greenPale, QColor(0xb4, 0xd8, 0xbc)));
  p.drawPath(card);
  p.save();
  p.setClipPath(card);
  p.setPen(Qt::NoPen);
  p.setBrush(pal::navy);
  p.drawRect(QRectF(4, 9, 66, 8));
  p.restore();
  p.setBrush(pal::paper);
  p.drawRoundedRect(QRectF(9, 21, 17, 22), 2, 2);
  drawPerson(p, QPointF(17.5, 27), 3.6, QColor(0x6a, 0x78, 0xa8), pal::paper, 0);
  drawLines(p, 30, 22, 5, 2, QColor(0x5a, 0x6e, 0x8a), {34, 26, 30});
  // The code's control character, set apart in maroon.
  p.setBrush(pal::maroon);
  p.drawRoundedRect(QRectF(30, 38, 30, 5), 1.5, 1.5);
  p.setBrush(pal::paper);
  p.drawRoundedRect(QRectF(56, 39, 3, 3), 1, 1);
}

void glyphVatForm(QPainter& p) {
  drawPage(p, QRectF(12, 3, 38, 50), 10, 1.2);
  drawLines(p, 17, 14, 5.5, 2, pal::greyLight, {22, 26, 18, 24});
  drawLines(p, 17, 40, 5, 2, QColor(0x5a, 0x6e, 0x8a), {12});
  // The office stamp.
  const QPointF c(50, 38);
  p.setPen(QPen(pal::maroon, 2));
  p.setBrush(withAlpha(pal::paper, 230));
  p.drawEllipse(c, 14, 14);
  p.setPen(QPen(pal::maroon, 0.8));
  p.drawEllipse(c, 11, 11);
  p.setFont(font(kSans, 10, QFont::Bold));
  p.drawText(QRectF(c.x() - 12, c.y() - 7, 24, 14), Qt::AlignCenter, QStringLiteral("IVA"));
}

void glyphCreditCard(QPainter& p) {
  const QPainterPath card = cardOutline();
  p.setPen(Qt::NoPen);
  p.setBrush(grad(QPointF(4, 9), QPointF(70, 51), QColor(0x3a, 0x55, 0xd0), pal::navyDeep));
  p.drawPath(card);
  p.save();
  p.setClipPath(card);
  QRadialGradient gloss(QPointF(20, 0), 60);
  gloss.setColorAt(0, QColor(255, 255, 255, 70));
  gloss.setColorAt(1, QColor(255, 255, 255, 0));
  p.setBrush(gloss);
  p.drawRect(QRectF(4, 9, 66, 42));
  p.restore();
  // The chip.
  p.setBrush(vgrad(18, 30, pal::gold, pal::goldDark));
  p.drawRoundedRect(QRectF(11, 18, 13, 10), 2, 2);
  p.setPen(QPen(withAlpha(pal::goldDark, 200), 0.7));
  p.drawLine(QPointF(17.5, 18), QPointF(17.5, 28));
  p.drawLine(QPointF(11, 23), QPointF(24, 23));
  // Four groups of digits.
  p.setPen(Qt::NoPen);
  p.setBrush(withAlpha(pal::paper, 230));
  for (int g = 0; g < 4; ++g)
    for (int d = 0; d < 4; ++d) p.drawEllipse(QPointF(11 + g * 15 + d * 3.2, 36), 1.1, 1.1);
  drawLines(p, 11, 43, 4, 2, withAlpha(pal::paper, 150), {22});
  // The network's two circles.
  p.setBrush(withAlpha(QColor(0xe0, 0x40, 0x30), 220));
  p.drawEllipse(QPointF(56, 44), 4.5, 4.5);
  p.setBrush(withAlpha(pal::gold, 220));
  p.drawEllipse(QPointF(62, 44), 4.5, 4.5);
}

void glyphBank(QPainter& p) {
  const QColor stone = QColor(0xe8, 0xec, 0xf6);
  p.setPen(QPen(pal::navy, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(vgrad(3, 17, stone, QColor(0xc4, 0xcc, 0xe4)));
  p.drawPolygon(QPolygonF({QPointF(37, 3), QPointF(66, 17), QPointF(8, 17)}));
  p.drawRect(QRectF(10, 17, 54, 4));
  for (int i = 0; i < 5; ++i) {
    p.setBrush(grad(QPointF(14 + i * 11, 0), QPointF(20 + i * 11, 0), pal::paper, QColor(0xb8, 0xc2, 0xde)));
    p.drawRect(QRectF(14 + i * 11, 22, 6, 22));
  }
  p.setBrush(vgrad(44, 53, stone, QColor(0xc4, 0xcc, 0xe4)));
  p.drawRect(QRectF(8, 45, 58, 4));
  p.drawRect(QRectF(5, 49, 64, 4));
  // The euro sign in the pediment.
  p.setPen(pal::maroon);
  p.setFont(font(kSans, 9, QFont::Bold));
  p.drawText(QRectF(31, 7, 12, 10), Qt::AlignCenter, QString(QChar(0x20AC)));
}

// ---------------------------------------------------------------------------
// About box and credits window

// The about box's heading, on the silver of its group box: the mark, the
// name and what the window is about.
QImage infoLogo() {
  return layer(392, 56, [](QPainter& p) {
    QImage mark = layer(392, 56, [](QPainter& q) { drawMark(q, QRectF(6, 4, 46, 46)); });
    p.drawImage(0, 0, withShadow(mark, 0, 2, 2, 0.4));
    QPainterPath word = wordPath(QStringLiteral("Zelvano"), font(kDisplay, 32, QFont::Bold));
    word.translate(62 - word.boundingRect().left(), 38);
    p.setPen(Qt::NoPen);
    p.setBrush(vgrad(14, 38, QColor(0x2a, 0x40, 0xc8), pal::navy));
    p.drawPath(word);
    const QRectF wb = word.boundingRect();
    p.setBrush(pal::maroon);
    p.drawRoundedRect(QRectF(wb.left() + 1, 44, wb.width() * 0.74, 3), 1.5, 1.5);
    p.setBrush(pal::greenDark);
    p.drawRoundedRect(QRectF(wb.left() + 1 + wb.width() * 0.74 + 3, 44, wb.width() * 0.26 - 4, 3), 1.5, 1.5);
    const qreal x = wb.right() + 16;
    p.setBrush(withAlpha(pal::navy, 70));
    p.drawRect(QRectF(x, 10, 1.2, 36));
    // The subtitle takes the largest size that fits beside the name.
    const QString subtitle = QStringLiteral("Informazioni");
    int px = 17;
    while (px > 9 && QFontMetricsF(font(kSans, px, QFont::Normal, true)).horizontalAdvance(subtitle) > 392 - x - 18) --px;
    p.setFont(font(kSans, px, QFont::Normal, true));
    p.setPen(pal::ink);
    p.drawText(QPointF(x + 12, 34), subtitle);
  });
}

// A delivery in front of the warehouse, for the about box's photo frame.
QImage infoPhoto() {
  QImage img(122, 142, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&img);
  prepare(p);
  p.fillRect(QRectF(0, 0, 122, 142), vgrad(0, 96, QColor(0x9d, 0xb8, 0xea), QColor(0xe6, 0xee, 0xfb)));
  // The warehouse: a navy hall with a maroon band and a rolling door.
  p.setPen(Qt::NoPen);
  p.setBrush(vgrad(34, 100, pal::navyLight, pal::navy));
  p.drawPolygon(QPolygonF({QPointF(6, 100), QPointF(6, 46), QPointF(61, 28), QPointF(116, 46), QPointF(116, 100)}));
  p.setBrush(pal::maroon);
  p.drawRect(QRectF(6, 52, 110, 6));
  p.setBrush(QColor(0xc7, 0xcd, 0xdb));
  p.drawRect(QRectF(38, 66, 46, 34));
  p.setPen(QPen(QColor(0x9a, 0xa3, 0xbb), 1));
  for (qreal y = 70; y < 100; y += 4) p.drawLine(QPointF(38, y), QPointF(84, y));
  drawMark(p, QRectF(53, 34, 16, 16));
  // Yard.
  p.setPen(Qt::NoPen);
  p.setBrush(vgrad(100, 142, QColor(0x8a, 0x93, 0xab), QColor(0x5c, 0x64, 0x80)));
  p.drawRect(QRectF(0, 100, 122, 42));
  p.setBrush(withAlpha(pal::paper, 150));
  for (qreal x = 4; x < 122; x += 22) p.drawRect(QRectF(x, 128, 12, 2));
  // The van leaving with its load, and cartons waiting by the door.
  p.save();
  p.translate(4, 92);
  p.scale(0.5, 0.5);
  drawVan(p);
  p.restore();
  drawCarton(p, {QPointF(102, 112), 9, 9, 12, true, false});
  drawCarton(p, {QPointF(102, 100), 7, 7, 9, true, false});
  p.end();
  return img;
}

// The text of the about box's white information panel.
QImage infoPanel() {
  QImage img(252, 142, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  prepare(p);
  p.setFont(font(kDisplay, 20, QFont::Bold));
  p.setPen(pal::navy);
  p.drawText(QPointF(10, 28), QStringLiteral("Zelvano"));
  p.setFont(font(kSans, 12));
  p.setPen(pal::grey);
  p.drawText(QPointF(114, 28), QStringLiteral("versione 1.0"));
  drawLines(p, 10, 36, 0, 2, pal::maroon, {232});
  p.setFont(font(kSans, 12));
  p.setPen(pal::ink);
  p.drawText(QRectF(10, 44, 232, 48), Qt::TextWordWrap,
             QStringLiteral("Software gestionale per organizzare il lavoro dei fornitori di prodotti, "
                            "materiali e servizi."));
  p.setFont(font(kSans, 12, QFont::Bold));
  p.drawText(QPointF(10, 112), QStringLiteral("\u00A9 2026 Zelvano Software"));
  p.setFont(font(kSans, 11));
  p.setPen(pal::grey);
  p.drawText(QPointF(10, 130), QStringLiteral("Tutti i diritti riservati."));
  p.end();
  return img;
}

// 16x16 link pictures beside the about box's links.
QImage linkEmail() {
  return layer(16, 16, [](QPainter& p) {
    p.setPen(QPen(pal::navy, 1));
    p.setBrush(pal::paper);
    p.drawRect(QRectF(1.5, 3.5, 13, 9));
    p.drawPolyline(QPolygonF({QPointF(1.5, 3.5), QPointF(8, 9), QPointF(14.5, 3.5)}));
  });
}

QImage linkWeb() {
  return layer(16, 16, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(pal::navy);
    p.drawEllipse(QPointF(8, 8), 7, 7);
    p.setBrush(pal::green);
    p.drawEllipse(QPointF(6, 6), 2.6, 2.2);
    p.drawEllipse(QPointF(10.5, 10), 2.4, 2.8);
    p.setPen(QPen(withAlpha(pal::paper, 150), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 8), 3, 6.5);
    p.drawLine(QPointF(1, 8), QPointF(15, 8));
  });
}

// The credits window's background: the name and the credits over a night
// sky with a floor grid running to the horizon.
QImage splashBackground() {
  const int w = 597;
  const int h = 362;
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&img);
  prepare(p);
  p.fillRect(QRectF(0, 0, w, h), vgrad(0, h, pal::navyDeep, QColor(0x00, 0x00, 0x20)));
  QRadialGradient glow(QPointF(w / 2.0, 120), 300);
  glow.setColorAt(0, withAlpha(pal::navyLight, 110));
  glow.setColorAt(1, withAlpha(pal::navyLight, 0));
  p.fillRect(QRectF(0, 0, w, h), glow);
  // Stars from a fixed sequence, so every build draws the same sky.
  uint32_t seed = 12345;
  auto next = [&seed] { seed = seed * 1103515245u + 12345u; return (seed >> 8) & 0xFFFF; };
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 90; ++i) {
    const qreal x = next() % w;
    const qreal y = next() % 230;
    const qreal r = 0.4 + (next() % 10) / 10.0;
    p.setBrush(withAlpha(pal::paper, 80 + static_cast<int>(next() % 150)));
    p.drawEllipse(QPointF(x, y), r, r);
  }
  // The floor: lines converging on the horizon, and crossing lines closer
  // together as they recede.
  const qreal horizon = 250;
  p.setPen(QPen(withAlpha(pal::green, 90), 1));
  for (int i = -12; i <= 12; ++i) p.drawLine(QPointF(w / 2.0 + i * 12, horizon), QPointF(w / 2.0 + i * 70, h));
  for (int i = 1; i <= 8; ++i) {
    const qreal y = horizon + (h - horizon) * (i * i) / 64.0;
    p.drawLine(QPointF(0, y), QPointF(w, y));
  }
  p.setPen(QPen(withAlpha(pal::green, 160), 1.5));
  p.drawLine(QPointF(0, horizon), QPointF(w, horizon));

  // The name with its maroon and green rule.
  QPainterPath word = wordPath(QStringLiteral("Zelvano"), font(kDisplay, 64, QFont::Bold));
  const QRectF wb = word.boundingRect();
  word.translate((w - wb.width()) / 2 - wb.left(), 104);
  QImage title = layer(w, h, [&](QPainter& q) {
    q.setPen(Qt::NoPen);
    q.setBrush(vgrad(50, 104, pal::paper, pal::navyPale));
    q.drawPath(word);
  });
  p.drawImage(0, 0, withShadow(title, 0, 3, 4, 0.8, QColor(0, 0, 0)));
  const QRectF tr = word.boundingRect();
  p.setPen(Qt::NoPen);
  p.setBrush(pal::maroonLight);
  p.drawRoundedRect(QRectF(tr.left(), 114, tr.width() * 0.76, 4), 2, 2);
  p.setBrush(pal::green);
  p.drawRoundedRect(QRectF(tr.left() + tr.width() * 0.76 + 4, 114, tr.width() * 0.24 - 4, 4), 2, 2);

  auto centred = [&](qreal y, const QFont& f, const QColor& c, const QString& text) {
    p.setFont(f);
    p.setPen(c);
    p.drawText(QRectF(0, y, w, 24), Qt::AlignHCenter | Qt::AlignTop, text);
  };
  centred(130, font(kSans, 15, QFont::Normal, true), pal::navyPale,
          QStringLiteral("Software gestionale per fornitori di prodotti, materiali e servizi"));
  centred(176, font(kSans, 12), pal::greenLight, QStringLiteral("PROGETTO, PROGRAMMAZIONE E GRAFICA"));
  centred(194, font(kSans, 20, QFont::Bold), pal::paper, QStringLiteral("Zelvano Software"));
  centred(222, font(kSans, 14), pal::navyPale, QStringLiteral("www.zelvano.example"));
  centred(300, font(kSans, 12), withAlpha(pal::paper, 200), QStringLiteral("\u00A9 2026 - Tutti i diritti riservati"));
  centred(322, font(kSans, 11, QFont::Normal, true), withAlpha(pal::paper, 150),
          QStringLiteral("Fare clic per visitare il sito Internet"));
  p.end();
  return img;
}

// The logo that drifts over the credits: a navy badge with the mark and the
// name. The window takes the colour of the bottom-left pixel as transparent,
// so the badge stands on a key colour with a sharp edge: pixels at least half
// covered are laid over the night blue of the background, the rest are key.
QImage splashSprite() {
  const QImage drawn = layer(108, 60, [](QPainter& p) {
    const QRectF r(1, 1, 106, 58);
    p.setPen(QPen(pal::navyPale, 1.5));
    p.setBrush(grad(QPointF(0, 0), QPointF(0, 60), pal::navyLight, pal::navyDeep));
    p.drawRoundedRect(r, 13, 13);
    drawMark(p, QRectF(7, 12, 36, 36));
    // The name takes the largest size that fits between the mark and the edge.
    const QString name = QStringLiteral("Zelvano");
    int px = 15;
    while (px > 8 && QFontMetricsF(font(kDisplay, px, QFont::Bold)).horizontalAdvance(name) > 54) --px;
    const qreal width = QFontMetricsF(font(kDisplay, px, QFont::Bold)).horizontalAdvance(name);
    const qreal left = 47 + (56 - width) / 2;
    p.setFont(font(kDisplay, px, QFont::Bold));
    p.setPen(pal::paper);
    p.drawText(QPointF(left, 34), name);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::green);
    p.drawRoundedRect(QRectF(left, 39, width, 3), 1.5, 1.5);
  });
  const QImage art = drawn.convertToFormat(QImage::Format_ARGB32);
  const QColor key(0xff, 0x00, 0xff);
  const QColor night(0x00, 0x00, 0x30);
  QImage out(108, 60, QImage::Format_RGB32);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 108; ++x) {
      const QColor c = art.pixelColor(x, y);
      const qreal a = c.alphaF();
      out.setPixelColor(x, y, a < 0.5 ? key
                                      : QColor::fromRgbF(c.redF() * a + night.redF() * (1 - a),
                                                         c.greenF() * a + night.greenF() * (1 - a),
                                                         c.blueF() * a + night.blueF() * (1 - a)));
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: artgen <output folder>\n");
    return 2;
  }
  Output out;
  out.dir = QDir(QString::fromLocal8Bit(argv[1]));
  if (!out.dir.exists() && !QDir().mkpath(out.dir.absolutePath())) {
    std::fprintf(stderr, "artgen: cannot create %s\n", argv[1]);
    return 1;
  }
  std::printf("Writing the artwork into %s\n", qPrintable(out.dir.absolutePath()));

  // Start screen.
  save(out, QStringLiteral("logo01.png"), logoMark(), 120, 90);
  save(out, QStringLiteral("logo02.png"), wordmark(), 420, 90);
  save(out, QStringLiteral("tile.png"), startTile(), 32, 32);
  save(out, QStringLiteral("info.png"), infoButton(), 48, 48);
  save(out, QStringLiteral("guida.png"), guideButton(), 48, 48);
  save(out, QStringLiteral("copyright.png"), copyrightButton(), 48, 48);
  save(out, QStringLiteral("esci.png"), exitButton(), 48, 48);

  save(out, QStringLiteral("clienti.jpg"), entryCard(drawClients), 225, 256);
  save(out, QStringLiteral("prodotti.jpg"), entryCard(drawProducts), 225, 256);
  save(out, QStringLiteral("crea.jpg"), entryCard(drawNewDocument), 225, 256);
  save(out, QStringLiteral("forniture.jpg"), entryCard(drawSupplyFolder), 225, 256);

  save(out, QStringLiteral("tit_clienti.png"), entryTitle(QStringLiteral("Anagrafica clienti")), 224, 42);
  save(out, QStringLiteral("tit_prodotti.png"), entryTitle(QStringLiteral("Prodotti e servizi")), 224, 42);
  save(out, QStringLiteral("tit_crea.png"), entryTitle(QStringLiteral("Crea fornitura")), 224, 42);
  save(out, QStringLiteral("tit_forniture.png"), entryTitle(QStringLiteral("Apri fornitura")), 224, 42);

  const std::vector<Description> descriptions{
      {"inf_clienti.png", QStringLiteral("Rubrica elettronica dei clienti"),
       {QStringLiteral("Dati anagrafici, fiscali e bancari"),
        QStringLiteral("Verifica codice fiscale, IVA e IBAN"),
        QStringLiteral("Allegati, cartella ed e-mail")}},
      {"inf_prodotti.png", QStringLiteral("Archivio prodotti e servizi"),
       {QStringLiteral("Prezzi, fornitori e ubicazione"),
        QStringLiteral("Giacenze con scorta minima"),
        QStringLiteral("Ricerca sul web ed esportazione")}},
      {"inf_crea.png", QStringLiteral("Nuova fornitura"),
       {QStringLiteral("Crea l'archivio di una fornitura"),
        QStringLiteral("Un nome completo: cliente e data"),
        QStringLiteral("Subito pronta per le schede")}},
      {"inf_forniture.png", QStringLiteral("Forniture archiviate"),
       {QStringLiteral("Apri una fornitura dall'elenco"),
        QStringLiteral("Schede dei prodotti e totale"),
        QStringLiteral("Pagamenti in sospeso e stampa")}},
  };
  const int px = descriptionFontSize(descriptions);
  for (const Description& d : descriptions)
    save(out, QString::fromLatin1(d.file), entryDescription(d, px), 228, 105);

  writeAnimation(out, QStringLiteral("animata.gif"));

  // Card screens.
  save(out, QStringLiteral("cmd_nuovo.png"), cmdNuovo(), 40, 40);
  save(out, QStringLiteral("cmd_salva.png"), cmdSalva(), 40, 40);
  save(out, QStringLiteral("cmd_ricerca.png"), cmdRicerca(), 40, 40);
  save(out, QStringLiteral("cmd_word.png"), officeIcon(QStringLiteral("W"), pal::navyLight, pal::navy, false), 40, 40);
  save(out, QStringLiteral("cmd_excel.png"), officeIcon(QStringLiteral("X"), QColor(0x5e, 0xb4, 0x74), pal::greenDeep, true), 40, 40);
  save(out, QStringLiteral("cmd_allega.png"), cmdAllega(), 40, 40);
  save(out, QStringLiteral("cmd_associa.png"), cmdAssocia(), 40, 40);
  save(out, QStringLiteral("cmd_guida.png"), cmdGuida(), 40, 40);
  save(out, QStringLiteral("cmd_elimina.png"), cmdElimina(), 40, 40);
  save(out, QStringLiteral("cmd_esci.png"), cmdEsci(), 40, 40);
  save(out, QStringLiteral("cmd_stampa.png"), cmdStampa(), 40, 40);
  save(out, QStringLiteral("cmd_importa.png"), cmdImporta(), 40, 40);
  save(out, QStringLiteral("cmd_sospesi.png"), cmdSospesi(), 40, 40);
  save(out, QStringLiteral("cmd_sottoscorta.png"), cmdSottoscorta(), 40, 40);
  save(out, QStringLiteral("cmd_web.png"), cmdWeb(), 40, 40);
  save(out, QStringLiteral("cmd_email.png"), cmdEmail(), 40, 40);
  save(out, QStringLiteral("cmd_check.png"), cmdCheck(), 24, 24);
  save(out, QStringLiteral("nav_primo.png"), navArrow(-1, true), 24, 24);
  save(out, QStringLiteral("nav_indietro.png"), navArrow(-1, false), 24, 24);
  save(out, QStringLiteral("nav_avanti.png"), navArrow(1, false), 24, 24);
  save(out, QStringLiteral("nav_ultimo.png"), navArrow(1, true), 24, 24);
  save(out, QStringLiteral("mano.png"), pointingHand(), 24, 24);

  save(out, QStringLiteral("decor_clienti.jpg"),
       decorBanner(QStringLiteral("Anagrafica clienti"), QStringLiteral("Rubrica e dati fiscali"), glyphPerson), 210, 56);
  save(out, QStringLiteral("decor_prodotti.jpg"),
       decorBanner(QStringLiteral("Prodotti e servizi"), QStringLiteral("Articoli, prezzi e scorte"), glyphCarton), 210, 56);
  save(out, QStringLiteral("decor_forniture.jpg"),
       decorBanner(QStringLiteral("Forniture"), QStringLiteral("Schede, importi e pagamenti"), glyphVan), 210, 56);

  save(out, QStringLiteral("riquadro_clienti.jpg"), panel(QStringLiteral("CLIENTI"), [](QPainter& p) {
         p.translate(-30, 22);
         p.scale(0.8, 0.8);
         drawClients(p);
       }), 144, 265);
  save(out, QStringLiteral("riquadro_prodotti.jpg"), panel(QStringLiteral("PRODOTTI"), [](QPainter& p) {
         p.translate(-22, 8);
         p.scale(0.84, 0.84);
         drawProducts(p);
       }), 144, 265);
  save(out, QStringLiteral("riquadro_forniture.jpg"), panel(QStringLiteral("FORNITURE"), [](QPainter& p) {
         p.save();
         p.translate(-14, 4);
         p.scale(0.66, 0.66);
         drawSupplyFolder(p);
         p.restore();
         p.translate(10, 150);
         p.scale(0.8, 0.8);
         drawVan(p);
       }), 144, 265);
  save(out, QStringLiteral("card_tile.png"), cardTile(), 32, 32);

  // Login, help and the application icon.
  save(out, QStringLiteral("login_logo.png"), loginLogo(), 260, 70);
  save(out, QStringLiteral("help_logo.png"), helpLogo(), 460, 70);
  save(out, QStringLiteral("pdf.png"), pdfIcon(), 16, 16);
  save(out, QStringLiteral("zelvano.png"), appIcon(), 256, 256);

  // Identifier checks.
  save(out, QStringLiteral("chk_codfisc.png"),
       checkLogo(QStringLiteral("Codice fiscale"), QStringLiteral("CARATTERE DI CONTROLLO"), glyphTaxCard), 420, 56);
  save(out, QStringLiteral("chk_iva.png"),
       checkLogo(QStringLiteral("Partita IVA"), QStringLiteral("CIFRA DI CONTROLLO E UFFICIO IVA"), glyphVatForm), 420,
       56);
  save(out, QStringLiteral("chk_carta.png"),
       checkLogo(QStringLiteral("Carta di credito"), QStringLiteral("CIFRA DI CONTROLLO E CIRCUITO"), glyphCreditCard),
       420, 56);
  save(out, QStringLiteral("chk_iban.png"),
       checkLogo(QStringLiteral("Codice IBAN"), QStringLiteral("CONTROLLO MOD 97"), glyphBank), 420, 56);

  // About box and credits window.
  save(out, QStringLiteral("info_logo.png"), infoLogo(), 392, 56);
  save(out, QStringLiteral("info_foto.jpg"), infoPhoto(), 122, 142);
  save(out, QStringLiteral("info_pannello.png"), infoPanel(), 252, 142);
  save(out, QStringLiteral("info_email.png"), linkEmail(), 16, 16);
  save(out, QStringLiteral("info_web.png"), linkWeb(), 16, 16);
  save(out, QStringLiteral("splash_sfondo.jpg"), splashBackground(), 597, 362);
  save(out, QStringLiteral("splash_logo.png"), splashSprite(), 108, 60);

  std::printf("%d files, %lld bytes\n", out.files, static_cast<long long>(out.bytes));
  return out.ok ? 0 : 1;
}
