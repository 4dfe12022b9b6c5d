#ifndef STOREDBOOL_H
#define STOREDBOOL_H

#include <QVariant>

// A switch as the settings file holds it: true/false or 1/0 in any case.
// Anything else gives the fallback (QVariant::toBool() would take every other
// word for true).
bool storedBool(const QVariant &value, bool fallback);

#endif
