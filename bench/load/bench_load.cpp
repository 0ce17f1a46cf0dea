// Loading a large game, against zlib alone inflating the same compressed blocks, in one run.
#include "runner/game_file.h"
#include "support/compression.h"

#include <chrono>
#include <cstdio>
#include <random>

using namespace quillon;

namespace {

constexpr int SPRITES = 500;
constexpr int FRAMES = 10;
constexpr int SIZE = 64;
constexpr int OBJECTS = 200;
constexpr int ROOMS = 50;
constexpr int INSTANCES = 500;
constexpr int REPEATS = 5;

// A sprite frame such as games have: a shape on a transparent ground, shaded, with some noise.
Bitmap24 frame_picture(std::mt19937& random, int frame)
{
    Bitmap24 bitmap(SIZE, SIZE, make_color(255, 0, 255));
    int radius = 12 + frame * 2;
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            int dx = x - SIZE / 2, dy = y - SIZE / 2;
            if (dx * dx + dy * dy < radius * radius) {
                auto shade = static_cast<std::uint8_t>(128 + dx + (random() % 8));
                bitmap.set_pixel(x, y, make_color(shade, static_cast<std::uint8_t>(64 + dy), 32));
            }
        }
    return bitmap;
}

GameFile large_game()
{
    std::mt19937 random(1);
    GameFile game;
    game.seed = 98765;
    for (int s = 0; s < SPRITES; ++s) {
        auto sprite = std::make_unique<CSprite>();
        sprite->width = sprite->height = SIZE;
        for (int f = 0; f < FRAMES; ++f)
            sprite->frames.push_back(StoredImage::from_bitmap(frame_picture(random, f)));
        game.sprites.add("spr_" + std::to_string(s), std::move(sprite));
    }
    for (int o = 0; o < OBJECTS; ++o) {
        auto object = std::make_unique<CObject>();
        object->sprite = o % SPRITES;
        CAction action;
        action.kind = ACTION_CODE;
        action.execution_type = EXECUTE_CODE;
        action.argument_count = 1;
        action.argument_kinds = {1};
        action.arguments = {"x += hspeed; if (x > room_width) x = 0;"};
        object->event(EVENT_STEP, 0).actions.push_back(action);
        object->event(EVENT_CREATE, 0).actions.push_back(action);
        game.objects.add("obj_" + std::to_string(o), std::move(object));
    }
    int id = 100001;
    for (int r = 0; r < ROOMS; ++r) {
        auto room = std::make_unique<CRoom>();
        for (int i = 0; i < INSTANCES; ++i)
            room->instances.push_back({i * 7 % 640, i * 13 % 480, i % OBJECTS, id++, i % 10 ? "" : "speed = 2;", false});
        game.rooms.add("room_" + std::to_string(r), std::move(room));
        game.room_order.push_back(r);
    }
    game.last_instance_id = id;
    return game;
}

double seconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main()
{
    GameFile source = large_game();
    std::vector<std::uint8_t> file = write_game_file(source);
    std::vector<std::span<const std::uint8_t>> blocks;
    for (int s = 0; s < source.sprites.count(); ++s)
        for (const StoredImage& frame : source.sprites.get(s)->frames)
            blocks.emplace_back(frame.compressed);

    double best_load = 1e9, best_inflate = 1e9;
    for (int repeat = 0; repeat < REPEATS; ++repeat) {
        auto start = std::chrono::steady_clock::now();
        CStream stream(file);
        GameFile game;
        if (!read_game_file(stream, game).ok) {
            std::fprintf(stderr, "the generated game did not load\n");
            return 1;
        }
        best_load = std::min(best_load, seconds_since(start));

        start = std::chrono::steady_clock::now();
        std::size_t inflated = 0;
        for (auto block : blocks)
            inflated += inflate_zlib(block).size();
        best_inflate = std::min(best_inflate, seconds_since(start));
        if (inflated == 0)
            return 1;
    }
    std::printf("game file: %.1f MB, %zu compressed images\n", file.size() / 1e6, blocks.size());
    std::printf("load:         %8.1f ms\n", best_load * 1e3);
    std::printf("zlib inflate: %8.1f ms\n", best_inflate * 1e3);
    constexpr double BAR = 1.30;
    double ratio = best_load / best_inflate;
    std::printf("ratio:        %8.2f (bar: at most %.2f: %s)\n", ratio, BAR, ratio <= BAR ? "met" : "NOT MET");
    return ratio <= BAR ? 0 : 1;
}
