#include "logging.h"

Q_LOGGING_CATEGORY(lcPlatform, "quirtle.platform")
