#include "filelist/AddFiles.h"

#include "app/FormatNumber.h"
#include "filelist/FileList.h"
#include "paths/Filenames.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"
#include "sets/NameCase.h"
#include "sets/SetListing.h"

#include <cderr.h>
#include <commdlg.h>

#include <cmath>
#include <iterator>
#include <cwctype>
#include <string_view>
#include <unordered_set>

namespace {

constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST |
                             OFN_EXPLORER | OFN_LONGNAMES; // 0x281204
constexpr wchar_t kOpenFilter[] = L"All  files (*.*)|*.*";

constexpr wchar_t kBufferMessage[] = L"The filename buffer is not large enough\r"
                                     L"to hold all the filenames you selected.\r"
                                     L"\r"
                                     L"The program attempts to increase the buffer size.\r"
                                     L"\r"
                                     L"If this does not solve the problem, you can try \r"
                                     L"to select fewer files at a time or to use drag & drop.";

std::wstring AddErrorMessage(const std::wstring& description) {
    return L"The following error occured while adding files:\r" + description;
}

// After files came in: a list that was empty is sorted, otherwise the new entries
// stay at the end and the next heading click sorts ascending.
void SortOrMark(FileList& list, int oldCount) {
    if (oldCount != 0)
        list.MarkOrderChanged();
    else
        list.SortFiles(SortOrder::Ascending);
}

// When one file came in and it is the first part of a split set, the parts beside
// it follow in number order, but for those already listed. Returns their bytes.
double AppendFollowingParts(FileList& list, const std::wstring& first) {
    const std::vector<ListedPart> parts = FollowingParts(first);
    if (parts.empty())
        return 0;
    // Letter case ignored, as the file system does; one hash per entry, so that a
    // long list costs no scan per part.
    std::unordered_set<std::wstring> listed;
    listed.reserve(static_cast<std::size_t>(list.Count()) + parts.size());
    for (const auto& text : list.Texts())
        listed.insert(FoldedCase(text));
    double bytes = 0;
    for (const auto& part : parts) {
        if (listed.insert(FoldedCase(part.path)).second) {
            list.AddFile(part.path);
            bytes += part.size;
        }
    }
    return bytes;
}

} // namespace

std::vector<std::wstring> ParseDialogResult(const std::wstring& text) {
    const auto firstNul = text.find(L'\0');
    if (firstNul == std::wstring::npos)
        return {text};
    std::wstring folder = text.substr(0, firstNul);
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    std::vector<std::wstring> paths;
    std::size_t start = firstNul + 1;
    while (true) {
        const auto end = text.find(L'\0', start);
        paths.push_back(folder + text.substr(start, end - start));
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    return paths;
}

namespace {

std::wstring_view TrimmedOfSpace(std::wstring_view text) {
    while (!text.empty() && std::iswspace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Reading stops past this: far beyond any limit the dialog takes.
constexpr double kBeyondAnyLimit = 1e6;

// The value of digits with at most one decimal point, or nothing for any other text.
std::optional<double> DecimalValue(std::wstring_view text) {
    double value = 0;
    bool digits = false, fraction = false;
    double scale = 1;
    for (const wchar_t c : text) {
        if (c >= L'0' && c <= L'9') {
            digits = true;
            if (fraction)
                value += (scale /= 10) * (c - L'0');
            else
                value = value * 10 + (c - L'0');
            if (value > kBeyondAnyLimit)
                return std::nullopt;
        } else if (c == L'.' && !fraction) {
            fraction = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<int> DialogLimitOf(const std::wstring& text) {
    const std::optional<double> value = DecimalValue(TrimmedOfSpace(text));
    if (!value)
        return std::nullopt;
    // A whole number is expected; a fraction rounds half to even, as the
    // conversion to a 16-bit integer does.
    const double rounded = std::nearbyint(*value);
    if (rounded < 1 || rounded > kLargestDialogLimit)
        return std::nullopt;
    return static_cast<int>(rounded);
}

std::wstring CommonDialogErrorText(DWORD code) {
    switch (code) {
    case CDERR_DIALOGFAILURE: return L"The dialog box could not be created.";
    case CDERR_STRUCTSIZE: return L"The dialog box structure has an invalid size.";
    case CDERR_INITIALIZATION:
        return L"The dialog box could not be initialized; memory may be low.";
    case CDERR_NOTEMPLATE: return L"The dialog box template is missing.";
    case CDERR_NOHINSTANCE: return L"The dialog box template's module was not given.";
    case CDERR_LOADSTRFAILURE: return L"A string of the dialog box could not be loaded.";
    case CDERR_FINDRESFAILURE: return L"A resource of the dialog box could not be found.";
    case CDERR_LOADRESFAILURE: return L"A resource of the dialog box could not be loaded.";
    case CDERR_LOCKRESFAILURE: return L"A resource of the dialog box could not be locked.";
    case CDERR_MEMALLOCFAILURE: return L"There is not enough memory for the dialog box.";
    case CDERR_MEMLOCKFAILURE: return L"Memory for the dialog box could not be locked.";
    case CDERR_NOHOOK: return L"The dialog box's hook procedure is missing.";
    case CDERR_REGISTERMSGFAIL: return L"A message of the dialog box could not be registered.";
    case FNERR_SUBCLASSFAILURE:
        return L"The list box of the dialog could not be set up; memory may be low.";
    case FNERR_INVALIDFILENAME: return L"A file name is invalid.";
    case FNERR_BUFFERTOOSMALL:
        return L"The buffer is too small for the names of the selected files.";
    }
    return L"The file dialog failed with error " + FormatErrorCode(code) + L".";
}

namespace {

// The open dialog as the list and the preferences propose it.
FileDialogRequest OpenRequest(AddFilesContext& c) {
    if (c.strAddDir.empty() && c.list.Count() > 0)
        c.strAddDir = GetDirectory(c.list.Text(0));
    if (const auto limit = DialogLimitOf(c.strFilenameBufSize))
        c.dialogMaxChars = *limit;
    FileDialogRequest request;
    request.flags = kOpenFlags;
    request.filter = kOpenFilter;
    request.initialDir = c.strAddDir;
    request.maxChars = c.dialogMaxChars;
    return request;
}

// Shows the open dialog; where the names chosen do not fit its result, says so and
// shows it again with the largest limit.
FileDialogResult AskForFiles(AddFilesContext& c, FileDialogRequest request) {
    for (;;) {
        FileDialogResult result = c.services.ShowOpenDialog(c.owner, request);
        if (result.outcome != FileDialogResult::Outcome::TooSmall ||
            c.dialogMaxChars >= kLargestDialogLimit)
            return result;
        c.services.ShowMessage(c.owner, kBufferMessage, kWarningBox);
        // Raised once, straight to the largest limit; the dialog reopens where the
        // user had gone.
        c.dialogMaxChars = kLargestDialogLimit;
        request.maxChars = kLargestDialogLimit;
        if (!result.folder.empty())
            request.initialDir = result.folder;
    }
}

// Appends the paths of an open dialog's result.
void ListChosen(FileList& list, const std::wstring& text) {
    const int oldCount = list.Count();
    {
        FileList::Batch batch(list);
        const std::vector<std::wstring> paths = ParseDialogResult(text);
        for (const auto& path : paths)
            list.AddFile(path);
        if (paths.size() == 1)
            AppendFollowingParts(list, paths.front());
    }
    SortOrMark(list, oldCount);
}

} // namespace

bool AddFiles(AddFilesContext& c) {
    const FileDialogResult result = AskForFiles(c, OpenRequest(c));
    if (result.outcome == FileDialogResult::Outcome::Cancelled)
        return false;
    if (result.outcome != FileDialogResult::Outcome::Chosen) {
        c.services.ShowMessage(c.owner, AddErrorMessage(CommonDialogErrorText(result.error)),
                               kWarningBox);
        return false;
    }
    PumpPendingEvents();
    if (!result.folder.empty())
        c.strAddDir = result.folder;
    if (result.text.empty())
        return false;
    ListChosen(c.list, result.text);
    return true;
}

namespace {

// Appends a dropped file, or the files directly inside a dropped folder; returns
// their bytes. The lookup that tells a file from a folder measures the file too,
// and the listings of a folder and of a set their files: the summary need not look
// them up again. A file dropped alone brings the rest of its set.
double AppendDropped(FileList& list, const std::wstring& path, bool alone) {
    double size = 0;
    switch (LookUpFile(path, &size)) {
    case Lookup::Found:
        list.AddFile(path);
        return alone ? size + AppendFollowingParts(list, path) : size;
    case Lookup::NotFound: // a folder, or gone
        size = 0;
        for (const auto& file : ListFolderFiles(path)) {
            list.AddFile(path + L"\\" + file.name);
            size += file.size;
        }
        return size;
    case Lookup::Failed: break; // unreadable: nothing to add
    }
    return 0;
}

} // namespace

AddedEntries AddDroppedFiles(FileList& list, const std::vector<std::wstring>& paths) {
    const int oldCount = list.Count();
    double added = 0;
    {
        FileList::Batch batch(list);
        for (const auto& path : paths)
            added += AppendDropped(list, path, paths.size() == 1);
    }
    const int count = list.Count();
    if (count > 0) {
        // The list ends showing its end, the focus mark on the last entry, unselected.
        list.MakeCurrent(count - 1);
        list.SetSelected(count - 1, false);
        list.EnsureVisible(count - 1);
    }
    SortOrMark(list, oldCount);
    return {oldCount, added};
}
