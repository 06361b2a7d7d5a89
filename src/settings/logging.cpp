#include "logging.h"

Q_LOGGING_CATEGORY(lcSettings, "quirtle.settings")
