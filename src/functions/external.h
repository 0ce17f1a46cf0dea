// The external-library functions of the Misc family: definitions and calls of functions in dynamic libraries.
#pragma once

#include "code/function_registry.h"

namespace quillon::external {

// external_define with its variable layout, and external_define0 to external_define8 with fixed ones.
void external_define(FunctionCall& call);
void external_define_fixed(FunctionCall& call);
// external_call and external_call0 to external_call8.
void external_call(FunctionCall& call);

} // namespace quillon::external
