// Names for screen readers through the accessibility annotation service.
#include "support/annotation.h"

// Defines the service's class, interface and property ids in this file; the
// program links no library of the service, which COM loads when asked.
#include <initguid.h>

#include <oleacc.h>

namespace {

// The service for this thread's apartment, or NULL; the caller releases it.
IAccPropServices* OpenAnnotations()
{
    IAccPropServices* services = NULL;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, NULL, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&services))))
        return NULL;
    return services;
}

}  // namespace

void AnnotateName(HWND control, const char* name)
{
    IAccPropServices* services = OpenAnnotations();
    if (services == NULL) return;
    // The service takes text in UTF-16 only.
    wchar_t wide[256];
    if (MultiByteToWideChar(CP_ACP, 0, name, -1, wide, sizeof wide / sizeof wide[0]) > 0)
        services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, wide);
    services->Release();
}

void ClearAnnotatedName(HWND control)
{
    IAccPropServices* services = OpenAnnotations();
    if (services == NULL) return;
    services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &PROPID_ACC_NAME, 1);
    services->Release();
}
