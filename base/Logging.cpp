#include "Logging.h"

// Information and above are shown unless a rule turns them off.
Q_LOGGING_CATEGORY(lcAudio, "qtutakaze.audio", QtInfoMsg)
Q_LOGGING_CATEGORY(lcReading, "qtutakaze.reading", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSettings, "qtutakaze.settings", QtInfoMsg)
