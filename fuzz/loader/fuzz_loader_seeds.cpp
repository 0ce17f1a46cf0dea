// Writes the loader fuzzer's seed corpus: small generated games with every block, unscrambled, without the
// executable prefix.
#include "runner/game_file.h"

#include <cstdio>
#include <fstream>

using namespace quillon;

namespace {

GameFile seed_game(int variant)
{
    GameFile game;
    game.settings.loading_bar = variant % 3;
    if (variant % 3 == LOADING_BAR_OWN) {
        game.settings.loading_bar_back = StoredImage::from_bitmap(Bitmap24(4, 2, 0x123456));
        game.settings.loading_bar_front = StoredImage::from_bitmap(Bitmap24(4, 2, 0x654321));
    }
    auto sound = std::make_unique<CSound>();
    sound->kind = SOUND_KIND_WAVE;
    sound->extension = ".wav";
    sound->data = {'R', 'I', 'F', 'F'};
    game.sounds.add("snd", std::move(sound));
    auto sprite = std::make_unique<CSprite>();
    sprite->width = sprite->height = 3;
    for (int f = 0; f <= variant % 2; ++f)
        sprite->frames.push_back(StoredImage::from_bitmap(Bitmap24(3, 3, 0x00FF00 + f)));
    game.sprites.add("spr", std::move(sprite));
    game.sprites.add({}, nullptr);
    auto background = std::make_unique<CBackground>();
    background->has_image = variant % 2 == 0;
    if (background->has_image)
        background->image = StoredImage::from_bitmap(Bitmap24(2, 2, 0xFF));
    game.backgrounds.add("bg", std::move(background));
    auto path = std::make_unique<CPath>();
    path->smooth = variant % 2;
    path->points = {{0, 0, 100}, {10, 0, 100}, {10, 10, 50}};
    game.paths.add("path", std::move(path));
    game.scripts.add("scr", std::make_unique<ScriptSource>(ScriptSource {"return argument0 + 1;"}));
    auto data_file = std::make_unique<CDataFile>();
    data_file->file_name = "a.txt";
    data_file->set_contents({'a'});
    game.data_files.add("data", std::move(data_file));
    auto time_line = std::make_unique<CTimeLine>();
    time_line->moments.push_back({5, {}});
    time_line->moments[0].event.actions.push_back(CAction::code_action("x = 1;"));
    game.time_lines.add("tl", std::move(time_line));
    auto object = std::make_unique<CObject>();
    object->version = variant % 2 ? OBJECT_VERSION : OBJECT_VERSION_OLD;
    object->event(EVENT_CREATE, 0).actions.push_back(CAction::code_action("speed = 1;"));
    object->event(EVENT_ALARM, 3).actions.push_back(CAction::code_action("alarm[3] = 10;"));
    game.objects.add("obj", std::move(object));
    auto room = std::make_unique<CRoom>();
    room->instances.push_back({1, 2, 0, 100001, "x = 3;", false});
    room->tiles.push_back({0, 0, 0, 0, 0, 2, 2, 5, 1000001});
    game.rooms.add("room", std::move(room));
    game.information.version = variant % 2 ? GAME_INFORMATION_VERSION : GAME_INFORMATION_VERSION_OLD;
    game.information.rich_text = "{\\rtf1 info}";
    game.action_library_code = {"lib = 1;"};
    game.room_order = {0};
    return game;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_loader_seeds DIRECTORY\n");
        return 64;
    }
    for (int variant = 0; variant < 6; ++variant) {
        std::vector<std::uint8_t> file = write_game_file(seed_game(variant));
        std::ofstream out(std::string(argv[1]) + "/seed" + std::to_string(variant), std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data() + GAME_DATA_OFFSET),
            static_cast<std::streamsize>(file.size() - GAME_DATA_OFFSET));
    }
    return 0;
}
