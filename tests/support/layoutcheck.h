// Checks of a window's layout that need no eyes: texts that do not fit
// their widget, widgets that reach out of their parent.
#pragma once

#include <QSize>
#include <QStringList>

class QWidget;

// One line per fault, naming the widget; empty when the window is sound.
// Only what is shown counts: hidden widgets and pages not on top are skipped.
QStringList layoutFaults(const QWidget &window);

// The least screen the windows must fit: 1024 x 600 pixels at 144 dots per
// inch, in the toolkit's device-independent pixels.
inline constexpr QSize kSmallScreen{1024 * 96 / 144, 600 * 96 / 144};
