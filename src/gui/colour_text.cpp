#include "gui/colour_text.h"

#include <algorithm>
#include <cmath>

#include "core/lenient_number.h"
#include "core/run_error.h"

namespace ostrel::gui {
namespace {

int component(const QString& text) {
  double value = 0.0;
  try {
    value = round_half_even(lenient_value(text.toStdString()));
  } catch (const RunError&) {
    value = text.trimmed().startsWith('-') ? 0.0 : 255.0;  // too large for any number
  }
  if (!(value >= 0.0)) return 0;  // negative, or not a number
  return static_cast<int>(std::min(value, 255.0));
}

}  // namespace

QColor colour_from_text(const QString& text) {
  const qsizetype first = text.indexOf('.');
  if (first < 0) {
    int grey = component(text);
    return QColor(grey, grey, grey);
  }
  const qsizetype second = text.indexOf('.', first + 1);
  if (second < 0) return QColor(component(text.left(first)), component(text.mid(first + 1)), 0);
  return QColor(component(text.left(first)), component(text.mid(first + 1, second - first - 1)),
                component(text.mid(second + 1, 3)));
}

QString colour_text(const QColor& colour) {
  return QStringLiteral("%1.%2.%3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

qint64 colour_number(const QColor& colour) {
  return colour.red() + 256 * static_cast<qint64>(colour.green()) +
         65536 * static_cast<qint64>(colour.blue());
}

QColor colour_from_number(qint64 number) {
  const qint64 blue = number / 65536;
  const qint64 green = (number - 65536 * blue) / 256;
  const qint64 red = number - 256 * (number / 256);
  auto clamp = [](qint64 value) { return static_cast<int>(std::clamp<qint64>(value, 0, 255)); };
  return QColor(clamp(red), clamp(green), clamp(blue));
}

QColor range_colour(const QColor& left, const QColor& right, int position) {
  auto mix = [position](int from, int to) {
    return static_cast<int>(std::floor(from + position * (to - from) / 63.0));
  };
  return QColor(mix(left.red(), right.red()), mix(left.green(), right.green()),
                mix(left.blue(), right.blue()));
}

}  // namespace ostrel::gui
