#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/base/handle_table.h"

using engine::HandleTable;

TEST(HandleTable, HandlesStartAtOneAndZeroIsNone) {
    HandleTable<std::string> table;
    EXPECT_EQ(table.add(std::make_unique<std::string>("a")), 1);
    EXPECT_EQ(table.add(std::make_unique<std::string>("b")), 2);
    EXPECT_EQ(table.find(0), nullptr);
    EXPECT_EQ(*table.find(2), "b");
}

TEST(HandleTable, BadHandlesFindNothing) {
    HandleTable<std::string> table;
    table.add(std::make_unique<std::string>("a"));
    EXPECT_EQ(table.find(-1), nullptr);
    EXPECT_EQ(table.find(2), nullptr);
    EXPECT_EQ(table.find(2147483647), nullptr);
    table.remove(99);
}

TEST(HandleTable, RemovedHandlesAreNotReused) {
    HandleTable<std::string> table;
    int first = table.add(std::make_unique<std::string>("a"));
    table.remove(first);
    EXPECT_EQ(table.find(first), nullptr);
    EXPECT_NE(table.add(std::make_unique<std::string>("b")), first);
}

TEST(HandleTable, VisitsLiveObjectsInHandleOrder) {
    HandleTable<std::string> table;
    table.add(std::make_unique<std::string>("a"));
    int middle = table.add(std::make_unique<std::string>("b"));
    table.add(std::make_unique<std::string>("c"));
    table.remove(middle);
    std::string visited;
    table.forEach([&visited](int handle, const std::string& value) {
        visited += std::to_string(handle) + value;
    });
    EXPECT_EQ(visited, "1a3c");
    table.clear();
    EXPECT_EQ(table.find(1), nullptr);
    EXPECT_EQ(table.endHandle(), 1);
}
