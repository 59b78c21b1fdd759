// A stand-in for the platform's audio device API, which the output-volume cases put in place of
// Wine's in the session's prefix: Wine 8's endpoint volume starts at full level in each object
// and sets nothing. The default console render endpoint's volume here is one mute flag and one
// level in thousandths, kept in the registry where the test sets and reads them, and each call
// on it is logged to the file the test names. Everything else is Wine's own DLL, copied beside
// this one as mmdevreal.dll, so the tone is still heard; callers in the Windows folder (the
// platform's player) get its objects untouched.
#include <windows.h>

#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <cmath>
#include <cstdio>

#ifdef _MSC_VER
#include <intrin.h>
#define CALLER _ReturnAddress()
#else
#define CALLER __builtin_return_address(0)
#endif
#define METHOD HRESULT STDMETHODCALLTYPE

namespace {

char const Key[] = "Software\\VexoTest\\Output";

DWORD Read(const char* name)
{
    DWORD value = 0, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, Key, name, RRF_RT_REG_DWORD, NULL, &value, &size);
    return value;
}

// Logs the call and answers as the test asks: E_FAIL while "Refuse" is 1.
HRESULT Answer(const char* call, double value)
{
    char path[MAX_PATH];
    DWORD size = sizeof path;
    FILE* log = NULL;
    if (RegGetValueA(HKEY_CURRENT_USER, Key, "Log", RRF_RT_REG_SZ, NULL, path, &size) == ERROR_SUCCESS &&
        (log = fopen(path, "a")) != NULL) {
        fprintf(log, "%s %.3f\n", call, value);
        fclose(log);
    }
    return Read("Refuse") == 1 ? E_FAIL : S_OK;
}

HRESULT Store(const char* call, const char* name, double value, DWORD stored)
{
    HRESULT result = Answer(call, value);
    if (SUCCEEDED(result)) RegSetKeyValueA(HKEY_CURRENT_USER, Key, name, REG_DWORD, &stored, sizeof stored);
    return result;
}

bool FromWindowsFolder(void* address)
{
    HMODULE module;
    char path[MAX_PATH], windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCSTR>(address), &module) &&
           GetModuleFileNameA(module, path, MAX_PATH) && _strnicmp(path, windows, length) == 0;
}

// Reference counting, and the interface itself or the real object's answer to QueryInterface;
// real is the object of Wine's that this one wraps, NULL for the stand-in's own volume.
template <class Interface> struct Object : Interface {
    LONG references = 1;
    Interface* real;
    explicit Object(Interface* wrapped) : real(wrapped) {}
    virtual ~Object()
    {
        if (real) real->Release();
    }
    METHOD QueryInterface(REFIID iid, void** out) override
    {
        if (iid != __uuidof(IUnknown) && iid != __uuidof(Interface))
            return real ? real->QueryInterface(iid, out) : (*out = NULL, E_NOINTERFACE);
        *out = this;
        this->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&references);
        if (left == 0) delete this;
        return left;
    }
};

struct Volume : Object<IAudioEndpointVolume> {
    Volume() : Object(NULL) {}
    METHOD RegisterControlChangeNotify(IAudioEndpointVolumeCallback*) override { return S_OK; }
    METHOD UnregisterControlChangeNotify(IAudioEndpointVolumeCallback*) override { return S_OK; }
    METHOD GetChannelCount(UINT* count) override { return *count = 2, S_OK; }
    METHOD SetMasterVolumeLevel(float, LPCGUID) override { return E_NOTIMPL; }
    METHOD SetMasterVolumeLevelScalar(float level, LPCGUID) override
    {
        return Store("SetMasterVolumeLevelScalar", "Level", level, static_cast<DWORD>(std::lround(level * 1000)));
    }
    METHOD GetMasterVolumeLevel(float*) override { return E_NOTIMPL; }
    METHOD GetMasterVolumeLevelScalar(float* level) override
    {
        *level = static_cast<float>(Read("Level")) / 1000;
        return Answer("GetMasterVolumeLevelScalar", *level);
    }
    METHOD SetChannelVolumeLevel(UINT, float, LPCGUID) override { return E_NOTIMPL; }
    METHOD SetChannelVolumeLevelScalar(UINT, float, LPCGUID) override { return E_NOTIMPL; }
    METHOD GetChannelVolumeLevel(UINT, float*) override { return E_NOTIMPL; }
    METHOD GetChannelVolumeLevelScalar(UINT, float*) override { return E_NOTIMPL; }
    METHOD SetMute(BOOL muted, LPCGUID) override { return Store("SetMute", "Muted", muted, muted != FALSE); }
    METHOD GetMute(BOOL* muted) override
    {
        *muted = Read("Muted") == 1;
        return Answer("GetMute", *muted);
    }
    METHOD GetVolumeStepInfo(UINT*, UINT*) override { return E_NOTIMPL; }
    METHOD VolumeStepUp(LPCGUID) override { return E_NOTIMPL; }
    METHOD VolumeStepDown(LPCGUID) override { return E_NOTIMPL; }
    METHOD QueryHardwareSupport(DWORD* mask) override { return *mask = 0, S_OK; }
    METHOD GetVolumeRange(float*, float*, float*) override { return E_NOTIMPL; }
};

struct Device : Object<IMMDevice> {
    using Object::Object;
    METHOD Activate(REFIID iid, DWORD context, PROPVARIANT* parameters, void** out) override
    {
        if (iid != __uuidof(IAudioEndpointVolume)) return real->Activate(iid, context, parameters, out);
        *out = static_cast<IAudioEndpointVolume*>(new Volume);
        return Answer("Activate IAudioEndpointVolume", 0);
    }
    METHOD OpenPropertyStore(DWORD access, IPropertyStore** store) override
    {
        return real->OpenPropertyStore(access, store);
    }
    METHOD GetId(LPWSTR* id) override { return real->GetId(id); }
    METHOD GetState(DWORD* state) override { return real->GetState(state); }
};

struct Devices : Object<IMMDeviceEnumerator> {
    using Object::Object;
    METHOD EnumAudioEndpoints(EDataFlow flow, DWORD mask, IMMDeviceCollection** found) override
    {
        return real->EnumAudioEndpoints(flow, mask, found);
    }
    METHOD GetDefaultAudioEndpoint(EDataFlow flow, ERole role, IMMDevice** device) override
    {
        HRESULT result = real->GetDefaultAudioEndpoint(flow, role, device);
        if (SUCCEEDED(result) && flow == eRender && role == eConsole && !FromWindowsFolder(CALLER))
            *device = new Device(*device);
        return result;
    }
    METHOD GetDevice(LPCWSTR id, IMMDevice** device) override { return real->GetDevice(id, device); }
    METHOD RegisterEndpointNotificationCallback(IMMNotificationClient* client) override
    {
        return real->RegisterEndpointNotificationCallback(client);
    }
    METHOD UnregisterEndpointNotificationCallback(IMMNotificationClient* client) override
    {
        return real->UnregisterEndpointNotificationCallback(client);
    }
};

struct Factory : Object<IClassFactory> {
    using Object::Object;
    METHOD CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        IMMDeviceEnumerator* devices;
        HRESULT result = real->CreateInstance(outer, __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&devices));
        if (FAILED(result)) return result;
        Devices* wrapped = new Devices(devices);
        result = wrapped->QueryInterface(iid, out);
        wrapped->Release();
        return result;
    }
    METHOD LockServer(BOOL lock) override { return real->LockServer(lock); }
};

}  // namespace

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    typedef HRESULT(WINAPI * GetClassObject)(REFCLSID, REFIID, void**);
    GetClassObject real = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("mmdevreal.dll"), "DllGetClassObject")));
    if (real == NULL) return CLASS_E_CLASSNOTAVAILABLE;
    if (clsid != __uuidof(MMDeviceEnumerator)) return real(clsid, iid, out);
    IClassFactory* factory;
    HRESULT result = real(clsid, __uuidof(IClassFactory), reinterpret_cast<void**>(&factory));
    if (FAILED(result)) return result;
    Factory* wrapped = new Factory(factory);
    result = wrapped->QueryInterface(iid, out);
    wrapped->Release();
    return result;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return S_FALSE;
}
