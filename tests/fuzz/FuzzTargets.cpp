// Fuzz entry points: one per reader of outside bytes, listed in targets.txt.
#include "AddOnXml.h"
#include "AircraftConfig.h"
#include "AirFileReader.h"
#include "AsciiExport.h"
#include "HexEditState.h"
#include "HexViewText.h"
#include "CurveEditor.h"
#include "DataType.h"
#include "GraphGeometry.h"
#include "RecordDictionary.h"
#include "RecordDiff.h"
#include "SaveChecks.h"
#include "RecordEdits.h"
#include "PackageFolders.h"
#include "Settings.h"
#include "TableCfgLine.h"
#include "TableText.h"
#include "Thumbnail.h"
#include "ValueEncoding.h"
#include "ValueFormat.h"
#include "Windows1252.h"

#include <algorithm>
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
    // The quick check must say what the reader says.
    size_t records = 0;
    const auto checked = kelvara::CheckAirBytes({data, size}, FuzzDictionary(), {}, records);
    if (checked.code != result.code || checked.message != result.message ||
        (result.code == 0 && records != tree.RootCount())) {
        __builtin_trap();
    }
    if (result.code == 0) {
        std::ostringstream out;
        kelvara::ExportAscii(tree, FuzzDictionary(), 3, {}, out);
        tree.ForEach([](kelvara::RecordNode& node) {
            (void)kelvara::HexRows(node.record.Bytes(), node.record.data.size(), node.record.fileOffset);
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

// A record's bytes shown in the hex view, then a sequence of clicks, keys and typed bytes:
// the selection stays on a cell of the text and the bytes read back keep the record's size.
extern "C" int FuzzHexView(const uint8_t* data, size_t size) {
    using namespace kelvara;
    if (size < 2) {
        return 0;
    }
    const size_t length = std::min<size_t>(data[0], size - 1);
    const std::vector<uint8_t> bytes(data + 1, data + 1 + length);
    HexEditState hex;
    hex.Load("Length: " + std::to_string(length), bytes, data[1] % 2 ? length : length / 2, data[1], data[1] != 255);
    for (size_t at = 1 + length; at + 2 < size; at += 3) {
        const uint8_t a = data[at + 1];
        const uint8_t b = data[at + 2];
        switch (data[at] % 5) {
        case 0: hex.Click(static_cast<int8_t>(a), static_cast<int8_t>(b)); break;
        case 1: hex.Key(static_cast<HexKey>(a % 4)); break;
        case 2: (void)hex.Type(a); break;
        case 3: hex.SetTableShown(a % 2); break;
        default: hex.SetMouseHeld(a % 2); break;
        }
        const HexCell cell = hex.Selection();
        if (!hex.Lines().empty() &&
            (cell.line < 0 || static_cast<size_t>(cell.line) >= hex.Lines().size() || cell.column < 0 ||
             static_cast<size_t>(cell.column) >= hex.Lines()[static_cast<size_t>(cell.line)].size())) {
            __builtin_trap();
        }
    }
    if (hex.ApplyTo(bytes).size() != bytes.size()) {
        __builtin_trap();
    }
    (void)hex.Text();
    return 0;
}

// Two files from one input, cut where its first two bytes say: the differences list every
// record once, and a file compared with itself has none. The checks before saving read the
// same hostile records.
extern "C" int FuzzDiff(const uint8_t* data, size_t size) {
    using namespace kelvara;
    if (size < 2) {
        return 0;
    }
    const size_t cut = std::min<size_t>(size - 2, static_cast<size_t>(data[0] | data[1] << 8));
    const std::span<const uint8_t> rest(data + 2, size - 2);
    RecordTree a;
    RecordTree b;
    if (ReadAirBytes(rest.first(cut), FuzzDictionary(), {}, a).code != 0 ||
        ReadAirBytes(rest.subspan(cut), FuzzDictionary(), {}, b).code != 0) {
        return 0;
    }
    (void)DiffRecords(a, b, FuzzDictionary(), {});
    (void)DiffRecords(b, a, FuzzDictionary(), {',', 2});
    (void)CheckBeforeSaving(a, FuzzDictionary());
    if (!DiffRecords(a, a, FuzzDictionary(), {}).empty()) {
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
    // The same bytes as an add-on description and as a UserCfg.opt.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const kelvara::AddOnDescription description = kelvara::ParseAddOnXml(text);
    if (!description.error.empty() && !(description.name.empty() && description.components.empty())) {
        __builtin_trap();
    }
    (void)kelvara::InstalledPackagesPath(text);
    return 0;
}

extern "C" int FuzzJpeg(const uint8_t* data, size_t size) {
    const kelvara::JpegResult result = kelvara::DecodeJpeg({data, size}, 256, 128);
    if (result.ok && result.image.pixels.size() != size_t(result.image.width) * result.image.height * 3) {
        __builtin_trap();
    }
    return 0;
}

// The same bytes as a table record of every table type (shown, drawn, dragged, exported) and
// as a table text file read into fixed records: nothing is read or written out of bounds, and
// an import never changes a table's size.
extern "C" int FuzzTables(const uint8_t* data, size_t size) {
    using namespace kelvara;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<uint8_t> shapes[] = {
        std::vector<uint8_t>(data, data + size),
        {3, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        std::vector<uint8_t>(52, 0),
    };
    for (int type : {DataType::TblDb, DataType::Tbl16, DataType::Tbl16_2, DataType::Tbl3d, DataType::Tbl3d_2}) {
        for (const auto& bytes : shapes) {
            RecordNode node;
            node.record.type = type;
            node.record.SetData(bytes);
            // A configuration line keeps the size, and an exported one reads back to the same bytes.
            const CfgLineRead line = ReadCfgLine(type, node.record.Bytes(), text);
            if (line.status == CfgLineRead::Status::Ok && line.bytes.size() != bytes.size()) {
                __builtin_trap();
            }
            if (const CfgLineWrite written = WriteCfgLine(type, node.record.Bytes());
                written.status == CfgLineWrite::Status::Ok) {
                const CfgLineRead back = ReadCfgLine(type, node.record.Bytes(), written.line);
                if (back.status == CfgLineRead::Status::Ok && back.bytes != node.record.data) {
                    __builtin_trap();
                }
            }
            const TableImport imported = ReadTableText(type, node.record.Bytes(), text);
            if (imported.status == TableImport::Status::Ok && imported.bytes.size() != bytes.size()) {
                __builtin_trap();
            }
            std::ostringstream out;
            (void)WriteTableText(type, node.record.Bytes(), {2, 2}, out);
            CurveView view;
            view.SetOverlay(&node);
            if (type == DataType::TblDb) {
                view.ShowPairTable(true, node);
            } else if (type == DataType::Tbl16 || type == DataType::Tbl16_2) {
                view.ShowWordTable(true, type == DataType::Tbl16 ? 16 : 2048, node);
            } else {
                view.ShowMatrix(true, type == DataType::Tbl3d ? 0 : 2, 1, node);
            }
            view.viewportWidth = 50;
            view.viewportHeight = 20;
            (void)BuildGraphGeometry(view);
            CurveEditor editor;
            editor.lockX = false;
            MouseState right;
            right.right = right.ctrl = true;
            (void)editor.PickPoint(view, 25, 10);
            (void)editor.DragOrNavigate(view, right, 30, 3);
            if (node.record.data.size() != bytes.size()) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
