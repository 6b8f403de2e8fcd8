#include "ui/controls/styled_label_look.h"

namespace pellion {

DrawList LabelLook(const LabelLookInput& in, SystemColorSource system) {
    DrawList list;
    if (!in.transparent && in.color != clNone)
        list.Fill(Rect{0, 0, in.width, in.height}, ResolveColor(in.color, system));
    list.Text(0, 0, ResolveColor(in.fontColor, system));
    return list;
}

}  // namespace pellion
