// The resource functions that change resources while the game plays: sprites and backgrounds added from picture
// files, replaced and deleted; image sheets discarded and restored; data files exported and discarded.
#include "functions/resource_changes.h"

#include "functions/world_call.h"
#include "functions/world_families.h"
#include "graphics/graphics.h"
#include "sound/sound_system.h"
#include "support/data_file.h"
#include "support/game_path.h"
#include "support/secure_mode.h"

namespace quillon {

namespace {

constexpr const char* REPLACE_MISSING_SPRITE = "Trying to replace non-existing sprite.";
constexpr const char* DELETE_MISSING_SPRITE = "Trying to delete non-existing sprite.";
constexpr const char* REPLACE_MISSING_BACKGROUND = "Trying to replace non-existing background.";
constexpr const char* DELETE_MISSING_BACKGROUND = "Trying to delete non-existing background.";
constexpr const char* EXPORT_IN_SECURE_MODE = "In secure mode you cannot export a data file to ";

// The graphics of the game being played; without them the call reports itself as not available.
Graphics* graphics_for(const FunctionCall& call)
{
    Graphics* graphics = play_services().graphics;
    if (!graphics)
        report_not_available(call);
    return graphics;
}

bool flag_argument(const FunctionCall& call, int index) { return is_true(real_argument(call, index)); }

// The picture file named by argument `index`: '\' accepted, relative to the game's folder.
std::filesystem::path file_argument(const FunctionCall& call, int index)
{
    return find_in_game_folder(string_argument(call, index).view());
}

// (file name, image count, precise, transparent, video memory, load on use, origin x, origin y) from `first` on.
SpriteImport sprite_import(const FunctionCall& call, int first)
{
    SpriteImport import;
    import.frame_count = integer_argument(call, first + 1);
    import.precise = flag_argument(call, first + 2);
    import.transparent = flag_argument(call, first + 3);
    import.video_memory = flag_argument(call, first + 4);
    import.load_on_use = flag_argument(call, first + 5);
    import.origin_x = integer_argument(call, first + 6);
    import.origin_y = integer_argument(call, first + 7);
    return import;
}

// (file name, transparent, video memory, load on use) from `first` on.
BackgroundImport background_import(const FunctionCall& call, int first)
{
    return {flag_argument(call, first + 1), flag_argument(call, first + 2), flag_argument(call, first + 3)};
}

void sprite_add(FunctionCall& call)
{
    call.result.set_real(-1);
    if (Graphics* graphics = graphics_for(call))
        call.result.set_real(graphics->sprites().add(file_argument(call, 0), sprite_import(call, 0)));
}

void sprite_replace(FunctionCall& call)
{
    Graphics* graphics = graphics_for(call);
    if (!graphics)
        return;
    std::int32_t index = integer_argument(call, 0);
    if (!graphics->sprites().exists(index)) {
        report_function_error(REPLACE_MISSING_SPRITE);
        return;
    }
    set_bool_result(call, graphics->sprites().replace(index, file_argument(call, 1), sprite_import(call, 1)));
}

void sprite_delete(FunctionCall& call)
{
    Graphics* graphics = graphics_for(call);
    if (graphics && !graphics->sprites().remove(integer_argument(call, 0)))
        report_function_error(DELETE_MISSING_SPRITE);
}

void background_add(FunctionCall& call)
{
    call.result.set_real(-1);
    if (Graphics* graphics = graphics_for(call))
        call.result.set_real(graphics->backgrounds().add(file_argument(call, 0), background_import(call, 0)));
}

void background_replace(FunctionCall& call)
{
    Graphics* graphics = graphics_for(call);
    if (!graphics)
        return;
    std::int32_t index = integer_argument(call, 0);
    if (!graphics->backgrounds().exists(index)) {
        report_function_error(REPLACE_MISSING_BACKGROUND);
        return;
    }
    set_bool_result(call,
        graphics->backgrounds().replace(index, file_argument(call, 1), background_import(call, 1)));
}

void background_delete(FunctionCall& call)
{
    Graphics* graphics = graphics_for(call);
    if (graphics && !graphics->backgrounds().remove(integer_argument(call, 0)))
        report_function_error(DELETE_MISSING_BACKGROUND);
}

// The surfaces of every load-on-use sprite and background, and the players of every load-on-use sound.
void discard_all(FunctionCall& call)
{
    if (Graphics* graphics = graphics_for(call))
        graphics->sheets().discard_all();
    if (SoundSystem* sounds = SoundSystem::installed())
        sounds->discard_all();
}

// A sheet by the index argument; none (and nothing done) for an index without one.
ImageSheet* sprite_sheet(const FunctionCall& call)
{
    Graphics* graphics = graphics_for(call);
    return graphics ? graphics->sheets().sprite(integer_argument(call, 0)) : nullptr;
}
ImageSheet* background_sheet(const FunctionCall& call)
{
    Graphics* graphics = graphics_for(call);
    return graphics ? graphics->sheets().background(integer_argument(call, 0)) : nullptr;
}

// Discarded surfaces are made again on their next use; restoring makes them now.
void sprite_discard(FunctionCall& call)
{
    if (ImageSheet* sheet = sprite_sheet(call))
        sheet->discard();
}
void sprite_restore(FunctionCall& call)
{
    if (ImageSheet* sheet = sprite_sheet(call))
        sheet->restore();
}
void background_discard(FunctionCall& call)
{
    if (ImageSheet* sheet = background_sheet(call))
        sheet->discard();
}
void background_restore(FunctionCall& call)
{
    if (ImageSheet* sheet = background_sheet(call))
        sheet->restore();
}

// The data file by the index argument; none for an index without one.
CDataFile* data_file(const FunctionCall& call)
{
    ResourceList<CDataFile>* files = play_services().data_files;
    if (!files) {
        report_not_available(call);
        return nullptr;
    }
    return files->get(integer_argument(call, 0));
}

void datafile_discard(FunctionCall& call)
{
    if (CDataFile* file = data_file(call))
        file->discard();
}

// Writes the contents to the name when the data file still holds them and the name is free or may be
// overwritten. In secure mode a name with a folder in it is refused.
void datafile_export(FunctionCall& call)
{
    CDataFile* file = data_file(call);
    if (!file)
        return;
    std::string_view name = string_argument(call, 1).view();
    if (secure_mode() && name.find_first_of("\\/") != std::string_view::npos) {
        report_function_error(EXPORT_IN_SECURE_MODE + std::string(name));
        return;
    }
    file->write_to(creation_path_in_game_folder(name));
}

constexpr FunctionEntry RESOURCE_CHANGE_FUNCTIONS[] = {
    {"background_add", 4, background_add},
    {"background_replace", 5, background_replace},
    {"background_delete", 1, background_delete},
    {"sprite_add", 8, sprite_add},
    {"sprite_replace", 9, sprite_replace},
    {"sprite_delete", 1, sprite_delete},
    {"discard_all", 0, discard_all},
    {"sprite_discard", 1, sprite_discard},
    {"sprite_restore", 1, sprite_restore},
    {"background_discard", 1, background_discard},
    {"background_restore", 1, background_restore},
    {"datafile_discard", 1, datafile_discard},
    {"datafile_export", 2, datafile_export},
};

}  // namespace

std::span<const FunctionEntry> resource_change_functions() { return RESOURCE_CHANGE_FUNCTIONS; }

}  // namespace quillon
