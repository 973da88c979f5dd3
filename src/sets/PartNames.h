#pragma once
// Numbered split sets recognised by name alone: "holiday.mkv.001", "holiday.mkv.002",
// ... or "backup.part1", "backup.part2", ... Pure text, no file system.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class PartStyle {
    Numbered, // <base>.<digits>
    Part,     // <base>.part<digits>
};

struct PartName {
    std::wstring folder; // everything before the last "\", as written
    std::wstring base;   // "holiday.mkv": the name of the file the set was cut from
    std::wstring marker; // what joins the base and the digits, as written: "." or ".part"
    PartStyle style;
    std::uint64_t number;
    std::size_t width; // digits as written, leading zeros included
};

// The part a path names, or nothing. RAR volumes and zip spans never match: each of
// their parts is an archive of its own.
std::optional<PartName> RecognisePart(std::wstring_view path);

// Whether two parts can belong to one set: the same folder and base (letter case
// ignored) and style, their numbers written in one width, or the longer one without
// a leading zero, as a set that ran past .999 goes on with .1000.
bool InOneSet(const PartName& a, const PartName& b);

// Whether `part` is written as a set whose lowest part is `setStart` writes its
// numbers: in the start's width, or wider only when the number needs it. So with
// "file.1" as the start, "file.10" belongs and "file.01" does not.
bool BelongsTo(const PartName& part, const PartName& setStart);

// The file name of a set's part: "holiday.mkv.004", "backup.part4", in the set's width.
std::wstring PartFileName(const PartName& setStart, std::uint64_t number);
// The same with the set's folder in front.
std::wstring PartPath(const PartName& setStart, std::uint64_t number);
