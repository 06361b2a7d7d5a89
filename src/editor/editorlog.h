// The logging category of the editor folder ("quirtle.editor"): what should
// not happen but is survived is told here, so that it shows up in a log
// instead of passing unnoticed.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcEditor)
