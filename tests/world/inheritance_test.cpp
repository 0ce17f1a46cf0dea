// Events found through parents, the collision rule, inherited events, event built-ins, and parent loops.
#include "world_fixture.h"

#include "world/event_names.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

class Inheritance : public WorldTest {};

}  // namespace

TEST_F(Inheritance, EventsComeFromTheNearestAncestorAndEmptyEventsCountAsAbsent)
{
    int grand = add_object("grand");
    int parent = add_object("parent", grand);
    int child = add_object("child", parent);
    event(grand, EVENT_STEP).actions = {trace_action("grand-step ")};
    event(parent, EVENT_STEP).actions = {};  // all actions deleted
    event(parent, EVENT_DRAW).actions = {trace_action("parent-draw ")};
    event(child, EVENT_DRAW).actions = {trace_action("child-draw "), call_action("event_inherited", {})};
    event(child, EVENT_DESTROY).actions = {call_action("event_inherited", {}), trace_action("no-parent-event ")};
    add_room({{0, 0, child, 100001, {}, false}});
    start();
    CInstance& self = instance(0);
    world().perform_event_for(self, &self, EVENT_STEP, 0);
    world().perform_event_for(self, &self, EVENT_DRAW, 0);
    world().perform_event_for(self, &self, EVENT_DESTROY, 0);
    EXPECT_EQ(take_trace(), "grand-step child-draw parent-draw no-parent-event ");
    EXPECT_TRUE(world().tree().has_event(child, EVENT_STEP, 0));
    EXPECT_FALSE(world().tree().has_event(child, EVENT_ALARM, 0));
    EXPECT_TRUE(world().tree().has_events_of_kind(child, EVENT_DRAW));
}

TEST_F(Inheritance, EventInheritedLooksUpFromTheParentOfTheObjectTheEventWasPerformedFor)
{
    int grand = add_object("grand");
    int parent = add_object("parent", grand);
    int child = add_object("child", parent);
    event(grand, EVENT_ALARM, 1).actions = {call_action("trace", {"'grand:'", "event_object", "' '"})};
    event(parent, EVENT_ALARM, 1).actions = {call_action("trace", {"'parent:'", "event_object", "' '"}),
                                             call_action("event_inherited", {}),
                                             call_action("trace", {"'back:'", "event_object", "' '"})};
    add_room({{0, 0, parent, 100001, {}, false}, {0, 0, child, 100002, {}, false}});
    start();
    world().perform_event_for(instance(0), &instance(0), EVENT_ALARM, 1);
    EXPECT_EQ(take_trace(), "parent:1 grand:0 back:1 ");
    // The child has no event of its own: its parent's runs with the child as the event's object, so the
    // inherited event found from the child's parent is the parent's own again.
    world().perform_event_for(instance(1), &instance(1), EVENT_ALARM, 1);
    EXPECT_EQ(take_trace(), "parent:2 parent:1 grand:0 back:1 back:2 ");
}

TEST_F(Inheritance, CollisionsWithAChildFindEventsForItsAncestors)
{
    int wall = add_object("wall");
    int brick = add_object("brick", wall);
    int ball = add_object("ball");
    int fast_ball = add_object("fast_ball", ball);
    int other = add_object("other");
    event(ball, EVENT_COLLISION, wall).actions = {trace_action("ball-wall")};
    const ObjectTree& tree = world().tree();
    for (int self : {ball, fast_ball})
        for (int target : {wall, brick}) {
            EXPECT_NE(tree.find_event(self, EVENT_COLLISION, target), nullptr) << self << " " << target;
            EXPECT_TRUE(tree.has_event(self, EVENT_COLLISION, target));
        }
    EXPECT_EQ(tree.find_event(ball, EVENT_COLLISION, other), nullptr);
    EXPECT_EQ(tree.find_event(wall, EVENT_COLLISION, ball), nullptr);
    EXPECT_FALSE(tree.has_event(other, EVENT_COLLISION, brick));
}

TEST_F(Inheritance, EventBuiltinsPerformForSelfWithTheCallersOther)
{
    int helper = add_object("helper");
    int actor = add_object("actor");
    event(helper, EVENT_ALARM, 2).actions = {call_action("trace", {"'helper-alarm:'", "id", "other.id", "' '"})};
    event(actor, EVENT_OTHER, OTHER_USER_0 + 3).actions = {call_action("trace", {"'user3:'", "id", "' '"})};
    event(actor, EVENT_ALARM, 2).actions = {call_action("trace", {"'actor-alarm '"})};
    event(actor, EVENT_STEP).actions = {code_action("event_user(3); event_perform(2, 2); "
                                                    "event_perform_object(helper, 2, 2); trace(event_type)")};
    add_room({{0, 0, actor, 100001, {}, false}, {0, 0, actor, 100002, {}, false}});
    start();
    world().perform_event(&instance(0), &instance(1), actor, EVENT_STEP, 0);
    EXPECT_EQ(take_trace(), "user3:100001 actor-alarm helper-alarm:100001100002 3");
}

TEST_F(Inheritance, ChangesWaitingStopEvents)
{
    int object = add_object("thing");
    event(object, EVENT_STEP).actions = {trace_action("a"), code_action("room = room"), trace_action("b")};
    event(object, EVENT_DRAW).actions = {trace_action("draw")};
    add_room({{0, 0, object, 100001, {}, false}});
    start();
    world().perform_event_for_all(EVENT_STEP, 0);
    world().perform_event_for_all(EVENT_DRAW, 0);
    EXPECT_EQ(take_trace(), "a");
    EXPECT_EQ(world().pending_change(), 0);
}

TEST_F(Inheritance, AnEventPerformingItselfForeverStopsTheGame)
{
    int object = add_object("echo");
    event(object, EVENT_OTHER, OTHER_USER_0).actions = {call_action("event_user", {"0"})};
    add_room({{0, 0, object, 100001, {}, false}});
    start();
    world().perform_event_for(instance(0), &instance(0), EVENT_OTHER, OTHER_USER_0);
    EXPECT_EQ(world().pending_change(), CHANGE_STOP);
    EXPECT_NE(take_trace().find("[fatal] "), std::string::npos);
}

TEST_F(Inheritance, AParentChainThatLoopsIsRefusedWithItsObjectsName)
{
    add_object("fine");
    int first = add_object("first");
    int second = add_object("second", first);
    objects.get(first)->parent = second;
    EXPECT_EQ(find_parent_loop(objects), "Object first is its own ancestor.");
    event(second, EVENT_COLLISION, first).actions = {trace_action("hit")};
    ObjectTree looping(objects);  // built anyway, every lookup still ends
    EXPECT_EQ(looping.chain(first).size(), 2u);
    EXPECT_NE(looping.find_event(first, EVENT_COLLISION, second), nullptr);
    EXPECT_EQ(looping.find_event(first, EVENT_COLLISION, 0), nullptr);
    objects.get(first)->parent = first;
    EXPECT_EQ(find_parent_loop(objects), "Object first is its own ancestor.");
    objects.get(first)->parent = 57;  // no such object: the chain simply ends
    EXPECT_EQ(find_parent_loop(objects), std::nullopt);
}

TEST(EventNames, AsMessagesShowThem)
{
    ResourceList<CObject> objects;
    objects.add("wall", std::make_unique<CObject>());
    const std::pair<std::pair<int, int>, const char*> cases[] = {
        {{0, 0}, "Create Event"},
        {{2, 4}, "Alarm Event for alarm 4"},
        {{3, 0}, " Step Event"},
        {{3, 1}, "Begin Step Event"},
        {{3, 2}, "End Step Event"},
        {{3, 3}, "<unknown> Step Event"},
        {{4, 0}, "Collision Event with object wall"},
        {{4, 7}, "Collision Event with object <undefined>"},
        {{5, 65}, "Keyboard Event for A-key Key"},
        {{9, 0}, "Key Press Event for <no key> Key"},
        {{10, 100}, "Key Release Event for Keypad 4 Key"},
        {{5, 115}, "Keyboard Event for F4 Key"},
        {{5, 200}, "Keyboard Event for <unknown> Key"},
        {{6, 11}, "Mouse Event for Mouse Leave"},
        {{6, 19}, "Mouse Event for Joystick 1 Down"},
        {{6, 43}, "Mouse Event for Joystick 2 Button 8"},
        {{6, 20}, "Mouse Event for <unknown>"},
        {{7, 8}, "Other Event: End Of Path"},
        {{7, 17}, "Other Event: User Defined 7"},
        {{8, 0}, "Draw Event"},
        {{11, 0}, "<Unknown Event>"},
    };
    for (const auto& [event, name] : cases)
        EXPECT_EQ(event_name(event.first, event.second, objects), name);
}
