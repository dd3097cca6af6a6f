#include "dialogs/PictureButton.h"
#include "dialogs/frmMsgbox.h"
#include "store/Module1.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The names of the box's icons and controls that show, in a fixed order.
QString visibleParts(const frmMsgbox& box)
{
    const std::pair<const char*, QWidget*> parts[] = {
        {"crit", box.picCrit},   {"info", box.picInfo},     {"exclam", box.picExclam},
        {"quest", box.picQuest}, {"yes", box.picYes},       {"no", box.picNo},
        {"okay", box.picOkay},   {"cancel", box.picCancel}, {"search", box.picSearch},
        {"text", box.txtSearch}};
    QStringList shown;
    for (const auto& [name, widget] : parts)
        if (widget->isVisible())
            shown << name;
    return shown.join(u' ');
}

} // namespace

TEST(MessageBox, EveryKindShowsItsIconAndButtons)
{
    const std::map<int, QString> expected = {{1, "crit okay"},
                                             {2, "info okay"},
                                             {3, "exclam okay"},
                                             {4, "quest okay"},
                                             {5, "quest yes no"},
                                             {6, "cancel search text"},
                                             {9, ""}};
    Module1 state({QString(), QString(), 1024});
    for (const auto& [kind, parts] : expected) {
        state.MsgKind = kind;
        state.MsgText = QStringLiteral("Line one\rLine two");
        frmMsgbox box(state, nullptr);
        box.show();
        EXPECT_EQ(visibleParts(box), parts) << "kind " << kind;
        if (kind == 6) {
            EXPECT_EQ(box.lblCaption->text(), "Search for what?");
            EXPECT_EQ(box.lblCaption->x(), 20);
        } else if (kind != 9) {
            EXPECT_EQ(box.lblCaption->text(), "Line one\nLine two");
            EXPECT_EQ(box.lblCaption->geometry(), QRect(60, 20, 265, 58));
        }
    }
}

TEST(MessageBox, AnswersOfEveryButtonAndKey)
{
    Module1 state({QString(), QString(), 1024});
    auto run = [&](int kind, const QString& before, auto&& act) {
        state.MsgKind = kind;
        state.MsgText = QStringLiteral("Are you really sure?");
        state.MsgAnswer = before;
        frmMsgbox box(state, nullptr);
        box.show();
        if (kind == 6)
            giveFocus(box.txtSearch);
        act(box);
        EXPECT_FALSE(box.isVisible());
        return state.MsgAnswer;
    };
    EXPECT_EQ(run(5, "old", [](frmMsgbox& b) { click(b.picYes); }), "yes");
    EXPECT_EQ(run(5, "old", [](frmMsgbox& b) { click(b.picNo); }), "no");
    // Enter and Escape close a question without an answer of their own.
    EXPECT_EQ(run(5, "old", [](frmMsgbox& b) { QTest::keyClick(&b, Qt::Key_Return); }), "old");
    EXPECT_EQ(run(5, "old", [](frmMsgbox& b) { QTest::keyClick(&b, Qt::Key_Escape); }), "old");
    EXPECT_EQ(run(1, "old", [](frmMsgbox& b) { click(b.picOkay); }), "old");
    // The search prompt starts empty and answers with the text.
    EXPECT_EQ(run(6, "old",
                  [](frmMsgbox& b) {
                      QTest::keyClicks(b.txtSearch, "Jazz");
                      click(b.picSearch);
                  }),
              "Jazz");
    EXPECT_EQ(run(6, "old",
                  [](frmMsgbox& b) {
                      QTest::keyClicks(b.txtSearch, "Jazz");
                      click(b.picCancel);
                  }),
              "");
    EXPECT_EQ(run(6, "old",
                  [](frmMsgbox& b) {
                      QTest::keyClicks(b.txtSearch, "Jazz");
                      QTest::keyClick(b.txtSearch, Qt::Key_Escape);
                  }),
              "");
    EXPECT_EQ(run(6, "old", [](frmMsgbox& b) { click(b.picSearch); }), "");
    EXPECT_EQ(run(6, "old",
                  [](frmMsgbox& b) {
                      QTest::keyClicks(b.txtSearch, "Mix");
                      QTest::keyClick(b.txtSearch, Qt::Key_Enter);
                  }),
              "Mix");
}

TEST(MessageBox, LongTextLayoutOnlyForTheFirstRunNotes)
{
    Module1 state({QString(), QString(), 1024});
    for (const int error : {53, 76}) {
        state.ErrorNumber = error;
        state.MsgKind = 2;
        frmMsgbox box(state, nullptr);
        EXPECT_EQ(box.lblCaption->geometry(), QRect(60, 14, 265, 64));
        EXPECT_EQ(box.lblCaption->font().pointSize(), 8);
        EXPECT_EQ(state.ErrorNumber, 0);
    }
    state.ErrorNumber = 53;
    state.MsgKind = 1; // not a notice: the normal layout, the number untouched
    frmMsgbox critical(state, nullptr);
    EXPECT_EQ(critical.lblCaption->geometry(), QRect(60, 20, 265, 58));
    EXPECT_EQ(critical.lblCaption->font().pointSize(), 9);
    EXPECT_EQ(state.ErrorNumber, 53);
}

TEST(MessageBox, ShownModallyAndTwoInARowStartClean)
{
    Module1 state({QString(), QString(), 1024});
    QWidget owner;
    owner.show();
    const auto wait = onNextModal([](QWidget* modal) {
        auto* box = qobject_cast<frmMsgbox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->picYes->isVisible());
        click(box->picYes);
    });
    EXPECT_TRUE(frmMsgbox::askYes(state, &owner, QStringLiteral("Are you really sure?")));

    const auto wait2 = onNextModal([](QWidget* modal) {
        auto* box = qobject_cast<frmMsgbox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->picYes->isVisible());
        EXPECT_FALSE(box->picQuest->isVisible());
        EXPECT_TRUE(box->picCrit->isVisible());
        EXPECT_TRUE(box->picOkay->isVisible());
        keyTo(box, Qt::Key_Return);
    });
    frmMsgbox::tell(state, &owner, 1, QStringLiteral("You must first choose a disc."));
    ASSERT_EQ(state.messagesShown.size(), 2);
    EXPECT_EQ(state.messagesShown.at(1).kind, 1);
    EXPECT_EQ(state.messagesShown.at(1).text, "You must first choose a disc.");

    // A question dismissed with Escape is no consent, whatever came before.
    const auto wait3 = onNextModal([](QWidget* modal) { keyTo(modal, Qt::Key_Escape); });
    EXPECT_FALSE(frmMsgbox::askYes(state, &owner, QStringLiteral("Are you really sure?")));
}
