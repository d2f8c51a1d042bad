// SPDX-License-Identifier: Apache-2.0
// The drawing and rounding exports called as a foreign program calls them: the library is opened
// with dlopen, the routines found by name, and the device context is a QPainter on a QImage.

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

using GridFn = int (*)(void*, int, int, int, int, int, int, int, int);
using ResolutionFn = int (*)(void*);
using RectangleFn = int (*)(void*, int, int, int, int, unsigned int);
using CircleFn = int (*)(void*, int, int, int, unsigned int);
using FrameFn = int (*)(void*, int, int, int, int, unsigned int, int);
using RoundFn = int (*)(double);
using TextOutFn = int (*)(void*, int, const char*, int, int, int, int);

class Stavro {
  public:
    Stavro() : handle_(dlopen(STAVRO_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~Stavro() {
        if (handle_ != nullptr) {
            dlclose(handle_);
        }
    }
    Stavro(const Stavro&) = delete;
    Stavro& operator=(const Stavro&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    template <typename Fn> Fn get(const char* name) const {
        return reinterpret_cast<Fn>(dlsym(handle_, name));
    }

  private:
    void* handle_;
};

const QColor kWhite(255, 255, 255);
const QColor kLight(255, 251, 240);
const QColor kBlack(0, 0, 0);
const QColor kGrey(164, 164, 164);

class DrawingExports : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(library.loaded()) << dlerror();
        image.fill(kWhite);
        painter.begin(&image);
        // The caller's own objects, which every routine must leave in place.
        painter.setFont(QFont("Liberation Serif", 15));
        painter.setPen(QPen(QColor(0, 128, 0), 1));
        painter.setBrush(QBrush(QColor(10, 20, 30)));
    }
    void TearDown() override {
        if (painter.isActive()) {
            painter.end();
        }
    }
    // Checks that the caller's objects are still selected, then ends painting.
    const QImage& finish() {
        EXPECT_EQ(painter.font(), QFont("Liberation Serif", 15));
        EXPECT_EQ(painter.pen(), QPen(QColor(0, 128, 0), 1));
        EXPECT_EQ(painter.brush(), QBrush(QColor(10, 20, 30)));
        EXPECT_EQ(painter.backgroundMode(), Qt::TransparentMode);
        painter.end();
        return image;
    }
    // The x positions in row y whose pixel has the colour.
    std::vector<int> columnsWith(int y, const QColor& colour) const {
        std::vector<int> columns;
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                columns.push_back(x);
            }
        }
        return columns;
    }
    bool hasInk(int left, int top, int right, int bottom) const {
        for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y) {
            for (int x = std::max(0, left); x < std::min(right, image.width()); ++x) {
                if (image.pixelColor(x, y) != kWhite) {
                    return true;
                }
            }
        }
        return false;
    }

    Stavro library;
    QImage image{600, 300, QImage::Format_RGB32};
    QPainter painter;
};

TEST(StavroRound, OddAndEvenIntegerPartsRoundDifferently) {
    Stavro library;
    ASSERT_TRUE(library.loaded()) << dlerror();
    const auto round = library.get<RoundFn>("cDoRound");
    ASSERT_NE(round, nullptr);
    const struct {
        double value;
        int expected;
    } cases[] = {
        {2.5, 3},  {3.5, 4},        {2.49995, 3},     {3.49995, 3},      {2.4999, 2},
        {3.0, 3},  {0.0, 0},        {4.49991, 5},     {-2.7, -2},        {-3.5, -3},
        {-0.2, 0}, {1e12, INT_MAX}, {-1e12, INT_MIN}, {std::nan(""), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(round(c.value), c.expected) << c.value;
    }
}

TEST_F(DrawingExports, GridCountsItsValuesAndLabelsEachLine) {
    const auto grid = library.get<GridFn>("cDoBackgroundGrid");
    ASSERT_NE(grid, nullptr);
    const int entryHeight = QFontMetrics(painter.font()).height();
    EXPECT_EQ(grid(&painter, 50, 100, 400, 150, 0, 10, 5, 1), 100);
    finish();
    EXPECT_EQ(columnsWith(200, kBlack), (std::vector<int>{150, 250, 350}));
    // Lines run from y to y + height.
    EXPECT_EQ(image.pixelColor(150, 101), kBlack);
    EXPECT_EQ(image.pixelColor(150, 249), kBlack);
    EXPECT_EQ(image.pixelColor(150, 255), kWhite);
    // One label above each line, its top one entry-font line above y; nothing right of the last.
    const int labelTop = 100 - entryHeight;
    for (const int lineX : {150, 250, 350}) {
        EXPECT_TRUE(hasInk(lineX - 8, labelTop, lineX + 8, 100)) << lineX;
    }
    EXPECT_FALSE(hasInk(360, 0, 600, 300));
    EXPECT_FALSE(hasInk(0, 0, 140, 300));
}

TEST_F(DrawingExports, GridIsGreyUnlessBlackAndNeedsAPositiveStep) {
    const auto grid = library.get<GridFn>("cDoBackgroundGrid");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid(&painter, 0, 50, 300, 100, 1, 2, 1, 0), 100);
    EXPECT_EQ(grid(&painter, 0, 200, 300, 50, 0, 10, 0, 0), 0);
    EXPECT_EQ(grid(&painter, 0, 200, 300, 50, 0, 10, -5, 0), 0);
    finish();
    EXPECT_EQ(columnsWith(100, kGrey), (std::vector<int>{100, 200}));
    EXPECT_FALSE(hasInk(0, 160, 600, 300));
}

TEST_F(DrawingExports, RectangleAndCircleFillWithTheColourAndOutlineWithTheCallersPen) {
    const auto rectangle = library.get<RectangleFn>("DoPaintRectangle");
    const auto circle = library.get<CircleFn>("DoPaintCircle");
    ASSERT_NE(rectangle, nullptr);
    ASSERT_NE(circle, nullptr);
    // 0x00BBGGRR: 0x000000FF is red, 0x00FF0000 blue.
    EXPECT_EQ(rectangle(&painter, 10, 10, 40, 30, 0x000000FFu), 0);
    EXPECT_EQ(circle(&painter, 100, 10, 40, 0x00FF0000u), 0);
    finish();
    EXPECT_EQ(image.pixelColor(30, 25), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(10, 25), QColor(0, 128, 0)); // the caller's green pen
    EXPECT_EQ(image.pixelColor(49, 25), QColor(0, 128, 0));
    EXPECT_EQ(image.pixelColor(50, 25), kWhite);
    EXPECT_EQ(image.pixelColor(120, 30), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(101, 11), kWhite); // the corner of the square stays free
}

TEST_F(DrawingExports, FrameIsLightAlongTopAndLeftAndDarkAlongBottomAndRight) {
    const auto frame = library.get<FrameFn>("DoPaintFrame3D");
    ASSERT_NE(frame, nullptr);
    const QColor fill(0, 0, 200);
    // Depth 1 at x 50, depth 3 at x 250: both 100 wide, 60 high, top 100.
    EXPECT_EQ(frame(&painter, 50, 100, 100, 60, 0x00C80000u, 1), 0);
    EXPECT_EQ(frame(&painter, 250, 100, 100, 60, 0x00C80000u, 3), 0);
    finish();
    for (const int x : {50, 250}) {
        const int right = x + 100;
        EXPECT_EQ(image.pixelColor(x + 50, 130), fill) << x;
        EXPECT_EQ(image.pixelColor(x + 50, 100), kLight) << x; // top edge
        EXPECT_EQ(image.pixelColor(x, 130), kLight) << x;      // left edge
        EXPECT_EQ(image.pixelColor(x + 50, 160), kBlack) << x; // bottom edge
        EXPECT_EQ(image.pixelColor(right, 130), kBlack) << x;  // right edge
    }
    // Depth 1 stays on the frame's own edge; depth 3 reaches two pixels further out.
    EXPECT_EQ(image.pixelColor(100, 97), kWhite);
    EXPECT_EQ(image.pixelColor(47, 130), kWhite);
    EXPECT_EQ(image.pixelColor(100, 162), kWhite);
    EXPECT_EQ(image.pixelColor(152, 130), kWhite);
    EXPECT_EQ(image.pixelColor(300, 97), kLight);
    EXPECT_EQ(image.pixelColor(247, 130), kLight);
    EXPECT_EQ(image.pixelColor(300, 162), kBlack);
    EXPECT_EQ(image.pixelColor(352, 130), kBlack);
}

TEST_F(DrawingExports, FrameOfDepthZeroIsOnlyTheAreaFromTwoPixelsFurtherLeft) {
    const auto frame = library.get<FrameFn>("DoPaintFrame3D");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame(&painter, 50, 100, 100, 60, 0x0000C800u, 0), 0);
    finish();
    const QColor fill(0, 200, 0);
    EXPECT_EQ(image.pixelColor(48, 130), fill);
    EXPECT_EQ(image.pixelColor(47, 130), kWhite);
    EXPECT_EQ(image.pixelColor(100, 100), fill);
    EXPECT_EQ(image.pixelColor(149, 159), fill);
    EXPECT_EQ(image.pixelColor(150, 130), kWhite);
    EXPECT_EQ(image.pixelColor(100, 160), kWhite);
    EXPECT_TRUE(columnsWith(130, kLight).empty());
    EXPECT_TRUE(columnsWith(130, kBlack).empty());
}

TEST_F(DrawingExports, TextWrapsInTheCallersFontAndMeasuresWithoutDrawing) {
    const auto textOut = library.get<TextOutFn>("cDoTextOut");
    ASSERT_NE(textOut, nullptr);
    const QFontMetrics metrics(painter.font());
    const int step = metrics.height() + std::max(0, metrics.leading()) + 2;
    const char* text = "Ord som inte får plats på en rad bryts vid blanktecknen";
    const int right = 20 + metrics.horizontalAdvance("Ord som inte får plats");

    const int measured = textOut(&painter, 30, text, 20, right, 0, 0);
    EXPECT_FALSE(hasInk(0, 0, 600, 300));
    const int lines = (measured - 30) / step;
    EXPECT_EQ(measured, 30 + lines * step);
    EXPECT_GE(lines, 3);
    EXPECT_EQ(textOut(&painter, 30, text, 20, right, 1, 0), measured);
    EXPECT_EQ(textOut(&painter, 30, "", 20, right, 1, 0), 30 + step);
    finish();
    EXPECT_TRUE(hasInk(20, 30, right + 1, measured));
    EXPECT_FALSE(hasInk(right + 2, 0, 600, 300));
    EXPECT_FALSE(hasInk(0, measured, 600, 300));
    // The caller's pen colour is the text colour.
    bool green = false;
    for (int y = 30; y < measured && !green; ++y) {
        green = !columnsWith(y, QColor(0, 128, 0)).empty();
    }
    EXPECT_TRUE(green);
}

TEST_F(DrawingExports, NullHandlesDrawNothing) {
    EXPECT_EQ(library.get<GridFn>("cDoBackgroundGrid")(nullptr, 0, 0, 400, 10, 0, 10, 5, 0), 0);
    EXPECT_EQ(library.get<RectangleFn>("DoPaintRectangle")(nullptr, 0, 0, 5, 5, 0), 0);
    EXPECT_EQ(library.get<TextOutFn>("cDoTextOut")(nullptr, 40, "text", 0, 100, 1, 0), 40);
    QPainter inactive;
    EXPECT_EQ(library.get<FrameFn>("DoPaintFrame3D")(&inactive, 0, 0, 5, 5, 0, 2), 0);
    finish();
    EXPECT_FALSE(hasInk(0, 0, 600, 300));
}

TEST(StavroResolution, DepthOfTheWindowsDisplay) {
    Stavro library;
    ASSERT_TRUE(library.loaded()) << dlerror();
    const auto resolution = library.get<ResolutionFn>("CDoCheckResolution");
    ASSERT_NE(resolution, nullptr);
    QWidget window;
    window.resize(100, 100);
    EXPECT_GT(window.depth(), 0);
    EXPECT_EQ(resolution(&window), window.depth());
    EXPECT_EQ(resolution(nullptr), window.depth());
}

} // namespace
