#include "model/ViewRequest.h"

#include <gtest/gtest.h>
#include <tuple>

namespace talvo {
namespace {

// The window and the picture a view asks for, at zooms below, at and above 1, scrolled into the
// map, over its edge and before it.
TEST(ViewRequest, TheCellsInViewAndTheirDetail) {
    struct TCase {
        TViewArea Area;
        int32_t Margin;
        TViewRequest Expected;
    };
    const TCase Cases[] = {
        // The whole map at 1/128: 781 × 781 pixels of 128 cells, centred in the view.
        {{1.0 / 128, -172, -15, 1125, 750}, 0, {{0, 0, 99968, 94080}, 781, 735, 128}},
        // At 1/4 from pixel 1000, 300, the margin added: cells from 4 × 744, 4 × 44.
        {{0.25, 1000, 300, 1125, 750}, 256, {{2976, 176, 6548, 5048}, 1637, 1262, 4}},
        // At x 2 over the right edge: the cells in view, one pixel each.
        {{2.0, 199000, 11, 1125, 750}, 0, {{99500, 5, 500, 376}, 500, 376, 1}},
    };
    for (const TCase& Case : Cases) {
        const std::optional<TViewRequest> Request =
            ViewRequest(100000, 100000, Case.Area, Case.Margin);
        ASSERT_TRUE(Request);
        const TCellWindow& W = Request->Window;
        const TCellWindow& E = Case.Expected.Window;
        EXPECT_EQ(std::tuple(W.Col, W.Row, W.Cols, W.Rows, Request->Cols, Request->Rows,
                             Request->CellsPerPixel),
                  std::tuple(E.Col, E.Row, E.Cols, E.Rows, Case.Expected.Cols, Case.Expected.Rows,
                             Case.Expected.CellsPerPixel));
    }
    EXPECT_FALSE(ViewRequest(100000, 100000, {1.0, 100000, 0, 1125, 750}, 0));
}

} // namespace
} // namespace talvo
