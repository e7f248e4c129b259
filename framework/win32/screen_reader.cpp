#include "framework/win32/screen_reader.h"

// The GUIDs of the annotation service and its properties are defined in this file.
#include <initguid.h>
#include <oleacc.h>

namespace zembra::win32 {
namespace {

// UI Automation's live-setting property, which the annotation service carries too.
DEFINE_GUID(kLiveSettingProperty, 0xc12bcd8e, 0x2a8e, 0x4950, 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb);
constexpr LONG kAssertive = 2;

}  // namespace

ScreenReaderNames::ScreenReaderNames() : m_com(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    void* services = nullptr;
    if (SUCCEEDED(
            CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices, &services))) {
        m_services = static_cast<IAccPropServices*>(services);
    }
}

ScreenReaderNames::~ScreenReaderNames() {
    if (m_services != nullptr) m_services->Release();
    if (m_com) CoUninitialize();
}

void ScreenReaderNames::SetName(HWND control, const std::wstring& name, bool live) {
    if (m_services == nullptr || control == nullptr) return;
    m_services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, name.c_str());
    if (live) {
        VARIANT setting;
        VariantInit(&setting);
        setting.vt = VT_I4;
        setting.lVal = kAssertive;
        m_services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kLiveSettingProperty, setting);
    }
}

void ScreenReaderNames::Clear(HWND control) {
    if (m_services == nullptr || control == nullptr) return;
    MSAAPROPID properties[] = {PROPID_ACC_NAME, kLiveSettingProperty};
    m_services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, properties,
                               static_cast<int>(std::size(properties)));
}

void ScreenReaderNames::AnnounceChange(HWND control) {
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace zembra::win32
