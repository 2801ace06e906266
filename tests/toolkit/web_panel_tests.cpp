#include "toolkit/controls.h"
#include "toolkit/window.h"
#include "toolkit/native.h"

#include "support/gui.h"

#include <gtest/gtest.h>

#include <exdisp.h>

namespace {

class WebPanel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(WindowOpen(1, 0, 0, 600, 400, L"web", windowCentered | WS_CAPTION | WS_SYSMENU), 0);
    }
    void TearDown() override { WindowClose(1); }
};

DWORD millisecondsOf(void (*work)()) {
    const DWORD start = GetTickCount();
    work();
    return GetTickCount() - start;
}

}  // namespace

// Without a working browser engine (Wine without its engine) no page ever
// finishes; every call must still come back within its bound.
TEST_F(WebPanel, CreatesLoadsAndNavigatesWithoutHanging) {
    DWORD created = millisecondsOf([] { ASSERT_NE(WebPanelCreate(23, 10, 10, 560, 300, L""), 0); });
    EXPECT_LT(created, 5000u);
    ASSERT_EQ(ControlKindOf(23), kindWebPanel);

    HWND host = ControlNativeHandle(23);
    auto* browser = reinterpret_cast<IWebBrowser2*>(GetWindowLongPtrW(host, GWLP_USERDATA));
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->put_Silent(VARIANT_TRUE), S_OK);

    ControlSetAttribute(23, 1, 1);
    ControlSetAttribute(23, 2, 1);
    EXPECT_EQ(ControlAttribute(23, 1), 1);
    EXPECT_EQ(ControlAttribute(23, 2), 1);

    EXPECT_LT(millisecondsOf([] { ControlSetItemText(23, 1, L"<html><body>Searching \u00e9t\u00e9…</body></html>"); }),
              3000u);
    EXPECT_LT(millisecondsOf([] { ControlSetText(23, L"http://127.0.0.1:9/search?q=\"x\""); }), 3000u);
    drainEvents(300);
    EXPECT_LT(millisecondsOf([] { ControlDestroy(23); }), 3000u);
    EXPECT_EQ(ControlNativeHandle(23), nullptr);
}

TEST_F(WebPanel, TwoPanelsOnTabsAndTheFocusMapsToThePanel) {
    TabPanelCreate(22, 10, 10, 560, 350);
    ControlAddItem(22, -1, L"one");
    ASSERT_NE(WebPanelCreate(23, 5, 5, 500, 250, L"about:blank"), 0);
    ControlAddItem(22, -1, L"two");
    ASSERT_NE(WebPanelCreate(24, 5, 5, 500, 250, L""), 0);
    ContainerEnd();
    ControlSetState(22, 1);
    SetForegroundWindow(WindowNativeHandle(1));
    drainEvents(100);
    SetFocus(ControlNativeHandle(24));
    EXPECT_EQ(ControlFocus(), 24);
    if (HWND inner = GetWindow(ControlNativeHandle(24), GW_CHILD)) {
        SetFocus(inner);
        EXPECT_EQ(ControlFocus(), 24) << "a window inside the browser answers for its panel";
    }
    ControlDestroy(22);
    EXPECT_EQ(ControlNativeHandle(23), nullptr);
}
