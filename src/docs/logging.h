// The logging category of this folder: what should not happen, but is
// survived, is told here; warnings show by default.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcDocs)
