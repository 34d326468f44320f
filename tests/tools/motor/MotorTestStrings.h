#pragma once
// Tests whose texts come from the program's string table load the resource library first.
#include "framework/core/ResourceModule.h"

#include <gtest/gtest.h>

#include <memory>

class WithProgramStrings : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = CResourceModule::LoadLibrary(kResourceLibraryName);
        ASSERT_NE(module_, nullptr);
        scope_ = std::make_unique<ScopedResourceModule>(module_);
    }
    std::shared_ptr<const CResourceModule> module_;
    std::unique_ptr<ScopedResourceModule> scope_;
};
