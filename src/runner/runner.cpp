// Runner: takes a game from process start through loading and preparation to its end, in order.
#include "runner/runner.h"

#include "code/builtin_variables.h"
#include "code/errors.h"
#include "code/script.h"
#include "dialogs/form_host.h"
#include "graphics/graphics.h"
#include "net/multiplayer.h"
#include "platform/fonts.h"
#include "runner/caption_painter.h"
#include "runner/debug_session.h"
#include "runner/game_location.h"
#include "runner/loading_window.h"
#include "sound/sound_system.h"
#include "support/game_error.h"
#include "support/game_path.h"
#include "support/secure_mode.h"
#include "functions/dialog_functions.h"
#include "functions/files.h"
#include "functions/information.h"
#include "functions/random.h"
#include "functions/world_families.h"
#include "world/game_loop.h"
#include "world/loop_variables.h"
#include "world/object_tree.h"
#include "world/room_draw.h"
#include "world/world.h"

#include <iostream>
#include <string>

namespace quillon {

namespace {

constexpr std::string_view UNEXPECTED_ERROR = "Unexpected error occured when running the game.";
constexpr std::string_view MESSAGE_CAPTION = "Quillon";

// The preparation steps, in order, with their progress and the message shown when one fails.
struct PreparationStep {
    int percent;            // progress reported before the step
    const char* caption;    // progress caption
    const char* failure;    // the message when the step fails
};

constexpr PreparationStep EXPORT_DATA_FILES {50, "Exporting data files", "Failed to export the data files."};
constexpr PreparationStep COMPILE_TIME_LINES {55, "Compiling time line actions", "Failed to compile the actions in the time lines."};
constexpr PreparationStep COMPILE_SCRIPTS {60, "Compiling scripts", "Failed to compile the scripts."};
constexpr PreparationStep COMPILE_OBJECTS {65, "Compiling object actions", "Failed to compile the actions in the objects."};
constexpr PreparationStep PREPARE_ROOMS {75, "Preparing rooms", "Failed to compile the room initialization code."};
constexpr PreparationStep PREPARE_SOUNDS {80, "Preparing sounds", "Failed to prepare the sounds."};
constexpr PreparationStep PREPARE_GRAPHICS {90, "Preparing graphics", "Failed to initialize DirectX."};

}  // namespace

Runner::Runner(platform::Platform& platform, CommandLine command_line)
    : m_platform(platform)
    , m_command_line(std::move(command_line))
    , m_temp(m_command_line.seed ? *m_command_line.seed : std::random_device {}())
    , m_screenshots(m_command_line.screenshots)
{
}

Runner::~Runner()
{
    if (&host() == m_world.get() || &host() == &m_host)
        set_host(nullptr);
}

void Runner::show_message(std::string_view text)
{
    static const std::string OK_BUTTON[] = {"OK"};
    m_platform.dialogs->message_box(MESSAGE_CAPTION, text, OK_BUTTON, 0);
}

DataFileContext Runner::data_file_context()
{
    DataFileContext context;
    context.temp_directory = m_temp.path();
    context.secure_mode = secure_mode();
    context.report_error = [](const std::string& message) { report_game_error(message); };
    context.register_font = platform::register_font_file;
    context.unregister_font = [](const std::filesystem::path&) { return platform::unregister_font_files(); };
    return context;
}

int Runner::run()
{
    // 1. The temporary directory comes before anything else; then the built-in functions and the error routine.
    m_temp.create([this](std::string_view message) { show_message(message); });
    set_temp_directory(m_temp.path());
    register_builtins_once();
    set_secure_mode(secure_mode_preference());
    errors().reset();
    connect_error_routine(*m_platform.dialogs);
    set_host(&m_host);
    // Game code reads the time from the run's clock: a headless run's virtual time moves with every sleep.
    platform::game_clock() = m_platform.clock.get();
    // 2. Load, prepare and play inside one guard: an escaping error ends the run with one message.
    int status = EXIT_NORMAL_END;
    try {
        if (!LoadGame() || !PrepareGame())
            status = EXIT_LOAD_FAILED;
        else
            play();
        if (status == EXIT_NORMAL_END && errors().aborted())
            status = EXIT_FATAL_ERROR;
    } catch (const std::exception&) {
        if (m_loading)
            m_loading->close();
        show_message(UNEXPECTED_ERROR);
        status = EXIT_LOAD_FAILED;
    }
    // 3. The orderly end on every path.
    end();
    return status;
}

// The loading window takes the settings' pictures over; nothing else needs them, so the settings keep none.
void Runner::open_loading_window()
{
    GameSettings& settings = m_game.settings;
    LoadingLook look;
    look.bar_mode = settings.loading_bar;
    if (settings.own_loading_image)
        look.picture = std::move(settings.loading_image.bitmap);
    if (settings.loading_bar == LOADING_BAR_OWN) {
        look.empty_bar = std::move(settings.loading_bar_back.bitmap);
        look.full_bar = std::move(settings.loading_bar_front.bitmap);
    }
    settings.loading_image = {};
    settings.loading_bar_back = {};
    settings.loading_bar_front = {};
    m_loading_display = m_platform.create_display();
    m_loading = std::make_unique<LoadingWindow>(*m_loading_display);
    m_loading->open(std::move(look), m_game.debug());
}

bool Runner::LoadGame()
{
    // 1. The whole game file into memory, through a temporary copy if need be, unless it was built there.
    std::filesystem::path file = locate_game(m_command_line.game);
    set_game_command_line(file, m_command_line.game_arguments);
    // Relative file names of game code start from the game's folder, wherever the runner was started from.
    std::error_code error;
    set_game_folder(std::filesystem::absolute(file, error).parent_path());
    std::optional<CStream> stream = std::move(m_game_data);
    if (!stream)
        stream = open_game_data(file, m_temp);
    if (!stream) {
        show_message("Cannot open the game file.");
        return false;
    }
    // 2. The header, then the loading window, then the blocks in order with their progress.
    LoadOutcome outcome = read_game_header(*stream, m_game);
    if (outcome.ok)
        outcome = read_game_settings(*stream, m_game);
    if (outcome.ok) {
        open_loading_window();
        outcome = read_game_blocks(*stream, m_game,
            [this](int percent, std::string_view caption) { m_loading->ShowProgress(percent, caption); });
    }
    // A parent chain that comes back to where it started would make every event lookup endless.
    if (outcome.ok) {
        if (auto loop = find_parent_loop(m_game.objects))
            outcome = {false, *loop};
    }
    if (!outcome.ok) {
        if (m_loading)
            m_loading->close();
        show_message(outcome.message);
        return false;
    }
    make_world();
    return true;
}

void Runner::make_world()
{
    apply_error_settings(m_game.settings);
    scripts().clear();
    for (int i = 0; i < m_game.scripts.count(); ++i) {
        const ScriptSource* script = m_game.scripts.get(i);
        scripts().add(m_game.scripts.slot_name(i), script ? std::optional<std::string>(script->code) : std::nullopt);
    }
    WorldResources resources {m_game.objects, m_game.time_lines, m_game.rooms, m_game.paths, m_game.sprites,
        m_game.backgrounds, m_game.sounds, m_game.data_files, m_game.action_library_code, m_game.room_order,
        m_game.last_instance_id, m_game.last_tile_id, m_game.game_id};
    m_loop_variables = std::make_unique<LoopVariables>();
    m_loop_variables->install();
    WorldHooks hooks;
    hooks.show_message = [this](std::string_view text) { show_message(text); };
    hooks.show_room = [this] { show_frame(true); };
    hooks.clear_input = [this] {
        if (m_loop)
            m_loop->input().clear();
    };
    hooks.release_room_resources = [this] {
        if (m_sounds)
            m_sounds->release_silent();
    };
    hooks.size_display = [this](int width, int height) {
        if (m_graphics)
            m_graphics->screen().set_size(width, height);
    };
    m_world = std::make_unique<World>(resources, std::move(hooks));
    m_world->install();
}

bool Runner::PrepareGame()
{
    // Steps whose subsystems do not run games yet report success.
    auto step = [this](const PreparationStep& s, bool ok) {
        m_loading->ShowProgress(s.percent, s.caption);
        if (!ok) {
            m_loading->close();
            show_message(s.failure);
        }
        return ok;
    };
    // 1. Data files go out; the step never fails.
    m_loading->ShowProgress(EXPORT_DATA_FILES.percent, EXPORT_DATA_FILES.caption);
    export_data_files(m_game.data_files, data_file_context());
    // 2. to 6. Code is compiled and sounds are prepared.
    if (!step(COMPILE_TIME_LINES, m_world->compile_time_lines()) || !step(COMPILE_SCRIPTS, scripts().compile_all())
        || !step(COMPILE_OBJECTS, m_world->compile_objects()) || !step(PREPARE_ROOMS, true)
        || !step(PREPARE_SOUNDS, prepare_sounds()))
        return false;
    // 7. The display.
    m_graphics = std::make_unique<Graphics>(*m_platform.display, m_game.settings, m_game.sprites,
        m_game.backgrounds, &m_temp);
    if (!step(PREPARE_GRAPHICS, m_graphics->prepare()))
        return false;
    m_drawer = std::make_unique<RoomDrawer>(*m_world, *m_graphics);
    m_graphics->screen().set_caption_painter(paint_caption_text);
    m_graphics->screen().set_clock(m_platform.clock.get());
    m_graphics->screen().set_transition_frame_hook([this](int frame) {
        m_screenshots.transition_frame_shown(m_graphics->screen(), current_step(), frame);
    });
    // 8. Ready: the pictures now live in the image sheets and masks only; the loading window goes.
    m_loading->ShowProgress(100, "Ready");
    m_graphics->release_images();
    m_loading->close();
    return true;
}

// The sound device opens (capturing when asked) and every sound is written out and given its player. A sound
// that cannot be written stays silent: the step itself always succeeds.
bool Runner::prepare_sounds()
{
    if (m_command_line.audio_file && !m_platform.audio->capture_to(*m_command_line.audio_file))
        report_game_error("Cannot write the audio capture " + m_command_line.audio_file->string());
    m_sounds = std::make_unique<SoundSystem>(m_game.sounds, *m_platform.audio, &m_temp);
    m_sounds->prepare_all();
    m_sounds->install();
    return true;
}

void Runner::play()
{
    // 1. The loop with what it needs from above the world: drawing, presenting, the window, input, the seed.
    LoopHooks hooks;
    hooks.draw_room = [this] { m_drawer->draw(); };
    hooks.present = [this](std::int32_t) {
        show_frame(false);
        flush_text_file();
    };
    hooks.toggle_full_screen = [this] { m_graphics->screen().toggle_full_screen(); };
    hooks.show_game_information = [] { show_game_information(); };
    hooks.show_cursor = [this](bool visible) { m_graphics->screen().set_cursor(visible ? 0 : -1); };
    hooks.seed_random = [this] {
        if (m_command_line.seed)
            random_generator().seed(*m_command_line.seed);
        else
            random_generator().seed_from_clock();
    };
    hooks.more_events = [this](std::int64_t step, std::vector<platform::Event>& events) {
        if (m_stop_request && !m_stopped_on_request && m_loop && m_stop_request()) {
            m_stopped_on_request = true;
            m_loop->request_end_game();
        }
        if (m_scripted_input)
            m_scripted_input->events_for(step, events);
        // Once a step the network is serviced, so that connections live while the game is busy.
        net::multiplayer().service();
    };
    // A game waiting for a key gets the script's next events at once; with the script done, only a player at
    // a real keyboard can end the wait.
    hooks.events_while_waiting = [this](std::vector<platform::Event>& events) {
        return (m_scripted_input && m_scripted_input->next_events(events)) || m_platform.name != "headless";
    };
    // In debug mode the debugger refreshes after every step (made once the loop is).
    std::unique_ptr<DebugSession> debug;
    if (debug_mode())
        hooks.update_debug_window = [&debug] { debug->after_step(); };
    hooks.step_ended = [this](std::int32_t room_speed) { m_sounds->step_passed(room_speed); };
    LoopOptions options {m_command_line.steps, m_command_line.no_sleep};
    GameLoop loop(*m_world, m_game.settings, m_graphics->masks(), *m_platform.clock, *m_platform.input, hooks,
        options);
    m_loop = &loop;
    loop.secure_mode = secure_mode();
    loop.input().window_to_room = [this](int window_x, int window_y, double& room_x, double& room_y) {
        int x = 0, y = 0;
        m_graphics->screen().window_to_room(window_x, window_y, x, y);
        room_x = x;
        room_y = y;
    };
    // 2. The built-ins reach the loop, the clock, the screen and the dialogs while the game plays.
    m_loop_variables->attach(&loop, &m_graphics->screen());
    PlayServices& services = play_services();
    services.loop = &loop;
    services.clock = m_platform.clock.get();
    services.clipboard = m_platform.clipboard.get();
    services.screen = &m_graphics->screen();
    services.graphics = m_graphics.get();
    services.data_files = &m_game.data_files;
    services.show_message = show_message_form;
    services.ask_question = show_question_form;
    services.redraw = [this] { show_room(); };
    m_forms = std::make_unique<FormHost>(*m_platform.dialogs, m_platform.create_form_window
            ? std::function<std::unique_ptr<platform::FormWindow>()>(m_platform.create_form_window)
            : nullptr);
    m_forms->set_game_pointer([this] { return !m_loop || m_loop->show_cursor(); });
    m_forms->set_open_observer([this](int number, Form& form) { m_screenshots.dialog_opened(number, form); });
    services.forms = m_forms.get();
    services.information = &m_game.information;
    services.show_game_information = [] { show_game_information(); };
    services.handle_window_messages = [&loop] { loop.handle_window_messages(); };
    net::multiplayer().set_game(m_game.guid);
    // 3. Play until the game ends; in debug mode the debugger holds a paused game. Then the game leaves its
    // multiplayer session, telling the other players.
    if (debug_mode()) {
        debug = make_debug_session(loop);
        m_host.message_window = [&debug](std::string_view text) { debug->debug_message(text); };
        debug->play();
        m_host.message_window = nullptr;
        debug.reset();
    } else {
        loop.run_game();
    }
    net::multiplayer().end();
    m_loop = nullptr;
    services = PlayServices {};
    m_loop_variables->attach(nullptr);
}

// The debug window on a real display; its texts go to --debug-output, or to standard error when headless.
std::unique_ptr<DebugSession> Runner::make_debug_session(GameLoop& loop)
{
    DebugSessionParts parts;
    if (m_platform.create_debug_window)
        parts.window = m_platform.create_debug_window();
    parts.commands = std::move(m_debug_commands);
    if (m_command_line.debug_output_file) {
        m_debug_output.open(*m_command_line.debug_output_file, std::ios::binary | std::ios::trunc);
        if (m_debug_output)
            parts.transcript = &m_debug_output;
        else
            report_game_error("Cannot write the debug output " + m_command_line.debug_output_file->string());
    } else if (!parts.window) {
        parts.transcript = &std::cerr;
    }
    parts.show_message = [this](std::string_view text) { show_message(text); };
    return std::make_unique<DebugSession>(loop, *m_world, *m_platform.clock, *m_platform.input, std::move(parts));
}

// Draws the room and shows it at once, for game code that redraws the screen in the middle of a step.
void Runner::show_room()
{
    if (!m_drawer)
        return;
    m_drawer->draw();
    m_graphics->present();
}

// A room's first frame (drawn here) or the frame a step drew, shown with the game's transition; the world resets
// the kind afterwards. A screenshot asked for at this step is saved.
void Runner::show_frame(bool draw)
{
    if (!m_drawer)
        return;
    if (draw)
        m_drawer->draw();
    const World::Transition transition = m_world->transition();
    m_graphics->screen().request_transition({transition.kind, transition.time, transition.steps});
    m_graphics->present();
    m_screenshots.frame_shown(m_graphics->screen(), current_step());
}

std::int64_t Runner::current_step() const { return m_loop ? m_loop->steps_run() : 0; }

void Runner::end()
{
    platform::game_clock() = nullptr;
    set_game_folder({});
    if (m_graphics) {
        if (m_keep_window)
            m_graphics->screen().keep_window_at_shut_down();
        m_graphics->shut_down();
    }
    // The players go before the device, which then finishes the capture file.
    m_sounds.reset();
    m_platform.audio->close();
    clean_up_data_files(m_game.data_files, data_file_context());
    m_temp.remove();
}

}  // namespace quillon
