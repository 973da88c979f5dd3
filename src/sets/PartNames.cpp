#include "sets/PartNames.h"

#include "sets/NameCase.h"

namespace {

// Longer runs are no splitter's numbers, and would not fit 64 bits.
constexpr std::size_t kMaxDigits = 18;

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// A base of dots and blanks alone names no file: Windows drops them, and "." and
// ".." are folders.
bool IsUsableBase(std::wstring_view base) {
    return base.find_first_not_of(L". ") != std::wstring_view::npos;
}

std::wstring Padded(std::uint64_t number, std::size_t width) {
    std::wstring digits = std::to_wstring(number);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), L'0');
    return digits;
}

} // namespace

std::optional<PartName> RecognisePart(std::wstring_view path) {
    const std::size_t slash = path.rfind(L'\\');
    const std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
    std::size_t digitsStart = name.size();
    while (digitsStart > 0 && IsDigit(name[digitsStart - 1]))
        --digitsStart;
    const std::size_t width = name.size() - digitsStart;
    if (width == 0 || width > kMaxDigits || digitsStart == 0)
        return std::nullopt;

    PartName part;
    std::size_t baseEnd = digitsStart - 1;
    if (name[baseEnd] == L'.') {
        part.style = PartStyle::Numbered;
    } else {
        constexpr std::wstring_view kPart = L".part";
        if (digitsStart < kPart.size() ||
            !SameIgnoringCase(name.substr(digitsStart - kPart.size(), kPart.size()), kPart))
            return std::nullopt;
        part.style = PartStyle::Part;
        baseEnd = digitsStart - kPart.size();
    }
    const std::wstring_view base = name.substr(0, baseEnd);
    if (!IsUsableBase(base))
        return std::nullopt;
    part.folder =
        slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash));
    part.base = base;
    part.marker = name.substr(baseEnd, digitsStart - baseEnd);
    part.number = 0;
    for (std::size_t i = digitsStart; i < name.size(); ++i)
        part.number = part.number * 10 + static_cast<std::uint64_t>(name[i] - L'0');
    part.width = width;
    return part;
}

bool BelongsTo(const PartName& part, const PartName& setStart) {
    return part.width == setStart.width ||
           (part.width > setStart.width && Padded(part.number, 0).size() == part.width);
}

bool InOneSet(const PartName& a, const PartName& b) {
    return a.style == b.style && SameIgnoringCase(a.base, b.base) &&
           SameIgnoringCase(a.folder, b.folder) &&
           (a.width <= b.width ? BelongsTo(b, a) : BelongsTo(a, b));
}

std::wstring PartFileName(const PartName& setStart, std::uint64_t number) {
    return setStart.base + setStart.marker + Padded(number, setStart.width);
}

std::wstring PartPath(const PartName& setStart, std::uint64_t number) {
    const std::wstring name = PartFileName(setStart, number);
    return setStart.folder.empty() ? name : setStart.folder + L'\\' + name;
}
