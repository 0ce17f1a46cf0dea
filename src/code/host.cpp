// ScriptHost: defaults for a game without a world.
#include "code/host.h"

#include "code/messages.h"
#include "support/terminal_text.h"

#include <cstdio>

namespace quillon {

namespace {
ScriptHost s_default_host;
ScriptHost* s_host = &s_default_host;
}  // namespace

ScriptHost& host() { return *s_host; }
void set_host(ScriptHost* installed) { s_host = installed ? installed : &s_default_host; }

ScriptInstance* ScriptHost::instance_at(int) { return nullptr; }
int ScriptHost::object_instance_count(int) { return 0; }
ScriptInstance* ScriptHost::object_instance_at(int, int) { return nullptr; }

ScriptInstance* ScriptHost::find_instance(std::int32_t id)
{
    int count = instance_count();
    for (int i = 0; i < count; ++i)
        if (ScriptInstance* instance = instance_at(i); instance && instance->m_id == id)
            return instance;
    return nullptr;
}

std::optional<double> ScriptHost::resource_index(std::string_view) { return std::nullopt; }

bool ScriptHost::get_variable(ScriptInstance*, int, int, Value& result)
{
    result.set_real(0);
    return true;
}

bool ScriptHost::set_variable(ScriptInstance*, int, int, const Value&) { return true; }
void ScriptHost::perform_other_event_for_all(int) {}
std::string ScriptHost::object_name(int) { return message::UNDEFINED_NAME; }
std::string ScriptHost::timeline_name(int) { return message::UNDEFINED_NAME; }

std::string ScriptHost::event_name(int type, int number)
{
    switch (type) {
    case 0: return "Create Event";
    case 1: return "Destroy Event";
    case 2: return "Alarm Event for alarm " + std::to_string(number);
    case 3: return std::string(number == 1 ? "Begin" : number == 2 ? "End" : "") + " Step Event";
    case 8: return "Draw Event";
    default: return "<Unknown Event>";
    }
}

void ScriptHost::debug_message(std::string_view text)
{
    write_terminal_line(stderr, text);
}

}  // namespace quillon
