// How number texts are written: the decimal mark of the user's locale and the `decimal`
// setting (1 forces a period, 2 keeps the locale's mark).
#pragma once

namespace kelvara {

struct NumberStyle {
    char localeMark = '.';
    int decimal = 1;
};

} // namespace kelvara
