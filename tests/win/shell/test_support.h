#pragma once
// Helpers for the shell tests: hand-made item ID lists, a COM task allocator
// spy, a temporary folder tree and a base for small COM fakes.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <atomic>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace shell_test {

// True when running under Wine, whose shell differs from Windows in places.
bool RunningOnWine();

// Whether the program takes an item for a Control Panel item: its parsing
// name, asked of folder, against the Control Panel's mask.
bool IsControlPanelItem(IShellFolder* folder, LPCITEMIDLIST pidl);

// A list whose item IDs have the given counts (each at least 3), filled with
// non-zero data bytes, ended by the terminator.
std::vector<BYTE> MakeList(std::initializer_list<USHORT> counts, BYTE fill = 0x5A);
inline LPITEMIDLIST AsPidl(std::vector<BYTE>& bytes) { return reinterpret_cast<LPITEMIDLIST>(bytes.data()); }
std::vector<BYTE> Bytes(LPCITEMIDLIST pidl, size_t size);

// Reference counting for the COM fakes of the tests: one interface, freed
// with its last reference.
template <typename Interface>
class ComObject : public Interface {
public:
    virtual ~ComObject() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(Interface)) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

private:
    std::atomic<ULONG> refs_{1};
};

// Makes a fake with a reference count of one, owned by the ComPtr.
template <typename T, typename... Args>
Microsoft::WRL::ComPtr<T> MakeFake(Args&&... args) {
    Microsoft::WRL::ComPtr<T> p;
    p.Attach(new T(std::forward<Args>(args)...));
    return p;
}

// Watches the COM task allocator (which the shell allocator is) while it
// lives: which blocks were allocated and are not yet freed.
class MallocSpy : public ComObject<IMallocSpy> {
public:
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T cb) override { return cb; }
    void* STDMETHODCALLTYPE PostAlloc(void* p) override;
    void* STDMETHODCALLTYPE PreFree(void* p, BOOL) override;
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* p, SIZE_T cb, void** out, BOOL) override;
    void* STDMETHODCALLTYPE PostRealloc(void* p, BOOL) override;
    void* STDMETHODCALLTYPE PreGetSize(void* p, BOOL) override { return p; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T cb, BOOL) override { return cb; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* p, BOOL) override { return p; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

    int allocations = 0;
    int frees = 0;
    std::set<void*> outstanding;
};

// Registers a MallocSpy for the scope's length.
class MallocSpyScope {
public:
    MallocSpyScope();
    ~MallocSpyScope();
    MallocSpyScope(const MallocSpyScope&) = delete;
    MallocSpyScope& operator=(const MallocSpyScope&) = delete;
    bool registered() const { return registered_; }
    MallocSpy& spy() { return *spy_.Get(); }

private:
    Microsoft::WRL::ComPtr<MallocSpy> spy_;
    bool registered_ = false;
};

// A fresh folder tree under %TEMP%, removed with the object.
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::wstring& root() const { return root_; }
    std::wstring Path(const std::wstring& relative) const { return root_ + L"\\" + relative; }
    void AddFile(const std::wstring& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const;
    void AddFolder(const std::wstring& relative) const;

private:
    std::wstring root_;
};

}  // namespace shell_test
