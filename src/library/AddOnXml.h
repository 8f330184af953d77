// The add-on description of a Prepar3D package (add-on.xml): its name and components.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

struct AddOnComponent {
    std::string category;
    std::string path; // as written, a Windows path
    std::string name;
};

struct AddOnDescription {
    std::string name;
    std::vector<AddOnComponent> components;
    std::string error; // set: the text is no add-on description, and nothing else is
};

// Texts come out as UTF-8, whatever the file declares (UTF-8, UTF-16, Latin-1, Windows-1252).
[[nodiscard]] AddOnDescription ParseAddOnXml(std::string_view bytes);

} // namespace kelvara
