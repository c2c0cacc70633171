#include "kz/commands/Menupicture.h"

#include "kz/commands/Boxicon.h"

namespace kz {

namespace {

const MenuPicture* PictureOf(UINT controlType, ULONG_PTR itemData) {
    return controlType == ODT_MENU ? reinterpret_cast<const MenuPicture*>(itemData) : nullptr;
}

}  // namespace

MenuPicture MenuPictureOfIcon(HICON icon, int iconSize, int size) {
    MenuPicture picture;
    picture.icon = ResourceImageOfSize(icon, size);
    picture.size = picture.icon ? size : iconSize;
    if (!picture.icon)
        picture.icon.reset(icon ? ::CopyIcon(icon) : nullptr);
    return picture;
}

void SetItemPicture(MENUITEMINFOW& item, const MenuPicture& picture) {
    if (!picture.icon)
        return;
    item.fMask |= MIIM_BITMAP | MIIM_DATA;
    item.hbmpItem = HBMMENU_CALLBACK;
    item.dwItemData = reinterpret_cast<ULONG_PTR>(&picture);
}

bool MeasureMenuPicture(MEASUREITEMSTRUCT& measure) {
    const MenuPicture* picture = PictureOf(measure.CtlType, measure.itemData);
    if (!picture)
        return false;
    measure.itemWidth = static_cast<UINT>(picture->size);
    measure.itemHeight = static_cast<UINT>(picture->size);
    return true;
}

bool DrawMenuPicture(const DRAWITEMSTRUCT& draw) {
    const MenuPicture* picture = PictureOf(draw.CtlType, draw.itemData);
    if (!picture)
        return false;
    const int top = draw.rcItem.top + (draw.rcItem.bottom - draw.rcItem.top - picture->size) / 2;
    ::DrawIconEx(draw.hDC, draw.rcItem.left, top, picture->icon.get(), picture->size, picture->size, 0, nullptr,
                 DI_NORMAL);
    return true;
}

}  // namespace kz
