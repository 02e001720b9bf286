#include "framework/draw/Bitmap.h"

#include "framework/draw/Display.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/ResourceId.h"

namespace {

HINSTANCE ProgramInstance()
{
    return TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr);
}

// A resource library loaded for one bitmap and freed again.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const char* file) : module_(file ? LoadLibraryA(file) : nullptr) {}
    ~LoadedLibrary()
    {
        if (Loaded())
            FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    bool Loaded() const { return reinterpret_cast<UINT_PTR>(module_) >= 33; }
    HMODULE Module() const { return module_; }

private:
    HMODULE module_;
};

} // namespace

Bitmap::Bitmap(Display& display, int width, int height)
{
    if (display.DeviceContext())
        handle_ = CreateCompatibleBitmap(display.DeviceContext(), width, height);
}

Bitmap::Bitmap(const ResourceId& resource)
{
    const char* library = resource.Library();
    if (resource.Module()) {
        handle_ = LoadBitmapA(resource.Module(), resource.NameOrId());
        return;
    }
    if (library && library != ResourceId::ProgramItself) {
        LoadedLibrary loaded(library);
        if (loaded.Loaded()) {
            handle_ = LoadBitmapA(loaded.Module(), resource.NameOrId());
            return;
        }
    }
    handle_ = LoadBitmapA(ProgramInstance(), resource.NameOrId());
}

Bitmap::Bitmap(HBITMAP handle)
{
    handle_ = handle;
}

SIZE Bitmap::Size() const
{
    BITMAP info{};
    if (!handle_ || !GetObjectA(handle_, sizeof info, &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}
