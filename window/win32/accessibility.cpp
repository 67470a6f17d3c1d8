#include "accessibility.h"

#include <initguid.h>  // defines the annotation GUIDs used here
#include <oleacc.h>
#include <oleauto.h>

#include <string>

#include "control_table.h"
#include "dpi.h"
#include "text.h"

namespace quorvane::win32 {
namespace {

// UiaRaiseNotificationEvent and what it takes, which MinGW does not declare; looked up at run
// time, so that the program runs where it is missing.
enum NotificationKind { NotificationKind_ActionCompleted = 2 };
enum NotificationProcessing {
    NotificationProcessing_ImportantAll = 0,
    NotificationProcessing_MostRecent = 3
};
using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IUnknown**);
using RaiseNotificationEvent = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);

struct Uia {
    HostProviderFromHwnd hostProvider = nullptr;
    RaiseNotificationEvent raiseNotification = nullptr;
};

const Uia& UiaCalls() {
    static const Uia calls = [] {
        HMODULE core = LoadSystemLibrary(L"uiautomationcore.dll");
        return Uia{Lookup<HostProviderFromHwnd>(core, "UiaHostProviderFromHwnd"),
                   Lookup<RaiseNotificationEvent>(core, "UiaRaiseNotificationEvent")};
    }();
    return calls;
}

const MSAAPROPID kAnnotated[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};

}  // namespace

Annotations::Annotations() {
    CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                     reinterpret_cast<void**>(&services_));
}

Annotations::~Annotations() {
    if (services_) services_->Release();
}

void Annotations::Describe(HWND control, const ControlEntry& entry) {
    if (!services_) return;
    if (entry.accessibleName)
        services_->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                                  Widen(entry.accessibleName).c_str());
    if (entry.description)
        services_->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF,
                                  PROPID_ACC_DESCRIPTION, Widen(entry.description).c_str());
}

void Annotations::Clear(HWND control) {
    if (services_)
        services_->ClearHwndProps(control, DWORD(OBJID_CLIENT), CHILDID_SELF, kAnnotated,
                                  int(std::size(kAnnotated)));
}

void ScreenReaders::Say(HWND window, std::wstring_view text, bool urgent) {
    const Uia& uia = UiaCalls();
    IUnknown* provider = nullptr;
    if (!uia.hostProvider || !uia.raiseNotification ||
        FAILED(uia.hostProvider(window, &provider)) || !provider)
        return;
    BSTR words = SysAllocStringLen(text.data(), UINT(text.size()));
    BSTR activity = SysAllocString(urgent ? L"Quorvane.Refusal" : L"Quorvane.Power");
    uia.raiseNotification(
        provider, NotificationKind_ActionCompleted,
        urgent ? NotificationProcessing_ImportantAll : NotificationProcessing_MostRecent, words,
        activity);
    SysFreeString(words);
    SysFreeString(activity);
    provider->Release();
}

void ScreenReaders::TellFocus(HWND control) {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, control, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace quorvane::win32
