#include "logging.h"

Q_LOGGING_CATEGORY(lcCommon, "quirtle.common")
