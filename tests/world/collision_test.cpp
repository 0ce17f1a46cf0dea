// Collisions: boxes and masks, the place tests, moving to and out of contact, bouncing, and the collision stage
// with its put-back, its double events and its agreement with a walk over every pair.
#include "loop_fixture.h"

#include <random>

using namespace quillon;
using namespace quillon::testing;

namespace {

class Collision : public LoopTest {};

// A 4x4 frame whose solid pixels form the top-left to bottom-right diagonal; the bottom-left pixel is clear.
const std::vector<std::string> DIAGONAL = {"#...", ".#..", "..#.", "...#"};

}  // namespace

TEST_F(Collision, BoxesMeetOnASharedEdgeButNeverThemselvesMarkedOnesOrInstancesWithoutSprite)
{
    int box = add_object_with(add_box_sprite({0, 0, 9, 9}));
    int nothing = add_object_with(-1);
    add_room();
    start_game();
    CInstance& a = create(box, 0, 0);
    CInstance& edge = create(box, 9, 9);      // shares the pixel (9, 9)
    CInstance& apart = create(box, 10, 0);    // starts one column after a ends
    CInstance& marked = create(box, 5, 5);
    marked.m_destroyed = true;
    CInstance& ghost1 = create(nothing, 0, 0);
    CInstance& ghost2 = create(nothing, 500, 500);
    Collisions& c = collisions();
    EXPECT_TRUE(c.collide(a, edge));
    EXPECT_FALSE(c.collide(a, apart));
    EXPECT_FALSE(c.collide(a, a));
    EXPECT_FALSE(c.collide(a, marked));
    EXPECT_FALSE(c.collide(ghost1, ghost2));  // both boxes lie at the far-away place
    EXPECT_FALSE(c.collide(a, ghost1));
}

TEST_F(Collision, MasksAreTestedPixelByPixelAtTheInstancesScale)
{
    int diagonal = add_object_with(add_mask_sprite(DIAGONAL));
    int dot = add_object_with(add_box_sprite({0, 0, 0, 0}));  // one pixel
    add_room();
    start_game();
    CInstance& shape = create(diagonal, 10, 10);
    CInstance& probe = create(dot, 0, 0);
    struct Case {
        double scale;     // of the diagonal
        int x, y;         // the probe's pixel
        bool meets;       // expected
    };
    const Case cases[] = {
        {1, 10, 10, true}, {1, 13, 13, true}, {1, 11, 10, false}, {1, 10, 13, false},
        // At scale 2 each mask pixel covers two by two room pixels.
        {2, 11, 11, true}, {2, 12, 13, true}, {2, 13, 11, false}, {2, 16, 16, true}, {2, 15, 16, false},
    };
    for (const Case& test : cases) {
        shape.set_image_scale(test.scale);
        probe.set_position(test.x, test.y);
        EXPECT_EQ(collisions().collide(shape, probe), test.meets) << test.scale << " " << test.x << "," << test.y;
        EXPECT_EQ(collisions().point_inside(shape, test.x, test.y), test.meets) << test.x << "," << test.y;
    }
}

TEST_F(Collision, PlaceTestsSkipSelfAndFindTheFirstSelectedInstanceInArrayOrder)
{
    int sprite = add_box_sprite({0, 0, 9, 9});
    int parent = add_object_with(sprite);
    int child = add_object_with(sprite, true, parent);
    int other = add_object_with(sprite);
    add_room();
    start_game();
    CInstance& self = create(other, 0, 0);
    CInstance& first = create(other, 100, 0);
    CInstance& wall = create(child, 105, 0);
    Collisions& c = collisions();
    EXPECT_TRUE(c.place_free(self, 0, 0));              // self at its own place is no obstacle
    EXPECT_TRUE(c.place_empty(self, 0, 0));
    EXPECT_FALSE(c.place_free(self, 96, 0));            // the solid child is met
    EXPECT_TRUE(c.place_free(self, 91, 0));             // only the non-solid one is met
    EXPECT_FALSE(c.place_empty(self, 91, 0));
    EXPECT_EQ(c.instance_place(self, 98, 0, SELECTOR_ALL), &first);
    EXPECT_EQ(c.instance_place(self, 98, 0, parent), &wall);  // the parent's index finds its child
    EXPECT_EQ(c.instance_place(self, 98, 0, wall.m_id), &wall);
    EXPECT_EQ(c.instance_place(self, 0, 300, SELECTOR_ALL), nullptr);
    EXPECT_EQ(self.x(), 0);                             // self went back
    EXPECT_EQ(c.instance_position(106, 5, SELECTOR_ALL), &first);
    EXPECT_EQ(c.instance_position(112, 5, SELECTOR_ALL), &wall);
    EXPECT_EQ(c.instance_position(106, 5, child), &wall);
    wall.m_destroyed = true;
    EXPECT_TRUE(c.place_free(self, 96, 0));             // marked instances are never met
}

TEST_F(Collision, MovingToAndOutOfContact)
{
    int sprite = add_box_sprite({0, 0, 9, 9});
    int mover = add_object_with(sprite);
    int wall = add_object_with(sprite, true);
    add_room();
    start_game();
    create(wall, 100, 0);
    CInstance& self = create(mover, 0, 0);
    collisions().move_contact(self, 0, 0, false);       // no maximum: up to 1000 pixels
    EXPECT_EQ(self.x(), 90);
    collisions().move_contact(self, 0, 0, false);       // already in contact: no move
    EXPECT_EQ(self.x(), 90);
    self.set_position(0, 0);
    collisions().move_contact(self, 0, 5, false);       // at most five pixels
    EXPECT_EQ(self.x(), 5);
    self.set_position(95, 0);
    collisions().move_contact(self, 180, 0, false);     // starts in the wall: stays
    EXPECT_EQ(self.x(), 95);
    EXPECT_FALSE(collisions().move_outside(self, 180, 3, false));  // three pixels are not enough
    EXPECT_EQ(self.x(), 92);
    EXPECT_TRUE(collisions().move_outside(self, 180, 0, false));
    EXPECT_EQ(self.x(), 90);
}

TEST_F(Collision, BouncesReverseTheBlockedMotion)
{
    int sprite = add_box_sprite({0, 0, 9, 9});
    int ball = add_object_with(sprite);
    int wall = add_object_with(add_box_sprite({0, 0, 9, 199}), true);
    add_room();
    start_game();
    create(wall, 100, 0);
    struct Case {
        const char* name;
        double x, hspeed, vspeed;    // the ball's start (y 50)
        bool advanced;
        double hspeed_after, vspeed_after;
    };
    const Case cases[] = {
        {"blocked sideways", 88, 4, 2, false, -4, 2},
        {"nothing blocked reverses all", 20, 4, 2, false, -4, -2},
        {"advanced off a vertical wall", 88, 4, 0, true, -4, 0},
    };
    for (const Case& test : cases) {
        CInstance& self = create(ball, test.x, 50);
        self.set_hspeed(test.hspeed);
        self.set_vspeed(test.vspeed);
        collisions().bounce(self, test.advanced, false);
        EXPECT_NEAR(self.hspeed(), test.hspeed_after, 1e-9) << test.name;
        EXPECT_NEAR(self.vspeed(), test.vspeed_after, 1e-9) << test.name;
        self.m_destroyed = true;
    }
    // Advanced, at 45 degrees into the wall: 45 rounds to 40 (halves to even); the first free directions are
    // -60 and 60, and the motion leaves at -60 + 60 + 180 - 40.
    CInstance& self = create(ball, 88, 50);
    self.set_speed(4);
    self.set_direction(45);
    collisions().bounce(self, true, false);
    EXPECT_NEAR(self.direction(), 140, 1e-9);
}

TEST_F(Collision, SolidPairsGoBackMoveOnAndBothEventsRun)
{
    int sprite = add_box_sprite({0, 0, 9, 9});
    int ball = add_object_with(sprite);
    int wall = add_object_with(sprite, true);
    event(ball, EVENT_COLLISION, wall).actions = {code_action("trace('ball', x, ' '); hspeed = -hspeed")};
    event(wall, EVENT_COLLISION, ball).actions = {code_action("trace('wall', other.x, ' ')")};
    add_room();
    start_game();
    create(wall, 100, 0);
    CInstance& self = create(ball, 84, 0);
    self.set_hspeed(8);
    loop().step();  // moves to 92, meets the wall, goes back to 84, reverses, moves on to 76
    EXPECT_EQ(take_trace(), "ball84 wall84 ");
    EXPECT_EQ(self.x(), 76);
}

TEST_F(Collision, AnObjectWithACollisionEventWithItselfGivesEachInstanceItsEventTwice)
{
    int ball = add_object_with(add_box_sprite({0, 0, 9, 9}));
    event(ball, EVENT_COLLISION, ball).actions = {code_action("trace(id - 100100, '-', other.id - 100100, ' ')")};
    add_room();
    start_game();
    create(ball, 0, 0);
    create(ball, 5, 0);
    loop().step();
    EXPECT_EQ(take_trace(), "1-2 2-1 2-1 1-2 ");
}

// The grid must report the same collisions in the same order as the walk over every pair, also when events
// move, make and destroy instances while the stage runs.
TEST_F(Collision, TheStageMeetsPairsAsAWalkOverEveryPairWould)
{
    int sprite = add_box_sprite({0, 0, 11, 11});
    int big = add_box_sprite({0, 0, 1199, 7});  // spans many cells
    int a = add_object_with(sprite);
    int b = add_object_with(sprite, false);
    int wide = add_object_with(big);
    // Instances made during the stage draw different ids in the two runs, so they are traced as 0.
    event(a, EVENT_COLLISION, b).actions = {code_action(
        "var me, it; me = id; it = other.id; if (me > 100401) me = 0; if (it > 100401) it = 0; "
        "trace(me, ':', it, ' '); if (id mod 7 == 0) x += 40; if (other.id mod 11 == 0) with (other) "
        "instance_destroy(); if (id mod 13 == 0 && global.made < 20) { global.made += 1; instance_create(x + 3, y, " + std::to_string(b) + ") }")};
    event(b, EVENT_COLLISION, wide).actions = {code_action("trace('w', x, ' ')")};
    event(wide, EVENT_COLLISION, a).actions = {code_action("trace('W', other.x, ' ')")};
    add_room();
    start_game();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> place(0, 400);
    for (int i = 0; i < 300; ++i)
        create(i % 2 ? a : b, place(random), place(random));
    create(wide, -300, 200);

    // The walk over every pair, on a copy of the room made by saving and loading it.
    auto walk = [&] {
        LiveRoom& room = *world().current_room();
        for (const ObjectPair& pair : std::vector<ObjectPair> {{a, b}, {b, wide}, {wide, a}})
            for (int i = 0; i < room.object_count(pair.object); ++i) {
                CInstance& first = *room.object_instance(pair.object, i);
                if (first.m_destroyed)
                    continue;
                for (int j = 0; j < room.object_count(pair.other); ++j) {
                    CInstance& second = *room.object_instance(pair.other, j);
                    if (!collisions().collide(first, second))
                        continue;
                    world().perform_event(&first, &second, first.object_index, EVENT_COLLISION, second.object_index);
                    world().perform_event(&second, &first, second.object_index, EVENT_COLLISION, first.object_index);
                }
            }
    };
    // The grid is built, then a third of the instances move: they are set aside and followed from then on.
    collisions().place_free(instance(0), 0, 0);
    for (int i = 0; i < 300; i += 3)
        instance(i).set_position(instance(i).x() + 5, instance(i).y() - 3);

    CStream saved;
    world().current_room()->save(saved);
    run(instance(0), "global.made = 0");
    loop().collisions().collision_stage(std::vector<ObjectPair> {{a, b}, {b, wide}, {wide, a}});
    std::string by_grid = take_trace();

    saved.set_position(0);
    ASSERT_TRUE(world().current_room()->load(saved, objects, &sprites));
    collisions().forget_room();
    run(instance(0), "global.made = 0");
    walk();
    std::string by_walk = take_trace();
    EXPECT_GT(by_walk.size(), 500u);
    EXPECT_EQ(by_grid, by_walk);
}

TEST_F(Collision, DestroyAndChangeAtAPointTakeTheBoxesAndTheMasks)
{
    int box = add_object_with(add_box_sprite({0, 0, 9, 9}));
    int diagonal = add_object_with(add_mask_sprite(DIAGONAL));
    int star = add_object_with(-1);
    event(box, EVENT_DESTROY).actions = {call_action("trace", {"'destroy:'", "id", "' '"})};
    event(diagonal, EVENT_DESTROY).actions = {call_action("trace", {"'destroy:'", "id", "' '"})};
    add_room();
    start_game();
    CInstance& first = create(box, 0, 0);
    CInstance& second = create(box, 3, 3);
    CInstance& apart = create(box, 20, 0);
    CInstance& shape = create(diagonal, 0, 0);  // its box covers (3, 0), its mask does not
    collisions().destroy_at(3, 0);
    EXPECT_EQ(take_trace(), "destroy:" + std::to_string(first.m_id) + " ");
    collisions().destroy_at(3, 3);  // the far corner of the second's box and the mask's last pixel
    EXPECT_EQ(take_trace(), "destroy:" + std::to_string(second.m_id) + " destroy:" + std::to_string(shape.m_id) + " ");
    std::int32_t apart_id = apart.m_id;
    collisions().change_at(25, 5, 77, false);
    EXPECT_NE(take_trace().find("Asking to change into non-existing object: 77"), std::string::npos);
    EXPECT_FALSE(apart.m_destroyed);
    collisions().change_at(25, 5, star, false);
    EXPECT_EQ(take_trace(), "");
    EXPECT_TRUE(apart.m_destroyed);
    CInstance& changed = *world().current_room()->instance(world().current_room()->instance_count() - 1);
    EXPECT_EQ(changed.object_index, star);
    EXPECT_EQ(changed.m_id, apart_id);
}
