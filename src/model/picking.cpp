#include "model/picking.h"

#include "model/number_text.h"

namespace ai {

bool isUnderClick(const Position& node, float X, float Y)
{
    if (!node.isSet())
        return false;
    const float x = toSingle(node.x);
    const float y = toSingle(node.y);
    const float left = X - PickTolerance;
    const float right = X + PickTolerance;
    const float top = Y - PickTolerance;
    const float bottom = Y + PickTolerance;
    return left < x && x < right && top < y && y < bottom;
}

} // namespace ai
