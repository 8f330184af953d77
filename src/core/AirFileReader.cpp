#include "AirFileReader.h"

#include "ByteIO.h"
#include "DataType.h"
#include "FileBytes.h"
#include "RecordDictionary.h"
#include "ValueFormat.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvara {

namespace {

std::string Hex(uint32_t number) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04" PRIx32, number);
    return buf;
}

// Bytes of a field of a type without a fixed width. Text runs to its zero byte; tables,
// nested records and unknown types show the rest of the parent's data.
size_t UnsizedFieldLength(int type, std::span<const uint8_t> rest) {
    if (type == DataType::Text) {
        size_t n = 0;
        while (n < rest.size() && rest[n] != 0) {
            ++n;
        }
        return n < rest.size() ? n + 1 : n;
    }
    if (type == DataType::Tbl3d_2) {
        const auto a = ReadLE<int32_t>(rest, 0);
        const auto b = ReadLE<int32_t>(rest, 4);
        if (!a || !b || *a < 0 || *b < 0) {
            return std::min<size_t>(rest.size(), 8);
        }
        const uint64_t wanted = 8 + 8 * static_cast<uint64_t>(*a) * static_cast<uint64_t>(*b);
        return static_cast<size_t>(std::min<uint64_t>(wanted, rest.size()));
    }
    return rest.size();
}

// Heap bytes a node takes, counting the allocator's own bookkeeping and the slot in its
// parent's list (which grows by doubling).
constexpr uint64_t kAllocationOverhead = 16;
constexpr uint64_t kNodeBytes = sizeof(RecordNode) + kAllocationOverhead + 2 * sizeof(void*);

uint64_t NodeMemory(const RecordNode& node) {
    uint64_t bytes = kNodeBytes;
    if (node.Caption().capacity() > std::string().capacity()) {
        bytes += node.Caption().capacity() + 1 + kAllocationOverhead;
    }
    if (node.record.data.capacity() > SmallBytes::kInline) {
        bytes += node.record.data.capacity() + kAllocationOverhead;
    }
    for (size_t i = 0; i < node.ChildCount(); ++i) {
        bytes += NodeMemory(*node.Child(i));
    }
    return bytes;
}

// Most that the fields of a record can take, known before they are made: a field without a
// fixed width may hold up to the whole record. The widths are looked up once per record number.
class FieldsMemoryBound {
public:
    explicit FieldsMemoryBound(const RecordDictionary& dictionary) : mDictionary(dictionary) {}

    uint64_t operator()(int32_t lookupNumber, uint64_t dataSize) {
        auto [it, added] = mLayouts.try_emplace(lookupNumber);
        if (added) {
            it->second = Widths(lookupNumber);
        }
        const Layout& layout = it->second;
        constexpr uint64_t kFieldOverhead = sizeof(RecordNode) + 256;
        uint64_t bytes = layout.widths.size() * kFieldOverhead;
        if (dataSize >= layout.widest) {
            return bytes + layout.fixed + layout.unsized * dataSize;
        }
        for (const uint64_t width : layout.widths) {
            bytes += std::min<uint64_t>(width, dataSize);
        }
        return bytes;
    }

private:
    struct Layout {
        std::vector<uint64_t> widths; // UINT64_MAX: as wide as the record
        uint64_t fixed = 0;           // the sum of the fixed widths
        uint64_t widest = 0;          // the largest fixed width
        uint64_t unsized = 0;
    };

    Layout Widths(int32_t lookupNumber) const {
        Layout out;
        const int layout = mDictionary.LayoutOf(lookupNumber);
        const int count = layout < 0 ? 0 : mDictionary.FieldCount(layout);
        for (int f = 1; f <= count; ++f) {
            const int type = mDictionary.Field(layout, f).type;
            const uint64_t width = IsRawBlock(type)       ? static_cast<uint64_t>(type - DataType::RawBlockBase)
                                   : FixedWidth(type) > 0 ? static_cast<uint64_t>(FixedWidth(type))
                                                          : UINT64_MAX;
            out.widths.push_back(width);
            if (width == UINT64_MAX) {
                ++out.unsized;
            } else {
                out.fixed += width;
                out.widest = std::max(out.widest, width);
            }
        }
        return out;
    }

    const RecordDictionary& mDictionary;
    std::unordered_map<int32_t, Layout> mLayouts;
};

ReadResult HeaderCutShort(uint64_t pos, uint64_t left) {
    ReadResult damaged{ReadResultCode::Damaged, pos, {}};
    damaged.message = "record header at byte " + std::to_string(pos) + " cut short: " + std::to_string(left) +
                      " of 8 bytes left";
    return damaged;
}

ReadResult LengthTooLong(uint32_t number, uint32_t length, uint64_t pos, uint64_t left) {
    ReadResult damaged{ReadResultCode::Damaged, pos, {}};
    damaged.message = "record " + Hex(number) + " at byte " + std::to_string(pos) + ": length " +
                      std::to_string(length) + " exceeds the " + std::to_string(left) + " bytes left";
    return damaged;
}

// Stands for a header that could not be read; the caller knows why.
constexpr int kHeaderUnread = -100;

// The framing walk over a file of total bytes. headerAt(pos) gives the 8 header bytes at pos, or
// nullptr when they cannot be read; visit(number, length, pos) sees each record whose data fits
// and may stop the walk with a result.
template <typename HeaderAt, typename Visit>
ReadResult WalkRecords(uint64_t total, HeaderAt&& headerAt, Visit&& visit) {
    uint64_t pos = 0;
    while (pos < total) {
        const uint64_t left = total - pos;
        if (left < 8) {
            return HeaderCutShort(pos, left);
        }
        const uint8_t* header = headerAt(pos);
        if (!header) {
            return {kHeaderUnread, pos, {}};
        }
        const uint32_t number = *ReadLE<uint32_t>({header, 8}, 0);
        const uint32_t length = *ReadLE<uint32_t>({header, 8}, 4);
        if (length > left - 8) {
            return LengthTooLong(number, length, pos, left - 8);
        }
        if (std::optional<ReadResult> stop = visit(number, length, pos)) {
            return *stop;
        }
        pos += 8 + static_cast<uint64_t>(length);
    }
    return {};
}

ReadResult TooMuchMemory(uint32_t number, uint64_t pos, const ReadOptions& options) {
    ReadResult damaged{ReadResultCode::Damaged, pos, {}};
    damaged.message = "record " + Hex(number) + " at byte " + std::to_string(pos) +
                      ": the file needs more memory than the " +
                      std::to_string(options.memoryLimit / (1024 * 1024)) + " MiB allowed";
    return damaged;
}

// The file's bytes, or the result that says why there are none.
std::optional<ReadResult> FileProblem(const std::string& path, const FileReadResult& file) {
    switch (file.status) {
    case FileReadStatus::Ok:
        return std::nullopt;
    case FileReadStatus::TooLarge:
        return ReadResult{ReadResultCode::Damaged, 0,
                          "file of " + std::to_string(file.size) + " bytes is too large for a flight model"};
    case FileReadStatus::CannotOpen:
    case FileReadStatus::NotRegular:
        break;
    }
    (void)path;
    return ReadResult{ReadResultCode::CannotOpen, 0, file.message};
}

} // namespace

RecordTexts TextsOf(const AirRecord& record, const RecordDictionary& dictionary) {
    if (record.isField) {
        if (record.layout < 0 || record.layout >= dictionary.LayoutCount()) {
            return {};
        }
        const FieldDef& field = dictionary.Field(record.layout, record.fieldNumber);
        return {field.name, field.help, field.axis};
    }
    const RecordEntry& entry = dictionary.Entry(record.lookupNumber);
    return {entry.name, entry.help, entry.axis};
}

std::string RecordCaption(const AirRecord& record, const RecordDictionary& dictionary,
                          const ReadOptions& options) {
    char number[16];
    std::snprintf(number, sizeof number, "%5" PRIx32, record.number);
    std::string caption = number;
    caption += ' ';
    if (options.datatypes) {
        caption += RecordTag(record.type);
    }
    caption += dictionary.Name(record.lookupNumber);
    if (record.type != DataType::Record && record.type != DataType::Tbl16 &&
        record.type != DataType::Tbl3d && record.type != DataType::Tbl16_2 &&
        record.type != DataType::Tbl3d_2) {
        const std::string value = FormatValue(record.type, record.Bytes(), options.style);
        if (value != " ") {
            caption += ", " + value;
        }
    }
    return caption;
}

std::string FieldCaption(const AirRecord& field, const RecordDictionary& dictionary,
                         const ReadOptions& options) {
    std::string caption = (options.datatypes && field.type != DataType::Label) ? FieldTag(field.type) : " ";
    caption += TextsOf(field, dictionary).name;
    caption += ", " + FormatValue(field.type, field.Bytes(), options.style);
    return caption;
}

std::string NodeCaption(const RecordNode& node, const RecordDictionary& dictionary, const ReadOptions& options) {
    if (!node.Caption().empty()) {
        return node.Caption();
    }
    return node.record.isField ? FieldCaption(node.record, dictionary, options)
                               : RecordCaption(node.record, dictionary, options);
}

std::string UpdateNodeCaption(const std::string& caption, const std::string& valueText) {
    const size_t comma = caption.find(',');
    if (comma != std::string::npos) {
        return caption.substr(0, comma + 1) + " " + valueText;
    }
    return caption + ", " + valueText;
}

void CreateFields(RecordNode& node, const RecordDictionary& dictionary, const ReadOptions& options) {
    const int layout = dictionary.LayoutOf(node.record.lookupNumber);
    if (layout < 0) {
        return;
    }
    const std::span<const uint8_t> parentData = node.record.Bytes();
    const int count = dictionary.FieldCount(layout);
    for (int f = 1; f <= count; ++f) {
        const FieldDef& def = dictionary.Field(layout, f);
        auto child = std::make_unique<RecordNode>();
        AirRecord& field = child->record;
        field.isField = true;
        field.lookupNumber = -1;
        field.layout = static_cast<int16_t>(layout);
        field.fieldNumber = static_cast<int16_t>(f);
        field.type = def.type;
        field.offset = static_cast<uint32_t>(std::max(def.offset, 0));
        field.fileOffset = node.record.fileOffset + field.offset;

        if (def.type != DataType::Label) {
            // A field that reaches past its parent gets only the bytes that exist.
            const std::span<const uint8_t> rest =
                field.offset < parentData.size() ? parentData.subspan(field.offset) : std::span<const uint8_t>{};
            size_t wanted;
            if (IsRawBlock(def.type)) {
                wanted = static_cast<size_t>(def.type - DataType::RawBlockBase);
            } else if (FixedWidth(def.type) > 0) {
                wanted = static_cast<size_t>(FixedWidth(def.type));
            } else {
                wanted = UnsizedFieldLength(def.type, rest);
            }
            const size_t n = std::min(wanted, rest.size());
            field.data.assign(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(n));
        }
        if (options.captions) {
            child->SetCaption(FieldCaption(field, dictionary, options));
        }
        node.AppendChild(std::move(child));
    }
}

namespace {

// The records of a file of total bytes into a fresh tree. headerAt(pos) as for WalkRecords;
// dataAt(pos, n, out) puts the n bytes at pos into out, or returns false.
template <typename HeaderAt, typename DataAt>
ReadResult ReadRecords(uint64_t total, HeaderAt&& headerAt, DataAt&& dataAt, const RecordDictionary& dictionary,
                       const ReadOptions& options, RecordTree& loaded) {
    uint64_t memory = 0;
    FieldsMemoryBound fieldsBound(dictionary);
    bool inOrder = true; // as every file this program saved is; sorting is skipped then
    uint32_t previous = 0;
    const auto visit = [&](uint32_t number, uint32_t length, uint64_t pos) -> std::optional<ReadResult> {
        inOrder = inOrder && number >= previous;
        previous = number;
        auto node = std::make_unique<RecordNode>();
        AirRecord& record = node->record;
        record.number = number;
        // Dictionary keys are 31 bits; the numbers above all share the unknown last key.
        record.lookupNumber = static_cast<int32_t>(std::min<uint32_t>(number, 0x7FFFFFFF));
        record.type = dictionary.Type(number);
        record.offset = record.fileOffset = static_cast<uint32_t>(pos + 8);
        if (!dataAt(pos + 8, length, record.data)) {
            return ReadResult{kHeaderUnread, pos, {}};
        }
        if (options.captions) {
            node->SetCaption(RecordCaption(record, dictionary, options));
        }
        memory += NodeMemory(*node);
        if (record.type == DataType::Record && options.fields) {
            if (memory + fieldsBound(record.lookupNumber, record.data.size()) > options.memoryLimit) {
                return TooMuchMemory(number, pos, options);
            }
            memory -= NodeMemory(*node);
            CreateFields(*node, dictionary, options);
            memory += NodeMemory(*node);
        }
        if (memory > options.memoryLimit) {
            return TooMuchMemory(number, pos, options);
        }
        loaded.AppendRoot(std::move(node));
        return std::nullopt;
    };
    ReadResult result = WalkRecords(total, headerAt, visit);
    if (result.code == ReadResultCode::Ok && !inOrder) {
        loaded.Sort();
    }
    return result;
}

} // namespace

ReadResult ReadAirBytes(std::span<const uint8_t> bytes, const RecordDictionary& dictionary,
                        const ReadOptions& options, RecordTree& tree) {
    const auto headerAt = [&](uint64_t pos) { return bytes.data() + pos; };
    const auto dataAt = [&](uint64_t pos, size_t n, SmallBytes& out) {
        const auto data = bytes.subspan(static_cast<size_t>(pos), n);
        out.assign(data.begin(), data.end());
        return true;
    };
    RecordTree loaded;
    ReadResult result = ReadRecords(bytes.size(), headerAt, dataAt, dictionary, options, loaded);
    if (result.code == ReadResultCode::Ok) {
        tree = std::move(loaded);
    }
    return result;
}

namespace {

// What CheckAirBytes and CheckAirFile share: the walk with the memory counted at its bound.
template <typename HeaderAt>
ReadResult CheckRecords(uint64_t total, HeaderAt&& headerAt, const RecordDictionary& dictionary,
                        const ReadOptions& options, size_t& records) {
    records = 0;
    uint64_t memory = 0;
    FieldsMemoryBound fieldsBound(dictionary);
    const auto visit = [&](uint32_t number, uint32_t length, uint64_t pos) -> std::optional<ReadResult> {
        memory += kNodeBytes + (length > SmallBytes::kInline ? length + kAllocationOverhead : 0);
        if (dictionary.Type(number) == DataType::Record) {
            const auto lookupNumber = static_cast<int32_t>(std::min<uint32_t>(number, 0x7FFFFFFF));
            memory += fieldsBound(lookupNumber, length);
        }
        if (memory > options.memoryLimit) {
            return TooMuchMemory(number, pos, options);
        }
        ++records;
        return std::nullopt;
    };
    return WalkRecords(total, headerAt, visit);
}

// A file read front to back through one buffer, as cat reads it; what lies wholly between
// two requests is skipped rather than read.
class FileStream {
public:
    static constexpr size_t kBufferSize = 64 * 1024;

    explicit FileStream(int fd) : mFd(fd), mBuffer(kBufferSize) {}

    // The n (at most kBufferSize) bytes at pos, never before an earlier request; or nullptr.
    const uint8_t* At(uint64_t pos, size_t n) {
        const uint64_t end = mStart + mFill;
        if (pos + n <= end) {
            return mBuffer.data() + (pos - mStart);
        }
        if (pos < end) {
            // Part of them is in the buffer already.
            const auto keep = static_cast<size_t>(end - pos);
            std::memmove(mBuffer.data(), mBuffer.data() + (pos - mStart), keep);
            mFill = keep;
        } else {
            mFill = 0;
            if (pos > end && !Seek(pos)) {
                return nullptr;
            }
        }
        mStart = pos;
        while (mFill < n) {
            const size_t got = ReadSome(mBuffer.data() + mFill, mBuffer.size() - mFill);
            if (got == 0) {
                return nullptr;
            }
            mFill += got;
        }
        return mBuffer.data();
    }

    // Copies the n bytes at pos into out; false when they cannot be read.
    bool Copy(uint64_t pos, size_t n, SmallBytes& out) {
        if (n <= kBufferSize) {
            const uint8_t* bytes = At(pos, n);
            if (bytes) {
                out.assign(bytes, bytes + n);
            }
            return bytes != nullptr;
        }
        // Larger than the buffer: what is buffered, then the rest straight from the file.
        out.resize(n);
        const uint64_t end = mStart + mFill;
        size_t done = 0;
        if (pos < end) {
            done = static_cast<size_t>(std::min<uint64_t>(n, end - pos));
            std::memcpy(out.data(), mBuffer.data() + (pos - mStart), done);
        } else if (pos > end && !Seek(pos)) {
            return false;
        }
        while (done < n) {
            const size_t got = ReadSome(out.data() + done, n - done);
            if (got == 0) {
                return false;
            }
            done += got;
        }
        mStart = pos + n;
        mFill = 0;
        return true;
    }

    // The reason bytes could not be read; 0 when the file ended before its size.
    [[nodiscard]] int Error() const { return mError; }

private:
    bool Seek(uint64_t pos) {
        if (::lseek(mFd, static_cast<off_t>(pos), SEEK_SET) < 0) {
            mError = errno;
            return false;
        }
        return true;
    }
    // 0 at the end of the file or on an error.
    size_t ReadSome(uint8_t* to, size_t n) {
        for (;;) {
            const ssize_t got = ::read(mFd, to, n);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            mError = got < 0 ? errno : 0;
            return got > 0 ? static_cast<size_t>(got) : 0;
        }
    }

    int mFd;
    std::vector<uint8_t> mBuffer;
    uint64_t mStart = 0; // file position of the buffer's first byte
    size_t mFill = 0;
    int mError = 0;
};

ReadResult CannotRead(const std::string& path, int error) {
    return {ReadResultCode::CannotOpen, 0, "cannot read " + path + ": " + std::strerror(error)};
}

struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
};

// Runs walk(stream, size) over the file as it is streamed; should the file change meanwhile,
// whole(bytes) over the file read whole as it is then.
template <typename Walk, typename Whole>
ReadResult StreamFile(const std::string& path, Walk&& walk, Whole&& whole) {
    FileReadResult file;
    const int fd = OpenRegularFile(path, kMaxAirFileSize, file);
    if (fd < 0) {
        return *FileProblem(path, file);
    }
    const Closer closer{fd};
    FileStream stream(fd);
    const ReadResult result = walk(stream, file.size);
    if (result.code == kHeaderUnread && stream.Error() != 0) {
        return CannotRead(path, stream.Error());
    }
    struct stat st;
    if (result.code != kHeaderUnread && ::fstat(fd, &st) == 0 && static_cast<uint64_t>(st.st_size) == file.size) {
        return result;
    }
    const FileReadResult again = ReadRegularFile(path, kMaxAirFileSize);
    if (auto problem = FileProblem(path, again)) {
        return *problem;
    }
    const auto* data = reinterpret_cast<const uint8_t*>(again.bytes.data());
    return whole(std::span<const uint8_t>(data, again.bytes.size()));
}

} // namespace

ReadResult CheckAirBytes(std::span<const uint8_t> bytes, const RecordDictionary& dictionary,
                         const ReadOptions& options, size_t& records) {
    const auto headerAt = [&](uint64_t pos) { return bytes.data() + pos; };
    return CheckRecords(bytes.size(), headerAt, dictionary, options, records);
}

ReadResult CheckAirFile(const std::string& path, const RecordDictionary& dictionary,
                        const ReadOptions& options, size_t& records) {
    records = 0;
    const auto walk = [&](FileStream& stream, uint64_t size) {
        const auto headerAt = [&](uint64_t pos) { return stream.At(pos, 8); };
        return CheckRecords(size, headerAt, dictionary, options, records);
    };
    const auto whole = [&](std::span<const uint8_t> bytes) {
        return CheckAirBytes(bytes, dictionary, options, records);
    };
    return StreamFile(path, walk, whole);
}

ReadResult ReadAirFile(const std::string& path, const RecordDictionary& dictionary,
                       const ReadOptions& options, RecordTree& tree) {
    // Streamed, so that a large file is never held twice: as bytes and as the tree.
    RecordTree loaded;
    const auto walk = [&](FileStream& stream, uint64_t size) {
        const auto headerAt = [&](uint64_t pos) { return stream.At(pos, 8); };
        const auto dataAt = [&](uint64_t pos, size_t n, SmallBytes& out) {
            return stream.Copy(pos, n, out);
        };
        return ReadRecords(size, headerAt, dataAt, dictionary, options, loaded);
    };
    const auto whole = [&](std::span<const uint8_t> bytes) {
        loaded.Clear();
        return ReadAirBytes(bytes, dictionary, options, loaded);
    };
    const ReadResult result = StreamFile(path, walk, whole);
    if (result.code == ReadResultCode::Ok) {
        tree = std::move(loaded);
    }
    return result;
}

} // namespace kelvara
