#include "filelist/StatusSummary.h"

#include "app/FormatNumber.h"
#include "platform/FileSystem.h"
#include "platform/HugeFileFunctions.h"

std::wstring BuildStatusSummary(int count, double totalBytes) {
    return std::to_wstring(count) + L" files (" + FormatNumber(totalBytes) + L" Bytes)";
}

double SizeOfFiles(const std::vector<std::wstring>& paths, std::size_t begin, std::size_t end) {
    double total = 0.0;
    for (std::size_t i = begin; i < end && i < paths.size(); ++i) {
        // The lookup that finds a file measures it too, in one call per file; a file
        // the system would not even look up is asked for its size, and counts -1.
        double size = 0.0;
        switch (LookUpFile(paths[i], &size)) {
        case Lookup::Found: total += size; break;
        case Lookup::Failed: total += GetHugeFileSize(paths[i]); break;
        case Lookup::NotFound: break;
        }
    }
    return total;
}
