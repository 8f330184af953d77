// Builds Kelvara's bundled sample simulator folder (data/samples/FSX): a few aircraft with
// configuration files, ".air" flight models and thumbnails, all made here from scratch.
//
//   kelvara-make-samples OUTDIR          writes the folder
//   kelvara-make-samples --check OUTDIR  exits 1 when the folder differs from what would be written

#include "DataType.h"
#include "ValueEncoding.h"

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using namespace kelvara;

namespace {

// ---- record payloads --------------------------------------------------------------------

template <typename T>
void Put(Bytes& out, T value) {
    uint8_t raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    out.insert(out.end(), raw, raw + sizeof(T));
}

template <typename T>
void PutAt(Bytes& out, size_t offset, T value) {
    if (out.size() < offset + sizeof(T)) {
        out.resize(offset + sizeof(T));
    }
    std::memcpy(out.data() + offset, &value, sizeof(T));
}

Bytes Text(const std::string& text) {
    Bytes b(text.begin(), text.end());
    b.push_back(0);
    return b;
}

Bytes Doubles(std::initializer_list<double> values) {
    Bytes b;
    for (double v : values) {
        Put(b, v);
    }
    return b;
}

template <typename T>
Bytes Scalar(T value) {
    Bytes b;
    Put(b, value);
    return b;
}

// The stored bytes of a typed number, as the number editor would store them.
Bytes Encoded(int type, const char* text) {
    EncodeResult r = EncodeNumber(type, text, '.');
    if (r.status != EncodeStatus::Ok) {
        throw std::runtime_error(std::string("sample value out of range: ") + text);
    }
    return r.bytes;
}

Bytes PairTable(const std::vector<std::pair<double, double>>& points) {
    Bytes b;
    Put(b, static_cast<uint32_t>(points.size()));
    for (const auto& [x, y] : points) {
        Put(b, x);
        Put(b, y);
    }
    return b;
}

// 17 Mach steps of 0.2; the stored value / 2048 is added to the coefficient.
Bytes MachTable(std::initializer_list<double> increments) {
    Bytes b;
    size_t i = 0;
    for (double v : increments) {
        Put(b, static_cast<int16_t>(std::lround(v * 2048)));
        ++i;
    }
    for (; i < 17; ++i) {
        Put(b, static_cast<int16_t>(0));
    }
    return b;
}

// Column keys go in row 0, row keys in column 0; value(a, b) fills the rest (1-based).
Bytes Matrix(const std::vector<double>& columnKeys, const std::vector<double>& rowKeys, double corner,
             const std::function<double(double col, double row)>& value) {
    const uint32_t m = static_cast<uint32_t>(columnKeys.size() + 1);
    const uint32_t n = static_cast<uint32_t>(rowKeys.size() + 1);
    Bytes b;
    Put(b, m);
    Put(b, n);
    for (uint32_t a = 0; a < m; ++a) {
        for (uint32_t r = 0; r < n; ++r) {
            double v;
            if (a == 0 && r == 0) {
                v = corner;
            } else if (r == 0) {
                v = columnKeys[a - 1];
            } else if (a == 0) {
                v = rowKeys[r - 1];
            } else {
                v = value(columnKeys[a - 1], rowKeys[r - 1]);
            }
            Put(b, v);
        }
    }
    return b;
}

class AirBuilder {
public:
    AirBuilder& Add(uint32_t number, const Bytes& data) {
        Put(mBytes, number);
        Put(mBytes, static_cast<uint32_t>(data.size()));
        mBytes.insert(mBytes.end(), data.begin(), data.end());
        return *this;
    }
    [[nodiscard]] const Bytes& Data() const { return mBytes; }

private:
    Bytes mBytes;
};

// ---- records shared by the sample aircraft -------------------------------------------------

Bytes PackedRecord1101(int32_t emptyWeight, double a, double b, double c) {
    Bytes r(250, 0);
    PutAt(r, 0x00, static_cast<int16_t>(1200));
    PutAt(r, 0x04, static_cast<int16_t>(90));
    PutAt(r, 0x1C, emptyWeight);
    PutAt(r, 0x20, static_cast<int16_t>(2048));
    PutAt(r, 0x9C, a);
    PutAt(r, 0xAA, b);
    PutAt(r, 0xD4, c);
    return r;
}

Bytes Record1204(std::initializer_list<int16_t> values) {
    Bytes r;
    for (int16_t v : values) {
        Put(r, v);
    }
    r.resize(30, 0);
    return r;
}

// 16 controllers of 7 doubles; only heading (1) and airspeed (12) hold are tuned.
Bytes PidControllers(double scale) {
    Bytes r;
    for (int e = 0; e < 16; ++e) {
        double p = 0, i = 0, d = 0, bound = 0;
        if (e == 1) {
            p = 0.8 * scale, i = 0.05 * scale, d = 0.3 * scale, bound = 10;
        } else if (e == 12) {
            p = 0.02 * scale, i = 0.002 * scale, d = 0.01 * scale, bound = 5;
        } else if (e < 12) {
            p = 0.1 * (e + 1), i = 0.01, d = 0.05, bound = 1;
        }
        for (double v : {p, i, 0.0, d, bound, 0.0, bound / 2}) {
            Put(r, v);
        }
    }
    return r;
}

void AddFlightDynamics(AirBuilder& air, double liftSlope) {
    air.Add(0x1539, Doubles({0.0, 1.05, 0.0, 0.62, 0.31 * liftSlope / 5.0, 0.0}))
        .Add(0x1540, Doubles({0.028, 0.055, 0.012, 0.0}))
        .Add(0x1541, Doubles({-2.1, -1.45, -0.04, 3.1, 1.2, -5.5, -14.0, -4.0, 0.02, -0.06, -0.9, 0.01, 0.0}))
        .Add(0x1542, Doubles({-0.52, 0.02, 0.21, 0.13}))
        .Add(0x1543, Doubles({-0.08, -0.46, 0.09, 0.0, 0.16, 0.012}))
        .Add(0x1544, Doubles({0.11, -0.03, -0.12, -0.4, 0.0, 0.0, -0.004, -0.07, -0.01}));
}

void AddAerodynamicTables(AirBuilder& air, double liftSlope, double stallAlpha) {
    const double s = stallAlpha;
    air.Add(0x0404, PairTable({{-3.1416, 0.0}, {-1.5708, 0.0}, {-s, -liftSlope * s}, {0.0, 0.25},
                               {s, 0.25 + liftSlope * s}, {s + 0.05, 0.2 + liftSlope * s * 0.85},
                               {1.5708, 0.0}, {3.1416, 0.0}}))
        .Add(0x0473, PairTable({{-3.1416, 0.0}, {-0.35, 0.12}, {0.0, 0.0}, {0.35, -0.15}, {3.1416, 0.0}}))
        .Add(0x0400, PairTable({{0.05, 1.22}, {0.2, 1.09}, {0.5, 1.03}, {1.0, 1.0}}))
        .Add(0x0401, PairTable({{0.0, 1.0}, {0.6, 1.02}, {0.8, 1.06}, {1.0, 0.9}, {3.2, 0.8}}))
        .Add(0x0341, PairTable({{-0.35, 1.0}, {0.0, 0.6}, {0.35, 1.0}}))
        .Add(0x0342, PairTable({{-0.3, 1.0}, {0.0, 0.7}, {0.3, 1.0}}))
        .Add(0x0343, PairTable({{-0.4, 1.0}, {0.0, 0.65}, {0.4, 1.0}}))
        .Add(0x0517, PairTable({{0.0, 1.0}, {150.0, 1.0}, {350.0, 0.75}, {600.0, 0.4}}))
        .Add(0x0518, PairTable({{0.0, 1.0}, {200.0, 0.9}, {600.0, 0.5}}))
        .Add(0x0519, PairTable({{0.0, 1.0}, {250.0, 0.85}, {600.0, 0.45}}))
        .Add(0x1525, PairTable({{0.0, 1.0}, {200.0, 0.7}, {600.0, 0.2}}))
        .Add(0x0433, MachTable({0, 0, 0.004, 0.02, 0.07, 0.1}))
        .Add(0x0410, MachTable({}))
        .Add(0x0422, MachTable({0, 0, 0, -0.5, -1.0}))
        .Add(0x0463, MachTable({0, 0, 0.5, 2.4, 2.9, 3.4, 2.9, 1.5}))
        .Add(0x0451, PairTable({{-180, 1.0}, {-15, 0.2}, {0, 1.0}, {15, 0.2}, {180, 1.0}}))
        .Add(0x0460, PairTable({{-180, 1.0}, {-20, 0.5}, {0, 1.0}, {20, 0.5}, {180, 1.0}}))
        .Add(0x1537, PairTable({{-16, 0.01}, {-12, 0.0}, {14, 0.0}, {18, 0.012}}))
        .Add(0x1538, PairTable({{-16, -0.02}, {-12, 0.0}, {14, 0.0}, {18, -0.03}}));
}

// ---- the flight models ----------------------------------------------------------------------

Bytes TrainerAir() {
    AirBuilder air;
    // Real files do not keep ascending order; the editor sorts on load.
    AddFlightDynamics(air, 5.2);
    air.Add(0x0001, Text("Kelvara Trainer"))
        .Add(0x0002, Text("Two-seat piston trainer made up for Kelvara's sample library.\r\n"
                          "Its numbers are plausible, not measured."))
        .Add(0x0003, Text("Cruise speed\t105 kn\r\nNever exceed speed\t150 kn\r\nStall speed\t48 kn"))
        .Add(0x0004, Text("D-EKVR"))
        .Add(0x0100, Text("sim1"))
        .Add(0x0310, Scalar<int8_t>(0))
        .Add(0x0311, Scalar<int16_t>(1))
        .Add(0x0316, Scalar<int32_t>(20480))
        .Add(0x0319, Scalar<int32_t>(1))
        .Add(0x0322, Scalar<int32_t>(0))
        .Add(0x0523, Scalar<int32_t>(3))
        .Add(0x0524, Scalar<int32_t>(0));
    AddAerodynamicTables(air, 5.2, 0.28);
    air.Add(0x0508, PairTable({{500, 0.88}, {1500, 0.8}, {2700, 0.72}}))
        .Add(0x0509, PairTable({{-500, -30}, {500, 30}, {1500, 42}, {2700, 70}}))
        .Add(0x0511, Matrix({12, 18, 24, 30}, {0.0, 0.3, 0.6, 0.9, 1.2}, 0.0,
                            [](double blade, double j) {
                                const double peak = blade / 30.0;
                                return std::max(0.0, 0.85 - 1.6 * (j - peak) * (j - peak));
                            }))
        .Add(0x0512, Matrix({12, 18, 24, 30}, {0.0, 0.3, 0.6, 0.9, 1.2}, 0.0,
                            [](double blade, double j) { return 0.002 * blade - 0.06 * j; }))
        .Add(0x0516, Doubles({0.0, 0.3}))
        .Add(0x0540, Doubles({1.0, 1700.0, 2.0}))
        .Add(0x0541, Doubles({1.0, 0.6, 920.0, 0.02}))
        .Add(0x0543, Doubles({1.0, 0.2, 680.0, 0.03}))
        .Add(0x0544, Doubles({1.0, 11000.0, 0.7}))
        .Add(0x0545, Doubles({1.0, 700.0, 2.0}))
        .Add(0x1101, PackedRecord1101(1150, 0.006, -0.5, 0.012))
        .Add(0x1199, PidControllers(1.0))
        .Add(0x1204, Record1204({120, 0, 300, 0, 60, 0, 950, 0, 0, 6000}))
        .Add(0x1300, Text("Kelvara Base"));

    // One record per value type that no documented record uses.
    air.Add(0x3E00, Text("Every value type of the editor appears in this file."))
        .Add(0x3E01, Doubles({1.25}))
        .Add(0x3E02, Scalar<float>(0.1f))
        .Add(0x3E03, Encoded(DataType::M256, "15.3787"))
        .Add(0x3E04, Encoded(DataType::Ang16, "15"))
        .Add(0x3E05, Encoded(DataType::Aspd, "120"))
        .Add(0x3E06, Encoded(DataType::Pct16, "50"))
        .Add(0x3E07, Encoded(DataType::Fwgt, "12.5"))
        .Add(0x3E08, Encoded(DataType::Mach, "0.78"))
        .Add(0x3E09, Encoded(DataType::Prpm, "2700"))
        .Add(0x3E0A, Encoded(DataType::Thrust, "5000"))
        .Add(0x3E0B, Encoded(DataType::Int16_2, "1.5"))
        .Add(0x3E0C, Encoded(DataType::Int32_2, "-2.25"))
        .Add(0x3E0D, Encoded(DataType::G16, "3.8"))
        .Add(0x3E0E, Encoded(DataType::Int16_8, "0.75"));
    Bytes curve;
    for (int i = 0; i < 16; ++i) {
        Put(curve, static_cast<uint16_t>(4000 * i - 150 * i * i + 1000));
    }
    air.Add(0x3E10, curve)
        .Add(0x3E11, Matrix({0, 5000, 10000}, {-20, 0, 20}, 0.0,
                            [](double alt, double dt) { return 1.0 - alt / 30000.0 - dt / 200.0; }));

    Bytes s;
    auto append = [&s](const Bytes& b) { s.insert(s.end(), b.begin(), b.end()); };
    Put(s, static_cast<int8_t>(-5));
    Put(s, static_cast<int16_t>(1234));
    Put(s, static_cast<int32_t>(-70000));
    Put(s, static_cast<int32_t>(1));
    Put(s, 3.14159);
    Put(s, 2.5f);
    append(Encoded(DataType::M256, "7.5"));
    append(Encoded(DataType::Ang16, "-30"));
    append(Encoded(DataType::Aspd, "65"));
    append(Encoded(DataType::Pct16, "75"));
    append(Encoded(DataType::Fwgt, "200.25"));
    append(Encoded(DataType::Mach, "1.2"));
    append(Encoded(DataType::Prpm, "2400"));
    append(Encoded(DataType::Thrust, "1200"));
    append(Encoded(DataType::Int16_2, "-0.5"));
    append(Encoded(DataType::Int32_2, "100"));
    append(Encoded(DataType::G16, "-1.5"));
    append(Encoded(DataType::Int16_8, "-3.25"));
    Bytes text = Text("Field text");
    text.resize(16, 0);
    append(text);
    append(Matrix({1, 2}, {10, 20}, 0.5, [](double c, double r) { return c * r; }));
    air.Add(0x3E12, s);
    return air.Data();
}

Bytes JetAir() {
    AirBuilder air;
    air.Add(0x0001, Text("Kelvara Jet 200"))
        .Add(0x0002, Text("Light twin-engine business jet made up for Kelvara's sample library."))
        .Add(0x0004, Text("N200KV"));
    AddAerodynamicTables(air, 5.8, 0.24);
    AddFlightDynamics(air, 5.8);
    const std::vector<double> mach = {0.0, 0.3, 0.6, 0.9};
    air.Add(0x1502, Matrix({40, 60, 80, 100}, mach, 0.0,
                           [](double n2, double m) { return std::max(0.0, 1.35 * n2 - 40.0 + 8.0 * m); }));
    // 0x1503 and 0x1504 stay adjacent and of equal size: the graph overlays one on the other.
    const std::vector<double> lever = {0.0, 0.15, 0.3, 0.45, 0.6, 0.75, 0.9, 1.0};
    const std::vector<double> pressure = {1.0, 4.0};
    air.Add(0x1503, Matrix(lever, pressure, 0.0,
                           [](double l, double p) { return 62.0 + 38.0 * l + 1.5 * (p - 1.0); }))
        .Add(0x1504, Matrix(lever, pressure, 0.9,
                            [](double l, double p) { return 66.0 + 36.0 * l + 2.0 * (p - 1.0); }))
        .Add(0x1505, PairTable({{0.0, 0.0}, {0.2, 52.0}, {0.5, 71.0}, {1.0, 89.0}, {1.5, 101.0}}))
        .Add(0x1506, Matrix({20, 60, 80, 100}, {0.0, 0.4, 0.8}, 0.0,
                            [](double n1, double m) { return (n1 / 100.0) * (n1 / 100.0) * (1.0 - 0.35 * m); }))
        .Add(0x1526, Doubles({1.0, 1660.0, 3.0}))
        .Add(0x1532, Doubles({1.0, 1.9, 2.0}))
        .Add(0x1101, PackedRecord1101(9800, 0.004, -0.8, 0.02))
        .Add(0x1199, PidControllers(0.6));
    return air.Data();
}

Bytes GliderAir() {
    AirBuilder air;
    air.Add(0x0001, Text("Kelvara Glider"))
        .Add(0x0003, Text("Best glide\t1:38 at 54 kn\r\nStall speed\t35 kn"))
        .Add(0x0341, PairTable({{-0.4, 1.0}, {0.4, 1.0}}))
        .Add(0x0404, PairTable({{-3.1416, 0.0}, {-0.2, -0.9}, {0.0, 0.35}, {0.22, 1.5}, {0.3, 1.1}, {3.1416, 0.0}}))
        .Add(0x1101, PackedRecord1101(560, 0.003, -0.4, 0.009))
        .Add(0x1204, Record1204({80, 0, 200, 0, 40}))
        .Add(0x1540, Doubles({0.011, 0.02, 0.0, 0.05}));
    return air.Data();
}

Bytes FerryAir() {
    AirBuilder air;
    air.Add(0x0001, Text("Kelvara Ferry"))
        .Add(0x0002, Text("A small passenger ferry; boats read flight models too."))
        .Add(0x1540, Doubles({0.4, 0.0, 0.0, 0.0}))
        .Add(0x1101, PackedRecord1101(90000, 0.0, 0.0, 0.0));
    return air.Data();
}

// ---- thumbnails -----------------------------------------------------------------------------

// A 5 x 7 pixel font of our own: one row per entry, the highest of five bits leftmost.
struct Glyph {
    char c;
    std::array<uint8_t, 7> rows;
};
constexpr Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}}, {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
};
constexpr std::array<uint8_t, 7> kBox = {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F};

const std::array<uint8_t, 7>& GlyphOf(char c) {
    if (c >= 'a' && c <= 'z') {
        c = static_cast<char>(c - 'a' + 'A');
    }
    for (const Glyph& g : kFont) {
        if (g.c == c) {
            return g.rows;
        }
    }
    return kBox;
}

struct Rgb {
    uint8_t r, g, b;
};

class Picture {
public:
    Picture(int width, int height) : mWidth(width), mHeight(height), mPixels(size_t(width) * height * 3) {}

    void VerticalGradient(Rgb top, Rgb bottom) {
        for (int y = 0; y < mHeight; ++y) {
            const double t = mHeight > 1 ? double(y) / (mHeight - 1) : 0.0;
            const Rgb c{Mix(top.r, bottom.r, t), Mix(top.g, bottom.g, t), Mix(top.b, bottom.b, t)};
            for (int x = 0; x < mWidth; ++x) {
                Set(x, y, c);
            }
        }
    }

    // Draws the text at (x, y) with each font pixel a scale x scale square.
    void DrawText(int x, int y, const std::string& text, int scale, Rgb colour) {
        for (char c : text) {
            const auto& rows = GlyphOf(c);
            for (int gy = 0; gy < 7; ++gy) {
                for (int gx = 0; gx < 5; ++gx) {
                    if (rows[size_t(gy)] & (0x10 >> gx)) {
                        FillRect(x + gx * scale, y + gy * scale, scale, scale, colour);
                    }
                }
            }
            x += 6 * scale;
        }
    }

    void FillRect(int x0, int y0, int w, int h, Rgb colour) {
        for (int y = std::max(0, y0); y < std::min(mHeight, y0 + h); ++y) {
            for (int x = std::max(0, x0); x < std::min(mWidth, x0 + w); ++x) {
                Set(x, y, colour);
            }
        }
    }

    [[nodiscard]] Bytes EncodeJpeg(int quality) const {
        jpeg_compress_struct cinfo{};
        jpeg_error_mgr jerr{};
        cinfo.err = jpeg_std_error(&jerr);
        jpeg_create_compress(&cinfo);
        unsigned char* buffer = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&cinfo, &buffer, &size);
        cinfo.image_width = static_cast<JDIMENSION>(mWidth);
        cinfo.image_height = static_cast<JDIMENSION>(mHeight);
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_RGB;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, quality, TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        while (cinfo.next_scanline < cinfo.image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(&mPixels[size_t(cinfo.next_scanline) * size_t(mWidth) * 3]);
            jpeg_write_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_compress(&cinfo);
        Bytes out(buffer, buffer + size);
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        return out;
    }

private:
    static uint8_t Mix(uint8_t a, uint8_t b, double t) {
        return static_cast<uint8_t>(std::lround(a + (b - a) * t));
    }
    void Set(int x, int y, Rgb c) {
        uint8_t* p = &mPixels[(size_t(y) * size_t(mWidth) + size_t(x)) * 3];
        p[0] = c.r, p[1] = c.g, p[2] = c.b;
    }

    int mWidth;
    int mHeight;
    std::vector<uint8_t> mPixels;
};

Bytes Thumbnail(const std::string& line1, const std::string& line2, Rgb top, Rgb bottom) {
    Picture pic(256, 128);
    pic.VerticalGradient(top, bottom);
    pic.FillRect(0, 92, 256, 36, Rgb{30, 30, 40});
    const Rgb shadow{20, 20, 30};
    const Rgb white{250, 250, 245};
    pic.DrawText(11, 21, line1, 3, shadow);
    pic.DrawText(10, 20, line1, 3, white);
    pic.DrawText(10, 104, line2, 2, Rgb{240, 200, 90});
    return pic.EncodeJpeg(85);
}

// ---- configuration files --------------------------------------------------------------------

// Real configuration files are Windows text: CR LF line ends.
Bytes Cfg(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& l : lines) {
        text += l;
        text += "\r\n";
    }
    return Bytes(text.begin(), text.end());
}

using Tree = std::map<std::string, Bytes>;

Tree BuildSamples() {
    Tree t;
    const std::string planes = "SimObjects/Airplanes/";

    const std::string trainer = planes + "Kelvara_Trainer/";
    t[trainer + "aircraft.cfg"] = Cfg({
        "// Kelvara sample aircraft: four variations share one flight model.",
        "[fltsim.0]",
        "title=Kelvara Trainer Red",
        "sim=Kelvara_Trainer",
        "model=",
        "texture=Red",
        "atc_id=D-EKVR",
        "ui_manufacturer=\"Kelvara Works\"",
        "ui_type=Trainer",
        "ui_variation=Red",
        "ui_createdby=Kelvara sample generator",
        "description=Primary trainer. Sample data only.",
        "",
        "[fltsim.1]",
        "title=Kelvara Trainer Blue",
        "sim=Kelvara_Trainer",
        "texture=Blue",
        "ui_manufacturer=Kelvara Works",
        "ui_variation=Blue",
        "ui_createdby=Kelvara sample generator",
        "",
        "[fltsim.2]",
        "title=Kelvara Trainer Club",
        "sim=Kelvara_Trainer",
        "texture=Club",
        "ui_manufacturer=Kelvara Works",
        "ui_variation=Club livery",
        "ui_createdby=Kelvara sample generator",
        "ui_thumbnailfile=texture.Club\\thumbnail_club.jpg",
        "",
        "; A variation without a title: it exists but is not listed.",
        "[fltsim.3]",
        "sim=Kelvara_Trainer",
        "texture=Blue",
        "ui_variation=Hidden",
        "",
        "[General]",
        "atc_type=KELVARA",
        "atc_model=KVT1",
        "",
        "[airplane_geometry]",
        "wing_area=160.0",
        "wing_span=35.0",
    });
    t[trainer + "Kelvara_Trainer.air"] = TrainerAir();
    t[trainer + "texture.Red/thumbnail.jpg"] =
        Thumbnail("KELVARA", "TRAINER - RED", Rgb{200, 60, 50}, Rgb{90, 20, 20});
    t[trainer + "texture.Blue/thumbnail.jpg"] =
        Thumbnail("KELVARA", "TRAINER - BLUE", Rgb{70, 130, 220}, Rgb{20, 40, 100});
    t[trainer + "texture.Club/thumbnail_club.jpg"] =
        Thumbnail("KELVARA", "TRAINER - CLUB", Rgb{80, 170, 90}, Rgb{20, 70, 30});

    const std::string floats = planes + "Kelvara_Trainer_Floats/";
    t[floats + "aircraft.cfg"] = Cfg({
        "[fltsim.0]",
        "title=Kelvara Trainer Floats",
        "sim=..\\Kelvara_Trainer\\Kelvara_Trainer",
        "texture=Floats",
        "ui_manufacturer=Kelvara Works",
        "ui_variation=Floats",
        "ui_createdby=Kelvara sample generator",
    });
    t[floats + "texture.Floats/thumbnail.jpg"] =
        Thumbnail("KELVARA", "TRAINER - FLOATS", Rgb{120, 200, 230}, Rgb{10, 60, 110});

    const std::string jet = planes + "Kelvara_Jet/";
    t[jet + "Aircraft.cfg"] = Cfg({
        "[FLTSIM.0]",
        "title=\"Kelvara Jet 200\"",
        "sim=Kelvara_Jet",
        "texture=",
        "ui_manufacturer=KELVARA WORKS",
        "ui_variation=Standard",
        "ui_createdby=Kelvara sample generator",
        "",
        "[turbineenginedata]",
        "fuel_flow_gain=0.002",
    });
    t[jet + "Kelvara_Jet.air"] = JetAir();
    t[jet + "texture/thumbnail.jpg"] = Thumbnail("KELVARA", "JET 200", Rgb{180, 180, 190}, Rgb{40, 40, 60});

    const std::string glider = planes + "Kelvara_Glider/";
    t[glider + "aircraft.cfg"] = Cfg({
        "[fltsim.0]",
        "title=Kelvara Glider",
        "sim=Kelvara_Glider",
        "texture=1",
        "ui_manufacturer=Kelvara Works",
        "ui_variation=Standard",
        "ui_createdby=Kelvara sample generator",
    });
    t[glider + "Kelvara_Glider.air"] = GliderAir();
    t[glider + "texture.1/thumbnail.jpg"] = Thumbnail("KELVARA", "GLIDER", Rgb{250, 230, 150}, Rgb{150, 110, 40});

    const std::string ferry = "SimObjects/Boats/Kelvara_Ferry/";
    t[ferry + "sim.cfg"] = Cfg({
        "[fltsim.0]",
        "title=Kelvara Ferry",
        "sim=Kelvara_Ferry",
        "texture=",
        "ui_manufacturer=Kelvara Works",
        "ui_variation=Harbour",
        "ui_createdby=Kelvara sample generator",
    });
    t[ferry + "Kelvara_Ferry.air"] = FerryAir();
    t[ferry + "texture/thumbnail.jpg"] = Thumbnail("KELVARA", "FERRY", Rgb{90, 160, 200}, Rgb{10, 50, 90});
    return t;
}

Bytes ReadFile(const fs::path& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Write(const Tree& tree, const fs::path& root) {
    for (const auto& [rel, bytes] : tree) {
        const fs::path path = root / rel;
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::cerr << "cannot write " << path << "\n";
            return 1;
        }
    }
    std::cout << "wrote " << tree.size() << " files below " << root << "\n";
    return 0;
}

int Check(const Tree& tree, const fs::path& root) {
    int differences = 0;
    for (const auto& [rel, bytes] : tree) {
        bool ok = false;
        const Bytes found = ReadFile(root / rel, ok);
        if (!ok || found != bytes) {
            std::cerr << (ok ? "differs: " : "missing: ") << rel << "\n";
            ++differences;
        }
    }
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_regular_file() && !tree.count(fs::relative(it->path(), root).generic_string())) {
            std::cerr << "not generated: " << it->path() << "\n";
            ++differences;
        }
    }
    if (ec) {
        std::cerr << "cannot list " << root << "\n";
        return 1;
    }
    return differences == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::cerr << "usage: kelvara-make-samples [--check] OUTDIR\n";
        return 2;
    }
    try {
        const Tree tree = BuildSamples();
        return check ? Check(tree, argv[2]) : Write(tree, argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "kelvara-make-samples: " << e.what() << "\n";
        return 1;
    }
}
