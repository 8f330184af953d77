#include "AddOnXml.h"

#include "TextUtil.h"
#include "Windows1252.h"

#include <expat.h>

#include <climits>
#include <memory>

namespace kelvara {

namespace {

// Where the parser is: the element names from the root down.
struct ParseState {
    AddOnDescription result;
    std::vector<std::string> open;
    std::string text;
    bool rootSeen = false;
};

void XMLCALL StartElement(void* data, const XML_Char* name, const XML_Char** /*attributes*/) {
    auto& state = *static_cast<ParseState*>(data);
    const std::string_view element = name;
    if (state.open.empty()) {
        state.rootSeen = element == "SimBase.Document";
    } else if (state.open.size() == 1 && element == "AddOn.Component") {
        state.result.components.emplace_back();
    }
    state.open.emplace_back(element);
    state.text.clear();
}

void XMLCALL EndElement(void* data, const XML_Char* /*name*/) {
    auto& state = *static_cast<ParseState*>(data);
    const std::string value(Trim(state.text));
    state.text.clear();
    const auto& open = state.open;
    if (state.rootSeen && open.size() == 2 && open[1] == "AddOn.Name") {
        state.result.name = value;
    } else if (state.rootSeen && open.size() == 3 && open[1] == "AddOn.Component" &&
               !state.result.components.empty()) {
        AddOnComponent& component = state.result.components.back();
        if (open[2] == "Category") {
            component.category = value;
        } else if (open[2] == "Path") {
            component.path = value;
        } else if (open[2] == "Name") {
            component.name = value;
        }
    }
    state.open.pop_back();
}

void XMLCALL Characters(void* data, const XML_Char* text, int length) {
    static_cast<ParseState*>(data)->text.append(text, static_cast<size_t>(length));
}

// Add-on descriptions written by hand often declare Windows-1252, which expat does not know.
int XMLCALL UnknownEncoding(void* /*data*/, const XML_Char* name, XML_Encoding* info) {
    const std::string encoding = ToLower(name);
    if (encoding != "windows-1252" && encoding != "cp1252") {
        return XML_STATUS_ERROR;
    }
    for (int byte = 0; byte < 256; ++byte) {
        const char raw = static_cast<char>(byte);
        const std::string utf8 = Windows1252ToUtf8(std::string_view(&raw, 1));
        // One to three UTF-8 bytes; every Windows-1252 character lies in the first plane.
        int code = static_cast<unsigned char>(utf8[0]);
        if (utf8.size() == 2) {
            code = ((code & 0x1F) << 6) | (utf8[1] & 0x3F);
        } else if (utf8.size() == 3) {
            code = ((code & 0x0F) << 12) | ((utf8[1] & 0x3F) << 6) | (utf8[2] & 0x3F);
        }
        info->map[byte] = code;
    }
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

} // namespace

AddOnDescription ParseAddOnXml(std::string_view bytes) {
    ParseState state;
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(nullptr),
                                                                            &XML_ParserFree);
    if (!parser || bytes.size() > static_cast<size_t>(INT_MAX)) {
        state.result.error = "cannot be read";
        return std::move(state.result);
    }
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(parser.get(), &StartElement, &EndElement);
    XML_SetCharacterDataHandler(parser.get(), &Characters);
    XML_SetUnknownEncodingHandler(parser.get(), &UnknownEncoding, nullptr);
    if (XML_Parse(parser.get(), bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) != XML_STATUS_OK) {
        AddOnDescription failed;
        failed.error = std::string(XML_ErrorString(XML_GetErrorCode(parser.get()))) + " at line " +
                       std::to_string(XML_GetCurrentLineNumber(parser.get()));
        return failed;
    }
    if (!state.rootSeen) {
        AddOnDescription failed;
        failed.error = "the root element is not SimBase.Document";
        return failed;
    }
    return std::move(state.result);
}

} // namespace kelvara
