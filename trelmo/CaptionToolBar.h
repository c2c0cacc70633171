// The handler that puts the added buttons into a window's caption. The styles
// derive from it and decide the metrics and the painting.
#pragma once

#include "WindowHandler.h"

namespace kz {

class HookedWindow;

class CaptionToolBar : public WindowHandler {
public:
    explicit CaptionToolBar(HookedWindow& record) : record_(record) {}
    LRESULT OnMessage(UINT, WPARAM*, LPARAM*) override { return 0; }
    LRESULT AfterMessage(UINT, WPARAM, LPARAM) override { return 0; }

protected:
    HookedWindow& record_;
};

}  // namespace kz
