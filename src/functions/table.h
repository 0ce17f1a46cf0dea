// The built-in function table: all 507 built-ins in their fixed order.
#pragma once

#include "functions/args.h"

#include <initializer_list>
#include <span>

namespace quillon {

class FunctionRegistry;

// One family of the table: its name and its entries, as the family's own table gives names and counts.
struct FunctionFamily {
    const char* name;                        // "Action", "Math", ...
    std::span<const FunctionEntry> entries;  // in table order
};

// The families in table order; their entries, one after another, are the table.
std::span<const FunctionFamily> function_families();

// Registers every family in order, so `action_move` is 0 and `room_get_name` 506. A family that is not
// built yet registers its names and counts with a handler that reports the function as unavailable.
// `handlers` give handlers by name for families that live with a later library (such as the event
// functions of the world); the table keeps their positions and counts.
void register_builtin_functions(FunctionRegistry& registry,
                                std::initializer_list<std::span<const FunctionEntry>> handlers = {});

}  // namespace quillon
