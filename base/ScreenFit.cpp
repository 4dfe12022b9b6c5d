#include "ScreenFit.h"

#include <algorithm>

QRect keptOnScreen(const QRect &frame, const QRect &available)
{
    if (frame.isNull() || available.isEmpty() || available.contains(frame))
        return frame;
    QRect fitted(frame.topLeft(), frame.size().boundedTo(available.size()));
    // Left and top edges win over right and bottom: the title bar stays reachable.
    fitted.moveLeft(std::clamp(fitted.left(), available.left(),
                               available.left() + available.width() - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), available.top(),
                              available.top() + available.height() - fitted.height()));
    return fitted;
}
