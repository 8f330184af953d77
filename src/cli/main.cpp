// kelvara-cli: the airfile core from the command line, for scripts and checks.
#include "AirFileReader.h"
#include "AirFileWriter.h"
#include "AsciiExport.h"
#include "DataType.h"
#include "DictionaryLocation.h"
#include "DiffCommand.h"
#include "ExitCodes.h"
#include "RecordDictionary.h"
#include "RecordAddress.h"
#include "RecordEdits.h"
#include "SaveChecks.h"
#include "ScanCommand.h"
#include "TableCommands.h"
#include "TableText.h"
#include "TextUtil.h"
#include "ValueEncoding.h"
#include "ValueFormat.h"
#include "Windows1252.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kelvara {
namespace {

const char* kUsage =
    "usage: kelvara-cli [options] COMMAND ARGS\n"
    "commands:\n"
    "  format TYPE HEX                     value text of the data bytes HEX\n"
    "  encode TYPE TEXT                    bytes stored for TEXT typed into a record\n"
    "  tree FILE                           captions of the record tree\n"
    "  dump FILE                           text export of the whole file\n"
    "  get FILE NUMBER[/FIELD]             value of a record or of one of its fields\n"
    "  set FILE NUMBER[/FIELD] TEXT        change a value and save with backups\n"
    "  check [--strict] FILE               report whether the file is sound; --strict also\n"
    "                                      lists wrong-looking tables, counts, values (exit 4)\n"
    "  rewrite FILE                        load and save (sorted, backups rotated)\n"
    "  scan FSPATH [--searchpath DIR]...   the aircraft list with each .air path\n"
    "  diff A B                            records that differ (exit 0 same, 1 different, 2 trouble)\n"
    "  table-export FILE NUMBER[/FIELD] OUT   table text file of a table record (- for stdout)\n"
    "  table-import FILE NUMBER[/FIELD] IN    read a table text file into it and save\n"
    "                 with --format cfg: one line as MSFS configuration files write tables\n"
    "options:\n"
    "  --ini PATH  --datatypes 0|1  --delimiter 1|2|3  --decimal 1|2  --locale-mark .|,\n"
    "  -h, --help  --version\n"
    "Without --ini, KVR.ini is read from $XDG_CONFIG_HOME/kelvara/ (default ~/.config/kelvara/),\n"
    "else next to the program, else from ../share/kelvara/. Without a dictionary, commands that\n"
    "read records exit with 2.\n";

struct Options {
    std::string ini;
    std::string iniNotFound; // why there is no dictionary when ini is empty
    bool datatypes = true;
    bool strict = false;
    int delimiter = 3;
    bool cfgFormat = false;
    NumberStyle style;
    std::vector<std::string> args;
};

struct UsageError {
    std::string text;
};

int ParseChoice(const std::string& option, const std::string& value, std::initializer_list<int> allowed) {
    for (int choice : allowed) {
        if (value == std::to_string(choice)) {
            return choice;
        }
    }
    throw UsageError{"invalid value for " + option + ": " + value};
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    bool iniGiven = false;
    bool positionalOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!positionalOnly && (arg == "-h" || arg == "--help" || arg == "--version")) {
            options.args = {arg == "-h" ? "--help" : arg};
            return options;
        }
        if (positionalOnly || arg.rfind("--", 0) != 0) {
            options.args.push_back(arg);
            continue;
        }
        if (arg == "--") {
            positionalOnly = true;
            continue;
        }
        if (arg == "--strict") {
            options.strict = true;
            continue;
        }
        if (i + 1 >= argc) {
            throw UsageError{"missing value for " + arg};
        }
        const std::string value = argv[++i];
        if (arg == "--ini") {
            options.ini = value;
            iniGiven = true;
        } else if (arg == "--datatypes") {
            options.datatypes = ParseChoice(arg, value, {0, 1}) == 1;
        } else if (arg == "--format") {
            if (value != "cfg" && value != "text") {
                throw UsageError{"invalid value for --format: " + value};
            }
            options.cfgFormat = value == "cfg";
        } else if (arg == "--delimiter") {
            options.delimiter = ParseChoice(arg, value, {1, 2, 3});
        } else if (arg == "--decimal") {
            options.style.decimal = ParseChoice(arg, value, {1, 2});
        } else if (arg == "--locale-mark") {
            if (value != "." && value != ",") {
                throw UsageError{"invalid value for --locale-mark: " + value};
            }
            options.style.localeMark = value[0];
        } else {
            throw UsageError{"unknown option " + arg};
        }
    }
    if (!iniGiven) {
        const DictionaryLookup lookup = FindDictionary(ExecutableFolder());
        options.ini = lookup.path;
        options.iniNotFound = DictionaryLookupText(lookup);
    }
    return options;
}

int ParseType(const std::string& text) {
    if (auto type = RecordTypeFromKeyword(ToLower(text))) {
        return *type;
    }
    const LeadingInteger code = ParseLeadingInteger(text);
    if (!code.overflowed && std::to_string(code.value) == text && code.value >= 1 && code.value <= 26) {
        return code.value;
    }
    throw UsageError{"unknown type " + text};
}

std::vector<uint8_t> ParseHexBytes(const std::string& text) {
    if (text.size() % 2 != 0) {
        throw UsageError{"hex data needs two digits per byte: " + text};
    }
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int64_t byte = ParseHexNumber(text.substr(i, 2), false);
        if (byte < 0) {
            throw UsageError{"not hexadecimal: " + text};
        }
        bytes.push_back(static_cast<uint8_t>(byte));
    }
    return bytes;
}

std::string ToHex(const std::vector<uint8_t>& bytes) {
    std::string out;
    char buf[3];
    for (uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", b);
        out += buf;
    }
    return out;
}

void Need(const Options& options, size_t count) {
    if (options.args.size() != count + 1) {
        throw UsageError{"wrong number of arguments for " + options.args[0]};
    }
}

class Session {
public:
    explicit Session(const Options& options) : mOptions(options) {
        mDictionary.LoadDictionary(options.ini);
        if (options.ini.empty()) {
            std::cerr << "warning: no record dictionary: " << options.iniNotFound << "\n";
        } else if (!mDictionary.FileFound()) {
            std::cerr << "warning: no record dictionary at " << options.ini << "\n";
        } else if (mDictionary.SkippedLines() > 0) {
            std::cerr << "warning: " << mDictionary.SkippedLines() << " lines of " << options.ini
                      << " name numbers outside the dictionary and were skipped\n";
        }
    }

    // Exit code 0, or kExitFile with the reason printed.
    int Load(const std::string& path, bool captions = false, bool fields = true) {
        ReadOptions options = ReadOptionsOf();
        options.captions = captions;
        options.fields = fields;
        return Report(ReadAirFile(path, mDictionary, options, mTree), path);
    }

    // What the reader would say, without building the tree.
    int Check(const std::string& path) {
        size_t records = 0;
        const int code = Report(CheckAirFile(path, mDictionary, ReadOptionsOf(), records), path);
        if (code == kExitOk) {
            std::cout << "ok: " << records << " records\n";
        }
        return code;
    }

    int Report(const ReadResult& result, const std::string& path) {
        if (result.code == ReadResultCode::CannotOpen) {
            std::cerr << "error: could not open .air file " << path << " (" << result.message << ")\n";
            return kExitFile;
        }
        if (result.code != ReadResultCode::Ok) {
            std::cerr << "error: " << path << " is damaged: " << result.message << "\n";
            return kExitFile;
        }
        return kExitOk;
    }

    int Save(const std::string& path) {
        std::string detail;
        const int result = WriteAirFile(mTree, SaveNamesForFile(path), &detail);
        if (result != WriteResultCode::Ok) {
            const char* what = result == WriteResultCode::WriteProtected ? ".air is write protected"
                               : result == WriteResultCode::BackupFailed ? "Could not write backup file"
                                                                         : "Could not open outputfile";
            std::cerr << "error: " << what << ", .air is unchanged (" << detail << ")\n";
            return kExitFile;
        }
        return kExitOk;
    }

    // The node addressed by NUMBER[/FIELD], or nullptr with a message.
    RecordNode* Find(const std::string& address) {
        std::string usageError;
        RecordNode* node = FindAddressedNode(mTree, address, usageError);
        if (!usageError.empty()) {
            throw UsageError{usageError};
        }
        return node;
    }

    std::string ValueText(const AirRecord& record) const {
        // A text record's value is its text, not the blank the tree shows; the terminal
        // reads UTF-8.
        if (record.type == DataType::Text) {
            return Windows1252ToUtf8(record.Text());
        }
        return FormatValue(record.type, record.Bytes(), mOptions.style);
    }

    // What "get" prints: never a blank line. A table as its table text, a structured record
    // field by field, a value without a type as its bytes.
    void PrintValue(const RecordNode& node) const {
        const AirRecord& record = node.record;
        if (IsTableType(record.type)) {
            std::ostringstream text;
            if (WriteTableText(record.type, record.Bytes(), {mOptions.delimiter, mOptions.style.decimal}, text)) {
                std::cout << text.str();
                return;
            }
        }
        if (node.ChildCount() > 0) {
            for (size_t i = 0; i < node.ChildCount(); ++i) {
                const AirRecord& field = node.Child(i)->record;
                std::cout << field.fieldNumber << '\t' << FieldName(field) << '\t' << ShownValue(field) << "\n";
            }
            return;
        }
        if (const std::string value = ShownValue(record); !value.empty()) {
            std::cout << value << "\n";
        }
    }

    // The value text, or the bytes in hex where the type has no value to show.
    std::string ShownValue(const AirRecord& record) const {
        const std::string value = ValueText(record);
        if (!Trim(value).empty() || record.type == DataType::Text) {
            return value;
        }
        return ToHex(record.data.ToVector());
    }

    std::string FieldName(const AirRecord& field) const {
        if (field.layout >= 0 && field.layout < mDictionary.LayoutCount()) {
            return Windows1252ToUtf8(mDictionary.Field(field.layout, field.fieldNumber).name);
        }
        return {};
    }

    ReadOptions ReadOptionsOf() const { return {mOptions.datatypes, mOptions.style}; }
    RecordTree& Tree() { return mTree; }
    RecordDictionary& Dictionary() { return mDictionary; }

private:
    const Options& mOptions;
    RecordDictionary mDictionary;
    RecordTree mTree;
};

std::optional<bool> ParseTruth(const std::string& text) {
    const std::string lower = ToLower(Trim(text));
    if (lower == "true" || lower == "1") {
        return true;
    }
    if (lower == "false" || lower == "0") {
        return false;
    }
    return std::nullopt;
}

// Applies the editor's rules to one node; prints the reason and returns an exit code on failure.
int ApplyEdit(RecordNode& node, const std::string& text, char mark) {
    const int type = node.record.type;
    EditResult result;
    if (type == DataType::Bool) {
        const auto truth = ParseTruth(text);
        if (!truth) {
            std::cerr << "error: a truth value is TRUE or FALSE\n";
            return kExitRejected;
        }
        result = ApplyBoolEdit(node, *truth);
    } else if (type == DataType::Text) {
        // Records hold Windows-1252, as the window stores them; the command line gives UTF-8.
        const std::optional<std::string> stored = Utf8ToWindows1252(text);
        if (!stored) {
            std::cerr << "error: the text holds a character that a record cannot store (Windows-1252)\n";
            return kExitRejected;
        }
        if (node.record.Text() == *stored && !node.record.data.empty() && node.record.data[node.record.data.size() - 1] == 0) {
            return kExitOk; // the stored text: its room and padding stay as they are
        }
        result = ApplyTextEdit(node, *stored);
    } else {
        result = ApplyNumberEdit(node, text, mark);
    }
    switch (result.status) {
    case EditStatus::Ok:
        return kExitOk;
    case EditStatus::RangeRejected:
        std::cerr << RangeMessage(result.limits, false) << "\n";
        return kExitRejected;
    case EditStatus::ConversionError:
        std::cerr << ConversionErrorMessage(text, result.fault, false) << "\n";
        return kExitRejected;
    case EditStatus::TextTooLong:
        std::cerr << "text longer than " << kMaxTextLength << " characters\n";
        return kExitRejected;
    case EditStatus::TextTooLongForField:
        std::cerr << "text longer than the " << (node.record.data.empty() ? 0 : node.record.data.size() - 1) << " characters the field holds\n";
        return kExitRejected;
    case EditStatus::NotEditable:
        break;
    }
    std::cerr << "error: this record's value cannot be edited as text\n";
    return kExitUsage;
}

Session* gSession = nullptr;

// The leak checker cannot follow the tree's packed byte pointers, so sanitizer builds free
// the tree at exit after all.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFreeSessionAtExit = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kFreeSessionAtExit = true;
#else
constexpr bool kFreeSessionAtExit = false;
#endif
#else
constexpr bool kFreeSessionAtExit = false;
#endif

struct SessionAtExit {
    ~SessionAtExit() {
        if (kFreeSessionAtExit) {
            delete gSession;
            gSession = nullptr;
        }
    }
};

int Run(const Options& options) {
    if (options.args.empty()) {
        throw UsageError{"no command"};
    }
    const std::string& command = options.args[0];
    const auto& a = options.args;

    if (command == "--help") {
        std::cout << kUsage;
        return kExitOk;
    }
    if (command == "--version") {
        std::cout << "kelvara-cli " << KELVARA_VERSION << "\n";
        return kExitOk;
    }

    if (command == "format") {
        Need(options, 2);
        std::cout << FormatValue(ParseType(a[1]), ParseHexBytes(a[2]), options.style) << "\n";
        return kExitOk;
    }
    if (command == "encode") {
        Need(options, 2);
        const int type = ParseType(a[1]);
        RecordNode scratch;
        scratch.record.type = type;
        scratch.record.SetData(std::vector<uint8_t>(type == DataType::Text ? 1 : 8, 0));
        if (type != DataType::Text && type != DataType::Bool && !IsNumberType(type)) {
            throw UsageError{"type " + a[1] + " is not entered as a value"};
        }
        if (const int code = ApplyEdit(scratch, a[2], options.style.localeMark); code != kExitOk) {
            return code;
        }
        std::vector<uint8_t> bytes = scratch.record.data.ToVector();
        if (type != DataType::Text) {
            bytes.resize(type == DataType::Bool ? 4 : static_cast<size_t>(FixedWidth(type)));
        }
        std::cout << ToHex(bytes) << "\n";
        return kExitOk;
    }

    // Every command from here on names records by the dictionary; without one its output would
    // be a plausible-looking list of unnamed records.
    if (options.ini.empty()) {
        std::cerr << "kelvara-cli: no record dictionary: " << options.iniNotFound << "\n";
        return kExitFile;
    }
    std::error_code ignored;
    if (std::filesystem::is_directory(options.ini, ignored) ||
        !std::ifstream(options.ini, std::ios::binary)) {
        std::cerr << "kelvara-cli: cannot read the record dictionary " << options.ini << "\n";
        return kExitFile;
    }
    if (command == "diff") {
        if (options.ini.empty()) {
            std::cerr << "warning: no record dictionary: " << options.iniNotFound << "\n";
        }
        return RunDiff(a, options.ini, ReadOptions{options.datatypes, options.style});
    }
    if (a.size() < 2) {
        throw UsageError{"missing FILE"};
    }
    if (IsTableCommand(command)) {
        return RunTableCommand(
            {a, options.ini, {options.datatypes, options.style}, options.delimiter, options.cfgFormat});
    }
    // Freeing a large tree node by node takes longer than loading it, and the system takes the
    // memory back at exit anyway; only sanitizer builds free it (SessionAtExit).
    gSession = new Session(options);
    Session& session = *gSession;
    const std::string& file = a[1];

    if (command == "check" && !options.strict) {
        Need(options, 1);
        return session.Check(file);
    }
    if (command == "check") {
        // The findings need the record tree; the plain check stays without one.
        Need(options, 1);
        if (const int code = session.Load(file); code != kExitOk) {
            return code;
        }
        const auto findings = CheckBeforeSaving(session.Tree(), session.Dictionary());
        for (const CheckFinding& finding : findings) {
            std::cout << finding.text << "\n";
        }
        if (findings.empty()) {
            std::cout << "ok: " << session.Tree().RootCount() << " records\n";
            return kExitOk;
        }
        std::cout << session.Tree().RootCount() << " records, " << findings.size()
                  << (findings.size() == 1 ? " finding\n" : " findings\n");
        return kExitFindings;
    }
    if (command == "tree" || command == "dump" || command == "rewrite") {
        Need(options, 1);
        if (const int code = session.Load(file, command == "tree", command != "rewrite"); code != kExitOk) {
            return code;
        }
        if (command == "tree") {
            session.Tree().ForEach([](RecordNode& node) {
                std::cout << (node.record.isField ? "\t" : "") << node.Caption() << "\n";
            });
        } else if (command == "dump") {
            ExportAscii(session.Tree(), session.Dictionary(), options.delimiter, options.style, std::cout);
        } else {
            return session.Save(file);
        }
        return kExitOk;
    }
    if (command == "get" || command == "set") {
        Need(options, command == "get" ? 2 : 3);
        if (const int code = session.Load(file); code != kExitOk) {
            return code;
        }
        RecordNode* node = session.Find(a[2]);
        if (!node) {
            return kExitUsage;
        }
        if (command == "set") {
            const RecordNode& stored = node->record.isField && node->Parent() ? *node->Parent() : *node;
            const std::vector<uint8_t> before = stored.record.data.ToVector();
            if (const int code = ApplyEdit(*node, a[3], options.style.localeMark); code != kExitOk) {
                return code;
            }
            // The value already stored: no save, so no backup pushes out an older one.
            if (stored.record.data != before) {
                if (const int code = session.Save(file); code != kExitOk) {
                    return code;
                }
            }
            std::cout << session.ValueText(node->record) << "\n";
            return kExitOk;
        }
        session.PrintValue(*node);
        return kExitOk;
    }
    throw UsageError{"unknown command " + command};
}

} // namespace
} // namespace kelvara

int main(int argc, char** argv) {
    using namespace kelvara;
    if (argc >= 2 && std::string(argv[1]) == "scan") {
        return RunScanCommand(argc, argv);
    }
    const SessionAtExit freeSession;
    try {
        const Options options = ParseOptions(argc, argv);
        std::ios::sync_with_stdio(false);
        const int code = Run(options);
        std::cout.flush();
        if (!std::cout) {
            std::cerr << "error: could not write the output\n";
            return kExitFile;
        }
        return code;
    } catch (const UsageError& e) {
        std::cerr << "kelvara-cli: " << e.text << "\n" << kUsage;
        return kExitUsage;
    } catch (const std::bad_alloc&) {
        std::cerr << "kelvara-cli: out of memory\n";
        return kExitFile;
    }
}
