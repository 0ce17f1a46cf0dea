// Instances: motion setters and their snapping, friction and gravity, paths, the bounding box, animation,
// time lines, and creating, destroying and changing instances.
#include "world_fixture.h"

#include <cmath>

using namespace quillon;
using namespace quillon::testing;

namespace {

class Instances : public WorldTest {};

}  // namespace

TEST(InstanceMotion, SettersKeepSpeedDirectionAndTheSpeedsConsistent)
{
    struct Case {
        const char* name;                         // what is set
        void (*apply)(CInstance&);                // the setters called
        double hspeed, vspeed, direction, speed;  // expected, exactly
    };
    const Case cases[] = {
        {"speeds 3, -4", [](CInstance& i) { i.set_hspeed(3); i.set_vspeed(-4); }, 3, -4, 53.13010235415598, 5},
        {"direction 90, speed 2 snaps", [](CInstance& i) { i.set_speed(2); i.set_direction(90); }, 0, -2, 90, 2},
        {"direction -90 wraps", [](CInstance& i) { i.set_speed(1); i.set_direction(-90); }, 0, 1, 270, 1},
        {"direction 720 wraps", [](CInstance& i) { i.set_direction(720); i.set_speed(1); }, 1, 0, 0, 1},
        {"negative speed keeps direction", [](CInstance& i) { i.set_direction(180); i.set_speed(-2); }, 2, 0, 180, -2},
        {"straight down", [](CInstance& i) { i.set_vspeed(2); }, 0, 2, 270, 2},
        {"speeds back to zero", [](CInstance& i) { i.set_hspeed(-1); i.set_hspeed(0); }, 0, 0, 0, 0},
        {"speed from speeds is never negative", [](CInstance& i) { i.set_hspeed(-3); }, -3, 0, 180, 3},
    };
    for (const Case& test : cases) {
        CInstance instance;
        test.apply(instance);
        EXPECT_EQ(instance.hspeed(), test.hspeed) << test.name;
        EXPECT_EQ(instance.vspeed(), test.vspeed) << test.name;
        EXPECT_DOUBLE_EQ(instance.direction(), test.direction) << test.name;
        EXPECT_EQ(instance.speed(), test.speed) << test.name;
    }
}

TEST(InstanceMotion, FrictionStopsWithoutReversingAndGravityAddsUp)
{
    for (double speed : {0.3, -0.3}) {
        CInstance instance;
        instance.set_direction(45);
        instance.set_speed(speed);
        instance.friction = 0.5;
        instance.apply_friction_and_gravity();
        EXPECT_EQ(instance.speed(), 0) << speed;
    }
    CInstance slowing;
    slowing.set_speed(2);
    slowing.friction = 0.5;
    slowing.apply_friction_and_gravity();
    EXPECT_EQ(slowing.speed(), 1.5);

    CInstance falling;
    falling.gravity = 0.5;
    for (int step = 0; step < 3; ++step)
        falling.apply_friction_and_gravity();
    EXPECT_NEAR(falling.vspeed(), 1.5, 1e-12);
    EXPECT_NEAR(falling.hspeed(), 0, 1e-12);
    EXPECT_EQ(falling.direction(), 270);
}

TEST_F(Instances, BoundingBoxFollowsPositionScaleAndMask)
{
    int sprite = add_sprite(1, {2, 3, 29, 30}, 16, 16);
    int mask = add_sprite(1, {0, 0, 9, 9});
    int object = add_object("thing");
    objects.get(object)->sprite = sprite;
    add_room({{100, 50, object, 100001, {}, false}});
    start();
    CInstance& self = instance(0);
    EXPECT_EQ((std::array {self.bbox_left(), self.bbox_top(), self.bbox_right(), self.bbox_bottom()}),
              (std::array {86, 37, 113, 64}));
    run(self, "x = 10; image_scale = 2");
    EXPECT_EQ((std::array {self.bbox_left(), self.bbox_top(), self.bbox_right(), self.bbox_bottom()}),
              (std::array {-18, 24, 36, 78}));
    run(self, "mask_index = " + std::to_string(mask));
    EXPECT_EQ((std::array {self.bbox_left(), self.bbox_right()}), (std::array {10, 28}));
    run(self, "sprite_index = -1; mask_index = -1");
    EXPECT_EQ(self.bbox_left(), FAR_AWAY);
    EXPECT_FALSE(self.box_covers(FAR_AWAY, FAR_AWAY) && self.precise());
}

TEST_F(Instances, AnimationEndComesWhenTheRoundedImageReachesTheCount)
{
    int sprite = add_sprite(4);
    int object = add_object("thing");
    objects.get(object)->sprite = sprite;
    event(object, EVENT_OTHER, OTHER_ANIMATION_END).actions = {call_action("trace", {"'end@'", "image_index", "' '"})};
    add_room({{0, 0, object, 100001, {}, false}});
    start();
    CInstance& self = instance(0);
    auto steps_to_end = [&](double speed) {
        self.image_index = 0;
        self.image_speed = speed;
        for (int step = 1; step <= 20; ++step) {
            world().animate_instance(self);
            if (!trace_log().empty())
                return step;
        }
        return 0;
    };
    EXPECT_EQ(steps_to_end(1), 4);
    EXPECT_EQ(take_trace(), "end@4 ");
    EXPECT_EQ(self.image_index, 0);
    EXPECT_EQ(steps_to_end(0.5), 7);  // 3.5 rounds to 4
    take_trace();
    self.image_single = 2;
    EXPECT_EQ(steps_to_end(1), 0);
}

TEST_F(Instances, PathsMoveBySpeedAndSignalTheirEnd)
{
    auto path = std::make_unique<CPath>();
    path->end_mode = 1;
    path->points = {{0, 0, 100}, {100, 0, 100}};
    path->compute();
    paths.add("line", std::move(path));
    int object = add_object("runner");
    event(object, EVENT_OTHER, OTHER_END_OF_PATH).actions = {call_action("trace", {"'end@'", "x"})};
    add_room({{0, 0, object, 100001, {}, false}});
    start();
    CInstance& self = instance(0);
    run(self, "path_index = 0; path_scale = 2; speed = 50; path_position = 0.5");
    world().move_instance(self);
    EXPECT_DOUBLE_EQ(self.path_position, 0.75);
    EXPECT_DOUBLE_EQ(self.x(), 50);  // (75 - 50) times the scale
    EXPECT_EQ(self.speed(), 50);     // the path's motion does not change the speed
    EXPECT_EQ(take_trace(), "");
    world().move_instance(self);  // reaches 1.0: the event comes before the move of the step
    EXPECT_EQ(take_trace(), "end@50");
}

TEST_F(Instances, TimeLineMomentsFireWhenThePositionPassesThem)
{
    auto line = std::make_unique<CTimeLine>();
    for (int step : {0, 5, 6}) {
        Moment& moment = line->moments.emplace_back();
        moment.step = step;
        moment.event.actions = {call_action("trace", {std::to_string(step), "' '"})};
    }
    time_lines.add("line", std::move(line));
    int object = add_object("thing");
    add_room({{0, 0, object, 100001, {}, false}});
    start();
    CInstance& self = instance(0);
    self.timeline_index = 0;
    self.timeline_speed = 1;
    world().advance_time_line(self);
    EXPECT_EQ(take_trace(), "0 ");
    self.timeline_position = 4.5;
    world().advance_time_line(self);  // 4.5 to 5.5
    world().advance_time_line(self);  // 5.5 to 6.5
    EXPECT_EQ(take_trace(), "5 6 ");
    self.timeline_position = 5;
    self.timeline_speed = 0;
    world().advance_time_line(self);
    EXPECT_EQ(take_trace(), "");

    // An error in a moment names the moment's step and the time line, not an event of the object.
    time_lines.get(0)->moments[1].event.actions.push_back(code_action("missing_variable += 1"));
    ASSERT_TRUE(world().compile_time_lines());
    self.timeline_position = 4.5;
    self.timeline_speed = 1;
    world().advance_time_line(self);
    EXPECT_NE(take_trace().find("5 [error] ERROR in\r\naction number 2\r\nat time step 5\r\nof time line line:\r\n"),
              std::string::npos);
}

TEST_F(Instances, CreateDestroyAndChangeWithTheirEvents)
{
    int sprite = add_sprite(2);
    int ball = add_object("ball");
    int star = add_object("star");
    objects.get(star)->sprite = sprite;
    objects.get(star)->depth = -7;
    event(ball, EVENT_CREATE).actions = {call_action("trace", {"'create-ball:'", "id", "' '"})};
    event(ball, EVENT_DESTROY).actions = {call_action("trace", {"'destroy-ball:'", "id", "' '"})};
    event(star, EVENT_CREATE).actions = {call_action("trace", {"'create-star:'", "id", "' '"})};
    add_room();
    start();
    CInstance* made = world().create_instance(ball, 5, 6);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->m_id, 100101);
    run(*made, "score_seen = 12");
    EXPECT_EQ(world().create_instance(999, 0, 0), nullptr);
    CInstance* changed = world().change_instance(*made, star, true);
    ASSERT_NE(changed, nullptr);
    std::string log = take_trace();
    EXPECT_EQ(log.substr(0, 19), "create-ball:100101 ");
    EXPECT_NE(log.find("Creating instance for non-existing object: 999\ndestroy-ball:100101 create-star:100101 "),
              std::string::npos) << log;
    EXPECT_EQ(changed->m_id, 100101);
    EXPECT_EQ(changed->sprite_index(), sprite);
    EXPECT_EQ(changed->depth, -7);
    EXPECT_EQ(changed->x(), 5);
    EXPECT_EQ(run(*changed, "return score_seen").real, 12);
    EXPECT_EQ(world().current_room()->instance_count(), 2);
    EXPECT_TRUE(made->m_destroyed);
    EXPECT_EQ(world().current_room()->object_count(ball), 1);
    EXPECT_EQ(world().find_instance(100101), made);  // the first with the id, although marked
    world().current_room()->remove_marked();
    EXPECT_EQ(world().find_instance(100101), changed);
    EXPECT_EQ(world().current_room()->instance_count(), 1);
    EXPECT_EQ(world().current_room()->object_count(ball), 0);
    EXPECT_EQ(world().create_instance(ball, 0, 0)->m_id, 100103);  // the change drew 100102

    world().change_instance(*changed, 42, false);
    EXPECT_NE(take_trace().find("Asking to change into non-existing object: 42\n"), std::string::npos);
}

TEST_F(Instances, VariablesReadAndWriteThroughTheSetters)
{
    int object = add_object("thing");
    add_room({{0, 0, object, 100001, {}, false}, {0, 0, object, 100002, {}, false}});
    start();
    CInstance& self = instance(0);
    run(self, "x = 7; speed = 2; direction = 90; alarm[9] = 5; alarm[3] = 2; visible = 0.5; solid = 0.6; "
              "image_index = 2.5; gravity = 0.25");
    EXPECT_EQ(self.x(), 7);
    EXPECT_EQ(self.vspeed(), -2);
    EXPECT_EQ(self.alarm(0), 5);
    EXPECT_EQ(self.alarm(3), 2);
    EXPECT_FALSE(self.visible);
    EXPECT_TRUE(self.solid);
    EXPECT_EQ(self.image_index, 2);
    EXPECT_EQ(run(self, "return vspeed + hspeed * 10 + gravity").real, -1.75);
    EXPECT_EQ(run(self, "return instance_count * 1000000 + instance_id[1]").real, 2100002);
    EXPECT_EQ(run(self, "return instance_id[5]").real, -4);
    EXPECT_EQ(run(self, "return object_index + image_number + sprite_width").real, 0);
    run(self, "room_speed = 0.4");
    EXPECT_NE(take_trace().find("Trying to set the room speed to a value <= 0."), std::string::npos);
    EXPECT_EQ(world().current_room()->speed, 20);
    run(self, "room_caption = 'hello'; background_x[3] = 4; view_hborder[9] = 2; room_persistent = 1");
    EXPECT_EQ(world().current_room()->caption, "hello");
    EXPECT_EQ(world().current_room()->layers[3].x, 4);
    EXPECT_EQ(world().current_room()->views[0].horizontal_border, 2);
    EXPECT_EQ(run(self, "return room_caption").string.str(), "hello");
    EXPECT_TRUE(world().current_room()->persistent);
}

TEST_F(Instances, ChangingIntoAMissingObjectOrSpriteIsReported)
{
    int box = add_object("box");
    add_room({{0, 0, box, 100001, {}, false}});
    start();
    EXPECT_EQ(world().change_instance(instance(0), 77, false), nullptr);
    EXPECT_NE(take_trace().find("Asking to change into non-existing object: 77"), std::string::npos);
    EXPECT_FALSE(instance(0).m_destroyed);
    world().set_sprite_checked(instance(0), 12);
    EXPECT_NE(take_trace().find("Setting instance to non-existing sprite: 12"), std::string::npos);
}
