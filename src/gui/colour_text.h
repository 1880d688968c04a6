// Colours as the colour forms show and return them.
//
// A colour text is "red.green.blue" (each 0..255) or one number standing for a grey. The forms
// paint a button from its text and hand a picked colour back as a colour number
// red + 256·green + 65536·blue, written into a slot as "red.green.blue". (The writers read the
// slot texts themselves, with their own clipping messages: input/colour.h.)
#pragma once

#include <QColor>
#include <QString>

namespace ostrel::gui {

// The paint colour of a colour text: without a period all three components are its number;
// otherwise red is the number before the first period, green the number up to the second one,
// and blue the number in at most three characters after it. A text with a single period reads
// as red.green with blue 0. Components are taken to the nearest integer, then held to 0..255
// ("10.20.300" paints (10, 20, 255)).
QColor colour_from_text(const QString& text);

// "red.green.blue" of a colour: (184, 115, 51) gives "184.115.51".
QString colour_text(const QColor& colour);

// The colour number red + 256·green + 65536·blue, and back.
qint64 colour_number(const QColor& colour);
QColor colour_from_number(qint64 number);

// Position 0..62 of the range bar between `left` and `right`: per component the integer part of
// c1 + position·(c2 − c1)/63. From black to white, position 62 is (250, 250, 250).
QColor range_colour(const QColor& left, const QColor& right, int position);

// Cells of the range bar: positions 0..62.
inline constexpr int kRangeCells = 63;

}  // namespace ostrel::gui
