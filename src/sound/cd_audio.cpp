// CdAudio: the CD functions as command strings to the "cdaudio" device, and their replies read as numbers.
#include "sound/cd_audio.h"

#include <string>

namespace quillon {

namespace {

// Replies are read from a buffer of this many characters, the terminator included.
constexpr std::size_t REPLY_LIMIT = 19;

std::string part(const std::string& text, std::size_t from, std::size_t count)
{
    return from < text.size() ? text.substr(from, count) : std::string();
}

}  // namespace

double digits_of(std::string_view text)
{
    double value = 0;
    for (char c : text)
        if (c >= '0' && c <= '9')
            value = value * 10 + (c - '0');
    return value;
}

CdAudio::CdAudio(Send send)
    : m_send(std::move(send))
{
}

std::string CdAudio::send(std::string_view command)
{
    std::string reply = m_send ? m_send(command) : std::string();
    if (reply.size() > REPLY_LIMIT)
        reply.resize(REPLY_LIMIT);
    return reply;
}

double CdAudio::send_for_number(std::string_view command)
{
    return digits_of(send(command));
}

void CdAudio::init()
{
    send("close cdaudio");
    send("open cdaudio");
}

bool CdAudio::present()
{
    send("open cdaudio");
    return send("status cdaudio media present") == "true";
}

double CdAudio::number()
{
    send("open cdaudio");
    if (!present())
        return 0;
    return send_for_number("status cdaudio number of tracks");
}

bool CdAudio::playing()
{
    send("open cdaudio");
    return present() && send("status cdaudio mode") == "playing";
}

bool CdAudio::paused()
{
    send("open cdaudio");
    if (!present())
        return false;
    if (send("status cdaudio mode") == "paused")
        return true;
    return send("status cdaudio mode") == "stopped";
}

double CdAudio::track()
{
    send("open cdaudio");
    send("set cdaudio time format tmsf wait");
    if (!present())
        return 0;
    return digits_of(part(send("status cdaudio position"), 0, 2));
}

double CdAudio::length()
{
    send("open cdaudio");
    send("set cdaudio time format ms wait");
    double result = present() ? send_for_number("status cdaudio length wait") : 0;
    send("set cdaudio time format tmsf wait");
    return result;
}

double CdAudio::track_length(std::int32_t track)
{
    send("open cdaudio");
    if (track <= 0 || track > number())
        return 0;
    send("set cdaudio time format milliseconds wait");
    double result = present() ? send_for_number("status cdaudio length track " + std::to_string(track)) : 0;
    send("set cdaudio time format tmsf wait");
    return result;
}

double CdAudio::position()
{
    send("open cdaudio");
    send("set cdaudio time format milliseconds wait");
    double result = present() ? send_for_number("status cdaudio position") : 0;
    send("set cdaudio time format tmsf wait");
    return result;
}

double CdAudio::track_position()
{
    send("open cdaudio");
    send("set cdaudio time format tmsf wait");
    if (!present())
        return 0;
    std::string reply = send("status cdaudio position");
    return digits_of(part(reply, 3, 2)) * 60000 + digits_of(part(reply, 6, 2)) * 1000;
}

// Up to the start of the track after the last one, or to the end of the disc.
void CdAudio::play(std::int32_t first, std::int32_t last)
{
    if (!present())
        return;
    send("set cdaudio time format tmsf wait");
    if (last < first)
        return;
    if (first <= 0)
        first = 1;
    if (last < number())
        send("play cdaudio from " + std::to_string(first) + " to " + std::to_string(std::int64_t(last) + 1));
    else
        send("play cdaudio from " + std::to_string(first));
}

void CdAudio::stop()
{
    if (present())
        send("stop cdaudio");
}

void CdAudio::pause()
{
    if (present())
        send("pause cdaudio");
}

void CdAudio::resume()
{
    if (present())
        send("play cdaudio");
}

void CdAudio::set_position(std::int32_t milliseconds)
{
    if (!present())
        return;
    send("set cdaudio time format milliseconds wait");
    std::string place = std::to_string(milliseconds);
    send(playing() ? "play cdaudio from " + place : "seek cdaudio to " + place);
    send("set cdaudio time format tmsf");
}

void CdAudio::set_track_position(std::int32_t milliseconds)
{
    if (!present())
        return;
    double current = track();
    if (current <= 0)
        return;
    std::string target = std::to_string(static_cast<std::int64_t>(current)) + ":"
        + std::to_string(milliseconds / 60000) + ":" + std::to_string((milliseconds % 60000) / 1000);
    send("set cdaudio time format tmsf wait");
    send(playing() ? "play cdaudio from " + target : "seek cdaudio to " + target);
    send("set cdaudio time format tmsf");
}

void CdAudio::open_door()
{
    send("open cdaudio");
    send("set cdaudio door open");
}

void CdAudio::close_door()
{
    send("open cdaudio");
    send("set cdaudio door closed");
}

}  // namespace quillon
