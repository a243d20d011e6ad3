#include <gtest/gtest.h>

#include "engine/resources/resource_table.h"

using namespace engine;

TEST(ResourceTable, TheSameTypeAndNameGiveTheSameHandle) {
    ResourceTable table;
    int first = table.add(ResourceType::Material, "a.material.xml", 0);
    EXPECT_GT(first, 0);
    EXPECT_EQ(table.add(ResourceType::Material, "a.material.xml", 8), first);
    EXPECT_EQ(table.get(first)->flags, 0);
    EXPECT_NE(table.add(ResourceType::SceneGraph, "a.material.xml", 0), first);
    EXPECT_NE(table.add(ResourceType::Material, "b.material.xml", 0), first);
}

TEST(ResourceTable, FindsByNameAndChecksTypes) {
    ResourceTable table;
    int pipeline = table.add(ResourceType::Pipeline, "p.xml", 0);
    EXPECT_EQ(table.find(ResourceType::Pipeline, "p.xml"), pipeline);
    EXPECT_EQ(table.find(ResourceType::Material, "p.xml"), 0);
    EXPECT_NE(table.get(pipeline, ResourceType::Pipeline), nullptr);
    EXPECT_EQ(table.get(pipeline, ResourceType::Material), nullptr);
    EXPECT_EQ(table.get(0), nullptr);
    EXPECT_EQ(table.get(-3), nullptr);
    EXPECT_FALSE(table.get(pipeline)->loaded());
}

TEST(ResourceTable, ClearingForgetsEverything) {
    ResourceTable table;
    table.add(ResourceType::Shader, "s.shader", 0);
    table.clear();
    EXPECT_EQ(table.find(ResourceType::Shader, "s.shader"), 0);
    EXPECT_EQ(table.get(1), nullptr);
}

TEST(ResourceTypes, OnlyTheInterfaceTypesAreKnown) {
    for (int type : {1, 2, 4, 6, 7, 9}) {
        EXPECT_TRUE(isResourceType(type)) << type;
    }
    for (int type : {-1, 0, 3, 5, 8, 10}) {
        EXPECT_FALSE(isResourceType(type)) << type;
    }
    EXPECT_STREQ(resourceTypeName(ResourceType::SceneGraph), "scene");
}
