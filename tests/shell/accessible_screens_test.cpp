// SPDX-License-Identifier: Apache-2.0
// What a screen reader gets from every screen through Qt's accessibility API: every control it can
// focus has a name, painted headings and instructions are there as text, in the order they stand,
// hidden buttons are not, and the window title names the screen but never the person. And what
// a user with poor sight gets: selected rows and field borders that stand out, and a report that
// follows a dark desktop scheme.

#include "contrast.h"
#include "db.h"
#include "export_dialog.h"
#include "login_dialog.h"
#include "main_window.h"
#include "program.h"
#include "program_driver.h"
#include "results_screen.h"
#include "screen_accessible.h"
#include "screen_ids.h"
#include "screen_resources.h"
#include "shell_state.h"
#include "start_up.h"
#include "subtest_table.h"
#include "test_occasion.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

// Failures show the texts, not their bytes.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

constexpr const char* kPersonName = "Provperson Skärmläsare";

using RoleAndName = std::pair<QAccessible::Role, QString>;

// The window's direct children in tree order, and whether any of them is invisible.
std::vector<RoleAndName> childrenOf(QObject* window, bool* anyInvisible = nullptr) {
    std::vector<RoleAndName> children;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        children.emplace_back(child->role(), child->text(QAccessible::Name));
        if (anyInvisible != nullptr && child->state().invisible) {
            *anyInvisible = true;
        }
    }
    return children;
}

// The caption a reader hears for a drop-down list: here a list's name is its chosen value, and
// what it is for comes from the label that names it.
QString labelOf(QAccessibleInterface& list) {
    const auto labels = list.relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.front().first->text(QAccessible::Name);
}

// Every shown control under the interface that takes the focus has a name of its own.
int expectFocusableControlsNamed(QAccessibleInterface* node, const char* screen) {
    int focusable = 0;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        focusable += expectFocusableControlsNamed(child, screen);
        QObject* object = child->object();
        if (object == nullptr || !object->isWidgetType() || !child->state().focusable ||
            child->state().invisible) {
            continue;
        }
        ++focusable;
        const QString name = child->text(QAccessible::Name).trimmed();
        EXPECT_FALSE(name.isEmpty()) << screen << ": " << object->objectName().toStdString();
        EXPECT_NE(name, object->objectName()) << screen; // for the ear, not the program
        if (auto* list = qobject_cast<QComboBox*>(object)) {
            EXPECT_FALSE(labelOf(*child).isEmpty())
                << screen << ": " << list->currentText().toStdString();
            EXPECT_NE(labelOf(*child), list->currentText()) << screen;
        }
    }
    return focusable;
}

class AccessibleScreens : public ::testing::Test {
  protected:
    void SetUp() override {
        installScreenAccessibility();
        window_ = new MainWindow;
        registerScreens(*window_);
        LoginAnswerer login("psykolog", "demo123");
        ASSERT_EQ(startUp(*window_), 1);
        window_->loadAccelerators();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_));
    }

    void TearDown() override {
        delete window_.data();
        processDeletions();
    }

    void openResultsOfAPerson() {
        TestOccasion& occasion = testOccasion();
        std::strcpy(occasion.person.NAMN, kPersonName);
        occasion.person.SEX = 2;
        occasion.person.BORNDATE = DateValue{1970, 5, 5};
        occasion.person.TESTDATE = DateValue{2012, 9, 3};
        occasion.TD_TESTDATE = occasion.person.TESTDATE;
        for (int raw = 0; raw < kRawScoreCount; ++raw) {
            occasion.RawScores[raw] = kSubtests[raw].formMax / 2;
        }
        occasion.RawScores[RAW_SIFFERREPETITION] = occasion.RawScores[RAW_SRFRAM] +
                                                   occasion.RawScores[RAW_SRBAK] +
                                                   occasion.RawScores[RAW_SS];
        window_->showScreen(SCREEN_RESULTS);
        ASSERT_EQ(currentScreen(), SCREEN_RESULTS);
    }

    ProgramEnvironment environment_;
    QPointer<MainWindow> window_;
};

TEST_F(AccessibleScreens, EveryScreenNamesItsControlsTitlesItselfAndShowsItsPaintedHeadings) {
    struct Case {
        int screen;
        const char* title;
        std::vector<QString> headings;
    };
    const Case cases[] = {
        {SCREEN_START, "RIVO-IV – Start", {"RIVO-IV för Linux"}},
        {SCREEN_PERSONAL_DATA,
         "RIVO-IV – Information om testpersonen",
         {"Information om testpersonen"}},
        {SCREEN_RAW_SCORES,
         "RIVO-IV – Råpoäng",
         {"Fyll i råpoäng för respektive deltest", "1. Blockmönster", "3. Sifferrepetition",
          "7. Symbolletning", "15. Bildkomplettering"}},
        {SCREEN_EARLIER_TESTS, "RIVO-IV – Tidigare test", {"Tidigare test"}},
        {SCREEN_RESULTS, "RIVO-IV – Resultatredovisning", {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.title);
        if (test.screen == SCREEN_RESULTS) {
            openResultsOfAPerson();
        } else {
            window_->showScreen(test.screen);
        }
        ASSERT_EQ(currentScreen(), test.screen);
        EXPECT_EQ(window_->windowTitle(), QString::fromUtf8(test.title));
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window_.data());
        EXPECT_EQ(root->text(QAccessible::Name), QString::fromUtf8(test.title));
        EXPECT_GT(expectFocusableControlsNamed(root, test.title), 0);
        // Hidden buttons such as the unused "Inställningar" stay out of the tree.
        bool anyInvisible = false;
        const std::vector<RoleAndName> children = childrenOf(window_, &anyInvisible);
        EXPECT_FALSE(anyInvisible);
        for (const QString& heading : test.headings) {
            EXPECT_NE(std::find(children.begin(), children.end(),
                                RoleAndName(QAccessible::Heading, heading)),
                      children.end())
                << heading.toStdString();
        }
    }
}

// Each button on every screen gives its Alt key, the key that presses it.
TEST_F(AccessibleScreens, ButtonsGiveTheirAltKeys) {
    struct Case {
        int screen;
        std::vector<std::pair<QString, QString>> buttons; // name, key
    };
    const Case cases[] = {
        {SCREEN_START, {{"Nytt test", "Alt+N"}, {"Tidigare test", "Alt+T"}, {"Avsluta", "Alt+A"}}},
        {SCREEN_EARLIER_TESTS,
         {{"Tillbaka", "Alt+T"},
          {"Visa resultat", "Alt+V"},
          {"Ta bort", "Alt+O"},
          {"Exportera data", "Alt+E"},
          {"Säkerhetskopia", "Alt+S"}}},
    };
    for (const Case& test : cases) {
        window_->showScreen(test.screen);
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window_.data());
        std::vector<std::pair<QString, QString>> found;
        for (int i = 0; i < root->childCount(); ++i) {
            QAccessibleInterface* child = root->child(i);
            if (child->role() != QAccessible::Button) {
                continue;
            }
            // What the accessibility bus gives as the key of the press action.
            QAccessibleActionInterface* actions = child->actionInterface();
            ASSERT_NE(actions, nullptr);
            const QStringList keys =
                actions->keyBindingsForAction(QAccessibleActionInterface::pressAction());
            found.emplace_back(child->text(QAccessible::Name), keys.join(';'));
            EXPECT_EQ(child->text(QAccessible::Accelerator), keys.join(';'));
        }
        // The order of the buttons is the layout's; each must give its own key.
        std::sort(found.begin(), found.end());
        std::vector<std::pair<QString, QString>> expected = test.buttons;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected) << test.screen;
    }
}

// The tree follows the screen: on the start screen the buttons from the top, then the notice; on
// the results screen the person, the four lists from the left by their painted captions, the
// report, then the buttons.
TEST_F(AccessibleScreens, TreeOrderIsTheScreenOrder) {
    const std::vector<RoleAndName> start = childrenOf(window_);
    ASSERT_EQ(start.size(), 5U);
    EXPECT_EQ(start[0], std::make_pair(QAccessible::Button, QStringLiteral("Nytt test")));
    EXPECT_EQ(start[1], std::make_pair(QAccessible::Button, QStringLiteral("Tidigare test")));
    EXPECT_EQ(start[2], std::make_pair(QAccessible::Button, QStringLiteral("Avsluta")));
    EXPECT_EQ(start[3].first, QAccessible::Heading);
    EXPECT_EQ(start[4].first, QAccessible::StaticText);
    EXPECT_TRUE(start[4].second.contains(QStringLiteral("syntetiska")))
        << start[4].second.toStdString();

    openResultsOfAPerson();
    std::vector<QString> names;
    for (const auto& [role, name] : childrenOf(window_)) {
        names.push_back(name);
    }
    ASSERT_EQ(names.size(), 16U);
    EXPECT_EQ(names[0], QString::fromUtf8("Namn: ") + QString::fromUtf8(kPersonName));
    EXPECT_TRUE(names[1].startsWith(QStringLiteral("Kön: Kvinna"))) << names[1].toStdString();
    const std::vector<QString> captions(names.begin() + 3, names.begin() + 7);
    EXPECT_EQ(captions, (std::vector<QString>{"Normgrupp", "Konfidensintervall",
                                              "Diskrepansanalyser", "Styrkor och svagheter"}));
    // Each list, right under its caption, is labelled by it.
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window_.data());
    for (int i = 0; i < 4; ++i) {
        QAccessibleInterface* list = root->child(7 + i);
        ASSERT_EQ(list->role(), QAccessible::ComboBox);
        EXPECT_EQ(labelOf(*list), captions[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(names[11], QStringLiteral("Resultatredovisning"));
    const std::vector<QString> buttons(names.begin() + 12, names.end());
    EXPECT_EQ(buttons, (std::vector<QString>{"Avbryt", QString::fromUtf8("Ändra råpoäng"),
                                             "Skriv ut", "Kopiera"}));
    // The person is named in the screen, never in the title a task bar shows.
    EXPECT_FALSE(window_->windowTitle().contains(QStringLiteral("Provperson")));
}

// Label, field, label, field, buttons; the fields named by their labels; the fields of a
// password change only while they are shown.
TEST(AltKeyOfCaption, TheUnderlinedLetterBecomesItsAltKey) {
    struct Case {
        const char* caption;
        const char* key;
        const char* spoken;
    };
    const Case cases[] = {
        {"&Nytt test", "Alt+N", "Nytt test"},
        {"Ta b&ort", "Alt+O", "Ta bort"},
        {"Ä&ndra råpoäng", "Alt+N", "Ändra råpoäng"},
        {"&ändra", "Alt+Ä", "ändra"},
        {"Svart && &vitt", "Alt+V", "Svart & vitt"},
        {"Slut&", "", "Slut&"},
        {" ", "", ""},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(altKeyOfCaption(QString::fromUtf8(test.caption)), QString::fromUtf8(test.key))
            << test.caption;
        EXPECT_EQ(spokenCaption(QString::fromUtf8(test.caption)), QString::fromUtf8(test.spoken))
            << test.caption;
    }
}

TEST_F(AccessibleScreens, LoginDialogReadsLabelsFieldsButtonsInOrder) {
    LoginDialog dialog(window_, window_->controlFont());
    using P = RoleAndName;
    EXPECT_EQ(childrenOf(&dialog),
              (std::vector<P>{{QAccessible::StaticText, "Skriv in användarnamn och lösenord"},
                              {QAccessible::StaticText, "Användarnamn:"},
                              {QAccessible::EditableText, "Användarnamn:"},
                              {QAccessible::StaticText, "Lösenord:"},
                              {QAccessible::EditableText, "Lösenord:"},
                              {QAccessible::Button, "OK"},
                              {QAccessible::Button, "Avbryt"},
                              {QAccessible::Button, "Ändra lösenord"}}));
    dialog.findChild<QPushButton*>("changePasswordButton_1016")->click();
    const auto changing = childrenOf(&dialog);
    ASSERT_EQ(changing.size(), 11U);
    EXPECT_EQ(changing[6], P(QAccessible::EditableText, "Nytt lösenord:"));
    EXPECT_EQ(changing[8], P(QAccessible::EditableText, "Bekräfta nytt lösenord:"));
    EXPECT_EQ(changing[10], P(QAccessible::Button, "Avbryt"));
}

TEST_F(AccessibleScreens, ExportListIsNamedAndSaysHowToChooseByKeyboard) {
    ExportDialog dialog(window_, window_->controlFont());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_GT(
        expectFocusableControlsNamed(QAccessible::queryAccessibleInterface(&dialog), "export"), 0);
    QAccessibleInterface* list =
        QAccessible::queryAccessibleInterface(dialog.findChild<QWidget*>("groupList_1020"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Information att exportera"));
    EXPECT_TRUE(list->text(QAccessible::Description).contains(QStringLiteral("Skift+pil")));
}

Rgb rgbOf(const QColor& colour) {
    return Rgb{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
               static_cast<std::uint8_t>(colour.blue())};
}

// The colour most pixels of the area have.
QColor commonestColour(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    QRgb commonest = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            commonest = it.key();
        }
    }
    return QColor(commonest);
}

// As painted: the border along the top of an entry field against the yellow screen, and the
// white text's background in the selected row of the person list.
TEST_F(AccessibleScreens, FieldBordersAndTheSelectedRowStandOut) {
    window_->showScreen(SCREEN_RAW_SCORES);
    // Not the first field, whose border shows the focus instead.
    auto* field = window_->findChild<QLineEdit*>(QStringLiteral("rawScoreField1"));
    ASSERT_NE(field, nullptr);
    ASSERT_FALSE(field->hasFocus());
    const QImage screen = window_->grab().toImage();
    const QColor border = screen.pixelColor(field->x() + field->width() / 2, field->y());
    EXPECT_GE(contrastRatio(rgbOf(border), kBackgroundColour), kControlContrastMinimum)
        << border.name().toStdString();

    // The demonstration register holds nobody: one person is stored for the list to show.
    PersonRecord person{};
    std::strcpy(person.NAMN, "Berg, Anna");
    person.TESTDATE = DateValue{1980, 1, 1};
    ASSERT_EQ(DoInsertPD(person), DB_DONE);
    window_->showScreen(SCREEN_EARLIER_TESTS);
    auto* list = window_->findChild<QTreeView*>();
    ASSERT_NE(list, nullptr);
    list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    ASSERT_TRUE(list->selectionModel()->hasSelection());
    const QImage rows = list->viewport()->grab().toImage();
    const QRect selected = list->visualRect(list->selectionModel()->selectedRows().front());
    const QColor row = commonestColour(rows, selected.intersected(rows.rect()));
    EXPECT_GE(contrastRatio(rgbOf(row), Rgb{255, 255, 255}), kTextContrastMinimum)
        << row.name().toStdString();
}

// With a dark desktop scheme the report's paper turns dark and its text light; the screenshot is
// kept for a look.
TEST_F(AccessibleScreens, ReportFollowsADarkDesktopScheme) {
    const QPalette saved = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(32, 32, 32));
    dark.setColor(QPalette::WindowText, QColor(240, 240, 240));
    dark.setColor(QPalette::Base, QColor(16, 16, 16));
    dark.setColor(QPalette::Text, QColor(235, 235, 235));
    dark.setColor(QPalette::Button, QColor(48, 48, 48));
    dark.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    QApplication::setPalette(dark);
    openResultsOfAPerson();
    QWidget* report = window_->findChild<QWidget*>(QStringLiteral("resultsWindow"));
    ASSERT_NE(report, nullptr);
    const QImage page = report->grab().toImage();
    saveScreenshot(*window_, "results_high_contrast.png");
    // And the profile graphs, two pages down.
    QTest::keyClick(report, Qt::Key_PageDown);
    QTest::keyClick(report, Qt::Key_PageDown);
    saveScreenshot(*report, "results_high_contrast_graphs.png");
    QApplication::setPalette(saved);

    const QRect inside = report->contentsRect().adjusted(0, 0, -30, 0);
    EXPECT_EQ(commonestColour(page, inside), QColor(16, 16, 16));
    int light = 0;
    int white = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = page.pixelColor(x, y);
            light += pixel.lightness() > 200 ? 1 : 0;
            white += pixel == QColor(Qt::white) ? 1 : 0;
        }
    }
    // The text is there, light on the dark paper, and no white paper is left.
    EXPECT_GT(light, 1000);
    EXPECT_EQ(white, 0);
}

} // namespace
