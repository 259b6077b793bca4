// The user's own entries among the shipped ones: marked, replaced, removed.
#include <gtest/gtest.h>

#include <string>

#include "engine/ReferenceDetails.h"
#include "engine/UserEntries.h"

namespace veltrane::engine {
namespace {

ReferenceEntry entry(const std::string& name, std::int64_t userEntryId = 0) {
    ReferenceEntry e;
    e.cpuName = name;
    e.userEntryId = userEntryId;
    return e;
}

// Each list as "name:id name:id", lists separated by '|'.
std::string lists(const ReferenceDatabase& database) {
    std::string text;
    for (const auto& list : database.lists) {
        for (const auto& e : list) {
            text += e.cpuName + ":" + std::to_string(e.userEntryId) + " ";
        }
        text += "|";
    }
    return text;
}

ReferenceDatabase sample() {
    ReferenceDatabase database;
    database.lists[3] = {entry("Shipped"), entry("Mine", 7)};
    database.lists[4] = {entry("Other", 9)};
    return database;
}

TEST(UserEntries, OwnEntriesAreMarkedInTheListsAndTheDatabaseRows) {
    EXPECT_EQ(listedName("Chipset A", entry("CPU")), "Chipset A");
    EXPECT_EQ(listedName("Chipset A", entry("CPU", 3)), "Chipset A (your own)");
    const auto rows = databaseRows(sample(), 3);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], "Shipped");
    EXPECT_EQ(rows[1][0], "Mine (your own)");
}

TEST(UserEntries, PuttingReplacesTheSameIdOrAppends) {
    const struct {
        int list;
        ReferenceEntry put;
        std::string expected;
    } cases[] = {
        {3, entry("Renamed", 7), "|||Shipped:0 Renamed:7 |Other:9 |"},
        {3, entry("New", 8), "|||Shipped:0 Mine:7 New:8 |Other:9 |"},
        {0, entry("First", 10), "First:10 |||Shipped:0 Mine:7 |Other:9 |"},
        {5, entry("Nowhere", 11), "|||Shipped:0 Mine:7 |Other:9 |"},
        {-1, entry("Nowhere", 11), "|||Shipped:0 Mine:7 |Other:9 |"},
    };
    for (const auto& c : cases) {
        ReferenceDatabase database = sample();
        putUserEntry(database, c.list, c.put);
        EXPECT_EQ(lists(database), c.expected) << c.put.cpuName;
    }
}

TEST(UserEntries, RemovingTakesOnlyTheUsersEntry) {
    const struct {
        std::int64_t id;
        bool removed;
        std::string expected;
    } cases[] = {
        {7, true, "|||Shipped:0 |Other:9 |"},
        {9, true, "|||Shipped:0 Mine:7 ||"},
        {0, false, "|||Shipped:0 Mine:7 |Other:9 |"},
        {42, false, "|||Shipped:0 Mine:7 |Other:9 |"},
    };
    for (const auto& c : cases) {
        ReferenceDatabase database = sample();
        EXPECT_EQ(removeUserEntry(database, c.id), c.removed) << c.id;
        EXPECT_EQ(lists(database), c.expected) << c.id;
    }
}

}  // namespace
}  // namespace veltrane::engine
