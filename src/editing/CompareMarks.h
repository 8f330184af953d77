// The variation marked for a later comparison. The comparison itself is not offered yet: the
// menu items stay hidden, only the mark is kept.
#pragma once

#include <cstdint>
#include <string>

namespace kelvara {

struct CompareMarks {
    int32_t markedAircraft = -1;
    int32_t markedVariation = -1;
    std::string markedTitle;

    // Marks only in library mode; a file opened by name has no variation to mark.
    void Mark(bool libraryMode, int32_t aircraft, int32_t variation, std::string title) {
        if (!libraryMode) {
            return;
        }
        markedAircraft = aircraft;
        markedVariation = variation;
        markedTitle = std::move(title);
    }
    [[nodiscard]] bool CompareEnabled() const { return markedAircraft >= 0 && markedVariation >= 0; }
};

} // namespace kelvara
