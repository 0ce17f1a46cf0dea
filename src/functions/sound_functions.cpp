// The sound functions: playing, stopping and changing the game's sounds, adding, replacing and deleting them,
// freeing and remaking their players, the CD functions and media command strings.
#include "functions/sound_functions.h"

#include "functions/world_call.h"
#include "sound/sound_system.h"
#include "support/game_path.h"

#include <string>

namespace quillon {

namespace {

constexpr const char* PLAY_MISSING = "Trying to play non-existing sound: ";
constexpr const char* STOP_MISSING = "Trying to stop non-existing sound: ";
constexpr const char* PAN_MISSING = "Trying to pan non-existing sound: ";
constexpr const char* VOLUME_MISSING = "Trying to change volume of non-existing sound: ";
constexpr const char* FREQUENCY_MISSING = "Trying to change frequency of non-existing sound: ";
constexpr const char* REPLACE_MISSING = "Trying to replace non-existing sound.";
constexpr const char* DELETE_MISSING = "Trying to delete non-existing sound.";

// The sound system while a game plays; without one the call reports itself as not available.
SoundSystem* system_for(const FunctionCall& call)
{
    SoundSystem* system = SoundSystem::installed();
    if (!system)
        report_not_available(call);
    return system;
}

// The sound at argument 0, or none after reporting the message with the index.
CSound* sound_for(const FunctionCall& call, SoundSystem& system, const char* missing)
{
    std::int32_t index = integer_argument(call, 0);
    CSound* sound = system.sounds().get(index);
    if (!sound)
        report_function_error(missing + std::to_string(index));
    return sound;
}

template<bool Loop> void sound_play(FunctionCall& call)
{
    SoundSystem* system = system_for(call);
    if (system && sound_for(call, *system, PLAY_MISSING))
        system->play(integer_argument(call, 0), Loop);
}

void sound_stop(FunctionCall& call)
{
    SoundSystem* system = system_for(call);
    if (CSound* sound = system ? sound_for(call, *system, STOP_MISSING) : nullptr)
        sound->stop();
}

void sound_stop_all(FunctionCall& call)
{
    if (SoundSystem* system = system_for(call))
        system->stop_all();
}

// A sound that does not exist is not playing; no error.
void sound_isplaying(FunctionCall& call)
{
    SoundSystem* system = system_for(call);
    CSound* sound = system ? system->sounds().get(integer_argument(call, 0)) : nullptr;
    set_bool_result(call, sound && sound->is_playing());
}

template<void (CSound::*Set)(platform::AudioDevice&, double), const char* const* Missing>
void sound_level(FunctionCall& call)
{
    SoundSystem* system = system_for(call);
    if (CSound* sound = system ? sound_for(call, *system, *Missing) : nullptr)
        (sound->*Set)(system->device(), real_argument(call, 1));
}
constexpr const char* const* PAN_MESSAGE = &PAN_MISSING;
constexpr const char* const* VOLUME_MESSAGE = &VOLUME_MISSING;
constexpr const char* const* FREQUENCY_MESSAGE = &FREQUENCY_MISSING;

// The file argument at i as a path of this system.
std::filesystem::path file_argument(const FunctionCall& call, int i)
{
    return game_path(string_argument(call, i).view());
}

void sound_add(FunctionCall& call)
{
    SoundSystem* system = system_for(call);
    if (!system)
        return;
    call.result.set_real(system->add(file_argument(call, 0), integer_argument(call, 1),
        is_true(real_argument(call, 2)), is_true(real_argument(call, 3))));
}

void sound_replace(FunctionCall& call)
{
    SoundSystem* system = system_for(call);
    if (!system)
        return;
    std::int32_t index = integer_argument(call, 0);
    if (!system->sounds().exists(index)) {
        report_function_error(REPLACE_MISSING);
        call.result.set_real(0);
        return;
    }
    set_bool_result(call, system->replace(index, file_argument(call, 1), integer_argument(call, 2),
        is_true(real_argument(call, 3)), is_true(real_argument(call, 4))));
}

void sound_delete(FunctionCall& call)
{
    SoundSystem* system = system_for(call);
    if (!system)
        return;
    std::int32_t index = integer_argument(call, 0);
    if (!system->sounds().exists(index)) {
        report_function_error(DELETE_MISSING);
        call.result.set_real(0);
        return;
    }
    set_bool_result(call, system->remove(index));
}

void sound_discard(FunctionCall& call)
{
    if (SoundSystem* system = system_for(call))
        system->discard(integer_argument(call, 0));
}

void sound_restore(FunctionCall& call)
{
    if (SoundSystem* system = system_for(call))
        system->restore(integer_argument(call, 0));
}

// The CD functions: results are reals, flags 1 or 0.
template<auto Operation> void cd_result(FunctionCall& call)
{
    if (SoundSystem* system = system_for(call))
        call.result.set_real(static_cast<double>((system->cd().*Operation)()));
}

template<auto Operation> void cd_action(FunctionCall& call)
{
    if (SoundSystem* system = system_for(call))
        (system->cd().*Operation)();
}

void cd_track_length(FunctionCall& call)
{
    if (SoundSystem* system = system_for(call))
        call.result.set_real(system->cd().track_length(integer_argument(call, 0)));
}

void cd_play(FunctionCall& call)
{
    if (SoundSystem* system = system_for(call))
        system->cd().play(integer_argument(call, 0), integer_argument(call, 1));
}

void cd_set_position(FunctionCall& call)
{
    if (SoundSystem* system = system_for(call))
        system->cd().set_position(integer_argument(call, 0));
}

void cd_set_track_position(FunctionCall& call)
{
    if (SoundSystem* system = system_for(call))
        system->cd().set_track_position(integer_argument(call, 0));
}

void mci_command(FunctionCall& call)
{
    SoundSystem* system = system_for(call);
    std::string reply = system ? system->mci().send(string_argument(call, 0).view()) : std::string();
    call.result.set_string(ScriptString(reply));
}

constexpr FunctionEntry SOUND_FUNCTIONS[] = {
    {"sound_isplaying", 1, sound_isplaying},
    {"sound_play", 1, sound_play<false>},
    {"sound_loop", 1, sound_play<true>},
    {"sound_stop", 1, sound_stop},
    {"sound_stop_all", 0, sound_stop_all},
    {"sound_pan", 2, sound_level<&CSound::set_pan, PAN_MESSAGE>},
    {"sound_volume", 2, sound_level<&CSound::set_volume, VOLUME_MESSAGE>},
    {"sound_frequency", 2, sound_level<&CSound::set_frequency, FREQUENCY_MESSAGE>},
    {"sound_add", 4, sound_add},
    {"sound_replace", 5, sound_replace},
    {"sound_delete", 1, sound_delete},
    {"sound_discard", 1, sound_discard},
    {"sound_restore", 1, sound_restore},
    {"cd_init", 0, cd_action<&CdAudio::init>},
    {"cd_present", 0, cd_result<&CdAudio::present>},
    {"cd_number", 0, cd_result<&CdAudio::number>},
    {"cd_playing", 0, cd_result<&CdAudio::playing>},
    {"cd_paused", 0, cd_result<&CdAudio::paused>},
    {"cd_track", 0, cd_result<&CdAudio::track>},
    {"cd_length", 0, cd_result<&CdAudio::length>},
    {"cd_track_length", 1, cd_track_length},
    {"cd_position", 0, cd_result<&CdAudio::position>},
    {"cd_track_position", 0, cd_result<&CdAudio::track_position>},
    {"cd_play", 2, cd_play},
    {"cd_stop", 0, cd_action<&CdAudio::stop>},
    {"cd_pause", 0, cd_action<&CdAudio::pause>},
    {"cd_resume", 0, cd_action<&CdAudio::resume>},
    {"cd_set_position", 1, cd_set_position},
    {"cd_set_track_position", 1, cd_set_track_position},
    {"cd_open_door", 0, cd_action<&CdAudio::open_door>},
    {"cd_close_door", 0, cd_action<&CdAudio::close_door>},
    {"MCI_command", 1, mci_command},
};

}  // namespace

std::span<const FunctionEntry> sound_functions()
{
    return SOUND_FUNCTIONS;
}

}  // namespace quillon
