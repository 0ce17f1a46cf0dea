// A language with a fake world: instances by object, resource names, captured errors and messages.
#pragma once

#include "code/builtin_variables.h"
#include "code/code_unit.h"
#include "code/errors.h"
#include "code/executer.h"
#include "code/function_registry.h"
#include "code/host.h"
#include "code/script.h"
#include "functions/table.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quillon::testing {

struct FakeInstance : ScriptInstance {
    std::int32_t object = 0;                                     // its object index
    std::map<std::pair<std::int32_t, std::int32_t>, Value> builtins;  // (id, index) -> value of world variables
};

class FakeHost : public ScriptHost {
public:
    FakeInstance& add(std::int32_t object, std::int32_t id)
    {
        auto& instance = *m_instances.emplace_back(std::make_unique<FakeInstance>());
        instance.object = object;
        instance.m_id = id;
        return instance;
    }
    int instance_count() override { return static_cast<int>(m_instances.size()); }
    ScriptInstance* instance_at(int index) override
    {
        return index < instance_count() ? m_instances[index].get() : nullptr;
    }
    int object_instance_count(int object) override { return static_cast<int>(of_object(object).size()); }
    ScriptInstance* object_instance_at(int object, int index) override
    {
        auto list = of_object(object);
        return index < static_cast<int>(list.size()) ? list[index] : nullptr;
    }
    std::optional<double> resource_index(std::string_view name) override
    {
        auto found = m_resources.find(std::string(name));
        return found == m_resources.end() ? std::nullopt : std::optional<double>(found->second);
    }
    bool get_variable(ScriptInstance* self, int id, int index, Value& result) override
    {
        auto& values = static_cast<FakeInstance*>(self)->builtins;
        auto found = values.find({id, index});
        result = found == values.end() ? Value() : found->second;
        return true;
    }
    bool set_variable(ScriptInstance* self, int id, int index, const Value& value) override
    {
        static_cast<FakeInstance*>(self)->builtins[{id, index}] = value;
        return true;
    }
    void perform_other_event_for_all(int number) override { m_output += "event " + std::to_string(number) + "\n"; }
    std::string object_name(int object) override { return "obj" + std::to_string(object); }
    void debug_message(std::string_view text) override { m_output += std::string(text) + "\n"; }
    void end_game() override { m_ended = true; }

    std::vector<ScriptInstance*> of_object(int object)
    {
        std::vector<ScriptInstance*> list;
        for (auto& instance : m_instances)
            if (instance->object == object)
                list.push_back(instance.get());
        return list;
    }

    std::vector<std::unique_ptr<FakeInstance>> m_instances;  // the room's instance array
    std::map<std::string, double> m_resources;               // resource names and indices
    std::string m_output;                                    // debug messages, events and errors, one per line
    bool m_ended = false;                                    // end_game was asked for
};

// Resets every process-wide table of the language and installs a fake host that records errors.
class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (function_registry().size() == 0)
            register_builtin_functions(function_registry());
        errors().reset();
        errors().m_settings = LanguageSettings();
        errors().m_context = ErrorContext();
        errors().set_dialog([this](const std::string& text, bool) {
            m_host.m_output += "!! " + text + "\n";
            return ErrorChoice::ignore;
        });
        global_variables().clear();
        scripts().clear();
        reset_script_arguments();
        game_counters() = GameCounters();
        set_host(&m_host);
        m_self = &m_host.add(0, 100001);
    }
    void TearDown() override
    {
        set_host(nullptr);
        errors().set_dialog(nullptr);
    }

    // Runs a program for self; compile errors come back as "compile: " plus the code error text.
    std::string run(const std::string& program)
    {
        CCode code(program, false);
        if (!code.compile()) {
            std::string text = "compile: " + errors().code_error_text();
            errors().clear_code_error();
            return text;
        }
        Value result;
        if (!execute(m_self, m_self, code, result)) {
            std::string text = "error: " + errors().code_error_text();
            errors().clear_code_error();
            return text;
        }
        return m_host.m_output;
    }

    FakeHost m_host;
    FakeInstance* m_self = nullptr;
};

}  // namespace quillon::testing
