// The push-button face of the classic caption buttons. DrawFrameControl
// costs more than all the rest of a button, so each face is drawn once per
// size, look and system colours and its pixels copied from then on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace kz {

class ClassicButtonFace {
public:
    // As DrawFrameControl(dc, rect, DFC_BUTTON, face) draws it.
    void Draw(HDC dc, const RECT& rect, UINT face);

private:
    static constexpr int kColours = 5;
    static constexpr std::size_t kMaxFaces = 8;

    struct Key {
        int width = 0;
        int height = 0;
        UINT face = 0;
        COLORREF colours[kColours] = {};
        bool operator==(const Key& other) const;
    };
    // pixels stay empty when the face does not cover all of its rect: the
    // system then draws it each time.
    struct Face {
        Key key;
        std::vector<uint32_t> pixels;
    };

    static Key KeyOf(const RECT& rect, UINT face);
    const Face& FaceOf(const Key& key);

    std::vector<Face> faces_;
};

}  // namespace kz
