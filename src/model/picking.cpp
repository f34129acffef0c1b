#include "model/picking.h"

#include "model/number_text.h"

namespace ai {

bool isUnderClick(const Position& node, float X, float Y, float tolerance)
{
    if (!node.isSet())
        return false;
    const float x = toSingle(node.x);
    const float y = toSingle(node.y);
    const float left = X - tolerance;
    const float right = X + tolerance;
    const float top = Y - tolerance;
    const float bottom = Y + tolerance;
    return left < x && x < right && top < y && y < bottom;
}

} // namespace ai
