// Rooms as JSON records, in both directions.
#pragma once

#include "project_context.h"
#include "world/room.h"

namespace quillon {

// A room with the instances and tiles that still need an id; the game assigns those once all rooms are read.
struct PackedRoom {
    CRoom room;                         // the record
    std::vector<std::size_t> instances_without_id;  // indices into room.instances
    std::vector<std::size_t> tiles_without_id;      // indices into room.tiles
};

PackedRoom pack_room(const Json& json, const Place& place, const PackContext& context);
// Ids are written when write_ids is set; code of several lines goes into files under code_folder.
Json unpack_room(const CRoom& room, UnpackContext& context, const std::string& code_folder, bool write_ids);

}  // namespace quillon
