#pragma once
// Takes the shell's file lists dropped onto a window and refuses every other kind
// of data with the no-drop pointer.

#include <windows.h>
#include <ole2.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class FileDropTarget : public IDropTarget {
public:
    // Adds the dropped paths; false when it took none (a command was running).
    using DropHandler = std::function<bool(const std::vector<std::wstring>& paths)>;
    // Whether a drop would be taken now.
    using Readiness = std::function<bool()>;
    // Starts with one reference, the creator's.
    FileDropTarget(DropHandler onDrop, Readiness ready)
        : onDrop_(std::move(onDrop)), ready_(std::move(ready)) {}

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
    // The effect to answer a source that allows the given ones: a copy where the
    // data holds files, the drop would be taken and the source allows copying,
    // otherwise none. Never a move or a link: a source told that its files were
    // moved deletes them.
    DWORD Answer(DWORD allowed) const;

    LONG references_ = 1;
    bool offersFiles_ = false;
    DropHandler onDrop_;
    Readiness ready_;
};

// The paths of a shell file list, in the drag source's order; empty when the data
// holds none.
std::vector<std::wstring> DroppedPaths(IDataObject* data);
// The paths of a DROPFILES block of the given size, read once from its start. A
// path the block ends inside of, and everything the header points past the
// block, is left out.
std::vector<std::wstring> DropFilesPaths(const void* block, std::size_t size);
