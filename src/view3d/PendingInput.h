#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "view3d/ViewScene.h"

namespace talvo {

// The keys and drag moves that arrived since the last frame, held until a frame applies them all
// at once: a view that draws one frame a second turns by the 240 key presses of a held arrow key
// in its next frame, instead of replaying them a frame each for four minutes.
class TPendingInput {
  public:
    // A key pressed: a run of the same key is kept as one key pressed so many times.
    void Key(TViewScene::TKey Key);
    // The pointer at X, Y during a drag: only where it came last matters.
    void Drag(int X, int Y);
    bool Empty() const { return Keys.empty() && !DragTo; }
    // Everything pending, applied to View in the order it came (the drag last), and forgotten.
    void ApplyTo(TViewScene& View);

  private:
    std::vector<std::pair<TViewScene::TKey, int>> Keys;
    std::optional<std::pair<int, int>> DragTo;
};

} // namespace talvo
