#pragma once
// Takes the shell's file lists dropped onto a window and refuses every other kind
// of data with the no-drop pointer.

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

class FileDropTarget : public IDropTarget {
public:
    using DropHandler = std::function<void(const std::vector<std::wstring>& paths)>;
    // Starts with one reference, the creator's.
    explicit FileDropTarget(DropHandler onDrop) : onDrop_(std::move(onDrop)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                   DWORD* effect) override;

private:
    virtual ~FileDropTarget() = default;

    LONG references_ = 1;
    bool offersFiles_ = false;
    DropHandler onDrop_;
};

// The effect a drag over the list may have: a copy where the data holds files and
// the source allows copying, otherwise none.
DWORD FileDropEffect(IDataObject* data, DWORD allowed);
// The paths of a shell file list, in the drag source's order; empty when the data
// holds none.
std::vector<std::wstring> DroppedPaths(IDataObject* data);
