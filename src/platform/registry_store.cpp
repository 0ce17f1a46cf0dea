// RegistryStore: the player's values between runs, in one SQLite database per user.
#include "platform/registry_store.h"

#include <sqlite3.h>

#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace quillon::platform {

namespace fs = std::filesystem;

namespace {

// How long a write waits for another process that holds the store, in milliseconds.
constexpr int BUSY_TIMEOUT_MS = 2000;
constexpr int BUSY_RETRY_MS = 5;

// Runs an attempt again while SQLite answers "busy" without waiting itself, for as long as the busy timeout.
// Two games that open a new store at the same moment meet there: changing the journal mode, making the table
// and a write that finds the other's transaction in the way are refused at once, to avoid a deadlock.
template <typename Attempt>
int retry_while_busy(Attempt attempt)
{
    auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(BUSY_TIMEOUT_MS);
    for (;;) {
        int status = attempt();
        if ((status != SQLITE_BUSY && status != SQLITE_LOCKED) || std::chrono::steady_clock::now() >= give_up)
            return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(BUSY_RETRY_MS));
    }
}

constexpr const char* SCHEMA =
    "CREATE TABLE IF NOT EXISTS registry_values ("
    " root INTEGER NOT NULL, key TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,"
    " kind INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY (root, key, name)) WITHOUT ROWID";
constexpr const char* PUT =
    "INSERT INTO registry_values (root, key, name, kind, data) VALUES (?1, ?2, ?3, ?4, ?5)"
    " ON CONFLICT (root, key, name) DO UPDATE SET kind = excluded.kind, data = excluded.data";
constexpr const char* GET = "SELECT kind, data FROM registry_values WHERE root = ?1 AND key = ?2 AND name = ?3";

// "\Software\\Game\" and "Software\Game" are the same key.
std::string normal_key(std::string_view key)
{
    std::string normal;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string_view::npos)
            end = key.size();
        if (end > start) {
            if (!normal.empty())
                normal += '\\';
            normal.append(key.substr(start, end - start));
        }
        start = end + 1;
    }
    return normal;
}

}  // namespace

// One open database with its two statements.
class RegistryStore::Database {
public:
    // Opens the database; null with the reason when that fails. A store that can be read but not written is
    // opened, and `read_only` says so.
    static std::unique_ptr<Database> open(const std::string& file, std::string& error, bool& read_only)
    {
        auto database = std::unique_ptr<Database>(new Database);
        read_only = false;
        if (sqlite3_open_v2(file.c_str(), &database->m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            error = database->m_db ? sqlite3_errmsg(database->m_db) : "out of memory";
            return nullptr;
        }
        sqlite3_busy_timeout(database->m_db, BUSY_TIMEOUT_MS);
        bool writable = database->exec("PRAGMA journal_mode = WAL") && database->exec("PRAGMA synchronous = NORMAL")
            && database->exec(SCHEMA) && database->prepare(PUT, database->m_put);
        if (!writable) {
            error = sqlite3_errmsg(database->m_db);
            read_only = true;
        }
        if (!database->prepare(GET, database->m_get)) {
            error = sqlite3_errmsg(database->m_db);
            return nullptr;
        }
        return database;
    }

    ~Database()
    {
        sqlite3_finalize(m_put);
        sqlite3_finalize(m_get);
        sqlite3_close_v2(m_db);
    }

    // Stores and commits the value; false with the reason when the database refused it.
    bool put(int root, const std::string& key, std::string_view name, const RegistryValue& value, std::string& error)
    {
        if (!m_put) {
            error = "the store cannot be written";
            return false;
        }
        sqlite3_bind_int(m_put, 1, root);
        sqlite3_bind_text(m_put, 2, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        sqlite3_bind_text(m_put, 3, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
        sqlite3_bind_int(m_put, 4, static_cast<int>(value.kind));
        sqlite3_bind_blob(m_put, 5, value.bytes.data(), static_cast<int>(value.bytes.size()), SQLITE_STATIC);
        bool done = retry_while_busy([this] {
            int status = sqlite3_step(m_put);
            if (status != SQLITE_DONE)
                sqlite3_reset(m_put);
            return status;
        }) == SQLITE_DONE;
        if (!done)
            error = sqlite3_errmsg(m_db);
        sqlite3_reset(m_put);
        sqlite3_clear_bindings(m_put);
        return done;
    }

    // The value, none when missing; `error` is set when the database could not answer.
    std::optional<RegistryValue> get(int root, const std::string& key, std::string_view name, std::string& error)
    {
        sqlite3_bind_int(m_get, 1, root);
        sqlite3_bind_text(m_get, 2, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        sqlite3_bind_text(m_get, 3, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
        std::optional<RegistryValue> value;
        int status = sqlite3_step(m_get);
        if (status == SQLITE_ROW) {
            value.emplace();
            value->kind = static_cast<RegistryKind>(sqlite3_column_int(m_get, 0));
            const void* bytes = sqlite3_column_blob(m_get, 1);
            value->bytes.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(sqlite3_column_bytes(m_get, 1)));
        } else if (status != SQLITE_DONE) {
            error = sqlite3_errmsg(m_db);
        }
        sqlite3_reset(m_get);
        sqlite3_clear_bindings(m_get);
        return value;
    }

private:
    Database() = default;
    bool exec(const char* sql)
    {
        return retry_while_busy([&] { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }) == SQLITE_OK;
    }
    bool prepare(const char* sql, sqlite3_stmt*& statement)
    {
        return retry_while_busy([&] {
            return sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
        }) == SQLITE_OK;
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_put = nullptr;
    sqlite3_stmt* m_get = nullptr;
};

RegistryStore::RegistryStore(const fs::path& file, ReportFailure report)
    : m_file(file)
    , m_report(std::move(report))
{
    // A store that is not there yet is made by the first write, so that reading leaves no trace.
    std::error_code error;
    if (fs::exists(fs::symlink_status(file, error)))
        open_disk();
}

void RegistryStore::open_disk()
{
    std::error_code ignored;
    if (m_file.has_parent_path())
        fs::create_directories(m_file.parent_path(), ignored);
    std::string error;
    bool read_only = false;
    m_disk = Database::open(m_file.string(), error, read_only);
    if (!m_disk || read_only)
        fail(error);
}

RegistryStore::~RegistryStore() = default;

void RegistryStore::fail(const std::string& what)
{
    if (!m_memory) {
        std::string ignored;
        bool read_only = false;
        m_memory = Database::open(":memory:", ignored, read_only);
    }
    if (m_failed)
        return;
    m_failed = true;
    if (m_report)
        m_report("the registry store " + m_file.string() + " cannot be written (" + what
            + "); values are kept until the game ends");
}

bool RegistryStore::write(RegistryRoot root, std::string_view key, std::string_view name, const RegistryValue& value)
{
    std::string normal = normal_key(key);
    std::string error;
    if (!m_failed && !m_disk)
        open_disk();
    if (!m_failed && m_disk && m_disk->put(static_cast<int>(root), normal, name, value, error))
        return true;
    if (!m_failed)
        fail(error);
    if (m_memory)
        m_memory->put(static_cast<int>(root), normal, name, value, error);
    return false;
}

std::optional<RegistryValue> RegistryStore::read(RegistryRoot root, std::string_view key, std::string_view name)
{
    std::string normal = normal_key(key);
    std::string error;
    if (m_memory)
        if (auto value = m_memory->get(static_cast<int>(root), normal, name, error))
            return value;
    if (!m_disk)
        return std::nullopt;
    std::optional<RegistryValue> value = m_disk->get(static_cast<int>(root), normal, name, error);
    if (!error.empty())
        fail(error);
    return value;
}

bool RegistryStore::write_string(RegistryRoot root, std::string_view key, std::string_view name, std::string_view text)
{
    return write(root, key, name, RegistryValue {RegistryKind::string, std::string(text)});
}

bool RegistryStore::write_real(RegistryRoot root, std::string_view key, std::string_view name, double value)
{
    static_assert(std::endian::native == std::endian::little, "values are stored little-endian");
    std::string bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return write(root, key, name, RegistryValue {RegistryKind::binary, std::move(bytes)});
}

bool RegistryStore::write_integer(RegistryRoot root, std::string_view key, std::string_view name, std::int32_t value)
{
    std::string bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return write(root, key, name, RegistryValue {RegistryKind::integer, std::move(bytes)});
}

std::optional<std::string> RegistryStore::read_string(RegistryRoot root, std::string_view key, std::string_view name)
{
    std::optional<RegistryValue> value = read(root, key, name);
    if (!value || value->kind != RegistryKind::string)
        return std::nullopt;
    return std::move(value->bytes);
}

std::optional<double> RegistryStore::read_real(RegistryRoot root, std::string_view key, std::string_view name)
{
    std::optional<RegistryValue> value = read(root, key, name);
    double real = 0;
    if (!value || value->kind != RegistryKind::binary || value->bytes.size() != sizeof real)
        return std::nullopt;
    std::memcpy(&real, value->bytes.data(), sizeof real);
    return real;
}

std::optional<std::int32_t> RegistryStore::read_integer(RegistryRoot root, std::string_view key, std::string_view name)
{
    std::optional<RegistryValue> value = read(root, key, name);
    std::int32_t integer = 0;
    if (!value || value->kind != RegistryKind::integer || value->bytes.size() != sizeof integer)
        return std::nullopt;
    std::memcpy(&integer, value->bytes.data(), sizeof integer);
    return integer;
}

fs::path user_registry_file()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    fs::path folder;
    if (config && *config && fs::path(config).is_absolute())
        folder = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        folder = fs::path(home) / ".config";
    else
        folder = ".config";
    return folder / "quillon" / "registry.sqlite";
}

namespace {
std::unique_ptr<RegistryStore>& user_store()
{
    static std::unique_ptr<RegistryStore> s_store;
    return s_store;
}
}  // namespace

RegistryStore& user_registry()
{
    std::unique_ptr<RegistryStore>& store = user_store();
    if (!store)
        store = std::make_unique<RegistryStore>(user_registry_file(), [](const std::string& message) {
            std::fprintf(stderr, "quillon-runner: %s\n", message.c_str());
        });
    return *store;
}

void close_user_registry() { user_store().reset(); }

}  // namespace quillon::platform
