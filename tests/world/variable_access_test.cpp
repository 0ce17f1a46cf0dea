// Game code reaching instances' built-in variables, own variables, globals and arrays: every setter's effect and
// message on the direct paths, and loops that allocate nothing per round.
#include "world_fixture.h"

#include <cstdlib>
#include <new>

using namespace quillon;
using namespace quillon::testing;

namespace {

std::size_t s_allocations = 0;  // operator new calls in this test program so far

class VariableAccess : public WorldTest {
protected:
    // Two balls of a 32 by 32 sprite at (10, 20) and (30, 40).
    void SetUp() override
    {
        WorldTest::SetUp();
        int ball = add_object("ball");
        objects.get(ball)->sprite = add_sprite(1);
        add_room({{10, 20, ball, 100001, {}, false}, {30, 40, ball, 100002, {}, false}});
        start();
    }
};

}  // namespace

void* operator new(std::size_t size)
{
    ++s_allocations;
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}
// The forms that others free with the plain delete come from the same malloc (std::stable_sort's buffer is
// taken without throwing), so every block is freed where it was allocated.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    ++s_allocations;
    return std::malloc(size ? size : 1);
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

TEST_F(VariableAccess, AssignmentsGoThroughEverySetterWithItsEffects)
{
    CInstance& self = instance(0);
    CInstance& other = instance(1);
    // Plain and compound assignments, conditions and reads of other instances, in one program.
    run(self, "x += 5; y = y * 2; hspeed = 3; vspeed -= 4; if (x > 14 && y == 40) depth = x + y;"
              " visible = 0.5; solid = 0.6; image_index = 2.5; image_single += 1.5; (100002).x += 1; other.friction = 2;"
              " with (ball) gravity = x");
    EXPECT_EQ(self.x(), 15);
    EXPECT_EQ(self.y(), 40);
    EXPECT_EQ((std::array {self.bbox_left(), self.bbox_top(), self.bbox_right(), self.bbox_bottom()}),
              (std::array {15, 40, 46, 71}));
    EXPECT_EQ(self.speed(), 5);
    EXPECT_DOUBLE_EQ(self.direction(), 53.13010235415598);
    EXPECT_EQ(self.depth, 55);
    EXPECT_FALSE(self.visible);
    EXPECT_TRUE(self.solid);
    EXPECT_EQ(self.image_index, 2);
    EXPECT_EQ(self.image_single, 0);  // -1 + 1.5 rounds to 0, halves to even
    EXPECT_EQ(other.x(), 31);
    EXPECT_EQ(other.bbox_left(), 31);
    EXPECT_EQ(self.friction, 2);  // `other` is self, the instance that ran the code
    EXPECT_EQ(self.gravity, 15);
    EXPECT_EQ(other.gravity, 31);
    // A string's real part is 0.
    EXPECT_EQ(run(self, "x = 'abc'; return x + bbox_left").real, 0);
}

TEST_F(VariableAccess, FailedAssignmentsLeaveTheVariableAndReportAsBefore)
{
    CInstance& self = instance(0);
    const struct {
        const char* code;     // run for the first ball
        const char* message;  // the error it reports
    } cases[] = {
        {"x += 'a'", "Wrong type of arguments to +."},
        {"x /= 0", "Division by 0."},
        {"x = 7; id += 1", "Cannot assign to the variable"},
        {"bbox_left = 3", "Cannot assign to the variable"},
        {"x = 9; other.object_index -= 1", "Cannot assign to the variable"},
    };
    for (const auto& test : cases) {
        run(self, test.code);
        EXPECT_NE(take_trace().find(test.message), std::string::npos) << test.code;
    }
    EXPECT_EQ(self.x(), 9);
    EXPECT_EQ(self.m_id, 100001);
    EXPECT_EQ(self.bbox_left(), 9);
}

TEST_F(VariableAccess, LoopsOfAssignmentsWithBlocksAndArraysAllocateNothingPerRound)
{
    const std::string body =
        "x += hspeed; y = y + 1; hspeed = -hspeed; total += i; global.count += 1; grid[i mod 10, i mod 5] = i div 3;"
        " t = grid[i mod 10, i mod 5] + alarm[0] + global.count; with (ball) { x += 1; other.seen = x; }"
        " with (other) own = 2; (100002).y -= 1; if (x < 0 || x > 800) vspeed = 1; other.x = x;";
    auto program = [&body](int rounds) {
        return "var i, t; global.count = 0; total = 0; for (i = 0; i < " + std::to_string(rounds) + "; i += 1) {" +
               body + "}";
    };
    CCode few(program(20), false);
    CCode many(program(2000), false);
    ASSERT_TRUE(few.compile());
    ASSERT_TRUE(many.compile());
    CInstance& self = instance(0);
    auto allocations = [&self](const CCode& code) {
        Value result;
        std::size_t before = s_allocations;
        EXPECT_TRUE(execute(&self, &self, code, result)) << errors().code_error_text();
        return s_allocations - before;
    };
    allocations(few);  // the first run makes the frame of temporaries, the variables and the arrays' rows
    std::size_t in_few_rounds = allocations(few);
    EXPECT_EQ(allocations(many), in_few_rounds);
    EXPECT_EQ(run(self, "return global.count").real, 2000);
}
