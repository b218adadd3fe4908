#include "SqliteDatabase.h"

#include "OwnerOnlyMode.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace platform::sqlite {

bool IsDamagedDatabaseCode(int code) noexcept
{
    const int primary = code & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_FORMAT || primary == SQLITE_SCHEMA
        || primary == SQLITE_MISMATCH;
}

namespace {

// SQLite's own busy handler backs off to 100 ms naps, which makes two busy writers take turns slowly. Short,
// even naps keep the wait fair and brief; `limit` bounds the total in milliseconds.
int WaitBriefly(void* limit, int attempt)
{
    constexpr long kNapMicroseconds = 500;
    const long waitedMs = static_cast<long>(attempt) * kNapMicroseconds / 1000;
    if (waitedMs >= *static_cast<const int*>(limit)) {
        return 0;
    }
    const timespec nap {0, kNapMicroseconds * 1000};
    nanosleep(&nap, nullptr);
    return 1;
}

// SQLite makes a new database file, and its journal files after it, with the umask's mode. The registry and
// account databases are their owner's alone: a new one starts 0600, and an older looser one is tightened.
void MakePrivate(const std::filesystem::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return;
    }
    TightenToOwner(fd);
    ::close(fd);
}

} // namespace

Database::Database(const std::filesystem::path& file, int busyTimeoutMs)
    : m_busyTimeoutMs(busyTimeoutMs)
{
    MakePrivate(file);
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    const int rc = sqlite3_open_v2(file.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string what = m_db != nullptr ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw SqliteError(rc, what);
    }
    sqlite3_extended_result_codes(m_db, 0);
    sqlite3_busy_handler(m_db, &WaitBriefly, &m_busyTimeoutMs);
}

void Database::UseWriteAheadLog()
{
    // With a write-ahead log readers never wait for a writer, and a commit needs no sync of its own: a crash
    // may lose the last changes but never leaves a torn database.
    Execute("PRAGMA journal_mode = WAL");
    Execute("PRAGMA synchronous = NORMAL");
}

Database::~Database()
{
    sqlite3_close(m_db);
}

void Database::Fail(int code) const
{
    throw SqliteError(code, m_db != nullptr ? sqlite3_errmsg(m_db) : sqlite3_errstr(code));
}

void Database::Execute(const char* sql)
{
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        Fail(rc);
    }
}

std::int64_t Database::ReadPragmaInteger(const char* pragma)
{
    Statement statement(*this, pragma);
    if (!statement.Step() || !statement.IsInteger(0)) {
        Fail(SQLITE_CORRUPT);
    }
    return statement.Integer(0);
}

WriteTransaction::WriteTransaction(Database& db)
    : m_db(db)
{
    m_db.Execute("BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction()
{
    if (m_open) {
        sqlite3_exec(m_db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void WriteTransaction::Commit()
{
    m_db.Execute("COMMIT");
    m_open = false;
}

void EnsureLayout(
    Database& db, std::int64_t applicationId, std::int64_t version, const char* layoutSql, void (*seed)(Database&))
{
    std::int64_t foundId = db.ReadPragmaInteger("PRAGMA application_id");
    if (foundId == 0) {
        WriteTransaction transaction(db);
        // Another process may have laid the file out while this one waited for the lock.
        foundId = db.ReadPragmaInteger("PRAGMA application_id");
        if (foundId == 0) {
            if (db.ReadPragmaInteger("SELECT count(*) FROM sqlite_master") != 0) {
                throw SqliteError(SQLITE_NOTADB, "the file is a database of another kind");
            }
            db.Execute(layoutSql);
            if (seed != nullptr) {
                seed(db);
            }
            foundId = db.ReadPragmaInteger("PRAGMA application_id");
        }
        transaction.Commit();
    }
    if (foundId != applicationId || db.ReadPragmaInteger("PRAGMA user_version") != version) {
        throw SqliteError(SQLITE_NOTADB, "the file is not a database of this kind");
    }
}

Statement::Statement(Database& db, const char* sql)
    : m_db(db)
{
    const int rc = sqlite3_prepare_v2(db.Handle(), sql, -1, &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        db.Fail(rc);
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement& Statement::Bind(int index, std::int64_t value)
{
    const int rc = sqlite3_bind_int64(m_stmt, index, value);
    if (rc != SQLITE_OK) {
        m_db.Fail(rc);
    }
    return *this;
}

Statement& Statement::Bind(int index, std::string_view text)
{
    const int rc = sqlite3_bind_text64(m_stmt, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    if (rc != SQLITE_OK) {
        m_db.Fail(rc);
    }
    return *this;
}

Statement& Statement::BindBlob(int index, const std::uint8_t* data, std::size_t size)
{
    // A zero-length blob must still be a blob, not NULL, so that NOT NULL columns accept an empty value.
    static const std::uint8_t kEmpty = 0;
    const int rc = sqlite3_bind_blob64(m_stmt, index, size == 0 ? &kEmpty : data, size, SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) {
        m_db.Fail(rc);
    }
    return *this;
}

bool Statement::Step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    m_db.Fail(rc);
}

void Statement::Run()
{
    while (Step()) { }
}

bool Statement::IsInteger(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_INTEGER;
}

bool Statement::IsText(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_TEXT;
}

bool Statement::IsBlob(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_BLOB;
}

std::int64_t Statement::Integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

std::string Statement::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    const int size = sqlite3_column_bytes(m_stmt, column);
    if (text == nullptr || size <= 0) {
        return {};
    }
    return std::string(text, static_cast<std::size_t>(size));
}

std::vector<std::uint8_t> Statement::Blob(int column) const
{
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(m_stmt, column));
    const int size = sqlite3_column_bytes(m_stmt, column);
    if (data == nullptr || size <= 0) {
        return {};
    }
    return std::vector<std::uint8_t>(data, data + size);
}

std::size_t Statement::Bytes(int column) const
{
    const int size = sqlite3_column_bytes(m_stmt, column);
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

} // namespace platform::sqlite
