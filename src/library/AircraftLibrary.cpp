#include "AircraftLibrary.h"

namespace kelvara {

namespace {
const Variation kNoVariation{};
const std::string kNoText;
} // namespace

void AircraftLibrary::Reset() {
    mEntries.clear();
    mCurrent = {};
}

const AircraftEntry* AircraftLibrary::Entry(int32_t entry) const {
    if (entry < 0 || entry >= Count()) {
        return nullptr;
    }
    return &mEntries[static_cast<size_t>(entry)];
}

const Variation* AircraftLibrary::Find(AircraftIndex index) const {
    const AircraftEntry* entry = Entry(index.entry);
    if (entry == nullptr || index.variation < 0 ||
        static_cast<size_t>(index.variation) >= entry->variations.size()) {
        return nullptr;
    }
    return &entry->variations[static_cast<size_t>(index.variation)];
}

const Variation& AircraftLibrary::CurrentVariation() const {
    const Variation* variation = Find(mCurrent);
    return variation != nullptr ? *variation : kNoVariation;
}

const std::string& AircraftLibrary::CurrentFolder() const {
    const AircraftEntry* entry = Entry(mCurrent.entry);
    return entry != nullptr ? entry->folder : kNoText;
}

std::string AircraftLibrary::CurrentAirPath() const {
    const Variation* variation = Find(mCurrent);
    return variation != nullptr && !variation->sim.empty() ? variation->sim + ".air" : std::string();
}

} // namespace kelvara
