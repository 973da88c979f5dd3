#include "support/DataObjects.h"

#include <shlobj.h>

#include <cstring>

namespace {

// Offers one format in one HGLOBAL; enough for a drop target to read.
class OneFormatData : public IDataObject {
public:
    OneFormatData(CLIPFORMAT format, std::string bytes)
        : format_(format), bytes_(std::move(bytes)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        const bool known = riid == IID_IUnknown || riid == IID_IDataObject;
        *object = known ? static_cast<IDataObject*>(this) : nullptr;
        return known ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
        std::memcpy(GlobalLock(global), bytes_.data(), bytes_.size());
        GlobalUnlock(global);
        *medium = {TYMED_HGLOBAL, {.hGlobal = global}, nullptr};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        const bool ours = format && format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL);
        return ours ? S_OK : DV_E_FORMATETC;
    }
    // What a drop target does not ask for.
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    virtual ~OneFormatData() = default;
    ULONG references_ = 1;
    CLIPFORMAT format_;
    std::string bytes_;
};

// The bytes of a wide text up to and with its terminating NUL.
std::string BytesOf(const std::wstring& text) {
    return {reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t)};
}

} // namespace

ComPtr<IDataObject> MakeFileListData(const std::vector<std::wstring>& paths) {
    std::wstring list; // each path ended by a NUL, and the list by one more
    for (const auto& path : paths)
        list += path + L'\0';
    const DROPFILES header{sizeof(DROPFILES), {}, FALSE, TRUE};
    return ComPtr<IDataObject>::Attach(new OneFormatData(
        CF_HDROP,
        std::string(reinterpret_cast<const char*>(&header), sizeof header) + BytesOf(list)));
}

ComPtr<IDataObject> MakeTextData(const std::wstring& text) {
    return ComPtr<IDataObject>::Attach(new OneFormatData(CF_UNICODETEXT, BytesOf(text)));
}

Effects DragAndDrop(IDropTarget* target, IDataObject* data, DWORD offered) {
    const POINTL point{10, 10};
    Effects effects{offered, offered, offered};
    target->DragEnter(data, MK_LBUTTON, point, &effects[0]);
    target->DragOver(MK_LBUTTON, point, &effects[1]);
    target->Drop(data, 0, point, &effects[2]);
    return effects;
}
