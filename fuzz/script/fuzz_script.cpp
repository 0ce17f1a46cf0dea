// Fuzz target: any text compiles or fails with a message, and runs or fails with a message, as a
// program and as an expression, for instances of a small fake room.
#include "code/code_unit.h"
#include "code/errors.h"
#include "code/executer.h"
#include "code/function_registry.h"
#include "code/host.h"
#include "code/script.h"
#include "functions/table.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace quillon;

namespace {

// Three instances of two objects, and nothing printed.
class FuzzHost : public ScriptHost {
public:
    FuzzHost()
    {
        for (int i = 0; i < 3; ++i)
            m_instances[i].m_id = 100001 + i;
    }
    int instance_count() override { return 3; }
    ScriptInstance* instance_at(int index) override { return index < 3 ? &m_instances[index] : nullptr; }
    int object_instance_count(int object) override { return object == 0 ? 2 : object == 1 ? 1 : 0; }
    ScriptInstance* object_instance_at(int object, int index) override
    {
        return instance_at(object == 0 ? index : index + 2);
    }
    void debug_message(std::string_view) override {}

    ScriptInstance m_instances[3];  // the room
};

void quiet(FunctionCall&) {}

void set_up()
{
    static FuzzHost s_host;
    set_host(&s_host);
    register_builtin_functions(function_registry());
    // Files named by the input could be endless devices.
    function_registry().set_handler(*function_registry().find("execute_file"), quiet);
    errors().set_dialog([](const std::string&, bool) { return ErrorChoice::ignore; });
    scripts().add("recurse", std::string("return recurse(argument0 + 1)"));
    scripts().add("twice", std::string("return argument0 * 2"));
    scripts().compile_all();
}

void compile_and_run(const std::string& text, bool as_expression)
{
    errors().reset();
    set_loop_limit(20000);
    CCode code(text, as_expression);
    if (!code.compile())
        return;
    for (int i = 0; i < 3; ++i)
        host().instance_at(i)->m_variables.clear();
    global_variables().clear();
    ScriptInstance* self = host().instance_at(0);
    Value result;
    execute(self, host().instance_at(1), code, result);
    code.dump();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static bool s_ready = (set_up(), true);
    (void)s_ready;
    std::string text(reinterpret_cast<const char*>(data), size);
    compile_and_run(text, false);
    compile_and_run(text, true);
    return 0;
}
