// A readable difference of two texts, line by line, for tests that compare
// whole texts (golden files): only the changed places, with a little context.
#pragma once

#include <QString>
#include <QStringList>

// Empty when the lines are equal; otherwise hunks headed "@@ expected line
// N, actual line M @@", with " " for context, "-" for lines only expected
// and "+" for lines only found.
QString lineDiff(const QStringList &expected, const QStringList &actual, int context = 2);
