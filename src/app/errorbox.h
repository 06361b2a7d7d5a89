// The one error box for errors that no command handled.
#pragma once

#include <QString>

class QWidget;

// Message 3012, the error's text and message 3013, each on lines of their own.
QString errorBoxText(const QString &errorMessage);
void showErrorBox(QWidget *parent, const QString &errorMessage);
