#include "progress/FitStatusLine.h"
#include "support/TempDir.h"

TEST_CASE("FitStatusLine cuts folders out from the left until the line fits") {
    const std::wstring clip = L"into C:\\Data\\Video\\Parts\\clip.avi";
    const struct {
        std::wstring text;
        int available;
        std::wstring expected;
    } cases[] = {
        {clip, 0, L"into C:\\...clip.avi"}, // too wide at every stage: the name stays
        // Each stage of the same path where it first fits.
        {clip, 31, L"into C:\\...Video\\Parts\\clip.avi"},
        {clip, 25, L"into C:\\...Parts\\clip.avi"},
        {clip, 24, L"into C:\\...clip.avi"},
        {L"into C:\\out.bin", 15, L"into C:\\out.bin"}, // fits, even exactly: left as set
        // One backslash or none: nothing to cut, the line stays too wide.
        {L"into C:\\a-very-long-file-name.bin", 5, L"into C:\\a-very-long-file-name.bin"},
        // A share path first grows by a character, then shrinks as usual.
        {L"\\\\server\\share\\file", 18, L"\\...share\\file"},
        {L"\\\\server\\share\\file", 0, L"\\...file"},
        {L"D:\\a\\b", 5, L"D:\\...b"}, // the dots run straight into the next name
    };
    for (const auto& c : cases) {
        INFO("text " << ToUtf8(c.text) << ", available " << c.available);
        // One unit per character, so the room a case gives is easy to read off.
        CHECK(FitStatusLine(c.text, c.available, [](const std::wstring& text) {
                  return static_cast<int>(text.size());
              }) == c.expected);
    }
}
