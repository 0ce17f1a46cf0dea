// The resource functions that ask about the game's resources: whether one exists, its name, and the fields of
// its record. For a resource that does not exist a getter gives -1 and a name "<undefined>", without an error.
#include "functions/resources.h"

#include "code/script.h"
#include "functions/world_call.h"
#include "graphics/background.h"
#include "graphics/sprite.h"
#include "sound/sound.h"
#include "support/data_file.h"
#include "world/object_tree.h"
#include "world/path.h"

#include <functional>

namespace quillon {

namespace {

constexpr double MISSING = -1; // what a getter gives for a resource that does not exist

// The list of each kind of resource in the game being played.
template<typename T> const ResourceList<T>& list_of(const World& world);
template<> const ResourceList<CSprite>& list_of(const World& world)
{
    return world.sprites();
}
template<> const ResourceList<CBackground>& list_of(const World& world)
{
    return world.backgrounds();
}
template<> const ResourceList<CSound>& list_of(const World& world)
{
    return world.sounds();
}
template<> const ResourceList<CPath>& list_of(const World& world)
{
    return world.paths();
}
template<> const ResourceList<CDataFile>& list_of(const World& world)
{
    return world.data_files();
}
template<> const ResourceList<CObject>& list_of(const World& world)
{
    return world.tree().objects();
}
template<> const ResourceList<CRoom>& list_of(const World& world)
{
    return world.rooms();
}

template<typename T> void resource_exists(FunctionCall& call)
{
    const World* world = World::installed();
    call.result.set_real(world && list_of<T>(*world).exists(integer_argument(call, 0)) ? 1 : 0);
}

template<typename T> void resource_name(FunctionCall& call)
{
    const World* world = World::installed();
    ResourceList<T> none;
    call.result.set_string(ScriptString((world ? list_of<T>(*world) : none).name(integer_argument(call, 0))));
}

// A field of the resource's record as a number (a flag as 1 or 0).
template<typename T, auto Field> void resource_field(FunctionCall& call)
{
    const World* world = World::installed();
    const T* resource = world ? list_of<T>(*world).get(integer_argument(call, 0)) : nullptr;
    call.result.set_real(resource ? static_cast<double>(std::invoke(Field, *resource)) : MISSING);
}

void script_exists(FunctionCall& call)
{
    call.result.set_real(scripts().exists(integer_argument(call, 0)) ? 1 : 0);
}
void script_name(FunctionCall& call)
{
    call.result.set_string(ScriptString(scripts().name_of(integer_argument(call, 0))));
}
void script_get_text(FunctionCall& call)
{
    const CScript* script = scripts().script(integer_argument(call, 0));
    call.result.set_string(ScriptString(script ? script->text() : std::string()));
}

void datafile_get_filename(FunctionCall& call)
{
    const World* world = World::installed();
    const CDataFile* file = world ? world->data_files().get(integer_argument(call, 0)) : nullptr;
    call.result.set_string(ScriptString(file ? file->file_name : std::string()));
}

// Whether the candidate is found by following the parents from the object (the object itself not counted); the
// walk stops at the first parent that is not an existing object.
void object_is_ancestor(FunctionCall& call)
{
    const World* world = World::installed();
    const ResourceList<CObject>* objects = world ? &world->tree().objects() : nullptr;
    const CObject* object = objects ? objects->get(integer_argument(call, 0)) : nullptr;
    if (!object) {
        call.result.set_real(MISSING);
        return;
    }
    std::int32_t candidate = integer_argument(call, 1);
    // A chain never holds more links than there are objects (parent loops are refused when the game loads).
    for (int links = 0; links < objects->count() && objects->exists(object->parent); ++links) {
        if (object->parent == candidate) {
            call.result.set_real(1);
            return;
        }
        object = objects->get(object->parent);
    }
    call.result.set_real(0);
}

constexpr FunctionEntry RESOURCE_FUNCTIONS[] = {
    { "sprite_name", 1, resource_name<CSprite> },
    { "sprite_exists", 1, resource_exists<CSprite> },
    { "sprite_get_name", 1, resource_name<CSprite> },
    { "sprite_get_number", 1, resource_field<CSprite, &CSprite::frame_count> },
    { "sprite_get_width", 1, resource_field<CSprite, &CSprite::width> },
    { "sprite_get_height", 1, resource_field<CSprite, &CSprite::height> },
    { "sprite_get_transparent", 1, resource_field<CSprite, &CSprite::transparent> },
    { "sprite_get_xoffset", 1, resource_field<CSprite, &CSprite::origin_x> },
    { "sprite_get_yoffset", 1, resource_field<CSprite, &CSprite::origin_y> },
    { "sprite_get_bbox_left", 1, resource_field<CSprite, [](const CSprite& s) { return s.bounding_box.left; }> },
    { "sprite_get_bbox_right", 1, resource_field<CSprite, [](const CSprite& s) { return s.bounding_box.right; }> },
    { "sprite_get_bbox_top", 1, resource_field<CSprite, [](const CSprite& s) { return s.bounding_box.top; }> },
    { "sprite_get_bbox_bottom", 1, resource_field<CSprite, [](const CSprite& s) { return s.bounding_box.bottom; }> },
    { "sprite_get_precise", 1, resource_field<CSprite, &CSprite::precise> },
    { "sprite_get_videomem", 1, resource_field<CSprite, &CSprite::video_memory> },
    { "sprite_get_loadonuse", 1, resource_field<CSprite, &CSprite::load_on_use> },
    { "background_name", 1, resource_name<CBackground> },
    { "background_exists", 1, resource_exists<CBackground> },
    { "background_get_name", 1, resource_name<CBackground> },
    { "background_get_width", 1, resource_field<CBackground, &CBackground::width> },
    { "background_get_height", 1, resource_field<CBackground, &CBackground::height> },
    { "background_get_transparent", 1, resource_field<CBackground, &CBackground::transparent> },
    { "background_get_videomem", 1, resource_field<CBackground, &CBackground::video_memory> },
    { "background_get_loadonuse", 1, resource_field<CBackground, &CBackground::load_on_use> },
    { "sound_name", 1, resource_name<CSound> },
    { "sound_exists", 1, resource_exists<CSound> },
    { "sound_get_name", 1, resource_name<CSound> },
    { "sound_get_kind", 1, resource_field<CSound, &CSound::kind> },
    { "sound_get_buffers", 1, resource_field<CSound, &CSound::buffers> },
    { "sound_get_effects", 1, resource_field<CSound, &CSound::effects> },
    { "sound_get_loadonuse", 1, resource_field<CSound, &CSound::load_on_use> },
    { "script_name", 1, script_name },
    { "script_exists", 1, script_exists },
    { "script_get_name", 1, script_name },
    { "script_get_text", 1, script_get_text },
    { "path_name", 1, resource_name<CPath> },
    { "path_exists", 1, resource_exists<CPath> },
    { "path_get_name", 1, resource_name<CPath> },
    { "path_get_length", 1, resource_field<CPath, &CPath::length> },
    { "path_get_kind", 1, resource_field<CPath, &CPath::smooth> },
    { "path_get_end", 1, resource_field<CPath, &CPath::end_mode> },
    { "datafile_name", 1, resource_name<CDataFile> },
    { "datafile_exists", 1, resource_exists<CDataFile> },
    { "datafile_get_name", 1, resource_name<CDataFile> },
    { "datafile_get_filename", 1, datafile_get_filename },
    { "object_name", 1, resource_name<CObject> },
    { "object_exists", 1, resource_exists<CObject> },
    { "object_get_name", 1, resource_name<CObject> },
    { "object_get_sprite", 1, resource_field<CObject, &CObject::sprite> },
    { "object_get_solid", 1, resource_field<CObject, &CObject::solid> },
    { "object_get_visible", 1, resource_field<CObject, &CObject::visible> },
    { "object_get_depth", 1, resource_field<CObject, &CObject::depth> },
    { "object_get_persistent", 1, resource_field<CObject, &CObject::persistent> },
    { "object_get_mask", 1, resource_field<CObject, &CObject::mask> },
    { "object_get_parent", 1, resource_field<CObject, &CObject::parent> },
    { "object_is_ancestor", 2, object_is_ancestor },
    { "room_name", 1, resource_name<CRoom> },
    { "room_exists", 1, resource_exists<CRoom> },
    { "room_get_name", 1, resource_name<CRoom> },
};

} // namespace

std::span<const FunctionEntry> resource_functions()
{
    return RESOURCE_FUNCTIONS;
}

} // namespace quillon
