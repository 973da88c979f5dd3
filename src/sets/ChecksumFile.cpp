#include "sets/ChecksumFile.h"

#include "sets/NameCase.h"

namespace {

enum class Format { Crc, Sfv, HashList };

struct FileKind {
    Format format;
    std::optional<HashKind> kind; // a hash list's algorithm, when its name tells
};

bool EndsWith(std::wstring_view text, std::wstring_view end) {
    return text.size() >= end.size() &&
           SameIgnoringCase(text.substr(text.size() - end.size()), end);
}

std::optional<FileKind> KindOf(std::wstring_view fileName) {
    if (EndsWith(fileName, L".crc"))
        return FileKind{Format::Crc, HashKind::Crc32};
    if (EndsWith(fileName, L".sfv"))
        return FileKind{Format::Sfv, HashKind::Crc32};
    const std::pair<const wchar_t*, HashKind> lists[] = {{L".md5", HashKind::Md5},
                                                         {L".sha1", HashKind::Sha1},
                                                         {L".sha256", HashKind::Sha256},
                                                         {L".sha512", HashKind::Sha512}};
    for (const auto& [extension, kind] : lists) {
        if (EndsWith(fileName, extension))
            return FileKind{Format::HashList, kind};
    }
    if (EndsWith(fileName, L"SUMS") && fileName.size() > 4)
        return FileKind{Format::HashList, std::nullopt};
    return std::nullopt;
}

std::size_t HexLength(HashKind kind) {
    switch (kind) {
    case HashKind::Crc32: return 8;
    case HashKind::Md5: return 32;
    case HashKind::Sha1: return 40;
    case HashKind::Sha256: return 64;
    case HashKind::Sha512: return 128;
    }
    return 0;
}

std::optional<HashKind> KindOfLength(std::size_t length) {
    for (HashKind kind : {HashKind::Md5, HashKind::Sha1, HashKind::Sha256, HashKind::Sha512}) {
        if (HexLength(kind) == length)
            return kind;
    }
    return std::nullopt;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Hex digits in lower case, or empty when the text is not hex of that length.
std::string LowerHex(std::string_view text, std::size_t length) {
    if (text.size() != length)
        return {};
    std::string hex;
    for (char c : text) {
        if (!IsHex(c))
            return {};
        hex += c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return hex;
}

// A CRC written with its leading zeros left out still names the same value.
std::string Crc32Hex(std::string_view text) {
    if (text.empty() || text.size() > 8)
        return {};
    return LowerHex(std::string(8 - text.size(), '0') + std::string(text), 8);
}

std::optional<std::uint64_t> Decimal(std::string_view text) {
    if (text.empty() || text.size() > 19)
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

void AppendCodePoint(std::wstring& text, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            text += static_cast<wchar_t>(0xD800 + (c >> 10));
            text += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    text += static_cast<wchar_t>(c);
}

// Calls `line` for each line that may be a checksum line: without its line end,
// not too long and without NULs. A byte-order mark before the first is dropped.
template <typename Line> void ForEachLine(std::string_view bytes, Line line) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view text = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (text.size() > kMaxChecksumLine || text.find('\0') != std::string_view::npos)
            continue;
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        line(text);
    }
}

// <base>.crc: "filename=", "size=" and "crc32=" lines, each group one file; lines
// before the first name describe the file the .crc is named after.
void ParseCrc(std::wstring_view fileName, std::string_view bytes,
              const std::function<void(ChecksumEntry&&)>& take) {
    ChecksumEntry entry{
        std::wstring(fileName.substr(0, fileName.size() - 4)), HashKind::Crc32, {}, std::nullopt};
    const auto flush = [&] {
        if (!entry.name.empty() && (!entry.expected.empty() || entry.size))
            take(std::move(entry));
        entry = {{}, HashKind::Crc32, {}, std::nullopt};
    };
    ForEachLine(bytes, [&](std::string_view line) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return;
        const std::wstring key = FoldedCase(DecodeUtf8(Trimmed(line.substr(0, equals))));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        if (key == L"FILENAME") {
            flush();
            entry.name = DecodeUtf8(value);
        } else if (key == L"SIZE") {
            entry.size = Decimal(value);
        } else if (key == L"CRC32") {
            entry.expected = Crc32Hex(value);
        }
    });
    flush();
}

// .sfv: a name, blanks, the CRC as the line's last token; ";" starts a comment.
void ParseSfv(std::string_view bytes, const std::function<void(ChecksumEntry&&)>& take) {
    ForEachLine(bytes, [&](std::string_view line) {
        line = Trimmed(line);
        if (line.empty() || line.front() == ';')
            return;
        std::size_t blank = line.size();
        while (blank > 0 && !IsBlank(line[blank - 1]))
            --blank;
        const std::string hex = LowerHex(line.substr(blank), 8);
        const std::string_view name = Trimmed(line.substr(0, blank));
        if (!hex.empty() && !name.empty())
            take({DecodeUtf8(name), HashKind::Crc32, hex, std::nullopt});
    });
}

// A name written with the hash lists' escapes: "\\" and "\n" (and "\r"). Nothing
// when another escape stands in it.
std::optional<std::string> Unescaped(std::string_view name) {
    std::string text;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] != '\\') {
            text += name[i];
            continue;
        }
        if (++i == name.size())
            return std::nullopt;
        switch (name[i]) {
        case '\\': text += '\\'; break;
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        default: return std::nullopt;
        }
    }
    return text;
}

std::optional<HashKind> KindOfTag(std::string_view tag) {
    const std::wstring folded = FoldedCase(DecodeUtf8(tag));
    if (folded == L"MD5")
        return HashKind::Md5;
    if (folded == L"SHA1")
        return HashKind::Sha1;
    if (folded == L"SHA256" || folded == L"SHA2-256")
        return HashKind::Sha256;
    if (folded == L"SHA512" || folded == L"SHA2-512")
        return HashKind::Sha512;
    return std::nullopt;
}

struct HashLine {
    HashKind kind;
    std::string hex;
    std::string_view name; // still escaped where the line says so
};

// "ALGO (name) = hash", as BSD's tools and the --tag option write it.
std::optional<HashLine> TaggedLine(std::string_view line) {
    const std::size_t open = line.find('(');
    const std::size_t equals = line.rfind('=');
    if (open == std::string_view::npos || equals == std::string_view::npos || equals < open)
        return std::nullopt;
    const std::optional<HashKind> kind = KindOfTag(Trimmed(line.substr(0, open)));
    const std::string_view left = Trimmed(line.substr(0, equals));
    if (!kind || left.size() < open + 2 || left.back() != ')')
        return std::nullopt;
    std::string hex = LowerHex(Trimmed(line.substr(equals + 1)), HexLength(*kind));
    if (hex.empty())
        return std::nullopt;
    return HashLine{*kind, std::move(hex), left.substr(open + 1, left.size() - open - 2)};
}

// "hash  name" or "hash *name", as md5sum and the sha*sum tools write it; the
// hash's length tells the algorithm.
std::optional<HashLine> PlainLine(std::string_view line) {
    std::size_t length = 0;
    while (length < line.size() && IsHex(line[length]))
        ++length;
    const std::optional<HashKind> kind = KindOfLength(length);
    if (!kind || length == line.size() || line[length] != ' ')
        return std::nullopt;
    std::string_view name = line.substr(length + 1);
    if (!name.empty() && (name.front() == ' ' || name.front() == '*'))
        name.remove_prefix(1);
    return HashLine{*kind, LowerHex(line.substr(0, length), length), name};
}

void ParseHashList(std::optional<HashKind> listKind, std::string_view bytes,
                   const std::function<void(ChecksumEntry&&)>& take) {
    ForEachLine(bytes, [&](std::string_view line) {
        // A leading backslash says that the name holds escapes.
        const bool escaped = !line.empty() && line.front() == '\\';
        if (escaped)
            line.remove_prefix(1);
        if (line.empty() || line.front() == '#')
            return;
        std::optional<HashLine> parsed = PlainLine(line);
        if (!parsed)
            parsed = TaggedLine(line);
        if (!parsed || parsed->name.empty() || (listKind && parsed->kind != *listKind))
            return;
        const std::optional<std::string> name =
            escaped ? Unescaped(parsed->name) : std::string(parsed->name);
        if (name && !name->empty())
            take({DecodeUtf8(*name), parsed->kind, std::move(parsed->hex), std::nullopt});
    });
}

} // namespace

bool IsChecksumFileName(std::wstring_view fileName) {
    return KindOf(fileName).has_value();
}

void ForEachChecksumEntry(std::wstring_view fileName, std::string_view bytes,
                          const std::function<void(ChecksumEntry&&)>& take) {
    const std::optional<FileKind> kind = KindOf(fileName);
    if (!kind)
        return;
    switch (kind->format) {
    case Format::Crc: ParseCrc(fileName, bytes, take); break;
    case Format::Sfv: ParseSfv(bytes, take); break;
    case Format::HashList: ParseHashList(kind->kind, bytes, take); break;
    }
}

std::vector<ChecksumEntry> ParseChecksumFile(std::wstring_view fileName, std::string_view bytes) {
    std::vector<ChecksumEntry> entries;
    ForEachChecksumEntry(fileName, bytes,
                         [&](ChecksumEntry&& entry) { entries.push_back(std::move(entry)); });
    return entries;
}

std::wstring DecodeUtf8(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        // The sequence's length and the smallest value it may carry, so that no
        // character has two encodings.
        std::size_t length = 1;
        char32_t c = lead, least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, c = lead & 0x1F, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, c = lead & 0x0F, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, c = lead & 0x07, least = 0x10000;
        } else if (lead >= 0x80) {
            length = 0; // a continuation byte or a lead no valid text has
        }
        std::size_t taken = 1;
        while (length > 1 && taken < length && i + taken < bytes.size() &&
               (static_cast<unsigned char>(bytes[i + taken]) & 0xC0) == 0x80)
            c = (c << 6) | (static_cast<unsigned char>(bytes[i + taken++]) & 0x3F);
        const bool valid = length == 1 || (length > 1 && taken == length && c >= least &&
                                           c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF));
        if (valid) {
            AppendCodePoint(text, c);
            i += taken;
        } else {
            text += L'\xFFFD';
            i += 1;
        }
    }
    return text;
}
