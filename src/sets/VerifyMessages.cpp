#include "sets/VerifyMessages.h"

#include <algorithm>

namespace {

// Mismatches past this many are counted, not named.
constexpr std::size_t kMismatchesShown = 10;

std::wstring FileName(const std::wstring& path) {
    return path.substr(path.rfind(L'\\') + 1);
}

// As the tools that write them show them: a CRC in capitals, other hashes in small
// letters.
std::wstring Shown(HashKind kind, const std::string& hex) {
    std::wstring text(hex.begin(), hex.end());
    if (kind == HashKind::Crc32)
        std::transform(text.begin(), text.end(), text.begin(),
                       [](wchar_t c) { return c >= L'a' && c <= L'f' ? c - L'a' + L'A' : c; });
    return text;
}

// "a", "a and b", "a, b and c".
std::wstring Listing(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? L"" : i + 1 == names.size() ? L" and " : L", ") + names[i];
    return text;
}

std::wstring ChecksumFiles(const std::vector<Verified>& checked) {
    std::vector<std::wstring> names;
    for (const auto& v : checked) {
        if (std::find(names.begin(), names.end(), FileName(v.checksumFile)) == names.end())
            names.push_back(FileName(v.checksumFile));
    }
    return Listing(names);
}

std::wstring MismatchLine(const Verified& v) {
    const std::wstring values = L" checksum is " + Shown(v.kind, v.computed) + L", but " +
                                FileName(v.checksumFile) + L" says it must be " +
                                Shown(v.kind, v.expected) + L".";
    if (v.part)
        return L"\x2022 " + FileName(*v.part) + L" is damaged: its " + HashName(v.kind) + values;
    return L"\x2022 The merged file is not the original: its " + HashName(v.kind) + values;
}

} // namespace

std::wstring HashName(HashKind kind) {
    switch (kind) {
    case HashKind::Crc32: return L"CRC-32";
    case HashKind::Md5: return L"MD5";
    case HashKind::Sha1: return L"SHA-1";
    case HashKind::Sha256: return L"SHA-256";
    case HashKind::Sha512: return L"SHA-512";
    }
    return {};
}

std::wstring MatchedMessage(const std::wstring& output, const std::vector<Verified>& checked) {
    const bool whole =
        std::any_of(checked.begin(), checked.end(), [](const Verified& v) { return !v.part; });
    const std::wstring files = ChecksumFiles(checked);
    if (whole)
        return L"The merged file came out right:\r" + output + L"\r\rIt matches the checksum in " +
               files +
               L", a fingerprint taken of the original file: not a byte was lost or changed.";
    return L"The parts were merged undamaged:\r" + output +
           L"\r\rEach part matches its checksum in " + files +
           L", a fingerprint taken of it when it was made: not a byte was lost or changed.";
}

std::wstring MismatchMessage(const std::wstring& output, const std::vector<Verified>& checked) {
    std::vector<std::wstring> lines;
    std::size_t count = 0;
    bool partNamed = false;
    for (const auto& v : checked) {
        if (v.expected == v.computed)
            continue;
        const std::wstring line = MismatchLine(v);
        if (std::find(lines.begin(), lines.end(), line) != lines.end())
            continue; // a part listed twice
        partNamed = partNamed || v.part;
        if (++count <= kMismatchesShown)
            lines.push_back(line);
    }
    if (count == 0)
        return {};
    std::wstring text = L"The merged file was written, but it is not right:\r" + output + L"\r";
    for (const auto& line : lines)
        text += L"\r" + line;
    if (count > lines.size())
        text +=
            L"\r\x2022 " + std::to_wstring(count - lines.size()) + L" more do not match either.";
    text +=
        L"\r\rA checksum is a fingerprint of a file's contents, taken when it was made: when it "
        L"differs, the contents differ.";
    if (partNamed)
        return text + L" Get each damaged part again (download or copy it once more), then merge "
                      L"again. The merged file was kept, but do not rely on it.";
    return text + L" A part may be damaged, missing or in the wrong place in the list. Check the "
                  L"list, get any part you doubt again, then merge again. The merged file was "
                  L"kept, but do not rely on it.";
}
