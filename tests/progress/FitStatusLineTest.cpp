#include "progress/FitStatusLine.h"
#include "support/TempDir.h"

TEST_CASE("FitStatusLine cuts folders out from the left until the line fits") {
    const struct {
        const wchar_t* text;
        int available;
        const wchar_t* expected;
    } cases[] = {
        // Too wide at every stage: the folders go one by one, the name stays.
        {L"into C:\\Data\\Video\\Parts\\clip.avi", 0, L"into C:\\...clip.avi"},
        // Each stage of the same path where it first fits.
        {L"into C:\\Data\\Video\\Parts\\clip.avi", 31, L"into C:\\...Video\\Parts\\clip.avi"},
        {L"into C:\\Data\\Video\\Parts\\clip.avi", 25, L"into C:\\...Parts\\clip.avi"},
        {L"into C:\\Data\\Video\\Parts\\clip.avi", 24, L"into C:\\...clip.avi"},
        // A line that fits, even exactly, is left as set.
        {L"into C:\\out.bin", 15, L"into C:\\out.bin"},
        // One backslash or none: nothing to cut, the line stays too wide.
        {L"into C:\\a-very-long-file-name.bin", 5, L"into C:\\a-very-long-file-name.bin"},
        // A share path first grows by a character, then shrinks as usual.
        {L"\\\\server\\share\\file", 18, L"\\...share\\file"},
        {L"\\\\server\\share\\file", 0, L"\\...file"},
        // The dots run straight into the next name: no backslash after them.
        {L"D:\\a\\b", 5, L"D:\\...b"},
    };
    for (const auto& c : cases) {
        INFO("text " << ToUtf8(c.text) << ", available " << c.available);
        // One unit per character, so the room a case gives is easy to read off.
        CHECK(FitStatusLine(c.text, c.available, [](const std::wstring& text) {
                  return static_cast<int>(text.size());
              }) == c.expected);
    }
}
