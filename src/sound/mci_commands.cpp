// MciCommands: the media command strings games send (open, play, pause, resume, stop, seek, close, status and
// set) carried out on music players of their own. There is no CD drive: the "cdaudio" device never opens.
#include "sound/mci_commands.h"

#include "support/ascii_case.h"
#include "support/game_path.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace quillon {

namespace {

// Splits a command into words; double quotes keep a file name with spaces in one word.
std::vector<std::string> split(std::string_view command)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < command.size()) {
        if (command[at] == ' ' || command[at] == '\t') {
            ++at;
            continue;
        }
        std::size_t end;
        if (command[at] == '"') {
            end = command.find('"', at + 1);
            if (end == std::string_view::npos)
                end = command.size();
            words.emplace_back(command.substr(at + 1, end - at - 1));
            at = end + 1;
            continue;
        }
        end = command.find_first_of(" \t", at);
        if (end == std::string_view::npos)
            end = command.size();
        words.emplace_back(command.substr(at, end - at));
        at = end;
    }
    return words;
}

// The word after `key` among the words from `from` on; none when the key is missing or last.
std::optional<std::string> value_after(const std::vector<std::string>& words, std::string_view key, std::size_t from = 2)
{
    for (std::size_t i = from; i + 1 < words.size(); ++i)
        if (equal_ignoring_ascii_case(words[i], key))
            return words[i + 1];
    return std::nullopt;
}

bool has_word(const std::vector<std::string>& words, std::string_view word, std::size_t from = 2)
{
    for (std::size_t i = from; i < words.size(); ++i)
        if (equal_ignoring_ascii_case(words[i], word))
            return true;
    return false;
}

std::optional<std::int64_t> number(const std::optional<std::string>& text)
{
    std::int64_t value = 0;
    if (!text || text->empty())
        return std::nullopt;
    auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size() || value < 0)
        return std::nullopt;
    return value;
}

}  // namespace

MciCommands::MciCommands(platform::AudioDevice& device)
    : m_device(device)
{
}

MciCommands::~MciCommands() = default;

MciCommands::Device* MciCommands::find(std::string_view name)
{
    std::string lower = ascii_lower(name);
    for (Device& device : m_devices)
        if (device.name == lower)
            return &device;
    return nullptr;
}

std::string MciCommands::send(std::string_view command)
{
    Words words = split(command);
    if (words.size() < 2)
        return {};
    std::string verb = ascii_lower(words[0]);
    if (verb == "open")
        return open(words);
    if (verb == "close") {
        close(words[1]);
        return {};
    }
    Device* device = find(words[1]);
    if (!device)
        return {};
    MusicPlayer& player = *device->player;
    if (verb == "play")
        return play(*device, words);
    if (verb == "status")
        return status(*device, words);
    if (verb == "set")
        return set(*device, words);
    if (verb == "seek")
        return seek(*device, words);
    if (verb == "pause" && player.is_playing()) {
        player.pause();
        device->paused = true;
    } else if (verb == "resume" && device->paused) {
        player.resume();
        device->paused = false;
    } else if (verb == "stop") {
        player.stop();
        device->paused = false;
    }
    return {};
}

// open FILE [type TYPE] [alias NAME], also open TYPE!FILE; the reply is the new device's number.
std::string MciCommands::open(const Words& words)
{
    std::string target = words[1];
    if (auto bang = target.find('!'); bang != std::string::npos)
        target = target.substr(bang + 1);
    std::string lower = ascii_lower(target);
    if (lower == "cdaudio" || lower == "new" || target.empty())
        return {};
    std::string name = ascii_lower(value_after(words, "alias").value_or(target));
    if (find(name))
        return {};
    auto decoder = platform::open_music_file(game_path(target));
    if (!decoder)
        return {};
    Device device;
    device.name = name;
    device.id = m_next_id++;
    device.player = std::make_unique<MusicPlayer>(m_device, std::move(decoder));
    m_devices.push_back(std::move(device));
    return std::to_string(m_devices.back().id);
}

// play NAME [from MS] [to MS] [repeat]; without a place it plays on from where it stands.
std::string MciCommands::play(Device& device, const Words& words)
{
    MusicPlayer& player = *device.player;
    bool repeat = has_word(words, "repeat");
    auto from = number(value_after(words, "from"));
    auto to = number(value_after(words, "to"));
    if (value_after(words, "from") && !from)
        return {};
    if (from)
        player.seek(*from);
    player.set_end(to ? *to : -1);
    player.play_here(repeat);
    device.paused = false;
    return {};
}

std::string MciCommands::status(Device& device, const Words& words)
{
    if (words.size() < 3)
        return {};
    MusicPlayer& player = *device.player;
    std::string item = ascii_lower(words[2]);
    if (item == "mode")
        return player.is_playing() ? "playing" : device.paused ? "paused" : "stopped";
    if (item == "position")
        return std::to_string(player.position_ms());
    if (item == "length")
        return std::to_string(player.length_ms());
    if (item == "number" && has_word(words, "tracks", 3))
        return "1";
    if (item == "current" && has_word(words, "track", 3))
        return "1";
    if (item == "ready" || (item == "media" && has_word(words, "present", 3)))
        return "true";
    if (item == "time" && has_word(words, "format", 3))
        return "milliseconds";
    return {};
}

// set NAME time format ..., set NAME audio [all|left|right] on|off; music keeps milliseconds.
std::string MciCommands::set(Device& device, const Words& words)
{
    if (has_word(words, "audio")) {
        if (has_word(words, "off"))
            device.player->set_muted(true);
        else if (has_word(words, "on"))
            device.player->set_muted(false);
    }
    return {};
}

std::string MciCommands::seek(Device& device, const Words& words)
{
    auto place = value_after(words, "to");
    if (!place)
        return {};
    std::string lower = ascii_lower(*place);
    MusicPlayer& player = *device.player;
    if (lower == "start")
        player.seek(0);
    else if (lower == "end")
        player.seek(player.length_ms());
    else if (auto milliseconds = number(place))
        player.seek(*milliseconds);
    device.paused = false;
    return {};
}

void MciCommands::close(std::string_view name)
{
    if (equal_ignoring_ascii_case(name, "all")) {
        m_devices.clear();
        return;
    }
    std::string lower = ascii_lower(name);
    std::erase_if(m_devices, [&](const Device& device) { return device.name == lower; });
}

}  // namespace quillon
