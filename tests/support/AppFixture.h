#pragma once
// Builds the six windows as start-up does, on temporary port roots that hold
// no serial device at all (unless a test adds links before SetUp ends), with
// a fresh scripted modal seam.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "link/PortMap.h"
#include "support/ScriptedModal.h"
#include "support/TempDir.h"

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Roots of the port map; PortLinks is created empty and trusted.
    TPortRoots Roots() const;
    // Creates the windows. Called by SetUp unless DeferStart() was called in
    // the test's constructor, so a test can publish ports first.
    void Start();
    void DeferStart() { deferStart_ = true; }

    TempDir temp_;
    std::string devDir_, sysDir_, linksDir_;
    ScriptedModal* script_ = nullptr;

private:
    bool deferStart_ = false;
    bool started_ = false;
};
