// Sdl2AudioDevice: the SDL2 audio output; it plays silence until the sound mixer feeds it.
#include "platform/sdl2/sdl2_audio_device.h"

#include "platform/sdl2/sdl2_subsystems.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace quillon::platform {

namespace {

void fill_silence(void*, Uint8* stream, int length)
{
    std::memset(stream, 0, static_cast<std::size_t>(length));
}

}  // namespace

Sdl2AudioDevice::~Sdl2AudioDevice()
{
    close();
}

void Sdl2AudioDevice::open()
{
    if (m_open)
        return;
    m_open = true;
    m_started = sdl2_start(SDL_INIT_AUDIO);
    if (m_started) {
        SDL_AudioSpec wanted {};
        wanted.freq = 44100;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = 1024;
        wanted.callback = fill_silence;
        m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    }
    if (m_device == 0) {
        std::fprintf(stderr, "audio: no sound device (%s); the game runs without sound\n", SDL_GetError());
        return;
    }
    SDL_PauseAudioDevice(m_device, 0);
}

void Sdl2AudioDevice::close()
{
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    if (m_started)
        sdl2_stop(SDL_INIT_AUDIO);
    m_device = 0;
    m_started = false;
    m_open = false;
}

}  // namespace quillon::platform
