#include "paths/LongPaths.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool StartsWith(const std::wstring& text, const wchar_t* start) {
    return text.rfind(start, 0) == 0;
}

// A full path taken apart: "C:\" or "\\server\share\", and what follows it.
struct Rooted {
    std::wstring root;
    std::wstring rest;
    bool share;
};

std::optional<Rooted> SplitRoot(const std::wstring& path) {
    if (path.size() >= 3 && IsLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]))
        return Rooted{path.substr(0, 2) + L"\\", path.substr(3), false};
    if (path.size() < 3 || !IsSeparator(path[0]) || !IsSeparator(path[1]) || IsSeparator(path[2]))
        return std::nullopt;
    const auto isSeparator = [](wchar_t c) { return IsSeparator(c); };
    const auto serverEnd = std::find_if(path.begin() + 2, path.end(), isSeparator);
    if (serverEnd == path.end() || serverEnd + 1 == path.end() || IsSeparator(*(serverEnd + 1)))
        return std::nullopt; // no share
    const auto shareEnd = std::find_if(serverEnd + 1, path.end(), isSeparator);
    Rooted rooted{L"\\\\" + std::wstring(path.begin() + 2, serverEnd) + L"\\" +
                      std::wstring(serverEnd + 1, shareEnd) + L"\\",
                  {},
                  true};
    if (shareEnd != path.end())
        rooted.rest.assign(shareEnd + 1, path.end());
    return rooted;
}

// The path made full the way the system makes it: against the current directory,
// or the root of its drive or share for a path that starts with a separator.
std::wstring MakeFull(const std::wstring& path, const std::wstring& currentDirectory) {
    const std::wstring base = WithoutLongPathPrefix(currentDirectory);
    if (!path.empty() && IsSeparator(path[0])) {
        const auto rooted = SplitRoot(base);
        return rooted ? rooted->root + path.substr(1) : path;
    }
    if (path.size() >= 2 && IsLetter(path[0]) && path[1] == L':') {
        // "X:name": the system keeps a current directory per drive, but only the
        // current drive's is known here; another drive's counts from its root.
        const bool sameDrive =
            base.size() >= 2 && base[1] == L':' && (base[0] | 0x20) == (path[0] | 0x20);
        return (sameDrive ? base : path.substr(0, 2)) + L"\\" + path.substr(2);
    }
    return base + L"\\" + path;
}

bool IsDotOrDotDot(const std::wstring& name) {
    return name == L"." || name == L"..";
}

// The names below a root with "." and ".." resolved, never above the root, as the
// system resolves them; the system's trimming of the last name too, unless the names
// are kept.
std::vector<std::wstring> ResolvedNames(const std::wstring& rest, bool keepNames) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (std::size_t i = 0; i <= rest.size(); ++i) {
        if (i < rest.size() && !IsSeparator(rest[i])) {
            part += rest[i];
            continue;
        }
        if (part == L"..") {
            if (!parts.empty())
                parts.pop_back(); // never above the root
        } else if (!part.empty() && !IsDotOrDotDot(part)) {
            parts.push_back(part);
        }
        part.clear();
    }
    const bool endsInSeparator = !rest.empty() && IsSeparator(rest.back());
    if (!keepNames && !endsInSeparator && !parts.empty()) {
        // The system drops the dots and blanks that end a name.
        std::wstring& last = parts.back();
        last.erase(last.find_last_not_of(L". ") + 1);
        if (last.empty())
            parts.pop_back();
    }
    return parts;
}

// A full path, resolved, and whether it starts with a share.
struct FullPath {
    std::wstring text;
    bool share;
};

// The full path, resolved; nothing for a path without a drive or share to start from.
std::optional<FullPath> Resolved(const std::wstring& path, const std::wstring& currentDirectory,
                                 bool keepNames) {
    auto rooted = SplitRoot(path);
    const bool share = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
    if (!rooted && !share) // a share's path without its share names nothing
        rooted = SplitRoot(MakeFull(path, currentDirectory));
    if (!rooted)
        return std::nullopt;

    const std::vector<std::wstring> parts = ResolvedNames(rooted->rest, keepNames);
    const bool endsInSeparator = !rooted->rest.empty() && IsSeparator(rooted->rest.back());
    std::wstring full = rooted->root;
    for (std::size_t i = 0; i < parts.size(); ++i)
        full += (i > 0 ? L"\\" : L"") + parts[i];
    if (endsInSeparator && !parts.empty())
        full += L'\\';
    return FullPath{full, rooted->share};
}

std::wstring Prefixed(const FullPath& full) {
    return full.share ? L"\\\\?\\UNC\\" + full.text.substr(2) : L"\\\\?\\" + full.text;
}

} // namespace

bool HasLongPathPrefix(const std::wstring& path) {
    return StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\");
}

std::wstring LongPathForm(const std::wstring& path, const std::wstring& currentDirectory) {
    if (path.size() < kMaxPath || HasLongPathPrefix(path))
        return path;
    const auto full = Resolved(path, currentDirectory, false);
    if (!full)
        return path;
    return full->text.size() < kMaxPath ? full->text : Prefixed(*full);
}

bool HasNameEndingInDotOrBlank(const std::wstring& path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !IsSeparator(path[i]))
            continue;
        const std::wstring name = path.substr(start, i - start);
        if (!name.empty() && (name.back() == L'.' || name.back() == L' ') && !IsDotOrDotDot(name))
            return true;
        start = i + 1;
    }
    return false;
}

std::wstring ExactPathForm(const std::wstring& path, const std::wstring& currentDirectory) {
    if (HasLongPathPrefix(path))
        return path;
    const auto full = Resolved(path, currentDirectory, true);
    return full ? Prefixed(*full) : path;
}

std::wstring WithoutLongPathPrefix(const std::wstring& path) {
    if (StartsWith(path, L"\\\\?\\UNC\\"))
        return L"\\\\" + path.substr(8);
    if (StartsWith(path, L"\\\\?\\"))
        return path.substr(4);
    return path;
}
