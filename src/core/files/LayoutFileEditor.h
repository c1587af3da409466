#pragma once
// The editor's side of the layout text file: the writer that turns the document into one of the
// four file variants, and the forgiving reader that loads such a file back, correcting
// out-of-range values instead of refusing the file (the programming engine has its own, strict
// parser of the same bytes).
//
// `Layout::fileName` holds the path as UTF-8.

#include "core/document/UserPrompts.h"
#include "core/model/Layout.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr4700 {

// A layout line is at most 200 bytes with its CR LF; the reader keeps one line and one field in
// buffers of this size.
constexpr std::size_t kLayoutLineBufferSize = 200;
constexpr std::size_t kLayoutFieldBufferSize = 200;
// The most bytes of one line the reader looks at (the buffer less the CR LF).
constexpr std::size_t kLayoutLineContentLimit = kLayoutLineBufferSize - 2;
// The most characters of one field the reader looks at (the buffer less its terminating NUL).
constexpr std::size_t kLayoutFieldLimit = kLayoutFieldBufferSize - 1;

// The file variants, numbered as the save dialog's file types (Save writes 16scan as Scan16 does).
// RightSide writes keys 57..112 under the key numbers 1..56.
enum class FileVariant : int { Save = 0, Scan7 = 1, Scan16 = 2, LeftSide = 3, RightSide = 4 };

// The variant a save-dialog file type (1..4) names; anything else is the 16scan of Save.
FileVariant FileVariantFromIndex(int index);
bool Is16Scan(FileVariant variant);

// The complete file text of a variant, CR LF line ends included: what WriteLayoutFile stores.
std::string LayoutFileText(const Layout& layout, FileVariant variant);

// Whether any of keys 1..keyCount holds a first code: a layout without one programs nothing,
// and its file is stored with a warning.
bool AnyKeyProgrammed(const Layout& layout);

// What a write did. A layout without a programmed key is stored all the same, and the user is
// told so; callers that go on only after a stored file need to tell that apart from a failure.
enum class WriteResult { Failed, Stored, StoredWithoutProgrammedKey };

// Writes the text of a variant atomically at layout.fileName: the text goes to a temporary file in
// the same directory, which then replaces the target, so a failed save leaves the previous file as
// it was. On failure "Cannot open file!"; a stored file without programmed keys gives "The file
// contains no programmed key". The layout is not changed: the document records the save.
WriteResult WriteLayoutFile(const Layout& layout, FileVariant variant, UserPrompts& prompts);

enum class ReadResult { Read, CannotOpen, NotALayout };

// What the reader changed of a file while reading it. The editor opens what it can, but a value
// it corrects is not the file's value any more, and the next save would write the corrected one
// over the user's file; so every correction is noted where it was found.
enum class CorrectionKind {
    OutOfRange,        // a number above its range or negative; the fallback is used
    NotANumber,        // characters after or instead of the digits; the digits' value is used
    EmptyField,        // a field without text; 0 is used
    MissingField,      // the line ends before this field; it and the rest of the line read as 0
    UnknownLayoutCode, // the first number is none of 56, 57, 112, 113: a 56-key 16scan layout
    KeyNumberOutside,  // a key number outside 1..112; the line is skipped
    LineCut,           // a line longer than the reader keeps; its tail is dropped
    NameCut,           // a name longer than a key name, or with a NUL; its head is kept
    LineEnd,           // a line ended by a CR alone (noted once, at the first); read as CR LF
};

struct ReadCorrection {
    int line = 0;      // 1-based, as an editor counts lines
    int column = 0;    // 1-based byte position of the text found in its line
    std::string found; // the text found (its first kFoundTextLimit bytes)
    std::string used;  // the value used instead, as the user reads it
    CorrectionKind kind = CorrectionKind::OutOfRange;
    bool operator==(const ReadCorrection&) const = default;
};

// The text kept of a correction's found text.
constexpr std::size_t kFoundTextLimit = 40;
// The corrections a record keeps; the count goes on beyond.
constexpr std::size_t kRecordedCorrectionLimit = 100;
// The corrections a description lists before "and N more".
constexpr std::size_t kListedCorrections = 10;

struct ReadRecord {
    std::vector<ReadCorrection> corrections; // the first kRecordedCorrectionLimit, in file order
    std::size_t correctionCount = 0;         // all of them
    // For a file with no key line: where the reader gave up looking for one, and why.
    int noLayoutLine = 0;
    int noLayoutColumn = 0;
    std::string noLayoutReason;

    bool empty() const { return correctionCount == 0; }
};

// One correction as `LINE:COLUMN: found "256", using 0`.
std::string DescribeCorrection(const ReadCorrection& correction);
// The first kListedCorrections corrections, one a line, then "and N more" for the rest.
std::string DescribeCorrections(const ReadRecord& record);
// `LINE:COLUMN: REASON` of a file with no key line.
std::string DescribeNoLayout(const ReadRecord& record);

// Reads layout.fileName into the key table, keyCount, scan16Mode, fileIsScan16, the settings and
// (16scan files) the RFID values and keysPause. A file that cannot be opened or read to its end
// (a read error is no end of file) gives "Cannot open file!" and CannotOpen; a file without a
// single key line, or larger than the engine takes (kMaxLayoutFileSize, far beyond any layout),
// gives "Invalid file format." and NotALayout. A leading UTF-8 byte-order mark is skipped. Every
// other input is read, corrected where needed:
// - a line ends at CR (with its LF), at a bare LF or at the end of the file;
// - of an overlong line only the first kLayoutLineContentLimit bytes are read, the rest up to the
//   line break is dropped, so the next line starts where the file's next line starts;
// - missing fields read as empty: numbers 0, the name empty; nothing carries over between lines;
// - a name is cut to 102 characters (and at a NUL);
// - a line whose key number is outside 1..112 is skipped whole and does not end the reading.
// Every correction is noted in record when one is given; a file with no key line gets the
// detail of "Invalid file format." from the same record.
ReadResult ReadLayoutFile(Layout& layout, UserPrompts& prompts, ReadRecord* record = nullptr);
// The same without a message: *reason receives what the message would say below its text (the
// system's reason, or where and why the file holds no layout).
ReadResult ReadLayoutFile(Layout& layout, ReadRecord* record, std::string& reason);
// The same reading from bytes in memory; false when they hold no key line.
bool ReadLayoutText(Layout& layout, std::string_view bytes, ReadRecord* record = nullptr);

// The reader's field splitter for one line (the line without its line break). A field runs from
// the position to the next ';' or ',' or the end of the line; the terminator is consumed. At the
// end of the line every further field is empty. Fields longer than kLayoutFieldLimit characters
// give their first kLayoutFieldLimit characters (the rest of the field is skipped).
class FieldReader {
  public:
    explicit FieldReader(std::string_view line = {}) : line_(line) {}
    // Starts over on a new line: the position goes back to 0.
    void Reset(std::string_view line) {
        line_ = line;
        position_ = 0;
        fieldStart_ = 0;
        lineEnded_ = false;
        fieldMissing_ = false;
    }
    std::string_view NextField();
    std::size_t position() const { return position_; }
    // Where the last field started in the line (0-based).
    std::size_t fieldStart() const { return fieldStart_; }
    // Whether the last field lies beyond the line's end: the line had ended with the field
    // before it, without a terminator. (A terminator at the end is followed by one empty field.)
    bool fieldMissing() const { return fieldMissing_; }

  private:
    std::string_view line_;
    std::size_t position_ = 0;
    std::size_t fieldStart_ = 0;
    bool lineEnded_ = false;
    bool fieldMissing_ = false;
};

// A field's number as the C library's atoi reads it: leading white space skipped, an optional
// sign, then digits up to the first non-digit; 0 without digits. Values beyond the int32 range
// saturate instead of overflowing.
int32_t FieldNumber(std::string_view field);

} // namespace zr4700
