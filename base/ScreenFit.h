#ifndef SCREENFIT_H
#define SCREENFIT_H

#include <QRect>

// Where a window whose frame was `frame` belongs on a screen whose available
// area is `available`: a place saved on a wider or other screen would open
// it partly or wholly out of reach. The frame is moved in by the least
// distance that makes it fit; only a frame larger than the area is also
// shrunk to it. A frame already inside, or an empty area (no screen known),
// is returned as it is.
QRect keptOnScreen(const QRect &frame, const QRect &available);

#endif
