// The file family: one text file, files and folders, the file search, the registry values of the game, other
// programs, and the command-line parameters. Names from game code are Windows-1252 bytes with either separator,
// found whatever their letter case; secure mode keeps every change to names with folders away.
#include "functions/files.h"

#include "functions/world_families.h"
#include "platform/process.h"
#include "platform/registry_store.h"
#include "support/file_search.h"
#include "support/game_path.h"
#include "support/program_search.h"
#include "support/secure_mode.h"
#include "support/text_file.h"
#include "support/win1252.h"
#include "world/world.h"

#include <chrono>
#include <thread>

namespace quillon {

namespace fs = std::filesystem;
using platform::RegistryRoot;

namespace {

constexpr const char* NOT_OPEN_FOR_READING = "File not opened for reading.";
constexpr const char* EOF_NOT_OPEN_FOR_READING = "File is not opened for reading.";
constexpr const char* NOT_OPEN_FOR_WRITING = "File not opened for writing.";
constexpr const char* ERROR_READING_STRING = "Error reading string.";
constexpr const char* ERROR_READING_REAL = "Error reading read.";
constexpr const char* ERROR_READING_LINE = "Error reading line.";
constexpr const char* SECURE_WRITE = "In secure mode you cannot write file ";
constexpr const char* SECURE_APPEND = "In secure mode you cannot append to file ";
constexpr const char* SECURE_DELETE = "In Secure mode you cannot delete file ";
constexpr const char* SECURE_RENAME = "In Secure mode you cannot rename file ";
constexpr const char* SECURE_COPY = "In Secure mode you cannot copy file ";
constexpr const char* SECURE_CREATE_DIRECTORY = "In Secure mode you cannot create directory ";
constexpr const char* SECURE_REGISTRY = "In Secure mode you cannot write registry entries in ";
constexpr const char* SECURE_EXECUTE = "In Secure mode you cannot execute program ";
constexpr const char* CANNOT_EXECUTE = "Cannot execute ";
// Failures of the system that the functions report in their own words.
constexpr const char* CANNOT_OPEN_FOR_READING = "Cannot open file for reading: ";
constexpr const char* CANNOT_OPEN_FOR_WRITING = "Cannot open file for writing: ";
constexpr const char* CANNOT_WRITE = "Cannot write to file ";

constexpr const char* GAME_KEY = "Software\\Quillon\\";
constexpr const char* PREFERENCES_KEY = "Software\\Quillon\\Version 5\\Preferences";
constexpr const char* SECURE_MODE_VALUE = "Warning";
constexpr std::chrono::milliseconds LONGEST_UNFLUSHED {20};  // written bytes wait at most this long
constexpr std::chrono::milliseconds PROGRAM_POLL {50};       // a waited-for program is looked at this often

// The one text file of the program, and the name it was opened by.
struct OpenTextFile {
    TextFile file;
    std::string name;
    std::chrono::steady_clock::time_point first_pending;  // when the oldest unflushed byte was written
};
OpenTextFile& text_file()
{
    static OpenTextFile s_file;
    return s_file;
}

struct CommandLineParameters {
    std::string game;                     // Windows-1252
    std::vector<std::string> arguments;   // Windows-1252
    fs::path game_folder;
};
CommandLineParameters& parameters()
{
    static CommandLineParameters s_parameters;
    return s_parameters;
}

FileSearch& file_search()
{
    static FileSearch s_search;
    return s_search;
}
bool s_search_open = false;
RegistryRoot s_root = RegistryRoot::current_user;

std::string_view name_argument(const FunctionCall& call, int index) { return string_argument(call, index).view(); }

void set_string_result(FunctionCall& call, std::string_view text) { call.result.set_string(ScriptString(text)); }

// Secure mode refuses a name with a folder, with the message followed by the name.
bool refused(std::string_view name, const char* message)
{
    if (!secure_mode() || !names_a_folder(name))
        return false;
    report_function_error(message + std::string(name));
    return true;
}

bool is_regular(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool is_folder(const fs::path& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

// ---- Text file ----

// Closes the open file; bytes that could not be written out are reported.
void close_text_file()
{
    OpenTextFile& open = text_file();
    if (!open.file.close())
        report_function_error(CANNOT_WRITE + open.name);
}

void file_open_read(FunctionCall& call)
{
    OpenTextFile& open = text_file();
    close_text_file();
    std::string_view name = name_argument(call, 0);
    fs::path path = find_game_path(name);
    if (!is_regular(path))
        return;
    open.name = name;
    if (!open.file.open_read(path))
        report_function_error(CANNOT_OPEN_FOR_READING + std::string(name));
}

void open_for_writing(FunctionCall& call, bool append)
{
    OpenTextFile& open = text_file();
    close_text_file();
    std::string_view name = name_argument(call, 0);
    if (refused(name, append ? SECURE_APPEND : SECURE_WRITE))
        return;
    fs::path path = creation_game_path(name);
    // Appending goes on with the file the name finds; writing makes the file of exactly that name.
    if (append)
        if (fs::path existing = find_game_path(name); is_regular(existing))
            path = existing;
    open.name = name;
    if (path.empty() || !open.file.open_write(path, append))
        report_function_error(CANNOT_OPEN_FOR_WRITING + std::string(name));
}

void file_open_write(FunctionCall& call) { open_for_writing(call, false); }
void file_open_append(FunctionCall& call) { open_for_writing(call, true); }

void file_close(FunctionCall&) { close_text_file(); }

bool reading(const char* message = NOT_OPEN_FOR_READING)
{
    if (text_file().file.state() == TextFile::State::reading)
        return true;
    report_function_error(message);
    return false;
}

void file_eof(FunctionCall& call)
{
    if (reading(EOF_NOT_OPEN_FOR_READING))
        call.result.set_real(text_file().file.at_end() ? 1 : 0);
}

void file_read_string(FunctionCall& call)
{
    if (!reading())
        return;
    std::string line;
    if (!text_file().file.read_string(line))
        report_function_error(ERROR_READING_STRING);
    set_string_result(call, line);
}

void file_read_real(FunctionCall& call)
{
    if (!reading())
        return;
    double value = 0;
    if (text_file().file.read_real(value))
        call.result.set_real(value);
    else
        report_function_error(ERROR_READING_REAL);
}

void file_readln(FunctionCall&)
{
    if (reading() && !text_file().file.read_line())
        report_function_error(ERROR_READING_LINE);
}

// Writes the bytes; what waits longer than a moment goes to the system at once.
void write_text(std::string_view bytes)
{
    OpenTextFile& open = text_file();
    if (open.file.state() != TextFile::State::writing) {
        report_function_error(NOT_OPEN_FOR_WRITING);
        return;
    }
    auto now = std::chrono::steady_clock::now();
    if (!open.file.has_pending())
        open.first_pending = now;
    bool written = open.file.write(bytes);
    if (written && open.file.has_pending() && now - open.first_pending >= LONGEST_UNFLUSHED)
        written = open.file.flush();
    if (!written)
        report_function_error(CANNOT_WRITE + open.name);
}

void file_write_string(FunctionCall& call) { write_text(string_argument(call, 0).view()); }
void file_write_real(FunctionCall& call) { write_text(TextFile::real_text(real_argument(call, 0))); }
void file_writeln(FunctionCall&) { write_text("\r\n"); }

// ---- Files and folders ----

void file_exists(FunctionCall& call)
{
    flush_text_file();
    call.result.set_real(is_regular(find_game_path(name_argument(call, 0))) ? 1 : 0);
}

void directory_exists(FunctionCall& call)
{
    call.result.set_real(is_folder(find_game_path(name_argument(call, 0))) ? 1 : 0);
}

void file_delete(FunctionCall& call)
{
    std::string_view name = name_argument(call, 0);
    if (refused(name, SECURE_DELETE))
        return;
    flush_text_file();
    fs::path path = find_game_path(name);
    std::error_code error;
    if (!path.empty() && !is_folder(path))
        fs::remove(path, error);
}

// Both names pass secure mode only when neither has a folder.
bool refused_pair(std::string_view first, std::string_view second, const char* message, const char* joint)
{
    if (!secure_mode() || (!names_a_folder(first) && !names_a_folder(second)))
        return false;
    report_function_error(message + std::string(first) + joint + std::string(second));
    return true;
}

void file_rename(FunctionCall& call)
{
    std::string_view from = name_argument(call, 0);
    std::string_view to = name_argument(call, 1);
    if (refused_pair(from, to, SECURE_RENAME, " into "))
        return;
    flush_text_file();
    fs::path source = find_game_path(from);
    fs::path target = creation_game_path(to);
    std::error_code error;
    // Renaming never replaces a file that is there already.
    if (source.empty() || target.empty() || fs::exists(fs::symlink_status(target, error)))
        return;
    fs::rename(source, target, error);
}

void file_copy(FunctionCall& call)
{
    std::string_view from = name_argument(call, 0);
    std::string_view to = name_argument(call, 1);
    if (refused_pair(from, to, SECURE_COPY, " to "))
        return;
    flush_text_file();
    fs::path source = find_game_path(from);
    fs::path target = creation_game_path(to);
    std::error_code error;
    if (is_regular(source) && !target.empty() && !fs::equivalent(source, target, error))
        fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
}

void directory_create(FunctionCall& call)
{
    std::string_view name = name_argument(call, 0);
    if (refused(name, SECURE_CREATE_DIRECTORY))
        return;
    fs::path path = creation_game_path(name);
    std::error_code error;
    if (!path.empty())
        fs::create_directories(path, error);
}

void file_attributes(FunctionCall& call)
{
    flush_text_file();
    std::optional<std::uint32_t> bits = quillon::file_attributes(find_game_path(name_argument(call, 0)));
    if (!bits)
        call.result.set_real(-1);
    else
        call.result.set_real((*bits & static_cast<std::uint32_t>(integer_argument(call, 1))) != 0 ? 1 : 0);
}

// ---- Search ----

void file_find_first(FunctionCall& call)
{
    flush_text_file();
    s_search_open = false;
    std::string_view mask = name_argument(call, 0);
    std::size_t separator = mask.find_last_of("\\/");
    std::string_view folder = separator == std::string_view::npos ? std::string_view() : mask.substr(0, separator + 1);
    std::string pattern = win1252_to_utf8(separator == std::string_view::npos ? mask : mask.substr(separator + 1));
    fs::path where = folder.empty() ? fs::path() : find_game_path(folder);
    if (mask.find('\0') != std::string_view::npos
        || !file_search().start(where, pattern, static_cast<std::uint32_t>(integer_argument(call, 1))))
        return set_string_result(call, "");
    s_search_open = true;
    set_string_result(call, utf8_to_win1252(file_search().next().value_or("")));
}

void file_find_next(FunctionCall& call)
{
    std::optional<std::string> name = s_search_open ? file_search().next() : std::nullopt;
    set_string_result(call, name ? utf8_to_win1252(*name) : "");
}

void file_find_close(FunctionCall&) { s_search_open = false; }

// ---- Registry ----

std::string game_key()
{
    World* world = World::installed();
    return GAME_KEY + std::to_string(world ? world->game_id() : 0);
}

std::string store_text(std::string_view game_text) { return win1252_to_utf8(game_text); }

void write_value(FunctionCall& call, RegistryRoot root, const std::string& key, int name_index, int value_index,
                 bool real)
{
    std::string name = store_text(name_argument(call, name_index));
    if (real)
        platform::user_registry().write_real(root, key, name, real_argument(call, value_index));
    else
        platform::user_registry().write_string(root, key, name, string_argument(call, value_index).view());
}

void read_string_value(FunctionCall& call, RegistryRoot root, const std::string& key, int name_index)
{
    std::optional<std::string> text =
        platform::user_registry().read_string(root, key, store_text(name_argument(call, name_index)));
    set_string_result(call, text ? *text : "");
}

void read_real_value(FunctionCall& call, RegistryRoot root, const std::string& key, int name_index)
{
    call.result.set_real(
        platform::user_registry().read_real(root, key, store_text(name_argument(call, name_index))).value_or(0));
}

void value_exists(FunctionCall& call, RegistryRoot root, const std::string& key, int name_index)
{
    bool found = platform::user_registry().read(root, key, store_text(name_argument(call, name_index))).has_value();
    call.result.set_real(found ? 1 : 0);
}

void registry_write_string(FunctionCall& call) { write_value(call, RegistryRoot::current_user, game_key(), 0, 1, false); }
void registry_write_real(FunctionCall& call) { write_value(call, RegistryRoot::current_user, game_key(), 0, 1, true); }
void registry_read_string(FunctionCall& call) { read_string_value(call, RegistryRoot::current_user, game_key(), 0); }
void registry_read_real(FunctionCall& call) { read_real_value(call, RegistryRoot::current_user, game_key(), 0); }
void registry_exists(FunctionCall& call) { value_exists(call, RegistryRoot::current_user, game_key(), 0); }

std::string key_argument(const FunctionCall& call) { return store_text(name_argument(call, 0)); }

void write_value_ext(FunctionCall& call, bool real)
{
    if (secure_mode()) {
        report_function_error(SECURE_REGISTRY + std::string(name_argument(call, 0)));
        return;
    }
    write_value(call, s_root, key_argument(call), 1, 2, real);
}

void registry_write_string_ext(FunctionCall& call) { write_value_ext(call, false); }
void registry_write_real_ext(FunctionCall& call) { write_value_ext(call, true); }
void registry_read_string_ext(FunctionCall& call) { read_string_value(call, s_root, key_argument(call), 1); }
void registry_read_real_ext(FunctionCall& call) { read_real_value(call, s_root, key_argument(call), 1); }
void registry_exists_ext(FunctionCall& call) { value_exists(call, s_root, key_argument(call), 1); }

void registry_set_root(FunctionCall& call)
{
    switch (integer_argument(call, 0)) {
    case 1: s_root = RegistryRoot::local_machine; break;
    case 2: s_root = RegistryRoot::classes_root; break;
    case 3: s_root = RegistryRoot::users; break;
    default: s_root = RegistryRoot::current_user; break;
    }
}

// ---- Programs and parameters ----

bool refused_program(std::string_view program)
{
    if (!secure_mode())
        return false;
    report_function_error(SECURE_EXECUTE + std::string(program));
    return true;
}

// Waits for the process, looking every 50 milliseconds of real time (the program runs in real time whatever the
// game's clock does) and handling the window's messages in between.
void wait_for(int process)
{
    PlayServices& services = play_services();
    while (!platform::program_ended(process)) {
        if (services.handle_window_messages)
            services.handle_window_messages();
        std::this_thread::sleep_for(PROGRAM_POLL);
    }
}

std::vector<std::string> argument_words(std::string_view text)
{
    std::vector<std::string> words = split_arguments(text);
    for (std::string& word : words)
        word = win1252_to_utf8(word);
    return words;
}

void execute_program(FunctionCall& call)
{
    std::string_view program = name_argument(call, 0);
    if (refused_program(program))
        return;
    flush_text_file();
    std::optional<fs::path> file = find_program(program, parameters().game_folder);
    std::optional<int> process = file ? platform::start_program(*file, argument_words(name_argument(call, 1)))
                                      : std::nullopt;
    if (!process) {
        report_function_error(CANNOT_EXECUTE + std::string(program));
        return;
    }
    if (real_argument(call, 2) >= 0.5)
        wait_for(*process);
}

// A program starts with its arguments; a document or an address goes to the desktop's handler.
void execute_shell(FunctionCall& call)
{
    std::string_view program = name_argument(call, 0);
    if (refused_program(program))
        return;
    flush_text_file();
    bool started = false;
    if (std::optional<fs::path> file = find_program(program, parameters().game_folder))
        started = platform::start_program(*file, argument_words(name_argument(call, 1))).has_value();
    else if (fs::path document = find_game_path(program); !document.empty() && fs::exists(document))
        started = platform::open_with_desktop(fs::absolute(document).string());
    else if (program.find(':') != std::string_view::npos && program.find('\0') == std::string_view::npos)
        started = platform::open_with_desktop(win1252_to_utf8(program));  // an address such as http://...
    if (!started)
        report_function_error(CANNOT_EXECUTE + std::string(program));
}

void parameter_count(FunctionCall& call) { call.result.set_real(static_cast<double>(parameters().arguments.size())); }

void parameter_string(FunctionCall& call)
{
    std::int32_t n = integer_argument(call, 0);
    const CommandLineParameters& given = parameters();
    if (n == 0)
        set_string_result(call, given.game);
    else if (n > 0 && static_cast<std::size_t>(n) <= given.arguments.size())
        set_string_result(call, given.arguments[static_cast<std::size_t>(n) - 1]);
    else
        set_string_result(call, "");
}

// ORDER: table positions 281 to 316.
constexpr FunctionEntry FILE_FUNCTIONS[] = {
    {"file_open_read", 1, file_open_read},
    {"file_open_write", 1, file_open_write},
    {"file_open_append", 1, file_open_append},
    {"file_close", 0, file_close},
    {"file_read_string", 0, file_read_string},
    {"file_read_real", 0, file_read_real},
    {"file_readln", 0, file_readln},
    {"file_eof", 0, file_eof},
    {"file_write_string", 1, file_write_string},
    {"file_write_real", 1, file_write_real},
    {"file_writeln", 0, file_writeln},
    {"file_exists", 1, file_exists},
    {"file_delete", 1, file_delete},
    {"file_rename", 2, file_rename},
    {"file_copy", 2, file_copy},
    {"directory_exists", 1, directory_exists},
    {"directory_create", 1, directory_create},
    {"registry_write_string", 2, registry_write_string},
    {"registry_write_real", 2, registry_write_real},
    {"registry_read_string", 1, registry_read_string},
    {"registry_read_real", 1, registry_read_real},
    {"registry_exists", 1, registry_exists},
    {"registry_write_string_ext", 3, registry_write_string_ext},
    {"registry_write_real_ext", 3, registry_write_real_ext},
    {"registry_read_string_ext", 2, registry_read_string_ext},
    {"registry_read_real_ext", 2, registry_read_real_ext},
    {"registry_exists_ext", 2, registry_exists_ext},
    {"registry_set_root", 1, registry_set_root},
    {"execute_program", 3, execute_program},
    {"execute_shell", 2, execute_shell},
    {"file_find_first", 2, file_find_first},
    {"file_find_next", 0, file_find_next},
    {"file_find_close", 0, file_find_close},
    {"file_attributes", 2, file_attributes},
    {"parameter_count", 0, parameter_count},
    {"parameter_string", 1, parameter_string},
};

}  // namespace

std::span<const FunctionEntry> file_functions() { return FILE_FUNCTIONS; }

void set_game_command_line(const fs::path& game_file, const std::vector<std::string>& arguments)
{
    CommandLineParameters& given = parameters();
    std::error_code error;
    fs::path absolute = game_file.empty() ? fs::path() : fs::absolute(game_file, error);
    given.game = utf8_to_win1252(absolute.string());
    given.game_folder = absolute.parent_path();
    given.arguments.clear();
    for (const std::string& argument : arguments)
        given.arguments.push_back(utf8_to_win1252(argument));
}

void flush_text_file()
{
    OpenTextFile& open = text_file();
    if (open.file.has_pending() && !open.file.flush())
        report_function_error(CANNOT_WRITE + open.name);
}

bool secure_mode_preference()
{
    auto value = platform::user_registry().read(RegistryRoot::current_user, PREFERENCES_KEY, SECURE_MODE_VALUE);
    if (!value)
        return false;
    return value->bytes.find_first_not_of('\0') != std::string::npos;
}

bool set_secure_mode_preference(bool on)
{
    return platform::user_registry().write_integer(RegistryRoot::current_user, PREFERENCES_KEY, SECURE_MODE_VALUE,
                                                   on ? 1 : 0);
}

}  // namespace quillon
