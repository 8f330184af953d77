#include "TableCommands.h"

#include "AirFileWriter.h"
#include "DataType.h"
#include "ExitCodes.h"
#include "RecordDictionary.h"
#include "RecordAddress.h"
#include "RecordEdits.h"
#include "TableCfgLine.h"
#include "TableText.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace kelvara {

namespace {

// A table text file of a few kilobytes is usual; this bounds what a wrong file can cost.
constexpr std::streamsize kMaxTableTextBytes = 64 << 20;

int Usage(const std::string& text) {
    std::cerr << "kelvara-cli: " << text << "\n"
              << "usage: kelvara-cli [--delimiter 1|2|3] [--decimal 1|2] table-export FILE NUMBER[/FIELD] OUT\n"
              << "       kelvara-cli table-import FILE NUMBER[/FIELD] IN\n"
              << "       --format cfg: one line as MSFS configuration files write tables\n"
              << "OUT and IN may be - for standard output and input\n";
    return kExitUsage;
}

bool ReadInput(const std::string& path, std::string& text) {
    std::ifstream file;
    std::istream* in = &std::cin;
    if (path != "-") {
        file.open(path, std::ios::binary);
        if (!file) {
            return false;
        }
        in = &file;
    }
    std::ostringstream buffer;
    char chunk[65536];
    std::streamsize total = 0;
    while (in->read(chunk, sizeof chunk) || in->gcount() > 0) {
        total += in->gcount();
        if (total > kMaxTableTextBytes) {
            return false;
        }
        buffer.write(chunk, in->gcount());
    }
    if (in->bad()) {
        return false;
    }
    text = buffer.str();
    return true;
}

bool WriteOutput(const std::string& path, const std::string& text) {
    if (path == "-") {
        std::cout << text;
        return true; // main checks standard output
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "error: output file could not be written: " << path << "\n";
        return false;
    }
    return true;
}

int ExportCfgLine(const RecordNode& node, const std::string& address, const std::string& out) {
    const CfgLineWrite line = WriteCfgLine(node.record.type, node.record.Bytes());
    switch (line.status) {
    case CfgLineWrite::Status::Ok:
        return WriteOutput(out, line.line + "\n") ? kExitOk : kExitFile;
    case CfgLineWrite::Status::NotFinite:
        std::cerr << "error: record " << address
                  << " holds a value that is no finite number, which a configuration line cannot hold\n";
        return kExitRejected;
    default:
        std::cerr << "error: record " << address << " is too short for a table\n";
        return kExitUsage;
    }
}

// Stores imported bytes and saves. The values already stored leave the file alone: a save
// would rotate a backup and sort the records.
int StoreImport(RecordTree& tree, RecordNode& node, std::vector<uint8_t> bytes, int values,
                const std::string& address, const std::string& path) {
    if (bytes == node.record.data) {
        std::cout << values << "\n";
        return kExitOk;
    }
    if (ReplaceRecordBytes(node, std::move(bytes)).status != EditStatus::Ok) {
        std::cerr << "error: record " << address << " cannot be changed\n";
        return kExitUsage;
    }
    std::string detail;
    if (WriteAirFile(tree, SaveNamesForFile(path), &detail) != WriteResultCode::Ok) {
        std::cerr << "error: " << path << " could not be saved, .air is unchanged (" << detail << ")\n";
        return kExitFile;
    }
    std::cout << values << "\n";
    return kExitOk;
}

int ImportCfgLine(RecordTree& tree, RecordNode& node, const std::string& path, const std::string& address,
                  const std::string& in) {
    std::string text;
    if (!ReadInput(in, text)) {
        std::cerr << "error: input file could not be read: " << in << "\n";
        return kExitFile;
    }
    CfgLineRead read = ReadCfgLine(node.record.type, node.record.Bytes(), text);
    if (read.status != CfgLineRead::Status::Ok) {
        std::cerr << "error: " << in << ": " << DescribeCfgLineRefusal(read) << " Nothing was changed.\n";
        return kExitRejected;
    }
    return StoreImport(tree, node, std::move(read.bytes), read.values, address, path);
}

} // namespace

bool IsTableCommand(const std::string& command) {
    return command == "table-export" || command == "table-import";
}

int RunTableCommand(const TableCommandInput& input) {
    const auto& a = input.args;
    if (a.size() != 4) {
        return Usage("wrong number of arguments for " + a[0]);
    }
    const bool exporting = a[0] == "table-export";
    const std::string& path = a[1];

    RecordDictionary dictionary;
    if (!input.ini.empty()) {
        dictionary.LoadDictionary(input.ini);
    }
    if (!dictionary.FileFound()) {
        std::cerr << "warning: no record dictionary" << (input.ini.empty() ? "" : " at " + input.ini) << "\n";
    }
    RecordTree tree;
    const ReadResult read = ReadAirFile(path, dictionary, input.read, tree);
    if (read.code == ReadResultCode::CannotOpen) {
        std::cerr << "error: could not open .air file " << path << "\n";
        return kExitFile;
    }
    if (read.code != ReadResultCode::Ok) {
        std::cerr << "error: " << path << " is damaged: " << read.message << "\n";
        return kExitFile;
    }
    std::string usageError;
    RecordNode* node = FindAddressedNode(tree, a[2], usageError);
    if (!node) {
        if (usageError.empty()) {
            return kExitUsage;
        }
        std::cerr << "kelvara-cli: " << usageError << "\n";
        return Usage("no table record addressed");
    }
    const int type = node->record.type;
    if (!IsTableType(type)) {
        std::cerr << "error: record " << a[2] << " is not a table (" << DataTypeKeyword(type) << ")\n";
        return kExitUsage;
    }

    if (input.cfgFormat) {
        return exporting ? ExportCfgLine(*node, a[2], a[3]) : ImportCfgLine(tree, *node, path, a[2], a[3]);
    }
    if (exporting) {
        const TableTextStyle style{input.delimiter, input.read.style.decimal};
        std::ostringstream text;
        if (!WriteTableText(type, node->record.Bytes(), style, text)) {
            std::cerr << "error: record " << a[2] << " is too short for a table\n";
            return kExitUsage;
        }
        if (a[3] == "-") {
            std::cout << text.str();
            return kExitOk; // main checks standard output
        }
        std::ofstream out(a[3], std::ios::binary | std::ios::trunc);
        out << text.str();
        out.close();
        if (!out) {
            std::cerr << "error: output file could not be written: " << a[3] << "\n";
            return kExitFile;
        }
        return kExitOk;
    }

    std::string text;
    if (!ReadInput(a[3], text)) {
        std::cerr << "error: input file could not be read: " << a[3] << "\n";
        return kExitFile;
    }
    const TableTextStyle style{input.delimiter, input.read.style.decimal};
    TableImport imported = ReadTableText(type, node->record.Bytes(), text, style);
    if (imported.status != TableImport::Status::Ok) {
        std::cerr << "error: " << TableImportMessage(imported, a[3] == "-" ? "standard input" : a[3], false) << "\n";
        return kExitRejected;
    }
    return StoreImport(tree, *node, std::move(imported.bytes), imported.valuesRead, a[2], path);
}

} // namespace kelvara
