// Configuration texts for the library tests, written into a fresh temporary folder.
#pragma once

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvara::test {

// One [fltsim.N] section.
inline std::string Section(int n, const std::string& title, const std::string& sim,
                           const std::string& extra = {}) {
    std::string text = "[fltsim." + std::to_string(n) + "]\r\n";
    if (!title.empty()) {
        text += "title=" + title + "\r\n";
    }
    if (!sim.empty()) {
        text += "sim=" + sim + "\r\n";
    }
    return text + extra;
}

} // namespace kelvara::test
