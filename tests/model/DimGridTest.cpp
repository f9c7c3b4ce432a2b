#include "model/DimGrid.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

// The exception's message, or "" when Action raises nothing.
template <typename F> std::string DimMessage(F Action) {
    try {
        Action();
    } catch (const EDimError& Error) {
        return Error.what();
    }
    return "";
}

void Fill(TDelDim& Grid) {
    for (int32_t R = 0; R < Grid.Rows(); ++R) {
        for (int32_t C = 0; C < Grid.Cols(); ++C) {
            Grid.SetVal(R, C, 100 * (R + 1) + C);
        }
    }
}

TEST(DimGrid, NewGridIsEmptyAndSetDimMakesZeros) {
    TDelDim Grid;
    EXPECT_EQ(Grid.Rows(), 0);
    EXPECT_EQ(Grid.Cols(), 0);
    EXPECT_EQ(Grid.ElemSize(), 0);
    EXPECT_EQ(Grid.MaxRow(), 0u);
    Grid.SetDim(1, 1);
    EXPECT_EQ(Grid.ElemSize(), 4);
    EXPECT_EQ(Grid.GetVal(0, 0), 0);

    TSDelDim Short;
    Short.SetDim(2, 3);
    EXPECT_EQ(Short.ElemSize(), 2);
    EXPECT_EQ(Short.MaxRow(), 1u);
    EXPECT_EQ(Short.MaxCol(), 2u);
}

TEST(DimGrid, FailuresKeepWhatTheySay) {
    TDelDim Grid;
    Grid.SetDim(2, 2);
    Fill(Grid);
    EXPECT_EQ(DimMessage([&] { Grid.SetDim(3, 3); }), "Dimension Is Allready Exist");
    EXPECT_EQ(Grid.Rows(), 2);
    EXPECT_EQ(Grid.GetVal(1, 1), 201);

    EXPECT_EQ(DimMessage([&] { Grid.ReDim(5, 0, false); }), "Invalid Index Value");
    EXPECT_EQ(DimMessage([&] { Grid.ReDim(0, 5, true); }), "Invalid Index Value");
    EXPECT_EQ(Grid.Cols(), 2);
    EXPECT_EQ(Grid.GetVal(1, 0), 200);

    TDelDim Empty;
    EXPECT_EQ(DimMessage([&] { Empty.SetDim(0, 5); }), "Invalid Index Value");
    EXPECT_EQ(Empty.Rows(), 0);
    EXPECT_EQ(DimMessage([&] { Empty.ReDim(2, 2, true); }), "Memory Allocation Faild");
    EXPECT_EQ(Empty.Rows(), 0);
}

TEST(DimGrid, SizesBeyond32BitsRaiseOverflowAndLeaveTheGridEmpty) {
    TDelDim Grid;
    EXPECT_THROW(Grid.SetDim(70000, 70000), EIntOverflow);
    EXPECT_EQ(Grid.Rows(), 0);
    Grid.SetDim(1, 1);
    EXPECT_THROW(Grid.ReDim(70000, 70000, true), EIntOverflow);
    EXPECT_EQ(Grid.Rows(), 1);
}

TEST(DimGrid, ReDimWithoutKeepZeroes) {
    TDelDim Grid;
    Grid.SetDim(2, 2);
    Fill(Grid);
    Grid.ReDim(3, 4, false);
    EXPECT_EQ(Grid.Rows(), 3);
    EXPECT_EQ(Grid.Cols(), 4);
    for (int32_t R = 0; R < 3; ++R) {
        for (int32_t C = 0; C < 4; ++C) {
            EXPECT_EQ(Grid.GetVal(R, C), 0);
        }
    }
}

TEST(DimGrid, ReDimWithKeepCopiesTheOverlap) {
    TDelDim Narrow;
    Narrow.SetDim(3, 4);
    Fill(Narrow);
    Narrow.ReDim(2, 6, true);
    for (int32_t R = 0; R < 2; ++R) {
        for (int32_t C = 0; C < 6; ++C) {
            EXPECT_EQ(Narrow.GetVal(R, C), C < 4 ? 100 * (R + 1) + C : 0) << R << "," << C;
        }
    }

    TDelDim Grow;
    Grow.SetDim(2, 2);
    Fill(Grow);
    Grow.ReDim(4, 4, true);
    for (int32_t R = 0; R < 4; ++R) {
        for (int32_t C = 0; C < 4; ++C) {
            EXPECT_EQ(Grow.GetVal(R, C), R < 2 && C < 2 ? 100 * (R + 1) + C : 0) << R << "," << C;
        }
    }
}

TEST(DimGrid, IndexChecksReportRowFirstWithTheIndexGiven) {
    TDelDim Grid;
    Grid.SetDim(2, 5);
    Grid.SetVal(1, 4, 42);
    EXPECT_EQ(Grid.GetVal(1, 4), 42);
    EXPECT_EQ(DimMessage([&] { Grid.GetVal(2, 7); }), "1-Index Is Over Range(2)");
    EXPECT_EQ(DimMessage([&] { Grid.GetVal(1, 5); }), "2-Index Is Over Range(5)");
    EXPECT_EQ(DimMessage([&] { Grid.GetVal(-1, 0); }), "1-Index Is Over Range(-1)");
    EXPECT_EQ(DimMessage([&] { Grid.SetVal(0, -3, 1); }), "2-Index Is Over Range(-3)");
}

TEST(DimGrid, EmptyGridRefusesEveryAccess) {
    TDelDim Grid;
    EXPECT_EQ(DimMessage([&] { Grid.GetVal(0, 0); }), "1-Index Is Over Range(0)");
    TSDelDim Short;
    Short.SetDim(1, 1);
    Short.ClearDim();
    EXPECT_EQ(DimMessage([&] { Short.SetVal(0, 0, 1); }), "1-Index Is Over Range(0)");
    TVertexGrid Vectors;
    EXPECT_EQ(DimMessage([&] { Vectors.GetVal(0, 0); }), "1-Index Is Over Range(0)");
}

TEST(DimGrid, ShortGridKeepsLow16Bits) {
    TSDelDim Grid;
    Grid.SetDim(1, 3);
    int32_t Wide = 70000;
    Grid.SetVal(0, 0, Wide);
    EXPECT_EQ(Grid.GetVal(0, 0), 4464);
    Grid.SetVal(0, 1, -32768);
    EXPECT_EQ(Grid.GetVal(0, 1), -32768);
    Grid.SetVal(0, 2, -1);
    EXPECT_EQ(Grid.GetVal(0, 2), -1);
}

TEST(DimGrid, VectorGridStoresAllThreeComponents) {
    TVertexGrid Grid;
    Grid.SetDim(2, 4);
    EXPECT_EQ(Grid.ElemSize(), 12);
    Grid.SetVal(0, 3, {1.5f, -2.25f, 1e6f});
    TVertex Read = Grid.GetVal(0, 3);
    EXPECT_EQ(Read.x, 1.5f);
    EXPECT_EQ(Read.y, -2.25f);
    EXPECT_EQ(Read.z, 1e6f);
    TVertex Unwritten = Grid.GetVal(1, 3);
    EXPECT_EQ(Unwritten.x, 0.0f);
    EXPECT_EQ(Unwritten.y, 0.0f);
    EXPECT_EQ(Unwritten.z, 0.0f);
}

} // namespace
} // namespace talvo
