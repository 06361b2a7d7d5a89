#include "logging.h"

Q_LOGGING_CATEGORY(lcDocs, "quirtle.docs")
