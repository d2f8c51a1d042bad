// SPDX-License-Identifier: Apache-2.0
#include "page_fixture.h"
#include "profile_graphs.h"
#include "qpainter_dc.h"

#include <QDir>
#include <QImage>
#include <QPainter>

namespace {

// The summary, graph and subtest pages drawn with real fonts onto an image, as on screen and as
// on a sheet, and saved for a look.
class PagesImage : public PageTest {
  protected:
    void SetUp() override {
        PageTest::SetUp();
        setBand("75-79 år");
        PersonRecord& person = occasion().person;
        std::strcpy(person.NAMN, "Åsa Öberg");
        std::strcpy(person.ADRESS, "Storgatan 1, 123 45 Ort");
        std::strcpy(person.TELEFON, "012-345 67");
        std::strcpy(person.NATIONALITET, "Svensk");
        std::strcpy(person.HOMELANGUAGE, "Svenska");
        std::strcpy(person.UTBILDNING, "Gymnasium");
        std::strcpy(person.TESTAD_VID, "Mottagningen");
        std::strcpy(person.TESTLEDARE, "Eva Ek");
        std::strcpy(person.OTHER, "Inga anmärkningar");
        person.BORNDATE = DateValue{1948, 2, 3};
        person.TESTDATE = DateValue{2024, 9, 20};
        person.SEX = 1;
        person.HANDEDNESS = 2;
        const int scaled[kSubscaleCount] = {9, 8, 12, 10, 11, 9, 7,  11, 13, 8,
                                            6, 0, 12, 7,  0,  0, 10, 0,  9};
        for (int s = 0; s < kSubscaleCount; ++s) {
            occasion().ScaledScores[s] = scaled[s];
            occasion().ReferenceScaledScores[s] = scaled[s] == 0 ? 0 : scaled[s] - 1;
            occasion().RawScores[kSubscaleRawScore[s]] = scaled[s] == 0 ? -9 : 2 * scaled[s];
        }
        setValidIndex(VFI, 37, 113);
        setValidIndex(PFI, 30, 100);
        occasion().indexes[PFI].prorated = 1;
        setValidIndex(AI, 18, 94);
        setValidIndex(SI, 13, 84);
        occasion().indexes[SI].PERC = 14.0f;
        setValidIndex(HIK, 98, 98);
        setValidIndex(GAI, 67, 108);
    }

    // Draws the three pages one below the other as ab_paint_sidor does, on white.
    static QImage render(int width, int height, int right, int printing) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QPainterDc dc(painter, printing != 0);
        dc.setBkMode(BackgroundMode::Transparent);
        int y = ab_paint_resultat(dc, 0, 50, right, printing) + 50;
        y = ab_paint_grafisk(dc, y, 50, right, printing) + 20;
        y = ab_paint_deltestpoang(dc, y, 50, right, printing) + 20;
        painter.end();
        EXPECT_LT(y, height);
        EXPECT_EQ(dc.liveObjectCount(), 0);
        return image.copy(0, 0, width, y);
    }

    static void save(const QImage& image, const char* name) {
        const QDir folder(RIVO_SCREENSHOT_DIR);
        folder.mkpath(".");
        EXPECT_TRUE(image.save(folder.filePath(name), "PNG"));
    }

    // The rightmost column with dark ink.
    static int rightmostInk(const QImage& image) {
        for (int x = image.width() - 1; x >= 0; --x) {
            for (int y = 0; y < image.height(); ++y) {
                if (qGray(image.pixel(x, y)) < 128) {
                    return x;
                }
            }
        }
        return -1;
    }
};

TEST_F(PagesImage, ScreenPages) {
    const QImage image = render(760, 2400, 600, 0);
    save(image, "report_summary_pages_screen.png");
    // Nothing of the pages runs past the widest things drawn: the index table's interval
    // column at 680 and the scale on the right of the scaled-score profile.
    EXPECT_LE(rightmostInk(image), 700);
    EXPECT_GT(rightmostInk(image), 600);
}

TEST_F(PagesImage, PaperPages) {
    const QImage image = render(800, 2600, 750, 1);
    save(image, "report_summary_pages_paper.png");
    EXPECT_LE(rightmostInk(image), 760);
}

} // namespace
