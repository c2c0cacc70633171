// The texts of the button kinds (tooltips and menu entries), loaded from the
// library's string resources once per process.
#pragma once

namespace kz {

// The text of a kind 1..9; an empty text for 10 and any other kind.
const wchar_t* ButtonKindText(int kind);

}  // namespace kz
