#include "DataType.h"

#include <array>

namespace kelvara {

namespace {

struct TypeInfo {
    std::string_view keyword;
    bool fieldAllowed;
    int width;
    std::string_view tag;
};

// Indexed by code - 1.
constexpr std::array<TypeInfo, 26> kTypes{{
    {"text", true, 0, "(TEXT) "},
    {"int16", true, 2, "(INT16) "},
    {"int32", true, 4, "(INT32) "},
    {"bool", true, 4, "(BOOL) "},
    {"double", true, 8, "(DBL) "},
    {"tbldb", false, 0, "(TBLDB) "},
    {"tbl16", false, 0, "(TBL16) "},
    {"tbl3d", false, 0, "(TBL3D) "},
    {"record", true, 0, "(REC) "},
    {"float", true, 4, "(FLOAT) "},
    {"int8", true, 1, "(INT8) "},
    {"m256", true, 2, "(M256) "},
    {"ang16", true, 2, "(ANG16) "},
    {"aspd", true, 4, "(ASPD) "},
    {"16pct", true, 2, "(16PCT) "},
    {"fwgt", true, 2, "(FWGT) "},
    {"mach", true, 4, "(MACH) "},
    {"unknown", true, 0, "(????) "},
    {"prpm", true, 2, "(PRPM) "},
    {"thrust", true, 4, "(THRUST) "},
    {"int16_2", true, 2, "(INT16_2) "},
    {"int32_2", true, 4, "(INT32_2) "},
    {"tbl16_2", false, 0, "(TBL16_2) "},
    {"tbl3d_2", true, 0, "(TBL3D_2) "},
    {"g16", true, 2, "(G16) "},
    {"int16_8", true, 2, "(INT16_8) "},
}};

const TypeInfo* Find(int type) {
    if (type < 1 || type > static_cast<int>(kTypes.size())) {
        return nullptr;
    }
    return &kTypes[static_cast<size_t>(type - 1)];
}

} // namespace

bool IsRawBlock(int type) { return type >= DataType::RawBlockBase; }

bool IsTableType(int type) {
    return type == DataType::TblDb || type == DataType::Tbl16 || type == DataType::Tbl3d ||
           type == DataType::Tbl16_2 || type == DataType::Tbl3d_2;
}

std::string_view DataTypeKeyword(int type) {
    const TypeInfo* info = Find(type);
    return info ? info->keyword : std::string_view{};
}

std::optional<int> RecordTypeFromKeyword(std::string_view keyword) {
    for (size_t i = 0; i < kTypes.size(); ++i) {
        if (kTypes[i].keyword == keyword) {
            return static_cast<int>(i + 1);
        }
    }
    return std::nullopt;
}

std::optional<int> FieldTypeFromKeyword(std::string_view keyword) {
    for (size_t i = 0; i < kTypes.size(); ++i) {
        if (kTypes[i].fieldAllowed && kTypes[i].keyword == keyword) {
            return static_cast<int>(i + 1);
        }
    }
    return std::nullopt;
}

int FixedWidth(int type) {
    const TypeInfo* info = Find(type);
    return info ? info->width : 0;
}

std::string_view RecordTag(int type) {
    const TypeInfo* info = Find(type);
    return info ? info->tag : std::string_view{"(????) "};
}

std::string FieldTag(int type) {
    if (IsRawBlock(type)) {
        return " (????) ";
    }
    // Types without a field tag of their own (text, tables, unknown) reuse the record tag.
    return " " + std::string(RecordTag(type));
}

} // namespace kelvara
