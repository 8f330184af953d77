// Fuzz entry points for every reader of outside bytes in the core.
#include "AircraftConfig.h"
#include "AirFileReader.h"
#include "AsciiExport.h"
#include "RecordDictionary.h"
#include "RecordEdits.h"
#include "Settings.h"
#include "Thumbnail.h"
#include "ValueEncoding.h"
#include "ValueFormat.h"
#include "Windows1252.h"

#include <cstdint>
#include <sstream>
#include <string>

namespace {

const kelvara::RecordDictionary& FuzzDictionary() {
    static const kelvara::RecordDictionary dictionary = [] {
        kelvara::RecordDictionary d;
        d.LoadFromText("[records]\n1=Text,text\n2=Rec,record\n3=Pct,16pct\n4=Tbl,tbl3d_2\n5=F,float\n6=B,bool\n"
                       "[2]\n1=L\n2=0x00,int16,A\n3=0x02,text,T\n4=0x04,tbl3d_2,M\n5=0x10,double,D\n6=0x7fffffff,int32,Far\n"
                       "7=0x01,12,Raw\n");
        return d;
    }();
    return dictionary;
}

} // namespace

extern "C" int FuzzAirFile(const uint8_t* data, size_t size) {
    kelvara::RecordTree tree;
    const auto result = kelvara::ReadAirBytes({data, size}, FuzzDictionary(), {}, tree);
    if (result.code == 0) {
        std::ostringstream out;
        kelvara::ExportAscii(tree, FuzzDictionary(), 3, {}, out);
        tree.ForEach([](kelvara::RecordNode& node) {
            (void)kelvara::ApplyNumberEdit(node, "1.5", '.');
            (void)kelvara::ApplyBoolEdit(node, true);
            (void)kelvara::ApplyTextEdit(node, "x");
        });
    }
    return 0;
}

extern "C" int FuzzDictionaryText(const uint8_t* data, size_t size) {
    kelvara::RecordDictionary dictionary;
    dictionary.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
    for (int layout = 0; layout < dictionary.LayoutCount(); ++layout) {
        (void)dictionary.FieldCount(layout);
    }
    return 0;
}

extern "C" int FuzzNumberText(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (int type = 1; type <= 26; ++type) {
        (void)kelvara::EncodeNumber(type, text, '.');
        (void)kelvara::EncodeNumber(type, text, ',');
        (void)kelvara::FormatValue(type, {data, size}, {',', 2});
        (void)kelvara::EditorNumberText(type, {data, size}, '.');
    }
    (void)kelvara::LimitDecimals(text);
    (void)kelvara::Utf8ToWindows1252(text);
    (void)kelvara::DecodeConfigText(text);
    return 0;
}

extern "C" int FuzzSettingsText(const uint8_t* data, size_t size) {
    kelvara::Settings settings;
    settings.ReadText(std::string(reinterpret_cast<const char*>(data), size));
    // Whatever was read must write back as a file that reads the same.
    const std::string saved = settings.SaveText();
    kelvara::Settings again;
    again.ReadText(saved);
    if (again.SaveText() != saved) {
        __builtin_trap();
    }
    return 0;
}

extern "C" int FuzzAircraftConfig(const uint8_t* data, size_t size) {
    kelvara::AircraftEntry entry;
    const int count = kelvara::ReadAircraftConfigText(
        entry, "/F/SimObjects/Airplanes/A", std::string(reinterpret_cast<const char*>(data), size));
    if (count < 0 || static_cast<size_t>(count) != entry.variations.size()) {
        __builtin_trap();
    }
    return 0;
}

extern "C" int FuzzJpeg(const uint8_t* data, size_t size) {
    const kelvara::JpegResult result = kelvara::DecodeJpeg({data, size}, 256, 128);
    if (result.ok && result.image.pixels.size() != size_t(result.image.width) * result.image.height * 3) {
        __builtin_trap();
    }
    return 0;
}
