#include "view3d/PendingInput.h"

namespace talvo {

void TPendingInput::Key(TViewScene::TKey Key) {
    if (!Keys.empty() && Keys.back().first == Key) {
        ++Keys.back().second;
    } else {
        Keys.emplace_back(Key, 1);
    }
}

void TPendingInput::Drag(int X, int Y) {
    DragTo = {X, Y};
}

void TPendingInput::ApplyTo(TViewScene& View) {
    for (const auto& [Key, Times] : Keys) {
        View.KeyDown(Key, Times);
    }
    if (DragTo) {
        View.MouseMove(DragTo->first, DragTo->second);
    }
    Keys.clear();
    DragTo.reset();
}

} // namespace talvo
