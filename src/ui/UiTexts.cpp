#include "UiTexts.h"

namespace kelvara {

QString Pick(const UiText& text, bool german) {
    return QString::fromUtf8(german ? text.german : text.english);
}

std::string PickUtf8(const UiText& text, bool german) {
    return german ? text.german : text.english;
}

} // namespace kelvara
