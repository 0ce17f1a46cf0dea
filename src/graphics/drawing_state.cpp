// The pen and brush that shapes are drawn with, and the vertices of the polygon being built.
#include "graphics/drawing_state.h"

namespace quillon {

DrawingState& drawing_state()
{
    static DrawingState s_state;
    return s_state;
}

}  // namespace quillon
