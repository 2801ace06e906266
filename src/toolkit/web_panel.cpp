// The web panel: the system web-browser control hosted in a child window.
#include "toolkit/com_ptr.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/ui_objects.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <ocidl.h>
#include <oleidl.h>


namespace {

// How long a panel waits for a page to finish. A system without a working
// browser engine never finishes one, and the program must not hang on that.
constexpr DWORD pageWaitLimitMs = 3000;

// The client site, in-place site and frame, document-host handler and event sink
// of one browser, in one object.
class BrowserHost final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDocHostUIHandler,
                          public IDispatch {
public:
    explicit BrowserHost(HWND window) : window_(window) {}

    bool blockPopups = false;
    bool blockContextMenu = false;
    bool documentComplete = false;
    bool navigationFailed = false;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) *out = static_cast<IOleInPlaceFrame*>(this);
        else if (iid == IID_IDocHostUIHandler) *out = static_cast<IDocHostUIHandler*>(this);
        else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) *out = static_cast<IDispatch*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* out) override {
        *out = window_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        GetClientRect(window_, position);
        GetClientRect(window_, clip);
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(window_, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow / IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override { return E_NOTIMPL; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDocHostUIHandler: everything but the context menu is left to the browser.
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override {
        return blockContextMenu ? S_OK : S_FALSE;
    }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO*) override { return E_NOTIMPL; }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override {
        return S_FALSE;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExternal(IDispatch** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
        *out = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
        *out = nullptr;
        return S_FALSE;
    }

    // IDispatch: the browser's events.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        switch (id) {
            case DISPID_DOCUMENTCOMPLETE:
                documentComplete = true;
                break;
            case DISPID_NAVIGATEERROR:
                navigationFailed = true;
                break;
            case DISPID_BEFORENAVIGATE2:
                documentComplete = false;
                navigationFailed = false;
                break;
            case DISPID_NEWWINDOW2:
            case DISPID_NEWWINDOW3:
                // The Cancel argument is the second of NewWindow2 and of NewWindow3.
                if (blockPopups && params) {
                    UINT cancel = id == DISPID_NEWWINDOW2 ? 0 : params->cArgs - 2;
                    if (cancel < params->cArgs && params->rgvarg[cancel].vt == (VT_BYREF | VT_BOOL))
                        *params->rgvarg[cancel].pboolVal = VARIANT_TRUE;
                }
                break;
            default: break;
        }
        return S_OK;
    }

private:
    ~BrowserHost() = default;

    LONG references_ = 1;
    HWND window_;
};

struct WebRecord {
    BrowserHost* host = nullptr;
    ComPtr<IOleObject> browserObject;
    ComPtr<IWebBrowser2> browser;
    ComPtr<IConnectionPoint> events;
    DWORD eventsCookie = 0;
    std::wstring requestedAddress;

    ~WebRecord() {
        if (events) events->Unadvise(eventsCookie);
        if (browserObject) {
            browserObject->Close(OLECLOSE_NOSAVE);
            browserObject->SetClientSite(nullptr);
        }
        browser.reset();
        browserObject.reset();
        if (host) host->Release();
        if (--ui().webPanels == 0) OleUninitialize();
    }
};


// Pumps messages until the page has loaded, failed, or the wait limit is up.
void waitForPage(WebRecord& record) {
    const DWORD start = GetTickCount();
    while (!record.host->documentComplete && !record.host->navigationFailed &&
           GetTickCount() - start < pageWaitLimitMs) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
}

void navigate(WebRecord& record, const std::wstring& address) {
    if (!record.browser) return;
    record.requestedAddress = address;
    BSTR url = SysAllocString(address.c_str());
    VARIANT empty;
    VariantInit(&empty);
    record.host->documentComplete = false;
    record.host->navigationFailed = false;
    record.browser->Navigate(url, &empty, &empty, &empty, &empty);
    SysFreeString(url);
}

// Replaces the document with the HTML text. A byte-order mark tells the browser
// the text is UTF-8, so names in any script show as they are.
void loadHtml(WebRecord& record, const std::wstring& html) {
    if (!record.browser) return;
    ComPtr<IDispatch> document;
    if (FAILED(record.browser->get_Document(document.put())) || !document) return;
    auto persist = document.query<IPersistStreamInit>(IID_IPersistStreamInit);
    if (!persist) return;

    int length = WideCharToMultiByte(CP_UTF8, 0, html.c_str(), static_cast<int>(html.size()), nullptr, 0, nullptr, nullptr);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length) + 3);
    if (!memory) return;
    auto* bytes = static_cast<char*>(GlobalLock(memory));
    bytes[0] = '\xEF';
    bytes[1] = '\xBB';
    bytes[2] = '\xBF';
    WideCharToMultiByte(CP_UTF8, 0, html.c_str(), static_cast<int>(html.size()), bytes + 3, length, nullptr, nullptr);
    GlobalUnlock(memory);
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, stream.put()))) {
        GlobalFree(memory);
        return;
    }
    if (SUCCEEDED(persist->InitNew())) persist->Load(stream.get());
}

class WebPanel final : public Control {
public:
    explicit WebPanel(std::unique_ptr<WebRecord> record) : Control(kindWebPanel), record_(std::move(record)) {}

    WebRecord& record() { return *record_; }

    void setText(const std::wstring& address) override { navigate(*record_, address); }
    // The address the panel was last sent to.
    std::wstring text() override { return record_->requestedAddress; }
    void setItemText(int item, const std::wstring& html, int) override {
        if (item == 1) loadHtml(*record_, html);
    }

    void setAttribute(int attribute, long long value) override {
        WebRecord& record = *record_;
        if (attribute == webBlockPopups) record.host->blockPopups = value != 0;
        if (attribute == webBlockContextMenu) record.host->blockContextMenu = value != 0;
        if (attribute == webSilent && record.browser) record.browser->put_Silent(value ? VARIANT_TRUE : VARIANT_FALSE);
    }

    long long attribute(int attribute) override {
        WebRecord& record = *record_;
        if (attribute == webBlockPopups) return record.host->blockPopups;
        if (attribute == webBlockContextMenu) return record.host->blockContextMenu;
        VARIANT_BOOL flag = VARIANT_FALSE;
        if (attribute == webSilent) return record.browser && SUCCEEDED(record.browser->get_Silent(&flag)) && flag;
        if (attribute == webBusy) return record.browser && SUCCEEDED(record.browser->get_Busy(&flag)) && flag;
        return 0;
    }

    bool message(UINT message, WPARAM, LPARAM, LRESULT&) override {
        if (message == WM_SIZE)
            if (auto inPlace = record_->browserObject.query<IOleInPlaceObject>(IID_IOleInPlaceObject)) {
                RECT area;
                GetClientRect(hwnd, &area);
                inPlace->SetObjectRects(&area, &area);
            }
        return false;
    }

    void focusPage() override {
        if (!record_->browser) return;
        ComPtr<IDispatch> document;
        if (FAILED(record_->browser->get_Document(document.put())) || !document) return;
        auto html = document.query<IHTMLDocument2>(IID_IHTMLDocument2);
        if (!html) return;
        ComPtr<IHTMLWindow2> window;
        if (SUCCEEDED(html->get_parentWindow(window.put())) && window) window->focus();
    }

    bool offerKey(MSG& message) override {
        auto active = record_->browser.query<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
        return active && active->TranslateAccelerator(&message) == S_OK;
    }

private:
    // Closed (the browser first) while the panel's window still exists.
    std::unique_ptr<WebRecord> record_;
};

bool registerHostClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"RavlekWebPanel";
    return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool embedBrowser(Control& c, WebRecord& record) {
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                record.browserObject.putVoid())))
        return false;
    if (FAILED(record.browserObject->SetClientSite(record.host))) return false;
    RECT area;
    GetClientRect(c.hwnd, &area);
    if (FAILED(record.browserObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, record.host, 0, c.hwnd, &area)))
        return false;
    record.browser = record.browserObject.query<IWebBrowser2>(IID_IWebBrowser2);
    if (!record.browser) return false;
    if (auto points = record.browserObject.query<IConnectionPointContainer>(IID_IConnectionPointContainer))
        if (SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, record.events.put())))
            record.events->Advise(static_cast<IDispatch*>(record.host), &record.eventsCookie);
    return true;
}

}  // namespace

std::intptr_t WebPanelCreate(int number, int x, int y, int width, int height, const std::wstring& address) {
    UiState& state = ui();
    if (!registerHostClass()) return 0;
    if (state.webPanels == 0 && FAILED(OleInitialize(nullptr))) return 0;
    ++state.webPanels;  // the record's destructor takes it back
    auto panel = std::make_unique<WebPanel>(std::make_unique<WebRecord>());
    WebRecord& web = panel->record();
    Control* control = createControl(number, std::move(panel), L"RavlekWebPanel", WS_CLIPCHILDREN | WS_TABSTOP, 0, x,
                                     y, width, height, L"");
    if (!control) return 0;
    web.host = new BrowserHost(control->hwnd);
    if (!embedBrowser(*control, web)) {
        ControlDestroy(control->number);
        return 0;
    }
    // The browser, for code that meets the system itself (tests that inspect it).
    SetWindowLongPtrW(control->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(web.browser.get()));

    // Start from a blank document so that HTML can be loaded before any navigation.
    navigate(web, L"about:blank");
    waitForPage(web);
    if (!address.empty()) navigate(web, address);
    return createdResult(number, control);
}

bool webPanelTranslate(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    for (HWND hwnd = message.hwnd; hwnd; hwnd = GetParent(hwnd)) {
        Control* control = controlOfWindow(hwnd);
        if (!control) continue;
        return control->offerKey(message);
    }
    return false;
}
