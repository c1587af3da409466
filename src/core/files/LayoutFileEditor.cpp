#include "core/files/LayoutFileEditor.h"

#include "engine/AtomicFileWrite.h"
#include "engine/Engine.h"
#include "engine/EngineResults.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zr4700 {

namespace fs = std::filesystem;

namespace {

constexpr int kRfidTailLayoutCode = 57; // the single-side variants always claim 56 keys, 16scan
constexpr int kCodesPer7Scan = 7;
constexpr int kFlagBits = 0x0F; // only the low four bits of a flag byte travel in the file
constexpr uint8_t kMaxDigitsCount = 13;

// ---- Writing ---------------------------------------------------------------------------------

int LayoutCodeFor(const Layout& layout, FileVariant variant) {
    switch (variant) {
    case FileVariant::Scan7:
        return layout.keyCount;
    case FileVariant::LeftSide:
    case FileVariant::RightSide:
        return kRfidTailLayoutCode;
    default:
        return layout.keyCount + 1;
    }
}

int RfidFlags(const RfidSettings& rfid) {
    int flags = 0;
    if (rfid.prefixExtended != 0)
        flags |= 0x01;
    if (rfid.suffixExtended != 0)
        flags |= 0x02;
    if (rfid.digitsNum == 0)
        flags |= 0x04;
    flags |= (rfid.digitsCount & 0x0F) << 4;
    return flags;
}

// The name as the record's fixed 102-character field holds it. A line break inside a name would
// split the key line in two and make the file unreadable for the engine, so a name also ends at
// CR or LF (the key panel's single-line edit never produces either).
std::string_view WrittenName(const std::string& name) {
    std::string_view text = name;
    text = text.substr(0, std::min(text.size(), kMaxKeyNameLength));
    const std::size_t end = text.find_first_of(std::string_view("\0\r\n", 3));
    return end == std::string_view::npos ? text : text.substr(0, end);
}

void AppendCodes(std::string& out, const KeyCodes& codes, int count) {
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out += ", ";
        out += std::to_string(codes[static_cast<std::size_t>(i)]);
    }
}

// One key line. The number written is the line's own k: a record's number always equals its
// position, and writing the position keeps the file well-formed even for a record that was
// never reset.
void AppendKeyLine(std::string& out, int k, const KeyRecord& record, int codeCount,
                   bool withGroupNumber) {
    out += std::to_string(k);
    out += "; ";
    AppendCodes(out, record.codes, codeCount);
    out += "; ";
    out += std::to_string(record.flags & kFlagBits);
    out += ';';
    if (withGroupNumber) {
        out += std::to_string(record.groupNumber);
        out += ';';
    }
    out += WrittenName(record.name);
    out += "\r\n";
}

// The filler of lines 57..112 in the single-side variants.
void AppendBlankLine(std::string& out, int k) {
    out += std::to_string(k);
    out += "; ";
    AppendCodes(out, KeyCodes{}, kCodeSlots);
    out += "; 0;0;KEY";
    out += std::to_string(k);
    out += "\r\n";
}

// ---- Saving atomically -----------------------------------------------------------------------

// Layout::fileName holds UTF-8 (what the window hands over); POSIX paths are bytes as they are.
fs::path PathFromName(const std::string& name) {
#ifdef _WIN32
    return fs::path(std::u8string(name.begin(), name.end()));
#else
    return fs::path(name);
#endif
}

// ---- Reading ---------------------------------------------------------------------------------

class ByteInput {
  public:
    virtual ~ByteInput() = default;
    virtual int Get() = 0;  // the next byte 0..255, or -1 at the end
    virtual int Peek() = 0; // the same without consuming it
    bool AtEnd() { return Peek() < 0; }
};

// Text editors on Windows put a byte-order mark in front of the UTF-8 files they save.
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

class BufferInput final : public ByteInput {
  public:
    explicit BufferInput(std::string_view bytes) : bytes_(bytes) {}
    void SkipByteOrderMark() {
        if (bytes_.substr(0, 3) == kUtf8ByteOrderMark)
            position_ = 3;
    }
    int Get() override {
        return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_++]) : -1;
    }
    int Peek() override {
        return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_]) : -1;
    }

  private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

std::string TooLargeReason() {
    return "the file is larger than " + std::to_string(kMaxLayoutFileSize) + " bytes";
}

// A layout file, read through a buffer. Only a regular file can be a layout: a pipe or a device
// would keep the reader waiting or reading for ever, so the file is opened without blocking and
// refused when it is anything else. A failed read ends the input and is remembered, so that it
// is never taken for the end of the file. Nor is a file larger than any layout read: it is
// refused by its size, and one that grows beyond it while it is read ends there.
class FileInput final : public ByteInput {
  public:
    explicit FileInput(const fs::path& path) {
        if (path.empty()) {
            reason_ = "no file name";
            return;
        }
#ifdef _WIN32
        std::error_code error;
        if (fs::is_regular_file(path, error))
            file_ = _wfopen(path.c_str(), L"rb");
        if (!file_)
            reason_ = "not a regular file that can be read";
#else
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            reason_ = std::strerror(errno);
            return;
        }
        struct stat status {};
        if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            reason_ = "not a regular file";
            ::close(fd);
            return;
        }
        if (status.st_size > kMaxLayoutFileSize) {
            tooLarge_ = true;
            reason_ = TooLargeReason();
            ::close(fd);
            return;
        }
        file_ = ::fdopen(fd, "rb");
        if (!file_) {
            reason_ = std::strerror(errno);
            ::close(fd);
        }
#endif
    }
    ~FileInput() override {
        if (file_)
            std::fclose(file_);
    }
    FileInput(const FileInput&) = delete;
    FileInput& operator=(const FileInput&) = delete;

    bool IsOpen() const {
        return file_ != nullptr;
    }
    bool TooLarge() const {
        return tooLarge_;
    }
    bool Failed() const {
        return failed_;
    }
    // Why the file could not be opened or read.
    const std::string& reason() const {
        return reason_;
    }
    int Get() override {
        const int c = Peek();
        if (c >= 0)
            ++position_;
        return c;
    }
    int Peek() override {
        if (position_ == size_ && !Fill())
            return -1;
        return static_cast<unsigned char>(buffer_[position_]);
    }
    void SkipByteOrderMark() {
        while (size_ < 3 && Fill()) {
        }
        if (size_ >= 3 && std::string_view(buffer_.data(), 3) == kUtf8ByteOrderMark)
            position_ = 3;
    }

  private:
    // Appends the next block of the file to what is buffered (or starts the buffer over once it
    // is used up); false at the end or after a failed read.
    bool Fill() {
        if (!file_ || failed_ || tooLarge_ || std::feof(file_))
            return false;
        if (position_ == size_)
            position_ = size_ = 0;
        const std::size_t got =
            std::fread(buffer_.data() + size_, 1, buffer_.size() - size_, file_);
        size_ += got;
        total_ += static_cast<std::int64_t>(got);
        if (total_ > kMaxLayoutFileSize) {
            tooLarge_ = true;
            reason_ = TooLargeReason();
            size_ = position_;
            return false;
        }
        if (got == 0 && std::ferror(file_)) {
            failed_ = true;
            reason_ = std::string("the file could not be read to its end: ") + std::strerror(errno);
        }
        return got > 0;
    }

    std::FILE* file_ = nullptr;
    std::array<char, 4096> buffer_{};
    std::size_t position_ = 0;
    std::size_t size_ = 0;
    std::int64_t total_ = 0;
    bool failed_ = false;
    bool tooLarge_ = false;
    std::string reason_;
};

using LineBuffer = std::array<char, kLayoutLineBufferSize>;

struct Line {
    std::string_view text;
    std::string droppedHead; // the first bytes of what an overlong line dropped
    bool cut = false;
    bool crAlone = false; // ended by a CR without its LF, before the end of the input
};

// Reads one line into the buffer and returns it without its line break. A line ends after a CR
// (the LF behind it belongs to the line break), at a bare LF (so files whose lines end in LF alone
// read as well), or at the end of the input.
//
// An overlong line keeps its first kLayoutLineContentLimit bytes; the rest, up to and including
// its line break, is consumed and dropped. The next line therefore starts cleanly where the file's
// next line starts, and the kept head is read like any line: the numbers at the start of a key
// line survive, and only a name too long for its field anyway is cut. Nothing of a line is ever
// seen by the next one, since each line is returned with its own length.
Line ReadLine(ByteInput& in, LineBuffer& buffer) {
    Line line;
    std::size_t length = 0;
    for (;;) {
        const int c = in.Get();
        if (c < 0 || c == '\n')
            break;
        if (c == '\r') {
            if (in.Peek() == '\n')
                in.Get();
            else
                line.crAlone = !in.AtEnd();
            break;
        }
        if (length < kLayoutLineContentLimit) {
            buffer[length++] = static_cast<char>(c);
        } else {
            line.cut = true;
            if (line.droppedHead.size() < kFoundTextLimit)
                line.droppedHead += static_cast<char>(c);
        }
    }
    line.text = std::string_view(buffer.data(), length);
    return line;
}

// A name field as the record's NUL-terminated 102-character field takes it.
std::string NameFromField(std::string_view field) {
    const std::size_t nul = field.find('\0');
    if (nul != std::string_view::npos)
        field = field.substr(0, nul);
    return CutName(field, kMaxKeyNameLength);
}

// Out-of-range header values are compared as unsigned, so a negative value counts as too large.
int32_t Corrected(int32_t value, uint32_t largest, int32_t fallback) {
    return static_cast<uint32_t>(value) > largest ? fallback : value;
}

bool IsFieldSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The text of a number field as written: digits alone (blanks around them are trimmed). A sign
// is read as atoi reads it, but the engine takes no sign, not even on a 0 or a +5.
bool IsPlainNumber(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Notes the corrections of one read in the record, when there is one. Lines are counted here as
// the reader takes them, so every correction carries the line an editor would show.
class Recorder {
  public:
    explicit Recorder(ReadRecord* record) : record_(record) {}

    void NextLine() {
        ++line_;
        missingNoted_ = false;
    }
    int line() const { return line_; }

    void Add(std::size_t column0, std::string_view found, std::string used, CorrectionKind kind) {
        if (!record_)
            return;
        if (record_->corrections.size() < kRecordedCorrectionLimit)
            record_->corrections.push_back({line_, static_cast<int>(column0) + 1,
                                            std::string(found.substr(0, kFoundTextLimit)),
                                            std::move(used), kind});
        ++record_->correctionCount;
    }

    // The number field just read by fields: used is what the reader keeps, inRange whether the
    // number atoi makes of the field lies in its range. A short line is noted once, at its
    // first missing field: the fields behind it are missing for the same reason.
    void Number(const FieldReader& fields, std::string_view field, bool inRange,
                const std::string& used, CorrectionKind rangeKind = CorrectionKind::OutOfRange) {
        if (!record_)
            return;
        if (fields.fieldMissing()) {
            if (!missingNoted_)
                Add(fields.fieldStart(), {}, used, CorrectionKind::MissingField);
            missingNoted_ = true;
            return;
        }
        std::size_t lead = 0;
        while (lead < field.size() && IsFieldSpace(field[lead]))
            ++lead;
        std::string_view text = field.substr(lead);
        while (!text.empty() && IsFieldSpace(text.back()))
            text.remove_suffix(1);
        const std::size_t column0 = fields.fieldStart() + lead;
        // An unknown layout code or a key number outside 1..112 is told as what it makes the
        // reader do, whatever the text was.
        if (!inRange && rangeKind != CorrectionKind::OutOfRange)
            Add(column0, text, used, rangeKind);
        else if (text.empty())
            Add(column0, text, used, CorrectionKind::EmptyField);
        else if (!inRange)
            Add(column0, text, used, rangeKind);
        else if (!IsPlainNumber(text))
            Add(column0, text, used, CorrectionKind::NotANumber);
    }

    void Name(const FieldReader& fields, std::string_view field, const std::string& name) {
        if (!record_)
            return;
        if (fields.fieldMissing()) {
            if (!missingNoted_)
                Add(fields.fieldStart(), {}, "\"\"", CorrectionKind::MissingField);
            missingNoted_ = true;
        } else if (name.size() != field.size()) {
            Add(fields.fieldStart(), field, "its first " + std::to_string(name.size()) + " bytes",
                CorrectionKind::NameCut);
        }
    }

    void LineCut(const Line& line) {
        if (line.cut)
            Add(line.text.size(), line.droppedHead, "nothing (the rest of the line is dropped)",
                CorrectionKind::LineCut);
    }

    // Line ends of a CR alone are the file's way, not one line's: told once, at the first.
    void LineEnd(const Line& line) {
        if (line.crAlone && !lineEndNoted_)
            Add(line.text.size(), "\r", "CR LF", CorrectionKind::LineEnd);
        lineEndNoted_ = lineEndNoted_ || line.crAlone;
    }

  private:
    ReadRecord* record_;
    int line_ = 0;
    bool missingNoted_ = false;
    bool lineEndNoted_ = false;
};

const char* const kSkippedLine = "no key (the line is skipped)";

// Reads the next field as a number whose range is 0..largest (compared as unsigned) and whose
// fallback beyond it is fallback.
int32_t HeaderSetting(FieldReader& fields, Recorder& recorder, uint32_t largest, int32_t fallback) {
    const std::string_view field = fields.NextField();
    const int32_t value = FieldNumber(field);
    const int32_t used = Corrected(value, largest, fallback);
    recorder.Number(fields, field, used == value, std::to_string(used));
    return used;
}

// A byte field (RFID prefix and suffix): the low byte of the value.
uint8_t ByteField(FieldReader& fields, Recorder& recorder) {
    const std::string_view field = fields.NextField();
    const int32_t value = FieldNumber(field);
    const auto used = static_cast<uint8_t>(value);
    recorder.Number(fields, field, value == used, std::to_string(used));
    return used;
}

// Fills in where and why a file without a key line holds no layout: at the first line that could
// not be a key line when there was one, else where the file ended.
void NoteNoLayout(ReadRecord& record, int linesRead, bool emptyFile) {
    for (const ReadCorrection& correction : record.corrections) {
        if (correction.kind == CorrectionKind::KeyNumberOutside) {
            record.noLayoutLine = correction.line;
            record.noLayoutColumn = correction.column;
            record.noLayoutReason = "found \"" + correction.found +
                                    "\" where a key number 1..112 was expected, and no line names "
                                    "a key";
            return;
        }
    }
    record.noLayoutLine = emptyFile ? 1 : linesRead + 1;
    record.noLayoutColumn = 1;
    record.noLayoutReason =
        emptyFile ? "the file is empty" : "the file ends before its first key line";
}

// Returns whether the file held a key line at all.
bool ReadLayout(Layout& layout, ByteInput& in, ReadRecord* out) {
    Recorder recorder(out);
    const bool emptyFile = in.AtEnd();
    LineBuffer buffer;
    Line line = ReadLine(in, buffer);
    recorder.NextLine();
    recorder.LineCut(line);
    recorder.LineEnd(line);
    FieldReader fields(line.text);

    const std::string_view codeField = fields.NextField();
    const int32_t layoutCode = FieldNumber(codeField);
    int codeCount = kCodeSlots;
    bool scan16 = true;
    if (layoutCode == 112 || layoutCode == 56) {
        layout.keyCount = layoutCode;
        codeCount = kCodesPer7Scan;
        scan16 = false;
    } else {
        layout.keyCount = layoutCode == 113 ? 112 : 56;
    }
    layout.scan16Mode = scan16;
    layout.fileIsScan16 = scan16 ? 1 : 0;
    // Any other code reads as the 56-key 16scan layout whose code is 57.
    const bool knownCode = !scan16 || layoutCode == 57 || layoutCode == 113;
    recorder.Number(fields, codeField, knownCode, std::to_string(knownCode ? layoutCode : 57),
                    CorrectionKind::UnknownLayoutCode);

    KeyboardSettings& settings = layout.settings;
    settings.keysType = HeaderSetting(fields, recorder, 1, 1);
    settings.keyBeep = HeaderSetting(fields, recorder, 1, 1);
    settings.keyDelay = HeaderSetting(fields, recorder, 3, 2);
    settings.typematicRate = HeaderSetting(fields, recorder, 31, 11);
    if (scan16) {
        // The flags byte as the editor keeps it (and would write it back): the digits count at
        // most 13, and of the low bits only the three that mean something.
        const std::string_view flagsField = fields.NextField();
        const int32_t flagsValue = FieldNumber(flagsField);
        const auto rfidFlags = static_cast<uint8_t>(flagsValue);
        const uint8_t digitsCount = std::min(static_cast<uint8_t>(rfidFlags >> 4), kMaxDigitsCount);
        const int keptFlags = (digitsCount << 4) | (rfidFlags & 0x07);
        recorder.Number(fields, flagsField, flagsValue == keptFlags, std::to_string(keptFlags));
        RfidSettings& rfid = layout.rfid;
        rfid.digitsCount = digitsCount;
        rfid.digitsNum = (rfidFlags & 0x04) == 0 ? 1 : 0;
        rfid.prefixExtended = rfidFlags & 0x01;
        rfid.suffixExtended = (rfidFlags >> 1) & 0x01;
        rfid.prefix = ByteField(fields, recorder);
        rfid.suffix = ByteField(fields, recorder);
        const std::string_view pauseField = fields.NextField();
        const int32_t pause = FieldNumber(pauseField);
        settings.keysPause = pause < 1 || pause > 255 ? 2 : pause;
        recorder.Number(fields, pauseField, settings.keysPause == pause,
                        std::to_string(settings.keysPause));
    }

    // Key lines, until a line names a key at or beyond the key count or the file ends. A line
    // whose key number is outside 1..112 names no record: it is skipped as a whole and does not
    // end the reading either. Missing fields read as empty: codes, flags and group number 0 and
    // an empty name.
    bool keyLineRead = false;
    while (!in.AtEnd()) {
        line = ReadLine(in, buffer);
        recorder.NextLine();
        recorder.LineEnd(line);
        fields.Reset(line.text);
        const std::string_view keyField = fields.NextField();
        const int32_t k = FieldNumber(keyField);
        const bool keyNumber = k >= 1 && k <= kMaxKeys;
        recorder.Number(fields, keyField, keyNumber, keyNumber ? std::to_string(k) : kSkippedLine,
                        CorrectionKind::KeyNumberOutside);
        if (!keyNumber)
            continue;
        recorder.LineCut(line);
        keyLineRead = true;
        KeyRecord& record = layout.key(k);
        for (int i = 0; i < codeCount; ++i) {
            const std::string_view slotField = fields.NextField();
            const int32_t code = FieldNumber(slotField);
            const int32_t used = code < 0 || code > 255 ? 0 : code;
            recorder.Number(fields, slotField, used == code, std::to_string(used));
            record.codes[static_cast<std::size_t>(i)] = used;
        }
        const std::string_view flagField = fields.NextField();
        const int32_t flagNumber = FieldNumber(flagField);
        recorder.Number(fields, flagField, (flagNumber & ~kFlagBits) == 0,
                        std::to_string(flagNumber & kFlagBits));
        record.flags = static_cast<uint8_t>((record.flags & ~kFlagBits) | (flagNumber & kFlagBits));
        if (scan16) {
            // Stored whole: the cells are numbered afresh once the file is read, but a number
            // beyond a byte is none the keyboard can take.
            const std::string_view groupField = fields.NextField();
            record.groupNumber = FieldNumber(groupField);
            recorder.Number(fields, groupField,
                            record.groupNumber >= 0 && record.groupNumber <= 255,
                            "a new group number");
        }
        const std::string_view nameField = fields.NextField();
        record.name = NameFromField(nameField);
        recorder.Name(fields, nameField, record.name);
        if (k >= layout.keyCount)
            break;
    }
    if (!keyLineRead && out)
        NoteNoLayout(*out, recorder.line(), emptyFile);
    return keyLineRead;
}

// A found text as a message shows it: bytes that are no printable character as \xNN.
std::string Printable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            static const char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

// ---- Public interface ------------------------------------------------------------------------

std::string_view FieldReader::NextField() {
    fieldMissing_ = lineEnded_;
    const std::size_t start = position_;
    fieldStart_ = start;
    while (position_ < line_.size() && line_[position_] != ';' && line_[position_] != ',')
        ++position_;
    const std::size_t length = std::min(position_ - start, kLayoutFieldLimit);
    if (position_ < line_.size())
        ++position_; // the terminator
    else
        lineEnded_ = true;
    return line_.substr(start, length);
}

std::string DescribeCorrection(const ReadCorrection& correction) {
    return std::to_string(correction.line) + ":" + std::to_string(correction.column) +
           ": found \"" + Printable(correction.found) + "\", using " + correction.used;
}

std::string DescribeCorrections(const ReadRecord& record) {
    std::string text;
    const std::size_t listed = std::min(record.corrections.size(), kListedCorrections);
    for (std::size_t i = 0; i < listed; ++i) {
        if (i > 0)
            text += '\n';
        text += DescribeCorrection(record.corrections[i]);
    }
    if (record.correctionCount > listed)
        text += "\nand " + std::to_string(record.correctionCount - listed) + " more";
    return text;
}

std::string DescribeNoLayout(const ReadRecord& record) {
    return std::to_string(record.noLayoutLine) + ":" + std::to_string(record.noLayoutColumn) +
           ": " + Printable(record.noLayoutReason);
}

int32_t FieldNumber(std::string_view field) {
    std::size_t i = 0;
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (i < field.size() && isSpace(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = std::min(value * 10 + (field[i] - '0'), kLimit);
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min(value, kLimit - 1));
}

FileVariant FileVariantFromIndex(int index) {
    switch (index) {
    case 1:
        return FileVariant::Scan7;
    case 2:
        return FileVariant::Scan16;
    case 3:
        return FileVariant::LeftSide;
    case 4:
        return FileVariant::RightSide;
    default:
        return FileVariant::Save;
    }
}

bool Is16Scan(FileVariant variant) {
    return variant != FileVariant::Scan7;
}

std::string LayoutFileText(const Layout& layout, FileVariant variant) {
    const bool scan16 = Is16Scan(variant);
    const int codeCount = scan16 ? kCodeSlots : kCodesPer7Scan;
    std::string out;
    out.reserve(scan16 ? 113 * 100 : 113 * 40);

    const KeyboardSettings& settings = layout.settings;
    out += std::to_string(LayoutCodeFor(layout, variant));
    for (const int32_t value :
         {settings.keysType, settings.keyBeep, settings.keyDelay, settings.typematicRate}) {
        out += "; ";
        out += std::to_string(value);
    }
    if (scan16) {
        const RfidSettings& rfid = layout.rfid;
        for (const int value :
             {RfidFlags(rfid), int{rfid.prefix}, int{rfid.suffix}, int{settings.keysPause}}) {
            out += "; ";
            out += std::to_string(value);
        }
    }
    out += "\r\n";

    for (int k = 1; k <= kMaxKeys; ++k) {
        const bool secondBlock = k > kBlockKeys;
        if (variant == FileVariant::LeftSide || variant == FileVariant::RightSide) {
            if (secondBlock)
                AppendBlankLine(out, k);
            else
                AppendKeyLine(out, k,
                              layout.key(variant == FileVariant::RightSide ? k + kBlockKeys : k),
                              codeCount, true);
        } else {
            AppendKeyLine(out, k, layout.key(k), codeCount, scan16);
        }
    }
    return out;
}

bool AnyKeyProgrammed(const Layout& layout) {
    for (int k = 1; k <= kMaxKeys && k <= layout.keyCount; ++k) {
        if (layout.key(k).programmed())
            return true;
    }
    return false;
}

WriteResult WriteLayoutFile(const Layout& layout, FileVariant variant, UserPrompts& prompts) {
    const std::string text = LayoutFileText(layout, variant);
    std::string reason = "no file name";
    if (layout.fileName.empty() ||
        !ReplaceFileAtomically(PathFromName(layout.fileName), text, &reason)) {
        prompts.ShowErrorDetail(kStrCannotOpenFile, {}, reason);
        return WriteResult::Failed;
    }
    if (!AnyKeyProgrammed(layout)) {
        prompts.ShowError(kStrNoProgrammedKey);
        return WriteResult::StoredWithoutProgrammedKey;
    }
    return WriteResult::Stored;
}

ReadResult ReadLayoutFile(Layout& layout, UserPrompts& prompts, ReadRecord* record) {
    std::string reason;
    const ReadResult result = ReadLayoutFile(layout, record, reason);
    if (result == ReadResult::CannotOpen)
        prompts.ShowErrorDetail(kStrCannotOpenFile, {}, reason);
    else if (result == ReadResult::NotALayout)
        prompts.ShowErrorDetail(kResultInvalidFileFormat, {}, reason);
    return result;
}

ReadResult ReadLayoutFile(Layout& layout, ReadRecord* record, std::string& reason) {
    FileInput input(layout.fileName.empty() ? fs::path() : PathFromName(layout.fileName));
    if (input.TooLarge() || !input.IsOpen()) {
        reason = input.reason();
        return input.TooLarge() ? ReadResult::NotALayout : ReadResult::CannotOpen;
    }
    input.SkipByteOrderMark();
    // The detail of "Invalid file format." comes from the same record as the corrections, so
    // the two never tell different lines.
    ReadRecord ownRecord;
    ReadRecord& used = record ? *record : ownRecord;
    used = ReadRecord{};
    const bool keyLineRead = ReadLayout(layout, input, &used);
    // A read that failed part-way is no end of the file: the keys after it would be lost, and the
    // next save would write the cut-down layout over the file.
    if (input.Failed()) {
        reason = input.reason();
        return ReadResult::CannotOpen;
    }
    // Nor is a file that grew beyond any layout while it was read, or one without a single key
    // line (an empty one too).
    if (input.TooLarge()) {
        reason = input.reason();
        return ReadResult::NotALayout;
    }
    if (!keyLineRead) {
        reason = DescribeNoLayout(used);
        return ReadResult::NotALayout;
    }
    return ReadResult::Read;
}

bool ReadLayoutText(Layout& layout, std::string_view bytes, ReadRecord* record) {
    BufferInput input(bytes);
    input.SkipByteOrderMark();
    if (record)
        *record = ReadRecord{};
    return ReadLayout(layout, input, record);
}

} // namespace zr4700
