// Objects and time lines as JSON records, in both directions.
#include "object_json.h"

#include "action_json.h"
#include "event_json.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr FieldRef<CObject> OBJECT_FIELDS[] = {
    {"solid", &CObject::solid},
    {"visible", &CObject::visible},
    {"depth", &CObject::depth},
    {"persistent", &CObject::persistent},
    {"version", &CObject::version},
    {"highest_event_kind", &CObject::highest_kind},
};

void pack_event(const Json& json, const Place& place, const PackContext& context, CObject& object)
{
    // Until the event is known, messages name it as written.
    const Json* kind = json.is_object() && json.contains("event") ? &json["event"] : nullptr;
    Fields fields(json, place.inside(kind && kind->is_string() ? "event " + kind->get<std::string>() : "event"));
    EventKey key = read_event_key(fields, context.names.objects);
    Place event_place = place.inside("event " + event_label(key, context.names.objects));
    std::int32_t last_kind = object.version == OBJECT_VERSION ? object.highest_kind : EVENT_DRAW;
    if (key.kind > last_kind)
        event_place.fail("event", "an object of version " + std::to_string(object.version)
                                      + " stores event kinds up to " + std::to_string(last_kind) + " only");
    const auto& list = object.events[key.kind];
    if (std::any_of(list.begin(), list.end(), [&](const NumberedEvent& e) { return e.number == key.number; }))
        event_place.fail("event", "given twice");
    CEvent& event = object.event(key.kind, key.number);
    if (const Json* actions = fields.take("actions"))
        pack_actions(*actions, event_place, context, event);
    fields.finish();
}

}  // namespace

CObject pack_object(const Json& json, const Place& place, const PackContext& context)
{
    Fields fields(json, place);
    CObject object;
    fields.get_fields<CObject>(object, OBJECT_FIELDS);
    context.names.sprites.get(fields, "sprite", object.sprite);
    context.names.sprites.get(fields, "mask", object.mask);
    context.names.objects.get(fields, "parent", object.parent);
    if (const Json* events = fields.take("events")) {
        if (!events->is_array())
            fields.fail("events", "expected an array");
        for (const Json& event : *events)
            pack_event(event, place, context, object);
    }
    fields.finish();
    return object;
}

Json unpack_object(const CObject& object, UnpackContext& context, const std::string& code_folder)
{
    Json out = Json::object();
    for (auto [key, index] : {std::pair {"sprite", object.sprite}, std::pair {"mask", object.mask}}) {
        if (index != -1)
            out[key] = context.names.sprites.reference(index);
    }
    if (object.parent != -1)
        out["parent"] = context.names.objects.reference(object.parent);
    put_fields<CObject>(out, object, CObject {}, OBJECT_FIELDS);
    Json events = Json::array();
    for (int kind = 0; kind < EVENT_KIND_COUNT; ++kind) {
        for (const NumberedEvent& numbered : object.events[kind]) {
            EventKey key {kind, numbered.number};
            Json event;
            write_event_key(event, key, context.names.objects);
            std::string stem = safe_stem(event_label(key, context.names.objects));
            event["actions"] = unpack_actions(numbered.event, context, code_folder, stem);
            events.push_back(std::move(event));
        }
    }
    if (!events.empty())
        out["events"] = std::move(events);
    return out;
}

CTimeLine pack_time_line(const Json& json, const Place& place, const PackContext& context)
{
    Fields fields(json, place);
    CTimeLine time_line;
    if (const Json* moments = fields.take("moments")) {
        if (!moments->is_array())
            fields.fail("moments", "expected an array");
        for (std::size_t i = 0; i < moments->size(); ++i) {
            Place moment_place = place.inside("moment " + std::to_string(i + 1));
            Fields moment_fields((*moments)[i], moment_place);
            Moment& moment = time_line.moments.emplace_back();
            moment_fields.get("step", moment.step);
            if (const Json* actions = moment_fields.take("actions"))
                pack_actions(*actions, moment_place, context, moment.event);
            moment_fields.finish();
        }
    }
    fields.finish();
    return time_line;
}

Json unpack_time_line(const CTimeLine& time_line, UnpackContext& context, const std::string& code_folder)
{
    Json moments = Json::array();
    for (const Moment& moment : time_line.moments) {
        Json out;
        out["step"] = moment.step;
        out["actions"] = unpack_actions(moment.event, context, code_folder, "step_" + std::to_string(moment.step));
        moments.push_back(std::move(out));
    }
    return Json {{"moments", std::move(moments)}};
}

}  // namespace quillon
