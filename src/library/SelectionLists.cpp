#include "SelectionLists.h"

#include "FolderNames.h"

#include <algorithm>
#include <unordered_set>

namespace kelvara {

namespace {

template <typename T, typename TextOf>
void SortByFoldedText(std::vector<T>& items, TextOf textOf) {
    std::vector<std::pair<std::string, size_t>> keys;
    keys.reserve(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        keys.emplace_back(FoldCase(textOf(items[i])), i);
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<T> sorted;
    sorted.reserve(items.size());
    for (const auto& key : keys) {
        sorted.push_back(std::move(items[key.second]));
    }
    items = std::move(sorted);
}

} // namespace

void SortAircraftLines(std::vector<AircraftLine>& lines) {
    SortByFoldedText(lines, [](const AircraftLine& line) -> const std::string& { return line.text; });
}

std::string ListedManufacturer(const AircraftLibrary& library, AircraftCode code) {
    const Variation* variation = library.Find(code);
    return variation == nullptr || variation->manufacturer.empty() ? std::string(" ")
                                                                   : variation->manufacturer;
}

std::vector<std::string> ManufacturerList(const AircraftLibrary& library,
                                          const std::vector<AircraftLine>& lines) {
    std::vector<std::string> all;
    all.reserve(lines.size());
    for (const AircraftLine& line : lines) {
        all.push_back(ListedManufacturer(library, line.code));
    }
    SortByFoldedText(all, [](const std::string& text) -> const std::string& { return text; });
    std::vector<std::string> distinct;
    std::unordered_set<std::string> seen;
    for (std::string& manufacturer : all) {
        if (seen.insert(manufacturer).second) {
            distinct.push_back(std::move(manufacturer));
        }
    }
    return distinct;
}

int ManufacturerToSelect(const std::vector<std::string>& manufacturers,
                         const std::string& currentManufacturer) {
    for (size_t i = manufacturers.size(); i-- > 0;) {
        if (manufacturers[i] == currentManufacturer) {
            return static_cast<int>(i);
        }
    }
    return manufacturers.empty() ? -1 : 0;
}

std::vector<AircraftLine> AircraftOfManufacturer(const AircraftLibrary& library,
                                                 const std::vector<AircraftLine>& lines,
                                                 const std::string& manufacturer) {
    std::vector<AircraftLine> titles;
    for (const AircraftLine& line : lines) {
        if (ListedManufacturer(library, line.code) == manufacturer) {
            const Variation* variation = library.Find(line.code);
            titles.push_back({variation != nullptr ? variation->title : std::string(), line.code});
        }
    }
    SortAircraftLines(titles);
    return titles;
}

bool SharesFlightModel(const AircraftLibrary& library, AircraftCode a, AircraftCode b) {
    const Variation* first = library.Find(a);
    const Variation* second = library.Find(b);
    return first != nullptr && second != nullptr && FoldCase(first->sim) == FoldCase(second->sim);
}

std::string ShownAircraftFolder(std::string_view folder, std::string_view fspath,
                                std::string_view label) {
    // "/fsx/" and "/fsx" are one folder, and "/fsx2" is another.
    while (fspath.size() > 1 && fspath.back() == '/') {
        fspath.remove_suffix(1);
    }
    if (!fspath.empty() && folder.size() >= fspath.size() &&
        (folder.size() == fspath.size() || folder[fspath.size()] == '/') &&
        FoldCase(folder.substr(0, fspath.size())) == FoldCase(fspath)) {
        return "<" + std::string(label) + ">" + std::string(folder.substr(fspath.size()));
    }
    return std::string(folder);
}

} // namespace kelvara
