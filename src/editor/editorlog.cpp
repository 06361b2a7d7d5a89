#include "editorlog.h"

Q_LOGGING_CATEGORY(lcEditor, "quirtle.editor")
