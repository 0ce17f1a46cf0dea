// The multiplayer functions: connections, sessions, players, messages and shared data. None reports an
// error: each gives false, 0 or the empty string when it cannot do what is asked.
#include "functions/multiplayer.h"

#include "net/multiplayer.h"
#include "platform/net_transport.h"

#include <optional>

namespace quillon {

namespace {

net::Multiplayer& state()
{
    return net::multiplayer();
}

void set_bool(FunctionCall& call, bool value)
{
    call.result.set_real(value ? 1 : 0);
}

void set_text(FunctionCall& call, std::string_view text)
{
    call.result.set_string(ScriptString(text));
}

// A player given by id (0: all players) or, as a string, by name; none for an unknown name or an id that no
// 32-bit player can have.
std::optional<std::uint32_t> player_argument(const FunctionCall& call, int index)
{
    const Value& argument = call.argument(index);
    if (argument.is_string())
        return state().player_named(argument.string.view());
    std::int64_t id = round_to_int64(argument.real);
    if (id < 0 || id > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::uint32_t>(id);
}

// IPX, modems and serial cables do not exist here: connecting through them always fails.
void mplay_init_unavailable(FunctionCall& call)
{
    set_bool(call, false);
}

void mplay_init_tcpip(FunctionCall& call)
{
    set_bool(call, state().init_tcpip(string_argument(call, 0).view()));
}

void mplay_connect_status(FunctionCall& call)
{
    call.result.set_real(static_cast<double>(state().connection_kind()));
}

void mplay_end(FunctionCall&)
{
    state().end();
}

void mplay_session_mode(FunctionCall& call)
{
    state().set_migration(integer_argument(call, 0) != 0);
}

void mplay_session_create(FunctionCall& call)
{
    set_bool(call,
        state().create_session(
            string_argument(call, 0).view(), integer_argument(call, 1), string_argument(call, 2).view()));
}

void mplay_session_find(FunctionCall& call)
{
    call.result.set_real(state().find_sessions());
}

void mplay_session_name(FunctionCall& call)
{
    set_text(call, state().session_name(integer_argument(call, 0)));
}

void mplay_session_join(FunctionCall& call)
{
    set_bool(call, state().join_session(integer_argument(call, 0), string_argument(call, 1).view()));
}

void mplay_session_status(FunctionCall& call)
{
    call.result.set_real(static_cast<double>(state().session_status()));
}

void mplay_session_end(FunctionCall&)
{
    state().end_session();
}

void mplay_player_find(FunctionCall& call)
{
    call.result.set_real(state().find_players());
}

void mplay_player_name(FunctionCall& call)
{
    set_text(call, state().player_name(integer_argument(call, 0)));
}

void mplay_player_id(FunctionCall& call)
{
    call.result.set_real(state().player_id(integer_argument(call, 0)));
}

void mplay_data_write(FunctionCall& call)
{
    set_bool(call, state().write_data(integer_argument(call, 0), call.argument(1)));
}

void mplay_data_read(FunctionCall& call)
{
    call.result = state().read_data(integer_argument(call, 0));
}

void mplay_data_mode(FunctionCall& call)
{
    state().set_data_mode(integer_argument(call, 0) != 0);
}

void send_message(FunctionCall& call, bool guaranteed)
{
    std::optional<std::uint32_t> player = player_argument(call, 0);
    set_bool(call, player && state().send_message(*player, integer_argument(call, 1), call.argument(2), guaranteed));
}

void mplay_message_send(FunctionCall& call)
{
    send_message(call, false);
}

void mplay_message_send_guaranteed(FunctionCall& call)
{
    send_message(call, true);
}

void mplay_message_receive(FunctionCall& call)
{
    std::optional<std::uint32_t> player = player_argument(call, 0);
    set_bool(call, player && state().receive_message(*player));
}

void mplay_message_id(FunctionCall& call)
{
    call.result.set_real(state().current_message().id);
}

void mplay_message_value(FunctionCall& call)
{
    call.result = state().current_message().value;
}

void mplay_message_player(FunctionCall& call)
{
    call.result.set_real(state().current_message().player);
}

void mplay_message_name(FunctionCall& call)
{
    set_text(call, state().current_sender_name());
}

void mplay_message_count(FunctionCall& call)
{
    std::optional<std::uint32_t> player = player_argument(call, 0);
    call.result.set_real(player ? state().message_count(*player) : 0);
}

void mplay_message_clear(FunctionCall& call)
{
    if (std::optional<std::uint32_t> player = player_argument(call, 0))
        state().clear_messages(*player);
}

void mplay_ipaddress(FunctionCall& call)
{
    set_text(call, platform::first_ipv4_address());
}

constexpr FunctionEntry MULTIPLAYER_FUNCTIONS[] = {
    { "mplay_init_ipx", 0, mplay_init_unavailable },
    { "mplay_init_tcpip", 1, mplay_init_tcpip },
    { "mplay_init_modem", 2, mplay_init_unavailable },
    { "mplay_init_serial", 5, mplay_init_unavailable },
    { "mplay_connect_status", 0, mplay_connect_status },
    { "mplay_end", 0, mplay_end },
    { "mplay_session_mode", 1, mplay_session_mode },
    { "mplay_session_create", 3, mplay_session_create },
    { "mplay_session_find", 0, mplay_session_find },
    { "mplay_session_name", 1, mplay_session_name },
    { "mplay_session_join", 2, mplay_session_join },
    { "mplay_session_status", 0, mplay_session_status },
    { "mplay_session_end", 0, mplay_session_end },
    { "mplay_player_find", 0, mplay_player_find },
    { "mplay_player_name", 1, mplay_player_name },
    { "mplay_player_id", 1, mplay_player_id },
    { "mplay_data_write", 2, mplay_data_write },
    { "mplay_data_read", 1, mplay_data_read },
    { "mplay_data_mode", 1, mplay_data_mode },
    { "mplay_message_send", 3, mplay_message_send },
    { "mplay_message_send_guaranteed", 3, mplay_message_send_guaranteed },
    { "mplay_message_receive", 1, mplay_message_receive },
    { "mplay_message_id", 0, mplay_message_id },
    { "mplay_message_value", 0, mplay_message_value },
    { "mplay_message_player", 0, mplay_message_player },
    { "mplay_message_name", 0, mplay_message_name },
    { "mplay_message_count", 1, mplay_message_count },
    { "mplay_message_clear", 1, mplay_message_clear },
    { "mplay_ipaddress", 0, mplay_ipaddress },
};

} // namespace

std::span<const FunctionEntry> multiplayer_functions()
{
    return MULTIPLAYER_FUNCTIONS;
}

} // namespace quillon
