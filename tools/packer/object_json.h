// Objects and time lines as JSON records, in both directions.
#pragma once

#include "project_context.h"
#include "world/object.h"
#include "world/time_line.h"

namespace quillon {

CObject pack_object(const Json& json, const Place& place, const PackContext& context);
// Code of several lines goes into files under code_folder.
Json unpack_object(const CObject& object, UnpackContext& context, const std::string& code_folder);

CTimeLine pack_time_line(const Json& json, const Place& place, const PackContext& context);
Json unpack_time_line(const CTimeLine& time_line, UnpackContext& context, const std::string& code_folder);

}  // namespace quillon
