#include "filelist/DropTarget.h"

#include <shellapi.h>

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
    HGLOBAL Global() const { return medium_.hGlobal; }

private:
    STGMEDIUM medium_{};
};

} // namespace

DWORD FileDropEffect(IDataObject* data, DWORD allowed) {
    return OffersFiles(data) ? (allowed & DROPEFFECT_COPY) : DROPEFFECT_NONE;
}

std::vector<std::wstring> DroppedPaths(IDataObject* data) {
    std::vector<std::wstring> paths;
    FORMATETC format = FileListFormat();
    Medium medium;
    if (!data || data->GetData(&format, medium.Put()) != S_OK)
        return paths;
    auto drop = static_cast<HDROP>(GlobalLock(medium.Global()));
    if (!drop)
        return paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        if (!path.empty())
            paths.push_back(std::move(path));
    }
    GlobalUnlock(medium.Global());
    return paths;
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

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    offersFiles_ = OffersFiles(data);
    *effect = FileDropEffect(data, *effect);
    return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    *effect = offersFiles_ ? (*effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
    return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    offersFiles_ = false;
    if (!OffersFiles(data)) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    // The drop effect the source offered stays as it was.
    try {
        const std::vector<std::wstring> paths = DroppedPaths(data);
        onDrop_(paths);
    } catch (...) {
        // Nothing may escape a COM method; a failed drop adds what it had added.
    }
    return S_OK;
}
