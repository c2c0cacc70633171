// Names the whole host program shows or shares.
#pragma once

namespace kz {

// The application title: caption of every message box, tip of the host's
// tray icons, title of its balloon tips and of its main window.
constexpr wchar_t kApplicationTitle[] = L"Barquill";

// The class of the host's main window, by which other programs find it.
constexpr wchar_t kMainWindowClass[] = L"TTQuorvane_Invisible_Buttons";

// The product's web site, behind the About box's link and named by the
// missing-help message.
constexpr wchar_t kProductSite[] = L"http://quorvane.example/";
constexpr wchar_t kProductSiteCaption[] = L"quorvane.example";

}  // namespace kz
