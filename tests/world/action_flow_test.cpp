// Actions: blocks, else, repeat, exit and questions; applies-to; arguments; compilation and its messages.
#include "world_fixture.h"

#include <pthread.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

CAction begin() { return flow_action(ACTION_BEGIN_BLOCK); }
CAction end() { return flow_action(ACTION_END_BLOCK); }
CAction otherwise() { return flow_action(ACTION_ELSE); }
CAction exit_event() { return flow_action(ACTION_EXIT); }
CAction repeat(const std::string& count) { return flow_action(ACTION_REPEAT, {count}); }
CAction t(const std::string& text) { return trace_action(text); }

struct FlowCase {
    const char* name;              // what the case shows
    std::vector<CAction> actions;  // the create event
    const char* trace;             // what it writes
};

class ActionFlow : public WorldTest {};

}  // namespace

TEST_F(ActionFlow, BlocksQuestionsElseRepeatAndExit)
{
    const FlowCase cases[] = {
        {"a false question skips one action and takes the else", {question("0"), t("a"), otherwise(), t("b"), t("c")}, "bc"},
        {"a true question skips the action after the else", {question("1"), t("a"), otherwise(), t("b"), t("c")}, "ac"},
        {"NOT inverts the answer", {question("1", true), t("a"), otherwise(), t("b")}, "b"},
        {"a skipped inner question leaves the else to the outer one",
         {question("0"), question("1"), t("x"), otherwise(), t("y")}, "y"},
        {"a run inner question takes the else itself", {question("1"), question("1"), t("x"), otherwise(), t("y")}, "x"},
        {"a question skips a whole block with nested blocks",
         {question("0"), begin(), t("a"), begin(), t("b"), end(), question("1"), t("c"), end(), otherwise(), t("d")},
         "d"},
        {"a question runs a block", {question("1"), begin(), t("a"), t("b"), end(), otherwise(), t("c"), t("d")}, "abd"},
        {"repeat runs the next action", {repeat("3"), t("a"), t("b")}, "aaab"},
        {"repeat runs a block", {repeat("2"), begin(), t("a"), t("b"), end(), t("c")}, "ababc"},
        {"repeat zero or less runs nothing", {repeat("0"), begin(), t("a"), end(), repeat("-2"), t("b"), t("c")}, "c"},
        {"exit in a repeated block ends the event", {repeat("3"), begin(), t("a"), exit_event(), end(), t("b")}, "a"},
        {"exit inside a block ends the event", {begin(), t("a"), begin(), exit_event(), end(), t("b"), end(), t("c")}, "a"},
        {"a repeat governed by a false question is skipped whole",
         {question("0"), repeat("2"), begin(), t("a"), end(), t("b")}, "b"},
        {"a lone else and end block do nothing", {otherwise(), end(), t("a")}, "a"},
        {"a block without its end runs to the end of the event", {begin(), t("a"), t("b")}, "ab"},
    };
    for (const FlowCase& flow : cases) {
        objects.clear();
        rooms.clear();
        m_world.reset();
        int object = add_object("thing");
        event(object, EVENT_CREATE).actions = flow.actions;
        add_room({{0, 0, object, 100001, {}, false}});
        EXPECT_EQ(start(), std::string(flow.trace) + "[shown]") << flow.name;
    }
}

// Runs the call on a thread with a small stack, where a walk that recurses once per action soon runs out.
template<typename Call>
void run_on_small_stack(Call call)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    auto trampoline = [](void* argument) -> void* {
        (*static_cast<Call*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, trampoline, &call), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

// A hostile file may chain questions or nest blocks by the ten thousand; skipping them must not run the
// stack out.
TEST_F(ActionFlow, LongChainsAndDeepBlocksAreSkippedWithoutRunningOutOfStack)
{
    constexpr int LENGTH = 20000;
    CAction asks_no = flow_action(ACTION_NORMAL);  // performs nothing, so it answers no
    asks_no.is_question = true;
    std::vector<CAction> chain(LENGTH, asks_no);
    chain.push_back(t("skipped"));
    chain.push_back(t("after-chain "));
    chain.push_back(asks_no);
    chain.insert(chain.end(), LENGTH, begin());
    chain.push_back(t("skipped"));
    chain.insert(chain.end(), LENGTH, end());
    chain.push_back(t("after-blocks"));
    int object = add_object("thing");
    event(object, EVENT_OTHER, OTHER_USER_0).actions = std::move(chain);
    add_room({{0, 0, object, 100001, {}, false}});
    start();
    run_on_small_stack([&] { world().perform_event_for(instance(0), &instance(0), EVENT_OTHER, OTHER_USER_0); });
    EXPECT_EQ(take_trace(), "after-chain after-blocks");
}

TEST_F(ActionFlow, AppliesToOtherAndToObjectsWithTheirDescendants)
{
    int parent = add_object("parent");
    int child = add_object("child", parent);
    int lonely = add_object("lonely");
    int actor = add_object("actor");
    auto applied = [](CAction action, std::int32_t target) {
        action.applies_to_used = true;
        action.applies_to = target;
        return action;
    };
    event(actor, EVENT_OTHER, OTHER_USER_0).actions = {
        applied(call_action("trace", {"id", "' '"}), parent),
        applied(call_action("trace", {"id", "' '"}), APPLIES_TO_OTHER),
        applied(question("0"), lonely), t("empty-yes "),
        applied(question("0", true), lonely), t("never "),
        applied(question("id < 100003"), parent), t("not-all "), otherwise(), t("some-no "),
        applied(t("out of range "), 99),
        applied(question("0", true), 99), t("nobody-yes "),
    };
    // NOT inverts the answer for all of them: the instances answer until the first no, and that no is
    // then turned into a yes.
    CAction asked = code_action("trace(id, ' '); return id < 100002");
    asked.is_question = true;
    asked.negate = true;
    event(actor, EVENT_OTHER, OTHER_USER_0 + 1).actions = {applied(asked, parent), t("negated-yes "), otherwise(),
                                                           t("negated-no ")};
    add_room({{0, 0, parent, 100001, {}, false}, {0, 0, child, 100002, {}, false}, {0, 0, child, 100003, {}, false},
              {0, 0, actor, 100004, {}, false}});
    start();
    world().perform_event(&instance(3), &instance(0), actor, EVENT_OTHER, OTHER_USER_0);
    EXPECT_EQ(take_trace(), "100001 100002 100003 100001 empty-yes some-no nobody-yes ");
    world().perform_event(&instance(3), &instance(0), actor, EVENT_OTHER, OTHER_USER_0 + 1);
    EXPECT_EQ(take_trace(), "100001 100002 negated-yes ");
}

TEST_F(ActionFlow, CodeActionsSeeTheirArgumentsAndTheRelativeFlag)
{
    int object = add_object("thing");
    CAction code = code_action("trace(argument0, argument_relative, ' ')");
    code.may_be_relative = true;
    code.relative = true;
    CAction relative_call = call_action("trace", {"argument_relative", "argument0"});
    CAction set_plain = flow_action(ACTION_SET_VARIABLE, {"v", "2"});
    set_plain.argument_kinds = {1, 0};
    CAction set_relative = set_plain;
    set_relative.relative = true;
    event(object, EVENT_CREATE).actions = {code, set_plain, set_relative, set_relative, relative_call,
                                           code_action("trace(' ', v)")};
    add_room({{0, 0, object, 100001, {}, false}});
    script_arguments().set(0) = Value("caller");
    EXPECT_EQ(start(), "trace(argument0, argument_relative, ' ')1 0caller 6[shown]");
    EXPECT_EQ(script_arguments().get(0).string.str(), "caller");
}

TEST_F(ActionFlow, ArgumentsOfKindTwoAreStringsUnlessQuoted)
{
    int object = add_object("thing");
    CAction action = call_action("trace", {"\"quoted\" + 'x'", "plain text", "'single'"});
    action.argument_kinds = {2, 2, 15};
    event(object, EVENT_CREATE).actions = {action};
    add_room({{0, 0, object, 100001, {}, false}});
    EXPECT_EQ(start(), "quotedxplain text'single'[shown]");
}

TEST_F(ActionFlow, CompilationErrorsNameTheirPlaceAndStopCompiling)
{
    int object = add_object("thing");
    event(object, EVENT_ALARM, 3).actions = {t("fine"), code_action("x = ")};
    World& game = world(false);
    ASSERT_FALSE(game.compile_objects());
    std::string log = take_trace();
    EXPECT_NE(log.find("[fatal] "), std::string::npos) << log;
    EXPECT_NE(log.find("action number 2"), std::string::npos) << log;
    EXPECT_NE(log.find("Alarm Event for alarm 3"), std::string::npos) << log;
    EXPECT_NE(log.find("COMPILATION ERROR in code action\r"), std::string::npos) << log;

    errors().reset();
    event(object, EVENT_ALARM, 3).actions = {call_action("trace", {"1 +"})};
    ASSERT_FALSE(game.compile_objects());
    EXPECT_NE(take_trace().find("COMPILATION ERROR in argument 0\r"), std::string::npos);
}

TEST_F(ActionFlow, AnUnknownActionFunctionIsShownAndDoesNothing)
{
    int object = add_object("thing");
    event(object, EVENT_CREATE).actions = {call_action("no_such_function", {"1"}), t("after")};
    add_room({{0, 0, object, 100001, {}, false}});
    EXPECT_EQ(start(), "[notice] Failed to locate action function no_such_function\nafter[shown]");
}
