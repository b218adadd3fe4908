#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A thin RAII layer over SQLite for the two platform stores. Failures become SqliteError, which the stores
// catch at their interface and turn into Windows result codes; no exception leaves the platform layer.
namespace platform::sqlite {

/** A failed SQLite call; `Code()` is the SQLite primary result code. */
class SqliteError : public std::runtime_error
{
public:
    SqliteError(int code, const std::string& what)
        : std::runtime_error(what)
        , m_code(code)
    {
    }
    int Code() const noexcept { return m_code; }

private:
    int m_code;
};

/** True for the SQLite codes that mean "this file is not a usable database of ours". */
bool IsDamagedDatabaseCode(int code) noexcept;

class Statement;

/** One connection to one database file, opened for reading and writing (read-only when the file is). */
class Database
{
public:
    /** Opens (and creates when missing) the file; waits up to `busyTimeoutMs` for other processes' locks. */
    Database(const std::filesystem::path& file, int busyTimeoutMs);
    ~Database();

    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    /** Switches the file to a write-ahead log; throws for a damaged file. */
    void UseWriteAheadLog();
    /** Runs SQL that returns no rows (several statements allowed). */
    void Execute(const char* sql);
    /** The single integer that `sql` (a PRAGMA or a query) yields; throws for a damaged file. */
    std::int64_t ReadPragmaInteger(const char* sql);
    sqlite3* Handle() const noexcept { return m_db; }
    [[noreturn]] void Fail(int code) const;

private:
    int m_busyTimeoutMs;
    sqlite3* m_db = nullptr;
};

/**
 * A write transaction taken at once (BEGIN IMMEDIATE), so that two processes never both hold a read lock and
 * wait for each other to upgrade. Rolled back unless committed.
 */
class WriteTransaction
{
public:
    explicit WriteTransaction(Database& db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void Commit();

private:
    Database& m_db;
    bool m_open = true;
};

/**
 * Makes sure the file holds our layout: a new, empty file gets `layoutSql` (which must set application_id and
 * user_version) and then `seed` runs, both in one transaction; a file marked with another application id or
 * version, or holding foreign tables, throws SqliteError(SQLITE_NOTADB).
 */
void EnsureLayout(
    Database& db, std::int64_t applicationId, std::int64_t version, const char* layoutSql, void (*seed)(Database&));

/** A prepared statement. Column readers check the stored type instead of trusting the file. */
class Statement
{
public:
    Statement(Database& db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, std::string_view text);
    Statement& BindBlob(int index, const std::uint8_t* data, std::size_t size);

    /** Advances to the next row; false when there is none. */
    bool Step();
    /** Runs a statement that returns no rows. */
    void Run();

    bool IsInteger(int column) const;
    bool IsText(int column) const;
    bool IsBlob(int column) const;
    std::int64_t Integer(int column) const;
    std::string Text(int column) const;
    std::vector<std::uint8_t> Blob(int column) const;
    std::size_t Bytes(int column) const;

private:
    Database& m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace platform::sqlite
