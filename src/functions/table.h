// The built-in function table: all 507 built-ins in their fixed order.
#pragma once

namespace quillon {

class FunctionRegistry;

// Registers every family in order, so `action_move` is 0 and `room_get_name` 506. A family that is not
// built yet registers its names and counts with a handler that reports the function as unavailable.
void register_builtin_functions(FunctionRegistry& registry);

}  // namespace quillon
