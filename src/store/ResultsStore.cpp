#include "store/ResultsStore.h"

#include <array>
#include <chrono>

#include "platform/Format.h"
#include "reports/RunJsonDocument.h"

namespace veltrane::store {

namespace {

// Migration n brings a file of schema version n to n + 1.
constexpr std::array<const char*, kStoreSchemaVersion> kMigrations{
    R"sql(
CREATE TABLE runs (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    finished_at TEXT NOT NULL,
    origin TEXT NOT NULL,
    machine TEXT NOT NULL,
    suite INTEGER NOT NULL,
    full_run INTEGER NOT NULL,
    trusted INTEGER NOT NULL,
    overall_cpumarks REAL NOT NULL,
    integer_alumarks REAL NOT NULL,
    float_fpumarks_sp REAL NOT NULL,
    double_fpumarks_dp REAL NOT NULL,
    mips REAL NOT NULL,
    mflops REAL NOT NULL,
    ram_alu_mb_per_s REAL NOT NULL,
    ram_fpu_mb_per_s REAL NOT NULL,
    reference_line TEXT NOT NULL,
    run_json TEXT
);
CREATE TABLE user_references (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    run_id INTEGER NOT NULL UNIQUE REFERENCES runs(id) ON DELETE CASCADE,
    list INTEGER NOT NULL,
    line TEXT NOT NULL,
    saved_at TEXT NOT NULL
);
)sql",
    R"sql(
CREATE TABLE scaling_runs (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    finished_at TEXT NOT NULL,
    origin TEXT NOT NULL,
    machine TEXT NOT NULL,
    max_threads INTEGER NOT NULL,
    multi_core_score REAL NOT NULL,
    trusted INTEGER NOT NULL,
    scaling_json TEXT NOT NULL
);
)sql",
};

int schemaVersion(Connection& connection) {
    Statement version(connection, "PRAGMA user_version");
    version.step();
    return static_cast<int>(version.integer(0));
}

// Brings the file up to this program's schema; a second program doing the
// same at the same moment waits for the first and then finds nothing to do.
void migrate(Connection& connection, const std::string& path) {
    if (schemaVersion(connection) == kStoreSchemaVersion) {
        return;
    }
    Transaction transaction(connection);
    const int found = schemaVersion(connection);
    if (found > kStoreSchemaVersion) {
        throw StoreError(0, strprintf("%s was written by a newer Veltrane (schema %d, this one "
                                      "reads %d)",
                                      path.c_str(), found, kStoreSchemaVersion));
    }
    for (int version = found; version < kStoreSchemaVersion; ++version) {
        connection.execute(kMigrations[static_cast<std::size_t>(version)]);
    }
    connection.execute(strprintf("PRAGMA user_version = %d", kStoreSchemaVersion).c_str());
    transaction.commit();
}

std::string now() {
    return reports::utcTimestamp(std::chrono::system_clock::now());
}

constexpr const char* kRunColumns =
    "id, finished_at, origin, machine, suite, full_run, trusted, overall_cpumarks, "
    "integer_alumarks, float_fpumarks_sp, double_fpumarks_dp, mips, mflops, ram_alu_mb_per_s, "
    "ram_fpu_mb_per_s, reference_line, "
    "EXISTS (SELECT 1 FROM user_references WHERE user_references.run_id = runs.id)";

RunRow readRun(const Statement& row) {
    RunRow run;
    run.id = row.integer(0);
    run.finishedAt = row.text(1);
    run.origin = row.text(2);
    run.machine = row.text(3);
    run.suite = static_cast<int>(row.integer(4));
    run.fullRun = row.integer(5) != 0;
    run.trusted = row.integer(6) != 0;
    run.figures = {row.real(7),  row.real(8),  row.real(9),  row.real(10),
                   row.real(11), row.real(12), row.real(13), row.real(14)};
    run.referenceLine = row.text(15);
    run.inLists = row.integer(16) != 0;
    return run;
}

constexpr const char* kScalingColumns =
    "id, finished_at, origin, machine, max_threads, multi_core_score, trusted";

ScalingRunRow readScalingRun(const Statement& row) {
    ScalingRunRow run;
    run.id = row.integer(0);
    run.finishedAt = row.text(1);
    run.origin = row.text(2);
    run.machine = row.text(3);
    run.maxThreads = static_cast<int>(row.integer(4));
    run.multiCoreScore = row.real(5);
    run.trusted = row.integer(6) != 0;
    return run;
}

}  // namespace

ResultsStore::ResultsStore(const std::string& path) : path_(path), connection_(path) {
    connection_.execute("PRAGMA foreign_keys = ON");
    // Readers never wait for a writer, and two writers queue up.
    connection_.retryWhileBusy(
        [this] { Statement(connection_, "PRAGMA journal_mode = WAL").run(); });
    connection_.retryWhileBusy([this] { migrate(connection_, path_); });
}

void ResultsStore::setMaxPages(std::int64_t pages) {
    connection_.execute(
        strprintf("PRAGMA max_page_count = %lld", static_cast<long long>(pages)).c_str());
}

std::int64_t ResultsStore::insertRun(const RunRow& run) {
    Statement insert(connection_,
                     "INSERT INTO runs (finished_at, origin, machine, suite, full_run, trusted, "
                     "overall_cpumarks, integer_alumarks, float_fpumarks_sp, double_fpumarks_dp, "
                     "mips, mflops, ram_alu_mb_per_s, ram_fpu_mb_per_s, reference_line, run_json) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const StoredFigures& f = run.figures;
    insert.bind(1, run.finishedAt)
        .bind(2, run.origin)
        .bind(3, run.machine)
        .bind(4, std::int64_t{run.suite})
        .bind(5, std::int64_t{run.fullRun})
        .bind(6, std::int64_t{run.trusted});
    const std::array<double, 8> figures{f.overall, f.alu,    f.fpuSingle, f.fpuDouble,
                                        f.mips,    f.mflops, f.ramAlu,    f.ramFpu};
    for (std::size_t i = 0; i < figures.size(); ++i) {
        insert.bind(static_cast<int>(7 + i), figures[i]);
    }
    insert.bind(15, run.referenceLine);
    if (run.runJson.empty()) {
        insert.bindNull(16);
    } else {
        insert.bind(16, run.runJson);
    }
    insert.run();
    return connection_.lastInsertId();
}

std::int64_t ResultsStore::insertUserReference(std::int64_t runId, int list,
                                               const std::string& line) {
    Statement insert(connection_,
                     "INSERT INTO user_references (run_id, list, line, saved_at) "
                     "VALUES (?, ?, ?, ?) ON CONFLICT (run_id) DO UPDATE SET "
                     "list = excluded.list, line = excluded.line, saved_at = excluded.saved_at");
    insert.bind(1, runId).bind(2, std::int64_t{list}).bind(3, line).bind(4, now()).run();
    Statement id(connection_, "SELECT id FROM user_references WHERE run_id = ?");
    id.bind(1, runId).step();
    return id.integer(0);
}

std::int64_t ResultsStore::addRun(const RunRow& run) {
    return addRuns({run}).front();
}

std::vector<std::int64_t> ResultsStore::addRuns(const std::vector<RunRow>& runs) {
    Transaction transaction(connection_);
    std::vector<std::int64_t> ids;
    for (const RunRow& run : runs) {
        ids.push_back(insertRun(run));
        if (run.inLists) {
            insertUserReference(ids.back(), run.suite, run.referenceLine);
        }
    }
    transaction.commit();
    return ids;
}

std::vector<RunRow> ResultsStore::runs() {
    Statement select(connection_,
                     (std::string("SELECT ") + kRunColumns + " FROM runs ORDER BY id").c_str());
    std::vector<RunRow> rows;
    while (select.step()) {
        rows.push_back(readRun(select));
    }
    return rows;
}

std::optional<RunRow> ResultsStore::run(std::int64_t id) {
    Statement select(
        connection_,
        (std::string("SELECT ") + kRunColumns + ", run_json FROM runs WHERE id = ?").c_str());
    select.bind(1, id);
    if (!select.step()) {
        return std::nullopt;
    }
    RunRow row = readRun(select);
    row.runJson = select.text(17);
    return row;
}

// One statement is one transaction, the cascade to the user's entry included.
bool ResultsStore::deleteRow(const char* sql, std::int64_t id) {
    Statement(connection_, sql).bind(1, id).run();
    return connection_.changes() > 0;
}

bool ResultsStore::removeRun(std::int64_t id) {
    return deleteRow("DELETE FROM runs WHERE id = ?", id);
}

std::int64_t ResultsStore::addScalingRun(const ScalingRunRow& run) {
    Transaction transaction(connection_);
    Statement insert(connection_,
                     "INSERT INTO scaling_runs (finished_at, origin, machine, max_threads, "
                     "multi_core_score, trusted, scaling_json) VALUES (?, ?, ?, ?, ?, ?, ?)");
    insert.bind(1, run.finishedAt)
        .bind(2, run.origin)
        .bind(3, run.machine)
        .bind(4, std::int64_t{run.maxThreads})
        .bind(5, run.multiCoreScore)
        .bind(6, std::int64_t{run.trusted})
        .bind(7, run.scalingJson)
        .run();
    const std::int64_t id = connection_.lastInsertId();
    transaction.commit();
    return id;
}

std::vector<ScalingRunRow> ResultsStore::scalingRuns() {
    Statement select(
        connection_,
        (std::string("SELECT ") + kScalingColumns + " FROM scaling_runs ORDER BY id").c_str());
    std::vector<ScalingRunRow> rows;
    while (select.step()) {
        rows.push_back(readScalingRun(select));
    }
    return rows;
}

std::optional<ScalingRunRow> ResultsStore::scalingRun(std::int64_t id) {
    Statement select(connection_, (std::string("SELECT ") + kScalingColumns +
                                   ", scaling_json FROM scaling_runs WHERE id = ?")
                                      .c_str());
    select.bind(1, id);
    if (!select.step()) {
        return std::nullopt;
    }
    ScalingRunRow row = readScalingRun(select);
    row.scalingJson = select.text(7);
    return row;
}

bool ResultsStore::removeScalingRun(std::int64_t id) {
    return deleteRow("DELETE FROM scaling_runs WHERE id = ?", id);
}

std::int64_t ResultsStore::addUserReference(std::int64_t runId, int list, const std::string& line) {
    Transaction transaction(connection_);
    const std::int64_t id = insertUserReference(runId, list, line);
    transaction.commit();
    return id;
}

std::vector<UserReference> ResultsStore::userReferences() {
    Statement select(connection_,
                     "SELECT id, run_id, list, line, saved_at FROM user_references ORDER BY id");
    std::vector<UserReference> references;
    while (select.step()) {
        references.push_back({select.integer(0), select.integer(1),
                              static_cast<int>(select.integer(2)), select.text(3), select.text(4)});
    }
    return references;
}

bool ResultsStore::removeUserReference(std::int64_t id) {
    return deleteRow("DELETE FROM user_references WHERE id = ?", id);
}

}  // namespace veltrane::store
