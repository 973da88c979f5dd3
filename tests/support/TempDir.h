#pragma once
// A fresh folder under the system's temporary folder, removed with all it holds,
// and the file helpers the tests share.

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>
#include <doctest.h>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Writes bytes to a new file (replacing any old one) and returns its path.
std::wstring WriteBytes(const std::wstring& path, const std::string& bytes);
// A file of the given size that takes no disk space: its data reads as zeros but for
// the marks, each a text at an offset.
bool MakeSparseFile(const std::wstring& path, std::int64_t size,
                    const std::vector<std::pair<std::int64_t, std::string>>& marks = {});
// Up to count bytes from an offset, which may lie past 4 GiB; the rest of the file
// by default.
std::string ReadBytes(const std::wstring& path, std::int64_t offset = 0,
                      std::size_t count = SIZE_MAX);
// Bytes 0..n-1 of a repeatable pattern that differs between seeds.
std::string Pattern(std::size_t n, unsigned seed);

std::string ToUtf8(const std::wstring& text);

namespace doctest {
template <> struct StringMaker<std::wstring> {
    static String convert(const std::wstring& value) {
        return ("L\"" + ToUtf8(value) + "\"").c_str();
    }
};
} // namespace doctest
