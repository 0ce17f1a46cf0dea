// A world with a game loop over headless services, and sprites whose masks are drawn as text.
#pragma once

#include "platform/headless/headless_input.h"
#include "platform/headless/virtual_clock.h"
#include "world/game_loop.h"
#include "world_fixture.h"

namespace quillon::testing {

// instance_create(x, y, object), instance_destroy() for self, room_goto(room), game_restart(), fatal(text).
inline void register_loop_functions()
{
    if (function_registry().find("instance_create"))
        return;
    function_registry().register_function("instance_create", [](FunctionCall& call) {
        CInstance* made = World::installed()->create_instance(round_to_int32(call.arguments[2].real),
                                                              call.arguments[0].real, call.arguments[1].real);
        call.result.set_real(made ? made->m_id : -4);
    }, 3);
    function_registry().register_function("instance_destroy", [](FunctionCall& call) {
        World::installed()->destroy_instance(*static_cast<CInstance*>(call.self));
    }, 0);
    function_registry().register_function("room_goto", [](FunctionCall& call) {
        World::installed()->go_to_room(round_to_int32(call.arguments[0].real), 0);
    }, 1);
    function_registry().register_function("game_restart", [](FunctionCall&) {
        World::installed()->set_pending_change(CHANGE_RESTART);
    }, 0);
    function_registry().register_function("fatal", [](FunctionCall& call) {
        errors().report_in_context(call.arguments[0].string.str(), true);
        World::installed()->end_game();
    }, 1);
}

class LoopTest : public WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        register_loop_functions();
    }
    void TearDown() override
    {
        m_loop.reset();
        WorldTest::TearDown();
    }

    // The loop over the world (made and compiled on first use); the game is not started.
    GameLoop& loop()
    {
        if (!m_loop)
            m_loop = std::make_unique<GameLoop>(world(), settings, masks, clock, input, hooks, options);
        return *m_loop;
    }
    Collisions& collisions() { return loop().collisions(); }

    // A precise, transparent sprite of one frame: '#' is solid, any other character clear; the bottom-left
    // character must be clear, as it gives the transparent colour.
    int add_mask_sprite(const std::vector<std::string>& rows, int origin_x = 0, int origin_y = 0)
    {
        int height = static_cast<int>(rows.size());
        int width = static_cast<int>(rows[0].size());
        Bitmap24 picture(width, height, 0xFFFFFF);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (rows[y][x] == '#')
                    picture.set_pixel(x, y, 0x0000FF);
        auto sprite = std::make_unique<CSprite>();
        sprite->width = width;
        sprite->height = height;
        sprite->origin_x = origin_x;
        sprite->origin_y = origin_y;
        sprite->frames.push_back(StoredImage::from_bitmap(picture));
        sprite->compute_bounding_box();
        int index = sprites.add("mask" + std::to_string(sprites.count()), std::move(sprite));
        masks.build(index, sprites.get(index));
        return index;
    }
    // A sprite tested by its box alone.
    int add_box_sprite(BoundingBox box = {0, 0, 15, 15})
    {
        int index = add_sprite(1, box);
        sprites.get(index)->precise = false;
        return index;
    }
    int add_object_with(int sprite, bool solid = false, std::int32_t parent = -1)
    {
        int object = add_object("object" + std::to_string(objects.count()), parent);
        objects.get(object)->sprite = sprite;
        objects.get(object)->solid = solid;
        return object;
    }
    // Starts the game in the first room and gives its instances' trace.
    void start_game()
    {
        loop().start_game();
        take_trace();
    }
    CInstance& create(int object, double x, double y) { return *world().create_instance(object, x, y); }

    GameSettings settings;
    CollisionMasks masks;
    platform::VirtualClock clock;
    platform::HeadlessInput input;
    LoopHooks hooks;
    LoopOptions options;
    std::unique_ptr<GameLoop> m_loop;
};

}  // namespace quillon::testing
