#include "filelist/DropTarget.h"

#include <shlobj.h>

#include <cstring>

namespace {

FORMATETC FileListFormat() {
    return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool OffersFiles(IDataObject* data) {
    FORMATETC format = FileListFormat();
    return data && data->QueryGetData(&format) == S_OK;
}

// Owns the storage medium a data object hands out.
class Medium {
public:
    ~Medium() { ReleaseStgMedium(&medium_); }
    STGMEDIUM* Put() { return &medium_; }
    HGLOBAL Global() const { return medium_.tymed == TYMED_HGLOBAL ? medium_.hGlobal : nullptr; }

private:
    STGMEDIUM medium_{};
};

// Keeps a global memory block locked for one scope.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL global)
        : global_(global), data_(global ? GlobalLock(global) : nullptr) {}
    ~GlobalLockScope() {
        if (data_)
            GlobalUnlock(global_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    const void* Data() const { return data_; }

private:
    HGLOBAL global_;
    void* data_;
};

// The texts of a list of NUL-ended texts that ends with an empty one; a text
// without its NUL is cut off by the end of the block and left out.
template <typename Text> std::vector<Text> SplitList(const Text& list) {
    std::vector<Text> texts;
    for (std::size_t start = 0;;) {
        const std::size_t end = list.find(typename Text::value_type{}, start);
        if (end == Text::npos || end == start)
            return texts;
        texts.push_back(list.substr(start, end - start));
        start = end + 1;
    }
}

std::wstring FromAnsi(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            length);
    return wide;
}

} // namespace

std::vector<std::wstring> DropFilesPaths(const void* block, std::size_t size) {
    DROPFILES header;
    if (!block || size < sizeof header)
        return {};
    std::memcpy(&header, block, sizeof header);
    if (header.pFiles > size)
        return {};
    // DragQueryFileW would walk the list from its start for every path, which makes
    // a drop of many files take quadratic time; the list is taken apart once here.
    const char* list = static_cast<const char*>(block) + header.pFiles;
    const std::size_t bytes = size - header.pFiles;
    if (header.fWide) {
        std::wstring wide(bytes / sizeof(wchar_t), L'\0');
        std::memcpy(wide.data(), list, wide.size() * sizeof(wchar_t)); // may be unaligned there
        return SplitList(wide);
    }
    std::vector<std::wstring> paths;
    for (const std::string& path : SplitList(std::string(list, bytes)))
        paths.push_back(FromAnsi(path));
    return paths;
}

std::vector<std::wstring> DroppedPaths(IDataObject* data) {
    FORMATETC format = FileListFormat();
    Medium medium;
    if (!data || data->GetData(&format, medium.Put()) != S_OK)
        return {};
    const GlobalLockScope lock(medium.Global());
    if (!lock.Data())
        return {};
    return DropFilesPaths(lock.Data(), GlobalSize(medium.Global()));
}

HRESULT FileDropTarget::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG FileDropTarget::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

DWORD FileDropTarget::Answer(DWORD allowed) const {
    if (!offersFiles_ || !ready_())
        return DROPEFFECT_NONE;
    return allowed & DROPEFFECT_COPY;
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    offersFiles_ = OffersFiles(data);
    *effect = Answer(*effect);
    return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    *effect = Answer(*effect);
    return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
    offersFiles_ = false;
    return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    offersFiles_ = OffersFiles(data);
    // The answer goes back to the source: a copy at most, whatever it offered, or
    // it might delete the files the user has just dropped.
    const DWORD answer = Answer(*effect);
    *effect = DROPEFFECT_NONE;
    offersFiles_ = false;
    if (answer != DROPEFFECT_COPY)
        return S_OK;
    try {
        if (onDrop_(DroppedPaths(data)))
            *effect = DROPEFFECT_COPY;
    } catch (...) {
        // Nothing may escape a COM method; a failed drop adds what it had added.
    }
    return S_OK;
}
