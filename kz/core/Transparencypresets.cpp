#include "kz/core/Transparencypresets.h"

namespace kz {

int PresetToCheck(int percent) {
    if (percent % 5 != 0)
        percent += 5 - percent % 5;
    for (const TransparencyPreset& preset : kTransparencyPresets) {
        if (preset.tag == percent)
            return percent;
    }
    return 0;
}

}  // namespace kz
