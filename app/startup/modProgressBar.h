// A percentage bar painted into a picture label: a red bar from the left, the percent
// centred on it, shown inverted where the bar covers it.
#pragma once

#include <QString>

class QImage;
class QLabel;

namespace modProgressBar {

// The label text for a fraction 0.0-1.0: rounded percent and "%". Unless `exact`, 0 shows
// as 1 and 100 as 99, so a bar never looks finished before it is.
QString percentText(float fraction, bool exact = false);

// Paints the bar into `image` (its size is the box size) ...
void DrawPercentBar(QImage& image, float fraction, bool exact = false);
// ... or into the label's pixmap, sized to the label.
void DrawPercentBar(QLabel* picture, float fraction, bool exact = false);

}  // namespace modProgressBar
